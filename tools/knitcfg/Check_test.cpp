#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli::test {
namespace {

namespace fs = std::filesystem;

// A file that loads with 0 but with one warning (a misspelt kind), and one
// that loads with code 4 (no machine type) and nothing else wrong.
const char kWarned[] =
    "[Protection]\nConfigProtected=0\n[Header]\nMachineType=KX\nVersion=3.2\nDescription=d\n"
    "NumberOfLines=1\nStartBlock=0\n[Color_001]\nID=1\nPlane=1\nFingr_000=1, 1, 1, 0\n"
    "; a comment\n[Line_000]\nDrum_000=1, 1, 1\n";
const char kFailed[] =
    "[Protection]\nConfigProtected=0\n[Header]\nVersion=3.2\nDescription=d\n"
    "NumberOfLines=1\nStartBlock=0\n";

class CheckTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text) {
        const fs::path path = (fs::path(dir_.path()) / name).make_preferred();
        fs::create_directories(path.parent_path());
        WriteFile(path.string(), text);
        return path.string();
    }
    TempDir dir_;
};

TEST_F(CheckTest, OneLinePerFindingThenEachFileAndTheSum) {
    const std::string warned = Write("warned.ini", kWarned);
    const std::string failed = Write("failed.ini", kFailed);
    const ToolRun run = RunTool({"check", Sample("machine.ini"), warned, failed});
    EXPECT_EQ(run.status, kExitNo);
    EXPECT_EQ(run.out,
              Sample("machine.ini") + ": ok\n" + warned +
                  ":12: warning: key 'Fingr_000' is not read: no actuator kind is called "
                  "'Fingr_'; did you mean Finger_? [misspelt-kind]\n" +
                  warned + ": load result 0 (success), 0 errors, 1 warning\n" + failed +
                  ":3: error: [Header] has no key MachineType (the machine type): the load "
                  "reports code 4 [missing-key]\n" +
                  failed +
                  ": load result 4 (the header has no MachineType), 1 error, 0 warnings\n"
                  "3 files: 1 ok, 1 with errors, 1 with warnings\n");
    EXPECT_EQ(run.err, "");

    // Notes on demand; a note alone leaves a file ok.
    const ToolRun notes = RunTool({"check", "--notes", warned});
    EXPECT_NE(notes.out.find(warned + ":13: note: comments of [Color_001] are dropped by a save "
                                      "[comments-dropped]\n"),
              std::string::npos)
        << notes.out;
    EXPECT_NE(notes.out.find("0 errors, 1 warning, 1 note\n"), std::string::npos) << notes.out;
}

TEST_F(CheckTest, ExitStatusByTheWorstFile) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const std::string warned = Write("warned.ini", kWarned);
    const std::string empty = Write("empty.ini", "");
    for (const Case& c : {
             Case{{"check", Sample("machine.ini")}, kExitOk},
             Case{{"check", warned}, kExitNo},
             Case{{"check", Sample("broken/no-header.ini")}, kExitNo},
             Case{{"check", warned, dir_.File("missing.ini")}, kExitError},
             Case{{"check", empty}, kExitError},
             Case{{"check", "--", "-odd.ini"}, kExitError},
             Case{{"check", "--ext", ",", dir_.path()}, kExitError},
             Case{{"check", "--bogus", warned}, kExitError},
         }) {
        EXPECT_EQ(RunTool(c.args).status, c.status) << c.args.back();
    }
    const ToolRun missing = RunTool({"check", dir_.File("missing.ini")});
    EXPECT_EQ(missing.out, dir_.File("missing.ini") + ": error: the file cannot be read (loading " +
                               dir_.File("missing.ini") +
                               ": no such file): the load reports code 62 [unreadable-file]\n" +
                               dir_.File("missing.ini") +
                               ": load result 62 (the file is missing, unreadable or empty), 1 "
                               "error, 0 warnings\n1 file: 0 ok, 1 with errors, 0 with warnings\n");
}

TEST_F(CheckTest, FoldersByExtensionDepthAndQuiet) {
    const std::string machine = ReadFile(Sample("machine.ini"));
    const std::string a = Write("a.ini", machine);
    const std::string b = Write("b.CFG", kWarned);
    const std::string c = Write("sub/c.ini", kFailed);
    Write("notes.txt", "not a configuration");
    auto files = [&](const std::vector<std::string>& args) {
        std::vector<std::string> all = {"check"};
        all.insert(all.end(), args.begin(), args.end());
        return RunTool(all).out;
    };
    const std::string flat = files({dir_.path()});
    EXPECT_NE(flat.find(a + ": ok\n"), std::string::npos) << flat;
    EXPECT_NE(flat.find(b + ": load result 0"), std::string::npos) << flat;
    EXPECT_EQ(flat.find(c), std::string::npos) << flat;
    EXPECT_NE(flat.find("2 files: 1 ok, 0 with errors, 1 with warnings\n"), std::string::npos);

    const std::string deep = files({"-r", dir_.path()});
    EXPECT_NE(deep.find(c + ": load result 4"), std::string::npos) << deep;
    EXPECT_NE(deep.find("3 files: 1 ok, 1 with errors, 1 with warnings\n"), std::string::npos);

    const std::string cfg = files({"--ext", "cfg", "-r", dir_.path()});
    EXPECT_EQ(cfg.find(a), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("1 file: 0 ok, 0 with errors, 1 with warnings\n"), std::string::npos);

    const std::string quiet = files({"--quiet", dir_.path()});
    EXPECT_EQ(quiet.find(a), std::string::npos) << quiet;
    EXPECT_NE(quiet.find(b + ":12: warning:"), std::string::npos) << quiet;
    EXPECT_EQ(RunTool({"check", "--quiet", a}).out, "");

    TempDir none;
    const ToolRun run = RunTool({"check", none.path()});
    EXPECT_EQ(run.status, kExitNo);
    EXPECT_EQ(run.err, "knitcfg check: " + none.path() + ": no .ini or .cfg file in this folder\n");
}

TEST_F(CheckTest, JsonListsEveryFinding) {
    const std::string warned = Write("warned.ini", kWarned);
    const ToolRun run = RunTool({"check", "--json", "--notes", warned, Sample("machine.ini")});
    EXPECT_EQ(run.status, kExitNo);
    const Node list = ParseJson(run.out);
    ASSERT_EQ(list.type, Node::Type::List) << run.out;
    ASSERT_EQ(list.items.size(), 2U) << run.out;
    const Node& first = list.items[0];
    EXPECT_EQ(first.Find("file")->text, warned);
    EXPECT_EQ(first.Find("line")->number, 12);
    EXPECT_EQ(first.Find("severity")->text, "warning");
    EXPECT_EQ(first.Find("id")->text, "misspelt-kind");
    EXPECT_EQ(first.Find("section")->text, "Color_001");
    EXPECT_EQ(first.Find("key")->text, "Fingr_000");
    EXPECT_NE(first.Find("message")->text.find("did you mean Finger_?"), std::string::npos);
    EXPECT_EQ(list.items[1].Find("severity")->text, "note");

    EXPECT_EQ(RunTool({"check", "--json", Sample("machine.ini")}).out, "[]\n");
}

TEST_F(CheckTest, ShowCountsTheFindingsAtItsTop) {
    const ToolRun clean = RunTool({"show", Sample("machine.ini")});
    EXPECT_EQ(clean.out.rfind("Findings: 0 errors, 0 warnings\n", 0), 0U) << clean.out;
    const ToolRun warned = RunTool({"show", Write("warned.ini", kWarned)});
    EXPECT_EQ(warned.out.rfind("Findings: 0 errors, 1 warning (knitcfg check tells them)\n", 0), 0U)
        << warned.out;
}

}  // namespace
}  // namespace knitcfg::cli::test
