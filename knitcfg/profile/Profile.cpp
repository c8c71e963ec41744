// The six operations and Batch, and the whole-section read of the loaders, on
// the documents of the file cache (FileCache.cpp).

#include "knitcfg/profile/Profile.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "knitcfg/common/detail/Blanks.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/profile/detail/FileCache.h"
#include "knitcfg/profile/detail/IniDocument.h"
#include "knitcfg/profile/detail/SectionEntries.h"

namespace knitcfg {

namespace {

using detail::CachedFile;
using detail::IniDocument;
using detail::TrimBlanks;
using detail::Unquote;
using detail::WithFile;

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
    return detail::ScanProfileInt(v).value;
}

}  // namespace

namespace profile {

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

bool WriteString(const char* section, const char* key, const char* value, const char* file) {
    if (section == nullptr) {
        if (key == nullptr && value == nullptr) {
            return detail::Flush(file);
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
            return detail::Writable(f) && detail::CommitEdit(f, f.doc.DeleteSection(sec));
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
            return detail::Writable(f) && detail::CommitEdit(f, f.doc.DeleteKey(sec, k));
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
        return detail::Writable(f) && detail::CommitEdit(f, f.doc.SetValue(sec, k, v));
    });
}

bool WriteSection(const char* section, const char* lines, const char* file) {
    if (section == nullptr) {
        if (lines == nullptr) {
            return detail::Flush(file);
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
        return detail::Writable(f) && detail::CommitEdit(f, f.doc.ReplaceSection(sec, entries));
    });
}

Batch::Batch(const char* file) {
    if (file == nullptr) {
        return;
    }
    file_ = detail::AcquireFile(file);
    std::lock_guard<std::mutex> lock(file_->mu);
    detail::Refresh(*file_);
    ++file_->batchDepth;
}

Batch::~Batch() {
    if (!file_) {
        return;
    }
    std::lock_guard<std::mutex> lock(file_->mu);
    if (--file_->batchDepth == 0 && file_->dirty) {
        detail::Persist(*file_);
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
    return detail::Persist(*file_, why);
}

}  // namespace profile

namespace detail {

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

}  // namespace detail

}  // namespace knitcfg
