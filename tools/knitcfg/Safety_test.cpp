// The tool among several users and odd files: normalize in place keeps mode,
// owner and links and refuses what the user may not write; check returns at
// once on pipes and devices.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "CliTestUtil.h"
#include "Commands.h"
#include "FileSizeLimit.h"

namespace knitcfg::cli {
namespace {

namespace fs = std::filesystem;
using test::RunTool;
using test::Sample;

constexpr unsigned kOtherUser = 54321;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// In place, a file keeps its mode, owner and group, a link stays a link, and
// a read-only file is refused and left as it was, by normalize and by set.
TEST(NormalizeSafetyTest, InPlaceKeepsModeOwnerAndLinksOrRefuses) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX modes, owners and links";
#else
    test::TempDir dir;
    const std::string original = test::ReadFile(test::TestFile("T/machine-hand-edited.ini"));
    const std::string canonical = test::ReadFile(test::TestFile("T/normalize-hand-edited.out"))
                                      .substr(std::string("--- W/in.ini\n").size());
    const bool root = ::geteuid() == 0;
    struct Case {
        mode_t mode;
        int status;
        const char* reason;
    } const cases[] = {{0600, kExitOk, ""}, {0640, kExitOk, ""}, {0444, kExitError, "read-only"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string file = dir.File("m" + std::to_string(c.mode) + ".ini");
        test::WriteFile(file, original);
        ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
        // As root the file is handed to another user: root must give it back.
        if (root) {
            ASSERT_EQ(::chown(file.c_str(), kOtherUser, kOtherUser + 1), 0);
        }
        struct stat before {};
        ::stat(file.c_str(), &before);
        const test::ToolRun run = RunTool({"normalize", file});
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_TRUE(Contains(run.err, c.reason)) << run.err;
        const test::ToolRun set = RunTool({"set", file, "protected", "1"});
        EXPECT_EQ(set.status, c.status) << set.err;
        EXPECT_TRUE(Contains(set.err, c.reason)) << set.err;
        if (c.status == kExitOk) {
            EXPECT_EQ(RunTool({"set", file, "protected", "0"}).status, kExitOk);
        }
        EXPECT_EQ(test::ReadFile(file), c.status == kExitOk ? canonical : original);
        struct stat after {};
        ::stat(file.c_str(), &after);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
    }
    const std::string real = dir.File("real.ini");
    const std::string link = dir.File("link.ini");
    test::WriteFile(real, original);
    fs::create_symlink(real, link);
    EXPECT_EQ(RunTool({"normalize", link}).status, kExitOk);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadFile(real), canonical);
#endif
}

// Another user's file in a folder open to all: the folder would let the file
// be renamed over, but the file itself is not the user's to write.
TEST(NormalizeSafetyTest, AnotherUsersFileInAnOpenFolderIsRefused) {
    std::string whyNot;
    if (!knitcfg::test::CanStartChildAsUser(&whyNot)) {
        GTEST_SKIP() << whyNot;
    }
#ifndef _WIN32
    test::TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    const std::string tmp = dir.File("tmp");
    fs::create_directory(tmp);
    fs::permissions(tmp, fs::perms::all | fs::perms::sticky_bit);
    knitcfg::test::ScopedTempFolder scoped(tmp);
    const std::string file = dir.File("m.ini");
    test::WriteFile(file, test::ReadFile(Sample("machine.ini")));
    const std::string original = test::ReadFile(file);
    EXPECT_EQ(knitcfg::test::WaitChildTest(knitcfg::test::StartChildTestAs(
                  kOtherUser, "NormalizeSafetyChild.Runs",
                  {"2", "saving " + file + ": permission denied", "normalize", file})),
              0);
    EXPECT_EQ(test::ReadFile(file), original);
    struct stat st {};
    ::stat(file.c_str(), &st);
    EXPECT_EQ(st.st_uid, 0u);
#endif
}

// The child of the test above: runs the tool with args[2...], expects the
// exit status args[0] and an error output holding args[1].
TEST(NormalizeSafetyChild, Runs) {
    const std::vector<std::string> args = knitcfg::test::ChildArgs();
    if (args.size() < 3) {
        GTEST_SKIP() << "runs only as a child of a normalize test";
    }
    const test::ToolRun run = RunTool(std::vector<std::string>(args.begin() + 2, args.end()));
    EXPECT_EQ(run.status, std::stoi(args[0])) << run.err;
    EXPECT_TRUE(Contains(run.err, args[1])) << run.err;
}

// A pipe, a device, and a folder holding a pipe named like a configuration:
// check answers at once.
TEST(CheckSafetyTest, PipesAndDevicesAnswerAtOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "no pipes in the file system, no /dev/zero";
#else
    test::TempDir dir;
    const std::string fifo = dir.File("pipe.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::WriteFile(dir.File("good.ini"), test::ReadFile(Sample("machine.ini")));
    struct Case {
        std::string path;
        int status;
        std::string out;
    } const cases[] = {
        {fifo, kExitError, "(loading " + fifo + ": is a pipe, not a regular file)"},
        {"/dev/zero", kExitError, "(loading /dev/zero: is a device, not a regular file)"},
        {dir.path(), kExitOk, dir.File("good.ini") + ": ok\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(knitcfg::test::RunWithWatchdog(
                      20,
                      [&] {
                          const test::ToolRun run = RunTool({"check", c.path});
                          return run.status == c.status && run.out.find(c.out) != std::string::npos
                                     ? 0
                                     : 1;
                      }),
                  0);
    }
#endif
}

}  // namespace
}  // namespace knitcfg::cli
