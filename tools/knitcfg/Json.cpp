#include "Json.h"

#include <knitcfg/knitcfg.h>

#include <charconv>

#include "Table.h"

namespace knitcfg::cli {

namespace {

bool Plain(unsigned char byte, JsonText form) {
    return (byte >= 0x20 && byte < 0x7f && byte != '"' && byte != '\\') ||
           (byte >= 0xa0 && form == JsonText::Latin1);
}

void AppendString(std::string& out, std::string_view text, JsonText form) {
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t run = 0;  // start of the bytes not yet appended that need no escape
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (Plain(byte, form)) {
            continue;
        }
        out.append(text.data() + run, i - run);
        run = i + 1;
        switch (byte) {
            case '"': out += "\\\""; continue;
            case '\\': out += "\\\\"; continue;
            case '\b': out += "\\b"; continue;
            case '\f': out += "\\f"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
        }
        const unsigned code = byte >= 0x80 && form == JsonText::Utf8 ? CodePoint1252(byte) : 0;
        if (code >= 0x800) {
            out += static_cast<char>(0xe0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else if (code >= 0xa0) {
            out += static_cast<char>(0xc0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        }
    }
    out.append(text.data() + run, text.size() - run);
    out += '"';
}

// Writes into a buffer handed to the stream in large pieces: the JSON of a
// big file is many times its size, in short pieces.
class Writer {
public:
    Writer(std::ostream& out, JsonText form) : out_(out), form_(form) {
        buffer_.reserve(kFlushAt + 4096);
    }
    ~Writer() { Flush(); }

    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Raw(std::string_view text) {
        buffer_ += text;
        if (buffer_.size() >= kFlushAt) {
            Flush();
        }
    }

    void Number(long long n) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
        buffer_.append(digits, static_cast<std::size_t>(end - digits));
    }

    void String(std::string_view text) { AppendString(buffer_, text, form_); }

    void Indent(int depth) { buffer_.append(static_cast<std::size_t>(depth) * 2, ' '); }

    // A member's name: one of the model's own, which need no escape.
    void Name(const char* name) {
        buffer_ += '"';
        buffer_ += name;
        buffer_ += "\": ";
    }

    void Scalar(const Value& v) {
        switch (v.type) {
            case Value::Type::Null: Raw("null"); break;
            case Value::Type::Bool: Raw(v.number != 0 ? "true" : "false"); break;
            case Value::Type::Int: Number(v.number); break;
            case Value::Type::Text: String(v.text); break;
            case Value::Type::Shorts:
            case Value::Type::Longs:
                if (v.Count() == 0) {
                    Raw("[]");
                    break;
                }
                Raw("[");
                for (std::size_t i = 0; i < v.Count(); ++i) {
                    if (i > 0) {
                        Raw(", ");
                    }
                    Number(v.Item(i));
                }
                Raw("]");
                break;
        }
    }

    void Members(const cli::Members& members, int depth) {
        if (members.count == 0) {
            Raw("{}");
            return;
        }
        Raw("{\n");
        for (std::size_t i = 0; i < members.count; ++i) {
            const Member& m = members.items[i];
            Indent(depth + 1);
            Name(m.name);
            switch (m.what) {
                case Member::What::Plain: Scalar(m.value); break;
                case Member::What::Object: Object(m.object, depth + 1); break;
                case Member::What::List: List(m.list, depth + 1); break;
            }
            Raw(i + 1 < members.count ? ",\n" : "\n");
        }
        Indent(depth);
        Raw("}");
    }

    void Object(ObjectRef object, int depth) { Members(Collect(object), depth); }

    void List(const ListRef& list, int depth) {
        if (list.size == 0) {
            Raw("[]");
            return;
        }
        Raw("[\n");
        for (std::size_t i = 0; i < list.size; ++i) {
            Indent(depth + 1);
            Object(list.At(i), depth + 1);
            Raw(i + 1 < list.size ? ",\n" : "\n");
        }
        Indent(depth);
        Raw("]");
    }

    void Flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;

    std::ostream& out_;
    JsonText form_;
    std::string buffer_;
};

}  // namespace

std::string JsonString(std::string_view text, JsonText form) {
    std::string out;
    out.reserve(text.size() + 2);
    AppendString(out, text, form);
    return out;
}

void WriteJson(std::ostream& out, ObjectRef object, JsonText form) {
    Writer writer(out, form);
    writer.Object(object, 0);
    writer.Raw("\n");
}

void WriteLoadedFileJson(std::ostream& out, const std::string& path, int code,
                         const Configuration& config, JsonText form) {
    Writer writer(out, form);
    writer.Raw("{\n  \"file\": ");
    writer.String(path);
    writer.Raw(",\n  \"result\": {\n    \"code\": ");
    writer.Number(code);
    writer.Raw(",\n    \"text\": ");
    writer.String(RetErrorText(code));
    writer.Raw("\n  },\n");
    // The model's members follow at the same level.
    const Members members = Collect(ModelRef(config));
    for (std::size_t i = 0; i < members.count; ++i) {
        const Member& m = members.items[i];
        writer.Indent(1);
        writer.Name(m.name);
        switch (m.what) {
            case Member::What::Plain: writer.Scalar(m.value); break;
            case Member::What::Object: writer.Object(m.object, 1); break;
            case Member::What::List: writer.List(m.list, 1); break;
        }
        writer.Raw(i + 1 < members.count ? ",\n" : "\n");
    }
    writer.Raw("}\n");
}

}  // namespace knitcfg::cli
