#include <gtest/gtest.h>

#include "knitcfg/common/Text.h"

namespace knitcfg {
namespace {

TEST(TextTest, NewLinesEscapeAndUnescape) {
    EXPECT_EQ(EscapeNewLines("a\r\nb\r\n"), "a\\nb\\n");
    EXPECT_EQ(EscapeNewLines("lone\rcr and\nlf\r"), "lone\rcr and\nlf\r");
    EXPECT_EQ(EscapeNewLines("\r\r\n\n"), "\r\\n\n");
    EXPECT_EQ(UnescapeNewLines("a\\nb\\"), "a\r\nb\\");
    EXPECT_EQ(UnescapeNewLines("\\\\n"), "\\\r\n");
    EXPECT_EQ(UnescapeNewLines("\\N\\t"), "\\N\\t");
    EXPECT_EQ(EscapeNewLines(nullptr), "");
    EXPECT_EQ(UnescapeNewLines(nullptr), "");
    const char* text = "line one\r\nline two\r\n\r\nend";
    EXPECT_EQ(UnescapeNewLines(EscapeNewLines(text).c_str()), text);
}

TEST(TextTest, NumberedNamesHaveAtLeastThreeDigits) {
    EXPECT_EQ(NumberedName("Drum_", 0), "Drum_000");
    EXPECT_EQ(NumberedName("Color_", 42), "Color_042");
    EXPECT_EQ(NumberedName("Line_", 1000), "Line_1000");
    EXPECT_EQ(NumberedName("Plane_", -5), "Plane_-005");
    EXPECT_EQ(NumberedName(nullptr, 7), "007");
}

}  // namespace
}  // namespace knitcfg
