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

// The load's code and the saved text of testdata/`source`, the copy saved
// to `out`.
std::string LoadCopyAndSave(const std::string& source, const std::string& out) {
    Configuration doc;
    const RETERROR code = doc.LoadCFG((test::TestDataDir() + "/" + source).c_str());
    Configuration(doc).SaveCFG(out.c_str());
    return std::to_string(code) + test::ReadFile(out);
}

TEST(ThreadsTest, DocumentsLoadAndSaveOnManyThreadsAtOnce) {
    test::TempDir dir;
    test::ScopedTempFolder tmp(dir.path());
    const std::string sources[] = {"program/document.ini", "program/color-mixed.ini",
                                   "designs/tables.ini", "config/full.ini"};
    std::vector<std::string> expected;  // what one thread alone makes of each
    for (const std::string& source : sources) {
        expected.push_back(LoadCopyAndSave(source, dir.File("expected.ini")));
    }
    std::vector<std::string> failures(4);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < failures.size(); ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t round = 0; round < 15 && failures[t].empty(); ++round) {
                const std::size_t i = (t + round) % expected.size();
                if (LoadCopyAndSave(sources[i], dir.File("t" + std::to_string(t) + ".ini")) !=
                    expected[i]) {
                    failures[t] = sources[i];
                }
            }
        });
    }
    for (std::size_t t = 0; t < threads.size(); ++t) {
        threads[t].join();
        EXPECT_EQ(failures[t], "") << "thread " << t;
    }
}

}  // namespace
}  // namespace knitcfg
