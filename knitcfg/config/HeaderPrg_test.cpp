#include "knitcfg/config/HeaderPrg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FileSizeLimit.h"
#include "TestUtil.h"

namespace knitcfg {
namespace {

// Compares every field, naming the one that differs.
void ExpectHeader(const HeaderPrg& actual, const HeaderPrg& expected) {
    EXPECT_EQ(actual.MachineType, expected.MachineType);
    EXPECT_EQ(actual.VersionMajor, expected.VersionMajor);
    EXPECT_EQ(actual.VersionMinor, expected.VersionMinor);
    EXPECT_EQ(actual.Description, expected.Description);
    EXPECT_EQ(actual.NumberOfLines, expected.NumberOfLines);
    EXPECT_EQ(actual.StartBlock, expected.StartBlock);
    EXPECT_EQ(actual.LastDevelop, expected.LastDevelop);
    EXPECT_EQ(actual.LastDevelopFirst, expected.LastDevelopFirst);
    EXPECT_EQ(actual.LastDevelopSecond, expected.LastDevelopSecond);
    EXPECT_EQ(actual.SourceCfg, expected.SourceCfg);
    EXPECT_EQ(actual.SourceSdi, expected.SourceSdi);
}

// A header whose every field differs from what any test file holds, to see
// which fields a load leaves alone.
HeaderPrg Prefilled() {
    HeaderPrg h;
    h.MachineType = "old type";
    h.VersionMajor = 90;
    h.VersionMinor = 91;
    h.Description = "old description";
    h.NumberOfLines = 92;
    h.StartBlock = 93;
    h.LastDevelop = "old design";
    h.LastDevelopFirst = 94;
    h.LastDevelopSecond = 95;
    h.SourceCfg = "old cfg";
    h.SourceSdi = "old sdi";
    return h;
}

// The header of testdata/config/full.ini.
HeaderPrg FullHeader() {
    HeaderPrg h;
    h.MachineType = "KM-400";
    h.VersionMajor = 2;
    h.VersionMinor = 7;
    h.Description = "Two-bed machine\r\nwith speeders";
    h.NumberOfLines = 4;
    h.StartBlock = 3;
    h.LastDevelop = "\\designs\\rose.dis";
    h.LastDevelopFirst = 12;
    h.LastDevelopSecond = -5;
    h.SourceCfg = "base.cfg";
    h.SourceSdi = "base.sdi";
    return h;
}

std::string DataFile(const char* name) {
    return test::TestDataDir() + "/config/" + name;
}

class HeaderPrgTest : public ::testing::Test {
protected:
    // A file holding `keys` (CR LF separated lines) in a "Header" section.
    std::string WriteHeader(const std::string& keys) {
        const std::string path = dir_.File("header.ini");
        test::WriteFile(path, "[Header]\r\n" + keys);
        return path;
    }

    test::TempDir dir_;
};

TEST_F(HeaderPrgTest, DefaultsAndResetKeepTheSourceNames) {
    HeaderPrg h = Prefilled();
    h.Reset();
    HeaderPrg expected;
    EXPECT_EQ(expected.NumberOfLines, -1);
    EXPECT_EQ(expected.StartBlock, -1);
    EXPECT_EQ(expected.LastDevelopFirst, -1);
    EXPECT_EQ(expected.LastDevelopSecond, -1);
    expected.SourceCfg = "old cfg";
    expected.SourceSdi = "old sdi";
    ExpectHeader(h, expected);

    const HeaderPrg full = FullHeader();
    ExpectHeader(HeaderPrg(full), full);
    const std::unique_ptr<HeaderPrg> created(HeaderPrg::CreateObject());
    ExpectHeader(*created, HeaderPrg());
    EXPECT_STREQ(created->GetRuntimeClass()->className, "HeaderPrg");
}

TEST_F(HeaderPrgTest, LoadsACompleteHeader) {
    HeaderPrg h = Prefilled();
    EXPECT_EQ(h.Load(DataFile("full.ini").c_str()), RE_SUCCESS);
    ExpectHeader(h, FullHeader());
}

// The header of the one-fault files, as it loads when that fault is mended.
void OneFaultFile(HeaderPrg& h) {
    h.MachineType = "KM-400";
    h.VersionMajor = 2;
    h.VersionMinor = 7;
    h.Description = "d";
    h.NumberOfLines = 4;
    h.StartBlock = 3;
}

// Missing numbers read as -1.
void NoNumbers(HeaderPrg& h) {
    h.NumberOfLines = -1;
    h.StartBlock = -1;
}

// Each file holds one fault (several-faults.ini several); every key is read
// whatever came before, and the first fault found gives the result.
TEST_F(HeaderPrgTest, EachFaultGivesItsCodeAndTheRestStillLoads) {
    struct Case {
        const char* file;
        RETERROR code;
        void (*expect)(HeaderPrg& h);  // what the file changes in Prefilled()
    } const cases[] = {
        {"no-header.ini", RE_NO_HEADER, NoNumbers},
        {"no-sections.ini", RE_NO_HEADER, NoNumbers},
        {"empty-header.ini", RE_NO_HEADER, NoNumbers},
        {"no-machine-type.ini", RE_NO_MACHINE_TYPE,
         [](HeaderPrg& h) {
             OneFaultFile(h);
             h.MachineType = "old type";
         }},
        {"version-single-number.ini", RE_BAD_VERSION,
         [](HeaderPrg& h) {
             OneFaultFile(h);
             h.VersionMajor = 7;
             h.VersionMinor = 91;  // kept
         }},
        {"no-description.ini", RE_NO_DESCRIPTION,
         [](HeaderPrg& h) {
             OneFaultFile(h);
             h.Description = "old description";
         }},
        {"zero-lines.ini", RE_BAD_NUMBER_OF_LINES,
         [](HeaderPrg& h) {
             OneFaultFile(h);
             h.NumberOfLines = 0;
         }},
        {"negative-start-block.ini", RE_BAD_START_BLOCK,
         [](HeaderPrg& h) {
             OneFaultFile(h);
             h.StartBlock = -2;
         }},
        {"several-faults.ini", RE_NO_MACHINE_TYPE,
         [](HeaderPrg& h) {
             NoNumbers(h);  // StartBlock=65535 is -1 as 16 bits
             h.LastDevelopSecond = 42;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        HeaderPrg h = Prefilled();
        EXPECT_EQ(h.Load(DataFile(c.file).c_str()), c.code);
        HeaderPrg expected = Prefilled();
        // No file holds the source keys; only several-faults.ini a last-develop one.
        expected.LastDevelop.clear();
        expected.LastDevelopFirst = 0;
        expected.LastDevelopSecond = 0;
        expected.SourceCfg.clear();
        expected.SourceSdi.clear();
        c.expect(expected);
        ExpectHeader(h, expected);
    }
}

TEST_F(HeaderPrgTest, VersionIsTwoNumbersAroundAPoint) {
    struct Case {
        const char* value;
        bool ok;
        int major, minor;  // starting from 90.91
    } const cases[] = {
        {"3.14", true, 3, 14},        {" -1.+2 rest", true, -1, 2},
        {"2. 5", true, 2, 5},          // a number may start with blanks
        {"4294967299.1", true, 3, 1},  // wraps to 32 bits
        {"7", false, 7, 91},          {"7.", false, 7, 91},
        {"7 .1", false, 7, 91},       {"7,1", false, 7, 91},
        {"x.1", false, 90, 91},       {"-.1", false, 90, 91},
        {"", false, 90, 91},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string path =
            WriteHeader(std::string("MachineType=m\r\nVersion=") + c.value +
                        "\r\nDescription=d\r\nNumberOfLines=1\r\nStartBlock=0\r\n");
        HeaderPrg h = Prefilled();
        EXPECT_EQ(h.Load(path.c_str()), c.ok ? RE_SUCCESS : RE_BAD_VERSION);
        EXPECT_EQ(h.VersionMajor, c.major);
        EXPECT_EQ(h.VersionMinor, c.minor);
    }
}

TEST_F(HeaderPrgTest, NumbersAreKeptAs16Bits) {
    struct Case {
        const char* keys;
        RETERROR code;
        short lines, block;
    } const cases[] = {
        {"NumberOfLines=65537\r\nStartBlock=65536\r\n", RE_SUCCESS, 1, 0},
        {"NumberOfLines=65536\r\nStartBlock=0\r\n", RE_BAD_NUMBER_OF_LINES, 0, 0},
        {"NumberOfLines=32768\r\nStartBlock=0\r\n", RE_BAD_NUMBER_OF_LINES, -32768, 0},
        {"NumberOfLines=-1\r\nStartBlock=0\r\n", RE_BAD_NUMBER_OF_LINES, -1, 0},
        {"NumberOfLines=3\r\nStartBlock=32768\r\n", RE_BAD_START_BLOCK, 3, -32768},
        {"NumberOfLines=3\r\n", RE_BAD_START_BLOCK, 3, -1},
        {"StartBlock=2\r\n", RE_BAD_NUMBER_OF_LINES, -1, 2},
        {"NumberOfLines=-1\r\nStartBlock=-1\r\n", RE_BAD_NUMBER_OF_LINES, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        const std::string path =
            WriteHeader(std::string("MachineType=m\r\nVersion=1.0\r\nDescription=d\r\n") + c.keys);
        HeaderPrg h;
        EXPECT_EQ(h.Load(path.c_str()), c.code);
        EXPECT_EQ(h.NumberOfLines, c.lines);
        EXPECT_EQ(h.StartBlock, c.block);
    }
}

TEST_F(HeaderPrgTest, LastDevelopIsANameWithoutDriveAndTwoLenientNumbers) {
    struct Case {
        const char* value;
        const char* name;
        int first, second;
    } const cases[] = {
        {"C:\\designs\\rose.dis,3,4", "\\designs\\rose.dis", 3, 4},
        {"\\\\server\\share\\rose.dis,3,4", "\\\\server\\share\\rose.dis", 3, 4},
        {"x:\\a:\\b.dis,1,2", "\\a:\\b.dis", 1, 2},  // cut at the first colon-backslash
        {"C:rose.dis,1,2", "C:rose.dis", 1, 2},
        {"123", "", 0, 123},  // no comma: no name, the whole text is the second number
        {"rose,5", "rose", 0, 5},
        {"rose,", "rose", 0, 0},
        {",7,8", "", 7, 8},
        {"rose, -7x,+8 rest", "rose", -7, 8},
        {"rose,a,b", "rose", 0, 0},
        {"rose,1,2,3", "rose", 1, 2},
        {"rose,4294967297,-4294967297", "rose", 1, -1},
        {"", "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string path = WriteHeader(std::string("LastDevelop=") + c.value + "\r\n");
        HeaderPrg h = Prefilled();
        h.Load(path.c_str());
        EXPECT_EQ(h.LastDevelop, c.name);
        EXPECT_EQ(h.LastDevelopFirst, c.first);
        EXPECT_EQ(h.LastDevelopSecond, c.second);
    }
}

TEST_F(HeaderPrgTest, LineBreaksRoundTripInTheDescriptionButNotInTheSourceNames) {
    HeaderPrg h = FullHeader();
    h.Description = "first\r\nsecond";
    h.SourceCfg = "cfg\r\nname";
    h.SourceSdi = "typed \\n";
    const std::string path = dir_.File("out.ini");
    ASSERT_EQ(h.Save(path.c_str()), RE_SUCCESS);
    const std::string text = test::ReadFile(path);
    EXPECT_NE(text.find("Description=first\\nsecond\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("SourceCfg=cfg\\nname\r\n"), std::string::npos) << text;

    HeaderPrg back;
    ASSERT_EQ(back.Load(path.c_str()), RE_SUCCESS);
    EXPECT_EQ(back.Description, "first\r\nsecond");
    EXPECT_EQ(back.SourceCfg, "cfg\\nname");  // escaped on save, read verbatim
    EXPECT_EQ(back.SourceSdi, "typed \\n");

    // Backslash-n typed as text in a description reads back as a line break.
    const std::string typed = WriteHeader("Description=a\\nb\\\\n\r\n");
    back.Load(typed.c_str());
    EXPECT_EQ(back.Description, "a\r\nb\\\r\n");
}

TEST_F(HeaderPrgTest, SaveWritesEveryKeyInOrderAndRemovesEmptyOptionalOnes) {
    HeaderPrg h = FullHeader();
    const std::string path = dir_.File("out.ini");
    ASSERT_EQ(h.Save(path.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(path),
              "[Header]\r\n"
              "MachineType=KM-400\r\n"
              "Version=2.7\r\n"
              "Description=Two-bed machine\\nwith speeders\r\n"
              "NumberOfLines=4\r\n"
              "StartBlock=3\r\n"
              "LastDevelop=\\designs\\rose.dis,12,-5\r\n"
              "SourceCfg=base.cfg\r\n"
              "SourceSdi=base.sdi\r\n");

    // Written again over the same file: the keys keep their places, the
    // empty optional ones go, whatever else the file holds stays.
    test::WriteFile(path, test::ReadFile(path) + "[Other]\r\nk=v\r\n");
    h.Reset();
    h.MachineType = "KM-500";
    h.LastDevelop.clear();
    h.LastDevelopFirst = 1;
    h.SourceCfg.clear();
    h.SourceSdi.clear();
    ASSERT_EQ(h.Save(path.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(path),
              "[Header]\r\n"
              "MachineType=KM-500\r\n"
              "Version=0.0\r\n"
              "Description=\r\n"
              "NumberOfLines=-1\r\n"
              "StartBlock=-1\r\n"
              "[Other]\r\n"
              "k=v\r\n");

    // What a header without numbers saves, it loads back as such.
    HeaderPrg back = Prefilled();
    EXPECT_EQ(back.Load(path.c_str()), RE_BAD_NUMBER_OF_LINES);
    EXPECT_EQ(back.MachineType, "KM-500");
    EXPECT_EQ(back.Description, "");
    EXPECT_EQ(back.StartBlock, -1);
}

// A text that would still hold a line break in the file is refused; the
// other keys are still written, and the first refusal gives the result.
TEST_F(HeaderPrgTest, RefusedTextsGiveTheirCodesAndTheOtherKeysAreWritten) {
    struct Case {
        const char* name;
        void (*spoil)(HeaderPrg& h);
        RETERROR code;
        std::vector<std::string> missingKeys;
    } const cases[] = {
        {"machine type",
         [](HeaderPrg& h) { h.MachineType = "a\nb"; },
         RE_WRITE_MACHINE_TYPE,
         {"MachineType="}},
        {"description",
         [](HeaderPrg& h) { h.Description = "a\nb"; },
         RE_WRITE_DESCRIPTION,
         {"Description="}},
        {"last develop",
         [](HeaderPrg& h) { h.LastDevelop = "a\rb"; },
         RE_WRITE_LAST_DEVELOP,
         {"LastDevelop="}},
        {"source cfg",
         [](HeaderPrg& h) { h.SourceCfg = "a\n\rb"; },
         RE_WRITE_SOURCE_CFG,
         {"SourceCfg="}},
        {"source sdi",
         [](HeaderPrg& h) { h.SourceSdi = "a\r"; },
         RE_WRITE_SOURCE_SDI,
         {"SourceSdi="}},
        {"first of two",
         [](HeaderPrg& h) {
             h.SourceSdi = "\n";
             h.Description = "\r";
         },
         RE_WRITE_DESCRIPTION,
         {"Description=", "SourceSdi="}},
    };
    const std::string keys[] = {"MachineType=", "Version=",     "Description=", "NumberOfLines=",
                                "StartBlock=",  "LastDevelop=", "SourceCfg=",   "SourceSdi="};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeaderPrg h = FullHeader();
        c.spoil(h);
        const std::string path = dir_.File(std::string(c.name) + ".ini");
        EXPECT_EQ(h.Save(path.c_str()), c.code);
        const std::string text = test::ReadFile(path);
        for (const std::string& key : keys) {
            const bool missing =
                std::find(c.missingKeys.begin(), c.missingKeys.end(), key) != c.missingKeys.end();
            EXPECT_EQ(text.find(key) == std::string::npos, missing) << key << " in " << text;
        }
    }
}

// A disk that fills up at any key: that key's write fails first and gives
// the result, whatever the later ones do.
TEST_F(HeaderPrgTest, DiskFullAtEachKeyGivesThatKeysCode) {
    KNITCFG_REQUIRE_FILE_SIZE_LIMIT();
#ifndef _WIN32
    const HeaderPrg h = FullHeader();
    const std::string reference = dir_.File("reference.ini");
    ASSERT_EQ(h.Save(reference.c_str()), RE_SUCCESS);
    const std::string text = test::ReadFile(reference);
    struct Case {
        const char* key;
        RETERROR code;
    } const cases[] = {
        {"MachineType=", RE_WRITE_MACHINE_TYPE}, {"Version=", RE_WRITE_VERSION},
        {"Description=", RE_WRITE_DESCRIPTION},  {"NumberOfLines=", RE_WRITE_NUMBER_OF_LINES},
        {"StartBlock=", RE_WRITE_START_BLOCK},   {"LastDevelop=", RE_WRITE_LAST_DEVELOP},
        {"SourceCfg=", RE_WRITE_SOURCE_CFG},     {"SourceSdi=", RE_WRITE_SOURCE_SDI},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        // The file before this key's write is the text up to its line.
        const std::size_t before = text.find(c.key);
        ASSERT_NE(before, std::string::npos);
        const std::string path = dir_.File(std::string(c.key) + "ini");
        EXPECT_EQ(test::RunWithFileSizeLimit(
                      before, [&] { return static_cast<int>(h.Save(path.c_str())); }),
                  c.code);
        if (before > text.find("MachineType=")) {
            EXPECT_EQ(test::ReadFile(path), text.substr(0, before));
        } else {
            EXPECT_FALSE(test::FileExists(path));
        }
    }
#endif
}

}  // namespace
}  // namespace knitcfg
