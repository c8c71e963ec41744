#pragma once

// JSON output of the model tree. Texts of the model are 8-bit: every byte
// above 127 is written as \u00XX (the byte read as Latin-1), and every
// control character escaped, so the output is plain ASCII and always valid
// JSON whatever a file holds.

#include <ostream>
#include <string>
#include <string_view>

#include "ModelView.h"

namespace knitcfg::cli {

// `text` as a quoted JSON string.
std::string JsonString(std::string_view text);

// `node` as indented JSON text followed by a line end. Objects and lists of
// objects take one line per member or item; lists of plain values stay on
// one line.
void WriteJson(std::ostream& out, const Node& node);

}  // namespace knitcfg::cli
