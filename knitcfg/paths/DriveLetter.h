#pragma once

// The drive part of a path as the machines' programs write paths: a drive
// letter and a colon in front of the first backslash ('E:\dis\a'). Paths are
// handled as text, whatever the platform the library runs on.

#include <string>

#include "knitcfg/common/Export.h"

namespace knitcfg {

// The drive of `path`: the character before its first colon-backslash and
// the colon ('E:' for 'E:\dis\a', 'E:' for 'x E:\a'); the colon and backslash
// themselves when the path starts with them; "" when the path holds no
// colon-backslash or is null.
KNITCFG_API std::string GetDriveLetter(const char* path);

// Puts `drive` in front of the first backslash of `path`, dropping whatever
// stood before it ('F:' with 'E:\dis\a' or 'dis\a' gives 'F:\dis\a'), and
// returns 1. The drive text is used as given (null counts as ""). Returns 0
// and leaves the path unchanged when it holds no backslash.
KNITCFG_API int SetDriveLetter(const char* drive, std::string& path);

// Removes the drive part of `path` in place: the path keeps its text from the
// backslash of its first colon-backslash on ('x E:\a' becomes '\a'). A path
// without colon-backslash is left unchanged.
KNITCFG_API void DelDriveLetter(std::string& path);

}  // namespace knitcfg
