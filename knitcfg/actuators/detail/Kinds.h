#pragma once

// The entry descriptions of the library's fourteen actuator classes, in one
// table: each class reads, parses and writes its entries with its own, and
// a section load uses them to know what the shared prototypes refuse.
// Internal to the library.

#include "knitcfg/actuators/detail/ActuatorKind.h"

namespace knitcfg::detail {

// clang-format off
//                                           prefix               read default          buffer  value format            load                          configure                     save
inline constexpr ActuatorKind kDrumColor     {kDrumPrefix,      "0, 0, 0, 0",         260, "%d, %d, %d, %d",       RE_DRUM_COLOR_ENTRY,          RE_DRUM_COLOR_ENTRY,          RE_WRITE_DRUM};
inline constexpr ActuatorKind kFingerColor   {kFingerPrefix,    "0, 0, 0, 0",         512, "%d, %d, %d, %d",       RE_FINGER_COLOR_ENTRY,        RE_FINGER_COLOR_ENTRY,        RE_WRITE_FINGER};
inline constexpr ActuatorKind kSplitterColor {kSplitterPrefix,  "0, 0, 0, 0",         512, "%d, %d, %d, %d",       RE_SPLITTER_COLOR_ENTRY,      RE_SPLITTER_COLOR_ENTRY,      RE_WRITE_SPLITTER};
inline constexpr ActuatorKind kTriangleColor {kTrianglePrefix,  "0, 0, 0, 0",         512, "%d, %d, %d, %d",       RE_TRIANGLE_COLOR_ENTRY,      RE_TRIANGLE_COLOR_ENTRY,      RE_WRITE_TRIANGLE};
inline constexpr ActuatorKind kStepMotorColor{kStepMotorPrefix, "0, 0, 0, 0, 0",      512, "%d, %d, %d, %d, %d",   RE_STEPMOTOR_COLOR_ENTRY,     RE_STEPMOTOR_COLOR_ENTRY,     RE_WRITE_STEPMOTOR};
inline constexpr ActuatorKind kSpeederColor  {kSpeederPrefix,   "0, 0, 0, 0",         512, "%d, %d, %d, %s",       RE_SPEEDER_COLOR_ENTRY,       RE_SPEEDER_COLOR_ENTRY,       RE_WRITE_SPEEDER};
// clang-format on

// The read default is comma-separated although the format is not: a missing
// key thus yields Id 0 and nothing else.
inline constexpr ActuatorKind kStepMotorDisColor{kStepMotorDisPrefix,
                                                 "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0",
                                                 512,
                                                 "%d %d %d %s %d %d %s %d %d %d %d",
                                                 RE_STEPMOTORDIS_COLOR_ENTRY,
                                                 RE_STEPMOTORDIS_COLOR_ENTRY,
                                                 RE_WRITE_STEPMOTORDIS_COLOR};

// The codes differ between kinds on purpose: the finger, splitter, cam and
// speeder lines share the configure code 16, and the design stepping-motor
// line reports the stepping motor's load and save codes.
// clang-format off
//                                              prefix                read default  buffer  value format    load                         configure                    save
inline constexpr ActuatorKind kDrumLine        {kDrumPrefix,         "0, 0, 0",    512, "%d, %d, %d",   RE_DRUM_LINE_ENTRY,          RE_DRUM_LINE_ENTRY,          RE_WRITE_DRUM};
inline constexpr ActuatorKind kFingerLine      {kFingerPrefix,       "0, 0, 0",    512, "%d, %d, %d",   RE_FINGER_LINE_ENTRY,        RE_DRUM_COLOR_ENTRY,         RE_WRITE_FINGER};
inline constexpr ActuatorKind kSplitterLine    {kSplitterPrefix,     "0, 0, 0",    512, "%d, %d, %d",   RE_SPLITTER_LINE_ENTRY,      RE_DRUM_COLOR_ENTRY,         RE_WRITE_SPLITTER};
inline constexpr ActuatorKind kTriangleLine    {kTrianglePrefix,     "0, 0, 0",    512, "%d, %d, %d",   RE_TRIANGLE_LINE_ENTRY,      RE_DRUM_COLOR_ENTRY,         RE_WRITE_TRIANGLE};
inline constexpr ActuatorKind kStepMotorLine   {kStepMotorPrefix,    "0, 0, 0",    512, "%d, %d, %d",   RE_STEPMOTOR_LINE_ENTRY,     RE_STEPMOTOR_LINE_ENTRY,     RE_WRITE_STEPMOTOR};
inline constexpr ActuatorKind kStepMotorDisLine{kStepMotorDisPrefix, "0, 0, 0",    512, "%d, %d, %d",   RE_STEPMOTOR_LINE_ENTRY,     RE_STEPMOTORDIS_LINE_EMPTY,  RE_WRITE_STEPMOTOR};
inline constexpr ActuatorKind kSpeederLine     {kSpeederPrefix,      "0, 0, 0",    512, "%d, %d, %d",   RE_SPEEDER_LINE_ENTRY,       RE_DRUM_COLOR_ENTRY,         RE_WRITE_SPEEDER};
// clang-format on

}  // namespace knitcfg::detail
