#pragma once

// The fourteen actuator prototypes: one shared object per concrete actuator
// class, which recognises and parses the entries of its kind while a color or
// line section is read (LoadObj configures the prototype itself and hands out
// a clone). They exist from the loading of the library to its unloading,
// belong to the library and are never deleted by a list that holds them.
// Loading runs on one thread at a time: every LoadObj writes into them.
// Internal to the library: colors and lines fill their prototype lists here.

#include <vector>

#include "knitcfg/actuators/Attuat.h"

namespace knitcfg {

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

}  // namespace knitcfg
