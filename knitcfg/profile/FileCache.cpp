#include "knitcfg/profile/detail/FileCache.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace knitcfg::detail {

namespace {

constexpr std::size_t kMaxIdleFiles = 16;

// Moves on at every change of any cached document (see ChangeCount).
std::atomic<std::uint64_t> changes{0};

void NoteChange() {
    changes.fetch_add(1, std::memory_order_relaxed);
}

struct Registry {
    std::mutex mu;
    // A file's entry lives as long as the process (only its parsed copy is
    // ever dropped), so a pointer to it never dangles: not in a batch, not
    // in a thread's memory of its last file.
    std::unordered_map<std::string, std::unique_ptr<CachedFile>> files;
    std::uint64_t clock = 0;
};

Registry& TheRegistry() {
    // Never destroyed: calls made while static objects are torn down still work.
    static Registry* registry = new Registry;
    return *registry;
}

// Drops the parsed copies of the files beyond the kMaxIdleFiles most
// recently used ones that hold one, except files in a batch or in use right
// now. Called with the registry locked.
void ForgetIdleFiles(Registry& r, const CachedFile* keep) {
    std::vector<std::pair<std::uint64_t, CachedFile*>> files;
    files.reserve(r.files.size());
    for (const auto& entry : r.files) {
        if (entry.second.get() != keep) {
            files.emplace_back(entry.second->lastUse, entry.second.get());
        }
    }
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::size_t held = 0;
    for (const auto& [use, file] : files) {
        std::unique_lock<std::mutex> lock(file->mu, std::try_to_lock);
        if (!lock.owns_lock() || !file->valid || file->batchDepth > 0) {
            continue;
        }
        if (++held > kMaxIdleFiles) {
            file->valid = false;
            file->doc.Clear();
            NoteChange();
        }
    }
}

CachedFile* AcquireShared(const char* path) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mu);
    auto& slot = r.files[path];
    if (!slot) {
        slot = std::make_unique<CachedFile>();
        slot->path = path;
        ForgetIdleFiles(r, slot.get());
    }
    slot->lastUse = ++r.clock;
    return slot.get();
}

std::size_t HashBytes(const std::string& bytes) {
    return std::hash<std::string>{}(bytes);
}

// Marks whether a later change of the file could keep the same size, time
// and identity: when the content was read within the file system's
// timestamp resolution of its last write. Only then is the content compared
// later, so only then is its hash worth taking (a big file's hash costs a
// pass over its bytes).
void NoteReadTime(CachedFile& f, std::int64_t readStartNs, const std::string& bytes) {
    f.racy =
        f.info.exists && readStartNs - f.info.mtimeNs < platform::TimestampResolutionNs(f.info);
    f.contentHash = f.racy ? HashBytes(bytes) : 0;
}

void LoadFromDisk(CachedFile& f) {
    const std::int64_t start = platform::NowNs();
    std::string bytes;
    platform::FileInfo info;
    const platform::ReadStatus status = platform::ReadWholeFile(f.path, &bytes, &info);
    f.dirty = false;
    NoteChange();
    if (status != platform::ReadStatus::kOk) {
        // Missing or unreadable: reads see an empty file. An unreadable one is
        // not trusted as cached, so it is examined again next time.
        f.doc.Clear();
        f.info = platform::FileInfo{};
        f.valid = status == platform::ReadStatus::kMissing;
        f.racy = false;
        f.contentHash = 0;
        return;
    }
    f.info = info;
    NoteReadTime(f, start, bytes);
    f.doc.Parse(std::move(bytes));
    f.valid = true;
}

}  // namespace

CachedFile* AcquireFile(const char* path) {
    // A load makes hundreds of thousands of calls on one file in a row: the
    // last file a thread used is found again without hashing its path. A
    // plain pointer: entries are never destroyed, and a thread-local object
    // with a destructor is not safe on every platform's thread exit.
    thread_local CachedFile* last = nullptr;
    if (last == nullptr || last->path != path) {
        last = AcquireShared(path);
    }
    return last;
}

void Refresh(CachedFile& f) {
    if (f.batchDepth > 0) {
        return;
    }
    if (!f.valid) {
        LoadFromDisk(f);
        return;
    }
    platform::FileInfo now;
    platform::Stat(f.path, &now);
    if (!now.exists && !f.info.exists) {
        return;
    }
    if (!now.exists || !f.info.exists || !now.SameVersion(f.info)) {
        LoadFromDisk(f);
        return;
    }
    if (!f.racy) {
        return;
    }
    // The stamp cannot be trusted yet: compare the content itself.
    const std::int64_t start = platform::NowNs();
    std::string bytes;
    platform::FileInfo info;
    if (platform::ReadWholeFile(f.path, &bytes, &info) != platform::ReadStatus::kOk) {
        LoadFromDisk(f);
        return;
    }
    if (HashBytes(bytes) != f.contentHash || !info.SameVersion(f.info)) {
        f.info = info;
        NoteReadTime(f, start, bytes);
        f.doc.Parse(std::move(bytes));
        f.valid = true;
        NoteChange();
        return;
    }
    NoteReadTime(f, start, bytes);
}

bool Persist(CachedFile& f, std::string* why) {
    std::string bytes = f.doc.Serialize();
    const std::int64_t start = platform::NowNs();
    f.dirty = false;
    if (!platform::ReplaceFileAtomically(f.path, bytes, why)) {
        LoadFromDisk(f);
        return false;
    }
    platform::FileInfo info;
    if (!platform::Stat(f.path, &info)) {
        LoadFromDisk(f);
        return true;
    }
    f.info = info;
    NoteReadTime(f, start, bytes);
    // Parsing what was written drops the lines kept for earlier edits, when
    // they have come to outweigh the lines in use.
    if (f.doc.WorthCompacting()) {
        f.doc.Parse(std::move(bytes));
        NoteChange();
    }
    f.valid = true;
    return true;
}

bool Writable(CachedFile& f) {
    return f.batchDepth == 0 || f.dirty || platform::CanReplace(f.path);
}

bool CommitEdit(CachedFile& f, bool changed) {
    if (!changed) {
        return true;
    }
    NoteChange();
    if (f.batchDepth > 0) {
        f.dirty = true;
        return true;
    }
    return Persist(f);
}

bool Flush(const char* file) {
    if (file != nullptr) {
        CachedFile* f = AcquireFile(file);
        std::lock_guard<std::mutex> lock(f->mu);
        if (f->batchDepth == 0) {
            f->valid = false;
            f->doc.Clear();
            NoteChange();
        }
    }
    return false;
}

std::uint64_t ChangeCount() {
    return changes.load(std::memory_order_relaxed);
}

bool VisitDocument(const char* file, const std::function<void(const IniDocument&)>& visit) {
    if (file == nullptr) {
        return false;
    }
    return WithFile(file, [&](CachedFile& f) {
        if (!f.info.exists) {
            return false;
        }
        visit(f.doc);
        return true;
    });
}

bool StartBatchFrom(const char* file, std::string bytes) {
    if (file == nullptr || *file == '\0') {
        return false;
    }
    return WithFile(file, [&](CachedFile& f) {
        if (f.batchDepth == 0) {
            return false;
        }
        f.doc.Parse(std::move(bytes));
        f.dirty = true;
        NoteChange();
        return true;
    });
}

}  // namespace knitcfg::detail
