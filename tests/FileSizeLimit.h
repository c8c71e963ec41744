#pragma once

// Test helper: runs code in a child process whose files cannot grow beyond a
// given size, as on a full disk. Windows has no such per-process limit; there
// the tests that need it skip, saying why.

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
        const struct rlimit limit { bytes, bytes };
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

}  // namespace knitcfg::test

#endif
