#pragma once

// The fourteen actuator prototypes: one shared object per concrete actuator
// class, which recognises and parses the entries of its kind while a color or
// line section is read (LoadObj configures the prototype itself and hands out
// a clone). They exist from the loading of the library to its unloading,
// belong to the library and are never deleted by a list that holds them.
// Every LoadObj writes into them, so the library's own uses (loading a
// section, emptying the texts when a color goes) hold PrototypeLock(): loads
// of different documents on different threads then take turns on them.
// Internal to the library: colors and lines fill their prototype lists here.

#include <mutex>
#include <vector>

#include "knitcfg/actuators/Attuat.h"

namespace knitcfg::detail {

// The fourteen prototypes in creation order: DrumColor, FingerColor,
// SplitterColor, TriangleColor, StepMotorColor, StepMotorDisColor,
// SpeederColor, DrumLine, FingerLine, SplitterLine, TriangleLine,
// StepMotorLine, StepMotorDisLine, SpeederLine.
const std::vector<Attuat*>& AllPrototypes();

// The seven color prototypes in recognition order: TriangleColor, DrumColor,
// FingerColor, SplitterColor, StepMotorColor, StepMotorDisColor,
// SpeederColor.
const std::vector<Attuat*>& ColorPrototypes();

// The seven line prototypes in recognition order: DrumLine, FingerLine,
// SplitterLine, TriangleLine, StepMotorLine, StepMotorDisLine, SpeederLine.
const std::vector<Attuat*>& LinePrototypes();

// Empties the texts that the SpeederColor prototype (its speed) and the
// StepMotorDisColor prototype (both positions) keep from the last entry they
// parsed. A color does this when it is destroyed; the next configure of a
// prototype sets the texts again before it is cloned.
void EmptyColorPrototypeTexts();

// Holds the prototypes for the caller's scope. Recursive: a holder may call
// code that takes it again.
std::unique_lock<std::recursive_mutex> PrototypeLock();

struct ActuatorKind;

// The kind of `prototype` when it is one of the fourteen prototypes above,
// else null. Such a prototype's LoadObj, given a key that does not begin
// with the kind's prefix, changes nothing, returns null and gives the kind's
// load code: a section load answers that itself, without the two virtual
// calls, for every entry of another kind.
const ActuatorKind* SharedPrototypeKind(const Attuat* prototype);

}  // namespace knitcfg::detail
