#include "knitcfg/designs/CShavedDis.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "IniFileTest.h"

namespace knitcfg {
namespace {

// Lines of "ShavedDis", read into an entry whose numbers and elements are
// set already, so that what a line leaves untouched shows.
TEST(CShavedDisTest, ReadsLines) {
    struct Case {
        const char* line;
        RETERROR code;
        const char* name;
        int first, second, third;
        UIntArray elements;
    } const cases[] = {
        {"motif=1, 2, 3,<10><20><30>", RE_SUCCESS, "motif", 1, 2, 3, {10, 20, 30}},
        {"motif=1,2,3,<10> <20> <30>", RE_SUCCESS, "motif", 1, 2, 3, {10, 20, 30}},
        // The blank before the first element is no element: reading stops.
        {"motif=1, 2, 3, <10><20>", RE_SUCCESS, "motif", 1, 2, 3, {}},
        {"motif=1, 2, 3,", RE_SUCCESS, "motif", 1, 2, 3, {}},
        // One blank after an element is skipped, a second one stops.
        {"m=1,2,3,<10>  <20>", RE_SUCCESS, "m", 1, 2, 3, {10}},
        {"m=1,2,3,<10><x><20>", RE_SUCCESS, "m", 1, 2, 3, {10}},
        {"m=1,2,3,<10 ><20>", RE_SUCCESS, "m", 1, 2, 3, {}},
        {"m=1,2,3,<10x><20>", RE_SUCCESS, "m", 1, 2, 3, {}},
        {"m=1,2,3,<10", RE_SUCCESS, "m", 1, 2, 3, {}},
        {"m=1,2,3,<><1>", RE_SUCCESS, "m", 1, 2, 3, {}},
        {"m=1,2,3,<10>tail<20>", RE_SUCCESS, "m", 1, 2, 3, {10}},
        // Elements are 32 bits, written signed.
        {"m=1,2,3,< -7><+8><4294967295><4294967296><-2147483648>",
         RE_SUCCESS,
         "m",
         1,
         2,
         3,
         {4294967289U, 8, 4294967295U, 0, 2147483648U}},
        {"m=-1, -2147483648, 2147483647,<1>",
         RE_SUCCESS,
         "m",
         -1,
         -2147483647 - 1,
         2147483647,
         {1}},
        // A number field takes the number at its start; the rest of the field
        // up to its ',' is passed over.
        {"m=1x,2 9,3<4>,<5>", RE_SUCCESS, "m", 1, 2, 3, {5}},
        {"m=1,2,3<4>", RE_SUCCESS, "m", 1, 2, 3, {}},
        // Fields missing at the end of the line keep their numbers.
        {"motif=7", RE_SUCCESS, "motif", 7, 92, 93, {}},
        {"motif=7,8", RE_SUCCESS, "motif", 7, 8, 93, {}},
        {"motif=7,8,  ", RE_SUCCESS, "motif", 7, 8, 93, {}},
        {"motif=", RE_SUCCESS, "motif", 91, 92, 93, {}},
        // Text where a number belongs: 37 at once, what was read stays.
        {"motif=1, x, 3,<5>", RE_BAD_SHAVED_LINE, "motif", 1, 92, 93, {}},
        {"m=,2,3,<5>", RE_BAD_SHAVED_LINE, "m", 91, 92, 93, {}},
        {"m= 1 ,  , 3,<5>", RE_BAD_SHAVED_LINE, "m", 1, 92, 93, {}},
        {"m=1 2 3,<4>", RE_BAD_SHAVED_LINE, "m", 1, 92, 93, {}},
        {"m=1,-,3", RE_BAD_SHAVED_LINE, "m", 1, 92, 93, {}},
        {"a=b=1,2,3,<4>", RE_BAD_SHAVED_LINE, "a", 91, 92, 93, {}},
        // Without '=' the whole line is the name.
        {"motif 1, 2, 3,<4>", RE_BAD_SHAVED_LINE, "motif 1, 2, 3,<4>", 91, 92, 93, {}},
        {"", RE_BAD_SHAVED_LINE, "", 91, 92, 93, {}},
        {"=1,2,3,<4>", RE_SUCCESS, "", 1, 2, 3, {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CShavedDis entry;
        entry.Name = "old";
        entry.First = 91;
        entry.Second = 92;
        entry.Third = 93;
        entry.Elements = {5};
        EXPECT_EQ(entry.Load(c.line), c.code);
        EXPECT_EQ(entry.Name, c.name);
        EXPECT_EQ(entry.First, c.first);
        EXPECT_EQ(entry.Second, c.second);
        EXPECT_EQ(entry.Third, c.third);
        EXPECT_EQ(entry.Elements, c.elements);
    }
    CShavedDis entry;
    EXPECT_EQ(entry.Load(nullptr), RE_BAD_SHAVED_LINE);
    EXPECT_EQ(entry.Name, "");
}

class CShavedDisFileTest : public test::DesignFileTest {};

TEST_F(CShavedDisFileTest, WritesItsLine) {
    const std::string file =
        Write("s.ini", {"[ShavedDis]", "motif=0, 0, 0,<1>", "other=1, 1, 1,<1>"});
    CShavedDis entry;
    ASSERT_EQ(entry.Load("MOTIF=1, 2, 3,<10><20><30>"), RE_SUCCESS);
    EXPECT_EQ(entry.Save(file.c_str()), RE_SUCCESS);
    CShavedDis wide;
    wide.Name = "wide";
    wide.First = -5;
    wide.Elements = {4294967295U, 2147483648U, 7};
    EXPECT_EQ(wide.Save(file.c_str()), RE_SUCCESS);
    // Written with no elements too: only the document skips such entries.
    CShavedDis bare;
    bare.Name = "bare";
    EXPECT_EQ(bare.Save(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file),
              Text({"[ShavedDis]", "motif=1, 2, 3,<10><20><30>", "other=1, 1, 1,<1>",
                    "wide=-5, 0, 0,<-1><-2147483648><7>", "bare=0, 0, 0,"}));

    CShavedDis refused;
    refused.Name = ";comment";
    refused.Elements = {1};
    EXPECT_EQ(refused.Save(file.c_str()), RE_WRITE_SHAVED);
    refused.Name = "fine";
    EXPECT_EQ(refused.Save(dir_.File("missing/s.ini").c_str()), RE_WRITE_SHAVED);
}

TEST(CShavedDisTest, CopiesAndCreates) {
    CShavedDis entry;
    ASSERT_EQ(entry.Load("m=1,2,3,<4><5>"), RE_SUCCESS);
    CShavedDis copy(entry);
    entry.Elements.clear();
    EXPECT_EQ(copy.Name, "m");
    EXPECT_EQ(copy.Third, 3);
    EXPECT_EQ(copy.Elements, (UIntArray{4, 5}));

    const std::unique_ptr<ModelObject> created(CShavedDis::GetThisClass()->CreateObject());
    EXPECT_STREQ(created->GetRuntimeClass()->className, "CShavedDis");
    const auto& empty = static_cast<const CShavedDis&>(*created);
    EXPECT_EQ(empty.First, 0);
    EXPECT_EQ(empty.Second, 0);
    EXPECT_EQ(empty.Third, 0);
    EXPECT_TRUE(empty.Elements.empty());
}

}  // namespace
}  // namespace knitcfg
