// The operating-system seam: what the rest of the library relies on.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "TestUtil.h"
#include "knitcfg/common/detail/Platform.h"

namespace knitcfg::platform {
namespace {

namespace fs = std::filesystem;

TEST(PlatformTest, MessagesAndTimeResolution) {
#ifndef _WIN32
    // A message reads on after "cannot save: ".
    EXPECT_EQ(SystemMessage(ENOENT), "no such file or directory");
#endif
    // Whole seconds mean a file system that may keep only every other one.
    FileInfo info;
    info.mtimeNs = 5000000000LL;
    EXPECT_EQ(TimestampResolutionNs(info), 2000000000LL);
    info.mtimeNs += 1;
    EXPECT_EQ(TimestampResolutionNs(info), 50000000LL);
}

TEST(PlatformTest, StatAndReadDescribeTheSameFile) {
    test::TempDir dir;
    const std::string file = dir.File("a.ini");
    FileInfo info;
    EXPECT_FALSE(Stat(file, &info));
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(file, &bytes, &info), ReadStatus::kMissing);
    EXPECT_EQ(ReadWholeFile(dir.path(), &bytes, &info), ReadStatus::kError);

    ASSERT_TRUE(ReplaceFileAtomically(file, std::string("x\0y", 3)));
    ASSERT_EQ(ReadWholeFile(file, &bytes, &info), ReadStatus::kOk);
    EXPECT_EQ(bytes, std::string("x\0y", 3));
    FileInfo again;
    ASSERT_TRUE(Stat(file, &again));
    EXPECT_TRUE(again.SameVersion(info));
    EXPECT_EQ(info.size, 3u);

    ASSERT_TRUE(ReplaceFileAtomically(file, "other"));
    ASSERT_TRUE(Stat(file, &again));
    EXPECT_FALSE(again.SameVersion(info)) << "a replaced file must be a new version";
}

TEST(PlatformTest, ReplaceRefusesWhatItCannotWriteAndLeavesNoTrace) {
    test::TempDir dir;
    for (const std::string& bad : {dir.File("missing/a.ini"), dir.path()}) {
        EXPECT_FALSE(ReplaceFileAtomically(bad, "x"));
        EXPECT_FALSE(CanReplace(bad));
    }
    const std::string ro = dir.File("ro.ini");
    test::WriteFile(ro, "old");
    fs::permissions(ro, fs::perms::owner_read);
    EXPECT_FALSE(CanReplace(ro));
    EXPECT_FALSE(ReplaceFileAtomically(ro, "new"));
    EXPECT_EQ(test::ReadFile(ro), "old");
    EXPECT_TRUE(CanReplace(dir.File("new.ini")));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(PlatformTest, TempFolderFollowsTheEnvironment) {
    test::TempDir dir;
    test::ScopedTempFolder tmp(dir.path());
    const std::string temp = TempDirectory();
    EXPECT_EQ(temp.substr(0, temp.size() - 1), dir.path());
    EXPECT_TRUE(temp.back() == '/' || temp.back() == '\\');
#ifndef _WIN32
    test::SetEnv("TMPDIR", nullptr);
    EXPECT_EQ(TempDirectory(), "/tmp/");
#endif
}

}  // namespace
}  // namespace knitcfg::platform
