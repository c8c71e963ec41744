#pragma once

// The person-readable report of `knitcfg show`, and the pieces of it that
// other commands print on their own (one actuator, one color, one line).

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "ModelView.h"
#include "Table.h"

namespace knitcfg {
class Attuat;
class ColorPrg;
class Configuration;
class LinePrg;
class PlanePrg;
}  // namespace knitcfg

namespace knitcfg::cli {

// What part of a configuration to print (`show` and `map` filters). The
// number lists are kept sorted, without repeats (as ParseViewOptions leaves
// them).
struct Selection {
    std::vector<int> colors;  // --color: these color numbers only
    std::vector<int> lines;   // --line: these line numbers only
    int plane = 0;            // --plane: only what belongs to this plane; 0: all
    bool designs = false;     // --designs: the generated and shaved designs

    // True when --color, --line or --designs chose parts: the others are
    // then left out.
    bool PartsChosen() const { return !colors.empty() || !lines.empty() || designs; }
    bool Keeps(const ColorPrg& color) const;
    bool Keeps(const LinePrg& line) const;
    bool Keeps(const PlanePrg& plane) const;
};

// Reads the filters and the encoding from a command's valued options
// (`values`, by name: "--color" and "--line", a number or a list "1,3,5";
// "--plane", one number; "--encoding", latin1 or utf8) and its --designs
// flag. False, with a message, on a value that is not one.
bool ParseViewOptions(const std::map<std::string, std::string>& values, bool designs,
                      Selection* selection, Encoding* encoding, std::string* error);

// Checks that every color, line and plane that `selection` names exists in
// `config`. False, with a message saying what exists ("no color 9; colors:
// 1, 2, 3"), when one does not.
bool CheckSelection(const Configuration& config, const Selection& selection, std::string* error);

// A plain value as a table cell or field: "" for Null, "yes"/"no" for a
// flag, a list as its items separated by blanks.
std::string CellText(const Value& value);

// Writes the report of a loaded file: the file and its load result, the
// header and protection flag, then the planes with their blocks, the lines,
// the colors (each with a table of its actuators), the generated designs
// with their pattern objects and the shaved designs; only the parts that
// `selection` keeps. Texts are converted to `encoding`.
void WriteShow(std::ostream& out, const std::string& path, int code, const Configuration& config,
               const Selection& selection, Encoding encoding);

// The actuators of a color or line as `show` prints them: one table of the
// values every kind may have (a column that no actuator has a value in is
// left out) and, when an actuator has them, a second one of the design
// stepping-motor values; "no actuators" for an empty list. Each line after
// `indent`.
void ShowActuators(std::ostream& out, const std::vector<const Attuat*>& actuators,
                   Encoding encoding, const std::string& indent = "");

// One actuator, as ShowActuators prints a list of one.
void ShowActuator(std::ostream& out, const Attuat& actuator, Encoding encoding,
                  const std::string& indent = "");

// One color or line as `show` prints it: "Color 1, plane 1", its help texts
// and its actuators, the lines under the title indented two more blanks.
void ShowColor(std::ostream& out, const ColorPrg& color, Encoding encoding,
               const std::string& indent = "");
void ShowLine(std::ostream& out, const LinePrg& line, Encoding encoding,
              const std::string& indent = "");

}  // namespace knitcfg::cli
