// The text and number helpers, in one table: each case names a helper, gives
// it a text and says what it gives back, written as text.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/AsciiCase.h"
#include "knitcfg/common/detail/Blanks.h"
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

const std::map<std::string, std::function<std::string(std::string_view)>> kHelpers = {
    {"ini blanks", [](std::string_view) { return Members(IsIniBlank); }},
    {"c spaces", [](std::string_view) { return Members(IsCSpace); }},
    // The first digit says how much of the rest is the text: what lies
    // beyond must not be read.
    {"scan view",
     [](std::string_view t) {
         std::int32_t v = 77;
         const std::size_t n = ScanDecimal(t.substr(1, static_cast<std::size_t>(t[0] - '0')), &v);
         return to_string(v) + " " + to_string(n);
     }},
    {"lower",
     [](std::string_view t) { return LowerAscii(t) + "|" + FoldAsciiCase(std::string(t)); }},
    {"no case",
     [](std::string_view t) {
         const std::string_view a = t.substr(0, t.find('|')), b = t.substr(t.find('|') + 1);
         const bool hashes = NoCaseHash()(a) == NoCaseHash()(b);
         return std::string(EqualsNoCase(a, b)       ? "equal"
                            : StartsWithNoCase(a, b) ? "starts"
                                                     : "no") +
                (hashes ? " hash" : "");
     }},
};

const struct Case {
    const char* helper;
    std::string_view text;
    const char* expected;
} kCases[] = {
    {"ini blanks", "", "\t\v "},
    {"c spaces", "", "\t\n\v\f\r "},
    {"scan view", "9 \t\n\v\f\r-12x", "-12 9"},
    {"scan view", "5+0042", "42 5"},
    {"scan view", "312345", "123 3"},
    {"scan view", "1-1", "77 0"},
    {"scan view", "0", "77 0"},
    {"scan view", "a4294967299", "3 10"},
    {"scan view", "a2147483648", "-2147483648 10"},
    {"scan view", "512\0 34"sv, "12 2"},
    {"lower", "AZ az@[`{\xC4", "az az@[`{\xC4|az az@[`{\xC4"},
    {"no case", "Drum_|dRUM_", "equal hash"},
    {"no case", "Drum|Drun", "no"},
    {"no case", "@|`", "no"},
    {"no case", "Speeder_001|sPEEDER_", "starts"},
};

TEST(TextTest, EveryHelperGivesWhatTheTableSays) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.helper) + ": " + std::string(c.text));
        EXPECT_EQ(kHelpers.at(c.helper)(c.text), c.expected);
    }
}

}  // namespace
}  // namespace knitcfg::detail
