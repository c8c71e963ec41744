#include "knitcfg/program/PlanePrg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CaseTable.h"
#include "FailingAllocation.h"
#include "IniFileTest.h"

namespace knitcfg {
namespace {

using test::Crlf;

std::string PlaneData(const std::string& name) {
    return test::TestDataDir() + "/planes/" + name;
}

// The plane's fields and blocks in one line.
std::string Describe(const PlanePrg& plane) {
    std::string out = std::to_string(plane.Number) + " lines " +
                      std::to_string(plane.NumberOfLines) + " start " +
                      std::to_string(plane.StartBlock) + " [" + plane.Description + "] prio " +
                      std::to_string(plane.Priority);
    for (const auto& block : plane.Blocks) {
        out += " {" + std::to_string(block->Number) + " " + std::to_string(block->Parameter) + ":";
        for (short value : block->Values) {
            out += " " + std::to_string(value);
        }
        out += "}";
    }
    return out;
}

class PlanePrgTest : public test::IniFileTest {};

// What is written reads back the same, and is written again the same.
TEST_F(PlanePrgTest, EntryWrittenReadsBackTheSame) {
    for (const auto& row : test::ReadCaseTable("planes/plane-written.tsv")) {
        ASSERT_EQ(row.size(), 4u);
        SCOPED_TRACE(row[3]);
        const std::string file = dir_.File("entry-" + row[0] + ".ini");
        PlanePrg plane;
        plane.Number = static_cast<short>(std::stoi(row[0]));
        plane.Description = row[1];
        plane.Priority = static_cast<short>(std::stoi(row[2]));
        for (int round = 0; round < 2; ++round) {
            ASSERT_EQ(plane.SavePlane(file.c_str()), RE_SUCCESS);
            EXPECT_EQ(test::ReadFile(file), Crlf("[ColorPlanes]\n" + row[3] + "\n"));
            PlanePrg back;
            back.Load(row[3].substr(0, row[3].find('=')).c_str(), file.c_str());
            EXPECT_EQ(Describe(back), Describe(plane));
            plane.Description = back.Description;
        }
    }
}

TEST_F(PlanePrgTest, EntryParsing) {
    const auto cases = test::ReadCaseTable("planes/plane-entries.tsv");
    std::string text = "[ColorPlanes]\n";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        text += "Plane_" + std::to_string(i) + "=" + cases[i][0] + "\n";
    }
    const std::string file = Ini("entries.ini", text);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i][0]);
        PlanePrg plane;
        plane.Number = 99;
        plane.Description = "old";
        plane.Priority = 9;
        plane.Load(("Plane_" + std::to_string(i)).c_str(), file.c_str());
        EXPECT_EQ(std::to_string(plane.Number) + " [" + plane.Description + "] prio " +
                      std::to_string(plane.Priority),
                  cases[i].at(1));
    }

    // The entry is read through 512 characters: 508 of a long description stay.
    PlanePrg cut;
    cut.Load(
        "Plane_7",
        Ini("long.ini", "[ColorPlanes]\nPlane_7=7, " + std::string(600, 'd') + ", 3\n").c_str());
    EXPECT_EQ(cut.Description, std::string(508, 'd'));

    // A missing entry reads as "0, 0, 0"; so do a null key and a null file.
    const char* keys[] = {"Plane_099", nullptr, "Plane_0"};
    const char* files[] = {file.c_str(), file.c_str(), nullptr};
    for (int i = 0; i < 3; ++i) {
        PlanePrg plane;
        plane.Load(keys[i], files[i]);
        EXPECT_EQ(Describe(plane), "0 lines 4 start 0 [0] prio 0");
    }
}

TEST_F(PlanePrgTest, RefusedEntryWriteGives42) {
    PlanePrg plane;
    plane.Number = 1;
    const std::string file = dir_.File("refused.ini");
    // The description is written unchanged: a line break cannot be.
    plane.Description = "two\r\nlines";
    EXPECT_EQ(plane.SavePlane(file.c_str()), RE_WRITE_PLANE);
    EXPECT_FALSE(test::FileExists(file));
    plane.Description = "one line";
    EXPECT_EQ(plane.SavePlane(nullptr), RE_WRITE_PLANE);
    EXPECT_EQ(plane.SavePlane(dir_.File("no/such/folder.ini").c_str()), RE_WRITE_PLANE);
    // Other keys of the section stay.
    const std::string kept = Ini("kept.ini", "[ColorPlanes]\nPlane_005=5, Five, 0\nOther=x\n");
    EXPECT_EQ(plane.SavePlane(kept.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(kept),
              Crlf("[ColorPlanes]\nPlane_005=5, Five, 0\nOther=x\nPlane_001=1, one line, 0\n"));
}

TEST_F(PlanePrgTest, SectionCodesComeInOrderAndEverythingIsRead) {
    const std::string file = PlaneData("section-codes.ini");
    for (const auto& [section, expected] : test::ReadExpectations("planes/section-codes.ini")) {
        SCOPED_TRACE(section);
        PlanePrg plane;
        plane.Description = "old";
        const RETERROR code = plane.LoadSection(section.c_str(), file.c_str());
        EXPECT_EQ(std::to_string(code) + " " + Describe(plane), expected);
    }
    PlanePrg plane;
    EXPECT_EQ(plane.LoadSection(nullptr, file.c_str()), RE_EMPTY_COLOR);
    EXPECT_EQ(plane.LoadSection("Plane_005", nullptr), RE_BAD_NUMBER_OF_LINES);
    EXPECT_TRUE(plane.Blocks.empty());
}

// Loading again re-reads the fields and adds only blocks of new numbers; a
// copy taken before keeps its own blocks.
TEST_F(PlanePrgTest, SectionLoadedAgainAddsOnlyNewBlocks) {
    const std::string file = PlaneData("section-codes.ini");
    PlanePrg plane;
    EXPECT_EQ(plane.LoadSection("Plane_002", file.c_str()), RE_SUCCESS);
    const PlanePrg copy(plane);
    const std::string loaded = Describe(plane);
    plane.Blocks[0]->Values.clear();
    plane.RemoveBlock(7);
    plane.Priority = 5;
    EXPECT_EQ(plane.LoadSection("Plane_002", file.c_str()), RE_SUCCESS);
    EXPECT_EQ(Describe(plane), "2 lines 2 start 0 [Blocks] prio 1 {3 1:} {1 9:} {0 0:} {7 7: 7}");
    EXPECT_EQ(Describe(copy), loaded);
}

TEST_F(PlanePrgTest, DescriptionIsReadThrough8192Characters) {
    const std::string longText(9000, 'd');
    const std::string file = Ini("long.ini",
                                 "[Plane_001]\nNumberOfLines=1\nStartBlock=0\nPriority=0\n"
                                 "Description=" +
                                     longText + "\n");
    PlanePrg plane;
    EXPECT_EQ(plane.LoadSection("Plane_001", file.c_str()), RE_SUCCESS);
    EXPECT_EQ(plane.Description, std::string(8191, 'd'));
}

TEST_F(PlanePrgTest, BlocksAreAddedFoundAndRemoved) {
    PlanePrg plane;
    const IndexList values = {4, 5};
    EXPECT_EQ(plane.AddBlock(2, 1, &values), 1);
    EXPECT_EQ(plane.AddBlock(70000, -70000, nullptr), 1);  // 16 bits, no values
    const IndexList none;
    EXPECT_EQ(plane.AddBlock(2, 9, &none), 1);  // no check for the number
    EXPECT_EQ(Describe(plane), "-32768 lines 4 start 0 [] prio 0 {2 1: 4 5} {4464 -4464:} {2 9:}");

    ASSERT_NE(plane.GetBlock(2), nullptr);
    EXPECT_EQ(plane.GetBlock(2), plane.Blocks[0].get());
    EXPECT_EQ(plane.GetBlock(4464), plane.Blocks[1].get());
    EXPECT_EQ(plane.GetBlock(3), nullptr);

    EXPECT_EQ(plane.RemoveBlock(3), 0);
    EXPECT_EQ(plane.RemoveBlock(2), 1);  // the first of the number
    EXPECT_EQ(Describe(plane), "-32768 lines 4 start 0 [] prio 0 {4464 -4464:} {2 9:}");
    EXPECT_EQ(plane.RemoveBlock(2), 1);
    EXPECT_EQ(plane.RemoveBlock(2), 0);
    EXPECT_EQ(plane.GetBlock(2), nullptr);
}

TEST_F(PlanePrgTest, BlockThatCannotBeMadeLeavesThePlaneAlone) {
    KNITCFG_REQUIRE_FAILING_ALLOCATION();
    PlanePrg plane;
    const IndexList values = {4, 5};
    ASSERT_EQ(plane.AddBlock(1, 0, &values), 1);
    const std::string before = Describe(plane);
    // The block, its values, the room in the list: each failing in turn.
    for (int skip = 0;; ++skip) {
        int result;
        bool failed;
        {
            test::FailingAllocation failing(skip);
            result = plane.AddBlock(2, 3, &values);
            failed = failing.Failed();
        }
        if (!failed) {
            EXPECT_EQ(skip, 3);
            EXPECT_EQ(result, 1);
            break;
        }
        EXPECT_EQ(result, 0);
        EXPECT_EQ(Describe(plane), before);
    }
    EXPECT_EQ(Describe(plane), before + " {2 3: 4 5}");
}

}  // namespace
}  // namespace knitcfg
