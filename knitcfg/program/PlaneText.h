#pragma once

// Internal: not exported, not installed. The value reading that plane and
// block entries share.

#include <string>

namespace knitcfg::detail {

// Reads a number at `p` as "%d" does (blanks, an optional sign, at least one
// digit; see entry::Scan) into `number` and returns the first character
// after its digits; returns null, leaving `number`, when `p` (null or not)
// does not begin with a number.
const char* ReadNumber(const char* p, int* number);

// The first position at or after `p` that is no blank (as "%d" skips them).
const char* SkipBlanks(const char* p);

}  // namespace knitcfg::detail
