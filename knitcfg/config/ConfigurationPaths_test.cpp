#include <gtest/gtest.h>

#include <string>

#include "knitcfg/config/Configuration.h"
#include "knitcfg/designs/DesignTestFixture.h"

namespace knitcfg {
namespace {

using test::ReadFile;

class ConfigurationPathsTest : public test::DesignFileTest {};

// A configuration of machine M1 moved to M2: header paths, design and
// pattern names in lower case with the folder replaced; saved and reloaded.
TEST_F(ConfigurationPathsTest, MovesTheDocumentToAnotherMachineFolder) {
    const std::string file = Copy("machine-m1.ini");
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.ChangePathNameMachine(Data("machine-m2.ini").c_str(), "E:\\Machines\\M1",
                                        "E:\\Machines\\M2"),
              1);
    EXPECT_EQ(doc.HeaderGetMachineType(), "KM-900");
    EXPECT_EQ(doc.HeaderGetLastDevelop(), "\\machines\\m2\\dis\\rose.dis");
    EXPECT_EQ(doc.GetHeader().LastDevelopFirst, 4);
    EXPECT_EQ(doc.GetHeader().LastDevelopSecond, -1);
    EXPECT_EQ(doc.GetHeader().SourceCfg, "e:\\machines\\m2\\base.cfg");
    EXPECT_EQ(doc.GetHeader().SourceSdi, "E:\\Machines\\M1\\Base.sdi");
    EXPECT_EQ(doc.HeaderGetDescription(), "Machine one\r\nfront bed");
    ASSERT_EQ(doc.Designs().size(), 2U);
    EXPECT_EQ(doc.Designs()[0]->Name, "\\machines\\m2\\dis\\a");
    EXPECT_EQ(doc.Designs()[0]->Patterns[0]->PatternName, "\\machines\\m2\\pat\\p1");
    EXPECT_EQ(doc.Designs()[0]->Patterns[1]->PatternName, "\\other\\p");
    EXPECT_EQ(doc.Designs()[1]->Name, "\\other\\b");
    EXPECT_EQ(doc.Designs()[1]->Patterns[0]->PatternName, "\\machines\\m2\\machines\\m2\\q");

    // Saved over its own file: the sections under the old names are gone.
    ASSERT_EQ(doc.SaveCFG(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(ReadFile(file), ReadFile(Data("machine-m1.moved.ini")));
    Configuration reread;
    ASSERT_EQ(reread.LoadCFG(file.c_str()), RE_SUCCESS);
    ASSERT_EQ(reread.Designs().size(), 2U);
    EXPECT_EQ(reread.Designs()[0]->Name, "\\machines\\m2\\dis\\a");
    ASSERT_EQ(reread.Designs()[0]->Patterns.size(), 2U);
    EXPECT_EQ(reread.Designs()[0]->Patterns[0]->Remap, (IndexList{1, 2}));
    EXPECT_EQ(reread.HeaderGetMachineType(), "KM-900");
}

// The same move written into the loaded file by SaveGenDis alone: the old
// table names the sections to drop.
TEST_F(ConfigurationPathsTest, RenamedDesignsLeaveNoSectionBehind) {
    const std::string file = Copy("machine-m1.ini");
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(file.c_str()), RE_SUCCESS);
    doc.ChangePathNameMachine(Data("machine-m2.ini").c_str(), "X:\\MACHINES\\m1",
                              "Y:\\Machines\\M2");
    ASSERT_EQ(doc.SaveGenDis(), RE_SUCCESS);
    const std::string text = ReadFile(file);
    EXPECT_EQ(text.find("M1\\Dis\\A]"), std::string::npos);
    EXPECT_NE(text.find("[\\machines\\m2\\dis\\a]\r\n1=\\machines\\m2\\pat\\p1,7,1 2 \r\n"),
              std::string::npos);
}

TEST_F(ConfigurationPathsTest, ShortOrMissingPathsOnlyLowerTheTexts) {
    Configuration doc;
    doc.HeaderSetLastDevelop("\\Dis\\Rose", 1, 2);
    doc.HeaderSetSourceCfg("E:\\Base.CFG");
    doc.GetHeader().MachineType = "KM-400";
    doc.GeneratedDisUpdate("\\MACHINES\\M1\\Dis\\A", 0, 0)
        ->UpdateColorAssociation(1, 0, "\\Other\\P");
    struct Case {
        const char* machineFile;
        const char* oldPath;
        const char* newPath;
    } const cases[] = {
        {nullptr, "E:", "E:\\Machines\\M2"},
        {"", "E", nullptr},
        {"missing.ini", nullptr, "E:\\x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(doc.ChangePathNameMachine(c.machineFile, c.oldPath, c.newPath), 1);
        EXPECT_EQ(doc.HeaderGetMachineType(), "");
        EXPECT_EQ(doc.HeaderGetLastDevelop(), "\\dis\\rose");
        EXPECT_EQ(doc.GetHeader().SourceCfg, "e:\\base.cfg");
        EXPECT_EQ(doc.Designs()[0]->Name, "\\machines\\m1\\dis\\a");
        EXPECT_EQ(doc.Designs()[0]->Patterns[0]->PatternName, "\\other\\p");
    }
    // A file whose header has no machine type gives an empty one too.
    doc.GetHeader().MachineType = "KM-400";
    const std::string noType = Write("no-type.ini", {"[Header]", "Description=x"});
    doc.ChangePathNameMachine(noType.c_str(), "", "");
    EXPECT_EQ(doc.HeaderGetMachineType(), "");
}

// Occurrences are replaced left to right, without overlaps, whatever their
// letter case; the machine type is cut to 259 characters.
TEST_F(ConfigurationPathsTest, ReplacesEveryOccurrence) {
    const std::string machine =
        Write("m.ini", {"[Header]", "MachineType=" + std::string(300, 'T')});
    Configuration doc;
    doc.HeaderSetSourceCfg("AAAAA\\aaa");
    doc.HeaderSetLastDevelop("\\A\\B\\a\\b", 0, 0);
    doc.ChangePathNameMachine(machine.c_str(), "C:aa", "D:Ba");
    EXPECT_EQ(doc.GetHeader().SourceCfg, "babaa\\baa");
    EXPECT_EQ(doc.HeaderGetMachineType(), std::string(259, 'T'));
    doc.ChangePathNameMachine(machine.c_str(), "C:\\a\\", "D:\\");
    EXPECT_EQ(doc.HeaderGetLastDevelop(), "\\b\\b");
}

TEST_F(ConfigurationPathsTest, ReadsTheDescriptionOfAnotherFile) {
    const std::string two = Write("two.ini", {"[Header]", "Description=line1\\nline2"});
    const std::string none = Write("none.ini", {"[Header]", "MachineType=KM"});
    const std::string literal = Write("literal.ini", {"[Header]", "Description=<NOT FOUND>"});
    const std::string quoted = Write("quoted.ini", {"[Header]", "Description=\" a \\n b \""});
    Configuration doc;
    EXPECT_EQ(doc.ReadDescrFromFile(two.c_str()), "line1\r\nline2");
    EXPECT_EQ(doc.ReadDescrFromFile(none.c_str()), "");
    EXPECT_EQ(doc.ReadDescrFromFile(literal.c_str()), "");
    EXPECT_EQ(doc.ReadDescrFromFile(quoted.c_str()), " a \r\n b ");
    EXPECT_EQ(doc.ReadDescrFromFile(dir_.File("missing.ini").c_str()), "");
    EXPECT_EQ(doc.ReadDescrFromFile(nullptr), "");

    // A document bound to a file answers with its own description.
    ASSERT_EQ(doc.LoadCFG(Data("machine-m1.ini").c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.ReadDescrFromFile(two.c_str()), "Machine one\r\nfront bed");
    EXPECT_EQ(doc.ReadDescrFromFile(nullptr), "Machine one\r\nfront bed");
    doc.ReleaseCFG();
    EXPECT_EQ(doc.ReadDescrFromFile(two.c_str()), "line1\r\nline2");
}

}  // namespace
}  // namespace knitcfg
