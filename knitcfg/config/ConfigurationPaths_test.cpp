#include <gtest/gtest.h>

#include <string>

#include "DocumentFileTest.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

using test::ReadFile;

class ConfigurationPathsTest : public test::DocumentFileTest {};

// A configuration of machine M1 moved to M2: header paths, design and
// pattern names in lower case with the folder replaced (twice where it
// stands twice), the source SDI name untouched; saved over its own file, the
// sections under the old names are gone.
TEST_F(ConfigurationPathsTest, MovesTheDocumentToAnotherMachineFolder) {
    LoadCopy("designs/machine-m1.ini");
    EXPECT_EQ(doc_.ChangePathNameMachine(Data("designs/machine-m2.ini").c_str(), "E:\\Machines\\M1",
                                         "Y:\\Machines\\M2"),
              1);
    ASSERT_EQ(doc_.SaveCFG(file_.c_str()), RE_SUCCESS);
    EXPECT_EQ(ReadFile(file_), ReadFile(Data("designs/machine-m1.moved.ini")));
}

// Occurrences are replaced left to right, without overlaps, whatever their
// letter case; the folder is the path without its first two characters, and
// an empty one only lowers the texts. The machine type is cut to 259
// characters, and empty when the file or key is missing.
TEST_F(ConfigurationPathsTest, ReplacesEveryOccurrenceOfTheFolder) {
    const std::string machine = Write("m.ini", "[Header]\nMachineType=" + std::string(300, 'T'));
    const std::string m1 = Data("designs/machine-m1.ini");
    const std::string noType = Data("config/no-machine-type.ini");
    struct Case {
        const char* machineFile;
        const char* oldPath;
        const char* newPath;
        const char* source;
        const char* moved;
        const char* machineType;
    } const cases[] = {
        {machine.c_str(), "C:aa", "D:Ba", "AAAAA\\aaa", "babaa\\baa", nullptr},
        {machine.c_str(), "C:\\a\\", "D:\\", "\\A\\B\\a\\b", "\\b\\b", nullptr},
        {nullptr, "E:", "E:\\Machines\\M2", "E:\\Base.CFG", "e:\\base.cfg", ""},
        {"", "E", nullptr, "E:\\Base.CFG", "e:\\base.cfg", ""},
        {"missing.ini", nullptr, "E:\\x", "E:\\Base.CFG", "e:\\base.cfg", ""},
        {m1.c_str(), "", "", "E:\\Base.CFG", "e:\\base.cfg", "KM-400"},
        {noType.c_str(), "", "", "E", "e", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        Configuration doc;
        doc.HeaderSetSourceCfg(c.source);
        doc.HeaderSetLastDevelop(c.source, 0, 0);
        doc.GeneratedDisUpdate(c.source, 0, 0)->UpdateColorAssociation(1, 0, c.source);
        EXPECT_EQ(doc.ChangePathNameMachine(c.machineFile, c.oldPath, c.newPath), 1);
        EXPECT_EQ(doc.HeaderGetMachineType(),
                  c.machineType != nullptr ? c.machineType : std::string(259, 'T'));
        EXPECT_EQ(doc.GetHeader().SourceCfg, c.moved);
        EXPECT_EQ(doc.HeaderGetLastDevelop(), c.moved);
        EXPECT_EQ(doc.Designs()[0]->Name, c.moved);
        EXPECT_EQ(doc.Designs()[0]->Patterns[0]->PatternName, c.moved);
    }
}

TEST_F(ConfigurationPathsTest, ReadsTheDescriptionOfAnotherFile) {
    const std::string two = Write("two.ini", "[Header]\nDescription=line1\\nline2\n");
    const std::pair<std::string, std::string> cases[] = {
        {two, "line1\r\nline2"},
        {Write("none.ini", "[Header]\nMachineType=KM\n"), ""},
        {Write("literal.ini", "[Header]\nDescription=<NOT FOUND>\n"), ""},
        {Write("quoted.ini", "[Header]\nDescription=\" a \\n b \"\n"), " a \r\n b "},
        {dir_.File("missing.ini"), ""},
    };
    Configuration doc;
    for (const auto& [file, description] : cases) {
        EXPECT_EQ(doc.ReadDescrFromFile(file.c_str()), description) << file;
    }
    EXPECT_EQ(doc.ReadDescrFromFile(nullptr), "");
    // A document bound to a file answers with its own description.
    ASSERT_EQ(doc.LoadCFG(Data("designs/machine-m1.ini").c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.ReadDescrFromFile(two.c_str()), "Machine one\r\nfront bed");
    EXPECT_EQ(doc.ReadDescrFromFile(nullptr), "Machine one\r\nfront bed");
}

}  // namespace
}  // namespace knitcfg
