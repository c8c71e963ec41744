#pragma once

// The addresses of `knitcfg get` and `knitcfg set`: a value or an object of
// a loaded configuration named by plain words that need no quoting in a
// shell, the words that `diff` prints and the names that `dump --json` uses:
//
//   header [FIELD]                         machineType, version, description...
//   protected
//   plane N [FIELD]                        description, priority, ...
//   color N [FIELD]                        plane, helpAbstract, help, ...
//   color N actuator ID [FIELD]            state, position, speed, feed, ...
//   line N [plane P] [FIELD]               the plane may be left out when
//   line N [plane P] actuator ID [FIELD]   only one line has the number N
//
// Numbers are compared as 16-bit values, and the first object in list order
// with the number is the one named, as the library's own lookups do.

#include <string>
#include <vector>

#include "ModelView.h"

namespace knitcfg {
class Attuat;
class ColorPrg;
class Configuration;
class LinePrg;
class PlanePrg;
}  // namespace knitcfg

namespace knitcfg::cli {

struct Address {
    enum class Target { Header, Protected, Plane, Color, Line, ColorActuator, LineActuator };

    Target target = Target::Header;
    short number = 0;  // the plane, color or line
    bool hasLinePlane = false;
    short linePlane = 0;  // a line's plane, when given
    short actuator = 0;   // the actuator's identifier
    std::string field;    // empty: the whole object
};

// Reads `words` as an address. False, with a message saying what was
// expected, when they are not one.
bool ParseAddress(const std::vector<std::string>& words, Address* address, std::string* error);

// The objects an address names, owned by the configuration.
struct Resolved {
    PlanePrg* plane = nullptr;
    ColorPrg* color = nullptr;
    LinePrg* line = nullptr;
    Attuat* actuator = nullptr;
    short linePlane = 0;  // the plane of `line`
};

// Finds what `address` names in `config`. False, with a message that says
// what exists instead ("no color 9: the colors are 1, 2, 3"), when it names
// nothing.
bool Resolve(Configuration& config, const Address& address, Resolved* resolved, std::string* error);

// The object part of an address in shell-safe words, as `set` prints it:
// "header", "color 1 actuator 21", "line 2 plane 1".
std::string ObjectWords(const Address& address, const Resolved& resolved);

// The value of `address`'s field. False, with a message naming the fields
// the object has, when it has no such field.
bool GetField(const Configuration& config, const Address& address, const Resolved& resolved,
              Value* value, std::string* error);

// Sets `address`'s field to `text` (as typed on the command line) through
// the library's setters, in memory only. False, changing nothing, with a
// message, when the object has no such field, the field cannot be set, or
// the text is not a value the field can hold and read back.
bool SetField(Configuration& config, const Address& address, const Resolved& resolved,
              const std::string& text, std::string* error);

}  // namespace knitcfg::cli
