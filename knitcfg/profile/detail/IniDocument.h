#pragma once

// The in-memory model of one profile file: every line kept as it was read,
// with indexes for section and key lookups. Internal to the library: the
// profile operations work on it, the diagnostics walk it line by line.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "knitcfg/profile/detail/NameTable.h"

namespace knitcfg::detail {

class IniDocument {
public:
    enum class Kind : std::uint8_t { kBlank, kComment, kHeader, kEntry, kText };
    enum class Eol : std::uint8_t { kNone, kLf, kCr, kCrLf };

    // One line of the file. Its bytes live either in the file image read at
    // parse time or, for a line the layer wrote, in the document's own pool.
    struct Line {
        std::size_t begin = 0;  // offset in the image, or index in the pool
        std::uint32_t length = 0;
        Kind kind = Kind::kBlank;
        Eol eol = Eol::kNone;
        bool owned = false;  // bytes in the pool
        // For an entry: key and value, trimmed, as offsets into the line.
        std::uint32_t keyBegin = 0, keyLength = 0, valueBegin = 0, valueLength = 0;
    };

    // A section: its header line and the lines up to the next header. The
    // lines before the first header form a section without header, which no
    // lookup reaches; so does what a deleted section leaves behind.
    struct Section {
        bool hasHeader = false;
        std::string name;  // trimmed
        Line header;
        std::vector<Line> body;
    };

    IniDocument() = default;
    IniDocument(const IniDocument&) = delete;
    IniDocument& operator=(const IniDocument&) = delete;

    // Replaces the document with the lines of `bytes`.
    void Parse(std::string image);
    void Clear();
    // The file's bytes: untouched lines exactly as read. A last line without
    // line end that lines now follow is given the file's line end, and keeps
    // it when those lines are deleted again.
    std::string Serialize();
    // True when lines replaced or removed since the parse hold more memory
    // than the lines in use, so that parsing the written text again pays.
    bool WorthCompacting() const { return garbage_ > (image_.size() + poolBytes_) / 2; }

    // Lookups take names that have lost their spaces already.
    const Section* FindSection(std::string_view name) const;
    // The first entry of `key` in the section, or null.
    const Line* FindEntry(const Section& section, std::string_view key) const;
    // True when two entries of the section have the same key, letter case
    // aside (FindEntry finds only the first of them).
    bool HasRepeatedKeys(const Section& section) const;

    std::string_view Text(const Line& line) const;
    std::string_view Key(const Line& line) const {
        return Text(line).substr(line.keyBegin, line.keyLength);
    }
    std::string_view Value(const Line& line) const {
        return Text(line).substr(line.valueBegin, line.valueLength);
    }
    const std::vector<Section>& Sections() const { return sections_; }
    // The 1-based line of the file on which each section begins (its header;
    // for a section without header, its first line), by position in
    // Sections(). A section's body lines follow one per line: the document's
    // lines are the lines of the file it stands for, in order.
    std::vector<std::uint32_t> FirstLines() const;

    // Edits; the text given must already be checked by the caller. Each
    // returns true when the document changed.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);
    // Replaces the entries and lines without '=' of the section with `lines`
    // ("key=value" each), adding the section when missing.
    bool ReplaceSection(std::string_view section, const std::vector<std::string_view>& lines);

private:
    // A section's keys, by name, to the position of their first entry.
    struct KeyIndex {
        NameTable table;
        bool valid = false;
        bool repeated = false;  // some key has more than one entry
        bool repeatedKnown = false;
        std::size_t scanned = 0;  // lines walked by lookups made without the table
    };

    // The name of a section by its position, for the section index.
    auto SectionName() const {
        return [this](std::uint32_t n) { return std::string_view(sections_[n].name); };
    }
    Line MakeLine(std::string_view text);
    Section* FindSectionMutable(std::string_view name);
    std::size_t FindSectionIndex(std::string_view name) const;
    // Fills `table` with the first entry of each key of `s`; true when some
    // key has more than one entry.
    bool FillKeyTable(const Section& s, NameTable* table) const;
    const NameTable& Keys(std::size_t sectionIndex) const;
    std::uint32_t ScanForKey(std::size_t sectionIndex, std::string_view key) const;
    std::uint32_t FindKey(std::size_t sectionIndex, std::string_view key) const;
    void LinkSection(std::size_t sectionIndex);
    void InvalidateKeys(std::size_t sectionIndex) const;
    Section& AppendSection(std::string_view name);
    Eol FileEol() const;
    void Reindex();

    std::string image_;  // the bytes read at parse time
    std::string pool_;   // bytes of lines written since, end to end
    std::size_t poolBytes_ = 0;
    std::size_t garbage_ = 0;        // bytes of lines no longer in use
    std::vector<Section> sections_;  // [0] is the part before the first header
    // Name -> first live section of that name; the others of the same name
    // follow in file order through nextSameName_.
    NameTable sectionIndex_;
    std::vector<std::uint32_t> nextSameName_;
    // Key indexes are built on first use and dropped when a section's lines move.
    mutable std::vector<KeyIndex> keyIndex_;
    mutable NameTable scratchKeys_;

    // The last section and the last key looked up, with their answers: a
    // loader asks for the same section entry after entry, and often for the
    // same key twice in a row. Every change of the document forgets them.
    struct Lookups {
        bool sectionKnown = false;
        std::string sectionName;
        std::size_t section = 0;
        bool keyKnown = false;
        std::size_t keySection = 0;
        std::string key;
        std::uint32_t keyAt = 0;
    };
    void ForgetLookups() const {
        lookups_.sectionKnown = false;
        lookups_.keyKnown = false;
    }
    // Forgets the lookups when a change begins and when it ends (a change
    // looks names up before it is done).
    class Changing {
    public:
        explicit Changing(const IniDocument& doc) : doc_(doc) { doc_.ForgetLookups(); }
        ~Changing() { doc_.ForgetLookups(); }
        Changing(const Changing&) = delete;
        Changing& operator=(const Changing&) = delete;

    private:
        const IniDocument& doc_;
    };
    mutable Lookups lookups_;
};

// Classifies one line of text (without its line end) and finds the key and
// value of an entry.
void ClassifyLine(std::string_view text, IniDocument::Line* line);

// Trims blanks (space, tab, vertical tab) from both ends.
std::string_view TrimBlanks(std::string_view s);

// A stored value as GetString gives it: one pair of matching outer quotes
// (' or ") dropped from a value at least 2 characters long.
std::string_view Unquote(std::string_view v);

}  // namespace knitcfg::detail
