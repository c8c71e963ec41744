// Arbitrary bytes as a configuration file: the load gives a result code and
// never a crash; what it loaded saves, a copy of it saves the same, and the
// saved file loads again. (Saving twice need not give the same bytes: a
// value is written as held but read back without its outer blanks and one
// pair of quotes, as the platform's profile files do.)

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/config/Configuration.h"

namespace {

using knitcfg::fuzz::Check;

std::string Folder() {
    static const std::string folder = [] {
        const std::string base = knitcfg::fuzz::ScratchFolder();
        // Saves go through the temporary folder: keep them in memory too.
        ::setenv("TMPDIR", base.c_str(), 1);
        return base + "/knitcfg-fuzz-doc-" + std::to_string(::getpid());
    }();
    return folder;
}

using knitcfg::fuzz::ReadAll;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = Folder() + "-in.ini";
    const std::string first = Folder() + "-1.ini";
    const std::string second = Folder() + "-2.ini";
    knitcfg::platform::ReplaceFileAtomically(
        input, std::string(reinterpret_cast<const char*>(data), size));

    knitcfg::Configuration doc;
    const knitcfg::RETERROR loaded = doc.LoadCFG(input.c_str());
    Check(loaded >= 0 && loaded <= 63);
    if (loaded == knitcfg::RE_FILE_UNREADABLE) {
        return 0;
    }
    knitcfg::Configuration copy(doc);
    Check(doc.SaveCFG(first.c_str()) != knitcfg::RE_FILE_REPLACE);
    Check(copy.SaveCFG(second.c_str()) != knitcfg::RE_FILE_REPLACE);
    Check(ReadAll(first) == ReadAll(second));

    knitcfg::Configuration again;
    Check(again.LoadCFG(first.c_str()) != knitcfg::RE_FILE_UNREADABLE);
    Check(again.SaveCFG(second.c_str()) != knitcfg::RE_FILE_REPLACE);

    std::remove(input.c_str());
    std::remove(first.c_str());
    std::remove(second.c_str());
    return 0;
}
