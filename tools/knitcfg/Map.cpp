#include "Map.h"

#include <knitcfg/knitcfg.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "Table.h"

namespace knitcfg::cli {

namespace {

// Blocks of columns are kept within this width where a column allows.
constexpr std::size_t kBlockWidth = 120;

const char* KindCode(const Attuat& actuator) {
    // The design stepping motor first: its class name begins like the
    // stepping motor's.
    static const std::pair<const char*, const char*> kCodes[] = {
        {"Drum", "D"},          {"Finger", "F"},    {"Splitter", "S"}, {"Triangle", "T"},
        {"StepMotorDis", "DM"}, {"StepMotor", "M"}, {"Speeder", "SP"}};
    const char* name = actuator.GetRuntimeClass()->className;
    for (const auto& [prefix, code] : kCodes) {
        if (std::strncmp(name, prefix, std::strlen(prefix)) == 0) {
            return code;
        }
    }
    return "?";
}

std::string FeedLabel(short feed) {
    return feed == kNoValue ? "none" : std::to_string(feed);
}

// One column of the map: a title and a cell per feed row.
struct MapColumn {
    std::string title;
    std::vector<std::string> cells;
    std::size_t width = 0;
};

template <class Program>
MapColumn ColumnOf(const std::string& title, const Program& program,
                   const std::vector<int>& rowOfFeed) {
    MapColumn column;
    column.title = title;
    column.width = title.size();
    std::size_t rows = 0;
    for (const int row : rowOfFeed) {
        rows += row >= 0 ? 1 : 0;
    }
    column.cells.resize(rows);
    for (const auto& actuator : program.Attuats) {
        std::string& cell = column.cells[static_cast<std::size_t>(
            rowOfFeed[static_cast<std::size_t>(actuator->Caduta - kNoValue)])];
        if (!cell.empty()) {
            cell += ' ';
        }
        cell += MapCell(*actuator);
    }
    for (const std::string& cell : column.cells) {
        column.width = std::max(column.width, DisplayWidth(cell, Encoding::Latin1));
    }
    return column;
}

void WriteBlock(std::ostream& out, const std::vector<short>& feeds, std::vector<MapColumn>& block) {
    std::vector<Column> columns{{"feed", true}};
    for (const MapColumn& c : block) {
        columns.emplace_back(c.title.c_str());
    }
    Table table(std::move(columns), Encoding::Latin1, 0);
    for (std::size_t r = 0; r < feeds.size(); ++r) {
        std::vector<std::string> row{FeedLabel(feeds[r])};
        for (MapColumn& c : block) {
            row.push_back(std::move(c.cells[r]));
        }
        table.AddRow(std::move(row));
    }
    table.Write(out, "  ");
    block.clear();
}

// One block of the map: "Colors by feed (3)" and the tables of the programs
// in `programs`.
template <class Program>
void WritePrograms(std::ostream& out, const char* title, const char* itemName,
                   const std::vector<const Program*>& programs) {
    out << '\n' << title;
    if (programs.empty()) {
        out << ": none\n";
        return;
    }
    out << " (" << programs.size() << ")\n";
    // Feeds are 16-bit: a table of all of them finds a row in one step.
    std::vector<int> rowOfFeed(65536, -1);
    for (const Program* program : programs) {
        for (const auto& actuator : program->Attuats) {
            rowOfFeed[static_cast<std::size_t>(actuator->Caduta - kNoValue)] = 0;
        }
    }
    std::vector<short> feeds;
    for (std::size_t i = 0; i < rowOfFeed.size(); ++i) {
        if (rowOfFeed[i] == 0) {
            rowOfFeed[i] = static_cast<int>(feeds.size());
            feeds.push_back(static_cast<short>(static_cast<int>(i) + kNoValue));
        }
    }
    if (feeds.empty()) {
        out << "  no actuators\n";
        return;
    }
    const std::size_t feedWidth = 4;
    std::vector<MapColumn> block;
    std::size_t width = feedWidth;
    bool first = true;
    for (const Program* program : programs) {
        MapColumn column = ColumnOf(std::string(itemName) + " " + std::to_string(program->ID),
                                    *program, rowOfFeed);
        if (!block.empty() && width + 2 + column.width > kBlockWidth) {
            if (!first) {
                out << '\n';
            }
            WriteBlock(out, feeds, block);
            first = false;
            width = feedWidth;
        }
        width += 2 + column.width;
        block.push_back(std::move(column));
    }
    if (!first) {
        out << '\n';
    }
    WriteBlock(out, feeds, block);
}

}  // namespace

std::string MapCell(const Attuat& actuator) {
    std::string cell = KindCode(actuator);
    if (actuator.Id != kNoValue) {
        cell += std::to_string(actuator.Id);
    }
    const short state = actuator.GetStato();
    if (state != kNoValue) {
        cell += '=' + std::to_string(state);
    } else if (const std::string speed = actuator.GetVelocita(); !speed.empty()) {
        cell += '=' + ForTerminal(speed, Encoding::Latin1);
    }
    return cell;
}

void WriteMap(std::ostream& out, const std::string& path, int code, const Configuration& config,
              const Selection& selection) {
    WriteFields(out, "",
                {{"File", path},
                 {"Load result", std::to_string(code) + " (" + RetErrorText(code) + ")"},
                 {"Cells",
                  "D drum, F finger, S splitter, T triangle, M stepping motor,\n"
                  "DM design stepping motor, SP speeder; then the identifier\n"
                  "and =state (a speeder: =speed)"}});
    if (!selection.PartsChosen() || !selection.colors.empty()) {
        std::vector<const ColorPrg*> colors;
        for (const auto& color : config.Colors()) {
            if (selection.Keeps(*color)) {
                colors.push_back(color.get());
            }
        }
        WritePrograms(out, "Colors by feed", "color", colors);
    }
    if (!selection.PartsChosen() || !selection.lines.empty()) {
        std::vector<const LinePrg*> lines;
        for (const auto& line : config.Lines()) {
            if (selection.Keeps(*line)) {
                lines.push_back(line.get());
            }
        }
        WritePrograms(out, "Lines by feed", "line", lines);
    }
}

}  // namespace knitcfg::cli
