// A catalogue of broken files: each loads with a result code, without a
// crash, hang or out-of-bounds access (the sanitizer builds watch the
// last), and what was loaded saves and loads again.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

struct BadFile {
    std::string name;
    std::string bytes;
};

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// All the bytes of a literal, NULs included.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

std::vector<BadFile> Catalogue() {
    const std::string good = test::ReadFile(test::TestDataDir() + "/program/document.ini");
    std::vector<BadFile> files = {
        {"binary", Bytes("\x7f"
                         "ELF\x02\x01\x01\0\0\0\xff\xfe[\x80\x81=\x00]") +
                       Repeat(Bytes("\x00\xff\x10\x13"), 500)},
        {"nul bytes everywhere",
         Bytes("[Head\0er]\r\nMachine\0Type=A\0B\r\n[Color_001]\r\nDrum_000=1\0,2\r\n")},
        {"a line of a megabyte", "[Header]\r\nDescription=" + std::string(1 << 20, 'x') +
                                     "\r\n[Color_001]\r\nDrum_000=" + std::string(1 << 20, '7')},
        {"10000 sections", Repeat("[Color_001]\r\nDrum_000=1, 2, 3, 0\r\n", 10000)},
        {"duplicate everything", good + good + Repeat("[Header]\r\nNumberOfLines=9\r\n", 3)},
        {"numbers beyond 32 bits",
         "[Protection]\r\nConfigProtected=99999999999999999999\r\n[Header]\r\nVersion="
         "4294967297.-4294967297\r\nNumberOfLines=65537\r\nStartBlock=-99999999999\r\n"
         "[Color_001]\r\nID=70000\r\nPlane=4294967297\r\nDrum_000=99999999999, -99999999999, "
         "65536, 4294967295\r\nSteppingMotor_000=1, 2, 3, 4, 99999999999999\r\n"
         "[GeneratedDis]\r\nd=99999999999,-99999999999\r\n[d]\r\n1=p,99999999999,70000 -70000\r\n"
         "[ShavedDis]\r\ns=99999999999,1,2<99999999999><-99999999999>\r\n"},
        {"only headers",
         "[Protection]\r\n[Header]\r\n[Color_001]\r\n[Line_001]\r\n[GeneratedDis]\r\n"},
        {"keys without sections", "MachineType=A\r\nDrum_000=1,2,3,4\r\n"},
        {"lone CRs and brackets", "[[[\r]]]\r[Color_\r=\r=\r[Line_]]\rDrum_=\r"},
        {"utf-16", Bytes("\xff\xfe[\0H\0e\0a\0d\0e\0r\0]\0\r\0\n\0")},
    };
    // Every line of a good file missing in turn.
    std::vector<std::string> lines;
    std::istringstream in(good);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    for (std::size_t drop = 0; drop < lines.size(); ++drop) {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i != drop) {
                text += lines[i] + "\n";
            }
        }
        files.push_back({"without line " + std::to_string(drop + 1), text});
    }
    return files;
}

TEST(BadFilesTest, EveryFileLoadsWithACodeAndSavesAgain) {
    test::TempDir dir;
    test::ScopedTempFolder tmp(dir.path());
    for (const BadFile& bad : Catalogue()) {
        SCOPED_TRACE(bad.name);
        const std::string path = dir.File("bad.ini");
        test::WriteFile(path, bad.bytes);
        Configuration doc;
        const RETERROR loaded = doc.LoadCFG(path.c_str());
        EXPECT_GE(loaded, 0);
        EXPECT_LE(loaded, 63);
        const std::string saved = dir.File("saved.ini");
        EXPECT_NE(doc.SaveCFG(saved.c_str()), RE_FILE_REPLACE);
        Configuration again;
        EXPECT_NE(again.LoadCFG(saved.c_str()), RE_FILE_UNREADABLE);
        // Colors and lines of one number share their section: the file holds
        // each number once, however often the document does.
        EXPECT_LE(again.Colors().size(), doc.Colors().size());
    }
}

}  // namespace
}  // namespace knitcfg
