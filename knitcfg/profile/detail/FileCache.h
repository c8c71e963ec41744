#pragma once

// The per-path cache of parsed files behind the profile operations, with its
// reads from and writes to the disk. Internal to the library.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/profile/detail/IniDocument.h"

namespace knitcfg::detail {

// One file's cached document and what is known of the disk version it
// mirrors. Every field is guarded by `mu`, except `lastUse` (the cache's).
struct CachedFile {
    std::mutex mu;
    std::string path;
    IniDocument doc;
    bool valid = false;           // doc mirrors the disk version in `info`
    platform::FileInfo info;      // info.exists == false: no readable file
    std::size_t contentHash = 0;  // hash of the bytes that doc was parsed from
    bool racy = false;            // info cannot tell a later change apart
    int batchDepth = 0;
    bool dirty = false;         // writes made in a batch, not persisted yet
    std::uint64_t lastUse = 0;  // guarded by the cache's own lock
};

// The entry of `path`, made on first use. Never null; entries live as long as
// the process (only their parsed copies are dropped), so a pointer to one
// never dangles.
CachedFile* AcquireFile(const char* path);

// Makes the document mirror the disk (reads the file again when it changed).
// Inside a batch the batch's copy is authoritative and is left alone.
void Refresh(CachedFile& f);

// Writes the document to disk, replacing the file atomically. False on
// failure, `why` (when not null) then holding the system's reason, and the
// document read again from what the disk still holds.
bool Persist(CachedFile& f, std::string* why = nullptr);

// Whether a write may go ahead: outside a batch the write itself tells; inside
// one, a target that cannot be written at all is refused at the first write.
bool Writable(CachedFile& f);

// After an edit of the document (`changed`: it did change): persists it now,
// or at the end of the open batch. False when persisting failed.
bool CommitEdit(CachedFile& f, bool changed);

// The flush request: forgets the parsed copy of `file` (not while a batch is
// open on it). Always false, as the flush request returns.
bool Flush(const char* file);

// Runs `fn` on the fresh document of `file`, under its lock.
template <typename Fn>
auto WithFile(const char* file, Fn&& fn) {
    CachedFile* f = AcquireFile(file);
    std::lock_guard<std::mutex> lock(f->mu);
    Refresh(*f);
    return fn(*f);
}

// A number that changes whenever a cached document of any file changes: a
// write, a reload from disk, a dropped copy. Equal numbers at two moments mean
// that every read between them gives the same answer, unless another process
// changed a file and no call has looked at it yet.
std::uint64_t ChangeCount();

// Runs `visit` on the parsed document of `file`, as every call sees it at this
// moment, under the file's lock: `visit` must not call the profile operations
// on that file. False, `visit` not run, when the file is missing or cannot be
// read.
bool VisitDocument(const char* file, const std::function<void(const IniDocument&)>& visit);

// Inside an open Batch on `file`: the batch's copy of the file becomes
// `bytes`, parsed, written at the batch's end like any write (so a file that
// starts from another's content is written, and flushed, once). False,
// changing nothing, when no batch is open on `file`.
bool StartBatchFrom(const char* file, std::string bytes);

}  // namespace knitcfg::detail
