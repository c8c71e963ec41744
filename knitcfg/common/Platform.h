#pragma once

// The one seam between the library and the operating system: file identity
// and times, whole-file reads, crash-safe replacement, flushing, locking and
// the temporary folder. Nothing else in the library names a platform.
// Internal: not exported, not installed.

#include <cstdint>
#include <string>

namespace knitcfg::platform {

// What the library needs to know about a path on disk.
struct FileInfo {
    bool exists = false;
    bool isDirectory = false;
    bool readOnly = false;  // the file refuses writes (mode bits / read-only attribute)
    std::uint64_t size = 0;
    std::int64_t mtimeNs = 0;  // last write, nanoseconds since the Unix epoch
    std::uint64_t device = 0;  // file identity: a file replaced by rename is a new file
    std::uint64_t inode = 0;

    // Same content version as far as the file system tells: size, time, identity.
    bool SameVersion(const FileInfo& other) const {
        return exists == other.exists && isDirectory == other.isDirectory && size == other.size &&
               mtimeNs == other.mtimeNs && device == other.device && inode == other.inode;
    }
};

// Fills `info` for `path`, following symbolic links. A path that does not
// exist, or cannot be examined, gives info.exists == false and returns false.
bool Stat(const std::string& path, FileInfo* info);

enum class ReadStatus { kOk, kMissing, kError };

// Reads the whole regular file at `path` in binary mode, and the info of the
// file that was read (taken from the open handle, so the bytes and the info
// belong together). kMissing when there is no such file; kError when it
// exists but cannot be read (a folder, no permission, an I/O error).
ReadStatus ReadWholeFile(const std::string& path, std::string* bytes, FileInfo* info);

// Examines `path` as a reader sees it: opens the existing file for reading
// (without waiting on a pipe), takes its info from the open handle and closes
// it. False, with info.exists == false, when the file is missing, cannot be
// opened for reading, is no regular file (a folder, a device, a pipe) or the
// handle cannot be closed.
bool StatForReading(const std::string& path, FileInfo* info);

// The current wall-clock time in the unit and epoch of FileInfo::mtimeNs.
std::int64_t NowNs();

// How finely the file system behind `info` records write times, in
// nanoseconds: a change within this span of the last one may leave the time
// unchanged.
std::int64_t TimestampResolutionNs(const FileInfo& info);

// Replaces the content of `path` with `bytes` so that after a crash or power
// loss the file holds either the old or the new content: a new file in the
// same folder, flushed, renamed over the target, then the folder flushed. A
// symbolic link is written through to its target; an existing file keeps its
// permissions. Fails, leaving the target as it was, when the folder is
// missing or not writable, the target is a folder or read-only, or the disk is
// full. No temporary file is left behind on failure.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes);

// Whether ReplaceFileAtomically could write `path` now: its folder exists and
// takes new files, and the target is neither a folder nor read-only. A cheap
// check made before accepting writes that are persisted later.
bool CanReplace(const std::string& path);

// Copies the file `from` over `to` (replacing it crash-safely, as above).
bool CopyFileOver(const std::string& from, const std::string& to);

// Deletes a file; false when it could not be deleted (missing included).
bool RemoveFile(const std::string& path);

// The process's folder for temporary files, ending with a path separator:
// TMPDIR (or the platform's equivalent), else the usual default.
std::string TempDirectory();

// The name that the platform gives the temporary file `unique` of `prefix`
// in `folder`: `folder`, the first three characters of `prefix` (fewer when
// it is shorter), `unique` in upper-case hexadecimal, ".tmp". The same
// arguments always give the same name; the file is neither created nor
// checked.
std::string TempFileName(const std::string& folder, const char* prefix, unsigned unique);

// True when `path` names a folder (a path that ends in a separator included).
bool IsDirectory(const std::string& path);

// An exclusive advisory lock on an open lock file, released on destruction.
// Used so that two savers do not write one temporary file at the same time.
class FileLock {
public:
    FileLock() = default;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // Takes the lock on `path` (creating the file if needed), waiting for
    // another holder. False when the file cannot be opened or locked.
    bool Lock(const std::string& path);
    // Takes the lock only if it is free now.
    bool TryLock(const std::string& path);
    void Unlock();
    bool Held() const { return handle_ != kNoHandle; }

private:
    bool Acquire(const std::string& path, bool wait);
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle;
};

}  // namespace knitcfg::platform
