#include "Show.h"

#include <knitcfg/knitcfg.h>

#include <algorithm>
#include <utility>

namespace knitcfg::cli {

namespace {

// `numbers` sorted, without repeats, for Has.
std::vector<int> Sorted(std::vector<int> numbers) {
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

bool Has(const std::vector<int>& sorted, int number) {
    return std::binary_search(sorted.begin(), sorted.end(), number);
}

template <class List, class Number>
bool CheckNamed(const std::vector<int>& wanted, const List& list, Number number, const char* what,
                const char* whats, std::string* error) {
    std::vector<int> present;
    present.reserve(list.size());
    for (const auto& item : list) {
        present.push_back(number(*item));
    }
    present = Sorted(std::move(present));
    for (const int n : wanted) {
        if (!Has(present, n)) {
            std::string names;
            for (const int p : present) {
                names += (names.empty() ? "" : ", ") + std::to_string(p);
            }
            *error = std::string("no ") + what + " " + std::to_string(n) + "; " + whats + ": " +
                     (names.empty() ? "none" : names);
            return false;
        }
    }
    return true;
}

// The numbers of a --color, --line or --plane value: "3" or "1,3,5", each
// within 16 bits.
bool ParseNumbers(const std::string& text, std::vector<int>* numbers) {
    std::size_t at = 0;
    while (true) {
        const std::size_t end = std::min(text.find(',', at), text.size());
        const std::string item = text.substr(at, end - at);
        const std::size_t digits = !item.empty() && item[0] == '-' ? 1 : 0;
        if (item.size() == digits || item.size() > digits + 5 ||
            item.find_first_not_of("0123456789", digits) != std::string::npos) {
            return false;
        }
        const int n = std::stoi(item);
        if (n < -32768 || n > 32767) {
            return false;
        }
        numbers->push_back(n);
        if (end == text.size()) {
            return true;
        }
        at = end + 1;
    }
}

}  // namespace

bool ParseViewOptions(const std::map<std::string, std::string>& values, bool designs,
                      Selection* selection, Encoding* encoding, std::string* error) {
    for (const auto& [name, numbers] :
         {std::pair<const char*, std::vector<int>*>{"--color", &selection->colors},
          {"--line", &selection->lines}}) {
        const auto found = values.find(name);
        if (found != values.end() && !ParseNumbers(found->second, numbers)) {
            *error = std::string(name) + " takes a number or a list of them (1,3,5), not '" +
                     found->second + "'";
            return false;
        }
        *numbers = Sorted(std::move(*numbers));
    }
    if (const auto found = values.find("--plane"); found != values.end()) {
        std::vector<int> plane;
        if (!ParseNumbers(found->second, &plane) || plane.size() != 1 || plane[0] == 0) {
            *error = "--plane takes one plane number, not '" + found->second + "'";
            return false;
        }
        selection->plane = plane[0];
    }
    selection->designs = designs;
    if (const auto found = values.find("--encoding"); found != values.end()) {
        if (!ParseEncoding(found->second, encoding)) {
            *error = "--encoding takes latin1 or utf8, not '" + found->second + "'";
            return false;
        }
    }
    return true;
}

bool Selection::Keeps(const ColorPrg& color) const {
    return (plane == 0 || color.Plane == plane) &&
           (colors.empty() ? !PartsChosen() : Has(colors, color.ID));
}

bool Selection::Keeps(const LinePrg& line) const {
    return (plane == 0 || line.Plane == plane) &&
           (lines.empty() ? !PartsChosen() : Has(lines, line.ID));
}

bool Selection::Keeps(const PlanePrg& p) const {
    return !PartsChosen() && (plane == 0 || p.Number == plane);
}

bool CheckSelection(const Configuration& config, const Selection& selection, std::string* error) {
    const std::vector<int> planes =
        selection.plane != 0 ? std::vector<int>{selection.plane} : std::vector<int>{};
    return CheckNamed(
               selection.colors, config.Colors(), [](const ColorPrg& c) { return int{c.ID}; },
               "color", "colors", error) &&
           CheckNamed(
               selection.lines, config.Lines(), [](const LinePrg& l) { return int{l.ID}; }, "line",
               "lines", error) &&
           CheckNamed(
               planes, config.Planes(), [](const PlanePrg& p) { return int{p.Number}; }, "plane",
               "planes", error);
}

std::string CellText(const Value& value) {
    switch (value.type) {
        case Value::Type::Null: return {};
        case Value::Type::Bool: return value.number != 0 ? "yes" : "no";
        case Value::Type::Int: return std::to_string(value.number);
        case Value::Type::Text: return value.text;
        case Value::Type::Shorts:
        case Value::Type::Longs: {
            std::string out;
            for (std::size_t i = 0; i < value.Count(); ++i) {
                if (i > 0) {
                    out += ' ';
                }
                out += std::to_string(value.Item(i));
            }
            return out;
        }
    }
    return {};
}

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

const std::string kIndent1 = "  ";

// "Colors (3)" or "Colors: none".
void Heading(std::ostream& out, const char* title, std::size_t count) {
    out << '\n' << title;
    if (count == 0) {
        out << ": none\n";
    } else {
        out << " (" << count << ")\n";
    }
}

std::string Text(const Members& members, const char* name) {
    const Member* m = members.Find(name);
    return m != nullptr ? CellText(m->value) : std::string();
}

void WriteHeader(std::ostream& out, const Configuration& config, Encoding encoding) {
    const HeaderPrg& h = config.GetHeader();
    std::string lastDevelop = h.LastDevelop;
    if (!lastDevelop.empty()) {
        lastDevelop +=
            ", " + std::to_string(h.LastDevelopFirst) + ", " + std::to_string(h.LastDevelopSecond);
    }
    out << "\nHeader\n";
    WriteFields(out, kIndent1,
                {{"Machine type", h.MachineType},
                 {"Version", std::to_string(h.VersionMajor) + "." + std::to_string(h.VersionMinor)},
                 {"Description", h.Description},
                 {"Lines", std::to_string(h.NumberOfLines)},
                 {"Start block", std::to_string(h.StartBlock)},
                 {"Last develop", lastDevelop},
                 {"Source cfg", h.SourceCfg},
                 {"Source sdi", h.SourceSdi},
                 {"Protected", config.GetProtection().Get() != 0 ? "yes" : "no"}},
                encoding);
}

void WritePlanes(std::ostream& out, const Configuration& config, const Selection& selection,
                 Encoding encoding) {
    std::vector<const PlanePrg*> planes;
    for (const auto& plane : config.Planes()) {
        if (selection.Keeps(*plane)) {
            planes.push_back(plane.get());
        }
    }
    Heading(out, "Planes", planes.size());
    const std::string indent2 = kIndent1 + kIndent1;
    for (const PlanePrg* plane : planes) {
        out << kIndent1 << "Plane " << plane->Number << '\n';
        WriteFields(out, indent2,
                    {{"Description", plane->Description},
                     {"Lines", std::to_string(plane->NumberOfLines)},
                     {"Start block", std::to_string(plane->StartBlock)},
                     {"Priority", std::to_string(plane->Priority)}},
                    encoding);
        if (plane->Blocks.empty()) {
            out << indent2 << "no blocks\n";
            continue;
        }
        Table table({{"block", true}, {"parameter", true}, {"values"}}, encoding);
        for (const auto& block : plane->Blocks) {
            const Members m = Collect(ObjectRef{Kind::Block, block.get()});
            table.AddRow({Text(m, "number"), Text(m, "parameter"), Text(m, "values")});
        }
        table.Write(out, indent2);
    }
}

template <class Program>
std::vector<const Attuat*> ActuatorsOf(const Program& program) {
    std::vector<const Attuat*> actuators;
    actuators.reserve(program.Attuats.size());
    for (const auto& actuator : program.Attuats) {
        actuators.push_back(actuator.get());
    }
    return actuators;
}

void WriteDesigns(std::ostream& out, const Configuration& config, Encoding encoding) {
    Heading(out, "Generated designs", config.Designs().size());
    const std::string indent2 = kIndent1 + kIndent1;
    for (const auto& design : config.Designs()) {
        out << kIndent1 << "Design " << ForTerminal(design->Name, encoding) << "  ("
            << design->First << ", " << design->Second << ")\n";
        if (design->Patterns.empty()) {
            out << indent2 << "no pattern objects\n";
            continue;
        }
        Table table({{"color", true}, {"association", true}, {"pattern"}, {"remap"}}, encoding);
        for (const auto& pattern : design->Patterns) {
            const Members m = Collect(ObjectRef{Kind::Pattern, pattern.get()});
            table.AddRow({Text(m, "color"), Text(m, "association"), Text(m, "patternName"),
                          Text(m, "remap")});
        }
        table.Write(out, indent2);
    }
}

void WriteShaved(std::ostream& out, const Configuration& config, Encoding encoding) {
    Heading(out, "Shaved designs", config.ShavedDesigns().size());
    if (config.ShavedDesigns().empty()) {
        return;
    }
    Table table({{"name"}, {"first", true}, {"second", true}, {"third", true}, {"elements"}},
                encoding);
    for (const auto& shaved : config.ShavedDesigns()) {
        const Members m = Collect(ObjectRef{Kind::Shaved, shaved.get()});
        table.AddRow({Text(m, "name"), Text(m, "first"), Text(m, "second"), Text(m, "third"),
                      Text(m, "elements")});
    }
    table.Write(out, kIndent1);
}

}  // namespace

void ShowActuators(std::ostream& out, const std::vector<const Attuat*>& actuators,
                   Encoding encoding, const std::string& indent) {
    if (actuators.empty()) {
        out << indent << "no actuators\n";
        return;
    }
    Table main({{"kind"},
                {"id", true},
                {"feed", true},
                {"feed id", true},
                {"state", true, true},
                {"position", true, true},
                {"speed", true, true}},
               encoding);
    Table design({{"id", true},
                  {"needles", true},
                  {"n.start", true},
                  {"n.end", true},
                  {"ranks", true},
                  {"r.start", true},
                  {"r.end", true},
                  {"bal.start", true},
                  {"bal.end", true}},
                 encoding);
    // The members of an actuator, in order: kind, id, feed, feedId, state,
    // position, speed, then the eight design stepping-motor values.
    constexpr std::size_t kMainCount = 7;
    for (const Attuat* a : actuators) {
        const Members m = Collect(ActuatorRef(*a));
        std::vector<std::string> row;
        row.reserve(kMainCount);
        for (std::size_t i = 0; i < kMainCount; ++i) {
            row.push_back(CellText(m.items[i].value));
        }
        bool any = false;
        for (std::size_t i = kMainCount; i < m.count; ++i) {
            any = any || !m.items[i].value.IsNull();
        }
        if (any) {
            std::vector<std::string> designRow{row[1]};
            for (std::size_t i = kMainCount; i < m.count; ++i) {
                designRow.push_back(CellText(m.items[i].value));
            }
            design.AddRow(std::move(designRow));
        }
        main.AddRow(std::move(row));
    }
    main.Write(out, indent);
    if (design.RowCount() > 0) {
        out << indent << "design stepping motors:\n";
        design.Write(out, indent);
    }
}

void ShowActuator(std::ostream& out, const Attuat& actuator, Encoding encoding,
                  const std::string& indent) {
    ShowActuators(out, {&actuator}, encoding, indent);
}

void ShowColor(std::ostream& out, const ColorPrg& color, Encoding encoding,
               const std::string& indent) {
    out << indent << "Color " << color.ID << ", plane " << color.Plane << '\n';
    const std::string inner = indent + kIndent1;
    Fields help;
    if (!color.HelpAbstract.empty()) {
        help.emplace_back("Abstract", color.HelpAbstract);
    }
    if (!color.Help.empty()) {
        help.emplace_back("Help", color.Help);
    }
    WriteFields(out, inner, help, encoding);
    ShowActuators(out, ActuatorsOf(color), encoding, inner);
}

void ShowLine(std::ostream& out, const LinePrg& line, Encoding encoding,
              const std::string& indent) {
    out << indent << "Line " << line.ID << ", plane " << line.Plane << '\n';
    const std::string inner = indent + kIndent1;
    if (!line.Help.empty()) {
        WriteFields(out, inner, {{"Help", line.Help}}, encoding);
    }
    ShowActuators(out, ActuatorsOf(line), encoding, inner);
}

void WriteShow(std::ostream& out, const std::string& path, int code, const Configuration& config,
               const Selection& selection, Encoding encoding) {
    WriteFields(
        out, "",
        {{"File", path}, {"Load result", std::to_string(code) + " (" + RetErrorText(code) + ")"}});
    if (!selection.PartsChosen()) {
        WriteHeader(out, config, encoding);
        WritePlanes(out, config, selection, encoding);
    }
    if (!selection.PartsChosen() || !selection.lines.empty()) {
        std::size_t count = 0;
        for (const auto& line : config.Lines()) {
            count += selection.Keeps(*line) ? 1 : 0;
        }
        Heading(out, "Lines", count);
        for (const auto& line : config.Lines()) {
            if (selection.Keeps(*line)) {
                ShowLine(out, *line, encoding, kIndent1);
            }
        }
    }
    if (!selection.PartsChosen() || !selection.colors.empty()) {
        std::size_t count = 0;
        for (const auto& color : config.Colors()) {
            count += selection.Keeps(*color) ? 1 : 0;
        }
        Heading(out, "Colors", count);
        for (const auto& color : config.Colors()) {
            if (selection.Keeps(*color)) {
                ShowColor(out, *color, encoding, kIndent1);
            }
        }
    }
    // Designs belong to no plane: --plane alone leaves them out.
    if (selection.designs || (!selection.PartsChosen() && selection.plane == 0)) {
        WriteDesigns(out, config, encoding);
        WriteShaved(out, config, encoding);
    }
}

}  // namespace knitcfg::cli
