#pragma once

// The actuator list that colors and lines share, written once: sorted by
// feed, the section loader that merges entries by identifier or lets the
// prototypes create them, the kind slots of a save and the queries by kind
// and by identifier. Internal: not exported, not installed.

#include <memory>
#include <string>
#include <vector>

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg::detail {

using ActuatorList = std::vector<std::unique_ptr<Attuat>>;

// The number of kind slots (entry counters) of a save: one per kind of device.
inline constexpr int kKindSlots = 7;

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
    // False when the list of key names was cut at its room (kListingSize):
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

// The kind queries of a color or a line: when `plane` and `number` are each
// -1 or equal to the program's own, calls `add` with `list` on every
// actuator in list order. Returns 1.
int ListKind(const ActuatorList& actuators, short ownPlane, short ownNumber, IndexList* list,
             short plane, short number, int (Attuat::*add)(IndexList*) const);

// GetListColors and GetListLines: appends `ownNumber` to `list` unless the
// plane filter fails or the list holds it already. Returns 1.
int ListOwnNumber(short ownPlane, short ownNumber, IndexList* list, short plane);

}  // namespace knitcfg::detail
