#pragma once

// Internal: not exported, not installed. The value reading that plane and
// block entries share, and the walk of the name lists that plane sections
// and the document's plane step read.

#include <cstring>

namespace knitcfg::detail {

// Reads a number at `p` as "%d" does (blanks, an optional sign, at least one
// digit; see entry::Scan) into `number` and returns the first character
// after its digits; returns null, leaving `number`, when `p` (null or not)
// does not begin with a number.
const char* ReadNumber(const char* p, int* number);

// The first position at or after `p` that is no blank (as "%d" skips them).
const char* SkipBlanks(const char* p);

// Calls `take` with each name of `names`, a list of NUL-terminated names
// ended by an empty one (as the profile layer lists keys and sections), that
// begins with `prefix` (exact letter case), in list order.
template <class Take>
void ForEachNameWithPrefix(const char* names, const char* prefix, Take take) {
    const std::size_t prefixLength = std::strlen(prefix);
    for (const char* name = names; *name != '\0'; name += std::strlen(name) + 1) {
        if (std::strncmp(name, prefix, prefixLength) == 0) {
            take(name);
        }
    }
}

}  // namespace knitcfg::detail
