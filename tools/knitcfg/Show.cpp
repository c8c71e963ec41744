#include "Show.h"

#include <string_view>
#include <utility>
#include <vector>

#include "Table.h"

namespace knitcfg::cli {

std::string CellText(const Node* node) {
    if (node == nullptr) {
        return {};
    }
    switch (node->type) {
        case Node::Type::Null: return {};
        case Node::Type::Bool: return node->flag ? "yes" : "no";
        case Node::Type::Int: return std::to_string(node->number);
        case Node::Type::Text: return node->text;
        case Node::Type::List: {
            std::string out;
            for (const Node& item : node->items) {
                if (!out.empty()) {
                    out += ' ';
                }
                out += CellText(&item);
            }
            return out;
        }
        case Node::Type::Object: return {};
    }
    return {};
}

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

const std::string kIndent1 = "  ";
const std::string kIndent2 = "    ";

std::string Field(const Node& object, std::string_view name) {
    return CellText(object.Find(name));
}

const std::vector<Node>& Items(const Node& object, std::string_view name) {
    static const std::vector<Node> kNone;
    const Node* list = object.Find(name);
    return list != nullptr ? list->items : kNone;
}

// "Colors (3)" or "Colors: none".
void Heading(std::ostream& out, const char* title, std::size_t count) {
    out << '\n' << title;
    if (count == 0) {
        out << ": none\n";
    } else {
        out << " (" << count << ")\n";
    }
}

void WriteHeader(std::ostream& out, const Node& view) {
    const Node* header = view.Find("header");
    if (header == nullptr) {
        return;
    }
    std::string lastDevelop = Field(*header, "lastDevelop");
    if (!lastDevelop.empty()) {
        lastDevelop +=
            ", " + Field(*header, "lastDevelopFirst") + ", " + Field(*header, "lastDevelopSecond");
    }
    out << "\nHeader\n";
    WriteFields(out, kIndent1,
                {{"Machine type", Field(*header, "machineType")},
                 {"Version", Field(*header, "versionMajor") + "." + Field(*header, "versionMinor")},
                 {"Description", Field(*header, "description")},
                 {"Lines", Field(*header, "numberOfLines")},
                 {"Start block", Field(*header, "startBlock")},
                 {"Last develop", lastDevelop},
                 {"Source cfg", Field(*header, "sourceCfg")},
                 {"Source sdi", Field(*header, "sourceSdi")},
                 {"Protected", Field(view, "protected")}});
}

void WritePlanes(std::ostream& out, const Node& view) {
    // A tool built without the plane API has no "planes" in its tree.
    if (view.Find("planes") == nullptr) {
        return;
    }
    const auto& planes = Items(view, "planes");
    Heading(out, "Planes", planes.size());
    for (const Node& plane : planes) {
        out << kIndent1 << "Plane " << Field(plane, "number") << '\n';
        WriteFields(out, kIndent2,
                    {{"Description", Field(plane, "description")},
                     {"Lines", Field(plane, "numberOfLines")},
                     {"Start block", Field(plane, "startBlock")},
                     {"Priority", Field(plane, "priority")}});
        const auto& blocks = Items(plane, "blocks");
        if (blocks.empty()) {
            out << kIndent2 << "no blocks\n";
            continue;
        }
        Table table({{"block", true}, {"parameter", true}, {"values"}});
        for (const Node& block : blocks) {
            table.AddRow(
                {Field(block, "number"), Field(block, "parameter"), Field(block, "values")});
        }
        table.Write(out, kIndent2);
    }
}

// The actuators of a color or line: one table of the values every kind may
// have, and, when some actuator has them, a second one of the design
// stepping-motor values, so that neither grows wider than a terminal.
void WriteActuators(std::ostream& out, const std::vector<Node>& actuators) {
    if (actuators.empty()) {
        out << kIndent2 << "no actuators\n";
        return;
    }
    Table main({{"kind"},
                {"id", true},
                {"feed", true},
                {"feed id", true},
                {"state", true, true},
                {"position", true, true},
                {"speed", true, true}});
    static const char* const kDesignMembers[] = {
        "needlePosition", "needleStartRamp", "needleEndRamp", "rankPosition",
        "rankStartRamp",  "rankEndRamp",     "startBalance",  "endBalance"};
    Table design({{"id", true},
                  {"needles", true},
                  {"n.start", true},
                  {"n.end", true},
                  {"ranks", true},
                  {"r.start", true},
                  {"r.end", true},
                  {"bal.start", true},
                  {"bal.end", true}});
    for (const Node& a : actuators) {
        main.AddRow({Field(a, "kind"), Field(a, "id"), Field(a, "feed"), Field(a, "feedId"),
                     Field(a, "state"), Field(a, "position"), Field(a, "speed")});
        std::vector<std::string> row{Field(a, "id")};
        bool any = false;
        for (const char* member : kDesignMembers) {
            row.push_back(Field(a, member));
            any = any || !row.back().empty();
        }
        if (any) {
            design.AddRow(std::move(row));
        }
    }
    main.Write(out, kIndent2);
    if (design.RowCount() > 0) {
        out << kIndent2 << "design stepping motors:\n";
        design.Write(out, kIndent2);
    }
}

void WriteLines(std::ostream& out, const Node& view) {
    const auto& lines = Items(view, "lines");
    Heading(out, "Lines", lines.size());
    for (const Node& line : lines) {
        out << kIndent1 << "Line " << Field(line, "id") << ", plane " << Field(line, "plane")
            << '\n';
        const std::string help = Field(line, "help");
        if (!help.empty()) {
            WriteFields(out, kIndent2, {{"Help", help}});
        }
        WriteActuators(out, Items(line, "actuators"));
    }
}

void WriteColors(std::ostream& out, const Node& view) {
    const auto& colors = Items(view, "colors");
    Heading(out, "Colors", colors.size());
    for (const Node& color : colors) {
        out << kIndent1 << "Color " << Field(color, "id") << ", plane " << Field(color, "plane")
            << '\n';
        Fields help;
        if (!Field(color, "helpAbstract").empty()) {
            help.emplace_back("Abstract", Field(color, "helpAbstract"));
        }
        if (!Field(color, "help").empty()) {
            help.emplace_back("Help", Field(color, "help"));
        }
        WriteFields(out, kIndent2, help);
        WriteActuators(out, Items(color, "actuators"));
    }
}

void WriteDesigns(std::ostream& out, const Node& view) {
    const auto& designs = Items(view, "designs");
    Heading(out, "Generated designs", designs.size());
    for (const Node& design : designs) {
        out << kIndent1 << "Design " << Printable(Field(design, "name")) << "  ("
            << Field(design, "first") << ", " << Field(design, "second") << ")\n";
        const auto& patterns = Items(design, "patterns");
        if (patterns.empty()) {
            out << kIndent2 << "no pattern objects\n";
            continue;
        }
        Table table({{"color", true}, {"association", true}, {"pattern"}, {"remap"}});
        for (const Node& p : patterns) {
            table.AddRow({Field(p, "color"), Field(p, "association"), Field(p, "patternName"),
                          Field(p, "remap")});
        }
        table.Write(out, kIndent2);
    }
}

void WriteShaved(std::ostream& out, const Node& view) {
    const auto& shaved = Items(view, "shavedDesigns");
    Heading(out, "Shaved designs", shaved.size());
    if (shaved.empty()) {
        return;
    }
    Table table({{"name"}, {"first", true}, {"second", true}, {"third", true}, {"elements"}});
    for (const Node& s : shaved) {
        table.AddRow({Field(s, "name"), Field(s, "first"), Field(s, "second"), Field(s, "third"),
                      Field(s, "elements")});
    }
    table.Write(out, kIndent1);
}

}  // namespace

void WriteShow(std::ostream& out, const Node& view) {
    std::string result;
    if (const Node* r = view.Find("result")) {
        result = Field(*r, "code") + " (" + Field(*r, "text") + ")";
    }
    WriteFields(out, "", {{"File", Field(view, "file")}, {"Load result", result}});
    WriteHeader(out, view);
    WritePlanes(out, view);
    WriteLines(out, view);
    WriteColors(out, view);
    WriteDesigns(out, view);
    WriteShaved(out, view);
}

}  // namespace knitcfg::cli
