#pragma once

// What the fourteen actuator classes share, written once: the description of
// a kind (prefix, read default and buffer, value format, codes) and the steps
// of the recognition, configure, list and write protocol that every class
// runs with its own kind. Internal to the library.

#include <cstddef>
#include <string>

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Types.h"

namespace knitcfg::detail {

// The kind prefixes of the entry keys, shared by the color and line classes.
inline constexpr const char kDrumPrefix[] = "Drum_";
inline constexpr const char kFingerPrefix[] = "Finger_";
inline constexpr const char kSplitterPrefix[] = "Splitter_";
inline constexpr const char kTrianglePrefix[] = "Triangle_";
inline constexpr const char kStepMotorPrefix[] = "SteppingMotor_";
inline constexpr const char kStepMotorDisPrefix[] = "SteppingMotorDis_";
inline constexpr const char kSpeederPrefix[] = "Speeder_";

// The room of a text item ("%s") read from an entry.
inline constexpr std::size_t kTextRoom = 10;

// The largest read buffer of any kind.
inline constexpr unsigned kMaxReadBuffer = 512;

// One concrete class's entry description.
struct ActuatorKind {
    const char* prefix;       // the key prefix
    const char* readDefault;  // the value read when the key is missing
    unsigned readBuffer;      // the read buffer, NUL included: longer values are cut
    const char* valueFormat;  // the value's items, read and written (EntryParser)
    RETERROR loadCode;        // LoadObj: key not taken or empty
    RETERROR configureCode;   // configure: empty value (or an over-long text)
    RETERROR saveCode;        // single-entry writer: write refused
};

inline void SetErr(RETERROR* err, RETERROR code) {
    if (err != nullptr) {
        *err = code;
    }
}

// The first steps of every configure operation: sets err to 1, reads the
// value into the kind's buffer (cut to readBuffer-1 characters) and parses
// it. Returns null, with err set to the kind's configure code, when the read
// gave no character or a text item was longer than kTextRoom; otherwise the
// items parsed (err still 1), held in the caller's `scratch`.
const entry::Items* ReadEntry(const ActuatorKind& kind, const char* section, const char* key,
                              const char* file, RETERROR* err, entry::ScanResult* scratch);

// Item `index` as a 16-bit number (its low 16 bits), or `fallback` when the
// value held no such item.
short ItemShort(const entry::Items& items, std::size_t index, short fallback);
// Item `index` as a full 32-bit number, or `fallback`.
int ItemInt(const entry::Items& items, std::size_t index, int fallback);
// Item `index` as a text, or the empty text.
std::string ItemText(const entry::Items& items, std::size_t index);

// Id, Caduta and IdCaduta from the first three items; a missing item gives
// -32768, the field's "no value".
void AssignCommon(Attuat& actuator, const entry::Items& items);
// Id, Caduta and IdCaduta as items.
entry::Items CommonItems(const Attuat& actuator);

// A configure operation of a kind with no field beyond the common three.
int ConfigureCommon(Attuat& actuator, const ActuatorKind& kind, const char* section,
                    const char* key, const char* file, RETERROR* err);

// LoadObj of a prototype: err 1, the object's UpdateObj; a clone with err 0
// when it took the entry, else null with the kind's load code.
Attuat* LoadThroughUpdate(Attuat& prototype, const ActuatorKind& kind, const char* section,
                          const char* key, const char* file, RETERROR* err);

// The index-list operation of a kind: appends `id` unless the list holds it.
int AddIdOnce(short id, IndexList* list);

// The "key=value" entry text, numbered by *counter; advances the counter.
std::string EntryText(const ActuatorKind& kind, int* counter, const entry::Items& items);

// The single-entry writer of a kind: writes one entry numbered by *counter,
// advances the counter in every case, returns 0 or the kind's save code.
RETERROR WriteEntry(const ActuatorKind& kind, const char* section, const char* file, int* counter,
                    const entry::Items& items);

// True when `text` begins with `prefix`, letter case included. Every entry
// of a load asks each prototype in turn, so this is done inline.
inline bool StartsWith(const char* text, const char* prefix) {
    while (*prefix != '\0' && *text == *prefix) {
        ++text;
        ++prefix;
    }
    return *prefix == '\0';
}

// UpdateObj of a concrete class: sets err to 1 and walks the class's prefix
// table up to its null prefix; the first prefix that begins `key`, compared
// case-sensitively over the prefix's length, runs its configure operation on
// `self`, whose result is returned. No match: 0, err 1.
template <class T, class Entry>
int UpdateThroughTable(T& self, const Entry* table, const char* section, const char* key,
                       const char* file, RETERROR* err) {
    SetErr(err, RE_WRONG_KIND);
    if (key == nullptr) {
        return 0;
    }
    for (const Entry* pair = table; pair->prefix != nullptr; ++pair) {
        if (StartsWith(key, pair->prefix)) {
            return (self.*(pair->configure))(section, key, file, err);
        }
    }
    return 0;
}

}  // namespace knitcfg::detail
