#include "knitcfg/program/BlockPlane.h"

#include <gtest/gtest.h>

#include <memory>
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
        EXPECT_EQ(block.Load("Plane_001", key.c_str(), file.c_str()), RE_SUCCESS);
        EXPECT_EQ(Describe(block), cases[i].at(1));
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

TEST_F(BlockPlaneTest, MissingOrEmptyEntryGives10AndChangesNothing) {
    const std::string file = Ini("blocks.ini", R"([Plane_001]
Block_001=
Block_002=""
Block_003=1, 2, 3
)");
    BlockPlane block;
    block.Number = 4;
    block.Parameter = 5;
    block.Values = {6};
    EXPECT_EQ(block.Load("Plane_001", "Block_001", file.c_str()), RE_NO_BLOCK);
    EXPECT_EQ(block.Load("Plane_001", "Block_002", file.c_str()), RE_NO_BLOCK);
    EXPECT_EQ(block.Load("Plane_001", "Block_009", file.c_str()), RE_NO_BLOCK);
    EXPECT_EQ(block.Load("Plane_002", "Block_003", file.c_str()), RE_NO_BLOCK);
    EXPECT_EQ(block.Load("Plane_001", "Block_003", dir_.File("none.ini").c_str()), RE_NO_BLOCK);
    EXPECT_EQ(block.Load(nullptr, "Block_003", file.c_str()), RE_NO_BLOCK);
    // A null key would list the keys: it reads nothing.
    EXPECT_EQ(block.Load("Plane_001", nullptr, file.c_str()), RE_NO_BLOCK);
    EXPECT_EQ(block.Load("Plane_001", "Block_003", nullptr), RE_NO_BLOCK);
    EXPECT_EQ(Describe(block), "4 5 [6]");
}

TEST_F(BlockPlaneTest, EntryIsReadThrough256Characters) {
    // 256 characters: the 255 read end with the first digit of "12".
    std::string value = "999, 8";
    for (int i = 0; i < 82; ++i) {
        value += ", 1";
    }
    value += ", 12";
    ASSERT_EQ(value.size(), 256u);
    const std::string file = Ini("long.ini", "[P]\nBlock_009=" + value + "\n");
    BlockPlane block;
    EXPECT_EQ(block.Load("P", "Block_009", file.c_str()), RE_SUCCESS);
    ASSERT_EQ(block.Values.size(), 83u);
    EXPECT_EQ(block.Values.back(), 1);
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

    // What is written reads back as the same block.
    BlockPlane back;
    EXPECT_EQ(back.Load("Plane_001", "Block_007", file.c_str()), RE_SUCCESS);
    EXPECT_EQ(Describe(back), "7 2 [5 6 7]");
    BlockPlane backBare;
    EXPECT_EQ(backBare.Load("Plane_001", "Block_-003", file.c_str()), RE_SUCCESS);
    EXPECT_EQ(Describe(backBare), "-3 1000 []");
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

TEST_F(BlockPlaneTest, CopiesAreDeep) {
    BlockPlane block;
    block.Number = 3;
    block.Parameter = 4;
    block.Values = {1, 2};
    const std::unique_ptr<BlockPlane> clone(block.Clone());
    const BlockPlane copy(block);
    block.Values.push_back(9);
    block.Number = 8;
    EXPECT_EQ(Describe(*clone), "3 4 [1 2]");
    EXPECT_EQ(Describe(copy), "3 4 [1 2]");
    EXPECT_EQ(Describe(BlockPlane()), "0 0 []");
}

}  // namespace
}  // namespace knitcfg
