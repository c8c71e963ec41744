#include "knitcfg/designs/CGenDis.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "IniFileTest.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {
namespace {

using test::ReadFile;

// Lines of a design section, read into an object that already holds a
// pattern name, an association value and a remap list, so that what a line
// leaves untouched shows.
TEST(CPatObjTest, ReadsPatternLines) {
    struct Case {
        const char* line;
        RETERROR code;
        int color;
        const char* name;
        int association;
        IndexList remap;
    } const cases[] = {
        {"2=D:\\pat\\p1,5,1 2 3 ", RE_SUCCESS, 2, "\\pat\\p1", 5, {1, 2, 3}},
        // No remap part: the remap list stays as it was.
        {"4=\\pat\\q,9", RE_SUCCESS, 4, "\\pat\\q", 9, {99}},
        {"4=\\pat\\q,9,1  2", RE_SUCCESS, 4, "\\pat\\q", 9, {1, 0, 2}},
        {"4=\\pat\\q,9, 1", RE_SUCCESS, 4, "\\pat\\q", 9, {0, 1}},
        {"4=\\pat\\q,9,", RE_SUCCESS, 4, "\\pat\\q", 9, {}},
        {"4=\\pat\\q,9,70000 -40000 32768 99999999999",
         RE_SUCCESS,
         4,
         "\\pat\\q",
         9,
         {4464, 25536, -32768, -6145}},
        // Lenient numbers: blanks, a sign, digits up to anything else.
        {" -3 =\\p, +12 ,1x y", RE_SUCCESS, -3, "\\p", 12, {1, 0}},
        {"x=\\p,abc", RE_SUCCESS, 0, "\\p", 0, {99}},
        {"5=\\p,1,2,3 4", RE_SUCCESS, 5, "\\p", 1, {2, 4}},
        // Only the first colon-backslash marks the drive.
        {"9=C:\\a:\\b,1", RE_SUCCESS, 9, "\\a:\\b", 1, {99}},
        {"9=dis:b,1", RE_SUCCESS, 9, "dis:b", 1, {99}},
        // No comma: no pattern name; association and remap keep their values.
        {"7=E:\\pat\\x", RE_WRONG_KIND, 7, "", 77, {99}},
        {"no equals sign", RE_WRONG_KIND, 0, "", 77, {99}},
        {"", RE_WRONG_KIND, 0, "", 77, {99}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CPatObj pattern;
        pattern.PatternName = "old";
        pattern.Association = 77;
        pattern.Remap = {99};
        EXPECT_EQ(pattern.LoadSection(c.line), c.code);
        EXPECT_EQ(pattern.Color, c.color);
        EXPECT_EQ(pattern.PatternName, c.name);
        EXPECT_EQ(pattern.Association, c.association);
        EXPECT_EQ(pattern.Remap, c.remap);
    }
    CPatObj pattern;
    EXPECT_EQ(pattern.LoadSection(nullptr), RE_WRONG_KIND);
}

// Lines of "GeneratedDis" in a file that has no design sections.
class CGenDisTest : public test::DesignFileTest {};

TEST_F(CGenDisTest, ReadsDesignLines) {
    const std::string file = Write("c.ini", {"[Other]", "k=v"});
    struct Case {
        const char* line;
        const char* name;
        int first;
        int second;
    } const cases[] = {
        {"E:\\dis\\a=3,7", "\\dis\\a", 3, 7},
        {"\\dis\\b=5", "\\dis\\b", 0, 5},
        {"\\dis\\c= 12abc , -3x", "\\dis\\c", 12, -3},
        {"\\dis\\d=", "\\dis\\d", 0, 0},
        {"\\dis\\e=,", "\\dis\\e", 0, 0},
        {"x:\\y:\\z=1,2,3", "\\y:\\z", 1, 2},
        {"\\dis\\f=4294967297,-4294967297", "\\dis\\f", 1, -1},
        // Without '=' nothing stands before it: no name, numbers from the line.
        {"junk", "", 0, 0},
        {"", "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CGenDis design;
        EXPECT_EQ(design.LoadSection(c.line, file.c_str()), RE_SUCCESS);
        EXPECT_EQ(design.Name, c.name);
        EXPECT_EQ(design.First, c.first);
        EXPECT_EQ(design.Second, c.second);
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
    const std::string file = Write("c.ini", {
                                                "[e:\\DIS\\A]",
                                                "2=D:\\pat\\p1,5,1 2 3 ",
                                                "3=\\pat\\nocomma",
                                                "2=\\pat\\again,6",
                                                "[\\dis\\a]",
                                                "9=\\wrong,0",
                                            });
    CGenDis design;
    ASSERT_EQ(design.LoadSection("E:\\dis\\a=3,7", file.c_str()), RE_SUCCESS);
    EXPECT_EQ(design.Name, "\\dis\\a");
    ASSERT_EQ(design.Patterns.size(), 3U);
    EXPECT_EQ(design.Patterns[0]->PatternName, "\\pat\\p1");
    EXPECT_EQ(design.Patterns[0]->Remap, (IndexList{1, 2, 3}));
    EXPECT_EQ(design.Patterns[1]->Color, 3);
    EXPECT_EQ(design.Patterns[1]->PatternName, "");
    // Lookups by color take the first object of that color.
    EXPECT_EQ(design.GetPatObject(2), design.Patterns[0].get());
    EXPECT_EQ(design.GetPatObject(3), design.Patterns[1].get());
    EXPECT_EQ(design.GetPatObject(4), nullptr);
    const CGenDis& constDesign = design;
    EXPECT_EQ(constDesign.GetPatObject(2), design.Patterns[0].get());
}

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
    EXPECT_EQ(design.Save(file.c_str()), RE_SUCCESS);
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
    EXPECT_TRUE(design.Patterns.empty());

    design.UpdateColorAssociation(5, 1, "\\pat\\a");
    design.UpdateColorAssociation(6, 2, "\\pat\\b");
    ASSERT_EQ(design.Patterns.size(), 2U);
    EXPECT_EQ(design.Patterns[0]->Color, 5);
    EXPECT_EQ(design.Patterns[0]->Association, 1);
    EXPECT_TRUE(design.Patterns[0]->Remap.empty());

    // Found: name and association change, the remap list stays; an empty
    // name is a name.
    IndexList remap{7, 8};
    ASSERT_EQ(design.UpdateColorRemap(5, &remap), 1);
    design.UpdateColorAssociation(5, 3, "");
    ASSERT_EQ(design.Patterns.size(), 2U);
    EXPECT_EQ(design.Patterns[0]->PatternName, "");
    EXPECT_EQ(design.Patterns[0]->Association, 3);
    EXPECT_EQ(design.Patterns[0]->Remap, (IndexList{7, 8}));

    // Found with a null name: removed.
    design.UpdateColorAssociation(5, 0, nullptr);
    ASSERT_EQ(design.Patterns.size(), 1U);
    EXPECT_EQ(design.Patterns[0]->Color, 6);

    IndexList empty;
    EXPECT_EQ(design.UpdateColorRemap(5, &remap), 0);
    EXPECT_EQ(design.UpdateColorRemap(6, nullptr), 0);
    EXPECT_EQ(design.UpdateColorRemap(6, &remap), 1);
    EXPECT_EQ(design.UpdateColorRemap(6, &empty), 1);
    EXPECT_TRUE(design.Patterns[0]->Remap.empty());
}

TEST(CGenDisEditTest, CopiesAndClonesDeeply) {
    CGenDis design;
    design.Name = "\\dis\\a";
    design.First = 1;
    design.Second = 2;
    design.UpdateColorAssociation(5, 1, "\\pat\\a");
    design.Patterns[0]->Remap = {4, 5};
    design.UpdateColorAssociation(6, 2, "\\pat\\b");

    CGenDis copy(design);
    design.Patterns[0]->Remap.push_back(6);
    design.Patterns[0]->PatternName = "changed";
    EXPECT_EQ(copy.Name, "\\dis\\a");
    EXPECT_EQ(copy.First, 1);
    EXPECT_EQ(copy.Second, 2);
    ASSERT_EQ(copy.Patterns.size(), 2U);
    EXPECT_NE(copy.Patterns[0].get(), design.Patterns[0].get());
    EXPECT_EQ(copy.Patterns[0]->PatternName, "\\pat\\a");
    EXPECT_EQ(copy.Patterns[0]->Remap, (IndexList{4, 5}));
    EXPECT_EQ(copy.Patterns[1]->Color, 6);

    const std::unique_ptr<CPatObj> clone(copy.Patterns[0]->Clone());
    EXPECT_EQ(clone->Color, 5);
    EXPECT_EQ(clone->Association, 1);
    EXPECT_EQ(clone->PatternName, "\\pat\\a");
    EXPECT_EQ(clone->Remap, (IndexList{4, 5}));

    const std::unique_ptr<ModelObject> created(CGenDis::GetThisClass()->CreateObject());
    EXPECT_STREQ(created->GetRuntimeClass()->className, "CGenDis");
    EXPECT_TRUE(created->IsKindOf(ModelObject::GetThisClass()));
    const std::unique_ptr<CPatObj> pattern(CPatObj::CreateObject());
    EXPECT_STREQ(pattern->GetRuntimeClass()->className, "CPatObj");
    EXPECT_EQ(pattern->Color, 0);
    EXPECT_EQ(pattern->Association, 0);
}

}  // namespace
}  // namespace knitcfg
