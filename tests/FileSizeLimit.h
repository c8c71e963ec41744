#pragma once

// Test helpers: run code in a forked child process under a limit: files that
// cannot grow beyond a given size, as on a full disk, or a watchdog that ends
// a call that hangs. Windows has neither; there the tests that need them
// skip, saying why.

#include <functional>

#ifdef _WIN32

#define KNITCFG_REQUIRE_FILE_SIZE_LIMIT() \
    GTEST_SKIP() << "Windows has no per-process file-size limit to simulate a full disk"

#else

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#define KNITCFG_REQUIRE_FILE_SIZE_LIMIT() static_cast<void>(0)

namespace knitcfg::test {

// Runs `body` in a forked child whose files cannot grow beyond `bytes`, and
// returns what it returned (-1 when it did not exit normally).
inline int RunWithFileSizeLimit(rlim_t bytes, const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
        // No more than the hard limit this process inherited: raising it
        // needs privileges that a test runner may have dropped.
        struct rlimit inherited {};
        ::getrlimit(RLIMIT_FSIZE, &inherited);
        const rlim_t allowed = bytes < inherited.rlim_max ? bytes : inherited.rlim_max;
        const struct rlimit limit { allowed, allowed };
        ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) != 0 ? 255 : body());
    }
    if (pid < 0) {
        return -1;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs `body` in a forked child that is killed after `seconds`, so that a
// call that hangs fails the test instead of stopping the run; returns what
// `body` returned (-1 when it was killed or did not exit normally).
inline int RunWithWatchdog(unsigned seconds, const std::function<int()>& body) {
    return RunWithFileSizeLimit(RLIM_INFINITY, [&] {
        std::signal(SIGALRM, SIG_DFL);
        ::alarm(seconds);
        return body();
    });
}

}  // namespace knitcfg::test

#endif
