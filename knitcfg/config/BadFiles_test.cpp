// Broken files: each loads with a result code, without a crash, hang or
// out-of-bounds access (the sanitizer builds watch the last), and what was
// loaded saves and loads again.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// The files of testdata/bad/, then files made from a good one: huge, repeated,
// and every line of it missing in turn.
std::vector<std::pair<std::string, std::string>> Catalogue() {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : std::filesystem::directory_iterator(test::TestDataDir() + "/bad")) {
        files.emplace_back(entry.path().filename().string(), test::ReadFile(entry.path().string()));
    }
    const std::string good = test::ReadFile(test::TestDataDir() + "/program/document.ini");
    files.emplace_back("a line of a megabyte",
                       "[Header]\r\nDescription=" + std::string(1 << 20, 'x') +
                           "\r\n[Color_001]\r\nDrum_000=" + std::string(1 << 20, '7'));
    files.emplace_back("10000 sections", Repeat("[Color_001]\r\nDrum_000=1, 2, 3, 0\r\n", 10000));
    files.emplace_back("duplicate everything",
                       good + good + Repeat("[Header]\r\nNumberOfLines=9\r\n", 3));
    std::vector<std::string> lines;
    std::istringstream in(good);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    for (std::size_t drop = 0; drop < lines.size(); ++drop) {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            text += i != drop ? lines[i] + "\n" : "";
        }
        files.emplace_back("without line " + std::to_string(drop + 1), text);
    }
    return files;
}

TEST(BadFilesTest, EveryFileLoadsWithACodeAndSavesAgain) {
    test::TempDir dir;
    test::ScopedTempFolder tmp(dir.path());
    const auto files = Catalogue();
    EXPECT_GT(files.size(), 20u);
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const std::string path = dir.File("bad.ini");
        test::WriteFile(path, bytes);
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
