#include "CliTestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Commands.h"

namespace knitcfg::cli::test {

namespace fs = std::filesystem;

const Node* Node::Find(std::string_view name) const {
    for (const auto& member : members) {
        if (member.first == name) {
            return &member.second;
        }
    }
    return nullptr;
}

bool operator==(const Node& a, const Node& b) {
    return a.type == b.type && a.flag == b.flag && a.number == b.number && a.text == b.text &&
           a.items == b.items && a.members == b.members;
}

void CopyFile(const std::string& path, const std::string& target) {
    WriteFile(target, ReadFile(path));
}

std::string Sample(const std::string& name) {
    return (fs::path(KNITCFG_SAMPLES_DIR) / name).string();
}

ToolRun RunTool(const std::vector<std::string>& args) {
    std::vector<std::string> storage{"knitcfg"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::ostringstream out;
    std::ostringstream err;
    ToolRun run;
    run.status = cli::RunTool(static_cast<int>(storage.size()), argv.data(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

namespace {

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : text_(text) {}

    Node Document() {
        Node value = Value();
        Blanks();
        if (pos_ != text_.size()) {
            Fail("text after the value");
        }
        return value;
    }

    bool Failed() const { return failed_; }

private:
    void Fail(const std::string& what) {
        if (!failed_) {
            ADD_FAILURE() << "not JSON at offset " << pos_ << ": " << what;
        }
        failed_ = true;
        pos_ = text_.size();
    }

    void Blanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\t')) {
            ++pos_;
        }
    }

    bool Take(char c) {
        Blanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    void Expect(char c) {
        if (!Take(c)) {
            Fail(std::string("expected ") + c);
        }
    }

    bool Word(const char* word) {
        const std::string w = word;
        if (text_.compare(pos_, w.size(), w) == 0) {
            pos_ += w.size();
            return true;
        }
        return false;
    }

    std::string String() {
        Expect('"');
        std::string out;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            const auto byte = static_cast<unsigned char>(text_[pos_]);
            if (byte < 0x20 || byte >= 0x80) {
                Fail("a raw control or 8-bit character in a string");
                return out;
            }
            if (text_[pos_] != '\\') {
                out += text_[pos_++];
                continue;
            }
            ++pos_;
            if (pos_ >= text_.size()) {
                break;
            }
            const char e = text_[pos_++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    if (pos_ + 4 > text_.size()) {
                        Fail("short \\u escape");
                        return out;
                    }
                    const unsigned long code = std::stoul(text_.substr(pos_, 4), nullptr, 16);
                    pos_ += 4;
                    if (code > 0xff) {
                        Fail("\\u escape beyond one byte");
                        return out;
                    }
                    out += static_cast<char>(code);
                    break;
                }
                default: Fail("bad escape"); return out;
            }
        }
        Expect('"');
        return out;
    }

    Node Value() {
        Blanks();
        if (pos_ >= text_.size()) {
            Fail("no value");
            return Node{};
        }
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            Node object;
            object.type = Node::Type::Object;
            if (Take('}')) {
                return object;
            }
            do {
                Blanks();
                std::string name = String();
                Expect(':');
                object.members.emplace_back(std::move(name), Value());
            } while (!failed_ && Take(','));
            Expect('}');
            return object;
        }
        if (c == '[') {
            ++pos_;
            Node list;
            list.type = Node::Type::List;
            if (Take(']')) {
                return list;
            }
            do {
                list.items.push_back(Value());
            } while (!failed_ && Take(','));
            Expect(']');
            return list;
        }
        if (c == '"') {
            Node text;
            text.type = Node::Type::Text;
            text.text = String();
            return text;
        }
        if (Word("null")) {
            return Node{};
        }
        if (Word("true") || Word("false")) {
            Node flag;
            flag.type = Node::Type::Bool;
            flag.flag = text_[pos_ - 1] == 'e' && text_[pos_ - 2] == 'u';
            return flag;
        }
        std::size_t end = pos_;
        if (end < text_.size() && text_[end] == '-') {
            ++end;
        }
        const std::size_t digits = end;
        while (end < text_.size() && text_[end] >= '0' && text_[end] <= '9') {
            ++end;
        }
        if (end == digits) {
            Fail("unexpected character");
            return Node{};
        }
        Node number;
        number.type = Node::Type::Int;
        number.number = std::stoll(text_.substr(pos_, end - pos_));
        pos_ = end;
        return number;
    }

    const std::string& text_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace

Node ParseJson(const std::string& text) {
    JsonReader reader(text);
    Node node = reader.Document();
    return reader.Failed() ? Node{} : node;
}

}  // namespace knitcfg::cli::test
