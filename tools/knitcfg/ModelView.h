#pragma once

// A compact view of a loaded configuration: what `show`, `dump --json`,
// `diff` and `map` print of each object, read from the model as they walk
// it. Nothing is copied ahead of the walk: the members of one object are
// gathered when it is printed or compared, and dropped after, so the tool
// needs little memory beyond the document itself, whatever the file's size.
// All commands read values through here, so they agree on what a
// configuration holds and on which values are absent.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace knitcfg {
class Attuat;
class ColorPrg;
class Configuration;
class LinePrg;
class PlanePrg;
}  // namespace knitcfg

namespace knitcfg::cli {

// One plain value: nothing (a value the object's kind does not have), a
// flag, a number, a text, or a list of numbers.
struct Value {
    enum class Type { Null, Bool, Int, Text, Shorts, Longs };

    Type type = Type::Null;
    long long number = 0;                               // Bool (0 or 1) and Int
    std::string text;                                   // Text
    const std::vector<short>* shorts = nullptr;         // Shorts
    const std::vector<std::uint32_t>* longs = nullptr;  // Longs

    static Value Null() { return Value{}; }
    static Value Bool(bool flag);
    static Value Int(long long number);
    static Value Text(std::string text);
    // A 16-bit field or getter; -32768 is "no value".
    static Value Short(short value);
    // A design ramp or balance getter; -1 is "none".
    static Value Ramp(short value);
    // A text getter; the empty text is "no value".
    static Value TextOrNull(std::string text);

    bool IsNull() const { return type == Type::Null; }
    // The number of items of a list (Shorts, Longs); 0 for the others.
    std::size_t Count() const;
    long long Item(std::size_t i) const;
};

// Equal type and equal content (lists item by item).
bool operator==(const Value& a, const Value& b);
inline bool operator!=(const Value& a, const Value& b) {
    return !(a == b);
}

// The kinds of object the tool walks.
enum class Kind { Model, Header, Plane, Block, Line, Color, Actuator, Design, Pattern, Shaved };

// One object of the model, borrowed: it lives as long as its document.
struct ObjectRef {
    Kind kind = Kind::Model;
    const void* object = nullptr;
};

// A list of objects of the model, borrowed like its items: what one item is
// called ("color") and the members that identify an item in its list
// (a color by "id", a line by "id" and "plane").
struct ListRef {
    const char* itemName = "";
    const char* keys[2] = {nullptr, nullptr};
    Kind itemKind = Kind::Model;
    const void* items = nullptr;  // the model's vector of unique_ptr
    std::size_t size = 0;

    std::size_t KeyCount() const { return keys[1] != nullptr ? 2 : 1; }
    ObjectRef At(std::size_t i) const;
};

// A member of an object: a plain value, an object, or a list of objects.
struct Member {
    enum class What { Plain, Object, List };

    const char* name = "";
    What what = What::Plain;
    Value value;
    ObjectRef object;
    ListRef list;
};

// The members of one object, in the order the tool prints them (the JSON
// names of `dump --json`).
struct Members {
    static constexpr std::size_t kMax = 16;
    Member items[kMax];
    std::size_t count = 0;

    const Member* begin() const { return items; }
    const Member* end() const { return items + count; }
    // The member called `name`; null when there is none.
    const Member* Find(const char* name) const;
};

// The members of `ref`, in the order the tool prints them (docs/tool.md
// lists them per kind of object). An actuator's values come from the
// virtual getters only: a value its kind does not have is Null.
Members Collect(ObjectRef ref);

// The value of key member `k` of the item (see ListRef::keys), read without
// collecting the other members.
Value KeyValue(ObjectRef item, std::size_t k);

// References to single objects, for printing one alone (WriteJson).
ObjectRef ModelRef(const Configuration& config);
ObjectRef ActuatorRef(const Attuat& actuator);
ObjectRef ColorRef(const ColorPrg& color);
ObjectRef LineRef(const LinePrg& line);
ObjectRef PlaneRef(const PlanePrg& plane);

}  // namespace knitcfg::cli
