#include "Diff.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "Json.h"

namespace knitcfg::cli {

namespace {

std::string Display(const Node& node) {
    switch (node.type) {
        case Node::Type::Null: return "(none)";
        case Node::Type::Bool: return node.flag ? "true" : "false";
        case Node::Type::Int: return std::to_string(node.number);
        case Node::Type::Text: return JsonString(node.text);
        case Node::Type::List: {
            std::string out = "[";
            for (std::size_t i = 0; i < node.items.size(); ++i) {
                out += (i == 0 ? "" : " ") + Display(node.items[i]);
            }
            return out + "]";
        }
        case Node::Type::Object: return "{...}";
    }
    return {};
}

std::string Join(const std::string& path, const std::string& label) {
    return path.empty() ? label : path + " / " + label;
}

class Differ {
public:
    explicit Differ(std::ostream& out) : out_(out) {}

    std::size_t Count() const { return count_; }

    void Objects(const std::string& path, const Node& a, const Node& b) {
        const Node null;
        for (const Member& m : a.members) {
            const Node* other = b.Find(m.name);
            Compare(path, m.name, m.value, other != nullptr ? *other : null);
        }
        // Members only `after` has (trees of two different builds).
        for (const Member& m : b.members) {
            if (a.Find(m.name) == nullptr) {
                Compare(path, m.name, null, m.value);
            }
        }
    }

private:
    void Emit(char mark, const std::string& text) {
        out_ << mark << ' ' << text << '\n';
        ++count_;
    }

    void Compare(const std::string& path, const std::string& name, const Node& a, const Node& b) {
        if (a.IsKeyedList() || b.IsKeyedList()) {
            Lists(path, a.IsKeyedList() ? a : b, a, b);
        } else if (a.type == Node::Type::Object && b.type == Node::Type::Object) {
            Objects(Join(path, name), a, b);
        } else if (a != b) {
            const std::string where = path.empty() ? name + ":" : path + ": " + name;
            Emit('~', where + " " + Display(a) + " -> " + Display(b));
        }
    }

    // The key of an item: its key members' values, in a form that cannot
    // run two values together.
    static std::string Key(const Node& item, const Node& list) {
        std::string key;
        for (const std::string& name : list.keyMembers) {
            const Node* value = item.Find(name);
            key += (value != nullptr ? Display(*value) : "(none)") + '\x1f';
        }
        return key;
    }

    // "color 3", "line 2 (plane 1)", "design \"\\d\\a\"", then " #2" for the
    // second item with the same key.
    static std::string Label(const Node& item, const Node& list, std::size_t occurrence) {
        std::string label = list.itemName;
        for (std::size_t k = 0; k < list.keyMembers.size(); ++k) {
            const Node* value = item.Find(list.keyMembers[k]);
            const std::string shown = value != nullptr ? Display(*value) : "(none)";
            label += k == 0 ? " " + shown : " (" + list.keyMembers[k] + " " + shown + ")";
        }
        if (occurrence > 0) {
            label += " #" + std::to_string(occurrence + 1);
        }
        return label;
    }

    // Every plain member with a value, then the size of each list of objects.
    static std::string Summary(const Node& item) {
        std::string out;
        for (const Member& m : item.members) {
            std::string part;
            if (m.value.IsKeyedList()) {
                part = m.name + ": " + std::to_string(m.value.items.size());
            } else if (m.value.type == Node::Type::Null ||
                       (m.value.type == Node::Type::Text && m.value.text.empty()) ||
                       m.value.type == Node::Type::Object) {
                continue;
            } else {
                part = m.name + "=" + Display(m.value);
            }
            out += (out.empty() ? "" : ", ") + part;
        }
        return out;
    }

    // A whole item added or removed, then the items of its own lists.
    void Whole(char mark, const std::string& path, const Node& item) {
        Emit(mark, path + ": " + Summary(item));
        for (const Member& m : item.members) {
            if (!m.value.IsKeyedList()) {
                continue;
            }
            std::unordered_map<std::string, std::size_t> seen;
            for (const Node& child : m.value.items) {
                const std::size_t occurrence = seen[Key(child, m.value)]++;
                Whole(mark, Join(path, Label(child, m.value, occurrence)), child);
            }
        }
    }

    void Lists(const std::string& path, const Node& shape, const Node& a, const Node& b) {
        // The n-th item of `after` with a key, by key: matched in one pass.
        std::unordered_map<std::string, std::vector<std::size_t>> afterByKey;
        for (std::size_t j = 0; j < b.items.size(); ++j) {
            afterByKey[Key(b.items[j], shape)].push_back(j);
        }
        std::vector<bool> matched(b.items.size(), false);
        std::unordered_map<std::string, std::size_t> seen;
        for (const Node& item : a.items) {
            const std::string key = Key(item, shape);
            const std::size_t occurrence = seen[key]++;
            const std::string where = Join(path, Label(item, shape, occurrence));
            const auto found = afterByKey.find(key);
            if (found == afterByKey.end() || occurrence >= found->second.size()) {
                Whole('-', where, item);
                continue;
            }
            const std::size_t j = found->second[occurrence];
            matched[j] = true;
            Objects(where, item, b.items[j]);
        }
        seen.clear();
        for (std::size_t j = 0; j < b.items.size(); ++j) {
            const std::size_t occurrence = seen[Key(b.items[j], shape)]++;
            if (!matched[j]) {
                Whole('+', Join(path, Label(b.items[j], shape, occurrence)), b.items[j]);
            }
        }
    }

    std::ostream& out_;
    std::size_t count_ = 0;
};

}  // namespace

std::size_t WriteDiff(std::ostream& out, const Node& before, const Node& after) {
    Differ differ(out);
    differ.Objects("", before, after);
    return differ.Count();
}

}  // namespace knitcfg::cli
