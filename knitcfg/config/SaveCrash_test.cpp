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

// A document whose file differs with `letter` and takes a while to write.
Configuration MakeDocument(char letter) {
    Configuration doc(std::string("KM-").append(1, letter).c_str(), 3, 1, 8);
    doc.HeaderSetDescription(std::string(200000, letter).c_str());
    return doc;
}

// Kills a child that saves two documents over `target` in turn, with
// `mode`, at random points of about two save cycles, `rounds` times: each
// time the target holds one whole file, the old or the new, and the next
// save works. Returns the text of document 'a'.
std::string KillSavesMidway(SaveMode mode, const test::TempDir& dir, const std::string& target,
                            unsigned seed, int rounds) {
    // The two complete files the target may hold.
    Configuration a = MakeDocument('a');
    Configuration b = MakeDocument('b');
    a.SetPathName(target.c_str());
    b.SetPathName(target.c_str());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(b.SaveCFG(target.c_str(), mode), RE_SUCCESS);
    const std::string textB = test::ReadFile(target);
    EXPECT_EQ(a.SaveCFG(target.c_str(), mode), RE_SUCCESS);
    const std::string textA = test::ReadFile(target);
    const auto cycle = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    const std::string modeArg = mode == SaveMode::Preserve ? "preserve" : "rewrite";
    std::mt19937 rng(seed);
    for (int round = 0; round < rounds && !::testing::Test::HasFailure(); ++round) {
        const test::ChildId child = test::StartChildTest("SaveCrashChild.SavesForever",
                                                         {target, dir.File("started"), modeArg});
        if (child == test::kNoChild) {
            ADD_FAILURE() << "the saving child did not start";
            break;
        }
        while (!test::FileExists(dir.File("started"))) {
            std::this_thread::yield();
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(rng() % static_cast<unsigned>(2 * cycle + 1)));
        test::KillChildTest(child);
        std::remove(dir.File("started").c_str());

        const std::string now = test::ReadFile(target);
        EXPECT_TRUE(now == textA || now == textB) << "round " << round << ": a torn target";
        // Whatever the killed save left behind, the next one works.
        Configuration check;
        EXPECT_EQ(check.LoadCFG(target.c_str()), RE_SUCCESS) << "round " << round;
        EXPECT_EQ(a.SaveCFG(target.c_str(), mode), RE_SUCCESS) << "round " << round;
        EXPECT_TRUE(test::ReadFile(target) == textA) << "round " << round;
    }
    return textA;
}

// With preserving saves over a file that holds more than the documents, the
// target is still whole, and what they do not own stays.
TEST(SaveCrashTest, KilledSavesLeaveAWholeOldOrNewTarget) {
    for (const SaveMode mode : {SaveMode::Rewrite, SaveMode::Preserve}) {
        test::TempDir dir;
        test::ScopedTempFolder tmp(dir.path());
        const std::string target = dir.File("machine.ini");
        const std::string kept = "; kept by the technicians\r\n[Notes]\r\nLast=2026-11-02\r\n";
        test::WriteFile(target, kept);
        const bool preserve = mode == SaveMode::Preserve;
        const std::string textA =
            KillSavesMidway(mode, dir, target, preserve ? 20261206 : 20261205, preserve ? 25 : 50);
        EXPECT_EQ(textA.rfind(kept, 0) == 0, preserve);
    }
}

// Another saver holding the temporary file: the save waits its turn, then
// writes a complete target, and the file is not left behind.
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
    Configuration doc = MakeDocument('a');
    EXPECT_EQ(doc.SaveCFG(target.c_str()), RE_SUCCESS);
    // The child let go before the save could go on.
    EXPECT_TRUE(test::FileExists(released));
    EXPECT_EQ(test::WaitChildTest(child), 0);
    Configuration check;
    EXPECT_EQ(check.LoadCFG(target.c_str()), RE_SUCCESS);
    EXPECT_EQ(check.HeaderGetMachineType(), "KM-a");
    EXPECT_FALSE(test::FileExists(dir.File(test::PrivateTempFolderName() + "/Voz16.tmp")));
}

// The child of the lock test above: takes the saves' lock, says so, holds it a
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

// The child of the kill tests: saves two documents in turn until killed.
TEST(SaveCrashChild, SavesForever) {
    const std::vector<std::string> args = test::ChildArgs();
    if (args.size() != 3) {
        GTEST_SKIP() << "runs only as a child of a crash test";
    }
    const SaveMode mode = args[2] == "preserve" ? SaveMode::Preserve : SaveMode::Rewrite;
    Configuration a = MakeDocument('a');
    Configuration b = MakeDocument('b');
    a.SetPathName(args[0].c_str());
    b.SetPathName(args[0].c_str());
    test::WriteFile(args[1], "started");
    for (;;) {
        ASSERT_EQ(b.SaveCFG(args[0].c_str(), mode), RE_SUCCESS);
        ASSERT_EQ(a.SaveCFG(args[0].c_str(), mode), RE_SUCCESS);
    }
}

}  // namespace
}  // namespace knitcfg
