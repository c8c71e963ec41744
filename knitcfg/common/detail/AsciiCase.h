#pragma once

// Letter case as the profile layer and the machines' programs see it: ASCII
// letters only, every other byte (other code pages included) as it is.
// Internal: not exported, not installed.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace knitcfg::detail {

constexpr bool IsAsciiUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

constexpr bool IsAsciiLower(char c) {
    return c >= 'a' && c <= 'z';
}

// `c` in lower case when it is an ASCII capital, otherwise `c`.
constexpr char LowerAscii(char c) {
    return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// `text` with its ASCII capitals in lower case.
inline std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = LowerAscii(c);
    }
    return out;
}

// True when the texts are equal without regard to ASCII letter case.
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// True when `text` begins with `prefix`, ASCII letter case aside.
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// A hash and an equality of names that EqualsNoCase matches.
struct NoCaseHash {
    std::size_t operator()(std::string_view text) const {
        std::size_t hash = static_cast<std::size_t>(14695981039346656037ull);
        for (const char c : text) {
            hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) *
                   static_cast<std::size_t>(1099511628211ull);
        }
        return hash;
    }
};
struct NoCaseEqual {
    bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
};

// A set of names matched by EqualsNoCase, held as views (the texts must
// outlive the set) in one flat table sized once for `count` names: a
// section's keys go in without an allocation each.
class NoCaseViewSet {
public:
    explicit NoCaseViewSet(std::size_t count) {
        std::size_t size = 16;
        while (size < 2 * count) {
            size *= 2;
        }
        slots_.resize(size);
        used_.resize(size, false);
    }
    // At most `count` names (as constructed) may be inserted.
    void Insert(std::string_view name) {
        const std::size_t at = Find(name);
        slots_[at] = name;
        used_[at] = true;
    }
    bool Contains(std::string_view name) const { return used_[Find(name)]; }

private:
    std::size_t Find(std::string_view name) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t at = NoCaseHash()(name) & mask;
        while (used_[at] && !EqualsNoCase(slots_[at], name)) {
            at = (at + 1) & mask;
        }
        return at;
    }
    std::vector<std::string_view> slots_;
    std::vector<bool> used_;
};

}  // namespace knitcfg::detail
