#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "knitcfg/common/Platform.h"

namespace knitcfg::platform {

namespace {

void FillInfo(const struct stat& st, FileInfo* info) {
    info->exists = true;
    info->isDirectory = S_ISDIR(st.st_mode);
    // Read-only as the platform sees it: no write bit at all, or (for an
    // unprivileged process) no write access.
    info->readOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    info->size = static_cast<std::uint64_t>(st.st_size);
    info->mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL +
                    static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    info->device = static_cast<std::uint64_t>(st.st_dev);
    info->inode = static_cast<std::uint64_t>(st.st_ino);
}

int RetryClose(int fd) {
    return ::close(fd);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string DirName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file that a write to `path` must replace: the final target of a chain
// of symbolic links, so that the link itself survives the rename.
std::string ResolveWriteTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return current;
        }
        std::string target(static_cast<std::size_t>(PATH_MAX), '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0) {
            return current;
        }
        target.resize(static_cast<std::size_t>(n));
        current = target[0] == '/' ? target : DirName(current) + "/" + target;
    }
    return current;
}

void SyncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        RetryClose(fd);
    }
}

// A name for a new file beside `target` that no other writer uses: process
// id, a per-process counter and the time keep concurrent writers apart.
std::string SiblingTempName(const std::string& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    char suffix[96];
    std::snprintf(suffix, sizeof suffix, ".tmp%ld.%u.%lx", static_cast<long>(::getpid()),
                  counter.fetch_add(1) + attempt, static_cast<unsigned long>(NowNs() & 0xFFFFFFFF));
    return DirName(target) + "/." + BaseName(target) + suffix;
}

}  // namespace

bool Stat(const std::string& path, FileInfo* info) {
    *info = FileInfo{};
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return false;
    }
    FillInfo(st, info);
    return true;
}

ReadStatus ReadWholeFile(const std::string& path, std::string* bytes, FileInfo* info) {
    *info = FileInfo{};
    bytes->clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ReadStatus::kMissing : ReadStatus::kError;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        RetryClose(fd);
        return ReadStatus::kError;
    }
    FillInfo(st, info);
    bytes->resize(static_cast<std::size_t>(st.st_size));
    std::size_t have = 0;
    for (;;) {
        if (have == bytes->size()) {
            // The file may have grown since fstat: read on until the end.
            bytes->resize(have + 65536);
        }
        const ssize_t n = ::read(fd, bytes->data() + have, bytes->size() - have);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            RetryClose(fd);
            bytes->clear();
            return ReadStatus::kError;
        }
        if (n == 0) {
            break;
        }
        have += static_cast<std::size_t>(n);
    }
    bytes->resize(have);
    // The info must describe the bytes read: take it again after reading.
    if (::fstat(fd, &st) == 0) {
        FillInfo(st, info);
    }
    RetryClose(fd);
    return ReadStatus::kOk;
}

bool StatForReading(const std::string& path, FileInfo* info) {
    *info = FileInfo{};
    // O_NONBLOCK: opening a pipe for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (RetryClose(fd) != 0 || !regular) {
        return false;
    }
    FillInfo(st, info);
    return true;
}

std::int64_t NowNs() {
    struct timespec ts {};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string target = ResolveWriteTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) {
            return false;
        }
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
            ::access(target.c_str(), W_OK) != 0) {
            return false;
        }
    }
    std::string temp;
    int fd = -1;
    for (unsigned attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = SiblingTempName(target, attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return false;
        }
    }
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, bytes.data(), bytes.size());
    if (ok && exists) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
        // Keeping the owner needs privileges; a file that cannot keep it
        // still gets the new content.
        if (ok && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
            [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        }
    }
    ok = ok && ::fsync(fd) == 0;
    ok = RetryClose(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncDirectory(DirName(target));
    return true;
}

bool CanReplace(const std::string& path) {
    const std::string target = ResolveWriteTarget(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
            ::access(target.c_str(), W_OK) != 0) {
            return false;
        }
    }
    const std::string dir = DirName(target);
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(dir.c_str(), W_OK | X_OK) == 0;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

std::string TempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    std::string out = (dir != nullptr && *dir != '\0') ? dir : "/tmp";
    if (out.back() != '/') {
        out += '/';
    }
    return out;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileLock::Acquire(const std::string& path, bool wait) {
    Unlock();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        RetryClose(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

void FileLock::Unlock() {
    if (handle_ != kNoHandle) {
        ::flock(static_cast<int>(handle_), LOCK_UN);
        RetryClose(static_cast<int>(handle_));
        handle_ = kNoHandle;
    }
}

}  // namespace knitcfg::platform
