// Runs every reference case of testdata/profile-vectors: builds the initial
// file, runs the operations, and compares the transcript with the expected
// one line by line ("\?" in an expected buffer matches any byte).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg::profile {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

constexpr unsigned char kFiller = 0xFF;
constexpr int kWildcard = -1;

struct Arg {
    std::optional<std::string> text;  // nullopt: null
    long long number = 0;
};

// Decodes the quoted-text form of the vectors (the opening quote at `pos`).
// Returns the bytes; with `wild`, "\?" becomes kWildcard.
std::vector<int> DecodeQuoted(const std::string& s, std::size_t* pos) {
    std::vector<int> out;
    std::size_t i = *pos + 1;
    while (i < s.size() && s[i] != '"') {
        if (s[i] != '\\') {
            out.push_back(static_cast<unsigned char>(s[i++]));
            continue;
        }
        const char c = s[i + 1];
        i += 2;
        switch (c) {
            case 'r': out.push_back('\r'); break;
            case 'n': out.push_back('\n'); break;
            case 't': out.push_back('\t'); break;
            case '0': out.push_back('\0'); break;
            case '\\': out.push_back('\\'); break;
            case '"': out.push_back('"'); break;
            case '?': out.push_back(kWildcard); break;
            case 'x':
                out.push_back(std::stoi(s.substr(i, 2), nullptr, 16));
                i += 2;
                break;
            default: ADD_FAILURE() << "bad escape in " << s; break;
        }
    }
    *pos = i + 1;
    return out;
}

std::string Bytes(const std::vector<int>& v) {
    std::string out;
    for (const int b : v) {
        out += static_cast<char>(b);
    }
    return out;
}

std::string Encode(const std::string& bytes) {
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        switch (b) {
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\0': out += "\\0"; break;
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            default:
                if (b >= 32 && b <= 126) {
                    out += static_cast<char>(b);
                } else {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02x", b);
                    out += hex;
                }
        }
    }
    return out + "\"";
}

std::vector<Arg> ParseArgs(const std::string& line, std::size_t pos) {
    std::vector<Arg> args;
    while (pos < line.size()) {
        if (line[pos] == ' ') {
            ++pos;
            continue;
        }
        Arg a;
        if (line[pos] == '"') {
            a.text = Bytes(DecodeQuoted(line, &pos));
        } else if (line.compare(pos, 4, "null") == 0) {
            pos += 4;
        } else {
            std::size_t used = 0;
            a.number = std::stoll(line.substr(pos), &used);
            pos += used;
        }
        args.push_back(a);
    }
    return args;
}

const char* C(const Arg& a) {
    return a.text ? a.text->c_str() : nullptr;
}

// The file as the transcript shows it: split after each LF, after each CR
// not followed by LF, and at the end.
void AppendFile(const std::string& path, std::vector<std::string>* out) {
    if (!test::FileExists(path)) {
        out->push_back("  nofile");
        return;
    }
    const std::string bytes = ReadFile(path);
    if (bytes.empty()) {
        out->push_back("  file \"\"");
        return;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool cut = bytes[i] == '\n' ||
                         (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'));
        if (cut) {
            out->push_back("  file " + Encode(bytes.substr(start, i + 1 - start)));
            start = i + 1;
        }
    }
    if (start < bytes.size()) {
        out->push_back("  file " + Encode(bytes.substr(start)));
    }
}

struct Transcript {
    std::vector<std::string> lines;
    // For each buffer line: the bytes shown, with kFiller bytes marked as
    // unwritten (kWildcard never appears here).
    std::vector<std::vector<int>> buffers;
};

void RunRead(const std::string& op, const std::vector<Arg>& args, const std::string& file,
             Transcript* t) {
    const auto size = static_cast<unsigned>(args.back().number);
    constexpr std::size_t kGuard = 64;
    std::vector<unsigned char> storage(size + kGuard, kFiller);
    char* buf = reinterpret_cast<char*>(storage.data());
    unsigned ret = 0;
    bool single = false;
    if (op == "GetString") {
        ret = GetString(C(args[0]), C(args[1]), C(args[2]), buf, size, file.c_str());
        single = args[0].text && args[1].text;
    } else if (op == "GetSection") {
        ret = GetSection(C(args[0]), buf, size, file.c_str());
    } else {
        ret = GetSectionNames(buf, size, file.c_str());
    }
    for (std::size_t i = size; i < storage.size(); ++i) {
        EXPECT_EQ(storage[i], kFiller) << op << " wrote past the end of the buffer";
    }
    const std::size_t shown = std::min<std::size_t>(size, ret + (single ? 1 : 2));
    t->lines.push_back("  return " + std::to_string(ret));
    std::vector<int> bytes(storage.begin(), storage.begin() + static_cast<std::ptrdiff_t>(shown));
    t->lines.push_back("  buffer");
    t->buffers.push_back(bytes);
}

Transcript RunCase(const std::vector<std::string>& ops, const std::string& file) {
    Transcript t;
    for (const std::string& line : ops) {
        t.lines.push_back(line);
        const std::size_t sp = line.find(' ');
        const std::string op = line.substr(0, sp);
        const std::vector<Arg> args = ParseArgs(line, sp == std::string::npos ? line.size() : sp);
        if (op == "GetString" || op == "GetSection" || op == "GetSectionNames") {
            RunRead(op, args, file, &t);
        } else if (op == "GetInt") {
            const int r =
                GetInt(C(args[0]), C(args[1]), static_cast<int>(args[2].number), file.c_str());
            t.lines.push_back("  return " + std::to_string(r));
        } else if (op == "WriteString" || op == "WriteSection") {
            bool r;
            if (op == "WriteString") {
                r = WriteString(C(args[0]), C(args[1]), C(args[2]), file.c_str());
            } else {
                std::string lines;
                if (args[1].text) {
                    lines = *args[1].text + std::string(2, '\0');
                }
                r = WriteSection(C(args[0]), args[1].text ? lines.c_str() : nullptr, file.c_str());
            }
            t.lines.push_back(std::string("  return ") + (r ? "1" : "0"));
            AppendFile(file, &t.lines);
        } else {
            ADD_FAILURE() << "unknown operation " << op;
        }
    }
    return t;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        out.push_back(line);
    }
    return out;
}

bool BufferMatches(const std::string& expectedLine, const std::vector<int>& actual) {
    std::size_t pos = expectedLine.find('"');
    const std::vector<int> expected = DecodeQuoted(expectedLine, &pos);
    if (expected.size() != actual.size()) {
        return false;
    }
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (expected[i] == kWildcard) {
            continue;
        }
        if (actual[i] == kFiller || expected[i] != actual[i]) {
            return false;
        }
    }
    return true;
}

std::string ShowBuffer(const std::vector<int>& bytes) {
    std::string s;
    for (const int b : bytes) {
        s += static_cast<char>(b);
    }
    return Encode(s);
}

class ProfileVectorsTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ProfileVectorsTest, MatchesExpectedTranscript) {
    const fs::path dir = fs::path(test::TestDataDir()) / "profile-vectors";
    const std::string name = GetParam();
    const std::vector<std::string> caseLines = Lines(ReadFile((dir / (name + ".case")).string()));
    const std::vector<std::string> expected =
        Lines(ReadFile((dir / (name + ".expected")).string()));

    test::TempDir tmp;
    const std::string file = tmp.File("profile.ini");
    std::string initial;
    bool exists = false;
    std::vector<std::string> ops;
    for (const std::string& line : caseLines) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line == "nofile") {
            continue;
        }
        if (line.rfind("file ", 0) == 0) {
            std::size_t pos = 5;
            initial += Bytes(DecodeQuoted(line, &pos));
            exists = true;
            continue;
        }
        ops.push_back(line);
    }
    if (exists) {
        test::WriteFile(file, initial);
    }

    const Transcript t = RunCase(ops, file);
    std::size_t buffer = 0;
    ASSERT_EQ(t.lines.size(), expected.size()) << "transcript length differs";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (t.lines[i] == "  buffer") {
            const std::vector<int>& actual = t.buffers[buffer++];
            EXPECT_TRUE(BufferMatches(expected[i], actual))
                << "line " << i + 1 << ": expected " << expected[i] << "\n got    buffer "
                << ShowBuffer(actual);
        } else {
            EXPECT_EQ(t.lines[i], expected[i]) << "line " << i + 1;
        }
    }
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    const fs::path dir = fs::path(test::TestDataDir()) / "profile-vectors";
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".case") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Reference, ProfileVectorsTest, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string n = param.param;
                             std::replace_if(
                                 n.begin(), n.end(),
                                 [](char c) {
                                     return !std::isalnum(static_cast<unsigned char>(c));
                                 },
                                 '_');
                             return "v" + n;
                         });

}  // namespace
}  // namespace knitcfg::profile
