// Saves among several users, names planted in the temporary folder, files
// that are no regular file, and the reasons failures give.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "FileSizeLimit.h"
#include "TestUtil.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {
namespace {

namespace fs = std::filesystem;

// Two users without accounts, for the children run as someone else.
constexpr unsigned kUserA = 54321;
constexpr unsigned kUserB = 54322;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

#ifndef _WIN32
// A temporary folder shared by everyone, as /tmp is: open to all, sticky.
void MakeShared(const std::string& path) {
    fs::permissions(path, fs::perms::all | fs::perms::sticky_bit);
}
#endif

// Each user saves through the same shared temporary folder, one after the
// other, in both orders, and the parent (root) last: nobody's files stand in
// anybody's way. A user may not write into someone else's folder: the save
// gives 63 and says so.
TEST(ConfigurationSafetyTest, UsersSharingATemporaryFolder) {
    std::string whyNot;
    if (!test::CanStartChildAsUser(&whyNot)) {
        GTEST_SKIP() << whyNot;
    }
#ifndef _WIN32
    for (const unsigned first : {kUserA, kUserB}) {
        test::TempDir dir;
        MakeShared(dir.path());
        test::ScopedTempFolder tmp(dir.path());
        for (const unsigned uid : {first, kUserA + kUserB - first}) {
            const std::string target = dir.File("m" + std::to_string(uid) + ".ini");
            const std::string machine = "KM-" + std::to_string(uid);
            EXPECT_EQ(test::WaitChildTest(test::StartChildTestAs(
                          uid, "ConfigurationSafetyChild.Saves", {target, machine, "0", ""})),
                      0)
                << "user " << uid << " after " << first;
            Configuration check;
            EXPECT_EQ(check.LoadCFG(target.c_str()), RE_SUCCESS);
            EXPECT_EQ(check.HeaderGetMachineType(), machine);
        }
        Configuration doc("KM-root", 1, 0, 4);
        EXPECT_EQ(doc.SaveCFG(dir.File("root.ini").c_str()), RE_SUCCESS) << doc.GetLastErrorText();
        const std::string closed = dir.File("closed");
        fs::create_directory(closed);
        fs::permissions(closed, fs::perms::owner_all);
        const std::string target = closed + "/m.ini";
        EXPECT_EQ(test::WaitChildTest(test::StartChildTestAs(
                      first, "ConfigurationSafetyChild.Saves",
                      {target, "KM-A", "63", "saving " + target + ": permission denied"})),
                  0);
        EXPECT_FALSE(test::FileExists(target));
    }
#endif
}

// The child of the tests above: saves a document of machine type args[1] to
// args[0], expects the code args[2] and an error text holding args[3].
TEST(ConfigurationSafetyChild, Saves) {
    const std::vector<std::string> args = test::ChildArgs();
    if (args.size() != 4) {
        GTEST_SKIP() << "runs only as a child of a save test";
    }
    Configuration doc(args[1].c_str(), 1, 0, 4);
    EXPECT_EQ(doc.SaveCFG(args[0].c_str()), std::stoi(args[2])) << doc.GetLastErrorText();
    EXPECT_TRUE(Contains(doc.GetLastErrorText(), args[3])) << doc.GetLastErrorText();
    EXPECT_EQ(doc.GetLastErrorText().empty(), args[3].empty());
}

// Names planted where the saves keep their temporary files: each is refused
// with its reason, or passed by, and nothing is written through a link. As
// root, what is planted is handed to another user, as that user would leave it.
TEST(ConfigurationSafetyTest, PlantedNamesAreRefusedOrPassedByNeverFollowed) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX links, modes and owners";
#else
    const bool root = ::geteuid() == 0;
    const std::string own = test::PrivateTempFolderName();
    struct Case {
        std::string plant;   // the planted name, inside the shared folder
        int kind;            // 0 link to the victim folder, 1 link to the victim file,
                             // 2 folder open to all, 3 plain file, 4 folder of another user
        std::string reason;  // in the save's error text; none when the save works
    } const cases[] = {
        {own, 0, "is a symbolic link"},
        {own, 2, "is open to other users"},
        {own, 3, "is not a folder"},
        {own, 4, "belongs to another user"},
        {own + "/Voz16.tmp.lock", 1, "symbolic link"},
        {"Voz16.tmp", 1, ""},  // the old shared names
        {"Voz16.tmp.lock", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plant + " " + c.reason);
        if (c.kind == 4 && !root) {
            continue;
        }
        test::TempDir dir;
        MakeShared(dir.path());
        test::ScopedTempFolder tmp(dir.path());
        const std::string victimFolder = dir.File("victim");
        fs::create_directory(victimFolder);
        const std::string victim = dir.File("victim.txt");
        test::WriteFile(victim, "precious");
        if (Contains(c.plant, "/")) {
            fs::create_directory(dir.File(own));
            fs::permissions(dir.File(own), fs::perms::owner_all);
        }
        const std::string planted = dir.File(c.plant);
        if (c.kind == 0 || c.kind == 1) {
            fs::create_symlink(c.kind == 0 ? victimFolder : victim, planted);
        } else if (c.kind == 3) {
            test::WriteFile(planted, "");
        } else {
            fs::create_directory(planted);
            fs::permissions(planted, c.kind == 2 ? fs::perms::all : fs::perms::owner_all);
        }
        // Links and the foreign folder come from another user; the other
        // shapes the user's own, so that only the shape is wrong.
        if (root && (c.kind == 0 || c.kind == 4 || (c.kind == 1 && !Contains(c.plant, "/")))) {
            ASSERT_EQ(::lchown(planted.c_str(), kUserA, kUserA), 0);
        }
        Configuration doc("KM-400", 1, 0, 4);
        const std::string target = dir.File("m.ini");
        EXPECT_EQ(doc.SaveCFG(target.c_str()), c.reason.empty() ? RE_SUCCESS : RE_FILE_REPLACE);
        const std::string text = doc.GetLastErrorText();
        EXPECT_TRUE(Contains(text, c.reason) &&
                    Contains(text, c.reason.empty() ? "" : "saving " + target + ": "))
            << text;
        EXPECT_EQ(test::FileExists(target), c.reason.empty());
        EXPECT_EQ(test::ReadFile(victim), "precious");
        EXPECT_TRUE(fs::is_empty(victimFolder));
    }
#endif
}

// A pipe or a device is no configuration: a load gives 62 at once and says
// what the path is, and a profile call gives its missing-file result.
TEST(ConfigurationSafetyTest, PipesAndDevicesAnswerAtOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "no pipes in the file system, no /dev/zero";
#else
    test::TempDir dir;
    const std::string fifo = dir.File("pipe.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {fifo, "is a pipe, not a regular file"}, {"/dev/zero", "is a device, not a regular file"}};
    for (const auto& [path, reason] : cases) {
        const auto load = [&, &path = path, &reason = reason] {
            Configuration doc;
            const bool refused = doc.LoadCFG(path.c_str()) == RE_FILE_UNREADABLE &&
                                 doc.GetLastErrorText() == "loading " + path + ": " + reason;
            return refused && profile::GetInt("Header", "Version", -1, path.c_str()) == -1 ? 0 : 1;
        };
        EXPECT_EQ(test::RunWithWatchdog(20, load), 0) << path;
    }
#endif
}

}  // namespace
}  // namespace knitcfg
