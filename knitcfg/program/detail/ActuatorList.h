#pragma once

// What colors and lines share, written once: their actuator list sorted by
// feed, the section loader that merges entries by identifier or lets the
// prototypes create them, the whole-section writer, the kind slots of a save
// and the queries by kind and by identifier. Internal to the library.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/SaveMode.h"
#include "knitcfg/common/Types.h"

namespace knitcfg::detail {

using ActuatorList = std::vector<std::unique_ptr<Attuat>>;

// The number of kind slots (entry counters) of a save: one per kind of device.
inline constexpr int kKindSlots = 7;

// The room of the list of key names of a section, NUL included.
inline constexpr unsigned kKeyListRoom = 8192;

// The room of the list of section names of a file, NUL included.
inline constexpr unsigned kSectionListRoom = 8192;

// Inserts `actuator` before the first element whose Caduta is strictly
// greater (signed 16-bit comparison), or at the end: elements with equal
// Caduta keep their order of arrival. Null is ignored, and so is an object
// the list holds already (it would be owned twice).
void InsertSorted(ActuatorList& list, std::unique_ptr<Attuat> actuator);

// A Clone of each actuator of `list`, in order.
ActuatorList CloneAll(const ActuatorList& list);

// Takes the first element that is `actuator` out of the list and hands it
// back; null when the list does not hold it.
std::unique_ptr<Attuat> Take(ActuatorList& list, const Attuat* actuator);

// The first actuator in list order whose Id is `id`, or null.
Attuat* FindById(const ActuatorList& list, short id);

// What loading the entries of a section found.
struct EntriesLoaded {
    // False when the section listed no key name (missing or empty).
    bool hadKeys = false;
    // The code of the last actuator operation done for the last key.
    RETERROR lastCode = RE_SUCCESS;
    // False when the list of key names was cut at its room (kKeyListRoom):
    // the keys beyond it were not loaded.
    bool whole = true;
};

// Hands every key of `section`, in file order, first to the actuators of
// `list` and then to `prototypes` (in their order):
//  - the first actuator, in list order, whose Id equals the first number of
//    the key's value (read as Attuat::AlreadyInList reads it) takes the key
//    through UpdateObj, and keeps its place in the list whatever it read;
//  - otherwise the first prototype whose LoadObj returns an object has it
//    inserted by InsertSorted; a key that no prototype takes is skipped.
// The list is not emptied first. Gives the same list and code as asking
// every listed actuator AlreadyInList for every key, without reading a
// key's value once per listed actuator.
// `taken`, when not null, receives one flag per listed key, in listing order:
// true when an actuator took the key (created from it or merged with it).
EntriesLoaded LoadEntries(ActuatorList& list, const std::vector<Attuat*>& prototypes,
                          const char* section, const char* file,
                          std::vector<bool>* taken = nullptr);

// The address of the counter of `actuator`'s kind among `counters` (the
// first of kKindSlots): the first of `kinds` (kKindSlots classes, the slot
// order) whose kind test the actuator passes. Null when none does, or for a
// null actuator or counters. The kinds must be unrelated classes (none
// derives from another), as the color and line kinds are.
int* ChooseSlot(const Attuat* actuator, int* counters, const RuntimeClass* const* kinds);

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

// The kind queries of a color or a line: when `plane` and `number` are each
// -1 or equal to the program's own, calls `add` with `list` on every
// actuator in list order. Returns 1.
int ListKind(const ActuatorList& actuators, short ownPlane, short ownNumber, IndexList* list,
             short plane, short number, int (Attuat::*add)(IndexList*) const);

// GetListColors and GetListLines: appends `ownNumber` to `list` unless the
// plane filter fails or the list holds it already. Returns 1.
int ListOwnNumber(short ownPlane, short ownNumber, IndexList* list, short plane);

}  // namespace knitcfg::detail
