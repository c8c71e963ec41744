#include "Table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace knitcfg::cli {
namespace {

std::string Render(const Table& table, const std::string& indent = "") {
    std::ostringstream out;
    table.Write(out, indent);
    return out.str();
}

TEST(TableTest, CutsLongCellsExceptInTheLastColumn) {
    Table table({{"pattern"}, {"remap"}});
    const std::string longName(60, 'p');
    const std::string longList(60, '1');
    table.AddRow({longName, longList});
    const std::string text = Render(table);
    EXPECT_NE(text.find(std::string(37, 'p') + "...  " + longList + "\n"), std::string::npos)
        << text;
}

TEST(TableTest, LongTablesRepeatTheirHeader) {
    Table table({Column("id", true)});
    for (int i = 0; i < 85; ++i) {
        table.AddRow({std::to_string(i)});
    }
    const std::string text = Render(table);
    std::size_t headers = 0;
    for (std::size_t at = text.find("id\n"); at != std::string::npos;
         at = text.find("id\n", at + 1)) {
        ++headers;
    }
    EXPECT_EQ(headers, 3u);  // before rows 0, 40 and 80
}

// In UTF-8 a column is as wide as its characters, not its bytes, and a cut
// never splits a character.
TEST(TableTest, Utf8CellsAlignAndCutByCharacter) {
    Table table({Column("name"), Column("n", true)}, Encoding::Utf8, 6);
    table.AddRow({"\xe9t\xe9", "1"});
    table.AddRow({"\xe9\xe9\xe9\xe9\xe9\xe9\xe9", "2"});
    EXPECT_EQ(Render(table),
              "name    n\n"
              "\xc3\xa9t\xc3\xa9     1\n"
              "\xc3\xa9\xc3\xa9\xc3\xa9...  2\n");
    Table whole({Column("name"), Column("n")}, Encoding::Latin1, 0);
    whole.AddRow({std::string(50, 'x'), "1"});
    EXPECT_EQ(Render(whole),
              "name" + std::string(48, ' ') + "n\n" + std::string(50, 'x') + "  1\n");
}

TEST(TableTest, FieldsAlignLabelsAndContinueLineBreaks) {
    std::ostringstream out;
    WriteFields(out, "  ",
                {{"Help", "one\r\ntwo\nthree\rfour"}, {"Machine type", "KX"}, {"Empty", ""}});
    EXPECT_EQ(out.str(),
              "  Help          one\n"
              "                two\n"
              "                three\n"
              "                four\n"
              "  Machine type  KX\n"
              "  Empty\n");
}

}  // namespace
}  // namespace knitcfg::cli
