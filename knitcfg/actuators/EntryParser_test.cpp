#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/common/detail/Names.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace knitcfg::entry {
namespace {

// Items as "3|1|t:abc" for compact expectations.
std::string Show(const Items& items) {
    std::string out;
    for (const Item& item : items) {
        if (!out.empty()) {
            out += '|';
        }
        out += item.isText ? "t:" + item.text : std::to_string(item.number);
    }
    return out;
}

struct ScanCase {
    const char* value;
    const char* format;
    const char* items;
    bool tooLong;
};

constexpr char kFour[] = "%d, %d, %d, %d";
constexpr char kSpeed[] = "%d, %d, %d, %s";
constexpr char kDesign[] = "%d %d %d %s %d %d %s %d %d %d %d";

TEST(EntryParserTest, ScansLikeScanf) {
    const ScanCase cases[] = {
        {"3, 1, 2, 0", kFour, "3|1|2|0", false},
        {"3,1,2,0", kFour, "3|1|2|0", false},
        {"3,\v4,\f5,\r6", kFour, "3|4|5|6", false},
        {"+-3", kFour, "", false},
        {"-", kFour, "", false},
        {"3,\t 1,2,   0 tail", kFour, "3|1|2|0", false},
        {"  +7, -0, 0009, -12", kFour, "7|0|9|-12", false},
        // A blank before a comma is not matched by the comma.
        {"3 , 1, 2, 0", kFour, "3", false},
        {"3, x, 2, 0", kFour, "3", false},
        {"3, -, 2, 0", kFour, "3", false},
        {"3, 1", kFour, "3|1", false},
        {"3.5, 1", kFour, "3", false},
        {"", kFour, "", false},
        {"   ", kFour, "", false},
        {"word", kFour, "", false},
        // A blank directive matches any run of blanks, none included.
        {"3 \t ,4", "%d ,%d", "3|4", false},
        {"3,4", "%d ,%d", "3|4", false},
        {"0x10", "%d", "0", false},
        {"4294967297", "%d", "1", false},
        {"2147483648", "%d", "-2147483648", false},
        {"-2147483648", "%d", "-2147483648", false},
        {"7, 2, 0, -1.250", kSpeed, "7|2|0|t:-1.250", false},
        {"7, 2, 0,-1.250 rest", kSpeed, "7|2|0|t:-1.250", false},
        {"7, 2, 0", kSpeed, "7|2|0", false},
        {"7, 2, 0,   ", kSpeed, "7|2|0", false},
        {"7, 2, 0, 1234567890", kSpeed, "7|2|0|t:1234567890", false},
        {"7, 2, 0, 12345678901", kSpeed, "7|2|0", true},
        {"5 2 1 +12.500 10 20 -3.250 30 40 1 2", kDesign,
         "5|2|1|t:+12.500|10|20|t:-3.250|30|40|1|2", false},
        {"5\t2\t1\t+1\t10\t20\t-3\t30\t40\t1\t2", kDesign, "5|2|1|t:+1|10|20|t:-3|30|40|1|2",
         false},
        {"5 2 1 +1 10 20", kDesign, "5|2|1|t:+1|10|20", false},
        {"0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0", kDesign, "0", false},
        {"5 2 1 +12345678.90 1 2 x 3 4 5 6", kDesign, "5|2|1", true},
        {"5 2 1 +1 1 2 -12345678.90 3 4 5 6", kDesign, "5|2|1|t:+1|1|2", true},
        // A directive at the end of the format stops there: nothing past the
        // format's NUL is read.
        {"abc 7", "%s\0%d", "t:abc", false},
        {"7 8", "%d\0%d", "7", false},
    };
    for (const ScanCase& c : cases) {
        const ScanResult result = Scan(c.value, c.format, 10);
        EXPECT_EQ(Show(result.items), c.items) << '"' << c.value << "\" with " << c.format;
        EXPECT_EQ(result.textTooLong, c.tooLong) << c.value;
    }
}

TEST(EntryParserTest, NullValueOrFormatScansNothing) {
    EXPECT_TRUE(Scan(nullptr, kFour, 10).items.empty());
    EXPECT_TRUE(Scan("3", nullptr, 10).items.empty());
}

// The entry numbers and values are written without the C library; they must
// read exactly as "%3.3d" and "%d" print them, INT_MIN included.
TEST(EntryParserTest, NumbersAreWrittenAsPrintfWritesThem) {
    for (const int n : {0, 1, 7, 42, 999, 1000, 123456, -1, -5, -42, -999, -1000, INT_MAX, INT_MIN,
                        -32768, 32767}) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%3.3d", n);
        EXPECT_EQ(detail::NumberedName("Drum_", n), std::string("Drum_") + expected) << n;
        std::snprintf(expected, sizeof expected, "%d", n);
        std::string plain = "k=";
        FormatTo("%d", {Item::Number(n)}, &plain);
        EXPECT_EQ(plain, std::string("k=") + expected) << n;
    }
}

}  // namespace
}  // namespace knitcfg::entry
