#pragma once

#include "knitcfg/common/Export.h"

namespace knitcfg {

// The result code of every load and save operation. 0 is success. A
// composite operation runs all its steps and reports the first non-zero code.
// Codes that several situations share carry the name of the first.
enum RETERROR : int {
    RE_SUCCESS = 0,
    RE_WRONG_KIND = 1,             // entry of another kind; pattern line without a comma
    RE_NO_PROTECTION = 2,          // "ConfigProtected" missing
    RE_NO_HEADER = 3,              // "Header" section missing or empty
    RE_NO_MACHINE_TYPE = 4,        // "MachineType" missing
    RE_BAD_VERSION = 5,            // "Version" missing or not two numbers around a point
    RE_NO_DESCRIPTION = 6,         // "Description" missing (header, plane section)
    RE_EMPTY_COLOR = 7,            // color section without keys; plane section name: no number > 0
    RE_BAD_NUMBER_OF_LINES = 8,    // "NumberOfLines" missing or not positive
    RE_BAD_START_BLOCK = 9,        // "StartBlock" missing or negative
    RE_NO_BLOCK = 10,              // block entry missing or empty
    RE_NO_COLOR_SECTIONS = 11,     // LoadColors: the file has no section at all
    RE_PLANE_NOT_ADDED = 12,       // CreatePlane: the plane was not added
    RE_NOT_A_COLOR_ACTUATOR = 15,  // SaveColor: an actuator of no color kind
    RE_DRUM_COLOR_ENTRY = 16,      // drum color entry; empty finger/splitter/cam/speeder line entry
    RE_NEGATIVE_PRIORITY = 17,     // plane section "Priority" negative
    RE_NO_SECTIONS = 18,           // LoadLines/LoadGenDis/LoadShavedDis: no section; CreateLine
    RE_FINGER_COLOR_ENTRY = 19,
    RE_SPLITTER_COLOR_ENTRY = 20,
    RE_TRIANGLE_COLOR_ENTRY = 21,
    RE_STEPMOTOR_COLOR_ENTRY = 22,
    RE_STEPMOTORDIS_COLOR_ENTRY = 23,
    RE_SPEEDER_COLOR_ENTRY = 24,  // also: last key of a color section is no actuator entry
    RE_LINE_BAD_PLANE = 25,       // line section: "Plane" missing or not positive
    RE_LINE_NO_HELP = 26,         // line section: "Help" missing or empty
    RE_EMPTY_LINE = 27,           // line section without keys; SaveLine: no line kind
    RE_DRUM_LINE_ENTRY = 28,
    RE_FINGER_LINE_ENTRY = 29,
    RE_SPLITTER_LINE_ENTRY = 30,
    RE_STEPMOTOR_LINE_ENTRY = 31,     // stepping motor and design stepping motor
    RE_STEPMOTORDIS_LINE_EMPTY = 32,  // empty design stepping-motor line entry
    RE_SPEEDER_LINE_ENTRY = 33,
    RE_TRIANGLE_LINE_ENTRY = 34,
    RE_BAD_SHAVED_LINE = 37,  // shaved-design line malformed
    RE_WRITE_SECTION = 38,    // color or line section write refused
    RE_WRITE_DESCRIPTION = 40,
    RE_WRITE_BLOCK = 41,
    RE_WRITE_PLANE = 42,
    RE_WRITE_DRUM = 45,
    RE_WRITE_FINGER = 46,
    RE_WRITE_SPLITTER = 47,
    RE_WRITE_TRIANGLE = 48,
    RE_WRITE_STEPMOTOR = 49,  // also the design stepping-motor line
    RE_WRITE_STEPMOTORDIS_COLOR = 50,
    RE_WRITE_SPEEDER = 51,
    RE_WRITE_MACHINE_TYPE = 52,
    RE_WRITE_VERSION = 53,
    RE_WRITE_NUMBER_OF_LINES = 54,
    RE_WRITE_START_BLOCK = 55,
    RE_WRITE_LAST_DEVELOP = 56,  // also a generated-design line
    RE_WRITE_PATTERN = 57,
    RE_WRITE_SHAVED = 58,
    RE_WRITE_PROTECTION = 59,
    RE_WRITE_SOURCE_CFG = 60,
    RE_WRITE_SOURCE_SDI = 61,
    RE_FILE_UNREADABLE = 62,  // LoadCFG: file missing, unreadable or empty
    RE_FILE_REPLACE = 63,     // SaveCFG: copy over the target or temp removal failed
};

// A short English sentence that says what a code means, for tools and logs.
// Never null; unknown codes give "unknown result code".
KNITCFG_API const char* RetErrorText(int code);

}  // namespace knitcfg
