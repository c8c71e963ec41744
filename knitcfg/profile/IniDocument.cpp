#include "knitcfg/profile/detail/IniDocument.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "knitcfg/common/detail/Blanks.h"

namespace knitcfg::detail {

namespace {

using knitcfg::detail::IsIniBlank;

std::string_view EolText(IniDocument::Eol eol) {
    switch (eol) {
        case IniDocument::Eol::kLf: return "\n";
        case IniDocument::Eol::kCr: return "\r";
        case IniDocument::Eol::kCrLf: return "\r\n";
        case IniDocument::Eol::kNone: break;
    }
    return {};
}

bool IsContent(IniDocument::Kind kind) {
    return kind == IniDocument::Kind::kEntry || kind == IniDocument::Kind::kText;
}

}  // namespace

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsIniBlank(s[b])) {
        ++b;
    }
    while (e > b && IsIniBlank(s[e - 1])) {
        --e;
    }
    return s.substr(b, e - b);
}

void ClassifyLine(std::string_view text, IniDocument::Line* line) {
    using Kind = IniDocument::Kind;
    std::size_t p = 0;
    const std::size_t n = text.size();
    while (p < n && IsIniBlank(text[p])) {
        ++p;
    }
    // A line of blanks and NUL bytes only is blank.
    std::size_t q = p;
    while (q < n && (IsIniBlank(text[q]) || text[q] == '\0')) {
        ++q;
    }
    if (q == n) {
        line->kind = Kind::kBlank;
        return;
    }
    if (text[p] == '[') {
        line->kind = Kind::kHeader;
        return;
    }
    if (text[p] == ';') {
        line->kind = Kind::kComment;
        return;
    }
    const void* hit = std::memchr(text.data() + p, '=', n - p);
    if (hit == nullptr) {
        line->kind = Kind::kText;
        return;
    }
    const auto eq = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    line->kind = Kind::kEntry;
    std::size_t ke = eq;
    while (ke > p && IsIniBlank(text[ke - 1])) {
        --ke;
    }
    std::size_t vb = eq + 1;
    std::size_t ve = n;
    while (vb < ve && IsIniBlank(text[vb])) {
        ++vb;
    }
    while (ve > vb && IsIniBlank(text[ve - 1])) {
        --ve;
    }
    line->keyBegin = static_cast<std::uint32_t>(p);
    line->keyLength = static_cast<std::uint32_t>(ke - p);
    line->valueBegin = static_cast<std::uint32_t>(vb);
    line->valueLength = static_cast<std::uint32_t>(ve - vb);
}

namespace {

std::string_view HeaderName(std::string_view text) {
    const std::size_t open = text.find('[');
    std::string_view rest = text.substr(open + 1);
    const std::size_t close = rest.find(']');
    if (close != std::string_view::npos) {
        rest = rest.substr(0, close);
    }
    return TrimBlanks(rest);
}

}  // namespace

void IniDocument::Clear() {
    const Changing changing(*this);
    // The memory goes too: a cached copy is dropped to give it back.
    image_ = std::string();
    pool_ = std::string();
    poolBytes_ = 0;
    garbage_ = 0;
    sections_ = std::vector<Section>();
    sectionIndex_ = NameTable();
    nextSameName_ = std::vector<std::uint32_t>();
    keyIndex_ = std::vector<KeyIndex>();
    scratchKeys_ = NameTable();
    sections_.emplace_back();
    keyIndex_.emplace_back();
    nextSameName_.push_back(NameTable::kNone);
}

std::vector<std::uint32_t> IniDocument::FirstLines() const {
    std::vector<std::uint32_t> first;
    first.reserve(sections_.size());
    std::uint32_t line = 1;
    for (const Section& s : sections_) {
        first.push_back(line);
        line += static_cast<std::uint32_t>(s.body.size()) + (s.hasHeader ? 1U : 0U);
    }
    return first;
}

void IniDocument::Parse(std::string image) {
    const Changing changing(*this);
    Clear();
    image_ = std::move(image);
    // A line longer than 4 GiB cannot be described; such a file is cut there.
    const char* data = image_.data();
    const std::size_t size = image_.size();
    std::size_t pos = 0;
    Section* current = &sections_.back();
    // The next CR and LF at or after `pos`, found with memchr and reused
    // until passed, so that the bytes are scanned once.
    auto find = [&](char c, std::size_t from) -> std::size_t {
        const void* hit = std::memchr(data + from, c, size - from);
        return hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - data)
                              : size;
    };
    std::size_t nextCr = find('\r', 0);
    std::size_t nextLf = find('\n', 0);
    // The lines of the section being read gather here and go to the section
    // at its end, copied once into a body of exactly their number, rather
    // than grown into it step by step (a body holds up to thousands of lines).
    std::vector<Line> pending;
    pending.reserve(256);
    auto close = [&]() {
        current->body.assign(pending.begin(), pending.end());
        pending.clear();
    };
    while (pos < size) {
        if (nextCr < pos) {
            nextCr = find('\r', pos);
        }
        if (nextLf < pos) {
            nextLf = find('\n', pos);
        }
        const std::size_t end = std::min(nextCr, nextLf);
        Line line;
        line.begin = pos;
        line.length = static_cast<std::uint32_t>(std::min<std::size_t>(end - pos, UINT32_MAX));
        std::size_t next = end;
        if (end < size) {
            if (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') {
                line.eol = Eol::kCrLf;
                next = end + 2;
            } else {
                line.eol = data[end] == '\r' ? Eol::kCr : Eol::kLf;
                next = end + 1;
            }
        }
        const std::string_view text(data + pos, line.length);
        ClassifyLine(text, &line);
        if (line.kind == Kind::kHeader) {
            close();
            sections_.emplace_back();
            current = &sections_.back();
            current->hasHeader = true;
            current->name = std::string(HeaderName(text));
            current->header = line;
        } else {
            pending.push_back(line);
        }
        pos = next;
    }
    close();
    Reindex();
}

void IniDocument::Reindex() {
    sectionIndex_.Clear();
    sectionIndex_.Reserve(sections_.size());
    nextSameName_.assign(sections_.size(), NameTable::kNone);
    // The last section of each name met so far, by the name's first section.
    std::vector<std::uint32_t> lastSameName(sections_.size(), NameTable::kNone);
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (!sections_[i].hasHeader) {
            continue;
        }
        const std::string_view name = sections_[i].name;
        const std::uint32_t hash = HashName(name);
        const std::uint32_t first = sectionIndex_.Find(name, hash, SectionName());
        const auto self = static_cast<std::uint32_t>(i);
        if (first == NameTable::kNone) {
            sectionIndex_.Insert(hash, self);
            lastSameName[i] = self;
        } else {
            nextSameName_[lastSameName[first]] = self;
            lastSameName[first] = self;
        }
    }
    keyIndex_.assign(sections_.size(), KeyIndex{});
}

void IniDocument::LinkSection(std::size_t sectionIndex) {
    const std::string_view name = sections_[sectionIndex].name;
    const std::uint32_t hash = HashName(name);
    std::uint32_t at = sectionIndex_.Find(name, hash, SectionName());
    const auto self = static_cast<std::uint32_t>(sectionIndex);
    if (at == NameTable::kNone) {
        sectionIndex_.Insert(hash, self);
        return;
    }
    while (nextSameName_[at] != NameTable::kNone) {
        at = nextSameName_[at];
    }
    nextSameName_[at] = self;
}

std::string_view IniDocument::Text(const Line& line) const {
    if (line.owned) {
        return std::string_view(pool_.data() + line.begin, line.length);
    }
    return std::string_view(image_.data() + line.begin, line.length);
}

IniDocument::Eol IniDocument::FileEol() const {
    for (const Section& s : sections_) {
        if (s.hasHeader && s.header.eol != Eol::kNone) {
            return s.header.eol;
        }
        for (const Line& l : s.body) {
            if (l.eol != Eol::kNone) {
                return l.eol;
            }
        }
        if (s.hasHeader || !s.body.empty()) {
            // The first line has no line end: it is also the last one.
            break;
        }
    }
    return Eol::kCrLf;
}

std::string IniDocument::Serialize() {
    std::string out;
    // The bytes still in use and two line-end bytes per line, so that the
    // text is not grown step by step.
    std::size_t lineCount = 0;
    for (const Section& s : sections_) {
        lineCount += s.body.size() + 1;
    }
    const std::size_t bytes = image_.size() + poolBytes_;
    out.reserve(bytes - std::min(garbage_, bytes) + 2 * lineCount + 64);
    const Eol fileEol = FileEol();
    Line* open = nullptr;  // the last line written, when it has no line end yet
    auto emit = [&](Line& line) {
        if (open != nullptr) {
            // The line end is the line's own from now on, as in the file
            // written: a later delete of the lines that follow keeps it.
            open->eol = fileEol;
            out += EolText(fileEol);
        }
        out += Text(line);
        out += EolText(line.eol);
        open = line.eol == Eol::kNone ? &line : nullptr;
    };
    for (Section& s : sections_) {
        if (s.hasHeader) {
            emit(s.header);
        }
        for (Line& l : s.body) {
            emit(l);
        }
    }
    return out;
}

std::size_t IniDocument::FindSectionIndex(std::string_view name) const {
    if (lookups_.sectionKnown && SameName(name, lookups_.sectionName)) {
        return lookups_.section;
    }
    const std::uint32_t i = sectionIndex_.Find(name, HashName(name), SectionName());
    lookups_.sectionName.assign(name.data(), name.size());
    lookups_.section = i == NameTable::kNone ? SIZE_MAX : i;
    lookups_.sectionKnown = true;
    return lookups_.section;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
    const std::size_t i = FindSectionIndex(name);
    return i == SIZE_MAX ? nullptr : &sections_[i];
}

IniDocument::Section* IniDocument::FindSectionMutable(std::string_view name) {
    const std::size_t i = FindSectionIndex(name);
    return i == SIZE_MAX ? nullptr : &sections_[i];
}

bool IniDocument::FillKeyTable(const Section& s, NameTable* table) const {
    table->Clear();
    table->Reserve(s.body.size());
    bool repeated = false;
    const auto nameOf = [&](std::uint32_t n) { return Key(s.body[n]); };
    for (std::size_t i = 0; i < s.body.size(); ++i) {
        if (s.body[i].kind == Kind::kEntry) {
            const std::string_view key = Key(s.body[i]);
            // Only the first entry of a key is found.
            if (table->FindOrInsert(key, HashName(key), nameOf, static_cast<std::uint32_t>(i)) !=
                NameTable::kNone) {
                repeated = true;
            }
        }
    }
    return repeated;
}

const NameTable& IniDocument::Keys(std::size_t sectionIndex) const {
    KeyIndex& index = keyIndex_[sectionIndex];
    if (!index.valid) {
        index.repeated = FillKeyTable(sections_[sectionIndex], &index.table);
        index.repeatedKnown = true;
        index.valid = true;
    }
    return index.table;
}

void IniDocument::InvalidateKeys(std::size_t sectionIndex) const {
    lookups_.keyKnown = false;
    KeyIndex& index = keyIndex_[sectionIndex];
    index.valid = false;
    index.table.Clear();
    index.repeatedKnown = false;
    index.scanned = 0;
}

std::uint32_t IniDocument::ScanForKey(std::size_t sectionIndex, std::string_view key) const {
    const Section& s = sections_[sectionIndex];
    KeyIndex& index = keyIndex_[sectionIndex];
    for (std::size_t i = 0; i < s.body.size(); ++i) {
        ++index.scanned;
        if (s.body[i].kind == Kind::kEntry && SameName(Key(s.body[i]), key)) {
            return static_cast<std::uint32_t>(i);
        }
    }
    return NameTable::kNone;
}

std::uint32_t IniDocument::FindKey(std::size_t sectionIndex, std::string_view key) const {
    if (lookups_.keyKnown && lookups_.keySection == sectionIndex && SameName(key, lookups_.key)) {
        return lookups_.keyAt;
    }
    const Section& s = sections_[sectionIndex];
    const KeyIndex& index = keyIndex_[sectionIndex];
    // A loader asks a section for a few keys near its top and then reads it
    // whole: walking the lines answers those without building the section's
    // table (memory of the order of the section's). Once the walks have
    // cost as much as building it would, the table is built, so lookups stay
    // linear in the section's size in total.
    const std::uint32_t at =
        !index.valid && index.scanned < s.body.size()
            ? ScanForKey(sectionIndex, key)
            : Keys(sectionIndex).Find(key, HashName(key), [&](std::uint32_t n) {
                  return Key(s.body[n]);
              });
    lookups_.key.assign(key.data(), key.size());
    lookups_.keySection = sectionIndex;
    lookups_.keyAt = at;
    lookups_.keyKnown = true;
    return at;
}

const IniDocument::Line* IniDocument::FindEntry(const Section& section,
                                                std::string_view key) const {
    const auto sectionIndex = static_cast<std::size_t>(&section - sections_.data());
    const std::uint32_t i = FindKey(sectionIndex, key);
    return i == NameTable::kNone ? nullptr : &section.body[i];
}

bool IniDocument::HasRepeatedKeys(const Section& section) const {
    const auto sectionIndex = static_cast<std::size_t>(&section - sections_.data());
    KeyIndex& index = keyIndex_[sectionIndex];
    if (!index.repeatedKnown) {
        // Answered with a table shared by all sections, so that a section
        // read once, whole, keeps no table of its own.
        index.repeated = FillKeyTable(section, &scratchKeys_);
        index.repeatedKnown = true;
    }
    return index.repeated;
}

IniDocument::Line IniDocument::MakeLine(std::string_view text) {
    Line line;
    ClassifyLine(text, &line);
    line.owned = true;
    line.begin = pool_.size();
    line.length = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), UINT32_MAX));
    line.eol = FileEol();
    poolBytes_ += line.length;
    // One string for all written lines rather than one per line: a save
    // writes every line of the file.
    pool_.append(text.data(), line.length);
    return line;
}

IniDocument::Section& IniDocument::AppendSection(std::string_view name) {
    std::string headerText;
    headerText.reserve(name.size() + 2);
    headerText += '[';
    headerText += name;
    headerText += ']';
    Line header = MakeLine(std::move(headerText));
    sections_.emplace_back();
    Section& s = sections_.back();
    s.hasHeader = true;
    s.name = std::string(name);
    s.header = header;
    keyIndex_.emplace_back();
    nextSameName_.push_back(NameTable::kNone);
    LinkSection(sections_.size() - 1);
    return s;
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    const Changing changing(*this);
    std::size_t si = FindSectionIndex(section);
    if (si == SIZE_MAX) {
        AppendSection(section);
        si = sections_.size() - 1;
    }
    const std::uint32_t found = FindKey(si, key);
    if (found != NameTable::kNone) {
        Line& line = sections_[si].body[found];
        if (Value(line) == value) {
            return false;
        }
        std::string text(Key(line));
        text += '=';
        text += value;
        garbage_ += line.length;
        line = MakeLine(std::move(text));
        return true;
    }
    // A new key goes after the last entry or line without '=', before the
    // comments and blank lines that close the section.
    std::string text(key);
    text += '=';
    text += value;
    Line line = MakeLine(std::move(text));
    std::vector<Line>& body = sections_[si].body;
    std::size_t pos = body.size();
    while (pos > 0 && !IsContent(body[pos - 1].kind)) {
        --pos;
    }
    body.insert(body.begin() + static_cast<std::ptrdiff_t>(pos), line);
    // Every indexed entry stands before `pos`, so no index moves; the key was
    // not there, so no key repeats that did not before.
    if (keyIndex_[si].valid) {
        keyIndex_[si].table.Insert(HashName(key), static_cast<std::uint32_t>(pos));
    }
    return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    const Changing changing(*this);
    const std::size_t si = FindSectionIndex(section);
    if (si == SIZE_MAX) {
        return false;
    }
    const std::uint32_t found = FindKey(si, key);
    if (found == NameTable::kNone) {
        return false;
    }
    std::vector<Line>& body = sections_[si].body;
    garbage_ += body[found].length;
    body.erase(body.begin() + static_cast<std::ptrdiff_t>(found));
    InvalidateKeys(si);
    return true;
}

bool IniDocument::DeleteSection(std::string_view section) {
    const Changing changing(*this);
    const std::size_t si = FindSectionIndex(section);
    if (si == SIZE_MAX) {
        return false;
    }
    // The next section of the name, if any, is now the first.
    sectionIndex_.Replace(section, HashName(section), SectionName(), nextSameName_[si]);
    nextSameName_[si] = NameTable::kNone;
    Section& s = sections_[si];
    // The header, entries and lines without '=' go; comments and blank lines stay.
    s.hasHeader = false;
    garbage_ += s.header.length;
    s.body.erase(std::remove_if(s.body.begin(), s.body.end(),
                                [this](const Line& l) {
                                    if (IsContent(l.kind)) {
                                        garbage_ += l.length;
                                        return true;
                                    }
                                    return false;
                                }),
                 s.body.end());
    InvalidateKeys(si);
    return true;
}

bool IniDocument::ReplaceSection(std::string_view section,
                                 const std::vector<std::string_view>& lines) {
    const Changing changing(*this);
    std::size_t si = FindSectionIndex(section);
    if (si == SIZE_MAX) {
        AppendSection(section);
        si = sections_.size() - 1;
    }
    std::vector<Line> fresh;
    fresh.reserve(lines.size());
    for (const std::string_view l : lines) {
        fresh.push_back(MakeLine(l));
    }
    std::vector<Line>& body = sections_[si].body;
    std::vector<Line> out;
    out.reserve(body.size() + fresh.size());
    bool placed = false;
    for (const Line& l : body) {
        if (IsContent(l.kind)) {
            garbage_ += l.length;
            if (!placed) {
                out.insert(out.end(), fresh.begin(), fresh.end());
                placed = true;
            }
            continue;
        }
        out.push_back(l);
    }
    if (!placed) {
        out.insert(out.begin(), fresh.begin(), fresh.end());
    }
    body = std::move(out);
    InvalidateKeys(si);
    return true;
}

}  // namespace knitcfg::detail
