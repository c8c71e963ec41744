#include "knitcfg/program/BlockPlane.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "CaseTable.h"
#include "IniFileTest.h"

namespace knitcfg {
namespace {

using test::Crlf;

class BlockPlaneTest : public test::IniFileTest {};

std::string Describe(const BlockPlane& block) {
    std::string out = std::to_string(block.Number) + " " + std::to_string(block.Parameter) + " [";
    for (std::size_t i = 0; i < block.Values.size(); ++i) {
        out += (i > 0 ? " " : "") + std::to_string(block.Values[i]);
    }
    return out + "]";
}

TEST_F(BlockPlaneTest, EntryParsing) {
    const auto cases = test::ReadCaseTable("planes/block-entries.tsv");
    std::string text = "[Plane_001]\n";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        text += "Block_" + std::to_string(i) + "=" + cases[i][0] + "\n";
    }
    const std::string file = Ini("blocks.ini", text);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i][0]);
        BlockPlane block;
        const std::string key = "Block_" + std::to_string(i);
        const RETERROR code = block.Load("Plane_001", key.c_str(), file.c_str());
        EXPECT_EQ(std::to_string(code) + " " + Describe(block), cases[i].at(1));
    }
}

// An entry writes its values over the list from position 0 on: values at
// later positions stay, and what the entry does not reach keeps its value.
TEST_F(BlockPlaneTest, EntryWritesOverTheValuesItReachesOnly) {
    const std::string file = Ini("blocks.ini", R"([Plane_001]
Short=8, 9
One=1, 2, 5
NoParameter=5
Bad=x
Long=3, 4, 5, 6, 7, 8
)");
    BlockPlane block;
    block.Number = 1;
    block.Parameter = 2;
    block.Values = {10, 11, 12};
    const std::pair<const char*, const char*> steps[] = {
        {"Short", "8 9 [10 11 12]"}, {"One", "1 2 [5 11 12]"},  {"NoParameter", "5 2 [5 11 12]"},
        {"Bad", "5 2 [5 11 12]"},    {"Long", "3 4 [5 6 7 8]"},
    };
    for (const auto& [key, expected] : steps) {
        EXPECT_EQ(block.Load("Plane_001", key, file.c_str()), RE_SUCCESS);
        EXPECT_EQ(Describe(block), expected) << key;
    }
}

TEST_F(BlockPlaneTest, MissingEntryGives10AndChangesNothing) {
    const std::string file = Ini("blocks.ini", "[Plane_001]\nBlock_003=1, 2, 3\n");
    const std::string none = dir_.File("none.ini");
    BlockPlane block;
    block.Number = 4;
    block.Values = {6};
    // A null key would list the keys: it reads nothing.
    const char* args[][3] = {
        {"Plane_001", "Block_009", file.c_str()}, {"Plane_002", "Block_003", file.c_str()},
        {"Plane_001", "Block_003", none.c_str()}, {nullptr, "Block_003", file.c_str()},
        {"Plane_001", nullptr, file.c_str()},     {"Plane_001", "Block_003", nullptr}};
    for (const auto& arg : args) {
        EXPECT_EQ(block.Load(arg[0], arg[1], arg[2]), RE_NO_BLOCK);
    }
    EXPECT_EQ(Describe(block), "4 0 [6]");
}

TEST_F(BlockPlaneTest, SaveBlockWritesTheEntryAndKeepsTheOtherKeys) {
    BlockPlane block;
    block.Number = 7;
    block.Parameter = 2;
    block.Values = {5, 6, 7};
    const std::string file = dir_.File("saved.ini");
    EXPECT_EQ(block.SaveBlock("Plane_001", file.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file), Crlf("[Plane_001]\nBlock_007=7, 2, 5, 6, 7\n"));

    // Without values only the two numbers; another block's key stays.
    BlockPlane bare;
    bare.Number = -3;
    bare.Parameter = 1000;
    EXPECT_EQ(bare.SaveBlock("Plane_001", file.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file),
              Crlf("[Plane_001]\nBlock_007=7, 2, 5, 6, 7\nBlock_-003=-3, 1000\n"));
}

TEST_F(BlockPlaneTest, RefusedWriteGives41) {
    BlockPlane block;
    const std::string file = dir_.File("refused.ini");
    EXPECT_EQ(block.SaveBlock("Plane]001", file.c_str()), RE_WRITE_BLOCK);
    EXPECT_EQ(block.SaveBlock(nullptr, file.c_str()), RE_WRITE_BLOCK);
    EXPECT_EQ(block.SaveBlock("Plane_001", nullptr), RE_WRITE_BLOCK);
    EXPECT_EQ(block.SaveBlock("Plane_001", dir_.File("no/such/folder.ini").c_str()),
              RE_WRITE_BLOCK);
    EXPECT_FALSE(test::FileExists(file));
}

}  // namespace
}  // namespace knitcfg
