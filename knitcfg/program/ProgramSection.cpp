#include "knitcfg/program/detail/ProgramSection.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "knitcfg/actuators/detail/ActuatorKind.h"
#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/AsciiCase.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg::detail {

namespace {

// The key of a "key=value" line (the whole line when it has no '=').
std::string_view KeyOf(std::string_view line) {
    return line.substr(0, std::min(line.find('='), line.size()));
}

// Whether a load through `prototypes` might take one of the `old` lines
// marked in `candidate`. Only an actuator of the library's own kinds takes a
// key, and only one beginning with its kind's prefix: a candidate without
// such a prefix (compared here without regard to case, to err on the side of
// loading) is never taken. Any other prototype might take anything.
bool CouldBeTaken(const std::vector<std::string_view>& old, const std::vector<bool>& candidate,
                  const std::vector<Attuat*>& prototypes) {
    std::vector<std::string_view> prefixes;
    for (Attuat* prototype : prototypes) {
        if (prototype == nullptr) {
            continue;
        }
        const ActuatorKind* kind = SharedPrototypeKind(prototype);
        if (kind == nullptr) {
            return true;
        }
        prefixes.emplace_back(kind->prefix);
    }
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (!candidate[i]) {
            continue;
        }
        const std::string_view key = KeyOf(old[i]);
        for (const std::string_view prefix : prefixes) {
            if (StartsWithNoCase(key, prefix)) {
                return true;
            }
        }
    }
    return false;
}

// Whether `old` (as SectionLines gives it) is `lines`, line for line.
bool SameLines(const std::vector<std::string_view>& old, const std::vector<std::string>& lines) {
    if (old.size() != lines.size()) {
        return false;
    }
    for (std::size_t i = 0; i < old.size(); ++i) {
        // A line is written up to a NUL it may hold.
        if (old[i] != std::string_view(lines[i].c_str())) {
            return false;
        }
    }
    return true;
}

// Whether `old` without the lines marked in `skip` is `lines`, line for line.
bool SameLinesBut(const std::vector<std::string_view>& old, const std::vector<bool>& skip,
                  const std::vector<std::string>& lines) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (skip[i]) {
            continue;
        }
        if (next == lines.size() || old[i] != std::string_view(lines[next].c_str())) {
            return false;
        }
        ++next;
    }
    return next == lines.size();
}

// Whether `built` is `lines`, each line up to a NUL it may hold.
bool SameLines(const std::vector<std::string>& built, const std::vector<std::string>& lines) {
    if (built.size() != lines.size()) {
        return false;
    }
    for (std::size_t i = 0; i < built.size(); ++i) {
        if (std::string_view(built[i].c_str()) != std::string_view(lines[i].c_str())) {
            return false;
        }
    }
    return true;
}

// Appends to `lines` the `old` lines marked in `candidate` that a load did
// not take. `taken` holds one flag per name of the key listing, which leaves
// out lines without '=' and empty key names; keys beyond its room were not
// loaded at all, so not taken.
void AppendNotTaken(const std::vector<std::string_view>& old, const std::vector<bool>& candidate,
                    const std::vector<bool>& taken, std::vector<std::string>& lines) {
    std::size_t listed = 0;
    for (std::size_t i = 0; i < old.size(); ++i) {
        const std::size_t equals = old[i].find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        bool wasTaken = false;
        if (equals != 0) {
            wasTaken = listed < taken.size() && taken[listed];
            ++listed;
        }
        if (candidate[i] && !wasTaken) {
            lines.emplace_back(old[i]);
        }
    }
}

// Every line of `section` of `file` as GetSection lists it ("key=value"
// trimmed, and the lines without '='), in file order, as views into `buffer`.
std::vector<std::string_view> SectionLines(const char* section, const char* file,
                                           std::vector<char>* buffer) {
    buffer->resize(16384);
    unsigned length = 0;
    for (;;) {
        const auto room = static_cast<unsigned>(buffer->size());
        length = profile::GetSection(section, buffer->data(), room, file);
        // A list that did not fit is cut to room - 2: read it again whole.
        if (length + 2 < room || buffer->size() >= (1u << 30)) {
            break;
        }
        buffer->resize(buffer->size() * 2);
    }
    std::vector<std::string_view> lines;
    const char* text = buffer->data();
    for (std::size_t at = 0; at < length && text[at] != '\0';) {
        const std::size_t size = std::strlen(text + at);
        lines.emplace_back(text + at, size);
        at += size + 1;
    }
    return lines;
}

}  // namespace

bool WriteWholeSection(const std::string& section, const std::vector<std::string>& lines,
                       const char* file) {
    if (file == nullptr) {
        return false;
    }
    // The lines are joined with NULs directly: a separator character turned
    // into NUL afterwards would also split a text that held that character,
    // and part of it would be written as a key of its own or lost.
    std::size_t room = 1;
    for (const std::string& line : lines) {
        room += line.size() + 1;
    }
    std::string list;
    list.reserve(room);
    for (const std::string& line : lines) {
        list += line.c_str();
        list += '\0';
    }
    list += '\0';
    return profile::WriteSection(section.c_str(), list.c_str(), file);
}

bool ReadHelpText(const char* section, const char* key, unsigned room, const char* file,
                  std::string* text) {
    if (section == nullptr || file == nullptr) {
        return false;
    }
    std::vector<char> buffer(room);
    if (profile::GetString(section, key, "", buffer.data(), room, file) == 0) {
        return false;
    }
    *text = UnescapeNewLines(buffer.data());
    return true;
}

bool WriteProgramSection(const std::string& section, std::vector<std::string>& lines,
                         const char* file, SaveMode mode, const std::vector<Attuat*>& prototypes,
                         const ScratchLines& scratch) {
    if (mode != SaveMode::Preserve || file == nullptr) {
        return WriteWholeSection(section, lines, file);
    }
    std::vector<char> buffer;
    const std::vector<std::string_view> old = SectionLines(section.c_str(), file, &buffer);
    if (old.empty()) {
        return WriteWholeSection(section, lines, file);
    }
    // A section that holds exactly what would be written is left as it is,
    // its comment lines where they stand; so is every section of a file the
    // library wrote, at no more than a comparison.
    if (SameLines(old, lines)) {
        return true;
    }
    // The old entries whose key the program does not write.
    std::vector<bool> candidate(old.size(), false);
    bool any = false;
    {
        NoCaseViewSet written(lines.size());  // views `lines`, which grows below
        for (const std::string& line : lines) {
            written.Insert(KeyOf(line));
        }
        for (std::size_t i = 0; i < old.size(); ++i) {
            candidate[i] =
                old[i].find('=') != std::string_view::npos && !written.Contains(KeyOf(old[i]));
            any = any || candidate[i];
        }
    }
    if (any && !CouldBeTaken(old, candidate, prototypes) && SameLinesBut(old, candidate, lines)) {
        // Keys of no actuator kind (a line's Help, a note, a misspelt kind)
        // are taken by no load: among the program's own lines, wherever they
        // stand, they change no meaning, and need no load to tell.
        return true;
    }
    // The text differs, which a hand edit does without changing the meaning
    // (blanks, other key numbers, another order of entries, comments between
    // them). Whether the meaning differs, and which entries a load takes, is
    // worked out here from the file as it stands now, by the program's own
    // loader into a scratch program, rather than recorded by the last load:
    // the file may have been edited since (the preserving save starts from it
    // as it is), a record would have to follow the program through copies
    // and edits, and it would cost memory for every document.
    std::vector<bool> taken;
    std::vector<std::string> built;
    if (scratch && scratch(&built, &taken) && SameLines(built, lines)) {
        return true;
    }
    if (any) {
        AppendNotTaken(old, candidate, taken, lines);
        if (SameLines(old, lines)) {
            return true;
        }
    }
    return WriteWholeSection(section, lines, file);
}

}  // namespace knitcfg::detail
