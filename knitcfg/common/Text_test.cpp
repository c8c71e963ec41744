// The text and number helpers, in one table: each case names a helper, gives
// it a text and says what it gives back, written as text.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/AsciiCase.h"
#include "knitcfg/common/detail/Blanks.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/common/detail/Numbers.h"

namespace knitcfg::detail {
namespace {

using namespace std::string_view_literals;
using std::to_string;

// Every byte that `is` takes, in code order.
std::string Members(bool (*is)(char)) {
    std::string out;
    for (int c = -128; c < 128; ++c) {
        out += is(static_cast<char>(c)) ? std::string(1, static_cast<char>(c)) : "";
    }
    return out;
}

// The parts of "a|b".
std::pair<std::string, std::string> Halves(std::string_view text) {
    const std::size_t bar = text.find('|');
    return {std::string(text.substr(0, bar)), std::string(text.substr(bar + 1))};
}

std::string Scanned(std::int32_t value, const char* begin, const char* end) {
    return to_string(value) + " " + (end != nullptr ? to_string(end - begin) : "none");
}

const std::map<std::string, std::function<std::string(std::string_view)>> kHelpers = {
    {"ini blanks", [](std::string_view) { return Members(IsIniBlank); }},
    {"c spaces", [](std::string_view) { return Members(IsCSpace); }},
    {"skip c spaces", [](std::string_view t) { return std::string(SkipCSpaces(t.data())); }},
    // The first digit says how much of the rest is the text: what lies
    // beyond must not be read.
    {"scan view",
     [](std::string_view t) {
         std::int32_t v = 77;
         const std::size_t n = ScanDecimal(t.substr(1, static_cast<std::size_t>(t[0] - '0')), &v);
         return to_string(v) + " " + to_string(n);
     }},
    {"scan to nul",
     [](std::string_view t) {
         std::int32_t v = 77;
         return Scanned(v, t.data(), ScanDecimal(t.data(), nullptr, &v));
     }},
    {"lenient int", [](std::string_view t) { return to_string(LenientInt(t)); }},
    {"profile int",
     [](std::string_view t) {
         const ProfileNumber n = ScanProfileInt(t);
         return to_string(n.value) + " " + to_string(n.end) + (n.digits ? " digits" : "");
     }},
    {"bits",
     [](std::string_view t) {
         const std::int32_t v = BitsToInt(static_cast<std::uint32_t>(std::stoul(std::string(t))));
         return to_string(v) + " " + to_string(IntToBits(v));
     }},
    {"low16", [](std::string_view t) { return to_string(Low16(LenientInt(t))); }},
    {"lower",
     [](std::string_view t) { return LowerAscii(t) + "|" + FoldAsciiCase(std::string(t)); }},
    {"no case",
     [](std::string_view t) {
         const auto [a, b] = Halves(t);
         const bool hashes = NoCaseHash()(a) == NoCaseHash()(b);
         return std::string(EqualsNoCase(a, b)       ? "equal"
                            : StartsWithNoCase(a, b) ? "starts"
                                                     : "no") +
                (hashes ? " hash" : "");
     }},
    // "name,name,...|query"
    {"view set",
     [](std::string_view t) {
         const std::size_t bar = t.find('|');
         NoCaseViewSet set(17);
         for (std::size_t at = 0; at < bar;) {
             const std::size_t comma = std::min(t.find(',', at), bar);
             set.Insert(t.substr(at, comma - at));
             at = comma + 1;
         }
         return std::string(set.Contains(t.substr(bar + 1)) ? "in" : "out");
     }},
    {"numbered",
     [](std::string_view t) {
         const auto [prefix, number] = Halves(t);
         return NumberedName(prefix.empty() ? nullptr : prefix.c_str(), LenientInt(number));
     }},
    // "prefix|name,name,..." : the listing has a NUL for each comma.
    {"with prefix",
     [](std::string_view t) {
         auto [prefix, names] = Halves(t);
         std::replace(names.begin(), names.end(), ',', '\0');
         names += '\0';
         std::string out;
         ForEachNameWithPrefix(names.c_str(), prefix.c_str(), [&](const char* n) {
             out += n;
             out += ',';
         });
         return out;
     }},
    {"escape", [](std::string_view t) { return EscapeNewLines(std::string(t).c_str()); }},
    {"unescape", [](std::string_view t) { return UnescapeNewLines(std::string(t).c_str()); }},
    {"null", [](std::string_view) { return EscapeNewLines(nullptr) + UnescapeNewLines(nullptr); }},
};

const struct Case {
    const char* helper;
    std::string_view text;
    const char* expected;
} kCases[] = {
    {"ini blanks", "", "\t\v "},
    {"c spaces", "", "\t\n\v\f\r "},
    {"skip c spaces", " \r\n\t\v\fx y", "x y"},
    {"scan view", "9 \t\n\v\f\r-12x", "-12 9"},
    {"scan view", "5+0042", "42 5"},
    {"scan view", "312345", "123 3"},
    {"scan view", "1-1", "77 0"},
    {"scan view", "3- 1", "77 0"},
    {"scan view", "0", "77 0"},
    {"scan view", "4x123", "77 0"},
    {"scan view", "a4294967299", "3 10"},
    {"scan view", "a2147483648", "-2147483648 10"},
    {"scan view", "512\0 34"sv, "12 2"},
    {"scan to nul", "  42 rest", "42 4"},
    {"scan to nul", "-7\0 1"sv, "-7 2"},
    {"scan to nul", "x1", "77 none"},
    {"lenient int", " -4294967297,", "-1"},
    {"lenient int", "rose", "0"},
    {"profile int", " 0x1Fg", "31 5 digits"},
    {"profile int", "\v\f-0b101", "-5 8 digits"},
    {"profile int", "0o178", "15 4 digits"},
    {"profile int", "0x", "0 2 digits"},
    {"profile int", "0B1", "0 1 digits"},
    {"profile int", "4294967296", "0 10 digits"},
    {"profile int", "1a", "1 1 digits"},
    {"profile int", "+abc", "0 1"},
    {"bits", "4294967295", "-1 4294967295"},
    {"bits", "2147483648", "-2147483648 2147483648"},
    {"bits", "2147483647", "2147483647 2147483647"},
    {"low16", "70000", "4464"},
    {"low16", "-32769", "32767"},
    {"low16", "65535", "-1"},
    {"low16", "32768", "-32768"},
    {"low16", "-2147483648", "0"},
    {"low16", "-5", "-5"},
    {"lower", "AZ az@[`{\xC4", "az az@[`{\xC4|az az@[`{\xC4"},
    {"no case", "Drum_|dRUM_", "equal hash"},
    {"no case", "Drum|Drun", "no"},
    {"no case", "@|`", "no"},
    {"no case", "[|{", "no"},
    {"no case", "Speeder_001|sPEEDER_", "starts"},
    {"no case", "Spe|speeder_", "no"},
    {"view set", "Drum_1,FINGER_2|finger_2", "in"},
    {"view set", "Drum_1|Drum_10", "out"},
    {"view set", "a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q|Q", "in"},
    {"numbered", "Drum_|0", "Drum_000"},
    {"numbered", "Color_|42", "Color_042"},
    {"numbered", "Line_|1000", "Line_1000"},
    {"numbered", "Plane_|-5", "Plane_-005"},
    {"numbered", "|7", "007"},
    {"with prefix", "Plane_|Plane_001,plane_002,Plane_,XPlane_3,Plane_x",
     "Plane_001,Plane_,Plane_x,"},
    {"escape", "a\r\nb\r\n", "a\\nb\\n"},
    {"escape", "lone\rcr and\nlf\r\r\r\n\n", "lone\rcr and\nlf\r\r\\n\n"},
    {"unescape", "a\\nb\\", "a\r\nb\\"},
    {"unescape", "\\\\n\\N\\t", "\\\r\n\\N\\t"},
    {"null", "", ""},
};

TEST(TextTest, EveryHelperGivesWhatTheTableSays) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.helper) + ": " + std::string(c.text));
        EXPECT_EQ(kHelpers.at(c.helper)(c.text), c.expected);
    }
}

}  // namespace
}  // namespace knitcfg::detail
