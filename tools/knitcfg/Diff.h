#pragma once

// The comparison of `knitcfg diff`: two model trees compared by meaning.

#include <cstddef>
#include <ostream>

#include "ModelView.h"

namespace knitcfg::cli {

// Writes, one line per difference, what changes from `before` to `after`
// (two ModelView trees), and returns the number of lines written (0 when
// the two hold the same model). Lists of objects are matched by their key
// members (a color by its number, a line by its number and plane, an
// actuator by its identifier, a design by its name...), so order does not
// matter; the n-th of several items with the same key is matched with the
// n-th in the other tree. Lines begin with:
//   "~ " a value changed:  "~ color 1 / actuator 3: state 0 -> 1"
//   "- " an item removed:  "- color 2: id=2, plane=1, ..." (and its items)
//   "+ " an item added:    "+ design \"\\d\\a\": ..." (and its items)
// Texts are written as JSON strings (quoted, escaped, ASCII only); a value
// that is absent is written "(none)".
std::size_t WriteDiff(std::ostream& out, const Node& before, const Node& after);

}  // namespace knitcfg::cli
