#pragma once

// The description of an actuator kind (prefix, read default and buffer,
// value format, codes), from which AttuatKind runs the recognition,
// configure, list and write steps of every class. Internal to the library.

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

// The room through which the Id an actuator already listed is read (its
// AlreadyInList, and the section load that stands in for it), NUL included.
inline constexpr unsigned kIdReadRoom = 260;

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

// True when `text` begins with `prefix`, letter case included. Every entry
// of a load asks each prototype in turn, so this is done inline.
inline bool StartsWith(const char* text, const char* prefix) {
    while (*prefix != '\0' && *text == *prefix) {
        ++text;
        ++prefix;
    }
    return *prefix == '\0';
}

}  // namespace knitcfg::detail
