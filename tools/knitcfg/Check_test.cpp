#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli::test {
namespace {

namespace fs = std::filesystem;

// A folder stands for its files of the chosen extensions (any letter case),
// in name order, its subfolders' too with -r; --quiet prints only the files
// with findings.
TEST(CheckTest, FoldersByExtensionDepthAndQuiet) {
    TempDir dir;
    const auto write = [&](const std::string& name, const std::string& from) {
        const fs::path path = (fs::path(dir.path()) / name).make_preferred();
        fs::create_directories(path.parent_path());
        WriteFile(path.string(), ReadFile(TestFile(from)));
        return path.string();
    };
    const std::string a = write("a.ini", "S/machine.ini");
    const std::string b = write("b.CFG", "T/warned.ini");
    const std::string c = write("sub/c.ini", "T/failed.ini");
    write("notes.txt", "T/failed.ini");
    const struct {
        std::vector<std::string> options;
        int status;
        std::vector<std::string> shown;  // in this order
        std::vector<std::string> left;
    } cases[] = {
        {{},
         kExitNo,
         {a + ": ok\n", b + ":12: warning:", "2 files: 1 ok, 0 with errors, 1 with warnings\n"},
         {c}},
        {{"-r"},
         kExitNo,
         {a + ": ok\n", b + ": load result 0", c + ": load result 4",
          "3 files: 1 ok, 1 with errors"},
         {}},
        {{"--ext", "cfg", "-r"},
         kExitNo,
         {b, "1 file: 0 ok, 0 with errors, 1 with warnings\n"},
         {a, c}},
        {{"--quiet"}, kExitNo, {b + ":12: warning:"}, {a}},
    };
    for (const auto& t : cases) {
        std::vector<std::string> args{"check"};
        args.insert(args.end(), t.options.begin(), t.options.end());
        args.push_back(dir.path());
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, t.status) << run.out;
        std::size_t at = 0;
        for (const std::string& part : t.shown) {
            at = run.out.find(part, at);
            EXPECT_NE(at, std::string::npos) << part << "\n" << run.out;
        }
        for (const std::string& part : t.left) {
            EXPECT_EQ(run.out.find(part), std::string::npos) << part << "\n" << run.out;
        }
    }
    EXPECT_EQ(RunTool({"check", "--quiet", a}).out, "");
    TempDir none;
    const ToolRun run = RunTool({"check", none.path()});
    EXPECT_EQ(run.status, kExitNo);
    EXPECT_EQ(run.err, "knitcfg check: " + none.path() + ": no .ini or .cfg file in this folder\n");
}

}  // namespace
}  // namespace knitcfg::cli::test
