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

#include "knitcfg/common/detail/AsciiCase.h"
#include "knitcfg/common/detail/Platform.h"

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

// Fills `why` (when asked) with `text`, or with the message of `code`; false,
// for the failing caller to return.
bool Fail(std::string* why, DWORD code, const char* text = nullptr) {
    if (why != nullptr) {
        *why = text != nullptr ? std::string(text) : SystemMessage(code);
    }
    return false;
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

std::string SystemMessage(unsigned long code) {
    char buffer[512];
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, buffer, sizeof buffer,
                                   nullptr);
    std::string text(buffer, n);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' ||
                             text.back() == ' ' || text.back() == '.')) {
        text.pop_back();
    }
    if (text.empty()) {
        return "system error " + std::to_string(code);
    }
    if (text.size() < 2 || detail::IsAsciiLower(text[1])) {
        text[0] = detail::LowerAscii(text[0]);
    }
    return text;
}

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

ReadStatus ReadWholeFile(const std::string& path, std::string* bytes, FileInfo* info,
                         std::string* why, bool followLinks) {
    *info = FileInfo{};
    bytes->clear();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN |
                               (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_INVALID_NAME) {
            Fail(why, e, "no such file");
            return ReadStatus::kMissing;
        }
        Fail(why, e, e == ERROR_ACCESS_DENIED && IsDirectory(path) ? "is a folder" : nullptr);
        return ReadStatus::kError;
    }
    BY_HANDLE_FILE_INFORMATION fi{};
    const bool known = GetFileInformationByHandle(h, &fi) != 0;
    if (!known || (fi.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        (!followLinks && (fi.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) ||
        GetFileType(h) != FILE_TYPE_DISK) {
        Fail(why, GetLastError(),
             !known ? nullptr
             : (fi.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? "is a folder"
             : (fi.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? "is a symbolic link"
                                                                         : "is not a regular file");
        CloseHandle(h);
        return ReadStatus::kError;
    }
    FillInfo(fi, info);
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
            Fail(why, GetLastError());
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

bool StatForReading(const std::string& path, FileInfo* info, std::string* why) {
    *info = FileInfo{};
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        const bool missing =
            e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_INVALID_NAME;
        return Fail(why, e,
                    missing                                           ? "no such file"
                    : e == ERROR_ACCESS_DENIED && IsDirectory(path) ? "is a folder"
                                                                      : nullptr);
    }
    const bool known = InfoOfHandle(h, info);
    const char* problem = !known                                 ? ""
                          : info->isDirectory                    ? "is a folder"
                          : GetFileType(h) != FILE_TYPE_DISK ? "is not a regular file"
                                                                 : nullptr;
    const DWORD e = GetLastError();
    if (!CloseHandle(h) || problem != nullptr) {
        *info = FileInfo{};
        return Fail(why, problem == nullptr ? GetLastError() : e,
                    problem != nullptr && *problem != '\0' ? problem : nullptr);
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

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string* why) {
    const std::string target = ResolveWriteTarget(path);
    const DWORD old = GetFileAttributesA(target.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Fail(why, 0, "is a folder");
    }
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY) != 0) {
        return Fail(why, 0, "the file is read-only");
    }
    std::string temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 16 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temp = SiblingTempName(target, attempt);
        h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            return Fail(why, GetLastError());
        }
    }
    if (h == INVALID_HANDLE_VALUE) {
        return Fail(why, ERROR_FILE_EXISTS);
    }
    bool ok = (WriteAll(h, bytes) && FlushFileBuffers(h)) || Fail(why, GetLastError());
    ok = (CloseHandle(h) || Fail(why, GetLastError())) && ok;
    if (ok && old != INVALID_FILE_ATTRIBUTES) {
        // Keep the file's own attributes (archive, hidden, ...); its access
        // rights come from the folder, as for any file created there.
        SetFileAttributesA(temp.c_str(), old & ~FILE_ATTRIBUTE_DIRECTORY);
    }
    // The rename is atomic on the file systems the machines use; write-through
    // makes it durable before the call returns.
    ok = ok && (MoveFileExA(temp.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
                Fail(why, GetLastError()));
    if (!ok) {
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

bool RemoveFile(const std::string& path, std::string* why) {
    return DeleteFileA(path.c_str()) != 0 || Fail(why, GetLastError());
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

bool PrivateTempDirectory(std::string* dir, std::string* why) {
    // The user's temporary folder is the user's own; the subfolder keeps the
    // saves' files together, and must still be a real folder.
    const std::string path = TempDirectory() + "knitcfg";
    DWORD attrs = INVALID_FILE_ATTRIBUTES;
    if ((!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) ||
        (attrs = GetFileAttributesA(path.c_str())) == INVALID_FILE_ATTRIBUTES) {
        if (why != nullptr) {
            *why = "the temporary folder " + path + ": " + SystemMessage(GetLastError());
        }
        return false;
    }
    if ((attrs & FILE_ATTRIBUTE_DIRECTORY) == 0 || (attrs & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        if (why != nullptr) {
            *why = "the temporary folder " + path +
                   " is not a real folder, so it is not used (remove it, or point TMP at "
                   "another folder)";
        }
        return false;
    }
    *dir = path + "\\";
    return true;
}

bool IsDirectory(const std::string& path) {
    const DWORD attrs = GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileLock::Acquire(const std::string& path, bool wait, std::string* why) {
    Unlock();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return Fail(why, GetLastError());
    }
    BY_HANDLE_FILE_INFORMATION fi{};
    if (!GetFileInformationByHandle(h, &fi) ||
        (fi.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        CloseHandle(h);
        return Fail(why, 0, "the lock file is a symbolic link");
    }
    OVERLAPPED ov{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!LockFileEx(h, flags, 0, MAXDWORD, MAXDWORD, &ov)) {
        Fail(why, GetLastError());
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
