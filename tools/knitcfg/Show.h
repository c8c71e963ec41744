#pragma once

// The person-readable report of `knitcfg show`.

#include <ostream>
#include <string>

#include "ModelView.h"

namespace knitcfg::cli {

// A plain value as a table cell or field: "" for Null or a missing value,
// "yes"/"no" for a flag, a list of plain values as its items separated by
// blanks.
std::string CellText(const Node* node);

// Writes the report of a LoadedFileView tree: the load result, the header
// and protection flag, then the planes with their blocks (when the tree has
// them), the lines, the colors (each with a table of its actuators), the
// generated designs with their pattern objects and the shaved designs.
void WriteShow(std::ostream& out, const Node& view);

}  // namespace knitcfg::cli
