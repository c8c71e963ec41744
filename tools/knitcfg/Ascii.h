#pragma once

// ASCII letter case, the tool's one home for it: extensions, file names and
// option values are compared without regard to the case of A-Z, whatever the
// locale; bytes above 127 are never folded.

#include <string>

namespace knitcfg::cli {

// `c` with A-Z made a-z; any other byte as it is.
constexpr char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `text` with A-Z made a-z.
inline std::string LowerAscii(std::string text) {
    for (char& c : text) {
        c = LowerAscii(c);
    }
    return text;
}

}  // namespace knitcfg::cli
