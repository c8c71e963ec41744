// The color and line sections: their actuator entries as the load takes,
// merges or skips them, and the keys that no kind takes.

#include <string>
#include <string_view>

#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/actuators/detail/Kinds.h"
#include "knitcfg/common/detail/Blanks.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/diagnostics/detail/Examiner.h"

namespace knitcfg::detail {

namespace {

using detail::ActuatorKind;

constexpr std::size_t kKinds = 7;

// The kinds in the order in which the programs' prototypes are asked.
const ActuatorKind* const kColorKinds[kKinds] = {
    &detail::kTriangleColor, &detail::kDrumColor,      &detail::kFingerColor,
    &detail::kSplitterColor, &detail::kStepMotorColor, &detail::kStepMotorDisColor,
    &detail::kSpeederColor};
const ActuatorKind* const kLineKinds[kKinds] = {&detail::kDrumLine,      &detail::kFingerLine,
                                                &detail::kSplitterLine,  &detail::kTriangleLine,
                                                &detail::kStepMotorLine, &detail::kStepMotorDisLine,
                                                &detail::kSpeederLine};

// The room of the help texts read, NUL included.
constexpr std::size_t kColorHelpRoom = 260;
constexpr std::size_t kLineHelpRoom = 512;

std::size_t ItemCount(const char* format) {
    std::size_t n = 0;
    for (const char* f = format; *f != '\0'; ++f) {
        n += *f == '%' ? 1 : 0;
    }
    return n;
}

// A value of the kind's form, for messages: "1, 2, 3, 4".
std::string Example(const char* format) {
    std::string out;
    int n = 1;
    for (const char* f = format; *f != '\0'; ++f) {
        if (f[0] == '%' && f[1] != '\0') {
            out += f[1] == 's' ? std::string("+0.000") : std::to_string(n);
            ++n;
            ++f;
        } else {
            out += *f;
        }
    }
    return out;
}

std::string KindList(const ActuatorKind* const* kinds) {
    std::string out;
    for (std::size_t k = 0; k < kKinds; ++k) {
        out += (k == 0 ? "" : ", ") + std::string(kinds[k]->prefix);
    }
    return out;
}

}  // namespace

void Examiner::ExamineUnknownKey(std::size_t index, std::size_t j, bool color) {
    const Section& s = doc_.Sections()[index];
    const std::string_view key = doc_.Key(s.body[j]);
    const int at = LineOf(index, j);
    const ActuatorKind* const* kinds = color ? kColorKinds : kLineKinds;
    for (std::size_t k = 0; k < kKinds; ++k) {
        if (StartsWithNoCase(key, kinds[k]->prefix)) {
            Add(Severity::Warning, at, s.name, key, "kind-letter-case",
                "key " + Quoted(key) + " is not read: the kind prefix is written " +
                    kinds[k]->prefix + ", in this letter case");
            return;
        }
    }
    // The key's own prefix against the kinds' prefixes.
    const std::string lead = Lead(key);
    for (std::size_t k = 0; k < kKinds; ++k) {
        const std::string_view prefix = kinds[k]->prefix;
        const std::size_t limit = prefix.size() >= 7 ? 2 : 1;
        if (EditDistance(lead, prefix, limit) <= limit) {
            Add(Severity::Warning, at, s.name, key, "misspelt-kind",
                "key " + Quoted(key) + " is not read: no actuator kind is called " + Quoted(lead) +
                    "; did you mean " + std::string(prefix) + "?");
            return;
        }
    }
    Add(Severity::Warning, at, s.name, key, "unknown-kind",
        "key " + Quoted(key) + " is not read: no actuator kind takes it (the kinds are " +
            KindList(kinds) + ")");
}

// The number after a program's prefix against the number its ID key gives
// it: the library knows the program by the latter, and a save names its
// section after it.
void Examiner::CheckNumberOfName(std::size_t index, std::size_t prefixLength, bool hasId, int id,
                                 int idLine, bool color) {
    const Section& s = doc_.Sections()[index];
    std::int32_t fromName = 0;
    if (!hasId || !entry::ScanInt(s.name.c_str() + prefixLength, &fromName) ||
        detail::Low16(fromName) == id) {
        return;
    }
    const std::string program = color ? "color" : "line";
    Add(Severity::Warning, idLine, s.name, "ID", "number-mismatch",
        "section [" + s.name + "] holds " + program + " " + std::to_string(id) +
            " (its ID): the library knows it by that number, and a save writes it as [" +
            (color ? "Color_" : "Line_") + detail::NumberedName("", id) + "]");
}

void Examiner::ExamineProgram(std::size_t index, bool color) {
    const Section& s = doc_.Sections()[index];
    const ActuatorKind* const* kinds = color ? kColorKinds : kLineKinds;
    const char* program = color ? "color" : "line";
    if (owner_.empty()) {
        owner_.assign(65536, -1);
    }
    // The lines of this section that made an actuator, by identifier.
    std::vector<std::pair<std::int32_t, const ActuatorKind*>> made;  // (line, kind)
    std::vector<std::size_t> touched;
    const bool repeats = doc_.HasRepeatedKeys(s);
    if (repeats) {
        ExamineRepeatedKeys(index, false);
    }
    std::unordered_set<std::string> seen;
    bool listed = false;
    std::size_t listedBytes = 0;
    bool hasId = false;
    bool hasPlane = false;
    int id = -1;
    int plane = -1;
    int idLine = HeaderLine(index);
    int planeLine = HeaderLine(index);
    std::string value;  // NUL-terminated, for the entry scanner
    entry::ScanResult scan;
    for (std::size_t j = 0; j < s.body.size(); ++j) {
        const Line& l = s.body[j];
        const int at = LineOf(index, j);
        if (l.kind == IniDocument::Kind::kText) {
            Add(Severity::Warning, at, s.name, "", "line-without-equals",
                Quoted(doc_.Text(l)) + " has no '=': it is not read");
            continue;
        }
        if (l.kind != IniDocument::Kind::kEntry) {
            continue;
        }
        const std::string_view key = doc_.Key(l);
        if (key.empty()) {
            Add(Severity::Warning, at, s.name, "", "empty-key",
                Quoted(doc_.Text(l)) + " has no key before '=': it is not read");
            continue;
        }
        listed = true;
        // The keys are listed through a buffer of detail::kListingSize characters.
        listedBytes += key.size() + 1;
        if (listedBytes > detail::kListingSize - 2) {
            Add(Severity::Warning, at, s.name, key, "listing-cut",
                "the key names of [" + s.name + "] up to here fill the " +
                    std::to_string(detail::kListingSize) + " characters the load lists: " +
                    Quoted(key) + " and the keys after it are not read");
            break;
        }
        if (repeats && !seen.insert(LowerAscii(key)).second) {
            continue;  // told by ExamineRepeatedKeys: the load reads the first again
        }
        const std::string_view text = Unquote(doc_.Value(l));
        // The program's own keys.
        if (EqualsNoCase(key, "ID") || EqualsNoCase(key, "Plane")) {
            const bool isId = EqualsNoCase(key, "ID");
            if (!text.empty()) {
                (isId ? idLine : planeLine) = at;
                (isId ? hasId : hasPlane) = true;
                (isId ? id : plane) = detail::Low16(detail::ScanProfileInt(text).value);
            }
            CheckNumber(text, at, s.name, key, true);
            continue;
        }
        if (EqualsNoCase(key, "Help") || (color && EqualsNoCase(key, "HelpAbstract"))) {
            const std::size_t room = color ? kColorHelpRoom : kLineHelpRoom;
            if (text.size() > room - 1) {
                Add(Severity::Warning, at, s.name, key, "value-cut",
                    std::string(key) + " is " + std::to_string(text.size()) +
                        " characters long: the load keeps the first " + std::to_string(room - 1));
            }
            if (!color && !text.empty()) {
                Add(Severity::Note, at, s.name, key, "line-help-dropped",
                    "a save does not write the help text of a line");
            }
            continue;
        }
        const ActuatorKind* kind = nullptr;
        for (std::size_t k = 0; k < kKinds && kind == nullptr; ++k) {
            const std::string_view prefix = kinds[k]->prefix;
            if (key.compare(0, prefix.size(), prefix) == 0) {
                kind = kinds[k];
            }
        }
        if (kind == nullptr) {
            ExamineUnknownKey(index, j, color);
            continue;
        }
        if (text.empty()) {
            Add(Severity::Warning, at, s.name, key, "empty-value",
                "entry " + Quoted(key) + " has no value: the load skips it");
            continue;
        }
        value.assign(text.substr(0, kind->readBuffer - 1));
        // An entry whose first number is the identifier of an actuator taken
        // already goes to that actuator, whatever its kind.
        std::int32_t first = 0;
        if (entry::ScanInt(value.c_str(), &first) && first >= -32768 && first <= 32767) {
            const std::int32_t taken = owner_[static_cast<std::size_t>(first + 32768)];
            if (taken >= 0) {
                const auto& [line, other] = made[static_cast<std::size_t>(taken)];
                if (other->prefix != kind->prefix) {
                    Add(Severity::Warning, at, s.name, key, "id-of-other-kind",
                        "entry " + Quoted(key) + " is dropped: its identifier " +
                            std::to_string(first) + " is that of the " + other->prefix +
                            " entry of line " + std::to_string(line) +
                            " (identifiers are unique within a " + program + ")");
                    continue;
                }
                Add(Severity::Warning, at, s.name, key, "repeated-id",
                    "entry " + Quoted(key) + " repeats identifier " + std::to_string(first) +
                        " of line " + std::to_string(line) +
                        ": its values replace those, and only one actuator is kept");
            }
        }
        if (text.size() > kind->readBuffer - 1) {
            Add(Severity::Warning, at, s.name, key, "value-cut",
                "entry " + Quoted(key) + " is " + std::to_string(text.size()) +
                    " characters long: the load reads the first " +
                    std::to_string(kind->readBuffer - 1));
        }
        entry::ScanInto(value.c_str(), kind->valueFormat, detail::kTextRoom, &scan);
        const std::size_t expected = ItemCount(kind->valueFormat);
        if (scan.textTooLong) {
            Add(Severity::Warning, at, s.name, key, "text-too-long",
                "entry " + Quoted(key) + " = " + Quoted(text) + ": a text item is longer than " +
                    std::to_string(detail::kTextRoom) + " characters, so the load skips the entry");
            continue;
        }
        std::size_t rest = scan.end;
        while (rest < value.size() && detail::IsCSpace(value[rest])) {
            ++rest;
        }
        if (scan.items.size() < expected) {
            const bool lineForm = color && scan.items.size() == 3 && rest == value.size() &&
                                  entry::Scan(value.c_str(), "%d, %d, %d", 0).items.size() == 3;
            if (lineForm) {
                Add(Severity::Warning, at, s.name, key, "line-entry-in-color",
                    "entry " + Quoted(key) + " = " + Quoted(text) +
                        " has the 3 numbers of a line entry; a color entry of this kind has " +
                        std::to_string(expected) + " items, like " +
                        Quoted(Example(kind->valueFormat)));
            } else {
                Add(Severity::Warning, at, s.name, key, "bad-value",
                    "entry " + Quoted(key) + " = " + Quoted(text) + ": the load reads " +
                        std::to_string(scan.items.size()) + " of its " + std::to_string(expected) +
                        " items (expected " + Quoted(Example(kind->valueFormat)) +
                        "); the others get no value");
            }
        } else if (rest < value.size()) {
            if (!color && value[rest] == ',') {
                Add(Severity::Warning, at, s.name, key, "color-entry-in-line",
                    "entry " + Quoted(key) + " = " + Quoted(text) +
                        " has more items than a line entry (3 numbers, like '1, 2, 3'); a save "
                        "drops " +
                        Quoted(std::string_view(value).substr(rest)));
            } else {
                Add(Severity::Warning, at, s.name, key, "extra-items",
                    "entry " + Quoted(key) + " = " + Quoted(text) + ": the load ignores " +
                        Quoted(std::string_view(value).substr(rest)) + " after its " +
                        std::to_string(expected) + " items, and a save drops it");
            }
        }
        // The 16-bit fields keep their low 16 bits; the stepping motor's
        // position is the one 32-bit field.
        for (std::size_t i = 0; i < scan.items.size(); ++i) {
            const entry::Item& item = scan.items[i];
            const bool wide = kind == &detail::kStepMotorColor && i == 4;
            if (!item.isText && !wide && detail::Low16(item.number) != item.number) {
                Add(Severity::Warning, at, s.name, key, "number-cut",
                    "entry " + Quoted(key) + ": " + std::to_string(item.number) +
                        " is outside the 16-bit range (-32768 to 32767) and is kept as " +
                        std::to_string(detail::Low16(item.number)));
                break;
            }
        }
        const short actuator = scan.items.empty() ? -32768 : detail::Low16(scan.items[0].number);
        const auto slot = static_cast<std::size_t>(actuator + 32768);
        if (owner_[slot] < 0) {
            owner_[slot] = static_cast<std::int32_t>(made.size());
            made.emplace_back(at, kind);
            touched.push_back(slot);
        }
    }
    for (const std::size_t slot : touched) {
        owner_[slot] = -1;
    }

    const int at = HeaderLine(index);
    if (color) {
        if (!listed) {
            Add(Severity::Warning, at, s.name, "", "empty-section",
                "color section [" + s.name +
                    "] has no key: the load keeps a color numbered -1, which a save writes as "
                    "[Color_-01]");
            return;
        }
        for (const auto& [has, key] :
             {std::pair<bool, const char*>{hasId, "ID"}, {hasPlane, "Plane"}}) {
            if (!has) {
                Add(Severity::Warning, at, s.name, key, "missing-color-key",
                    "color section [" + s.name + "] has no " + key + ": the color's " +
                        (std::string(key) == "ID" ? "number" : "plane") + " is -1");
            }
        }
        CheckNumberOfName(index, 6, hasId, id, idLine, color);
        colors_.push_back(
            {static_cast<short>(id), static_cast<short>(plane), idLine, planeLine, s.name});
        return;
    }
    if (!listed) {
        Add(Severity::Note, at, s.name, "", "empty-line-section",
            "line section [" + s.name + "] has no actuator");
    }
    // A line without a number of its own takes the name's, on plane 1.
    short number = static_cast<short>(id);
    if (!hasId || id < 0) {
        std::int32_t fromName = 0;
        if (!entry::ScanInt(s.name.c_str() + 5, &fromName)) {
            Add(Severity::Warning, at, s.name, "", "bad-section-name",
                "line section [" + s.name +
                    "] has no ID and no number after Line_: its line number is unknown");
        }
        number = detail::Low16(fromName);
        plane = 1;
    }
    if (plane > 1) {
        Add(Severity::Note, at, s.name, "Plane", "line-not-saved",
            "line " + std::to_string(number) + " is on plane " + std::to_string(plane) +
                ": a save writes only the lines of plane 1");
    }
    CheckNumberOfName(index, 5, hasId && id >= 0, id, idLine, color);
    lines_.push_back({number, static_cast<short>(plane), idLine, planeLine, s.name});
}

}  // namespace knitcfg::detail
