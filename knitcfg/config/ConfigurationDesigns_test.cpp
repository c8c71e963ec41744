// The document's generated and shaved designs. What a load reads and a save
// writes of each is checked by the whole-file round trip of tables.ini.

#include <gtest/gtest.h>

#include <string>

#include "DocumentFileTest.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

using test::ReadFile;

class ConfigurationDesignsTest : public test::DocumentFileTest {
protected:
    void SetUp() override { LoadCopy("designs/tables.ini"); }
};

// SaveGenDis on the loaded file itself: the sections named by the old table
// go ('E:\dis\a' included), the new table and sections follow at the end;
// nothing else changes. SaveShavedDis does not clear its section: an entry
// no longer held keeps its line, one without elements is not written.
TEST_F(ConfigurationDesignsTest, EachTableSavedInPlace) {
    ASSERT_EQ(doc_.SaveGenDis(), RE_SUCCESS);
    EXPECT_EQ(ReadFile(file_), ReadFile(Data("designs/tables.in-place.ini")));
    ASSERT_EQ(doc_.GeneratedDisDel("\\dis\\a"), 1);
    ASSERT_EQ(doc_.SaveGenDis(), RE_SUCCESS);
    EXPECT_EQ(ReadFile(file_).find("\\dis\\a"), std::string::npos);

    ASSERT_EQ(doc_.ShavedDisDel("motif"), 1);
    UIntArray values{9, 8, 7, 1};
    doc_.ShavedDisSet("SPACED", &values);
    ASSERT_EQ(doc_.SaveShavedDis(), RE_SUCCESS);
    EXPECT_NE(ReadFile(file_).find("[ShavedDis]\r\nmotif=1, 2, 3,<10><20><30>\r\nspaced=9, 8, 7,<1>"
                                   "\r\nwide=-5, 0, 7,<-1><-2><-2147483648>\r\nempty=1, 2, 3,\r\n"),
              std::string::npos);
}

// A listing that fills its 8192 characters exactly, or nearly, loses no
// line: only a line that the limit cuts short is left out. The table gets
// lines taking `bytes` in all (each with its NUL), the last one padded, and
// maybe one line more beyond the limit.
TEST_F(ConfigurationDesignsTest, OnlyALineCutByTheListingSizeIsLeftOut) {
    const std::pair<std::size_t, bool> cases[] = {
        {8190, false}, {8191, false}, {8189, true}, {8190, true}, {8191, true}};
    const std::size_t width = std::string("\\d\\10000=1,2").size() + 1;
    for (const auto& [bytes, more] : cases) {
        SCOPED_TRACE(std::to_string(bytes) + (more ? " and more" : ""));
        const std::size_t count = bytes / width;
        std::string text = "[GeneratedDis]\r\n";
        for (std::size_t i = 0; i < count + (more ? 1 : 0); ++i) {
            const std::size_t pad = i + 1 == count ? bytes % width : 0;
            text += "\\d\\" + std::string(pad, 'x') + std::to_string(10000 + i) + "=1,2\r\n";
        }
        test::WriteFile(file_, text);
        Configuration doc;
        doc.SetPathName(file_.c_str());
        ASSERT_EQ(doc.LoadGenDis(), RE_SUCCESS);
        EXPECT_EQ(doc.Designs().size(), count);
    }
}

TEST_F(ConfigurationDesignsTest, FindsCreatesAndDeletesDesigns) {
    CGenDis* a = doc_.GeneratedDisSearch("\\DIS\\A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(doc_.GeneratedDisSearch("\\dis\\none"), nullptr);
    EXPECT_EQ(doc_.GeneratedDisSearch(nullptr), nullptr);
    // A known name in another case: the numbers change, the name stays.
    EXPECT_EQ(doc_.GeneratedDisUpdate("\\Dis\\A", 8, 9), a);
    EXPECT_EQ(a->Name + std::to_string(a->First) + std::to_string(a->Second), "\\dis\\a89");
    EXPECT_EQ(a->Patterns.size(), 1u);
    CGenDis* added = doc_.GeneratedDisUpdate("\\DIS\\New", 1, 2);
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(added->Patterns.empty());
    EXPECT_EQ(doc_.GeneratedDisUpdate(nullptr, 1, 2), nullptr);
    // Two names that differ in case only: the first one is found.
    doc_.GeneratedDisUpdate("\\dis\\b", 0, 0)->Name = "\\DIS\\A2";
    doc_.Designs()[0]->Name = "\\dis\\A2";
    EXPECT_EQ(doc_.GeneratedDisSearch("\\dis\\a2"), a);

    StringArray names{"kept"};
    doc_.GeneratedDisGet(&names);
    doc_.GeneratedDisGet(nullptr);
    EXPECT_EQ(names, (StringArray{"kept", "\\dis\\A2", "\\DIS\\A2", "\\DIS\\New"}));
    // Deleting is exact, letter case included.
    EXPECT_EQ(doc_.GeneratedDisDel("\\DIS\\NEW") + doc_.GeneratedDisDel(nullptr), 0);
    EXPECT_EQ(doc_.GeneratedDisDel("\\DIS\\A2"), 1);
    EXPECT_EQ(doc_.GeneratedDisDel("\\DIS\\A2"), 0);
    EXPECT_EQ(doc_.Designs().size(), 2u);
    doc_.GeneratedDisRemove();
    EXPECT_TRUE(doc_.Designs().empty());
}

TEST_F(ConfigurationDesignsTest, ShavedEntriesAsArrays) {
    StringArray names{"old"};
    EXPECT_EQ(doc_.ShavedDisGetList(&names), 4);
    EXPECT_EQ(names, (StringArray{"motif", "spaced", "wide", "empty"}));
    EXPECT_EQ(doc_.ShavedDisGetList(nullptr), 0);
    UIntArray values{42};
    EXPECT_EQ(doc_.ShavedDisGet("WIDE", &values), 6);
    EXPECT_EQ(values, (UIntArray{4294967291U, 0, 7, 4294967295U, 4294967294U, 2147483648U}));
    EXPECT_EQ(doc_.ShavedDisGet("empty", &values), 3);
    EXPECT_EQ(doc_.ShavedDisGet("absent", &values), 0);
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(doc_.ShavedDisGet("motif", nullptr), 0);

    // Fewer than 4 values: a found entry keeps all, a new one has nothing.
    UIntArray three{7, 7, 7};
    doc_.ShavedDisSet("Motif", &three);
    EXPECT_EQ(doc_.ShavedDisGet("motif", &values), 6);
    doc_.ShavedDisSet("fresh", &three);
    doc_.ShavedDisSet("null", nullptr);
    doc_.ShavedDisSet(nullptr, &three);
    EXPECT_EQ(doc_.ShavedDisGet("fresh", &values), 3);
    EXPECT_EQ(values, (UIntArray{0, 0, 0}));
    // Set from an exchange array: the stored name stays.
    UIntArray set{4294967295U, 2, 3, 5, 4294967295U};
    doc_.ShavedDisSet("MOTIF", &set);
    EXPECT_EQ(doc_.ShavedDisGet("motif", &values), 5);
    EXPECT_EQ(values, set);
    EXPECT_EQ(doc_.ShavedDesigns()[0]->Name, "motif");

    // Deleting takes the first name that contains the text, case included.
    EXPECT_EQ(doc_.ShavedDisDel("MOTIF") + doc_.ShavedDisDel(nullptr), 0);
    EXPECT_EQ(doc_.ShavedDisDel("pace") + doc_.ShavedDisDel("oti") + doc_.ShavedDisDel(""), 3);
    EXPECT_EQ(doc_.ShavedDisGetList(&names), 3);
    EXPECT_EQ(names, (StringArray{"empty", "fresh", "null"}));
    doc_.ShavedDisRemove();
    EXPECT_TRUE(doc_.ShavedDesigns().empty());
}

// Refused lines: the generated designs report the first, and write the
// others; the shaved designs report the last entry written. Only entries
// with a name and elements are written.
TEST_F(ConfigurationDesignsTest, SavesReportRefusedLines) {
    UIntArray values{1, 2, 3, 4};
    Configuration doc;
    doc.GeneratedDisUpdate("\\dis\\ok", 1, 1);
    doc.GeneratedDisUpdate("bad=name", 2, 2);
    doc.GeneratedDisUpdate("\\dis\\later", 3, 3)->UpdateColorAssociation(1, 0, "a\nb");
    doc.ShavedDisSet("bad=name", &values);
    doc.ShavedDisSet("good", &values);
    doc.ShavedDisSet("", &values);
    doc.ShavedDisSet("nothing", nullptr);
    RETERROR code;
    const std::string text = Saved(doc, &code);
    EXPECT_EQ(code, RE_WRITE_LAST_DEVELOP);
    EXPECT_NE(text.find("[GeneratedDis]\r\n\\dis\\ok=1,1\r\n\\dis\\later=3,3\r\n"),
              std::string::npos);
    EXPECT_EQ(text.substr(text.rfind("[ShavedDis]")), "[ShavedDis]\r\ngood=1, 2, 3,<4>\r\n");
    EXPECT_EQ(doc.SaveShavedDis(), RE_SUCCESS);
    doc.ShavedDisSet("bad=again", &values);
    EXPECT_EQ(doc.SaveShavedDis(), RE_WRITE_SHAVED);
}

// On its own, each save is one write of the file; a file that cannot be
// written gives the save's code.
TEST_F(ConfigurationDesignsTest, FailedWriteOnItsOwnIsReported) {
    doc_.SetPathName("");
    EXPECT_EQ(doc_.SaveGenDis(), RE_WRITE_LAST_DEVELOP);
    EXPECT_EQ(doc_.SaveShavedDis(), RE_WRITE_SHAVED);
}

// A preserving save empties the shaved table where it stands and writes it
// there again: a file that holds it before the colors keeps its order.
TEST_F(ConfigurationDesignsTest, PreservingSaveKeepsTheShavedTableInPlace) {
    const std::string text =
        "[Protection]\nConfigProtected=0\n[Header]\nMachineType=KX\nVersion=3.2\n"
        "Description=d\nNumberOfLines=1\nStartBlock=0\n[ShavedDis]\nmotif=1, 2, 3,<10><20>\n"
        "[Color_001]\nID=1\nPlane=1\nHelpAbstract=\nHelp=\nDrum_000=1, 1, 1, 0\n";
    file_ = Write("shaved-first.ini", text);
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(file_.c_str()), RE_SUCCESS);
    const std::string before = ReadFile(file_);
    ASSERT_EQ(doc.SaveCFG(file_.c_str(), SaveMode::Preserve), RE_SUCCESS) << doc.GetLastErrorText();
    EXPECT_EQ(ReadFile(file_), before);
}

}  // namespace
}  // namespace knitcfg
