#pragma once

// The one seam between the library and the operating system: file identity
// and times, whole-file reads, crash-safe replacement, flushing, locking and
// the temporary folder. Nothing else in the library names a platform.
// Internal: not exported, not installed.
//
// Functions that can fail take an optional `why`: on failure (only) it
// receives the reason in lower-case words, as the system reported it
// ("permission denied", "no space left on device") or as the check that
// refused the call put it ("is a folder"). It may be null.

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

// The system's message for an error number (errno; GetLastError on Windows),
// in lower case and without a final full stop.
std::string SystemMessage(unsigned long code);

// Fills `info` for `path`, following symbolic links. A path that does not
// exist, or cannot be examined, gives info.exists == false and returns false.
bool Stat(const std::string& path, FileInfo* info);

enum class ReadStatus { kOk, kMissing, kError };

// Reads the whole regular file at `path` in binary mode, and the info of the
// file that was read (taken from the open handle, so the bytes and the info
// belong together). kMissing when there is no such file; kError when it
// exists but cannot be read (a folder, no permission, an I/O error) or is no
// regular file: a pipe, socket or device is refused at once, without waiting
// for a writer or reading without end. With `followLinks` false a symbolic
// link at `path` is refused too.
ReadStatus ReadWholeFile(const std::string& path, std::string* bytes, FileInfo* info,
                         std::string* why = nullptr, bool followLinks = true);

// Examines `path` as a reader sees it: opens the existing file for reading
// (without waiting on a pipe), takes its info from the open handle and closes
// it. False, with info.exists == false, when the file is missing, cannot be
// opened for reading, is no regular file (a folder, a device, a pipe) or the
// handle cannot be closed.
bool StatForReading(const std::string& path, FileInfo* info, std::string* why = nullptr);

// The current wall-clock time in the unit and epoch of FileInfo::mtimeNs.
std::int64_t NowNs();

// How finely the file system behind `info` records write times, in
// nanoseconds: a change within this span of the last one may leave the time
// unchanged.
std::int64_t TimestampResolutionNs(const FileInfo& info);

// Replaces the content of `path` with `bytes` so that after a crash or power
// loss the file holds either the old or the new content: a new file in the
// same folder, flushed, renamed over the target, then the folder flushed. The
// one replace step of every writer: a symbolic link is written through to the
// file it names and stays; an existing file keeps its mode, and its owner and
// group where the process may set them (a group that cannot be kept refuses
// the write, as the file could become readable by others). Fails, leaving the
// target as it was, when the folder is missing or not writable, the target is
// a folder, a device or anything but a regular file, is read-only or is a file
// the process may not write, or the disk is full. No temporary file is left
// behind on failure.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes,
                           std::string* why = nullptr);

// Whether ReplaceFileAtomically could write `path` now: its folder exists and
// takes new files, and the target is neither a folder nor read-only. A cheap
// check made before accepting writes that are persisted later.
bool CanReplace(const std::string& path);

// Copies the file `from` over `to` (replacing it crash-safely, as above).
// `from` is a file of the process's own (a save's temporary file): a link
// there is refused, never followed.
bool CopyFileOver(const std::string& from, const std::string& to, std::string* why = nullptr);

// Deletes a file; false when it could not be deleted (missing included).
bool RemoveFile(const std::string& path, std::string* why = nullptr);

// The process's folder for temporary files, ending with a path separator:
// TMPDIR (or the platform's equivalent), else the usual default.
std::string TempDirectory();

// This user's own folder for temporary files, ending with a path separator:
// the subfolder "knitcfg-<user id>" of TempDirectory() ("knitcfg" on Windows,
// whose temporary folder is the user's own), made with access for the user
// alone on first use. Checked at every call: it must be a real folder (not a
// link), owned by the user, with no access for anyone else. False, with the
// reason, when it cannot be made or fails the check; it is then not used.
bool PrivateTempDirectory(std::string* dir, std::string* why = nullptr);

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

    // Takes the lock on `path` (creating the file, for the user alone, if
    // needed), waiting for another holder. A link at `path` is refused, never
    // followed. False, with the reason, when the file cannot be opened or
    // locked.
    bool Lock(const std::string& path, std::string* why = nullptr);
    // Takes the lock only if it is free now.
    bool TryLock(const std::string& path);
    void Unlock();
    bool Held() const { return handle_ != kNoHandle; }

private:
    bool Acquire(const std::string& path, bool wait, std::string* why);
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle;
};

}  // namespace knitcfg::platform
