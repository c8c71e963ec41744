#include "Wildcards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli {
namespace {

using test::TempDir;
using test::WriteFile;

TEST(WildcardTest, Matches) {
    const struct {
        const char* pattern;
        const char* name;
        bool fold;
        bool match;
    } cases[] = {
        {"*.ini", "a.ini", false, true},
        {"*.ini", "a.ini.bak", false, false},
        {"*.ini", ".ini", false, true},
        {"a?c", "abc", false, true},
        {"a?c", "ac", false, false},
        {"*a*b*", "xxaybzz", false, true},
        {"*a*b", "ab-a", false, false},
        {"*", "", false, true},
        {"*.INI", "a.ini", false, false},
        {"*.INI", "a.ini", true, true},
        {"m*e.ini", "machine.ini", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchWildcard(c.pattern, c.name, c.fold), c.match) << c.pattern << " " << c.name;
    }
}

TEST(WildcardTest, ExpandsArgumentsThatNameNoFile) {
    TempDir dir;
    for (const char* name : {"b.ini", "a.ini", "c.cfg", ".hidden.ini"}) {
        WriteFile(dir.File(name), "[Protection]\nConfigProtected=0\n");
    }
    const std::string d = dir.path() + "/";
    using List = std::vector<std::string>;
    EXPECT_EQ(ExpandWildcards({d + "*.ini", "x"}), (List{d + "a.ini", d + "b.ini", "x"}));
    EXPECT_EQ(ExpandWildcards({d + "?.*"}), (List{d + "a.ini", d + "b.ini", d + "c.cfg"}));
    EXPECT_EQ(ExpandWildcards({d + ".*"}), (List{d + ".hidden.ini"}));
    // Nothing matches, or the wildcard is in the folder part: left for the
    // command to report.
    EXPECT_EQ(ExpandWildcards({d + "*.txt"}), (List{d + "*.txt"}));
    EXPECT_EQ(ExpandWildcards({dir.path() + "*/a.ini"}), (List{dir.path() + "*/a.ini"}));

    // The tool expands the file arguments of its commands.
    const test::ToolRun run = test::RunTool({"check", d + "*.ini"});
    EXPECT_EQ(run.out.find(d + "a.ini: "), 0u) << run.out;
    EXPECT_NE(run.out.find(d + "b.ini: "), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("*"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace knitcfg::cli
