#include "knitcfg/designs/CGenDis.h"

#include <gtest/gtest.h>

#include <string>

#include "CaseTable.h"
#include "IniFileTest.h"

namespace knitcfg {
namespace {

using test::ReadFile;

// code|color|pattern name|association|remap list
std::string Describe(RETERROR code, const CPatObj& pattern) {
    std::string out = std::to_string(code) + "|" + std::to_string(pattern.Color) + "|" +
                      pattern.PatternName + "|" + std::to_string(pattern.Association) + "|";
    for (std::size_t i = 0; i < pattern.Remap.size(); ++i) {
        out += (i > 0 ? " " : "") + std::to_string(pattern.Remap[i]);
    }
    return out;
}

// The pattern objects of `design`, each as Describe shows it, after "; ".
std::string Patterns(const CGenDis& design) {
    std::string out;
    for (const auto& pattern : design.Patterns) {
        out += "; " + Describe(RE_SUCCESS, *pattern);
    }
    return out;
}

TEST(CPatObjTest, ReadsPatternLines) {
    for (const auto& row : test::ReadCaseTable("designs/pattern-lines.tsv")) {
        ASSERT_EQ(row.size(), 2u);
        SCOPED_TRACE(row[0]);
        CPatObj pattern;
        pattern.PatternName = "old";
        pattern.Association = 77;
        pattern.Remap = {99};
        const RETERROR code = pattern.LoadSection(row[0].c_str());
        EXPECT_EQ(Describe(code, pattern), row[1]);
    }
    CPatObj pattern;
    EXPECT_EQ(pattern.LoadSection(nullptr), RE_WRONG_KIND);
}

class CGenDisTest : public test::IniFileTest {};

TEST_F(CGenDisTest, ReadsDesignLines) {
    const std::string file = Write("c.ini", {"[Other]", "k=v"});
    for (const auto& row : test::ReadCaseTable("designs/design-lines.tsv")) {
        ASSERT_EQ(row.size(), 2u);
        SCOPED_TRACE(row[0]);
        CGenDis design;
        EXPECT_EQ(design.LoadSection(row[0].c_str(), file.c_str()), RE_SUCCESS);
        EXPECT_EQ(
            design.Name + "|" + std::to_string(design.First) + "|" + std::to_string(design.Second),
            row[1]);
        EXPECT_TRUE(design.Patterns.empty());
    }
    CGenDis design;
    EXPECT_EQ(design.LoadSection(nullptr, file.c_str()), RE_SUCCESS);
    EXPECT_EQ(design.LoadSection("a=1,2", nullptr), RE_SUCCESS);
    EXPECT_EQ(design.Name, "a");
}

// The section is found under the name as the file spells it, drive
// included; a line without comma is kept as an object all the same.
TEST_F(CGenDisTest, ReadsItsSectionUnderTheWrittenName) {
    const std::string file =
        Write("c.ini", {"[e:\\DIS\\A]", "2=D:\\pat\\p1,5,1 2 3 ", "3=\\pat\\nocomma",
                        "2=\\pat\\again,6", "[\\dis\\a]", "9=\\wrong,0"});
    CGenDis design;
    ASSERT_EQ(design.LoadSection("E:\\dis\\a=3,7", file.c_str()), RE_SUCCESS);
    EXPECT_EQ(design.Name, "\\dis\\a");
    EXPECT_EQ(Patterns(design), "; 0|2|\\pat\\p1|5|1 2 3; 0|3||0|; 0|2|\\pat\\again|6|");
    // Lookups by color take the first object of that color.
    EXPECT_EQ(design.GetPatObject(2), design.Patterns[0].get());
    EXPECT_EQ(design.GetPatObject(3), design.Patterns[1].get());
    EXPECT_EQ(design.GetPatObject(4), nullptr);
    const CGenDis& constDesign = design;
    EXPECT_EQ(constDesign.GetPatObject(2), design.Patterns[0].get());
}

// A copy is deep: what the original changes later is not written.
TEST_F(CGenDisTest, SavesItsLineAndReplacesItsSection) {
    const std::string file = Write("c.ini", {"[GeneratedDis]", "\\dis\\a=1,1", "[\\DIS\\A]",
                                             "8=\\stale,0", "; kept", "[Next]", "k=v"});
    CGenDis design;
    design.Name = "\\dis\\a";
    design.First = -3;
    design.Second = 70000;
    design.UpdateColorAssociation(2, 5, "\\pat\\p1");
    design.UpdateColorAssociation(4, 9, "\\pat\\q");
    IndexList remap{1, -2, 3};
    ASSERT_EQ(design.UpdateColorRemap(2, &remap), 1);
    const CGenDis copy(design);
    design.Patterns[0]->Remap.push_back(6);
    design.Patterns[0]->PatternName = "changed";
    EXPECT_EQ(copy.Save(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(ReadFile(file), Text({"[GeneratedDis]", "\\dis\\a=-3,70000", "; kept", "[Next]",
                                    "k=v", "[\\dis\\a]", "2=\\pat\\p1,5,1 -2 3 ", "4=\\pat\\q,9"}));
}

// A refused table line gives 56, the section is written all the same; a
// refused pattern line gives 57 from the object but not from the design.
TEST_F(CGenDisTest, ReportsRefusedWrites) {
    const std::string file = Write("c.ini", {"[Other]", "k=v"});
    CGenDis design;
    design.Name = "bad=name";
    design.UpdateColorAssociation(1, 0, "\\pat\\ok");
    EXPECT_EQ(design.Save(file.c_str()), RE_WRITE_LAST_DEVELOP);
    EXPECT_EQ(ReadFile(file), Text({"[Other]", "k=v", "[bad=name]", "1=\\pat\\ok,0"}));

    CGenDis broken;
    broken.Name = "\\dis\\b";
    broken.UpdateColorAssociation(1, 0, "two\r\nlines");
    broken.UpdateColorAssociation(2, 0, "\\pat\\fine");
    EXPECT_EQ(broken.Patterns[0]->Save("\\dis\\b", file.c_str()), RE_WRITE_PATTERN);
    EXPECT_EQ(broken.Patterns[1]->Save(nullptr, file.c_str()), RE_WRITE_PATTERN);
    EXPECT_EQ(broken.Save(file.c_str()), RE_SUCCESS);
    CGenDis reread;
    reread.LoadSection("\\dis\\b=0,0", file.c_str());
    ASSERT_EQ(reread.Patterns.size(), 1U);
    EXPECT_EQ(reread.Patterns[0]->PatternName, "\\pat\\fine");
}

TEST(CGenDisEditTest, UpdatesColorAssociations) {
    CGenDis design;
    // Not there: a null or empty pattern name changes nothing.
    design.UpdateColorAssociation(5, 1, "");
    design.UpdateColorAssociation(5, 1, nullptr);
    design.UpdateColorAssociation(5, 1, "\\pat\\a");
    design.UpdateColorAssociation(6, 2, "\\pat\\b");
    EXPECT_EQ(Patterns(design), "; 0|5|\\pat\\a|1|; 0|6|\\pat\\b|2|");

    // Found: name and association change, the remap list stays; an empty
    // name is a name. Found with a null name: removed.
    IndexList remap{7, 8};
    ASSERT_EQ(design.UpdateColorRemap(5, &remap), 1);
    design.UpdateColorAssociation(5, 3, "");
    EXPECT_EQ(Patterns(design), "; 0|5||3|7 8; 0|6|\\pat\\b|2|");
    design.UpdateColorAssociation(5, 0, nullptr);
    EXPECT_EQ(Patterns(design), "; 0|6|\\pat\\b|2|");

    IndexList empty;
    EXPECT_EQ(design.UpdateColorRemap(5, &remap), 0);
    EXPECT_EQ(design.UpdateColorRemap(6, nullptr), 0);
    EXPECT_EQ(design.UpdateColorRemap(6, &remap), 1);
    EXPECT_EQ(design.UpdateColorRemap(6, &empty), 1);
    EXPECT_EQ(Patterns(design), "; 0|6|\\pat\\b|2|");
}

}  // namespace
}  // namespace knitcfg
