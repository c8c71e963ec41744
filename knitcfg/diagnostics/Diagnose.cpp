#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

#include "knitcfg/common/RetError.h"
#include "knitcfg/common/detail/Blanks.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/diagnostics/detail/Examiner.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/profile/detail/FileCache.h"

namespace knitcfg {

namespace detail {

namespace {

constexpr const char* kProtectionKeys[] = {"ConfigProtected", nullptr};
constexpr const char* kHeaderKeys[] = {"MachineType",   "Version",    "Description",
                                       "NumberOfLines", "StartBlock", "LastDevelop",
                                       "SourceCfg",     "SourceSdi",  nullptr};
constexpr const char* kPlaneSectionKeys[] = {"NumberOfLines", "StartBlock", "Priority",
                                             "Description", nullptr};
constexpr const char* kSectionPrefixes[] = {"Color_", "Line_", "Plane_"};
constexpr const char* kSectionNames[] = {"Header", "Protection", "ColorPlanes", "GeneratedDis",
                                         "ShavedDis"};
// What the header's texts read when the key is missing.
constexpr std::string_view kNotFound = "<NOT FOUND>";

using detail::IsIniBlank;

bool HasListedKey(const IniDocument::Section& s) {
    for (const IniDocument::Line& l : s.body) {
        if (l.kind == IniDocument::Kind::kEntry && l.keyLength > 0) {
            return true;
        }
    }
    return false;
}

std::string ToText(int number) {
    return std::to_string(number);
}

}  // namespace

// The part of a name that should be a known prefix: up to and with its
// first '_', or its leading letters and a '_' when it has none.
std::string Lead(std::string_view name) {
    const std::size_t underscore = name.find('_');
    if (underscore != std::string_view::npos) {
        return std::string(name.substr(0, underscore + 1));
    }
    std::size_t n = 0;
    while (n < name.size() &&
           ((name[n] >= 'a' && name[n] <= 'z') || (name[n] >= 'A' && name[n] <= 'Z'))) {
        ++n;
    }
    return std::string(name.substr(0, n)) + "_";
}

std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t longer = std::max(a.size(), b.size());
    const std::size_t shorter = std::min(a.size(), b.size());
    if (longer - shorter > limit || longer > 64) {
        return limit + 1;
    }
    // Three rows of the classic table; the names compared are short.
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        previous[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = LowerAscii(a[i - 1]) == LowerAscii(b[j - 1]) ? 0 : 1;
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && LowerAscii(a[i - 1]) == LowerAscii(b[j - 2]) &&
                LowerAscii(a[i - 2]) == LowerAscii(b[j - 1])) {
                row[j] = std::min(row[j], before[j - 2] + 1);
            }
        }
        before.swap(previous);
        previous.swap(row);
    }
    return std::min(previous[b.size()], limit + 1);
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 60;
    std::string out = "'";
    for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c >= 0x7f) {
            static const char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text.size() > kShown) {
        out += "...";
    }
    out += "'";
    return out;
}

Examiner::Examiner(const IniDocument& doc, const Configuration& config, int loadCode,
                   std::vector<Diagnostic>* out)
    : doc_(doc), config_(config), loadCode_(loadCode), out_(*out) {}

int Examiner::LineOf(std::size_t index, std::size_t j) const {
    const Section& s = doc_.Sections()[index];
    return static_cast<int>(first_[index] + (s.hasHeader ? 1U : 0U) + j);
}

std::size_t Examiner::IndexOf(const Section* section) const {
    return static_cast<std::size_t>(section - doc_.Sections().data());
}

void Examiner::Add(Severity severity, int line, std::string_view section, std::string_view key,
                   const char* id, std::string message, int code) {
    Diagnostic d;
    d.severity = severity;
    d.line = line;
    d.section.assign(section);
    d.key.assign(key);
    d.id = id;
    d.message = std::move(message);
    d.code = code;
    out_.push_back(std::move(d));
}

void Examiner::Run() {
    first_ = doc_.FirstLines();
    if (!ExamineFile()) {
        return;
    }
    // The designs the table lists: their sections are read by name.
    if (const Section* table = doc_.FindSection("GeneratedDis")) {
        for (const Line& l : table->body) {
            if (l.kind == IniDocument::Kind::kEntry) {
                designNames_.insert(LowerAscii(doc_.Key(l)));
            }
        }
    }
    if (const Section* planes = doc_.FindSection("ColorPlanes")) {
        planeEntries_ = HasListedKey(*planes);
    }
    ExamineProtection();
    ExamineHeader();
    const auto& sections = doc_.Sections();
    // The loaders list the section names through a buffer of detail::kListingSize
    // characters: the programs named after that are not read.
    std::size_t listed = 0;
    for (std::size_t i = 1; i < sections.size(); ++i) {
        const std::string& name = sections[i].name;
        if (!sections[i].hasHeader || name.empty()) {
            continue;
        }
        listed += name.size() + 1;
        if (listed > detail::kListingSize - 2) {
            std::size_t programs = 0;
            for (std::size_t k = i; k < sections.size(); ++k) {
                const std::string& n = sections[k].name;
                programs += sections[k].hasHeader && (n.compare(0, 6, "Color_") == 0 ||
                                                      n.compare(0, 5, "Line_") == 0 ||
                                                      n.compare(0, 6, "Plane_") == 0)
                                ? 1
                                : 0;
            }
            if (programs != 0) {
                Add(Severity::Warning, HeaderLine(i), name, "", "listing-cut",
                    "the section names up to here fill the " +
                        ToText(static_cast<int>(detail::kListingSize)) +
                        " characters the load lists: " + ToText(static_cast<int>(programs)) +
                        " color, line or plane sections from [" + name + "] on are not read");
            }
            break;
        }
    }
    for (std::size_t i = 1; i < sections.size(); ++i) {
        if (sections[i].hasHeader) {
            ExamineSection(i);
        }
    }
    CrossReferences();
}

// The file as a whole: its encoding, line ends, and whether it has sections.
// False when nothing more can be said.
bool Examiner::ExamineFile() {
    const auto& sections = doc_.Sections();
    const Line* firstLine = nullptr;
    if (!sections[0].body.empty()) {
        firstLine = &sections[0].body.front();
    } else if (sections.size() > 1 && sections[1].hasHeader) {
        firstLine = &sections[1].header;
    }
    if (firstLine != nullptr) {
        const std::string_view text = doc_.Text(*firstLine);
        const bool mark = text.size() >= 2 && ((static_cast<unsigned char>(text[0]) == 0xff &&
                                                static_cast<unsigned char>(text[1]) == 0xfe) ||
                                               (static_cast<unsigned char>(text[0]) == 0xfe &&
                                                static_cast<unsigned char>(text[1]) == 0xff));
        const bool wide =
            text.size() >= 4 && ((text[1] == '\0' && text[3] == '\0' && text[0] != '\0') ||
                                 (text[0] == '\0' && text[2] == '\0' && text[1] != '\0'));
        if (mark || wide) {
            Add(Severity::Error, 0, "", "", "utf16",
                "the file is UTF-16 text, which the library does not read: save it as 8-bit "
                "text" +
                    (loadCode_ != 0 ? " (the load reports code " + ToText(loadCode_) + ")"
                                    : std::string()),
                loadCode_);
            return false;
        }
        if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
            Add(Severity::Warning, 1, "", "", "utf8-bom",
                "the file begins with a UTF-8 byte-order mark: line 1 is read with those 3 "
                "bytes in front (a section header there is not seen); save the file without it");
        }
    }
    // Line ends and NUL bytes, the first of each.
    bool nulSeen = false;
    bool mixedSeen = false;
    IniDocument::Eol firstEol = IniDocument::Eol::kNone;
    int number = 1;
    auto look = [&](const Line& l) {
        if (!nulSeen && std::memchr(doc_.Text(l).data(), '\0', doc_.Text(l).size()) != nullptr) {
            nulSeen = true;
            Add(Severity::Warning, number, "", "", "nul-bytes",
                "line " + ToText(number) +
                    " holds NUL bytes, which editors hide and the library reads as ordinary "
                    "characters");
        }
        if (l.eol != IniDocument::Eol::kNone) {
            if (firstEol == IniDocument::Eol::kNone) {
                firstEol = l.eol;
            } else if (l.eol != firstEol && !mixedSeen) {
                mixedSeen = true;
                auto name = [](IniDocument::Eol e) {
                    return e == IniDocument::Eol::kCrLf ? "CR LF"
                           : e == IniDocument::Eol::kLf ? "LF"
                                                        : "CR";
                };
                Add(Severity::Warning, number, "", "", "mixed-line-ends",
                    std::string("line ends are mixed: this line ends with ") + name(l.eol) +
                        ", earlier lines with " + name(firstEol));
            }
        }
        ++number;
    };
    bool named = false;
    for (const Section& s : sections) {
        if (s.hasHeader) {
            look(s.header);
            named = named || !s.name.empty();
        }
        for (const Line& l : s.body) {
            look(l);
        }
    }
    if (!named) {
        Add(Severity::Error, 0, "", "", "no-sections",
            "the file has no section ([Name] line), so the load reads nothing from it" +
                (loadCode_ != 0 ? " (code " + ToText(loadCode_) + ")" : std::string()),
            loadCode_);
        return false;
    }
    for (std::size_t j = 0; j < sections[0].body.size(); ++j) {
        const Line& l = sections[0].body[j];
        if (l.kind == IniDocument::Kind::kEntry || l.kind == IniDocument::Kind::kText) {
            Add(Severity::Warning, LineOf(0, j), "", "", "outside-section",
                "text before the first section is read by no one: " + Quoted(doc_.Text(l)));
            break;
        }
    }
    NoteComments(0);
    return true;
}

void Examiner::CheckNumber(std::string_view value, int line, std::string_view section,
                           std::string_view key, bool sixteen) {
    const detail::ProfileNumber n = detail::ScanProfileInt(value);
    if (!n.digits) {
        Add(Severity::Warning, line, section, key, "lenient-number",
            std::string(key) + " = " + Quoted(value) + " holds no number: it reads as 0");
        return;
    }
    std::size_t rest = n.end;
    while (rest < value.size() && IsIniBlank(value[rest])) {
        ++rest;
    }
    if (rest < value.size()) {
        Add(Severity::Warning, line, section, key, "lenient-number",
            std::string(key) + " = " + Quoted(value) + " reads as " + ToText(n.value) +
                ": the text after the number is ignored");
    }
    if (sixteen && detail::Low16(n.value) != n.value) {
        Add(Severity::Warning, line, section, key, "number-cut",
            std::string(key) + " = " + ToText(n.value) +
                " is outside the 16-bit range (-32768 to 32767): it is kept as " +
                ToText(detail::Low16(n.value)));
    }
}

void Examiner::ExamineProtection() {
    const Section* s = doc_.FindSection("Protection");
    if (s == nullptr) {
        Add(Severity::Error, 0, "Protection", "", "missing-section",
            "the section [Protection] is missing: the load reports code 2", RE_NO_PROTECTION);
        return;
    }
    const std::size_t index = IndexOf(s);
    const Line* line = doc_.FindEntry(*s, "ConfigProtected");
    if (line == nullptr) {
        Add(Severity::Error, HeaderLine(index), s->name, "ConfigProtected", "missing-key",
            "[" + s->name + "] has no key ConfigProtected (0 or 1): the load reports code 2",
            RE_NO_PROTECTION);
        return;
    }
    const int at = LineOf(index, static_cast<std::size_t>(line - s->body.data()));
    const std::string_view value = Unquote(doc_.Value(*line));
    if (value.empty() || detail::ScanProfileInt(value).value == -1) {
        Add(Severity::Error, at, s->name, doc_.Key(*line), "refused-value",
            "ConfigProtected = " + Quoted(value) +
                " counts as missing (expected 0 or 1): the load reports code 2",
            RE_NO_PROTECTION);
        return;
    }
    CheckNumber(value, at, s->name, doc_.Key(*line), false);
}

void Examiner::ExamineHeader() {
    const Section* s = doc_.FindSection("Header");
    if (s == nullptr || !HasListedKey(*s)) {
        Add(Severity::Error, s != nullptr ? HeaderLine(IndexOf(s)) : 0, "Header", "",
            "missing-section",
            std::string(s == nullptr ? "the section [Header] is missing" : "[Header] has no key") +
                ": the load reports code 3",
            RE_NO_HEADER);
        if (s == nullptr) {
            return;
        }
    }
    const std::size_t index = IndexOf(s);
    auto find = [&](const char* key, std::string_view* value, int* at) {
        const Line* line = doc_.FindEntry(*s, key);
        if (line == nullptr) {
            return false;
        }
        *value = Unquote(doc_.Value(*line));
        *at = LineOf(index, static_cast<std::size_t>(line - s->body.data()));
        return *value != kNotFound;
    };
    auto missing = [&](const char* key, int code, const char* expected) {
        Add(Severity::Error, HeaderLine(index), s->name, key, "missing-key",
            "[" + s->name + "] has no key " + key + " (" + expected + "): the load reports code " +
                ToText(code),
            code);
    };
    std::string_view value;
    int at = 0;
    if (!find("MachineType", &value, &at)) {
        missing("MachineType", RE_NO_MACHINE_TYPE, "the machine type");
    }
    if (!find("Version", &value, &at)) {
        missing("Version", RE_BAD_VERSION, "such as 3.2");
    } else {
        int number = 0;
        const std::size_t end = detail::ScanDecimal(value, &number);
        std::size_t minor = 0;
        if (end != 0 && end < value.size() && value[end] == '.') {
            minor = detail::ScanDecimal(value.substr(end + 1), &number);
        }
        if (minor == 0) {
            Add(Severity::Error, at, s->name, "Version", "refused-value",
                "Version = " + Quoted(value) +
                    " is not two numbers around a point (such as 3.2): the load reports code 5",
                RE_BAD_VERSION);
        } else if (end + 1 + minor < value.size()) {
            Add(Severity::Warning, at, s->name, "Version", "lenient-number",
                "Version = " + Quoted(value) + ": the text after the second number is ignored");
        }
    }
    if (!find("Description", &value, &at)) {
        missing("Description", RE_NO_DESCRIPTION, "a text");
    }
    struct Count {
        const char* key;
        int code;
        bool zeroAllowed;
    };
    for (const Count& c : {Count{"NumberOfLines", RE_BAD_NUMBER_OF_LINES, false},
                           Count{"StartBlock", RE_BAD_START_BLOCK, true}}) {
        const Line* line = doc_.FindEntry(*s, c.key);
        const std::string_view v = line != nullptr ? Unquote(doc_.Value(*line)) : "";
        if (line == nullptr) {
            missing(c.key, c.code, c.zeroAllowed ? "0 or more" : "1 or more");
            continue;
        }
        const int lineAt = LineOf(index, static_cast<std::size_t>(line - s->body.data()));
        if (v.empty()) {
            Add(Severity::Error, lineAt, s->name, doc_.Key(*line), "refused-value",
                std::string(c.key) + " is empty: the load reports code " + ToText(c.code), c.code);
            continue;
        }
        const short kept = detail::Low16(detail::ScanProfileInt(v).value);
        if (c.zeroAllowed ? kept < 0 : kept <= 0) {
            Add(Severity::Error, lineAt, s->name, doc_.Key(*line), "refused-value",
                std::string(c.key) + " = " + Quoted(v) + " reads as " + ToText(kept) +
                    ", expected " + (c.zeroAllowed ? "0 or more" : "1 or more") +
                    ": the load reports code " + ToText(c.code),
                c.code);
        }
        CheckNumber(v, lineAt, s->name, doc_.Key(*line), true);
    }
    if (find("LastDevelop", &value, &at) && !value.empty() &&
        value.find(',') == std::string_view::npos) {
        Add(Severity::Warning, at, s->name, "LastDevelop", "bad-value",
            "LastDevelop = " + Quoted(value) +
                " has no comma: the load reads no design name from it (expected NAME,N,N)");
    }
    ExamineKeysOf(index, kHeaderKeys, true);
}

// The keys of a section that the library reads by name: a key that is none
// of `known` is a misspelling (a warning) or unknown (a note: a save drops it).
void Examiner::ExamineKeysOf(std::size_t index, const char* const* known, bool warnUnknown) {
    const Section& s = doc_.Sections()[index];
    bool noted = false;
    for (std::size_t j = 0; j < s.body.size(); ++j) {
        const Line& l = s.body[j];
        if (l.kind != IniDocument::Kind::kEntry && l.kind != IniDocument::Kind::kText) {
            continue;
        }
        if (l.kind == IniDocument::Kind::kText) {
            Add(Severity::Warning, LineOf(index, j), s.name, "", "line-without-equals",
                Quoted(doc_.Text(l)) + " has no '=': it is not read as a key");
            continue;
        }
        const std::string_view key = doc_.Key(l);
        bool isKnown = false;
        const char* nearest = nullptr;
        for (const char* const* k = known; *k != nullptr; ++k) {
            if (EqualsNoCase(key, *k)) {
                isKnown = true;
                break;
            }
            if (nearest == nullptr && EditDistance(key, *k, 2) <= 2) {
                nearest = *k;
            }
        }
        if (isKnown) {
            continue;
        }
        if (nearest != nullptr) {
            Add(Severity::Warning, LineOf(index, j), s.name, key, "misspelt-key",
                "key " + Quoted(key) + " is not read: did you mean " + nearest + "?");
        } else if (warnUnknown && !noted) {
            noted = true;
            Add(Severity::Note, LineOf(index, j), s.name, key, "unknown-key",
                "key " + Quoted(key) + " is not read, and a save drops it");
        }
    }
}

void Examiner::ExamineRepeatedKeys(std::size_t index, bool tableSection) {
    const Section& s = doc_.Sections()[index];
    if (!doc_.HasRepeatedKeys(s)) {
        return;
    }
    std::unordered_map<std::string, int> seen;
    for (std::size_t j = 0; j < s.body.size(); ++j) {
        const Line& l = s.body[j];
        if (l.kind != IniDocument::Kind::kEntry || l.keyLength == 0) {
            continue;
        }
        const auto [at, fresh] = seen.emplace(LowerAscii(doc_.Key(l)), LineOf(index, j));
        if (!fresh) {
            Add(Severity::Warning, LineOf(index, j), s.name, doc_.Key(l), "repeated-key",
                "key " + Quoted(doc_.Key(l)) + " repeats the one of line " + ToText(at->second) +
                    (tableSection ? ": both are read, and a save keeps only one of them"
                                  : ": the load reads only the first"));
        }
    }
}

void Examiner::NoteComments(std::size_t index) {
    const Section& s = doc_.Sections()[index];
    for (std::size_t j = 0; j < s.body.size(); ++j) {
        if (s.body[j].kind == IniDocument::Kind::kComment) {
            Add(Severity::Note, LineOf(index, j), s.name, "", "comments-dropped",
                index == 0 ? "comments before the first section are dropped by a save"
                           : "comments of [" + s.name + "] are dropped by a save");
            return;
        }
    }
}

void Examiner::ExamineSection(std::size_t index) {
    const Section& s = doc_.Sections()[index];
    const std::string& name = s.name;
    const Section* first = doc_.FindSection(name);
    if (first != &s && first != nullptr) {
        Add(Severity::Warning, HeaderLine(index), name, "", "repeated-section",
            "section [" + name + "] repeats the one of line " + ToText(HeaderLine(IndexOf(first))) +
                ": the load reads only the first, and a save drops this one");
        return;
    }
    NoteComments(index);
    if (name.compare(0, 6, "Color_") == 0) {
        ExamineProgram(index, true);
        return;
    }
    if (name.compare(0, 5, "Line_") == 0) {
        ExamineProgram(index, false);
        return;
    }
    if (name.compare(0, 6, "Plane_") == 0) {
        ExaminePlaneSection(index);
        return;
    }
    if (EqualsNoCase(name, "Protection")) {
        ExamineKeysOf(index, kProtectionKeys, true);
        ExamineRepeatedKeys(index, false);
    } else if (EqualsNoCase(name, "Header")) {
        ExamineRepeatedKeys(index, false);  // its keys were looked at with the header
    } else if (EqualsNoCase(name, "ColorPlanes")) {
        ExamineColorPlanes(index);
    } else if (EqualsNoCase(name, "GeneratedDis")) {
        ExamineGeneratedDis(index);
    } else if (EqualsNoCase(name, "ShavedDis")) {
        ExamineShaved(index);
    } else if (designNames_.count(LowerAscii(name)) != 0) {
        ExamineDesignSection(index);
    } else {
        ExamineUnknownSection(index);
    }
}

void Examiner::ExamineUnknownSection(std::size_t index) {
    const std::string& name = doc_.Sections()[index].name;
    const int at = HeaderLine(index);
    for (const char* prefix : kSectionPrefixes) {
        if (StartsWithNoCase(name, prefix)) {
            Add(Severity::Warning, at, name, "", "section-letter-case",
                "section [" + name + "] is not read: its name must begin with " + prefix +
                    " in this letter case");
            return;
        }
    }
    // A numbered name near a program prefix: a name without digits is
    // rather compared with the known names below.
    const std::string lead = Lead(name);
    const bool numbered = name.find_first_of("0123456789") != std::string::npos;
    for (const char* prefix : kSectionPrefixes) {
        const std::size_t limit = std::strlen(prefix) >= 6 ? 2 : 1;
        if (numbered && EditDistance(lead, prefix, limit) <= limit) {
            Add(Severity::Warning, at, name, "", "misspelt-section",
                "section [" + name + "] is not read: did you mean " + prefix + "...?");
            return;
        }
    }
    for (const char* known : kSectionNames) {
        if (name.size() >= 4 && EditDistance(name, known, 2) <= 2) {
            Add(Severity::Warning, at, name, "", "misspelt-section",
                "section [" + name + "] is not read: did you mean [" + known + "]?");
            return;
        }
    }
    if (name.find_first_of("\\/:.") != std::string::npos) {
        Add(Severity::Warning, at, name, "", "unlisted-design",
            "section [" + name +
                "] looks like a design but [GeneratedDis] does not list it: it is not read, "
                "and a save drops it");
        return;
    }
    Add(Severity::Note, at, name, "", "unknown-section",
        "section [" + name + "] is not read by the library, and a save drops it");
}

void Examiner::ExamineColorPlanes(std::size_t index) {
    const Section& s = doc_.Sections()[index];
    ExamineRepeatedKeys(index, false);
    for (std::size_t j = 0; j < s.body.size(); ++j) {
        const Line& l = s.body[j];
        if (l.kind == IniDocument::Kind::kText) {
            Add(Severity::Warning, LineOf(index, j), s.name, "", "line-without-equals",
                Quoted(doc_.Text(l)) + " has no '=': it is not read");
            continue;
        }
        if (l.kind != IniDocument::Kind::kEntry || l.keyLength == 0) {
            continue;
        }
        const std::string_view key = doc_.Key(l);
        if (key.compare(0, 6, "Plane_") != 0) {
            const bool near = EditDistance(Lead(key), "Plane_", 2) <= 2;
            Add(near ? Severity::Warning : Severity::Note, LineOf(index, j), s.name, key,
                near ? "misspelt-key" : "unknown-key",
                "key " + Quoted(key) + " is not read" +
                    (near ? ": plane entries begin with Plane_" : ", and a save drops it"));
            continue;
        }
        // number, description, priority: "%d, text, %d".
        const std::string_view value = Unquote(doc_.Value(l));
        int number = 0;
        const std::size_t end = detail::ScanDecimal(value, &number);
        const std::size_t comma =
            end != 0 && end < value.size() && value[end] == ',' ? end : std::string_view::npos;
        const std::size_t second =
            comma == std::string_view::npos ? comma : value.find(',', comma + 1);
        int priority = 0;
        if (second == std::string_view::npos ||
            detail::ScanDecimal(value.substr(second + 1), &priority) == 0) {
            Add(Severity::Warning, LineOf(index, j), s.name, key, "bad-plane-entry",
                std::string(key) + " = " + Quoted(value) +
                    " is not NUMBER, DESCRIPTION, PRIORITY (such as 1, Background, 0): the load "
                    "reads only part of it");
        }
    }
}

void Examiner::ExaminePlaneSection(std::size_t index) {
    const Section& s = doc_.Sections()[index];
    if (planeEntries_) {
        Add(Severity::Note, HeaderLine(index), s.name, "", "plane-section-ignored",
            "plane section [" + s.name +
                "] is not read, because [ColorPlanes] has plane entries; its blocks are lost");
        return;
    }
    Add(Severity::Note, HeaderLine(index), s.name, "", "plane-section-dropped",
        "plane section [" + s.name +
            "] and its blocks are read but not written by a save (which writes [ColorPlanes])");
    ExamineRepeatedKeys(index, false);
    bool description = false;
    for (std::size_t j = 0; j < s.body.size(); ++j) {
        const Line& l = s.body[j];
        // The load turns a \n of the description into a line break, which the
        // plane entry a save writes cannot hold: the whole save reports 42.
        if (l.kind == IniDocument::Kind::kEntry && !description &&
            EqualsNoCase(doc_.Key(l), "Description")) {
            description = true;
            if (doc_.Value(l).find("\\n") != std::string_view::npos) {
                Add(Severity::Warning, LineOf(index, j), s.name, doc_.Key(l), "unsavable-text",
                    "the description holds \\n, which is read as a line break: a plane entry "
                    "cannot hold one, so a save of this file fails with code 42");
            }
        }
        if (l.kind == IniDocument::Kind::kEntry && l.keyLength > 0 &&
            doc_.Key(l).compare(0, 6, "Block_") != 0) {
            bool known = false;
            for (const char* const* k = kPlaneSectionKeys; *k != nullptr; ++k) {
                known = known || EqualsNoCase(doc_.Key(l), *k);
            }
            if (!known) {
                Add(Severity::Note, LineOf(index, j), s.name, doc_.Key(l), "unknown-key",
                    "key " + Quoted(doc_.Key(l)) +
                        " is not read (a plane section holds NumberOfLines, StartBlock, "
                        "Priority, Description and Block_ entries)");
                break;  // one note per section
            }
        }
    }
}

void Examiner::ExamineGeneratedDis(std::size_t index) {
    const Section& s = doc_.Sections()[index];
    ExamineRepeatedKeys(index, true);
    for (std::size_t j = 0; j < s.body.size(); ++j) {
        const Line& l = s.body[j];
        const int at = LineOf(index, j);
        if (l.kind == IniDocument::Kind::kText) {
            Add(Severity::Warning, at, s.name, "", "bad-design-line",
                Quoted(doc_.Text(l)) +
                    " has no '=': it is read as a design of that name, "
                    "numbers 0 and 0 (expected NAME=N,N)");
            continue;
        }
        if (l.kind != IniDocument::Kind::kEntry) {
            continue;
        }
        const std::string_view name = doc_.Key(l);
        const std::string_view value = doc_.Value(l);
        if (value.find(',') == std::string_view::npos) {
            Add(Severity::Note, at, s.name, name, "design-numbers",
                "design " + Quoted(name) + " = " + Quoted(value) +
                    " has no comma: its first number reads as 0 and its second as the whole "
                    "value (written N,N)");
        }
        if (doc_.FindSection(name) == nullptr) {
            Add(Severity::Note, at, s.name, name, "design-without-section",
                "design " + Quoted(name) + " has no section of its own: it has no pattern objects");
        }
    }
}

void Examiner::ExamineDesignSection(std::size_t index) {
    const Section& s = doc_.Sections()[index];
    ExamineRepeatedKeys(index, true);
    for (std::size_t j = 0; j < s.body.size(); ++j) {
        const Line& l = s.body[j];
        const int at = LineOf(index, j);
        if (l.kind != IniDocument::Kind::kEntry && l.kind != IniDocument::Kind::kText) {
            continue;
        }
        const std::string_view key =
            l.kind == IniDocument::Kind::kEntry ? doc_.Key(l) : doc_.Text(l);
        const std::string_view value = l.kind == IniDocument::Kind::kEntry ? doc_.Value(l) : "";
        int color = 0;
        const std::size_t end = detail::ScanDecimal(key, &color);
        if (end == 0 || end < key.size()) {
            Add(Severity::Warning, at, s.name, key, "lenient-number",
                "the color number " + Quoted(key) + " of a pattern line reads as " +
                    ToText(end == 0 ? 0 : color) + " (expected a number)");
        }
        if (value.find(',') == std::string_view::npos) {
            Add(Severity::Warning, at, s.name, key, "pattern-without-comma",
                "pattern line " + Quoted(doc_.Text(l)) +
                    " has no comma: it is read with an empty pattern name (expected "
                    "COLOR=PATTERN,N[,REMAP...])");
        }
    }
}

// Each line as CShavedDis::Load reads it: NAME=N, N, N,<E><E>...
void Examiner::ExamineShaved(std::size_t index) {
    const Section& s = doc_.Sections()[index];
    ExamineRepeatedKeys(index, true);
    for (std::size_t j = 0; j < s.body.size(); ++j) {
        const Line& l = s.body[j];
        const int at = LineOf(index, j);
        if (l.kind == IniDocument::Kind::kText) {
            Add(Severity::Warning, at, s.name, "", "bad-shaved-line",
                Quoted(doc_.Text(l)) + " has no '=' (expected NAME=N, N, N,<E><E>...)");
            continue;
        }
        if (l.kind != IniDocument::Kind::kEntry) {
            continue;
        }
        const std::string_view name = doc_.Key(l);
        const std::string_view value = doc_.Value(l);
        std::size_t pos = 0;
        bool bad = false;
        for (int n = 0; n < 3 && !bad; ++n) {
            std::size_t p = pos;
            while (p < value.size() && IsIniBlank(value[p])) {
                ++p;
            }
            if (p < value.size()) {
                int number = 0;
                bad = detail::ScanDecimal(value.substr(p), &number) == 0;
            }
            const std::size_t comma = value.find(',', pos);
            pos = comma == std::string_view::npos ? value.size() : comma + 1;
        }
        if (bad) {
            Add(Severity::Warning, at, s.name, name, "bad-shaved-line",
                "shaved design " + Quoted(name) + " = " + Quoted(value) +
                    " does not begin with three numbers (expected N, N, N,<E><E>...): the load "
                    "reads it as malformed (code 37) and a save drops it");
            continue;
        }
        std::size_t elements = 0;
        while (pos < value.size() && value[pos] == '<') {
            int number = 0;
            const std::size_t digits = detail::ScanDecimal(value.substr(pos + 1), &number);
            const std::size_t close = pos + 1 + digits;
            if (digits == 0 || close >= value.size() || value[close] != '>') {
                break;
            }
            ++elements;
            pos = close + 1;
            if (pos < value.size() && value[pos] == ' ') {
                ++pos;
            }
        }
        if (pos < value.size()) {
            Add(Severity::Warning, at, s.name, name, "bad-shaved-line",
                "shaved design " + Quoted(name) + ": " + Quoted(value.substr(pos)) +
                    " is not an element <N>: the load stops reading there");
        } else if (elements == 0) {
            Add(Severity::Note, at, s.name, name, "shaved-without-elements",
                "shaved design " + Quoted(name) + " has no element: a save drops it");
        }
    }
}

void Examiner::CrossReferences() {
    const HeaderPrg& header = config_.GetHeader();
    const Section* h = doc_.FindSection("Header");
    auto lineOfKey = [&](const char* key) {
        const Line* l = h != nullptr ? doc_.FindEntry(*h, key) : nullptr;
        return l != nullptr ? LineOf(IndexOf(h), static_cast<std::size_t>(l - h->body.data())) : 0;
    };
    // Planes named by colors and lines, against the planes the load made.
    // Plane sections give their planes numbers of their own making: only the
    // plane entries name planes the way colors and lines do.
    if (!config_.Planes().empty() && planeEntries_) {
        std::vector<bool> defined(65536, false);
        std::string known;
        std::size_t listed = 0;
        for (const auto& plane : config_.Planes()) {
            defined[static_cast<std::size_t>(plane->Number + 32768)] = true;
            if (++listed <= 10) {
                known += (known.empty() ? "" : ", ") + ToText(plane->Number);
            }
        }
        known += listed > 10 ? ", ..." : "";
        auto check = [&](const std::vector<ProgramPlace>& places, const char* what) {
            for (const ProgramPlace& place : places) {
                if (place.plane > 0 && !defined[static_cast<std::size_t>(place.plane + 32768)]) {
                    Add(Severity::Warning, place.planeLine, place.section, "Plane", "unknown-plane",
                        std::string(what) + " " + ToText(place.number) + " is on plane " +
                            ToText(place.plane) + ", which no plane defines (planes: " + known +
                            ")");
                }
            }
        };
        check(colors_, "color");
        check(lines_, "line");
    }
    // Programs of one number: a save writes them into one section.
    auto repeated = [&](const std::vector<ProgramPlace>& places, const char* what, bool lines) {
        std::unordered_map<int, const ProgramPlace*> first;
        for (const ProgramPlace& place : places) {
            if (lines && place.plane > 1) {
                continue;  // not saved
            }
            const auto [at, fresh] = first.emplace(place.number, &place);
            if (!fresh) {
                Add(Severity::Warning, place.line, place.section, "ID", "repeated-number",
                    std::string(what) + " " + ToText(place.number) + " of [" + place.section +
                        "] has the number of [" + at->second->section + "] (line " +
                        ToText(at->second->line) +
                        "): a save writes both into one section and keeps only one");
            }
        }
    };
    repeated(colors_, "color", false);
    repeated(lines_, "line", true);
    // The header's number of lines is that of plane 1.
    if (header.NumberOfLines > 0 && !lines_.empty()) {
        int count = 0;
        for (const ProgramPlace& place : lines_) {
            count += place.plane == 1 ? 1 : 0;
        }
        if (count != header.NumberOfLines) {
            Add(Severity::Note, lineOfKey("NumberOfLines"), h != nullptr ? h->name : "Header",
                "NumberOfLines", "line-count",
                "NumberOfLines = " + ToText(header.NumberOfLines) + " but the file has " +
                    ToText(count) + " line section" + (count == 1 ? "" : "s") + " of plane 1");
        }
    }
    // The last developed design, in the design table.
    if (!header.LastDevelop.empty()) {
        bool listed = false;
        for (const auto& design : config_.Designs()) {
            listed = listed || EqualsNoCase(design->Name, header.LastDevelop);
        }
        if (!listed) {
            Add(Severity::Note, lineOfKey("LastDevelop"), h != nullptr ? h->name : "Header",
                "LastDevelop", "unknown-last-develop",
                "LastDevelop names the design " + Quoted(header.LastDevelop) +
                    ", which [GeneratedDis] does not list");
        }
    }
}

}  // namespace detail

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Note: return "note";
    }
    return "note";
}

std::vector<Diagnostic> Diagnose(const char* path, int* loadCode) {
    std::vector<Diagnostic> out;
    if (loadCode != nullptr) {
        *loadCode = RE_FILE_UNREADABLE;
    }
    auto unreadable = [&](const char* id, const std::string& message) {
        Diagnostic d;
        d.severity = Severity::Error;
        d.id = id;
        d.message = message;
        d.code = RE_FILE_UNREADABLE;
        out.push_back(std::move(d));
        return out;
    };
    if (path == nullptr || *path == '\0') {
        return unreadable("unreadable-file", "no file named: the load reports code 62");
    }
    // One batch: the load and the walk see the same parse of the file.
    profile::Batch batch(path);
    Configuration config;
    const int code = config.LoadCFG(path);
    if (loadCode != nullptr) {
        *loadCode = code;
    }
    if (code == RE_FILE_UNREADABLE) {
        // The load says why: missing, a folder, no regular file, unreadable.
        const std::string why = config.GetLastErrorText();
        const std::string reason = why.empty() ? std::string() : " (" + why + ")";
        platform::FileInfo info;
        if (platform::StatForReading(path, &info) && info.size == 0) {
            return unreadable("empty-file", "the file is empty: the load reports code 62");
        }
        return unreadable("unreadable-file",
                          "the file cannot be read" + reason + ": the load reports code 62");
    }
    const bool walked = detail::VisitDocument(path, [&](const detail::IniDocument& doc) {
        detail::Examiner(doc, config, code, &out).Run();
    });
    if (!walked) {
        return unreadable("unreadable-file", "the file cannot be read: the load reports code 62");
    }
    const bool explained = std::any_of(out.begin(), out.end(), [&](const Diagnostic& d) {
        return d.severity == Severity::Error && d.code == code;
    });
    if (code != RE_SUCCESS && !explained) {
        Diagnostic d;
        d.severity = Severity::Error;
        d.id = "load-code";
        d.message =
            "the load reports code " + std::to_string(code) + " (" + RetErrorText(code) + ")";
        d.code = code;
        out.push_back(std::move(d));
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
    return out;
}

}  // namespace knitcfg
