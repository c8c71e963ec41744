#include "Json.h"

namespace knitcfg::cli {

std::string JsonString(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (byte) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20 || byte >= 0x7f) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0xf];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

namespace {

void WriteValue(std::ostream& out, const Node& node, int depth);

void Indent(std::ostream& out, int depth) {
    for (int i = 0; i < depth; ++i) {
        out << "  ";
    }
}

void WriteScalar(std::ostream& out, const Node& node) {
    switch (node.type) {
        case Node::Type::Null: out << "null"; break;
        case Node::Type::Bool: out << (node.flag ? "true" : "false"); break;
        case Node::Type::Int: out << node.number; break;
        case Node::Type::Text: out << JsonString(node.text); break;
        case Node::Type::List:
        case Node::Type::Object: break;
    }
}

bool AllScalar(const Node& list) {
    for (const Node& item : list.items) {
        if (!item.IsScalar()) {
            return false;
        }
    }
    return true;
}

void WriteValue(std::ostream& out, const Node& node, int depth) {
    if (node.IsScalar()) {
        WriteScalar(out, node);
        return;
    }
    if (node.type == Node::Type::List) {
        if (node.items.empty()) {
            out << "[]";
            return;
        }
        if (AllScalar(node)) {
            out << '[';
            for (std::size_t i = 0; i < node.items.size(); ++i) {
                out << (i == 0 ? "" : ", ");
                WriteScalar(out, node.items[i]);
            }
            out << ']';
            return;
        }
        out << "[\n";
        for (std::size_t i = 0; i < node.items.size(); ++i) {
            Indent(out, depth + 1);
            WriteValue(out, node.items[i], depth + 1);
            out << (i + 1 < node.items.size() ? ",\n" : "\n");
        }
        Indent(out, depth);
        out << ']';
        return;
    }
    if (node.members.empty()) {
        out << "{}";
        return;
    }
    out << "{\n";
    for (std::size_t i = 0; i < node.members.size(); ++i) {
        Indent(out, depth + 1);
        out << JsonString(node.members[i].name) << ": ";
        WriteValue(out, node.members[i].value, depth + 1);
        out << (i + 1 < node.members.size() ? ",\n" : "\n");
    }
    Indent(out, depth);
    out << '}';
}

}  // namespace

void WriteJson(std::ostream& out, const Node& node) {
    WriteValue(out, node, 0);
    out << '\n';
}

}  // namespace knitcfg::cli
