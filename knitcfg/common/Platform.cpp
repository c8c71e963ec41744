// The parts of the operating-system seam that need no system call.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "knitcfg/common/detail/Platform.h"

namespace knitcfg::platform {

std::int64_t TimestampResolutionNs(const FileInfo& info) {
    // File systems that keep whole seconds (or FAT's two) show no fraction;
    // the others stamp from the kernel's coarse clock, a few milliseconds.
    if (info.mtimeNs % 1000000000LL == 0) {
        return 2000000000LL;
    }
    return 50000000LL;
}

bool CopyFileOver(const std::string& from, const std::string& to, std::string* why) {
    std::string bytes;
    FileInfo info;
    std::string reason;
    if (ReadWholeFile(from, &bytes, &info, &reason, false) != ReadStatus::kOk) {
        if (why != nullptr) {
            *why = "reading " + from + ": " + reason;
        }
        return false;
    }
    return ReplaceFileAtomically(to, bytes, why);
}

std::string TempFileName(const std::string& folder, const char* prefix, unsigned unique) {
    std::string name = folder;
    if (prefix != nullptr) {
        name.append(prefix, std::min<std::size_t>(std::strlen(prefix), 3));
    }
    char number[16];
    std::snprintf(number, sizeof number, "%X", unique);
    return name + number + ".tmp";
}

FileLock::~FileLock() {
    Unlock();
}

bool FileLock::Lock(const std::string& path, std::string* why) {
    return Acquire(path, true, why);
}

bool FileLock::TryLock(const std::string& path) {
    return Acquire(path, false, nullptr);
}

}  // namespace knitcfg::platform
