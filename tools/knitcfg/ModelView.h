#pragma once

// A neutral tree of a loaded configuration. The tool walks the model once,
// here, into plain values; `show`, `dump --json` and `diff` all read this
// tree, so the three always agree on what a configuration holds.

#include <string>
#include <string_view>
#include <vector>

namespace knitcfg {
class Configuration;
}

namespace knitcfg::cli {

struct Member;

// One value of the tree: nothing, a flag, a number, a text, a list or an
// object whose members keep the order in which they were added.
struct Node {
    enum class Type { Null, Bool, Int, Text, List, Object };

    Type type = Type::Null;
    bool flag = false;
    long long number = 0;
    std::string text;
    std::vector<Node> items;      // a list's items
    std::vector<Member> members;  // an object's members, in order

    // For a list of objects: what one item is called ("color") and the
    // members that identify an item within its list ("id"). Empty for a
    // list of plain values, which is compared and shown as a whole.
    std::string itemName;
    std::vector<std::string> keyMembers;

    static Node Null();
    static Node Bool(bool value);
    static Node Int(long long value);
    static Node Str(std::string value);
    // A list of objects identified by `keyMembers`, each called `itemName`.
    static Node Keyed(std::string itemName, std::vector<std::string> keyMembers);
    // A list of plain values.
    static Node Values();
    static Node Object();

    // Appends a member to an object and returns it.
    Node& Add(std::string name, Node value);

    // The value of an object's member; null when there is none.
    const Node* Find(std::string_view name) const;

    bool IsScalar() const { return type != Type::List && type != Type::Object; }
    bool IsKeyedList() const { return type == Type::List && !itemName.empty(); }
};

struct Member {
    std::string name;
    Node value;
};

// Deep equality of values (list metadata aside).
bool operator==(const Node& a, const Node& b);
inline bool operator!=(const Node& a, const Node& b) {
    return !(a == b);
}

// The model held by `config`, as an object with the members, in this order:
// "header", "protected", "planes" (when the tool is built with planes),
// "lines", "colors", "designs", "shavedDesigns". Every value that a getter
// reports as "no value" (-32768, 32768, -1 for the design ramps and
// balances, the empty text) is Null.
Node ModelView(const Configuration& config);

// What `show` and `dump` print of one file: "file", then "result" (an object
// with "code" and "text"), then the members of ModelView.
Node LoadedFileView(const std::string& path, int code, const Configuration& config);

// The planes with their blocks (ModelViewPlanes.cpp).
Node PlanesView(const Configuration& config);

}  // namespace knitcfg::cli
