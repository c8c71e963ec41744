#include "GetSet.h"

#include <knitcfg/knitcfg.h>

#include <cstddef>
#include <utility>

#include "Address.h"
#include "Commands.h"
#include "Diff.h"
#include "Json.h"
#include "ModelView.h"
#include "Show.h"
#include "Table.h"

namespace knitcfg::cli {

namespace {

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
// (a line break as backslash + n), made safe for the terminal.
std::string PlainValue(const Value& value, Encoding encoding) {
    switch (value.type) {
        case Value::Type::Text: return ForTerminal(EscapeNewLines(value.text.c_str()), encoding);
        case Value::Type::Bool: return value.number != 0 ? "true" : "false";
        case Value::Type::Int: return std::to_string(value.number);
        default: return {};
    }
}

std::string JsonValue(const Value& value, JsonText form) {
    switch (value.type) {
        case Value::Type::Text: return JsonString(value.text, form);
        case Value::Type::Bool: return value.number != 0 ? "true" : "false";
        case Value::Type::Int: return std::to_string(value.number);
        default: return "null";
    }
}

// ------------------------------------------------------- printing objects

ObjectRef ObjectOf(const Configuration& config, const Address& address, const Resolved& at) {
    using T = Address::Target;
    switch (address.target) {
        case T::Header: return ObjectRef{Kind::Header, &config.GetHeader()};
        case T::Plane: return PlaneRef(*at.plane);
        case T::Color: return ColorRef(*at.color);
        case T::Line: return LineRef(*at.line);
        case T::ColorActuator:
        case T::LineActuator: return ActuatorRef(*at.actuator);
        case T::Protected: break;
    }
    return ObjectRef{};
}

std::string Cell(const Members& members, const char* name) {
    const Member* m = members.Find(name);
    return m != nullptr ? CellText(m->value) : std::string();
}

// One object as `show` prints it; the header and a plane as in its report.
void ShowObject(std::ostream& out, const Configuration& config, const Address& address,
                const Resolved& at, Encoding encoding) {
    using T = Address::Target;
    const std::string indent = "  ";
    switch (address.target) {
        case T::Header: {
            const Members h = Collect(ObjectOf(config, address, at));
            std::string lastDevelop = Cell(h, "lastDevelop");
            if (!lastDevelop.empty()) {
                lastDevelop +=
                    ", " + Cell(h, "lastDevelopFirst") + ", " + Cell(h, "lastDevelopSecond");
            }
            out << "Header\n";
            WriteFields(out, indent,
                        {{"Machine type", Cell(h, "machineType")},
                         {"Version", Cell(h, "versionMajor") + "." + Cell(h, "versionMinor")},
                         {"Description", Cell(h, "description")},
                         {"Lines", Cell(h, "numberOfLines")},
                         {"Start block", Cell(h, "startBlock")},
                         {"Last develop", lastDevelop},
                         {"Source cfg", Cell(h, "sourceCfg")},
                         {"Source sdi", Cell(h, "sourceSdi")}},
                        encoding);
            return;
        }
        case T::Plane: {
            const PlanePrg& plane = *at.plane;
            out << "Plane " << plane.Number << '\n';
            WriteFields(out, indent,
                        {{"Description", plane.Description},
                         {"Lines", std::to_string(plane.NumberOfLines)},
                         {"Start block", std::to_string(plane.StartBlock)},
                         {"Priority", std::to_string(plane.Priority)}},
                        encoding);
            if (plane.Blocks.empty()) {
                out << indent << "no blocks\n";
                return;
            }
            Table table({{"block", true}, {"parameter", true}, {"values"}}, encoding);
            for (const auto& block : plane.Blocks) {
                const Members m = Collect(ObjectRef{Kind::Block, block.get()});
                table.AddRow({Cell(m, "number"), Cell(m, "parameter"), Cell(m, "values")});
            }
            table.Write(out, indent);
            return;
        }
        case T::Color: ShowColor(out, *at.color, encoding); return;
        case T::Line: ShowLine(out, *at.line, encoding); return;
        case T::ColorActuator:
        case T::LineActuator: ShowActuator(out, *at.actuator, encoding); return;
        case T::Protected: return;
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
        err << "knitcfg " << command << ": " << path << ": " << DescribeFailure(*code, *config) << '\n';
        return false;
    }
    return true;
}

}  // namespace

int RunGet(const std::vector<std::string>& args, const GetOptions& options, std::ostream& out,
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
        const bool whole =
            addresses[i].field.empty() && addresses[i].target != Address::Target::Protected;
        if (whole && options.json) {
            WriteJson(out, ObjectOf(config, addresses[i], found[i]), options.jsonText);
        } else if (whole) {
            ShowObject(out, config, addresses[i], found[i], options.encoding);
        } else if (options.json) {
            out << JsonValue(values[i], options.jsonText) << '\n';
        } else {
            out << PlainValue(values[i], options.encoding) << '\n';
        }
    }
    return code == RE_SUCCESS ? kExitOk : kExitNo;
}

int RunSet(const std::vector<std::string>& args, bool force, std::ostream& out, std::ostream& err) {
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
        if (change.address.field.empty() && change.address.target != Address::Target::Protected) {
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
        std::string error;
        if (!Resolve(config, change.address, &at, &error)) {
            err << "knitcfg set: " << path << ": " << error << "; nothing changed\n";
            return kExitError;
        }
        // The fields `diff` compares for this one: the version is two, and
        // a last-develop name without which its numbers read back as 0.
        std::vector<Address> shown{change.address};
        if (change.address.target == Address::Target::Header &&
            (change.address.field == "version" || change.address.field == "lastDevelop")) {
            const bool version = change.address.field == "version";
            shown.clear();
            for (const char* field :
                 version ? std::vector<const char*>{"versionMajor", "versionMinor"}
                         : std::vector<const char*>{"lastDevelop", "lastDevelopFirst",
                                                    "lastDevelopSecond"}) {
                shown.push_back(change.address);
                shown.back().field = field;
            }
        }
        std::vector<Value> before(shown.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (!GetField(config, shown[i], at, &before[i], &error)) {
                err << "knitcfg set: " << path << ": " << error << "; nothing changed\n";
                return kExitError;
            }
        }
        if (!SetField(config, change.address, at, change.text, &error)) {
            err << "knitcfg set: " << path << ": " << error << "; nothing changed\n";
            return kExitError;
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            Value after;
            GetField(config, shown[i], at, &after, &error);
            if (before[i] != after) {
                // The line `diff` prints for the change: its path is the address.
                const bool flag = shown[i].target == Address::Target::Protected;
                lines.push_back(ChangeLine(flag ? "" : ObjectWords(shown[i], at),
                                           flag ? "protected" : shown[i].field, before[i], after));
            }
        }
    }
    if (lines.empty()) {
        return kExitOk;
    }
    const int saved = SavePreserving(config, path);
    if (saved != RE_SUCCESS) {
        err << "knitcfg set: " << DescribeFailure(saved, config) << '\n';
        return kExitError;
    }
    for (const std::string& line : lines) {
        out << line << '\n';
    }
    return kExitOk;
}

}  // namespace knitcfg::cli
