#include "ChildProcess.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>

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

#ifndef _WIN32
constexpr const char* kSetpriv[] = {"/usr/bin/setpriv", "/bin/setpriv"};

// The binary's own path: "/proc/self/exe" would name setpriv once it runs.
std::string RealSelfPath() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

const char* Setpriv() {
    for (const char* path : kSetpriv) {
        if (::access(path, X_OK) == 0) {
            return path;
        }
    }
    return nullptr;
}
#endif

ChildId Start(std::vector<std::string> argv);

}  // namespace

bool CanStartChildAsUser(std::string* whyNot) {
#ifdef _WIN32
    *whyNot = "Windows has no numeric users to switch to";
    return false;
#else
    if (::geteuid() != 0) {
        *whyNot = "only root can run a child as another user";
        return false;
    }
    if (Setpriv() == nullptr) {
        *whyNot = "setpriv is not installed";
        return false;
    }
    // Every folder on the way to the binary must let others through.
    std::string path = RealSelfPath();
    while (!path.empty()) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0) {
            *whyNot = "other users may not run " + RealSelfPath() + " (" + path + ")";
            return false;
        }
        path.resize(path.find_last_of('/'));
    }
    return true;
#endif
}

ChildId StartChildTestAs(unsigned uid, const std::string& suiteAndName,
                         const std::vector<std::string>& args) {
#ifdef _WIN32
    static_cast<void>(uid);
    static_cast<void>(suiteAndName);
    static_cast<void>(args);
    return kNoChild;
#else
    const char* setpriv = Setpriv();
    if (setpriv == nullptr) {
        return kNoChild;
    }
    const std::string id = std::to_string(uid);
    std::vector<std::string> argv = {setpriv, "--reuid=" + id, "--regid=" + id, "--clear-groups",
                                     RealSelfPath(), "--gtest_filter=" + suiteAndName, kMarker};
    argv.insert(argv.end(), args.begin(), args.end());
    return Start(std::move(argv));
#endif
}

ChildId StartChildTest(const std::string& suiteAndName, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {SelfPath(), "--gtest_filter=" + suiteAndName, kMarker};
    argv.insert(argv.end(), args.begin(), args.end());
    return Start(std::move(argv));
}

namespace {

ChildId Start(std::vector<std::string> argv) {
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

}  // namespace

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
