#pragma once

// The section text of a color, line or plane, read and written in one place:
// its help texts, the whole-section write, and the preserving save that
// leaves a section alone when it means what the program holds.
// Internal: not exported, not installed.

#include <functional>
#include <string>
#include <vector>

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/common/SaveMode.h"

namespace knitcfg::detail {

// Writes `lines` ("key=value" texts, each cut at a NUL it may hold) as the
// whole content of `section` of `file`, in one write. False when the write
// was refused or the file could not be written.
bool WriteWholeSection(const std::string& section, const std::vector<std::string>& lines,
                       const char* file);

// What WriteProgramSection asks of the program it writes, for a section
// whose text is not the program's lines: load the section as `file` holds it
// into a scratch program with the loader a load uses, and put into `lines`
// the lines the program's save would write for that scratch program, built
// as for the program itself, and into `taken` the flags of LoadEntries.
// True only when `lines` was built from a whole load (EntriesLoaded::whole)
// and every actuator loaded is of one of the program's kinds.
using ScratchLines = std::function<bool(std::vector<std::string>* lines, std::vector<bool>* taken)>;

// WriteWholeSection, except with SaveMode::Preserve over a section `file`
// holds already:
//  - the section is left as it is, byte for byte, when its lines (as
//    GetSection lists them) are `lines`, or when `scratch` builds `lines`
//    from it (it means what the program holds);
//  - otherwise `lines` is followed by every entry of the section as `file`
//    holds it before the write whose key no line of `lines` names (names
//    matched without regard to ASCII case) and that a load through
//    `prototypes` would not take (written as "key=value", key and value
//    trimmed), and the section is written unless that is what it holds.
// `lines` is changed.
bool WriteProgramSection(const std::string& section, std::vector<std::string>& lines,
                         const char* file, SaveMode mode, const std::vector<Attuat*>& prototypes,
                         const ScratchLines& scratch);

// Reads `key` of `section` through a buffer of `room` characters (NUL
// included) and, when the value is not empty, stores it in `text` with its
// backslash-n pairs turned into CR LF. Returns false, leaving `text`, when
// the value is empty or missing.
bool ReadHelpText(const char* section, const char* key, unsigned room, const char* file,
                  std::string* text);

}  // namespace knitcfg::detail
