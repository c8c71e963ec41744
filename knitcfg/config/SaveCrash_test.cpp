// A save killed at any moment leaves the target holding one whole
// configuration, the old or the new, and the next save works.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "TestUtil.h"
#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

// A document bound to `path` whose file differs with `letter` and takes a
// while to write.
Configuration MakeDocument(char letter, const std::string& path) {
    Configuration doc(std::string("KM-").append(1, letter).c_str(), 3, 1, 8);
    doc.HeaderSetDescription(std::string(200000, letter).c_str());
    doc.SetPathName(path.c_str());
    return doc;
}

// A child saves documents 'b' and 'a' in turn over a file that holds more
// than they own, and is killed at a random point of about two save cycles:
// each time the target holds one whole file, the old or the new (with what
// they do not own, when preserving), and the next save works.
TEST(SaveCrashTest, KilledSavesLeaveAWholeOldOrNewTarget) {
    for (const SaveMode mode : {SaveMode::Rewrite, SaveMode::Preserve}) {
        const bool preserve = mode == SaveMode::Preserve;
        test::TempDir dir;
        test::ScopedTempFolder tmp(dir.path());
        const std::string target = dir.File("machine.ini");
        const std::string started = dir.File("started");
        const std::string kept = "; kept by the technicians\r\n[Notes]\r\nLast=2026-11-02\r\n";
        test::WriteFile(target, kept);
        Configuration a = MakeDocument('a', target);
        Configuration b = MakeDocument('b', target);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(b.SaveCFG(target.c_str(), mode), RE_SUCCESS);
        const std::string textB = test::ReadFile(target);
        ASSERT_EQ(a.SaveCFG(target.c_str(), mode), RE_SUCCESS);
        const std::string textA = test::ReadFile(target);
        EXPECT_EQ(textA.rfind(kept, 0) == 0, preserve);
        const auto cycle = std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::steady_clock::now() - start)
                               .count();
        std::mt19937 rng(preserve ? 20261206 : 20261205);
        for (int round = 0; round < (preserve ? 25 : 50) && !HasFailure(); ++round) {
            SCOPED_TRACE(round);
            const test::ChildId child =
                test::StartChildTest("SaveCrashChild.SavesForever",
                                     {target, started, preserve ? "preserve" : "rewrite"});
            ASSERT_NE(child, test::kNoChild);
            while (!test::FileExists(started)) {
                std::this_thread::yield();
            }
            std::this_thread::sleep_for(
                std::chrono::microseconds(rng() % static_cast<unsigned>(2 * cycle + 1)));
            test::KillChildTest(child);
            std::remove(started.c_str());
            const std::string now = test::ReadFile(target);
            EXPECT_TRUE(now == textA || now == textB) << "a torn target";
            Configuration check;
            EXPECT_EQ(check.LoadCFG(target.c_str()), RE_SUCCESS);
            EXPECT_EQ(a.SaveCFG(target.c_str(), mode), RE_SUCCESS);
            EXPECT_TRUE(test::ReadFile(target) == textA);
        }
    }
}

// The child of the kill test: saves two documents in turn until killed.
TEST(SaveCrashChild, SavesForever) {
    const std::vector<std::string> args = test::ChildArgs();
    if (args.size() != 3) {
        GTEST_SKIP() << "runs only as a child of a crash test";
    }
    const SaveMode mode = args[2] == "preserve" ? SaveMode::Preserve : SaveMode::Rewrite;
    Configuration a = MakeDocument('a', args[0]);
    Configuration b = MakeDocument('b', args[0]);
    test::WriteFile(args[1], "started");
    for (;;) {
        ASSERT_EQ(b.SaveCFG(args[0].c_str(), mode), RE_SUCCESS);
        ASSERT_EQ(a.SaveCFG(args[0].c_str(), mode), RE_SUCCESS);
    }
}

// Another saver holding the saves' lock: the save waits its turn, then writes
// a complete target, and leaves no temporary file behind.
TEST(SaveCrashTest, SaveWaitsForAnotherSaverHoldingTheTemporaryFile) {
    test::TempDir dir;
    test::ScopedTempFolder tmp(dir.path());
    const std::string target = dir.File("machine.ini");
    const std::string held = dir.File("held");
    const std::string released = dir.File("released");
    const test::ChildId child =
        test::StartChildTest("SaveCrashChild.HoldsTheSaveLock", {held, released});
    ASSERT_NE(child, test::kNoChild);
    while (!test::FileExists(held)) {
        std::this_thread::yield();
    }
    Configuration doc = MakeDocument('a', "");
    EXPECT_EQ(doc.SaveCFG(target.c_str()), RE_SUCCESS);
    EXPECT_TRUE(test::FileExists(released));  // the child let go first
    EXPECT_EQ(test::WaitChildTest(child), 0);
    Configuration check;
    EXPECT_EQ(check.LoadCFG(target.c_str()), RE_SUCCESS);
    EXPECT_EQ(check.HeaderGetMachineType(), "KM-a");
    EXPECT_FALSE(test::FileExists(dir.File(test::PrivateTempFolderName() + "/Voz16.tmp")));
}

// The child of the lock test: takes the saves' lock, says so, holds it a
// while, and says when it lets go.
TEST(SaveCrashChild, HoldsTheSaveLock) {
    const std::vector<std::string> args = test::ChildArgs();
    if (args.size() != 2) {
        GTEST_SKIP() << "runs only as a child of a save test";
    }
    platform::FileLock lock;
    std::string folder;
    ASSERT_TRUE(platform::PrivateTempDirectory(&folder));
    ASSERT_TRUE(lock.Lock(folder + "Voz16.tmp.lock"));
    test::WriteFile(args[0], "held");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    test::WriteFile(args[1], "released");
    lock.Unlock();
}

}  // namespace
}  // namespace knitcfg
