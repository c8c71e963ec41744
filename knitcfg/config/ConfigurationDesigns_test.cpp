#include <gtest/gtest.h>

#include <string>

#include "FileSizeLimit.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/designs/DesignTestFixture.h"

namespace knitcfg {
namespace {

using test::ReadFile;

class ConfigurationDesignsTest : public test::DesignFileTest {
protected:
    static const CGenDis& Design(const Configuration& doc, std::size_t i) {
        return *doc.Designs().at(i);
    }
};

// The worked example: the table, the design sections (one found under its
// drive-qualified name), the remap rules and the shaved entries.
TEST_F(ConfigurationDesignsTest, LoadsTheTables) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Data("tables.ini").c_str()), RE_SUCCESS);
    ASSERT_EQ(doc.Designs().size(), 2U);

    const CGenDis& a = Design(doc, 0);
    EXPECT_EQ(a.Name, "\\dis\\a");
    EXPECT_EQ(a.First, 3);
    EXPECT_EQ(a.Second, 7);
    ASSERT_EQ(a.Patterns.size(), 1U);
    EXPECT_EQ(a.Patterns[0]->Color, 2);
    EXPECT_EQ(a.Patterns[0]->PatternName, "\\pat\\p1");
    EXPECT_EQ(a.Patterns[0]->Association, 5);
    EXPECT_EQ(a.Patterns[0]->Remap, (IndexList{1, 2, 3}));

    const CGenDis& b = Design(doc, 1);
    EXPECT_EQ(b.Name, "\\dis\\b");
    EXPECT_EQ(b.First, 0);
    EXPECT_EQ(b.Second, 5);
    ASSERT_EQ(b.Patterns.size(), 3U);
    EXPECT_EQ(b.Patterns[0]->Association, 9);
    EXPECT_TRUE(b.Patterns[0]->Remap.empty());
    EXPECT_EQ(b.Patterns[1]->Remap, (IndexList{1, 0, 2}));
    EXPECT_EQ(b.Patterns[2]->Remap, (IndexList{4464, 25536, -32768}));

    ASSERT_EQ(doc.ShavedDesigns().size(), 4U);
    UIntArray values{42};
    EXPECT_EQ(doc.ShavedDisGet("MOTIF", &values), 6);
    EXPECT_EQ(values, (UIntArray{1, 2, 3, 10, 20, 30}));
    EXPECT_EQ(doc.ShavedDisGet("spaced", &values), 6);
    EXPECT_EQ(values, (UIntArray{1, 2, 3, 10, 20, 30}));
    EXPECT_EQ(doc.ShavedDisGet("wide", &values), 6);
    EXPECT_EQ(values, (UIntArray{4294967291U, 0, 7, 4294967295U, 4294967294U, 2147483648U}));
    EXPECT_EQ(doc.ShavedDisGet("empty", &values), 3);
    EXPECT_EQ(doc.ShavedDisGet("absent", &values), 0);
    EXPECT_TRUE(values.empty());
}

// Saved through SaveCFG: names without drive, numbers and remap values as
// held, the entry without elements left out. The saved file is a fixed point.
TEST_F(ConfigurationDesignsTest, SavesTheTablesInTheWrittenForm) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Data("tables.ini").c_str()), RE_SUCCESS);
    const std::string out = dir_.File("out.ini");
    ASSERT_EQ(doc.SaveCFG(out.c_str()), RE_SUCCESS);
    EXPECT_EQ(ReadFile(out), ReadFile(Data("tables.saved.ini")));

    Configuration again;
    ASSERT_EQ(again.LoadCFG(out.c_str()), RE_SUCCESS);
    ASSERT_EQ(again.SaveCFG(out.c_str()), RE_SUCCESS);
    EXPECT_EQ(ReadFile(out), ReadFile(Data("tables.saved.ini")));
}

// SaveGenDis on the loaded file itself: the sections named by the old table
// go ('E:\dis\a' included), the new table and sections follow at the end;
// nothing else changes.
TEST_F(ConfigurationDesignsTest, SaveGenDisInPlaceRemovesTheOldSections) {
    const std::string file = Copy("tables.ini");
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(file.c_str()), RE_SUCCESS);
    ASSERT_EQ(doc.SaveGenDis(), RE_SUCCESS);
    EXPECT_EQ(ReadFile(file), ReadFile(Data("tables.in-place.ini")));

    // A design dropped from the list loses its section too.
    ASSERT_EQ(doc.GeneratedDisDel("\\dis\\a"), 1);
    ASSERT_EQ(doc.SaveGenDis(), RE_SUCCESS);
    Configuration reread;
    ASSERT_EQ(reread.LoadCFG(file.c_str()), RE_SUCCESS);
    ASSERT_EQ(reread.Designs().size(), 1U);
    EXPECT_EQ(reread.Designs()[0]->Name, "\\dis\\b");
    EXPECT_EQ(ReadFile(file).find("[\\dis\\a]"), std::string::npos);
}

// SaveShavedDis does not clear the section: an entry no longer held keeps
// its line, an entry without elements is not written.
TEST_F(ConfigurationDesignsTest, SaveShavedDisKeepsLinesItDoesNotWrite) {
    const std::string file = Copy("tables.ini");
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(file.c_str()), RE_SUCCESS);
    ASSERT_EQ(doc.ShavedDisDel("motif"), 1);
    UIntArray values{9, 8, 7, 1};
    doc.ShavedDisSet("SPACED", &values);
    ASSERT_EQ(doc.SaveShavedDis(), RE_SUCCESS);
    const std::string text = ReadFile(file);
    EXPECT_NE(text.find("motif=1, 2, 3,<10><20><30>\r\n"), std::string::npos);
    EXPECT_NE(text.find("spaced=9, 8, 7,<1>\r\n"), std::string::npos);
    EXPECT_NE(text.find("empty=1, 2, 3,\r\n"), std::string::npos);
}

TEST_F(ConfigurationDesignsTest, FilesWithoutTables) {
    const std::string none = Write("none.ini", {"text without any section"});
    const std::string other = Write("other.ini", {"[Protection]", "ConfigProtected=0"});
    Configuration doc;
    doc.GeneratedDisUpdate("\\dis\\kept", 1, 2);
    UIntArray values{1, 2, 3, 4};
    doc.ShavedDisSet("kept", &values);

    doc.SetPathName(none.c_str());
    EXPECT_EQ(doc.LoadGenDis(), RE_NO_SECTIONS);
    EXPECT_EQ(doc.LoadShavedDis(), RE_NO_SECTIONS);
    doc.SetPathName(dir_.File("missing.ini").c_str());
    EXPECT_EQ(doc.LoadGenDis(), RE_NO_SECTIONS);
    EXPECT_EQ(doc.LoadShavedDis(), RE_NO_SECTIONS);
    doc.SetPathName(other.c_str());
    EXPECT_EQ(doc.LoadGenDis(), RE_SUCCESS);
    EXPECT_EQ(doc.LoadShavedDis(), RE_SUCCESS);
    EXPECT_EQ(doc.Designs().size(), 1U);
    EXPECT_EQ(doc.ShavedDesigns().size(), 1U);

    // Through LoadCFG the protection code comes first; the lists stay.
    EXPECT_EQ(doc.LoadCFG(none.c_str()), RE_NO_PROTECTION);
    EXPECT_EQ(doc.Designs().size(), 1U);
    EXPECT_EQ(doc.ShavedDesigns().size(), 1U);
}

// The table is read as 8192 characters: what lies beyond is not seen, and a
// line cut by that limit is not taken as another design.
TEST_F(ConfigurationDesignsTest, TableBeyondTheListingSizeIsNotSeen) {
    std::string text = "[GeneratedDis]\r\n";
    for (int i = 0; i < 1000; ++i) {
        text += "\\dis\\design_" + std::to_string(100000 + i) + "=1,2\r\n";
    }
    const std::string file = dir_.File("big.ini");
    test::WriteFile(file, text);
    Configuration doc;
    doc.SetPathName(file.c_str());
    ASSERT_EQ(doc.LoadGenDis(), RE_SUCCESS);
    const std::size_t lineSize = std::string("\\dis\\design_100000=1,2").size() + 1;
    EXPECT_EQ(doc.Designs().size(), 8190 / lineSize);
    for (std::size_t i = 0; i < doc.Designs().size(); ++i) {
        EXPECT_EQ(Design(doc, i).Name, "\\dis\\design_" + std::to_string(100000 + i));
        EXPECT_EQ(Design(doc, i).Second, 2);
    }
}

// A listing that fills its 8192 characters exactly, or nearly, loses no
// line: only a line that the limit cuts short is left out. Each table gets
// lines taking `bytes` in all (each with its NUL), the last one padded, and
// maybe one line more beyond the limit.
TEST_F(ConfigurationDesignsTest, OnlyALineCutByTheListingSizeIsLeftOut) {
    struct Table {
        const char* head;
        std::string (*line)(std::size_t i, const std::string& pad);
        std::size_t (*count)(const Configuration& doc);
    };
    const Table tables[] = {
        {"[GeneratedDis]",
         [](std::size_t i, const std::string& pad) {
             return "\\d\\" + pad + std::to_string(10000 + i) + "=1,2";
         },
         [](const Configuration& doc) { return doc.Designs().size(); }},
        {"[GeneratedDis]\r\n\\d\\a=1,2\r\n[\\d\\a]",
         [](std::size_t i, const std::string& pad) {
             return std::to_string(10000 + i) + "=\\p\\" + pad + ",5";
         },
         [](const Configuration& doc) {
             return doc.Designs().empty() ? std::size_t{0} : doc.Designs()[0]->Patterns.size();
         }},
        {"[ShavedDis]",
         [](std::size_t i, const std::string& pad) {
             return "s" + pad + std::to_string(10000 + i) + "=1, 2, 3,<4>";
         },
         [](const Configuration& doc) { return doc.ShavedDesigns().size(); }},
    };
    struct Case {
        std::size_t bytes;
        bool more;
    };
    const Case cases[] = {{8190, false}, {8191, false}, {8189, true}, {8190, true}, {8191, true}};
    const std::string file = dir_.File("full.ini");
    for (const Table& table : tables) {
        for (const Case& c : cases) {
            const std::string head = table.head;
            SCOPED_TRACE(head.substr(head.rfind('[')) + " " + std::to_string(c.bytes) +
                         (c.more ? " and more" : ""));
            const std::size_t width = table.line(0, "").size() + 1;
            const std::size_t count = c.bytes / width;
            std::string text = std::string(table.head) + "\r\n";
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t pad = i + 1 == count ? c.bytes % width : 0;
                text += table.line(i, std::string(pad, 'x')) + "\r\n";
            }
            if (c.more) {
                text += table.line(count, "") + "\r\n";
            }
            test::WriteFile(file, text);
            Configuration doc;
            doc.SetPathName(file.c_str());
            ASSERT_EQ(doc.LoadGenDis(), RE_SUCCESS);
            ASSERT_EQ(doc.LoadShavedDis(), RE_SUCCESS);
            EXPECT_EQ(table.count(doc), count);
        }
    }
}

// Hundreds of designs with their sections: saved in one go and read back.
TEST_F(ConfigurationDesignsTest, ManyDesignsRoundTrip) {
    Configuration doc("KM-400", 1, 0, 4);
    for (int i = 0; i < 300; ++i) {
        CGenDis* design = doc.GeneratedDisUpdate(("\\d\\" + std::to_string(i)).c_str(), i, -i);
        design->UpdateColorAssociation(1, i, ("\\p\\" + std::to_string(i)).c_str());
        IndexList remap{static_cast<short>(i), 1};
        design->UpdateColorRemap(1, &remap);
    }
    const std::string file = dir_.File("many.ini");
    ASSERT_EQ(doc.SaveCFG(file.c_str()), RE_SUCCESS);
    ASSERT_EQ(doc.SaveGenDis(), RE_SUCCESS);  // in place: the old table names every section
    Configuration reread;
    reread.LoadCFG(file.c_str());
    ASSERT_EQ(reread.Designs().size(), 300U);
    for (int i = 0; i < 300; ++i) {
        const CGenDis& design = Design(reread, static_cast<std::size_t>(i));
        EXPECT_EQ(design.Name, "\\d\\" + std::to_string(i));
        EXPECT_EQ(design.Second, -i);
        ASSERT_EQ(design.Patterns.size(), 1U);
        EXPECT_EQ(design.Patterns[0]->Remap, (IndexList{static_cast<short>(i), 1}));
    }
}

TEST_F(ConfigurationDesignsTest, FindsCreatesAndDeletesDesigns) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Data("tables.ini").c_str()), RE_SUCCESS);
    CGenDis* a = doc.GeneratedDisSearch("\\DIS\\A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Name, "\\dis\\a");
    EXPECT_EQ(doc.GeneratedDisSearch("\\dis\\none"), nullptr);
    EXPECT_EQ(doc.GeneratedDisSearch(nullptr), nullptr);

    // A known name in another case: the numbers change, the name stays.
    EXPECT_EQ(doc.GeneratedDisUpdate("\\Dis\\A", 8, 9), a);
    EXPECT_EQ(a->Name, "\\dis\\a");
    EXPECT_EQ(a->First, 8);
    EXPECT_EQ(a->Second, 9);
    EXPECT_EQ(a->Patterns.size(), 1U);
    CGenDis* added = doc.GeneratedDisUpdate("\\DIS\\New", 1, 2);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Name, "\\DIS\\New");
    EXPECT_TRUE(added->Patterns.empty());
    EXPECT_EQ(doc.GeneratedDisUpdate(nullptr, 1, 2), nullptr);

    // Two names that differ in case only: both held, the first one found.
    CGenDis* upper = doc.GeneratedDisUpdate("\\dis\\A2", 0, 0);
    doc.GeneratedDisUpdate("\\DIS\\a2", 0, 0);  // found: no new design
    EXPECT_EQ(doc.Designs().size(), 4U);
    doc.GeneratedDisUpdate("\\dis\\b", 0, 0)->Name = "\\DIS\\A2";
    EXPECT_EQ(doc.GeneratedDisSearch("\\dis\\a2"), doc.Designs()[1].get());
    EXPECT_NE(doc.Designs()[1].get(), upper);

    StringArray names{"kept"};
    doc.GeneratedDisGet(&names);
    EXPECT_EQ(names, (StringArray{"kept", "\\dis\\a", "\\DIS\\A2", "\\DIS\\New", "\\dis\\A2"}));
    doc.GeneratedDisGet(nullptr);

    // Deleting is exact, letter case included.
    EXPECT_EQ(doc.GeneratedDisDel("\\DIS\\A"), 0);
    EXPECT_EQ(doc.GeneratedDisDel(nullptr), 0);
    EXPECT_EQ(doc.GeneratedDisDel("\\dis\\A2"), 1);
    EXPECT_EQ(doc.GeneratedDisDel("\\dis\\A2"), 0);
    EXPECT_EQ(doc.GeneratedDisDel("\\dis\\a"), 1);
    EXPECT_EQ(doc.Designs().size(), 2U);
    doc.GeneratedDisRemove();
    EXPECT_TRUE(doc.Designs().empty());
}

TEST_F(ConfigurationDesignsTest, ShavedEntriesAsArrays) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Data("tables.ini").c_str()), RE_SUCCESS);
    StringArray names{"old"};
    EXPECT_EQ(doc.ShavedDisGetList(&names), 4);
    EXPECT_EQ(names, (StringArray{"motif", "spaced", "wide", "empty"}));
    EXPECT_EQ(doc.ShavedDisGetList(nullptr), 0);
    EXPECT_EQ(doc.ShavedDisGet("motif", nullptr), 0);

    // Fewer than 4 values: a found entry keeps all, a new one has nothing.
    UIntArray three{7, 7, 7};
    doc.ShavedDisSet("Motif", &three);
    UIntArray values;
    EXPECT_EQ(doc.ShavedDisGet("motif", &values), 6);
    doc.ShavedDisSet("fresh", &three);
    doc.ShavedDisSet("null", nullptr);
    doc.ShavedDisSet(nullptr, &three);
    EXPECT_EQ(doc.ShavedDisGet("fresh", &values), 3);
    EXPECT_EQ(values, (UIntArray{0, 0, 0}));
    ASSERT_EQ(doc.ShavedDesigns().size(), 6U);

    // Set from an exchange array: the stored name stays.
    UIntArray set{4294967295U, 2, 3, 5, 4294967295U};
    doc.ShavedDisSet("MOTIF", &set);
    EXPECT_EQ(doc.ShavedDisGet("motif", &values), 5);
    EXPECT_EQ(values, set);
    EXPECT_EQ(doc.ShavedDesigns()[0]->Name, "motif");
    EXPECT_EQ(doc.ShavedDesigns()[0]->First, -1);

    // Deleting takes the first name that contains the text, case included.
    EXPECT_EQ(doc.ShavedDisDel("MOTIF"), 0);
    EXPECT_EQ(doc.ShavedDisDel(nullptr), 0);
    EXPECT_EQ(doc.ShavedDisDel("pace"), 1);
    EXPECT_EQ(doc.ShavedDisDel("oti"), 1);
    EXPECT_EQ(doc.ShavedDisDel(""), 1);  // the first entry, whatever its name
    EXPECT_EQ(doc.ShavedDisGetList(&names), 3);
    EXPECT_EQ(names, (StringArray{"empty", "fresh", "null"}));

    // Only entries with a name and elements are written.
    UIntArray noName{1, 2, 3, 4};
    doc.ShavedDisSet("", &noName);
    const std::string out = dir_.File("out.ini");
    ASSERT_EQ(doc.SaveCFG(out.c_str()), RE_SUCCESS);
    EXPECT_EQ(ReadFile(out).find("ShavedDis"), std::string::npos);
    doc.ShavedDisRemove();
    EXPECT_TRUE(doc.ShavedDesigns().empty());
}

// The result of SaveShavedDis is the code of the last entry written.
TEST_F(ConfigurationDesignsTest, ShavedSaveReportsTheLastWrite) {
    UIntArray values{1, 2, 3, 4};
    Configuration badLast;
    badLast.ShavedDisSet("good", &values);
    badLast.ShavedDisSet("bad=name", &values);
    EXPECT_EQ(badLast.SaveCFG(dir_.File("a.ini").c_str()), RE_WRITE_SHAVED);

    Configuration goodLast;
    goodLast.ShavedDisSet("bad=name", &values);
    goodLast.ShavedDisSet("good", &values);
    goodLast.ShavedDisSet("nothing", nullptr);
    const std::string out = dir_.File("b.ini");
    EXPECT_EQ(goodLast.SaveCFG(out.c_str()), RE_SUCCESS);
    EXPECT_NE(ReadFile(out).find("[ShavedDis]\r\ngood=1, 2, 3,<4>\r\n"), std::string::npos);
}

TEST_F(ConfigurationDesignsTest, GeneratedSaveReportsRefusedLines) {
    Configuration doc;
    doc.GeneratedDisUpdate("\\dis\\ok", 1, 1);
    doc.GeneratedDisUpdate("bad=name", 2, 2);
    doc.GeneratedDisUpdate("\\dis\\later", 3, 3)->UpdateColorAssociation(1, 0, "a\nb");
    const std::string out = dir_.File("out.ini");
    EXPECT_EQ(doc.SaveCFG(out.c_str()), RE_WRITE_LAST_DEVELOP);
    const std::string text = ReadFile(out);
    EXPECT_NE(text.find("[GeneratedDis]\r\n\\dis\\ok=1,1\r\n\\dis\\later=3,3\r\n"),
              std::string::npos);
}

// On its own, each save is one write of the file; when that write fails the
// save reports it and the file stays as it was.
TEST_F(ConfigurationDesignsTest, FailedWriteOnItsOwnIsReported) {
    const std::string file = Copy("tables.ini");
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(file.c_str()), RE_SUCCESS);
    const std::string before = ReadFile(file);
    UIntArray values{1, 2, 3, 4};
    doc.ShavedDisSet("new", &values);
#ifndef _WIN32
    EXPECT_EQ(test::RunWithFileSizeLimit(0, [&] { return static_cast<int>(doc.SaveGenDis()); }),
              RE_WRITE_LAST_DEVELOP);
    EXPECT_EQ(test::RunWithFileSizeLimit(0, [&] { return static_cast<int>(doc.SaveShavedDis()); }),
              RE_WRITE_SHAVED);
    EXPECT_EQ(ReadFile(file), before);
#endif

    Configuration unbound;
    unbound.GeneratedDisUpdate("\\dis\\a", 1, 2);
    unbound.ShavedDisSet("new", &values);
    EXPECT_EQ(unbound.SaveGenDis(), RE_WRITE_LAST_DEVELOP);
    EXPECT_EQ(unbound.SaveShavedDis(), RE_WRITE_SHAVED);
    EXPECT_EQ(unbound.LoadGenDis(), RE_NO_SECTIONS);
    EXPECT_EQ(unbound.LoadShavedDis(), RE_NO_SECTIONS);
}

// The lists are part of the document: loaded twice they double, a copy is
// deep and in order, ReleaseCFG empties them.
TEST_F(ConfigurationDesignsTest, CopyAndRelease) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Data("tables.ini").c_str()), RE_SUCCESS);
    ASSERT_EQ(doc.LoadCFG(Data("tables.ini").c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.Designs().size(), 4U);
    EXPECT_EQ(doc.ShavedDesigns().size(), 8U);

    Configuration copy(doc);
    ASSERT_EQ(copy.Designs().size(), 4U);
    ASSERT_EQ(copy.ShavedDesigns().size(), 8U);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NE(copy.Designs()[i].get(), doc.Designs()[i].get());
        EXPECT_EQ(copy.Designs()[i]->Name, doc.Designs()[i]->Name);
        EXPECT_EQ(copy.Designs()[i]->Patterns.size(), doc.Designs()[i]->Patterns.size());
    }
    doc.GeneratedDisSearch("\\dis\\a")->Patterns[0]->Remap.clear();
    EXPECT_EQ(copy.GeneratedDisSearch("\\dis\\a")->Patterns[0]->Remap, (IndexList{1, 2, 3}));
    UIntArray values;
    EXPECT_EQ(copy.ShavedDisGet("wide", &values), 6);
    EXPECT_EQ(copy.ShavedDesigns()[7]->Name, "empty");

    doc.ReleaseCFG();
    EXPECT_TRUE(doc.Designs().empty());
    EXPECT_TRUE(doc.ShavedDesigns().empty());
    EXPECT_EQ(copy.Designs().size(), 4U);
}

}  // namespace
}  // namespace knitcfg
