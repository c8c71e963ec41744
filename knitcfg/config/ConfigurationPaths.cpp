// The machine-path operations of the document.

#include <cstring>
#include <string>
#include <vector>

#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/AsciiCase.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

namespace {

constexpr unsigned kMachineTypeSize = 260;
constexpr const char* kNotFound = "<NOT FOUND>";

// The folder of a path: without its first two characters (the drive, or
// whatever stands there), in lower case (ASCII letters only: the paths are
// compared as the machines' programs compare them).
std::string Folder(const char* path) {
    const std::string lower = detail::LowerAscii(path != nullptr ? path : "");
    return lower.size() > 2 ? lower.substr(2) : std::string();
}

// Turns `text` to lower case, then replaces every occurrence of `from` (lower
// case already) by `to`, left to right, without overlaps.
void MoveFolder(std::string* text, const std::string& from, const std::string& to) {
    const std::string lower = detail::LowerAscii(text->c_str());
    if (from.empty()) {
        *text = lower;
        return;
    }
    std::string out;
    out.reserve(lower.size());
    std::size_t at = 0;
    for (std::size_t found = lower.find(from); found != std::string::npos;
         found = lower.find(from, at)) {
        out.append(lower, at, found - at);
        out += to;
        at = found + from.size();
    }
    out.append(lower, at, std::string::npos);
    *text = std::move(out);
}

}  // namespace

int Configuration::ChangePathNameMachine(const char* machineFile, const char* oldPath,
                                         const char* newPath) {
    const std::string from = Folder(oldPath);
    const std::string to = Folder(newPath);

    std::vector<char> buffer(kMachineTypeSize);
    if (machineFile != nullptr) {
        profile::GetString("Header", "MachineType", "", buffer.data(), kMachineTypeSize,
                           machineFile);
    }
    header_.MachineType = buffer.data();

    MoveFolder(&header_.LastDevelop, from, to);
    MoveFolder(&header_.SourceCfg, from, to);
    for (const auto& design : designs_) {
        MoveFolder(&design->Name, from, to);
        for (const auto& pattern : design->Patterns) {
            MoveFolder(&pattern->PatternName, from, to);
        }
    }
    return 1;
}

std::string Configuration::ReadDescrFromFile(const char* file) const {
    if (!pathName_.empty()) {
        return header_.Description;
    }
    if (file == nullptr) {
        return std::string();
    }
    std::vector<char> buffer(detail::kListingSize);
    profile::GetString("Header", "Description", kNotFound, buffer.data(), detail::kListingSize,
                       file);
    if (std::strcmp(buffer.data(), kNotFound) == 0) {
        return std::string();
    }
    return UnescapeNewLines(buffer.data());
}

}  // namespace knitcfg
