#pragma once

// `knitcfg map`: the machine by feed. For the colors, one row per feed and
// one column per color; each cell lists the actuators of that color on that
// feed. The lines follow in a block of their own, one column per line.

#include <ostream>
#include <string>

#include "Show.h"

namespace knitcfg {
class Attuat;
class Configuration;
}  // namespace knitcfg

namespace knitcfg::cli {

// What a map cell says of one actuator: its kind's code (D drum, F finger,
// S splitter, T triangle, M stepping motor, DM design stepping motor, SP
// speeder), its identifier, then "=" and its state, or a speeder's speed;
// "T21=1", "SP61=+0.750", "DM51".
std::string MapCell(const Attuat& actuator);

// Writes the file and its load result, a line explaining the codes, then
// the colors and the lines that `selection` keeps by feed. The columns come
// in blocks narrow enough for a terminal where they can; every block has
// the same feed rows. Cells are never cut.
void WriteMap(std::ostream& out, const std::string& path, int code, const Configuration& config,
              const Selection& selection);

}  // namespace knitcfg::cli
