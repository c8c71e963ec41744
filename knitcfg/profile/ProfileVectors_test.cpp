// Runs every reference case of testdata/profile-vectors: the .case file gives
// the initial file, the .expected file each operation followed by what it
// returns, the buffer it fills ("\?" matches any byte) and the file after a
// write.

#include <gtest/gtest.h>

#include <algorithm>
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

// Marks the buffer bytes an operation left alone: only "\?" matches it.
constexpr char kFiller = '\xff';

// The bytes of the quoted text that starts at `*pos`, which moves past it;
// `wild` (when given) marks the bytes written "\?".
std::string Unquote(const std::string& s, std::size_t* pos, std::vector<bool>* wild = nullptr) {
    std::string out;
    std::size_t i = *pos + 1;
    for (; i < s.size() && s[i] != '"'; ++i) {
        bool any = false;
        char c = s[i];
        if (c == '\\') {
            switch (s[++i]) {
                case 'r': c = '\r'; break;
                case 'n': c = '\n'; break;
                case 't': c = '\t'; break;
                case '0': c = '\0'; break;
                case '?': any = true; break;
                case 'x':
                    c = static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
                    i += 2;
                    break;
                default: c = s[i]; break;  // \\ and \"
            }
        }
        out += c;
        if (wild != nullptr) {
            wild->push_back(any);
        }
    }
    *pos = i + 1;
    return out;
}

struct Arg {
    std::optional<std::string> text;  // nullopt: null
    long long number = 0;
    const char* c_str() const { return text ? text->c_str() : nullptr; }
};

std::vector<Arg> ParseArgs(const std::string& line, std::size_t pos) {
    std::vector<Arg> args;
    while (pos < line.size()) {
        if (line[pos] == ' ') {
            ++pos;
            continue;
        }
        Arg a;
        if (line[pos] == '"') {
            a.text = Unquote(line, &pos);
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

std::vector<std::string> Lines(const fs::path& path) {
    std::vector<std::string> out;
    std::istringstream in(test::ReadFile(path.string()));
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

// Runs `op` on `file` and checks `results`, the lines the reference expects
// of it.
void RunAndCheck(const std::string& op, const std::vector<std::string>& results,
                 const std::string& file) {
    SCOPED_TRACE(op);
    const std::size_t space = op.find(' ');
    const std::string name = op.substr(0, space);
    const std::vector<Arg> a = ParseArgs(op, std::min(space, op.size()));
    ASSERT_FALSE(results.empty());
    auto expectReturn = [&](long long value) {
        EXPECT_EQ(results[0], "  return " + std::to_string(value));
    };
    if (name == "GetInt") {
        expectReturn(
            GetInt(a[0].c_str(), a[1].c_str(), static_cast<int>(a[2].number), file.c_str()));
    } else if (name == "WriteString" || name == "WriteSection") {
        bool r = false;
        if (name == "WriteString") {
            r = WriteString(a[0].c_str(), a[1].c_str(), a[2].c_str(), file.c_str());
        } else {
            const std::string lines = a[1].text ? *a[1].text + std::string(2, '\0') : "";
            r = WriteSection(a[0].c_str(), a[1].text ? lines.c_str() : nullptr, file.c_str());
        }
        expectReturn(r ? 1 : 0);
        ASSERT_GE(results.size(), 2U);
        if (results[1] == "  nofile") {
            EXPECT_FALSE(test::FileExists(file));
            return;
        }
        std::string expected;
        for (std::size_t i = 1; i < results.size(); ++i) {
            std::size_t pos = results[i].find('"');
            expected += Unquote(results[i], &pos);
        }
        EXPECT_EQ(test::FileExists(file) ? test::ReadFile(file) : "<no file>", expected);
    } else {
        // Every byte past `size` must stay as it was.
        const auto size = static_cast<unsigned>(a.back().number);
        std::string buffer(size + 64, kFiller);
        unsigned r = 0;
        bool single = false;
        if (name == "GetString") {
            r = GetString(a[0].c_str(), a[1].c_str(), a[2].c_str(), buffer.data(), size,
                          file.c_str());
            single = a[0].text && a[1].text;
        } else if (name == "GetSection") {
            r = GetSection(a[0].c_str(), buffer.data(), size, file.c_str());
        } else {
            ASSERT_EQ(name, "GetSectionNames");
            r = GetSectionNames(buffer.data(), size, file.c_str());
        }
        expectReturn(r);
        EXPECT_EQ(buffer.substr(size), std::string(64, kFiller)) << "written past the buffer";
        ASSERT_EQ(results.size(), 2U);
        std::size_t pos = results[1].find('"');
        std::vector<bool> wild;
        std::string expected = Unquote(results[1], &pos, &wild);
        std::string shown = buffer.substr(0, std::min<std::size_t>(size, r + (single ? 1 : 2)));
        for (std::size_t i = 0; i < wild.size() && i < shown.size(); ++i) {
            if (wild[i]) {
                expected[i] = shown[i];
            }
        }
        EXPECT_EQ(shown, expected);
    }
}

class ProfileVectorsTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ProfileVectorsTest, MatchesExpectedTranscript) {
    const fs::path dir = fs::path(test::TestDataDir()) / "profile-vectors";
    test::TempDir tmp;
    const std::string file = tmp.File("profile.ini");
    std::string initial;
    bool exists = false;
    for (const std::string& line : Lines(dir / (GetParam() + ".case"))) {
        if (line.rfind("file ", 0) == 0) {
            std::size_t pos = 5;
            initial += Unquote(line, &pos);
            exists = true;
        }
    }
    if (exists) {
        test::WriteFile(file, initial);
    }
    // Each operation, then its indented results.
    const std::vector<std::string> expected = Lines(dir / (GetParam() + ".expected"));
    ASSERT_FALSE(expected.empty());
    for (std::size_t i = 0; i < expected.size();) {
        std::size_t end = i + 1;
        while (end < expected.size() && expected[end].rfind("  ", 0) == 0) {
            ++end;
        }
        RunAndCheck(expected[i],
                    std::vector<std::string>(expected.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                             expected.begin() + static_cast<std::ptrdiff_t>(end)),
                    file);
        i = end;
    }
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry :
         fs::directory_iterator(fs::path(test::TestDataDir()) / "profile-vectors")) {
        if (entry.path().extension() == ".case") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Reference, ProfileVectorsTest, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string n = "v" + param.param;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

}  // namespace
}  // namespace knitcfg::profile
