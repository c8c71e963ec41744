#include "Json.h"

#include <gtest/gtest.h>

#include <string>

namespace knitcfg::cli {
namespace {

// Whatever bytes a text holds, the JSON stays valid: every byte that must
// be is escaped, in each form.
TEST(JsonTest, StringsEscapeEveryByteThatMustBe) {
    const struct {
        std::string text;
        JsonText form;
        std::string json;
    } cases[] = {
        {"plain", JsonText::Ascii, "\"plain\""},
        {"a\"b\\c/", JsonText::Ascii, "\"a\\\"b\\\\c/\""},
        {"\r\n\t\b\f", JsonText::Ascii, "\"\\r\\n\\t\\b\\f\""},
        {std::string("\x01\x1f\x7f\0z", 5), JsonText::Ascii, "\"\\u0001\\u001f\\u007f\\u0000z\""},
        {"caf\xe9 \xff", JsonText::Ascii, "\"caf\\u00e9 \\u00ff\""},
        {"\xe9\x80\x81\x7f\xa0", JsonText::Latin1, "\"\xe9\\u0080\\u0081\\u007f\xa0\""},
        {"\xe9\x80\x81\x7f", JsonText::Utf8, "\"\xc3\xa9\xe2\x82\xac\\u0081\\u007f\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonString(c.text, c.form), c.json) << c.json;
    }
}

}  // namespace
}  // namespace knitcfg::cli
