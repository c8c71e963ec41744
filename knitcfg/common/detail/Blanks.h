#pragma once

// The two sets of blank characters of the library, each written once.
// Internal: not exported, not installed.

namespace knitcfg::detail {

// The blanks of the INI layer: space, tab and vertical tab. They are trimmed
// around section names, keys and values, and a line of them alone is empty.
constexpr bool IsIniBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

// The blanks of the C locale's isspace, which "%d" and the C library's
// text-to-integer conversions skip: space, tab, line feed, vertical tab, form
// feed and carriage return (the codes 9 to 13). Tested without the locale and
// without isspace's undefined behaviour on negative chars: a load tests
// nearly every character of every value.
constexpr bool IsCSpace(char c) {
    return c == ' ' || static_cast<unsigned char>(c - '\t') < 5;
}

// The first character at or after `p` (NUL-terminated) that is no IsCSpace
// blank; null for null.
inline const char* SkipCSpaces(const char* p) {
    if (p != nullptr) {
        while (IsCSpace(*p)) {
            ++p;
        }
    }
    return p;
}

}  // namespace knitcfg::detail
