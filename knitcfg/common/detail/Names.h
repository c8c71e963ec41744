#pragma once

// Section and key names as the profile layer lists them and the document
// writes them. Internal: not exported, not installed.

#include <cstring>
#include <string>

namespace knitcfg::detail {

// The size, NUL included, of the buffer through which the document reads
// every listing (the section names of a file, the key names or the lines of
// a section) and its long texts (the header's values, descriptions): what
// lies beyond it in the file is not seen.
inline constexpr unsigned kListingSize = 8192;

// The numbered name of a key or section: `prefix` (null reads as "")
// followed by `number` written as "%3.3d" (at least three digits,
// zero-padded: 0 -> "000", 1000 -> "1000", -5 -> "-005").
std::string NumberedName(const char* prefix, int number);
// The same name, appended to `*out`.
void AppendNumberedName(const char* prefix, int number, std::string* out);

// Calls `take` with each name of `names`, a listing of NUL-terminated names
// ended by an empty one (as the profile layer lists keys and sections), that
// begins with `prefix` (exact letter case), in listing order.
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
