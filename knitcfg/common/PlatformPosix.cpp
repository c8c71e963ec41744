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

#include "knitcfg/common/detail/AsciiCase.h"
#include "knitcfg/common/detail/Platform.h"

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

// Fills `why` (when asked) with `text`, or with the message of `code`; false,
// for the failing caller to return.
bool Fail(std::string* why, int code, const char* text = nullptr) {
    if (why != nullptr) {
        *why = text != nullptr ? std::string(text) : SystemMessage(static_cast<unsigned long>(code));
    }
    return false;
}

// Why an existing file of mode `mode` is no file to read or replace.
const char* NotRegularReason(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "is a folder";
    }
    if (S_ISFIFO(mode)) {
        return "is a pipe, not a regular file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "is a device, not a regular file";
    }
    if (S_ISSOCK(mode)) {
        return "is a socket, not a regular file";
    }
    return "is not a regular file";
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

std::string SystemMessage(unsigned long code) {
    std::string text = std::strerror(static_cast<int>(code));
    if (!text.empty() && (text.size() < 2 || detail::IsAsciiLower(text[1]))) {
        text[0] = detail::LowerAscii(text[0]);
    }
    return text;
}

ReadStatus ReadWholeFile(const std::string& path, std::string* bytes, FileInfo* info,
                         std::string* why, bool followLinks) {
    *info = FileInfo{};
    bytes->clear();
    // O_NONBLOCK: opening a pipe would otherwise wait for a writer. It changes
    // nothing for the regular files that are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK |
                                            (followLinks ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        const int e = errno;
        if (e == ENOENT || e == ENOTDIR) {
            Fail(why, e, "no such file");
            return ReadStatus::kMissing;
        }
        Fail(why, e, e == ELOOP && !followLinks ? "is a symbolic link" : nullptr);
        return ReadStatus::kError;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Fail(why, errno, NotRegularReason(st.st_mode));
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
            Fail(why, errno);
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

bool StatForReading(const std::string& path, FileInfo* info, std::string* why) {
    *info = FileInfo{};
    // O_NONBLOCK: opening a pipe for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return Fail(why, errno, errno == ENOENT || errno == ENOTDIR ? "no such file" : nullptr);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        Fail(why, errno);
        RetryClose(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        RetryClose(fd);
        return Fail(why, 0, NotRegularReason(st.st_mode));
    }
    if (RetryClose(fd) != 0) {
        return Fail(why, errno);
    }
    FillInfo(st, info);
    return true;
}

std::int64_t NowNs() {
    struct timespec ts {};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

namespace {

// Why the existing file `target`, described by `st`, may not be replaced:
// null when it may. Root may write any file, so a file without any write bit
// counts as read-only for everyone.
const char* RefusalReason(const std::string& target, const struct stat& st, int* code) {
    *code = 0;
    if (!S_ISREG(st.st_mode)) {
        return NotRegularReason(st.st_mode);
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return "the file is read-only";
    }
    // The file itself, not only its folder: a file of another user in a
    // folder open to all may be renamed over, but not written.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        *code = errno;
        return "";
    }
    return nullptr;
}

// Gives the new file `fd` the owner, group and mode of the file it replaces.
// An owner that cannot be kept is let go (only root may give a file away);
// a group that cannot be kept refuses the write, since the file could become
// readable by a group that could not read it before.
bool KeepOwnerAndMode(int fd, const struct stat& old, std::string* why) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        return Fail(why, errno);
    }
    if (made.st_uid != old.st_uid || made.st_gid != old.st_gid) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            if (errno != EPERM || ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
                return Fail(why, errno, errno == EPERM ? "cannot keep the file's group" : nullptr);
            }
        }
    }
    // After fchown, which clears the set-id bits.
    return ::fchmod(fd, old.st_mode & 07777) == 0 || Fail(why, errno);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string* why) {
    const std::string target = ResolveWriteTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        int code = 0;
        if (const char* reason = RefusalReason(target, old, &code)) {
            return Fail(why, code, *reason != '\0' ? reason : nullptr);
        }
    }
    std::string temp;
    int fd = -1;
    for (unsigned attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = SiblingTempName(target, attempt);
        // Created for the user alone; the target's mode is given once the
        // content is in.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) {
            return Fail(why, errno);
        }
    }
    if (fd < 0) {
        return Fail(why, EEXIST);
    }
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) || Fail(why, errno);
    ok = ok && (!exists || KeepOwnerAndMode(fd, old, why));
    ok = ok && (::fsync(fd) == 0 || Fail(why, errno));
    ok = (RetryClose(fd) == 0 || Fail(why, errno)) && ok;
    ok = ok && (::rename(temp.c_str(), target.c_str()) == 0 || Fail(why, errno));
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
    int code = 0;
    if (::stat(target.c_str(), &st) == 0 && RefusalReason(target, st, &code) != nullptr) {
        return false;
    }
    const std::string dir = DirName(target);
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(dir.c_str(), W_OK | X_OK) == 0;
}

bool RemoveFile(const std::string& path, std::string* why) {
    return ::unlink(path.c_str()) == 0 || Fail(why, errno);
}

std::string TempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    std::string out = (dir != nullptr && *dir != '\0') ? dir : "/tmp";
    if (out.back() != '/') {
        out += '/';
    }
    return out;
}

bool PrivateTempDirectory(std::string* dir, std::string* why) {
    const std::string path = TempDirectory() + "knitcfg-" + std::to_string(::geteuid());
    struct stat st {};
    // lstat, not stat: a link planted at the name by another user must not
    // lead the saves into a folder of that user's choosing.
    if ((::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) || ::lstat(path.c_str(), &st) != 0) {
        if (why != nullptr) {
            *why = "the temporary folder " + path + ": " + SystemMessage(static_cast<unsigned long>(errno));
        }
        return false;
    }
    const char* problem = nullptr;
    if (S_ISLNK(st.st_mode)) {
        problem = "is a symbolic link";
    } else if (!S_ISDIR(st.st_mode)) {
        problem = "is not a folder";
    } else if (st.st_uid != ::geteuid()) {
        problem = "belongs to another user";
    } else if ((st.st_mode & 077) != 0) {
        problem = "is open to other users";
    }
    if (problem != nullptr) {
        if (why != nullptr) {
            *why = "the temporary folder " + path + " " + problem +
                   ", so it is not used (remove it, or point TMPDIR at another folder)";
        }
        return false;
    }
    *dir = path + "/";
    return true;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileLock::Acquire(const std::string& path, bool wait, std::string* why) {
    Unlock();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return Fail(why, errno, errno == ELOOP ? "the lock file is a symbolic link" : nullptr);
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        Fail(why, errno);
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
