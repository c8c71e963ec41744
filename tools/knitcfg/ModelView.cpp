#include "ModelView.h"

#include <knitcfg/knitcfg.h>

#include <cstring>
#include <memory>
#include <utility>

namespace knitcfg::cli {

Value Value::Bool(bool flag) {
    Value v;
    v.type = Type::Bool;
    v.number = flag ? 1 : 0;
    return v;
}

Value Value::Int(long long number) {
    Value v;
    v.type = Type::Int;
    v.number = number;
    return v;
}

Value Value::Text(std::string text) {
    Value v;
    v.type = Type::Text;
    v.text = std::move(text);
    return v;
}

Value Value::Short(short value) {
    return value == kNoValue ? Null() : Int(value);
}

Value Value::Ramp(short value) {
    return value == -1 ? Null() : Int(value);
}

Value Value::TextOrNull(std::string text) {
    return text.empty() ? Null() : Text(std::move(text));
}

std::size_t Value::Count() const {
    if (type == Type::Shorts) {
        return shorts->size();
    }
    return type == Type::Longs ? longs->size() : 0;
}

long long Value::Item(std::size_t i) const {
    return type == Type::Shorts ? (*shorts)[i] : static_cast<long long>((*longs)[i]);
}

bool operator==(const Value& a, const Value& b) {
    if (a.type != b.type) {
        return false;
    }
    switch (a.type) {
        case Value::Type::Null: return true;
        case Value::Type::Bool:
        case Value::Type::Int: return a.number == b.number;
        case Value::Type::Text: return a.text == b.text;
        case Value::Type::Shorts: return *a.shorts == *b.shorts;
        case Value::Type::Longs: return *a.longs == *b.longs;
    }
    return false;
}

const Member* Members::Find(const char* name) const {
    for (const Member& m : *this) {
        if (std::strcmp(m.name, name) == 0) {
            return &m;
        }
    }
    return nullptr;
}

namespace {

template <class T>
const T& As(const void* object) {
    return *static_cast<const T*>(object);
}

template <class T>
const T& ItemOf(const void* items, std::size_t i) {
    return *(*static_cast<const std::vector<std::unique_ptr<T>>*>(items))[i];
}

template <class T>
ListRef MakeList(const char* itemName, const char* key1, const char* key2, Kind itemKind,
                 const std::vector<std::unique_ptr<T>>& items) {
    ListRef list;
    list.itemName = itemName;
    list.keys[0] = key1;
    list.keys[1] = key2;
    list.itemKind = itemKind;
    list.items = &items;
    list.size = items.size();
    return list;
}

Value Shorts(const std::vector<short>& values) {
    Value v;
    v.type = Value::Type::Shorts;
    v.shorts = &values;
    return v;
}

Value Longs(const std::vector<std::uint32_t>& values) {
    Value v;
    v.type = Value::Type::Longs;
    v.longs = &values;
    return v;
}

class Builder {
public:
    explicit Builder(Members* members) : members_(members) {}

    void Plain(const char* name, Value value) {
        Member& m = Next(name, Member::What::Plain);
        m.value = std::move(value);
    }

    void Object(const char* name, ObjectRef object) {
        Next(name, Member::What::Object).object = object;
    }

    void List(const char* name, ListRef list) { Next(name, Member::What::List).list = list; }

private:
    Member& Next(const char* name, Member::What what) {
        Member& m = members_->items[members_->count++];
        m.name = name;
        m.what = what;
        return m;
    }

    Members* members_;
};

void CollectActuator(const Attuat& a, Builder& b) {
    // GetQuota's "no position" sentinel, one past the 16-bit range.
    constexpr int kNoQuota = 32768;
    b.Plain("kind", Value::Text(a.GetRuntimeClass()->className));
    b.Plain("id", Value::Short(a.Id));
    b.Plain("feed", Value::Short(a.Caduta));
    b.Plain("feedId", Value::Short(a.IdCaduta));
    b.Plain("state", Value::Short(a.GetStato()));
    const int quota = a.GetQuota();
    b.Plain("position", quota == kNoQuota ? Value::Null() : Value::Int(quota));
    b.Plain("speed", Value::TextOrNull(a.GetVelocita()));
    b.Plain("needlePosition", Value::TextOrNull(a.GetQuotaAghi()));
    b.Plain("needleStartRamp", Value::Ramp(a.GetRampaInizAghi()));
    b.Plain("needleEndRamp", Value::Ramp(a.GetRampaFinAghi()));
    b.Plain("rankPosition", Value::TextOrNull(a.GetQuotaRanghi()));
    b.Plain("rankStartRamp", Value::Ramp(a.GetRampaInizRanghi()));
    b.Plain("rankEndRamp", Value::Ramp(a.GetRampaFinRanghi()));
    b.Plain("startBalance", Value::Ramp(a.GetBilancIniz()));
    b.Plain("endBalance", Value::Ramp(a.GetBilancFin()));
}

void CollectHeader(const HeaderPrg& h, Builder& b) {
    b.Plain("machineType", Value::Text(h.MachineType));
    b.Plain("versionMajor", Value::Int(h.VersionMajor));
    b.Plain("versionMinor", Value::Int(h.VersionMinor));
    b.Plain("description", Value::Text(h.Description));
    b.Plain("numberOfLines", Value::Int(h.NumberOfLines));
    b.Plain("startBlock", Value::Int(h.StartBlock));
    b.Plain("lastDevelop", Value::Text(h.LastDevelop));
    b.Plain("lastDevelopFirst", Value::Int(h.LastDevelopFirst));
    b.Plain("lastDevelopSecond", Value::Int(h.LastDevelopSecond));
    b.Plain("sourceCfg", Value::Text(h.SourceCfg));
    b.Plain("sourceSdi", Value::Text(h.SourceSdi));
}

void CollectModel(const Configuration& c, Builder& b) {
    b.Object("header", ObjectRef{Kind::Header, &c.GetHeader()});
    b.Plain("protected", Value::Bool(c.GetProtection().Get() != 0));
    b.List("planes", MakeList("plane", "number", nullptr, Kind::Plane, c.Planes()));
    b.List("lines", MakeList("line", "id", "plane", Kind::Line, c.Lines()));
    b.List("colors", MakeList("color", "id", nullptr, Kind::Color, c.Colors()));
    b.List("designs", MakeList("design", "name", nullptr, Kind::Design, c.Designs()));
    b.List("shavedDesigns",
           MakeList("shaved design", "name", nullptr, Kind::Shaved, c.ShavedDesigns()));
}

}  // namespace

ObjectRef ListRef::At(std::size_t i) const {
    switch (itemKind) {
        case Kind::Plane: return {itemKind, &ItemOf<PlanePrg>(items, i)};
        case Kind::Block: return {itemKind, &ItemOf<BlockPlane>(items, i)};
        case Kind::Line: return {itemKind, &ItemOf<LinePrg>(items, i)};
        case Kind::Color: return {itemKind, &ItemOf<ColorPrg>(items, i)};
        case Kind::Actuator: return {itemKind, &ItemOf<Attuat>(items, i)};
        case Kind::Design: return {itemKind, &ItemOf<CGenDis>(items, i)};
        case Kind::Pattern: return {itemKind, &ItemOf<CPatObj>(items, i)};
        case Kind::Shaved: return {itemKind, &ItemOf<CShavedDis>(items, i)};
        case Kind::Model:
        case Kind::Header: break;
    }
    return {};
}

Members Collect(ObjectRef ref) {
    Members members;
    Builder b(&members);
    const void* o = ref.object;
    switch (ref.kind) {
        case Kind::Model: CollectModel(As<Configuration>(o), b); break;
        case Kind::Header: CollectHeader(As<HeaderPrg>(o), b); break;
        case Kind::Plane: {
            const PlanePrg& p = As<PlanePrg>(o);
            b.Plain("number", Value::Int(p.Number));
            b.Plain("numberOfLines", Value::Int(p.NumberOfLines));
            b.Plain("startBlock", Value::Int(p.StartBlock));
            b.Plain("description", Value::Text(p.Description));
            b.Plain("priority", Value::Int(p.Priority));
            b.List("blocks", MakeList("block", "number", nullptr, Kind::Block, p.Blocks));
            break;
        }
        case Kind::Block: {
            const BlockPlane& k = As<BlockPlane>(o);
            b.Plain("number", Value::Int(k.Number));
            b.Plain("parameter", Value::Int(k.Parameter));
            b.Plain("values", Shorts(k.Values));
            break;
        }
        case Kind::Line: {
            const LinePrg& l = As<LinePrg>(o);
            b.Plain("id", Value::Int(l.ID));
            b.Plain("plane", Value::Int(l.Plane));
            b.Plain("help", Value::Text(l.Help));
            b.List("actuators", MakeList("actuator", "id", nullptr, Kind::Actuator, l.Attuats));
            break;
        }
        case Kind::Color: {
            const ColorPrg& c = As<ColorPrg>(o);
            b.Plain("id", Value::Int(c.ID));
            b.Plain("plane", Value::Int(c.Plane));
            b.Plain("helpAbstract", Value::Text(c.HelpAbstract));
            b.Plain("help", Value::Text(c.Help));
            b.List("actuators", MakeList("actuator", "id", nullptr, Kind::Actuator, c.Attuats));
            break;
        }
        case Kind::Actuator: CollectActuator(As<Attuat>(o), b); break;
        case Kind::Design: {
            const CGenDis& d = As<CGenDis>(o);
            b.Plain("name", Value::Text(d.Name));
            b.Plain("first", Value::Int(d.First));
            b.Plain("second", Value::Int(d.Second));
            b.List("patterns",
                   MakeList("pattern for color", "color", nullptr, Kind::Pattern, d.Patterns));
            break;
        }
        case Kind::Pattern: {
            const CPatObj& p = As<CPatObj>(o);
            b.Plain("color", Value::Int(p.Color));
            b.Plain("patternName", Value::Text(p.PatternName));
            b.Plain("association", Value::Int(p.Association));
            b.Plain("remap", Shorts(p.Remap));
            break;
        }
        case Kind::Shaved: {
            const CShavedDis& s = As<CShavedDis>(o);
            b.Plain("name", Value::Text(s.Name));
            b.Plain("first", Value::Int(s.First));
            b.Plain("second", Value::Int(s.Second));
            b.Plain("third", Value::Int(s.Third));
            b.Plain("elements", Longs(s.Elements));
            break;
        }
    }
    return members;
}

Value KeyValue(ObjectRef item, std::size_t k) {
    const void* o = item.object;
    switch (item.kind) {
        case Kind::Plane: return Value::Int(As<PlanePrg>(o).Number);
        case Kind::Block: return Value::Int(As<BlockPlane>(o).Number);
        case Kind::Line: return Value::Int(k == 0 ? As<LinePrg>(o).ID : As<LinePrg>(o).Plane);
        case Kind::Color: return Value::Int(As<ColorPrg>(o).ID);
        case Kind::Actuator: return Value::Short(As<Attuat>(o).Id);
        case Kind::Design: return Value::Text(As<CGenDis>(o).Name);
        case Kind::Pattern: return Value::Int(As<CPatObj>(o).Color);
        case Kind::Shaved: return Value::Text(As<CShavedDis>(o).Name);
        case Kind::Model:
        case Kind::Header: break;
    }
    return Value::Null();
}

ObjectRef ModelRef(const Configuration& config) {
    return {Kind::Model, &config};
}

ObjectRef ActuatorRef(const Attuat& actuator) {
    return {Kind::Actuator, &actuator};
}

ObjectRef ColorRef(const ColorPrg& color) {
    return {Kind::Color, &color};
}

ObjectRef LineRef(const LinePrg& line) {
    return {Kind::Line, &line};
}

ObjectRef PlaneRef(const PlanePrg& plane) {
    return {Kind::Plane, &plane};
}

}  // namespace knitcfg::cli
