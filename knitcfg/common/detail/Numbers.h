#pragma once

// The numbers of the library's texts, read and cut in one place: the decimal
// reader of "%d" and of the C library's text-to-integer conversion, the
// profile layer's GetInt reading, and the cuts of a 32-bit value to its
// unsigned bits and to 16 bits. The loaders read with them and the
// diagnostics tell from the same readers where a number stopped.
// Internal: not exported, not installed.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "knitcfg/common/detail/Blanks.h"

namespace knitcfg::detail {

// The 32 bits of `bits` as a signed number (two's complement), written out
// because before C++20 the narrowing conversion is implementation defined.
constexpr std::int32_t BitsToInt(std::uint32_t bits) {
    return bits <= 0x7FFFFFFFu ? static_cast<std::int32_t>(bits)
                               : -static_cast<std::int32_t>(0xFFFFFFFFu - bits) - 1;
}

// The 32 bits of `value`.
constexpr std::uint32_t IntToBits(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

// The low 16 bits of a 32-bit integer, as a signed 16-bit value.
constexpr short Low16(std::int32_t value) {
    const auto bits = static_cast<std::uint16_t>(IntToBits(value) & 0xFFFFu);
    return bits <= 0x7FFFu ? static_cast<short>(bits)
                           : static_cast<short>(static_cast<int>(bits) - 0x10000);
}

// Writes `number` as "%.Nd" writes it, N being `minDigits` (at most 10):
// its sign, then at least `minDigits` digits, zero-padded, at `at`, which
// has room for 11 characters; returns the end. Written without the C
// library, which a save calls for every entry. The magnitude is taken in
// unsigned arithmetic so that INT32_MIN has one.
inline char* WriteDecimal(std::int32_t number, int minDigits, char* at) {
    std::uint32_t magnitude = static_cast<std::uint32_t>(number);
    if (number < 0) {
        *at++ = '-';
        magnitude = 0u - magnitude;
    }
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0u);
    for (int pad = n; pad < minDigits; ++pad) {
        *at++ = '0';
    }
    while (n > 0) {
        *at++ = digits[--n];
    }
    return at;
}

// Reads a decimal number at `p` as "%d" and the C library's text-to-integer
// conversions do: IsCSpace blanks, an optional sign, then the digits up to
// the first other character; digits beyond 32 bits wrap modulo 2^32 rather
// than being undefined. The text ends at `end`, or, when `end` is null, at
// its NUL. Returns the first character after the digits, or null, leaving
// `*value`, when the text (null included) does not begin with a number.
inline const char* ScanDecimal(const char* p, const char* end, std::int32_t* value) {
    if (p == nullptr) {
        return nullptr;
    }
    // A null `end` never equals a valid `p`: the NUL, which is no blank, sign
    // or digit, ends the text then.
    while (p != end && IsCSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* const firstDigit = p;
    std::uint32_t bits = 0;
    for (; p != end && static_cast<unsigned char>(*p - '0') < 10; ++p) {
        bits = bits * 10u + static_cast<std::uint32_t>(*p - '0');
    }
    if (p == firstDigit) {
        return nullptr;
    }
    *value = BitsToInt(negative ? 0u - bits : bits);
    return p;
}

// ScanDecimal over `text`: how many characters were read, 0 (nothing
// stored) when the text does not begin with a number.
inline std::size_t ScanDecimal(std::string_view text, std::int32_t* value) {
    if (text.empty()) {
        return 0;
    }
    const char* end = ScanDecimal(text.data(), text.data() + text.size(), value);
    return end == nullptr ? 0 : static_cast<std::size_t>(end - text.data());
}

// The lenient text-to-integer conversion: the number ScanDecimal reads at the
// start of `text`, 0 when there is none.
inline std::int32_t LenientInt(std::string_view text) {
    std::int32_t value = 0;
    ScanDecimal(text, &value);
    return value;
}

// What ScanProfileInt read.
struct ProfileNumber {
    int value = 0;        // wrapped modulo 2^32; 0 when no digit
    std::size_t end = 0;  // where reading stopped
    bool digits = false;  // true when at least one digit (or a prefix) was read
};

// A number as the profile layer's GetInt reads it: IsCSpace blanks, an
// optional sign, a 0x/0X, 0b or 0o prefix, then digits of that base up to
// the first other character.
inline ProfileNumber ScanProfileInt(std::string_view v) {
    std::size_t i = 0;
    while (i < v.size() && IsCSpace(v[i])) {
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
    out.value = BitsToInt(negative ? 0U - result : result);
    out.end = i;
    return out;
}

}  // namespace knitcfg::detail
