#include "ChildProcess.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
extern char** environ;
#endif

namespace knitcfg::test {

namespace {

constexpr const char* kMarker = "--knitcfg-child";

std::string SelfPath() {
#ifdef _WIN32
    char buffer[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, n);
#else
    return "/proc/self/exe";
#endif
}

}  // namespace

ChildId StartChildTest(const std::string& suiteAndName, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {SelfPath(), "--gtest_filter=" + suiteAndName, kMarker};
    argv.insert(argv.end(), args.begin(), args.end());
#ifdef _WIN32
    std::string line;
    for (const std::string& a : argv) {
        line += "\"" + a + "\" ";
    }
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return kNoChild;
    }
    CloseHandle(pi.hThread);
    return reinterpret_cast<ChildId>(pi.hProcess);
#else
    std::vector<char*> raw;
    for (std::string& a : argv) {
        raw.push_back(a.data());
    }
    raw.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, raw[0], nullptr, nullptr, raw.data(), environ) != 0) {
        return kNoChild;
    }
    return static_cast<ChildId>(pid);
#endif
}

int WaitChildTest(ChildId child) {
    if (child == kNoChild) {
        return -1;
    }
#ifdef _WIN32
    HANDLE h = reinterpret_cast<HANDLE>(child);
    WaitForSingleObject(h, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(h, &code);
    CloseHandle(h);
    return static_cast<int>(code);
#else
    int status = 0;
    while (::waitpid(static_cast<pid_t>(child), &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

void KillChildTest(ChildId child) {
    if (child == kNoChild) {
        return;
    }
#ifdef _WIN32
    HANDLE h = reinterpret_cast<HANDLE>(child);
    TerminateProcess(h, 9);
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
#else
    ::kill(static_cast<pid_t>(child), SIGKILL);
    int status = 0;
    while (::waitpid(static_cast<pid_t>(child), &status, 0) < 0 && errno == EINTR) {
    }
#endif
}

std::vector<std::string> ChildArgs() {
    const std::vector<std::string> all = ::testing::internal::GetArgvs();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == kMarker) {
            return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                            all.end());
        }
    }
    return {};
}

}  // namespace knitcfg::test
