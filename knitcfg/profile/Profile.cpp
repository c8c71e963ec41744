#include "knitcfg/profile/Profile.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "knitcfg/common/detail/Blanks.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/profile/IniDocument.h"
#include "knitcfg/profile/SectionEntries.h"

namespace knitcfg::profile {

namespace detail {

// One file's cached document and what is known of the disk version it
// mirrors. Every field is guarded by `mu`.
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
    std::uint64_t lastUse = 0;  // guarded by the registry's lock
};

}  // namespace detail

namespace {

using detail::CachedFile;

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

CachedFile* Acquire(const char* path) {
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

// Makes the cached document mirror the disk. Inside a batch the batch's copy
// is authoritative and is left alone.
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

// Writes the document to disk. On failure the cache is dropped, so that the
// next call reads what the disk still holds.
bool Persist(CachedFile& f, std::string* why = nullptr) {
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

// Inside a batch the disk is written only at its end; a target that cannot
// be written at all is refused at the first write, as it would be outside.
bool Writable(CachedFile& f) {
    return f.batchDepth == 0 || f.dirty || platform::CanReplace(f.path);
}

// A write was accepted into the document: persist it now, or at the end of
// the batch.
bool Commit(CachedFile& f, bool changed) {
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

// A section or key argument loses its spaces (not tabs) at both ends.
std::string_view ArgName(std::string_view v) {
    while (!v.empty() && v.front() == ' ') {
        v.remove_prefix(1);
    }
    while (!v.empty() && v.back() == ' ') {
        v.remove_suffix(1);
    }
    return v;
}

bool HasLineBreak(std::string_view s) {
    // Two scans for one byte each: find_first_of would scan for the set at
    // every position.
    return std::memchr(s.data(), '\r', s.size()) != nullptr ||
           std::memchr(s.data(), '\n', s.size()) != nullptr;
}

bool EdgeIsTabOrVt(std::string_view s) {
    // The blanks of the INI layer other than the space.
    auto tv = [](char c) { return c != ' ' && knitcfg::detail::IsIniBlank(c); };
    return !s.empty() && (tv(s.front()) || tv(s.back()));
}

// Texts that would read back as something else (or change the structure of
// the file) are refused.
bool SafeSection(std::string_view s) {
    return !HasLineBreak(s) && s.find(']') == std::string_view::npos && !EdgeIsTabOrVt(s);
}

bool SafeKey(std::string_view k) {
    if (HasLineBreak(k) || k.find('=') != std::string_view::npos || EdgeIsTabOrVt(k)) {
        return false;
    }
    const std::string_view t = TrimBlanks(k);
    if (t.empty()) {
        return k.empty();  // the empty key is allowed, blanks only are not
    }
    return t.front() != ';' && t.front() != '[';
}

std::string_view DefaultText(const char* def) {
    std::string_view d = def != nullptr ? std::string_view(def) : std::string_view();
    while (!d.empty() && d.back() == ' ') {
        d.remove_suffix(1);
    }
    return Unquote(d);
}

unsigned PutValue(std::string_view text, char* buffer, unsigned size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    if (n > 0) {
        std::memcpy(buffer, text.data(), n);
    }
    buffer[n] = '\0';
    return static_cast<unsigned>(n);
}

// Builds a NUL-separated list in the caller's buffer, writing only what fits
// and stopping once the list is known not to fit.
class ListWriter {
public:
    ListWriter(char* buffer, unsigned size) : buffer_(buffer), size_(size) {}

    // Adds one string; false once the list no longer fits.
    bool Add(std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        Put(a);
        Put(b);
        Put(c);
        Put(std::string_view("\0", 1));
        return length_ + 1 < size_;
    }
    bool Empty() const { return length_ == 0; }

    unsigned Finish() {
        if (size_ == 0) {
            return 0;
        }
        if (length_ + 1 < size_) {
            buffer_[length_] = '\0';
            return static_cast<unsigned>(length_);
        }
        if (size_ == 1) {
            buffer_[0] = '\0';
            return 0;
        }
        buffer_[size_ - 2] = '\0';
        buffer_[size_ - 1] = '\0';
        return size_ - 2;
    }

private:
    void Put(std::string_view s) {
        if (length_ < size_) {
            const std::size_t n = std::min<std::size_t>(s.size(), size_ - length_);
            if (n > 0) {
                std::memcpy(buffer_ + length_, s.data(), n);
            }
        }
        length_ += s.size();
    }

    char* buffer_;
    std::size_t size_;
    std::size_t length_ = 0;
};

// An entry that a key listing names: an empty name would end the caller's
// walk early, so it is left out.
bool Listed(const IniDocument::Line& line) {
    return line.kind == IniDocument::Kind::kEntry && line.keyLength > 0;
}

// The key listing of GetString: the key names of section `s`, or `def` when
// the section is missing or lists none.
unsigned ListKeys(const IniDocument& doc, const IniDocument::Section* s, const char* def,
                  char* buffer, unsigned size) {
    if (s != nullptr) {
        ListWriter out(buffer, size);
        for (const IniDocument::Line& l : s->body) {
            if (Listed(l) && !out.Add(doc.Key(l))) {
                break;
            }
        }
        if (!out.Empty()) {
            return out.Finish();
        }
    }
    return PutValue(DefaultText(def), buffer, size);
}

unsigned ListSectionNames(const IniDocument& doc, char* buffer, unsigned size) {
    ListWriter out(buffer, size);
    for (const IniDocument::Section& s : doc.Sections()) {
        if (s.hasHeader && !s.name.empty() && !out.Add(s.name)) {
            break;
        }
    }
    return out.Finish();
}

// Runs `fn` on the fresh document of `file` under its lock.
template <typename Fn>
auto WithFile(const char* file, Fn&& fn) {
    CachedFile* f = Acquire(file);
    std::lock_guard<std::mutex> lock(f->mu);
    Refresh(*f);
    return fn(*f);
}

// Reads `section`/`key` as GetString does, for any length of value. False
// when the file, section or key is missing.
bool ReadValue(const IniDocument& doc, std::string_view section, std::string_view key,
               std::string_view* value) {
    const IniDocument::Section* s = doc.FindSection(section);
    if (s == nullptr) {
        return false;
    }
    const IniDocument::Line* line = doc.FindEntry(*s, key);
    if (line == nullptr) {
        return false;
    }
    *value = Unquote(doc.Value(*line));
    return true;
}

// The stored (trimmed, still quoted) value of a key.
bool ReadRaw(const IniDocument& doc, std::string_view section, std::string_view key,
             std::string_view* value) {
    const IniDocument::Section* s = doc.FindSection(section);
    const IniDocument::Line* line = s != nullptr ? doc.FindEntry(*s, key) : nullptr;
    if (line == nullptr) {
        return false;
    }
    *value = doc.Value(*line);
    return true;
}

// The first listable key name of a section, if any.
bool FirstKey(const IniDocument& doc, std::string_view section, std::string_view* key) {
    const IniDocument::Section* s = doc.FindSection(section);
    if (s == nullptr) {
        return false;
    }
    for (const IniDocument::Line& l : s->body) {
        if (l.kind == IniDocument::Kind::kEntry && l.keyLength > 0) {
            *key = doc.Key(l);
            return true;
        }
    }
    return false;
}

int ParseInt(std::string_view v) {
    return knitcfg::detail::ScanProfileInt(v).value;
}

}  // namespace

unsigned GetString(const char* section, const char* key, const char* def, char* buffer,
                   unsigned size, const char* file) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    if (file == nullptr) {
        if (section == nullptr) {
            buffer[0] = '\0';
            return 0;
        }
        return PutValue(DefaultText(def), buffer, size);
    }
    return WithFile(file, [&](CachedFile& f) -> unsigned {
        if (section == nullptr) {
            return ListSectionNames(f.doc, buffer, size);
        }
        const std::string_view sec = ArgName(section);
        if (key == nullptr) {
            return ListKeys(f.doc, f.doc.FindSection(sec), def, buffer, size);
        }
        std::string_view value;
        if (ReadValue(f.doc, sec, ArgName(key), &value)) {
            return PutValue(value, buffer, size);
        }
        return PutValue(DefaultText(def), buffer, size);
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

void ReadSectionEntries(const char* section, unsigned room, const char* file, SectionEntries* out) {
    out->listing.assign(std::max(room, 2U), '\0');
    out->listed = 0;
    out->values.clear();
    out->text.clear();
    if (section == nullptr || file == nullptr || room == 0) {
        return;
    }
    WithFile(file, [&](CachedFile& f) {
        const std::string_view sec = ArgName(section);
        const IniDocument::Section* s = f.doc.FindSection(sec);
        out->listed = ListKeys(f.doc, s, "", out->listing.data(), room);
        // The listing names the section's listed entries in order, so name
        // after name is the key of the next one, and in a section without
        // repeated keys that entry is the one a lookup of the name finds.
        // Any other name (the last one, cut by the room) is looked up.
        const bool inStep = s != nullptr && !f.doc.HasRepeatedKeys(*s);
        if (s != nullptr) {
            out->values.reserve(s->body.size());
        }
        std::size_t next = 0;
        const char* end = out->listing.data() + room;
        for (const char* name = out->listing.data(); name < end && *name != '\0';) {
            const void* nul = std::memchr(name, '\0', static_cast<std::size_t>(end - name));
            const std::string_view n(
                name, static_cast<std::size_t>(
                          (nul != nullptr ? static_cast<const char*>(nul) : end) - name));
            name += n.size() + 1;
            const IniDocument::Line* line = nullptr;
            if (inStep) {
                while (next < s->body.size() && !Listed(s->body[next])) {
                    ++next;
                }
                if (next < s->body.size() && f.doc.Key(s->body[next]) == n) {
                    line = &s->body[next];
                }
                ++next;
            }
            std::string_view value;
            SectionEntries::Value v;
            if (line != nullptr) {
                value = Unquote(f.doc.Value(*line));
                v.found = true;
            } else {
                v.found = ReadValue(f.doc, sec, ArgName(n), &value);
            }
            v.begin = out->text.size();
            v.length = value.size();
            out->text.append(value.data(), value.size());
            out->text.push_back('\0');
            out->values.push_back(v);
        }
    });
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

std::uint64_t ChangeCount() {
    return changes.load(std::memory_order_relaxed);
}

int GetInt(const char* section, const char* key, int def, const char* file) {
    if (file == nullptr) {
        return def;
    }
    return WithFile(file, [&](CachedFile& f) -> int {
        std::string_view text;
        if (section == nullptr) {
            bool found = false;
            for (const IniDocument::Section& s : f.doc.Sections()) {
                if (s.hasHeader && !s.name.empty()) {
                    text = s.name;
                    found = true;
                    break;
                }
            }
            if (!found) {
                return def;
            }
        } else if (key == nullptr) {
            if (!FirstKey(f.doc, ArgName(section), &text)) {
                return def;
            }
        } else if (!ReadValue(f.doc, ArgName(section), ArgName(key), &text)) {
            return def;
        }
        if (text.empty()) {
            return def;
        }
        return ParseInt(text);
    });
}

unsigned GetSection(const char* section, char* buffer, unsigned size, const char* file) {
    if (buffer == nullptr || size == 0 || section == nullptr) {
        return 0;
    }
    auto nothing = [&]() -> unsigned {
        buffer[0] = '\0';
        if (size > 1) {
            buffer[1] = '\0';
        }
        return 0;
    };
    if (file == nullptr) {
        return nothing();
    }
    return WithFile(file, [&](CachedFile& f) -> unsigned {
        const IniDocument::Section* s = f.doc.FindSection(ArgName(section));
        if (s == nullptr) {
            return nothing();
        }
        ListWriter out(buffer, size);
        for (const IniDocument::Line& l : s->body) {
            bool fits = true;
            if (l.kind == IniDocument::Kind::kEntry) {
                fits = out.Add(f.doc.Key(l), "=", f.doc.Value(l));
            } else if (l.kind == IniDocument::Kind::kText) {
                fits = out.Add(TrimBlanks(f.doc.Text(l)));
            }
            if (!fits) {
                break;
            }
        }
        if (out.Empty()) {
            return nothing();
        }
        return out.Finish();
    });
}

unsigned GetSectionNames(char* buffer, unsigned size, const char* file) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    if (file == nullptr) {
        buffer[0] = '\0';
        return 0;
    }
    return WithFile(file, [&](CachedFile& f) { return ListSectionNames(f.doc, buffer, size); });
}

namespace {

// The flush request (every argument null): forget the cached copy.
bool Flush(const char* file) {
    if (file != nullptr) {
        CachedFile* f = Acquire(file);
        std::lock_guard<std::mutex> lock(f->mu);
        if (f->batchDepth == 0) {
            f->valid = false;
            f->doc.Clear();
            NoteChange();
        }
    }
    return false;
}

}  // namespace

bool WriteString(const char* section, const char* key, const char* value, const char* file) {
    if (section == nullptr) {
        if (key == nullptr && value == nullptr) {
            return Flush(file);
        }
        return false;
    }
    if (file == nullptr || *file == '\0') {
        return false;
    }
    const std::string_view sec = ArgName(section);
    if (key == nullptr) {
        // Deletes never refuse: a name that could not be written matches nothing.
        return WithFile(file, [&](CachedFile& f) {
            if (!SafeSection(sec) || f.doc.FindSection(sec) == nullptr) {
                return true;
            }
            return Writable(f) && Commit(f, f.doc.DeleteSection(sec));
        });
    }
    const std::string_view k = ArgName(key);
    if (value == nullptr) {
        return WithFile(file, [&](CachedFile& f) {
            if (!SafeSection(sec) || !SafeKey(k)) {
                return true;
            }
            const IniDocument::Section* s = f.doc.FindSection(sec);
            if (s == nullptr || f.doc.FindEntry(*s, k) == nullptr) {
                return true;
            }
            return Writable(f) && Commit(f, f.doc.DeleteKey(sec, k));
        });
    }
    const std::string_view v(value);
    if (!SafeSection(sec) || !SafeKey(k) || HasLineBreak(v)) {
        return false;
    }
    return WithFile(file, [&](CachedFile& f) {
        std::string_view current;
        if (ReadRaw(f.doc, sec, k, &current) && current == v) {
            return true;  // the value it already has: nothing to write
        }
        return Writable(f) && Commit(f, f.doc.SetValue(sec, k, v));
    });
}

bool WriteSection(const char* section, const char* lines, const char* file) {
    if (section == nullptr) {
        if (lines == nullptr) {
            return Flush(file);
        }
        return false;
    }
    if (file == nullptr || *file == '\0') {
        return false;
    }
    if (lines == nullptr) {
        return WriteString(section, nullptr, nullptr, file);
    }
    const std::string_view sec = ArgName(section);
    if (!SafeSection(sec)) {
        return false;
    }
    std::vector<std::string_view> entries;
    for (const char* p = lines; *p != '\0'; p += std::strlen(p) + 1) {
        const std::string_view line(p);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        // The string is written as given; its key is checked as it will read
        // back, less the spaces that reading drops anyway.
        std::string_view k = line.substr(0, eq);
        while (!k.empty() && k.front() == ' ') {
            k.remove_prefix(1);
        }
        while (!k.empty() && k.back() == ' ') {
            k.remove_suffix(1);
        }
        const bool blanksOnly = k.empty() && eq > 0;
        if (HasLineBreak(line) || blanksOnly || !SafeKey(k)) {
            return false;
        }
        entries.push_back(line);
    }
    return WithFile(file, [&](CachedFile& f) {
        return Writable(f) && Commit(f, f.doc.ReplaceSection(sec, entries));
    });
}

Batch::Batch(const char* file) {
    if (file == nullptr) {
        return;
    }
    file_ = Acquire(file);
    std::lock_guard<std::mutex> lock(file_->mu);
    Refresh(*file_);
    ++file_->batchDepth;
}

Batch::~Batch() {
    if (!file_) {
        return;
    }
    std::lock_guard<std::mutex> lock(file_->mu);
    if (--file_->batchDepth == 0 && file_->dirty) {
        Persist(*file_);
    }
}

bool Batch::Commit() {
    return Commit(nullptr);
}

bool Batch::Commit(std::string* why) {
    if (!file_) {
        if (why != nullptr) {
            *why = "no file name";
        }
        return false;
    }
    std::lock_guard<std::mutex> lock(file_->mu);
    if (file_->batchDepth != 1 || !file_->dirty) {
        return true;
    }
    return Persist(*file_, why);
}

}  // namespace knitcfg::profile
