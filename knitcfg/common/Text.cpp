#include "knitcfg/common/Text.h"

#include <cstring>

#include "knitcfg/common/detail/AsciiCase.h"

namespace knitcfg {

std::string UnescapeNewLines(const char* text) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    const std::size_t n = std::strlen(text);
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '\\' && text[i + 1] == 'n') {
            out += "\r\n";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string EscapeNewLines(const char* text) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    const std::size_t n = std::strlen(text);
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string FoldAsciiCase(std::string text) {
    return detail::LowerAscii(text);
}

}  // namespace knitcfg
