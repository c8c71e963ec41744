// Behaviour of the profile layer that the reference cases cannot show:
// freshness against other writers, failed writes, how a write reaches the
// disk, batches and concurrent use.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg::profile {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

std::string Get(const std::string& file, const char* section, const char* key) {
    char buf[512];
    GetString(section, key, "<none>", buf, sizeof buf, file.c_str());
    return buf;
}

// The file's identity: a new one after every replace by rename.
std::uint64_t Inode(const std::string& path) {
    platform::FileInfo info;
    platform::Stat(path, &info);
    return info.inode;
}

class ProfileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string file = dir.File("machine.ini");
};

// Every way another writer changes the file is seen by the next call.
TEST_F(ProfileTest, SeesChangesMadeByOthers) {
    WriteFile(file, "[A]\r\nk=1\r\n");
    EXPECT_EQ(Get(file, "A", "k"), "1");
    // Same size, rewritten in place, the old time put back: only the content tells.
    const auto time = fs::last_write_time(file);
    WriteFile(file, "[A]\r\nk=2\r\n");
    fs::last_write_time(file, time);
    EXPECT_EQ(Get(file, "A", "k"), "2");
    WriteFile(file + ".new", "[A]\r\nk=3\r\n");
    fs::rename(file + ".new", file);
    EXPECT_EQ(Get(file, "A", "k"), "3");
    fs::remove(file);
    EXPECT_EQ(Get(file, "A", "k"), "<none>");
    WriteFile(file, "[A]\r\nk=4\r\n");
    EXPECT_EQ(Get(file, "A", "k"), "4");
}

TEST_F(ProfileTest, FailedWritesLeaveFileAndCacheAsOnDisk) {
    WriteFile(file, "[A]\r\nk=1\r\n");
    EXPECT_EQ(Get(file, "A", "k"), "1");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WriteString("A", "k", "2", file.c_str()));
    EXPECT_FALSE(WriteSection("A", "x=1\0", file.c_str()));
    EXPECT_EQ(ReadFile(file), "[A]\r\nk=1\r\n");
    EXPECT_EQ(Get(file, "A", "k"), "1");

    const std::string missingFolder = dir.File("no/such/folder.ini");
    EXPECT_FALSE(WriteString("A", "k", "1", missingFolder.c_str()));
    EXPECT_FALSE(test::FileExists(missingFolder));
    const std::string folder = dir.File("folder.ini");
    fs::create_directory(folder);
    EXPECT_FALSE(WriteString("A", "k", "1", folder.c_str()));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(Get(folder, "A", "k"), "<none>");
    // Nothing is left behind beside the target.
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "machine.ini" || name == "folder.ini" || name == "no") << name;
    }
}

// A write outside a batch replaces the file at once (a new file renamed over
// it), through a link, keeping the file's mode; the value it already has
// leaves the file alone.
TEST_F(ProfileTest, WriteReplacesTheFileThroughLinksKeepingItsMode) {
    WriteFile(file, "[A]\r\nk=1\r\n");
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, mode);
    const auto before = Inode(file);
    ASSERT_TRUE(WriteString("A", "k", "2", file.c_str()));
    EXPECT_EQ(ReadFile(file), "[A]\r\nk=2\r\n");
    EXPECT_NE(Inode(file), before) << "written in place rather than by rename";
    const auto after = Inode(file);
    ASSERT_TRUE(WriteString("A", "k", "2", file.c_str()));
    EXPECT_EQ(Inode(file), after);

    const std::string link = dir.File("link.ini");
    std::error_code ec;
    fs::create_symlink("machine.ini", link, ec);
    if (ec) {
        GTEST_SKIP() << "symbolic links cannot be made here: " << ec.message();
    }
    ASSERT_TRUE(WriteString("A", "k", "3", link.c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(file), "[A]\r\nk=3\r\n");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, mode);
}

TEST_F(ProfileTest, BatchPersistsOnceAtItsEnd) {
    WriteFile(file, "[A]\r\nk=1\r\n");
    const auto before = Inode(file);
    {
        Batch batch(file.c_str());
        for (int i = 0; i < 200; ++i) {
            const std::string key = "k" + std::to_string(i);
            ASSERT_TRUE(WriteString("B", key.c_str(), "v", file.c_str()));
        }
        ASSERT_TRUE(WriteSection("C", "a=1\0b=2\0", file.c_str()));
        // Reads inside the batch see its writes; the disk does not yet.
        EXPECT_EQ(Get(file, "B", "k199"), "v");
        EXPECT_EQ(ReadFile(file), "[A]\r\nk=1\r\n");
        {
            Batch inner(file.c_str());
            ASSERT_TRUE(WriteString("A", "k", "2", file.c_str()));
            EXPECT_TRUE(inner.Commit());
        }
        EXPECT_EQ(Inode(file), before) << "an inner batch persisted";
    }
    const std::string text = ReadFile(file);
    EXPECT_EQ(text.substr(0, 21), "[A]\r\nk=2\r\n[B]\r\nk0=v\r\n");
    EXPECT_NE(text.find("k199=v\r\n[C]\r\na=1\r\nb=2\r\n"), std::string::npos);
}

TEST_F(ProfileTest, BatchCommitReportsAFailedPersist) {
    const std::string gone = dir.File("sub/x.ini");
    fs::create_directory(dir.File("sub"));
    Batch batch(gone.c_str());
    ASSERT_TRUE(WriteString("A", "k", "1", gone.c_str()));
    fs::remove_all(dir.File("sub"));
    std::string why;
    EXPECT_FALSE(batch.Commit(&why));
    EXPECT_FALSE(why.empty());
    // Afterwards the batch reads what the disk holds: nothing.
    EXPECT_EQ(Get(gone, "A", "k"), "<none>");
    // A target that cannot be written is refused at the first write.
    EXPECT_FALSE(WriteString("A", "k", "1", gone.c_str()));
}

// What the operations do with names that are empty or padded.
TEST_F(ProfileTest, NamelessSectionsAndKeysAreSkippedAndPaddedKeysTrimmed) {
    WriteFile(file, "[]\n=0\n[5]\n=1\n7=2\n");
    EXPECT_EQ(GetInt(nullptr, "x", -1, file.c_str()), 5);  // the first named section
    EXPECT_EQ(GetInt("5", nullptr, -1, file.c_str()), 7);  // its first named key
    char buffer[8] = "x";
    EXPECT_EQ(GetString(nullptr, nullptr, "d", buffer, sizeof buffer, nullptr), 0U);
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(WriteSection("s", "a=1\0", nullptr));
    EXPECT_FALSE(WriteSection("s", "a=1\0", ""));
    ASSERT_NE(WriteSection("s", "a  =1\0", file.c_str()), 0);
    EXPECT_EQ(Get(file, "s", "a"), "1");
}

TEST_F(ProfileTest, NullAndEmptyFileNamesAreHandled) {
    char buf[8] = "xxxxxxx";
    EXPECT_EQ(GetString("A", "k", "d", buf, sizeof buf, nullptr), 1u);
    EXPECT_STREQ(buf, "d");
    EXPECT_EQ(GetString("A", "k", "d", nullptr, 8, file.c_str()), 0u);
    EXPECT_EQ(GetInt("A", "k", 5, nullptr), 5);
    EXPECT_EQ(GetSection("A", buf, sizeof buf, nullptr), 0u);
    EXPECT_EQ(GetSectionNames(buf, sizeof buf, nullptr), 0u);
    EXPECT_FALSE(WriteString("A", "k", "v", nullptr));
    EXPECT_FALSE(WriteString("A", "k", "v", ""));
    Batch none(nullptr);
    EXPECT_FALSE(none.Commit());
}

TEST_F(ProfileTest, ManyThreadsReadAndWriteOneFile) {
    WriteFile(file, "[Shared]\r\ncount=0\r\n");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            const std::string section = "T" + std::to_string(t);
            for (int i = 0; i < 50; ++i) {
                const std::string key = "k" + std::to_string(i);
                EXPECT_TRUE(WriteString(section.c_str(), key.c_str(), "1", file.c_str()));
                EXPECT_EQ(GetInt("Shared", "count", -1, file.c_str()), 0);
            }
        });
    }
    for (auto& th : threads) {
        th.join();
    }
    // Every key of every thread is there: no write was lost.
    for (int t = 0; t < 4; ++t) {
        const std::string section = "T" + std::to_string(t);
        char keys[1024];
        const unsigned n = GetString(section.c_str(), nullptr, "", keys, sizeof keys, file.c_str());
        EXPECT_EQ(std::count(keys, keys + n, '\0'), 50) << section;
    }
}

TEST_F(ProfileTest, ManyFilesStayCorrectBeyondTheCache) {
    std::vector<std::string> files;
    for (int i = 0; i < 40; ++i) {
        files.push_back(dir.File("f" + std::to_string(i) + ".ini"));
        ASSERT_TRUE(WriteString("A", "n", std::to_string(i).c_str(), files.back().c_str()));
    }
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(GetInt("A", "n", -1, files[static_cast<std::size_t>(i)].c_str()), i);
    }
}

}  // namespace
}  // namespace knitcfg::profile
