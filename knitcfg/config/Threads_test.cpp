// Documents used on different threads at once: each thread loads, copies and
// saves its own document, and every result is what one thread alone gets.
// The library's shared state (the actuator prototypes, the profile cache,
// the saves' one temporary file) must keep them apart; the thread-sanitizer
// build checks that no data race is left.

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

TEST(ThreadsTest, DocumentsLoadAndSaveOnManyThreadsAtOnce) {
    test::TempDir dir;
    test::ScopedTempFolder tmp(dir.path());
    const std::vector<std::string> sources = {
        test::TestDataDir() + "/program/document.ini",
        test::TestDataDir() + "/program/color-mixed.ini",
        test::TestDataDir() + "/designs/tables.ini",
        test::TestDataDir() + "/config/full.ini",
    };
    // What one thread alone makes of each file.
    std::vector<std::string> expected;
    std::vector<RETERROR> codes;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        Configuration doc;
        codes.push_back(doc.LoadCFG(sources[i].c_str()));
        const std::string out = dir.File("expected" + std::to_string(i) + ".ini");
        doc.SaveCFG(out.c_str());
        expected.push_back(test::ReadFile(out));
    }

    constexpr int kThreads = 4;
    constexpr int kRounds = 15;
    std::vector<std::string> failures(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                const std::size_t i = static_cast<std::size_t>(t + round) % sources.size();
                Configuration doc;
                if (doc.LoadCFG(sources[i].c_str()) != codes[i]) {
                    failures[t] = "load code of " + sources[i];
                    return;
                }
                const std::string out =
                    dir.File("t" + std::to_string(t) + "-" + std::to_string(round) + ".ini");
                Configuration saved(doc);
                saved.SaveCFG(out.c_str());
                if (test::ReadFile(out) != expected[i]) {
                    failures[t] = "saved text of " + sources[i];
                    return;
                }
            }
        });
    }
    for (std::thread& th : threads) {
        th.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(failures[t], "") << "thread " << t;
    }
}

}  // namespace
}  // namespace knitcfg
