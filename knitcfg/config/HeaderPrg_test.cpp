#include "knitcfg/config/HeaderPrg.h"

#include <gtest/gtest.h>

#include <string>

#include "FileSizeLimit.h"
#include "TestUtil.h"

namespace knitcfg {
namespace {

// Every field in one line, so that a case names the whole header:
// "type|major.minor|description|lines|block|name,first,second|cfg|sdi".
std::string Fields(const HeaderPrg& h) {
    return h.MachineType + "|" + std::to_string(h.VersionMajor) + "." +
           std::to_string(h.VersionMinor) + "|" + h.Description + "|" +
           std::to_string(h.NumberOfLines) + "|" + std::to_string(h.StartBlock) + "|" +
           h.LastDevelop + "," + std::to_string(h.LastDevelopFirst) + "," +
           std::to_string(h.LastDevelopSecond) + "|" + h.SourceCfg + "|" + h.SourceSdi;
}

// A header whose every field differs from what any test file holds, to see
// which fields a load leaves alone.
HeaderPrg Prefilled() {
    HeaderPrg h;
    h.MachineType = h.Description = h.LastDevelop = h.SourceCfg = h.SourceSdi = "old";
    h.VersionMajor = 90;
    h.VersionMinor = 91;
    h.NumberOfLines = 92;
    h.StartBlock = 93;
    h.LastDevelopFirst = 94;
    h.LastDevelopSecond = 95;
    return h;
}

class HeaderPrgTest : public ::testing::Test {
protected:
    test::TempDir dir_;
};

// Every key is read whatever came before, and the first fault found gives
// the result. A case is a file of testdata/config/ ("@name"), or keys put in
// front of a valid header, where the first entry of a key wins.
TEST_F(HeaderPrgTest, LoadReadsEveryKeyAndReportsTheFirstFault) {
    const std::string valid =
        "MachineType=m\r\nVersion=1.0\r\nDescription=d\r\nNumberOfLines=1\r\nStartBlock=0\r\n";
    struct Case {
        const char* keys;
        RETERROR code;
        const char* fields;
    } const cases[] = {
        {"@full.ini", RE_SUCCESS,
         "KM-400|2.7|Two-bed machine\r\nwith speeders|4|3|\\designs\\rose.dis,12,-5|base.cfg|"
         "base.sdi"},
        {"@no-header.ini", RE_NO_HEADER, "old|90.91|old|-1|-1|,0,0||"},
        {"@no-machine-type.ini", RE_NO_MACHINE_TYPE, "old|2.7|d|4|3|,0,0||"},
        {"@version-single-number.ini", RE_BAD_VERSION, "KM-400|7.91|d|4|3|,0,0||"},
        {"@no-description.ini", RE_NO_DESCRIPTION, "KM-400|2.7|old|4|3|,0,0||"},
        {"@negative-start-block.ini", RE_BAD_START_BLOCK, "KM-400|2.7|d|4|-2|,0,0||"},
        // StartBlock=65535 is -1 as 16 bits.
        {"@several-faults.ini", RE_NO_MACHINE_TYPE, "old|90.91|old|-1|-1|,0,42||"},
        {"", RE_SUCCESS, "m|1.0|d|1|0|,0,0||"},
        {"MachineType=<NOT FOUND>\r\n", RE_NO_MACHINE_TYPE, "old|1.0|d|1|0|,0,0||"},
        {"Version=7.\r\n", RE_BAD_VERSION, "m|7.91|d|1|0|,0,0||"},
        {"Version=7 .1\r\n", RE_BAD_VERSION, "m|7.91|d|1|0|,0,0||"},
        {"Version=x.1\r\n", RE_BAD_VERSION, "m|90.91|d|1|0|,0,0||"},
        {"NumberOfLines=65537\r\nStartBlock=65536\r\n", RE_SUCCESS, "m|1.0|d|1|0|,0,0||"},
        {"NumberOfLines=32768\r\n", RE_BAD_NUMBER_OF_LINES, "m|1.0|d|-32768|0|,0,0||"},
        {"LastDevelop=C:\\designs\\rose.dis,3,4\r\n", RE_SUCCESS,
         "m|1.0|d|1|0|\\designs\\rose.dis,3,4||"},
        {"LastDevelop=x:\\a:\\b.dis,1,2\r\n", RE_SUCCESS, "m|1.0|d|1|0|\\a:\\b.dis,1,2||"},
        {"LastDevelop=C:rose.dis,1,2\r\n", RE_SUCCESS, "m|1.0|d|1|0|C:rose.dis,1,2||"},
        {"LastDevelop=123\r\n", RE_SUCCESS, "m|1.0|d|1|0|,0,123||"},
        {"LastDevelop=rose,5\r\n", RE_SUCCESS, "m|1.0|d|1|0|rose,0,5||"},
        {"LastDevelop=rose, -7x,+8 rest,3\r\n", RE_SUCCESS, "m|1.0|d|1|0|rose,-7,8||"},
        // Backslash-n becomes a line break in the description only.
        {"Description=a\\nb\\\\n\r\nSourceCfg=c\\nd\r\nSourceSdi=s\r\n", RE_SUCCESS,
         "m|1.0|a\r\nb\\\r\n|1|0|,0,0|c\\nd|s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        std::string path = dir_.File("header.ini");
        if (c.keys[0] == '@') {
            path = test::TestDataDir() + "/config/" + (c.keys + 1);
        } else {
            test::WriteFile(path, "[Header]\r\n" + std::string(c.keys) + valid);
        }
        HeaderPrg h = Prefilled();
        EXPECT_EQ(h.Load(path.c_str()), c.code);
        EXPECT_EQ(Fields(h), c.fields);
    }
}

TEST_F(HeaderPrgTest, SaveWritesEveryKeyInOrderAndRefusesLineBreaks) {
    HeaderPrg h;
    ASSERT_EQ(h.Load((test::TestDataDir() + "/config/full.ini").c_str()), RE_SUCCESS);
    h.SourceCfg = "base\r\ncfg";
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
              "SourceCfg=base\\ncfg\r\n"
              "SourceSdi=base.sdi\r\n");

    // After a Reset, which keeps the source names: the empty optional keys go.
    h.Reset();
    EXPECT_EQ(Fields(h), "|0.0||-1|-1|,-1,-1|base\r\ncfg|base.sdi");
    h.SourceSdi.clear();
    ASSERT_EQ(h.Save(path.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(path),
              "[Header]\r\nMachineType=\r\nVersion=0.0\r\nDescription=\r\nNumberOfLines=-1\r\n"
              "StartBlock=-1\r\nSourceCfg=base\\ncfg\r\n");

    // A text that would still hold a line break in the file is refused; the
    // other keys are still written, and the first refusal gives the result.
    h.Description = "\r";
    h.SourceCfg = "a\n\rb";
    EXPECT_EQ(h.Save(dir_.File("refused.ini").c_str()), RE_WRITE_DESCRIPTION);
    EXPECT_EQ(test::ReadFile(dir_.File("refused.ini")),
              "[Header]\r\nMachineType=\r\nVersion=0.0\r\nNumberOfLines=-1\r\nStartBlock=-1\r\n");
}

// A disk that fills up at any key: that key's write fails first and gives
// the result, whatever the later ones do.
TEST_F(HeaderPrgTest, DiskFullAtEachKeyGivesThatKeysCode) {
    KNITCFG_REQUIRE_FILE_SIZE_LIMIT();
#ifndef _WIN32
    HeaderPrg h;
    ASSERT_EQ(h.Load((test::TestDataDir() + "/config/full.ini").c_str()), RE_SUCCESS);
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
