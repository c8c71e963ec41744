#include "knitcfg/actuators/detail/EntryParser.h"

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

// The C library is the reference on inputs where it is well defined: no
// number beyond 32 bits and no text beyond its width.
TEST(EntryParserTest, AgreesWithSscanfOnSafeInputs) {
    const char* inputs[] = {
        "3, 1, 2, 0",
        "3,1,2,0",
        "  -3,+1 ,2",
        "3,  ,2",
        "3,\t\t4,\v5,\f6",
        "",
        " ",
        "-",
        "+",
        "+-3",
        "12abc, 3",
        "1, 2, 3, +0.000",
        "1, 2, 3,",
        "1, 2, 3, a b",
        "1,2,3,-",
        "9 8 7 q 6 5 w 4 3 2 1",
        "9 8 7 q 6",
        "9, 8",
        "-32768, 32767, 65535, 1",
    };
    for (const char* input : inputs) {
        int n[4] = {};
        char text[11] = {};
        int count = std::sscanf(input, "%d, %d, %d, %d", &n[0], &n[1], &n[2], &n[3]);
        Items items = Scan(input, kFour, 10).items;
        ASSERT_EQ(static_cast<int>(items.size()), count == EOF ? 0 : count) << input;
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].number, n[i]) << input;
        }

        count = std::sscanf(input, "%d, %d, %d, %10s", &n[0], &n[1], &n[2], text);
        items = Scan(input, kSpeed, 10).items;
        ASSERT_EQ(static_cast<int>(items.size()), count == EOF ? 0 : count) << input;
        if (items.size() == 4) {
            EXPECT_EQ(items[3].text, text) << input;
        }

        int d[9] = {};
        char a[11] = {};
        char b[11] = {};
        count = std::sscanf(input, "%d %d %d %10s %d %d %10s %d %d %d %d", &d[0], &d[1], &d[2], a,
                            &d[3], &d[4], b, &d[5], &d[6], &d[7], &d[8]);
        items = Scan(input, kDesign, 10).items;
        EXPECT_EQ(static_cast<int>(items.size()), count == EOF ? 0 : count) << input;
    }
}

TEST(EntryParserTest, FormatsItemsInOrder) {
    const Items drum{Item::Number(3), Item::Number(-32768), Item::Number(2), Item::Number(0)};
    EXPECT_EQ(Format(kFour, drum), "3, -32768, 2, 0");
    const Items speed{Item::Number(7), Item::Number(2), Item::Number(0), Item::Text("")};
    EXPECT_EQ(Format(kSpeed, speed), "7, 2, 0, ");
    const Items design{Item::Number(5),  Item::Number(2),  Item::Number(1),      Item::Text("+1"),
                       Item::Number(10), Item::Number(20), Item::Text("-3"),     Item::Number(30),
                       Item::Number(40), Item::Number(1),  Item::Number(INT_MIN)};
    EXPECT_EQ(Format(kDesign, design), "5 2 1 +1 10 20 -3 30 40 1 -2147483648");
    // Directives without an item write nothing; literals are still copied.
    EXPECT_EQ(Format(kFour, {Item::Number(1)}), "1, , , ");
}

// The entry numbers and values are written without the C library; they must
// read exactly as "%3.3d" and "%d" print them, INT_MIN included.
TEST(EntryParserTest, NumbersAreWrittenAsPrintfWritesThem) {
    for (const int n : {0, 1, 7, 42, 999, 1000, 123456, -1, -5, -42, -999, -1000, INT_MAX, INT_MIN,
                        -32768, 32767}) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%3.3d", n);
        std::string padded = "Drum_";
        AppendNumber3(n, &padded);
        EXPECT_EQ(padded, std::string("Drum_") + expected) << n;
        std::snprintf(expected, sizeof expected, "%d", n);
        std::string plain = "k=";
        FormatTo("%d", {Item::Number(n)}, &plain);
        EXPECT_EQ(plain, std::string("k=") + expected) << n;
    }
}

TEST(EntryParserTest, Low16KeepsTheLowBits) {
    EXPECT_EQ(Low16(70000), 4464);
    EXPECT_EQ(Low16(-32769), 32767);
    EXPECT_EQ(Low16(65535), -1);
    EXPECT_EQ(Low16(32768), -32768);
    EXPECT_EQ(Low16(INT_MIN), 0);
    EXPECT_EQ(Low16(-5), -5);
}

}  // namespace
}  // namespace knitcfg::entry
