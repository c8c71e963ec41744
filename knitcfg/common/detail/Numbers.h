#pragma once

// The two lenient number readers of the library, in one place: the profile
// layer's integer reading (GetInt) and the C library's text-to-integer
// conversion that the header and the design tables use. The loaders read with
// them and the diagnostics tell from the same readers where a number stopped.
// Internal to the library.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace knitcfg::detail {

// What ScanProfileInt read.
struct ProfileNumber {
    int value = 0;        // wrapped modulo 2^32; 0 when no digit
    std::size_t end = 0;  // where reading stopped
    bool digits = false;  // true when at least one digit (or a prefix) was read
};

// A number as the profile layer's GetInt reads it: leading blanks (space,
// tab, vertical tab, CR, LF, form feed), an optional sign, a 0x/0X, 0b or 0o
// prefix, then digits of that base up to the first other character.
inline ProfileNumber ScanProfileInt(std::string_view v) {
    std::size_t i = 0;
    while (i < v.size() && (v[i] == ' ' || v[i] == '\t' || v[i] == '\v' || v[i] == '\r' ||
                            v[i] == '\n' || v[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) {
        negative = v[i] == '-';
        ++i;
    }
    ProfileNumber out;
    unsigned base = 10;
    if (i + 1 < v.size() && v[i] == '0') {
        const char p = v[i + 1];
        if (p == 'x' || p == 'X') {
            base = 16;
        } else if (p == 'b') {
            base = 2;
        } else if (p == 'o') {
            base = 8;
        }
        if (base != 10) {
            i += 2;
            out.digits = true;
        }
    }
    std::uint32_t result = 0;
    for (; i < v.size(); ++i) {
        const char c = v[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base) {
            break;
        }
        out.digits = true;
        result = result * base + digit;  // wraps modulo 2^32
    }
    if (negative) {
        result = 0U - result;
    }
    out.value = static_cast<int>(result);
    out.end = i;
    return out;
}

// Reads a decimal number at the start of `text` as the C library's text
// conversions do: white space, an optional sign, then digits up to the first
// other character. Returns how many characters were read, 0 when there is no
// digit (nothing is stored then). A number too big for 32 bits wraps, as the
// profile layer's numbers do, rather than being undefined.
inline std::size_t ScanDecimal(std::string_view text, int* value) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\v' || text[i] == '\f' || text[i] == '\r')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    std::uint32_t number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10U + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (i == firstDigit) {
        return 0;
    }
    *value = static_cast<int>(negative ? 0U - number : number);
    return i;
}

// The lenient text-to-integer conversion: 0 when there is no number.
inline int LenientInt(std::string_view text) {
    int value = 0;
    ScanDecimal(text, &value);
    return value;
}

}  // namespace knitcfg::detail
