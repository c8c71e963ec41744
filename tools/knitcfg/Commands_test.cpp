#include "Commands.h"

#include <gtest/gtest.h>

#include <knitcfg/knitcfg.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "CliTestUtil.h"

namespace knitcfg::cli {
namespace {

namespace fs = std::filesystem;
using test::RunTool;
using test::Sample;

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

const char* const kCommandNames[] = {"show", "map", "check", "dump", "diff", "normalize", "get", "set"};

TEST(RunToolTest, HelpAndVersion) {
    for (const char* help : {"--help", "-h", "help"}) {
        const test::ToolRun run = RunTool({help});
        EXPECT_EQ(run.status, kExitOk) << help;
        EXPECT_TRUE(StartsWith(run.out, "Usage: knitcfg COMMAND")) << run.out;
        EXPECT_EQ(run.err, "");
    }
    for (const std::string name : kCommandNames) {
        const test::ToolRun byOption = RunTool({name, "--help"});
        EXPECT_EQ(byOption.status, kExitOk) << name;
        EXPECT_TRUE(StartsWith(byOption.out, "Usage: knitcfg " + name + " ")) << byOption.out;
        EXPECT_EQ(RunTool({"help", name}).out, byOption.out);
        // Help wins over missing files.
        EXPECT_EQ(RunTool({name, "-h"}).status, kExitOk);
    }
    const test::ToolRun version = RunTool({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_TRUE(StartsWith(version.out, "knitcfg ")) << version.out;
    EXPECT_NE(version.out.find_first_of("0123456789"), std::string::npos) << version.out;
}

TEST(RunToolTest, UsageErrorsGoToStandardErrorWithStatus2) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"help", "frobnicate"},
        {"show"},
        {"show", "a.ini", "b.ini"},
        {"show", "--bogus", "a.ini"},
        {"map"},
        {"map", "a.ini", "b.ini"},
        {"map", "a.ini", "--designs"},
        {"diff", "a.ini", "b.ini", "--color", "1"},
        {"check"},
        {"dump", "--xml", "a.ini"},
        {"diff", "a.ini"},
        {"normalize", "a.ini", "-o"},
        {"normalize", "a.ini", "--output="},
    };
    for (const auto& args : cases) {
        const test::ToolRun run = RunTool(args);
        std::string shown;
        for (const std::string& arg : args) {
            shown += arg + ' ';
        }
        EXPECT_EQ(run.status, kExitError) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_FALSE(run.err.empty()) << shown;
    }
    EXPECT_EQ(RunTool({"show", "--bogus", "a.ini"}).err,
              "knitcfg show: unknown option --bogus (see knitcfg show --help)\n");
}

TEST(RunToolTest, EveryCommandSurvivesEveryBrokenFile) {
    test::TempDir dir;
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(Sample("broken"))) {
        files.push_back(entry.path().string());
    }
    // Bytes that are no configuration at all.
    const std::string junk = dir.File("junk.ini");
    std::string bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes += static_cast<char>((i * 131 + 7) % 256);
    }
    test::WriteFile(junk, "[\r[]]\n=\n[Color_\n" + bytes + "\n[Line_x]\nDrum_0=,,,\n");
    files.push_back(junk);
    files.push_back(dir.path());
    for (const std::string& file : files) {
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"show", file},
                 {"map", file},
                 {"check", file},
                 {"dump", "--json", file},
                 {"diff", file, Sample("machine.ini")},
                 {"normalize", file, "-o", dir.File("out.ini")},
                 {"get", file, "color", "1", "--", "line", "0", "actuator", "1", "feed"},
                 {"set", "--force", file == junk ? junk : dir.File("absent.ini"), "color", "1",
                  "help", "x"}}) {
            const test::ToolRun run = RunTool(args);
            EXPECT_GE(run.status, kExitOk) << args[0] << ' ' << file;
            EXPECT_LE(run.status, kExitError) << args[0] << ' ' << file;
            if (args[0] == "dump" && run.status != kExitError) {
                EXPECT_FALSE(test::ParseJson(run.out).members.empty()) << file;
            }
        }
    }
}

// 0 fine, 1 a load code or a difference, 2 an error: a missing file is an
// error for every command that prints a file.
TEST(RunToolTest, ExitStatusesOfThePrintingCommands) {
    const std::string machine = Sample("machine.ini");
    const std::string broken = Sample("broken/no-header.ini");
    const std::string missing = Sample("no-such-file.ini");
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"show", machine}, kExitOk},
        {{"show", broken}, kExitNo},
        {{"show", missing}, kExitError},
        {{"map", machine}, kExitOk},
        {{"map", broken}, kExitNo},
        {{"map", missing}, kExitError},
        {{"dump", machine}, kExitOk},
        {{"dump", broken}, kExitNo},
        {{"dump", missing}, kExitError},
        {{"diff", machine, machine}, kExitOk},
        {{"diff", machine, broken}, kExitNo},
        {{"diff", missing, machine}, kExitError},
        {{"diff", machine, missing}, kExitError},
    };
    for (const auto& [args, status] : cases) {
        const test::ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, status) << args[0] << ' ' << args[1];
        if (status == kExitError) {
            EXPECT_EQ(run.out, "") << args[0];
            EXPECT_NE(run.err.find(missing + ": 62 "), std::string::npos) << run.err;
        }
    }
}

class NormalizeTest : public ::testing::Test {
protected:
    // Both files hold the same model: diff finds nothing.
    static void ExpectSameModel(const std::string& a, const std::string& b) {
        const test::ToolRun run = RunTool({"diff", a, b});
        EXPECT_EQ(run.status, kExitOk) << run.out << run.err;
    }

    // The small machine as the library writes it.
    static std::string CanonicalMachine() { return test::ReadFile(Sample("machine.ini")); }

    test::TempDir dir_;
};

TEST_F(NormalizeTest, TheSmallMachineIsInTheLibrarysOwnForm) {
    const std::string out = dir_.File("out.ini");
    const test::ToolRun run = RunTool({"normalize", Sample("machine.ini"), "-o", out});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(test::ReadFile(out), CanonicalMachine());
    ExpectSameModel(out, Sample("machine.ini"));
}

TEST_F(NormalizeTest, AHandEditedFileIsRewrittenInPlace) {
    std::string text = test::ReadFile(Sample("machine.ini"));
    std::string edited = "; kept by hand\n";
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find("\r\n", at);
        end = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(at, end - at);
        at = end + 2;
        // Blanks around '=' in the header, LF line ends, a blank line
        // before each section.
        if (StartsWith(line, "Machine") || StartsWith(line, "Version")) {
            line.replace(line.find('='), 1, " = ");
        }
        if (StartsWith(line, "[")) {
            edited += "\n";
        }
        edited += line + "\n";
    }
    const std::string file = dir_.File("machine.ini");
    test::WriteFile(file, edited);
    const std::string before = dir_.File("before.ini");
    test::WriteFile(before, edited);

    const test::ToolRun run = RunTool({"normalize", file});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(test::ReadFile(file), CanonicalMachine());
    ExpectSameModel(file, before);
    // A second run changes nothing.
    EXPECT_EQ(RunTool({"normalize", file, "--output", dir_.File("again.ini")}).status, kExitOk);
    EXPECT_EQ(test::ReadFile(dir_.File("again.ini")), CanonicalMachine());
}

// --keep leaves in place what the library does not own, and the file holds
// the same configuration; without it that is gone.
TEST_F(NormalizeTest, KeepLeavesWhatTheLibraryDoesNotOwn) {
    const std::string in = knitcfg::test::TestDataDir() + "/config/preserve.ini";
    const char* const notOwned[] = {
        "; Last checked 2026-11-02.\r\n", "Operator=R. Bianchi\r\n", "[Maintenance]\r\n",
        "Block_004=4, 0, 9, 8\r\n",       "Help=Second line\r\n",    "[Line_010]\r\n"};
    for (const bool keep : {false, true}) {
        const std::string out = dir_.File(keep ? "kept.ini" : "normal.ini");
        std::vector<std::string> args{"normalize", in, "-o", out};
        if (keep) {
            args.push_back("--keep");
        }
        const test::ToolRun run = RunTool(args);
        ASSERT_EQ(run.status, kExitOk) << run.err;
        const std::string text = test::ReadFile(out);
        for (const char* line : notOwned) {
            EXPECT_EQ(text.find(line) != std::string::npos, keep) << line << "\n" << text;
        }
        if (keep) {
            ExpectSameModel(out, in);
        }
    }
    // Kept once, kept again: nothing changes.
    const std::string kept = dir_.File("kept.ini");
    const std::string once = test::ReadFile(kept);
    ASSERT_EQ(RunTool({"normalize", "--keep", kept}).status, kExitOk);
    EXPECT_EQ(test::ReadFile(kept), once);
}

TEST_F(NormalizeTest, AFileWithACodeIsWrittenOnlyByForce) {
    const std::string out = dir_.File("out.ini");
    const test::ToolRun refused = RunTool({"normalize", Sample("broken/no-header.ini"), "-o", out});
    EXPECT_EQ(refused.status, kExitNo);
    EXPECT_NE(refused.err.find("loads with 3 (the Header section is missing or empty)"),
              std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));

    const test::ToolRun forced =
        RunTool({"normalize", "--force", Sample("broken/no-header.ini"), "--output=" + out});
    EXPECT_EQ(forced.status, kExitOk) << forced.err;
    Configuration config;
    config.LoadCFG(out.c_str());
    EXPECT_EQ(config.Colors().size(), 1u);
}

TEST_F(NormalizeTest, FailuresAreErrors) {
    const test::ToolRun missing = RunTool({"normalize", dir_.File("missing.ini")});
    EXPECT_EQ(missing.status, kExitError);
    EXPECT_NE(missing.err.find("62 (the file is missing, unreadable or empty)"), std::string::npos);

    const std::string nowhere = dir_.File("no-folder/out.ini");
    const test::ToolRun unwritable = RunTool({"normalize", Sample("machine.ini"), "-o", nowhere});
    EXPECT_EQ(unwritable.status, kExitError);
    EXPECT_EQ(unwritable.err.rfind("knitcfg normalize: 63 (replacing the target file with the "
                                   "saved copy failed): saving " +
                                       nowhere + ": ",
                                   0),
              0u)
        << unwritable.err;
    EXPECT_FALSE(fs::exists(nowhere));

    // A folder in the way: the saved copy is not left behind either.
    const std::string folder = dir_.File("folder.ini");
    fs::create_directory(folder);
    const test::ToolRun blocked = RunTool({"normalize", Sample("machine.ini"), "-o", folder});
    EXPECT_EQ(blocked.status, kExitError);
    EXPECT_NE(blocked.err.find("saving " + folder + ": is a folder; nothing written"),
              std::string::npos)
        << blocked.err;
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace knitcfg::cli
