#include "ModelView.h"

#include <knitcfg/knitcfg.h>

#include <utility>

namespace knitcfg::cli {

Node Node::Null() {
    return Node{};
}

Node Node::Bool(bool value) {
    Node n;
    n.type = Type::Bool;
    n.flag = value;
    return n;
}

Node Node::Int(long long value) {
    Node n;
    n.type = Type::Int;
    n.number = value;
    return n;
}

Node Node::Str(std::string value) {
    Node n;
    n.type = Type::Text;
    n.text = std::move(value);
    return n;
}

Node Node::Keyed(std::string name, std::vector<std::string> keys) {
    Node n;
    n.type = Type::List;
    n.itemName = std::move(name);
    n.keyMembers = std::move(keys);
    return n;
}

Node Node::Values() {
    Node n;
    n.type = Type::List;
    return n;
}

Node Node::Object() {
    Node n;
    n.type = Type::Object;
    return n;
}

Node& Node::Add(std::string name, Node value) {
    members.push_back(Member{std::move(name), std::move(value)});
    return members.back().value;
}

const Node* Node::Find(std::string_view name) const {
    for (const Member& m : members) {
        if (m.name == name) {
            return &m.value;
        }
    }
    return nullptr;
}

bool operator==(const Node& a, const Node& b) {
    if (a.type != b.type) {
        return false;
    }
    switch (a.type) {
        case Node::Type::Null: return true;
        case Node::Type::Bool: return a.flag == b.flag;
        case Node::Type::Int: return a.number == b.number;
        case Node::Type::Text: return a.text == b.text;
        case Node::Type::List: return a.items == b.items;
        case Node::Type::Object:
            if (a.members.size() != b.members.size()) {
                return false;
            }
            for (std::size_t i = 0; i < a.members.size(); ++i) {
                if (a.members[i].name != b.members[i].name ||
                    a.members[i].value != b.members[i].value) {
                    return false;
                }
            }
            return true;
    }
    return false;
}

namespace {

// A 16-bit field or getter result; -32768 means "no value".
Node Short(short value) {
    return value == kNoValue ? Node::Null() : Node::Int(value);
}

// A design ramp or balance; the getters report "none" as -1.
Node Ramp(short value) {
    return value == -1 ? Node::Null() : Node::Int(value);
}

// A text getter result; the empty text means "no value".
Node TextOrNull(std::string value) {
    return value.empty() ? Node::Null() : Node::Str(std::move(value));
}

// One actuator, of any kind, through the virtual getters only: a kind
// without a value answers its getter with "no value", which becomes Null.
Node ActuatorView(const Attuat& actuator) {
    // GetQuota's "no position" sentinel, one past the 16-bit range.
    constexpr int kNoQuota = 32768;
    Node n = Node::Object();
    n.Add("kind", Node::Str(actuator.GetRuntimeClass()->className));
    n.Add("id", Short(actuator.Id));
    n.Add("feed", Short(actuator.Caduta));
    n.Add("feedId", Short(actuator.IdCaduta));
    n.Add("state", Short(actuator.GetStato()));
    const int quota = actuator.GetQuota();
    n.Add("position", quota == kNoQuota ? Node::Null() : Node::Int(quota));
    n.Add("speed", TextOrNull(actuator.GetVelocita()));
    n.Add("needlePosition", TextOrNull(actuator.GetQuotaAghi()));
    n.Add("needleStartRamp", Ramp(actuator.GetRampaInizAghi()));
    n.Add("needleEndRamp", Ramp(actuator.GetRampaFinAghi()));
    n.Add("rankPosition", TextOrNull(actuator.GetQuotaRanghi()));
    n.Add("rankStartRamp", Ramp(actuator.GetRampaInizRanghi()));
    n.Add("rankEndRamp", Ramp(actuator.GetRampaFinRanghi()));
    n.Add("startBalance", Ramp(actuator.GetBilancIniz()));
    n.Add("endBalance", Ramp(actuator.GetBilancFin()));
    return n;
}

Node ActuatorsView(const std::vector<std::unique_ptr<Attuat>>& actuators) {
    Node list = Node::Keyed("actuator", {"id"});
    list.items.reserve(actuators.size());
    for (const auto& actuator : actuators) {
        list.items.push_back(ActuatorView(*actuator));
    }
    return list;
}

Node HeaderView(const HeaderPrg& header) {
    Node n = Node::Object();
    n.Add("machineType", Node::Str(header.MachineType));
    n.Add("versionMajor", Node::Int(header.VersionMajor));
    n.Add("versionMinor", Node::Int(header.VersionMinor));
    n.Add("description", Node::Str(header.Description));
    n.Add("numberOfLines", Node::Int(header.NumberOfLines));
    n.Add("startBlock", Node::Int(header.StartBlock));
    n.Add("lastDevelop", Node::Str(header.LastDevelop));
    n.Add("lastDevelopFirst", Node::Int(header.LastDevelopFirst));
    n.Add("lastDevelopSecond", Node::Int(header.LastDevelopSecond));
    n.Add("sourceCfg", Node::Str(header.SourceCfg));
    n.Add("sourceSdi", Node::Str(header.SourceSdi));
    return n;
}

Node LinesView(const Configuration& config) {
    Node list = Node::Keyed("line", {"id", "plane"});
    list.items.reserve(config.Lines().size());
    for (const auto& line : config.Lines()) {
        Node n = Node::Object();
        n.Add("id", Node::Int(line->ID));
        n.Add("plane", Node::Int(line->Plane));
        n.Add("help", Node::Str(line->Help));
        n.Add("actuators", ActuatorsView(line->Attuats));
        list.items.push_back(std::move(n));
    }
    return list;
}

Node ColorsView(const Configuration& config) {
    Node list = Node::Keyed("color", {"id"});
    list.items.reserve(config.Colors().size());
    for (const auto& color : config.Colors()) {
        Node n = Node::Object();
        n.Add("id", Node::Int(color->ID));
        n.Add("plane", Node::Int(color->Plane));
        n.Add("helpAbstract", Node::Str(color->HelpAbstract));
        n.Add("help", Node::Str(color->Help));
        n.Add("actuators", ActuatorsView(color->Attuats));
        list.items.push_back(std::move(n));
    }
    return list;
}

Node DesignsView(const Configuration& config) {
    Node list = Node::Keyed("design", {"name"});
    list.items.reserve(config.Designs().size());
    for (const auto& design : config.Designs()) {
        Node n = Node::Object();
        n.Add("name", Node::Str(design->Name));
        n.Add("first", Node::Int(design->First));
        n.Add("second", Node::Int(design->Second));
        Node& patterns = n.Add("patterns", Node::Keyed("pattern for color", {"color"}));
        patterns.items.reserve(design->Patterns.size());
        for (const auto& pattern : design->Patterns) {
            Node p = Node::Object();
            p.Add("color", Node::Int(pattern->Color));
            p.Add("patternName", Node::Str(pattern->PatternName));
            p.Add("association", Node::Int(pattern->Association));
            Node& remap = p.Add("remap", Node::Values());
            remap.items.reserve(pattern->Remap.size());
            for (short value : pattern->Remap) {
                remap.items.push_back(Node::Int(value));
            }
            patterns.items.push_back(std::move(p));
        }
        list.items.push_back(std::move(n));
    }
    return list;
}

Node ShavedView(const Configuration& config) {
    Node list = Node::Keyed("shaved design", {"name"});
    list.items.reserve(config.ShavedDesigns().size());
    for (const auto& shaved : config.ShavedDesigns()) {
        Node n = Node::Object();
        n.Add("name", Node::Str(shaved->Name));
        n.Add("first", Node::Int(shaved->First));
        n.Add("second", Node::Int(shaved->Second));
        n.Add("third", Node::Int(shaved->Third));
        Node& elements = n.Add("elements", Node::Values());
        elements.items.reserve(shaved->Elements.size());
        for (std::uint32_t value : shaved->Elements) {
            elements.items.push_back(Node::Int(value));
        }
        list.items.push_back(std::move(n));
    }
    return list;
}

}  // namespace

Node ModelView(const Configuration& config) {
    Node view = Node::Object();
    view.Add("header", HeaderView(config.GetHeader()));
    view.Add("protected", Node::Bool(config.GetProtection().Get() != 0));
    view.Add("planes", PlanesView(config));
    view.Add("lines", LinesView(config));
    view.Add("colors", ColorsView(config));
    view.Add("designs", DesignsView(config));
    view.Add("shavedDesigns", ShavedView(config));
    return view;
}

Node LoadedFileView(const std::string& path, int code, const Configuration& config) {
    Node view = Node::Object();
    view.Add("file", Node::Str(path));
    Node& result = view.Add("result", Node::Object());
    result.Add("code", Node::Int(code));
    result.Add("text", Node::Str(RetErrorText(code)));
    for (Member& m : ModelView(config).members) {
        view.members.push_back(std::move(m));
    }
    return view;
}

}  // namespace knitcfg::cli
