// The operating-system seam on Windows, with the Win32 API only.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "knitcfg/common/Platform.h"

namespace knitcfg::platform {

namespace {

// FILETIME counts 100 ns from 1601; FileInfo counts ns from 1970.
constexpr std::int64_t kEpochDifference100ns = 116444736000000000LL;

std::int64_t ToNs(const FILETIME& ft) {
    const std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    return (ticks - kEpochDifference100ns) * 100;
}

void FillInfo(const BY_HANDLE_FILE_INFORMATION& fi, FileInfo* info) {
    info->exists = true;
    info->isDirectory = (fi.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info->readOnly = (fi.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    info->size = (static_cast<std::uint64_t>(fi.nFileSizeHigh) << 32) | fi.nFileSizeLow;
    info->mtimeNs = ToNs(fi.ftLastWriteTime);
    info->device = fi.dwVolumeSerialNumber;
    info->inode = (static_cast<std::uint64_t>(fi.nFileIndexHigh) << 32) | fi.nFileIndexLow;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string DirName(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    if (cut == std::string::npos) {
        return ".";
    }
    if (path[cut] == ':') {
        return path.substr(0, cut + 1);  // "C:name": the drive's current folder
    }
    return cut == 0 ? path.substr(0, 1) : path.substr(0, cut);
}

std::string BaseName(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty() || IsSeparator(dir.back()) || dir.back() == ':') {
        return dir + name;
    }
    return dir + "\\" + name;
}

// The file that a write to `path` must replace: the final target of a
// symbolic link, so that the link itself survives the rename.
std::string ResolveWriteTarget(const std::string& path) {
    const DWORD attrs = GetFileAttributesA(path.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || (attrs & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    HANDLE h = CreateFileA(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return path;
    }
    char buffer[MAX_PATH * 4];
    const DWORD n = GetFinalPathNameByHandleA(h, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
    CloseHandle(h);
    if (n == 0 || n >= sizeof buffer) {
        return path;
    }
    std::string target(buffer, n);
    if (target.rfind("\\\\?\\", 0) == 0 && target.rfind("\\\\?\\UNC\\", 0) != 0) {
        target.erase(0, 4);
    }
    return target;
}

std::string SiblingTempName(const std::string& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    char suffix[96];
    std::snprintf(suffix, sizeof suffix, ".tmp%lu.%u.%lx",
                  static_cast<unsigned long>(GetCurrentProcessId()), counter.fetch_add(1) + attempt,
                  static_cast<unsigned long>(GetTickCount()));
    return Join(DirName(target), "." + BaseName(target) + suffix);
}

bool WriteAll(HANDLE h, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

bool InfoOfHandle(HANDLE h, FileInfo* info) {
    BY_HANDLE_FILE_INFORMATION fi;
    if (!GetFileInformationByHandle(h, &fi)) {
        return false;
    }
    FillInfo(fi, info);
    return true;
}

}  // namespace

bool Stat(const std::string& path, FileInfo* info) {
    *info = FileInfo{};
    // Backup semantics open folders too; no access right is asked, so no
    // sharing mode of another opener can refuse it.
    HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool ok = InfoOfHandle(h, info);
    CloseHandle(h);
    if (!ok) {
        *info = FileInfo{};
    }
    return ok;
}

ReadStatus ReadWholeFile(const std::string& path, std::string* bytes, FileInfo* info) {
    *info = FileInfo{};
    bytes->clear();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_INVALID_NAME
                   ? ReadStatus::kMissing
                   : ReadStatus::kError;
    }
    if (!InfoOfHandle(h, info) || info->isDirectory || GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        *info = FileInfo{};
        return ReadStatus::kError;
    }
    bytes->resize(static_cast<std::size_t>(info->size));
    std::size_t have = 0;
    for (;;) {
        if (have == bytes->size()) {
            bytes->resize(have + 65536);
        }
        DWORD got = 0;
        const DWORD want =
            static_cast<DWORD>(std::min<std::size_t>(bytes->size() - have, 1u << 30));
        if (!ReadFile(h, bytes->data() + have, want, &got, nullptr)) {
            CloseHandle(h);
            bytes->clear();
            *info = FileInfo{};
            return ReadStatus::kError;
        }
        if (got == 0) {
            break;
        }
        have += got;
    }
    bytes->resize(have);
    InfoOfHandle(h, info);
    CloseHandle(h);
    return ReadStatus::kOk;
}

bool StatForReading(const std::string& path, FileInfo* info) {
    *info = FileInfo{};
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool ok = InfoOfHandle(h, info) && !info->isDirectory && GetFileType(h) == FILE_TYPE_DISK;
    if (!CloseHandle(h) || !ok) {
        *info = FileInfo{};
        return false;
    }
    return true;
}

std::int64_t NowNs() {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    return ToNs(ft);
}

bool CanReplace(const std::string& path) {
    const std::string target = ResolveWriteTarget(path);
    const DWORD attrs = GetFileAttributesA(target.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES &&
        (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return false;
    }
    const DWORD dir = GetFileAttributesA(DirName(target).c_str());
    return dir != INVALID_FILE_ATTRIBUTES && (dir & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string target = ResolveWriteTarget(path);
    const DWORD old = GetFileAttributesA(target.c_str());
    if (old != INVALID_FILE_ATTRIBUTES &&
        (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return false;
    }
    std::string temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 16 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temp = SiblingTempName(target, attempt);
        h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = WriteAll(h, bytes) && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    if (ok && old != INVALID_FILE_ATTRIBUTES) {
        // Keep the file's own attributes (archive, hidden, ...); its access
        // rights come from the folder, as for any file created there.
        SetFileAttributesA(temp.c_str(), old & ~FILE_ATTRIBUTE_DIRECTORY);
    }
    // The rename is atomic on the file systems the machines use; write-through
    // makes it durable before the call returns.
    ok = ok && MoveFileExA(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

std::string TempDirectory() {
    char buffer[MAX_PATH + 2];
    const DWORD n = GetTempPathA(sizeof buffer, buffer);
    std::string out = (n == 0 || n >= sizeof buffer) ? std::string("C:\\Windows\\Temp\\")
                                                     : std::string(buffer, n);
    if (!IsSeparator(out.back())) {
        out += '\\';
    }
    return out;
}

bool IsDirectory(const std::string& path) {
    const DWORD attrs = GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileLock::Acquire(const std::string& path, bool wait) {
    Unlock();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    OVERLAPPED ov{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!LockFileEx(h, flags, 0, MAXDWORD, MAXDWORD, &ov)) {
        CloseHandle(h);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    return true;
}

void FileLock::Unlock() {
    if (handle_ != kNoHandle) {
        HANDLE h = reinterpret_cast<HANDLE>(handle_);
        OVERLAPPED ov{};
        UnlockFileEx(h, 0, MAXDWORD, MAXDWORD, &ov);
        CloseHandle(h);
        handle_ = kNoHandle;
    }
}

}  // namespace knitcfg::platform
