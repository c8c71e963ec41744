#pragma once

// Test helper: runs code in a forked child process, so that a test can
// change process-wide limits or run several savers at once.

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>

namespace knitcfg::test {

// Starts `body` in a child process, which exits with what it returns.
// Returns the child's id, or -1 when it could not be started.
inline pid_t StartChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(body());
    }
    return pid;
}

// Waits for the child and returns its exit status, or -1 when it did not
// exit normally (a crash, a signal) or was never started.
inline int WaitChild(pid_t pid) {
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

inline int RunInChild(const std::function<int()>& body) {
    return WaitChild(StartChild(body));
}

// Runs `body` in a child process whose files cannot grow beyond `bytes`, as
// on a full disk, and returns what it returned (-1 when it did not exit).
inline int RunWithFileSizeLimit(rlim_t bytes, const std::function<int()>& body) {
    return RunInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
        const struct rlimit limit { bytes, bytes };
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 255;
        }
        return body();
    });
}

}  // namespace knitcfg::test
