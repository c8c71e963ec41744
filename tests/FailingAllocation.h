#pragma once

// Test helper: makes one allocation through operator new fail, so that the
// paths that report "no memory" can be reached. Only where the test binary
// can replace the global operator new (not on Windows, where the C++ runtime
// lives in a DLL of its own).

namespace knitcfg::test {

// While the object lives, on this thread, the allocation that follows `skip`
// successful ones throws std::bad_alloc; later ones succeed again.
class FailingAllocation {
public:
    explicit FailingAllocation(int skip);
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;
    ~FailingAllocation();

    // Whether an allocation has been made to fail.
    bool Failed() const;

    // False where operator new cannot be replaced: tests then skip.
    static bool Supported();
};

}  // namespace knitcfg::test

// Skips the calling test where allocations cannot be made to fail.
#define KNITCFG_REQUIRE_FAILING_ALLOCATION()                                    \
    do {                                                                        \
        if (!::knitcfg::test::FailingAllocation::Supported()) {                 \
            GTEST_SKIP() << "operator new cannot be replaced on this platform"; \
        }                                                                       \
    } while (false)
