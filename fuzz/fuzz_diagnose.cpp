// Arbitrary bytes as a configuration file, examined by Diagnose: never a
// crash or a hang, the file unchanged, every finding on a line of the file,
// and every code the load reports explained by an Error of its own.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/diagnostics/Diagnostic.h"

namespace {

using knitcfg::fuzz::Check;

const std::string& Path() {
    static const std::string path = [] {
        const std::string base = knitcfg::fuzz::ScratchFolder();
        return base + "/knitcfg-fuzz-diag-" + std::to_string(::getpid()) + ".ini";
    }();
    return path;
}

using knitcfg::fuzz::ReadAll;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    knitcfg::platform::ReplaceFileAtomically(Path(), bytes);

    int code = -1;
    const std::vector<knitcfg::Diagnostic> found = knitcfg::Diagnose(Path().c_str(), &code);
    Check(ReadAll(Path()) == bytes);
    Check(code >= 0 && code <= 63);
    knitcfg::Configuration doc;
    Check(doc.LoadCFG(Path().c_str()) == code);

    // Lines end at CR LF, LF or a lone CR.
    int lines = 1;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == size || bytes[i + 1] != '\n'))) {
            ++lines;
        }
    }
    int last = 0;
    for (const knitcfg::Diagnostic& d : found) {
        Check(d.line >= 0 && d.line <= lines);
        Check(d.line >= last);  // in order of line
        last = d.line;
        Check(!d.id.empty() && !d.message.empty());
        Check((d.severity == knitcfg::Severity::Error) == (d.code != 0));
    }
    if (code != 0) {
        Check(std::any_of(found.begin(), found.end(), [&](const knitcfg::Diagnostic& d) {
            return d.code == code && d.id != "load-code";
        }));
    }
    return 0;
}
