#pragma once

// What every fuzz target needs: a check that stops the run, a scratch folder
// kept in memory where the machine has one, and a whole-file read.

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "knitcfg/common/detail/Platform.h"

namespace knitcfg::fuzz {

// A property that does not hold is a finding: abort, so that libFuzzer
// keeps the input.
inline void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// The folder for the targets' files: /dev/shm when writable (files written
// on every run stay off the disk), else /tmp. No separator at the end.
inline std::string ScratchFolder() {
    return ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}

// The bytes of the file at `path`; empty when it cannot be read.
inline std::string ReadAll(const std::string& path) {
    std::string bytes;
    platform::FileInfo info;
    platform::ReadWholeFile(path, &bytes, &info);
    return bytes;
}

}  // namespace knitcfg::fuzz
