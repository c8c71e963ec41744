#include "knitcfg/common/Text.h"

#include <cstdio>
#include <cstring>

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

std::string NumberedName(const char* prefix, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%3.3d", number);
    std::string out = prefix != nullptr ? prefix : "";
    out += digits;
    return out;
}

std::string FoldAsciiCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

}  // namespace knitcfg
