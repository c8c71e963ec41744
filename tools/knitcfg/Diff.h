#pragma once

// The comparison of `knitcfg diff`: two configurations compared by meaning,
// walked side by side.

#include <cstddef>
#include <ostream>
#include <string>

#include "ModelView.h"
#include "Table.h"

namespace knitcfg {
class Configuration;
}

namespace knitcfg::cli {

// Writes, one line per difference, what changes from `before` to `after`,
// and returns the number of lines written (0 when the two hold the same
// model). Lists of objects are matched by their key members (a color by its
// number, a line by its number and plane, an actuator by its identifier, a
// design by its name...), so order does not matter; the n-th of several
// items with the same key is matched with the n-th in the other list. Lines
// begin with:
//   "~ " a value changed:  "~ color 1 actuator 3: state 0 -> 1"
//   "- " an item removed:  "- color 2: id=2, plane=1, ..." (and its items)
//   "+ " an item added:    "+ design "\d\a.dis": ..." (and its items)
// Values are written as DiffText writes them.
std::size_t WriteDiff(std::ostream& out, const Configuration& before, const Configuration& after,
                      Encoding encoding = Encoding::Latin1);

// A value as a diff line writes it: "(none)" for a value that is absent,
// true/false, a number, "[1 2 3]" for a list, a text between double quotes
// as the file holds it (a CR LF line break as \n, control characters as '?',
// converted to `encoding`).
std::string DiffText(const Value& value, Encoding encoding = Encoding::Latin1);

// The line of one changed value, without its line end: "~ PATH: NAME OLD ->
// NEW", or "~ NAME: OLD -> NEW" when `path` is empty. PATH is made of item
// labels joined by blanks ("color 1 actuator 3", "line 2 plane 1"), the
// words `get` and `set` take.
std::string ChangeLine(const std::string& path, const std::string& name, const Value& before,
                       const Value& after, Encoding encoding = Encoding::Latin1);

}  // namespace knitcfg::cli
