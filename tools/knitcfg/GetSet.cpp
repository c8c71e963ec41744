#include "GetSet.h"

#include <knitcfg/knitcfg.h>

#include <cstddef>
#include <utility>

#include "Address.h"
#include "Commands.h"
#include "Json.h"
#include "ModelView.h"
#include "Show.h"
#include "Table.h"

namespace knitcfg::cli {

namespace {

std::string Describe(int code) {
    return std::to_string(code) + " (" + RetErrorText(code) + ")";
}

// The words after FILE, split at each "--".
std::vector<std::vector<std::string>> Groups(const std::vector<std::string>& args) {
    std::vector<std::vector<std::string>> groups(1);
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--") {
            groups.emplace_back();
        } else {
            groups.back().push_back(args[i]);
        }
    }
    return groups;
}

// A value on a line of its own, for scripts: a text as the file writes it
// (a line break as backslash + n), control characters made harmless.
std::string PlainValue(const Value& value) {
    switch (value.type) {
        case Value::Type::Null: return {};
        case Value::Type::Bool: return value.number != 0 ? "true" : "false";
        case Value::Type::Int: return std::to_string(value.number);
        case Value::Type::Text: return Printable(EscapeNewLines(value.text.c_str()));
    }
    return {};
}

std::string JsonValue(const Value& value) {
    switch (value.type) {
        case Value::Type::Null: return "null";
        case Value::Type::Bool: return value.number != 0 ? "true" : "false";
        case Value::Type::Int: return std::to_string(value.number);
        case Value::Type::Text: return JsonString(value.text);
    }
    return {};
}

bool operator==(const Value& a, const Value& b) {
    return a.type == b.type && a.number == b.number && a.text == b.text;
}

// A value as `diff` writes it.
std::string DiffValue(const Value& value) {
    return value.type == Value::Type::Null ? "(none)" : JsonValue(value);
}

// The change of one field as `diff` prints it.
std::string DiffLine(const Address& address, const Resolved& at, const Value& before,
                     const Value& after) {
    const std::string where = address.target == Address::Target::Protected
                                  ? "protected:"
                                  : ObjectWords(address, at) + ": " + address.field;
    return "~ " + where + " " + DiffValue(before) + " -> " + DiffValue(after);
}

// ------------------------------------------------------- printing objects
//
// One object as `show` and `dump --json` print it, cut from the tree those
// commands print.

template <class T>
std::size_t IndexOf(const std::vector<std::unique_ptr<T>>& list, const T* item) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == item) {
            return i;
        }
    }
    return list.size();
}

// The node of the object `at` names in the tree of `config`.
Node ObjectNode(const Configuration& config, const Address& address, const Resolved& at) {
    Node view = ModelView(config);
    auto item = [&view](const char* list, std::size_t index) -> Node {
        const Node* l = view.Find(list);
        return l != nullptr && index < l->items.size() ? l->items[index] : Node{};
    };
    auto actuator = [](const Node& owner, std::size_t index) -> Node {
        const Node* l = owner.Find("actuators");
        return l != nullptr && index < l->items.size() ? l->items[index] : Node{};
    };
    using T = Address::Target;
    switch (address.target) {
        case T::Header: return *view.Find("header");
        case T::Protected: return *view.Find("protected");
        case T::Plane: return item("planes", IndexOf(config.Planes(), at.plane));
        case T::Color: return item("colors", IndexOf(config.Colors(), at.color));
        case T::Line: return item("lines", IndexOf(config.Lines(), at.line));
        case T::ColorActuator:
            return actuator(item("colors", IndexOf(config.Colors(), at.color)),
                            IndexOf(at.color->Attuats, at.actuator));
        case T::LineActuator:
            return actuator(item("lines", IndexOf(config.Lines(), at.line)),
                            IndexOf(at.line->Attuats, at.actuator));
    }
    return {};
}

std::string Cell(const Node& object, const char* name) {
    return CellText(object.Find(name));
}

void WriteActuatorTable(std::ostream& out, const std::vector<Node>& actuators,
                        const std::string& indent) {
    if (actuators.empty()) {
        out << indent << "no actuators\n";
        return;
    }
    static const char* const kMain[] = {"kind", "id", "feed", "feedId", "state", "position",
                                        "speed"};
    static const char* const kDesign[] = {"id",           "needlePosition", "needleStartRamp",
                                          "needleEndRamp", "rankPosition",  "rankStartRamp",
                                          "rankEndRamp",  "startBalance",   "endBalance"};
    Table main({{"kind"},
                {"id", true},
                {"feed", true},
                {"feed id", true},
                {"state", true, true},
                {"position", true, true},
                {"speed", true, true}});
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
        std::vector<std::string> row;
        for (const char* name : kMain) {
            row.push_back(Cell(a, name));
        }
        main.AddRow(std::move(row));
        std::vector<std::string> designRow;
        bool any = false;
        for (const char* name : kDesign) {
            designRow.push_back(Cell(a, name));
            any = any || (name != kDesign[0] && !designRow.back().empty());
        }
        if (any) {
            design.AddRow(std::move(designRow));
        }
    }
    main.Write(out, indent);
    if (design.RowCount() > 0) {
        out << indent << "design stepping motors:\n";
        design.Write(out, indent);
    }
}

void WriteObjectShow(std::ostream& out, const Address& address, const Node& node) {
    using T = Address::Target;
    const std::string indent = "  ";
    std::vector<std::pair<std::string, std::string>> fields;
    switch (address.target) {
        case T::Header: {
            std::string lastDevelop = Cell(node, "lastDevelop");
            if (!lastDevelop.empty()) {
                lastDevelop += ", " + Cell(node, "lastDevelopFirst") + ", " +
                               Cell(node, "lastDevelopSecond");
            }
            out << "Header\n";
            WriteFields(out, indent,
                        {{"Machine type", Cell(node, "machineType")},
                         {"Version", Cell(node, "versionMajor") + "." + Cell(node, "versionMinor")},
                         {"Description", Cell(node, "description")},
                         {"Lines", Cell(node, "numberOfLines")},
                         {"Start block", Cell(node, "startBlock")},
                         {"Last develop", lastDevelop},
                         {"Source cfg", Cell(node, "sourceCfg")},
                         {"Source sdi", Cell(node, "sourceSdi")}});
            return;
        }
        case T::Protected: out << CellText(&node) << '\n'; return;
        case T::Plane:
            out << "Plane " << Cell(node, "number") << '\n';
            WriteFields(out, indent,
                        {{"Description", Cell(node, "description")},
                         {"Lines", Cell(node, "numberOfLines")},
                         {"Start block", Cell(node, "startBlock")},
                         {"Priority", Cell(node, "priority")}});
            if (const Node* blocks = node.Find("blocks"); blocks == nullptr || blocks->items.empty()) {
                out << indent << "no blocks\n";
            } else {
                Table table({{"block", true}, {"parameter", true}, {"values"}});
                for (const Node& b : blocks->items) {
                    table.AddRow({Cell(b, "number"), Cell(b, "parameter"), Cell(b, "values")});
                }
                table.Write(out, indent);
            }
            return;
        case T::Color:
        case T::Line:
            out << (address.target == T::Color ? "Color " : "Line ") << Cell(node, "id")
                << ", plane " << Cell(node, "plane") << '\n';
            for (const auto& [name, label] : {std::pair<const char*, const char*>{"helpAbstract", "Abstract"},
                                              {"help", "Help"}}) {
                if (!Cell(node, name).empty()) {
                    fields.emplace_back(label, Cell(node, name));
                }
            }
            WriteFields(out, indent, fields);
            if (const Node* list = node.Find("actuators")) {
                WriteActuatorTable(out, list->items, indent);
            }
            return;
        case T::ColorActuator:
        case T::LineActuator: WriteActuatorTable(out, {node}, ""); return;
    }
}

void PrintObject(std::ostream& out, const Configuration& config, const Address& address,
                 const Resolved& at, bool json) {
    const Node node = ObjectNode(config, address, at);
    if (json) {
        WriteJson(out, node);
    } else {
        WriteObjectShow(out, address, node);
    }
}

// ----------------------------------------------------------------- saving

RETERROR SavePreserving(Configuration& config, const std::string& path) {
    return config.SaveCFG(path.c_str(), SaveMode::Preserve);
}

// Loads `path` for `command`; false, with the exit status in `status`, when
// it cannot be read.
bool LoadFile(const char* command, const std::string& path, Configuration* config, int* code,
              std::ostream& err) {
    *code = config->LoadCFG(path.c_str());
    if (*code == RE_FILE_UNREADABLE) {
        err << "knitcfg " << command << ": " << path << ": " << Describe(*code) << '\n';
        return false;
    }
    return true;
}

}  // namespace

int RunGet(const std::vector<std::string>& args, bool json, std::ostream& out,
           std::ostream& err) {
    const std::string& path = args[0];
    std::vector<Address> addresses;
    for (const auto& words : Groups(args)) {
        Address address;
        std::string error;
        if (!ParseAddress(words, &address, &error)) {
            err << "knitcfg get: " << error << " (see knitcfg get --help)\n";
            return kExitError;
        }
        addresses.push_back(address);
    }
    Configuration config;
    int code = 0;
    if (!LoadFile("get", path, &config, &code, err)) {
        return kExitError;
    }
    if (code != RE_SUCCESS) {
        err << "knitcfg get: warning: " << path << " loads with " << Describe(code)
            << ": showing what could be read\n";
    }
    std::vector<Resolved> found(addresses.size());
    std::vector<Value> values(addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        std::string error;
        const bool whole =
            addresses[i].field.empty() && addresses[i].target != Address::Target::Protected;
        if (!Resolve(config, addresses[i], &found[i], &error) ||
            (!whole && !GetField(config, addresses[i], found[i], &values[i], &error))) {
            err << "knitcfg get: " << path << ": " << error << '\n';
            return kExitError;
        }
    }
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (addresses[i].field.empty() && addresses[i].target != Address::Target::Protected) {
            PrintObject(out, config, addresses[i], found[i], json);
        } else {
            out << (json ? JsonValue(values[i]) : PlainValue(values[i])) << '\n';
        }
    }
    return code == RE_SUCCESS ? kExitOk : kExitNo;
}

int RunSet(const std::vector<std::string>& args, bool force, std::ostream& out,
           std::ostream& err) {
    const std::string& path = args[0];
    struct Change {
        Address address;
        std::string text;
    };
    std::vector<Change> changes;
    for (auto& words : Groups(args)) {
        if (words.size() < 2) {
            err << "knitcfg set: each change is an address and a value (see knitcfg set "
                   "--help)\n";
            return kExitError;
        }
        Change change;
        change.text = words.back();
        words.pop_back();
        std::string error;
        if (!ParseAddress(words, &change.address, &error)) {
            err << "knitcfg set: " << error << " (see knitcfg set --help)\n";
            return kExitError;
        }
        if (change.address.field.empty() &&
            change.address.target != Address::Target::Protected) {
            err << "knitcfg set: '" << change.text
                << "' is no field name: the value comes after the field (see knitcfg set "
                   "--help)\n";
            return kExitError;
        }
        changes.push_back(std::move(change));
    }
    Configuration config;
    int code = 0;
    if (!LoadFile("set", path, &config, &code, err)) {
        return kExitError;
    }
    if (code != RE_SUCCESS && !force) {
        err << "knitcfg set: " << path << " loads with " << Describe(code)
            << ": not changed, as what could not be read would be lost (--force changes it)\n";
        return kExitError;
    }
    std::vector<std::string> lines;
    for (const Change& change : changes) {
        Resolved at;
        Value before;
        Value after;
        std::string error;
        if (!Resolve(config, change.address, &at, &error) ||
            !GetField(config, change.address, at, &before, &error) ||
            !SetField(config, change.address, at, change.text, &error)) {
            err << "knitcfg set: " << path << ": " << error << "; nothing changed\n";
            return kExitError;
        }
        GetField(config, change.address, at, &after, &error);
        if (!(before == after)) {
            lines.push_back(DiffLine(change.address, at, before, after));
        }
    }
    if (lines.empty()) {
        return kExitOk;
    }
    const int saved = SavePreserving(config, path);
    if (saved != RE_SUCCESS) {
        err << "knitcfg set: saving " << path << ": " << Describe(saved) << '\n';
        return kExitError;
    }
    for (const std::string& line : lines) {
        out << line << '\n';
    }
    return kExitOk;
}

}  // namespace knitcfg::cli
