#include "Diff.h"

#include <knitcfg/knitcfg.h>

#include <unordered_map>
#include <vector>

namespace knitcfg::cli {

std::string DiffText(const Value& value, Encoding encoding) {
    switch (value.type) {
        case Value::Type::Null: return "(none)";
        case Value::Type::Bool: return value.number != 0 ? "true" : "false";
        case Value::Type::Int: return std::to_string(value.number);
        case Value::Type::Text: {
            // Line breaks as the file writes them, so a value stays on its line.
            std::string text;
            text.reserve(value.text.size());
            for (std::size_t i = 0; i < value.text.size(); ++i) {
                if (value.text.compare(i, 2, "\r\n") == 0) {
                    text += "\\n";
                    ++i;
                } else {
                    text += value.text[i];
                }
            }
            return '"' + ForTerminal(text, encoding) + '"';
        }
        case Value::Type::Shorts:
        case Value::Type::Longs: {
            std::string out = "[";
            for (std::size_t i = 0; i < value.Count(); ++i) {
                out += (i == 0 ? "" : " ") + std::to_string(value.Item(i));
            }
            return out + "]";
        }
    }
    return {};
}

std::string ChangeLine(const std::string& path, const std::string& name, const Value& before,
                       const Value& after, Encoding encoding) {
    const std::string where = path.empty() ? name + ":" : path + ": " + name;
    return "~ " + where + " " + DiffText(before, encoding) + " -> " + DiffText(after, encoding);
}

namespace {

std::string Join(const std::string& path, const std::string& label) {
    // Plain words, the address that `get` and `set` take.
    return path.empty() ? label : path + " " + label;
}

class Differ {
public:
    Differ(std::ostream& out, Encoding encoding) : out_(out), encoding_(encoding) {}

    std::size_t Count() const { return count_; }

    void Objects(const std::string& path, ObjectRef a, ObjectRef b) {
        const Members ma = Collect(a);
        const Members mb = Collect(b);
        for (std::size_t i = 0; i < ma.count && i < mb.count; ++i) {
            const Member& x = ma.items[i];
            const Member& y = mb.items[i];
            switch (x.what) {
                case Member::What::List: Lists(path, x.list, y.list); break;
                case Member::What::Object: Objects(Join(path, x.name), x.object, y.object); break;
                case Member::What::Plain:
                    if (x.value != y.value) {
                        out_ << ChangeLine(path, x.name, x.value, y.value, encoding_) << '\n';
                        ++count_;
                    }
                    break;
            }
        }
    }

private:
    void Emit(char mark, const std::string& text) {
        out_ << mark << ' ' << text << '\n';
        ++count_;
    }

    // The key of an item: its key members' values, in a form that cannot
    // run two values together.
    static std::string Key(ObjectRef item, const ListRef& list) {
        std::string key;
        for (std::size_t k = 0; k < list.KeyCount(); ++k) {
            const Value v = KeyValue(item, k);
            if (v.type == Value::Type::Text) {
                key += 't';
                key += v.text;
            } else if (v.IsNull()) {
                key += 'n';
            } else {
                key += std::to_string(v.number);
            }
            key += '\x1f';
        }
        return key;
    }

    // "color 3", "line 2 plane 1", "design "\d\a.dis"", then " #2" for
    // the second item with the same key.
    std::string Label(ObjectRef item, const ListRef& list, std::size_t occurrence) const {
        std::string label = list.itemName;
        for (std::size_t k = 0; k < list.KeyCount(); ++k) {
            const std::string shown = DiffText(KeyValue(item, k), encoding_);
            label += k == 0 ? " " + shown : " " + std::string(list.keys[k]) + " " + shown;
        }
        if (occurrence > 0) {
            label += " #" + std::to_string(occurrence + 1);
        }
        return label;
    }

    // Every plain member with a value, then the size of each list of objects.
    std::string Summary(const Members& members) const {
        std::string out;
        for (const Member& m : members) {
            std::string part;
            if (m.what == Member::What::List) {
                part = std::string(m.name) + ": " + std::to_string(m.list.size);
            } else if (m.what == Member::What::Object || m.value.IsNull() ||
                       (m.value.type == Value::Type::Text && m.value.text.empty())) {
                continue;
            } else {
                part = std::string(m.name) + "=" + DiffText(m.value, encoding_);
            }
            out += (out.empty() ? "" : ", ") + part;
        }
        return out;
    }

    // A whole item added or removed, then the items of its own lists.
    void Whole(char mark, const std::string& path, ObjectRef item) {
        const Members members = Collect(item);
        Emit(mark, path + ": " + Summary(members));
        for (const Member& m : members) {
            if (m.what != Member::What::List) {
                continue;
            }
            std::unordered_map<std::string, std::size_t> seen;
            for (std::size_t i = 0; i < m.list.size; ++i) {
                const ObjectRef child = m.list.At(i);
                const std::size_t occurrence = seen[Key(child, m.list)]++;
                Whole(mark, Join(path, Label(child, m.list, occurrence)), child);
            }
        }
    }

    void Lists(const std::string& path, const ListRef& a, const ListRef& b) {
        // The n-th item of `b` with a key, by key: matched in one pass.
        std::unordered_map<std::string, std::vector<std::size_t>> afterByKey;
        afterByKey.reserve(b.size);
        for (std::size_t j = 0; j < b.size; ++j) {
            afterByKey[Key(b.At(j), b)].push_back(j);
        }
        std::vector<bool> matched(b.size, false);
        std::unordered_map<std::string, std::size_t> seen;
        for (std::size_t i = 0; i < a.size; ++i) {
            const ObjectRef item = a.At(i);
            const std::string key = Key(item, a);
            const std::size_t occurrence = seen[key]++;
            const std::string where = Join(path, Label(item, a, occurrence));
            const auto found = afterByKey.find(key);
            if (found == afterByKey.end() || occurrence >= found->second.size()) {
                Whole('-', where, item);
                continue;
            }
            const std::size_t j = found->second[occurrence];
            matched[j] = true;
            Objects(where, item, b.At(j));
        }
        seen.clear();
        for (std::size_t j = 0; j < b.size; ++j) {
            const ObjectRef item = b.At(j);
            const std::size_t occurrence = seen[Key(item, b)]++;
            if (!matched[j]) {
                Whole('+', Join(path, Label(item, b, occurrence)), item);
            }
        }
    }

    std::ostream& out_;
    Encoding encoding_;
    std::size_t count_ = 0;
};

}  // namespace

std::size_t WriteDiff(std::ostream& out, const Configuration& before, const Configuration& after,
                      Encoding encoding) {
    Differ differ(out, encoding);
    differ.Objects("", ModelRef(before), ModelRef(after));
    return differ.Count();
}

}  // namespace knitcfg::cli
