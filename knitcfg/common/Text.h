#pragma once

#include <string>

#include "knitcfg/common/Export.h"

namespace knitcfg {

// Every two-character sequence backslash + 'n' becomes CR LF; nothing else
// changes. A null text gives the empty string.
KNITCFG_API std::string UnescapeNewLines(const char* text);

// Every CR LF pair becomes backslash + 'n'; a lone CR or LF stays. A null
// text gives the empty string.
KNITCFG_API std::string EscapeNewLines(const char* text);

// `text` with its ASCII capitals in lower case, other bytes as they are: two
// section or key names match, as the profile layer matches them, when their
// folded forms are equal.
KNITCFG_API std::string FoldAsciiCase(std::string text);

}  // namespace knitcfg
