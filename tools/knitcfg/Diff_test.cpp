#include "Diff.h"

#include <gtest/gtest.h>

#include <string>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli::test {
namespace {

// A configuration whose colors hold one drum each.
std::string Machine(const std::string& colors) {
    return "[Protection]\r\nConfigProtected=0\r\n[Header]\r\nMachineType=M\r\nVersion=1.0\r\n"
           "Description=d\r\nNumberOfLines=1\r\nStartBlock=0\r\n" +
           colors;
}

// Color `id` with drum 1 in `state`; `tag` tells apart sections of one number.
std::string Color(int id, int state, const std::string& tag = "") {
    const std::string n = std::to_string(id);
    return "[Color_00" + n + tag + "]\r\nID=" + n + "\r\nPlane=1\r\nDrum_000=1, 1, 1, " +
           std::to_string(state) + "\r\n";
}

std::string Listed(char sign, int id, int state, const std::string& occurrence = "") {
    const std::string color = std::string(1, sign) + " color " + std::to_string(id) + occurrence;
    return color + ": id=" + std::to_string(id) + ", plane=1, actuators: 1\n" + color +
           " actuator 1: kind=\"DrumColor\", id=1, feed=1, feedId=1, state=" +
           std::to_string(state) + "\n";
}

// Items are matched by key, the n-th of one key with the n-th in the other.
TEST(DiffTest, ItemsAreMatchedByKeyInOrderNotByPlace) {
    const struct {
        std::string before, after, expected;
    } cases[] = {
        {Color(1, 0) + Color(2, 5), Color(2, 5) + Color(1, 0), ""},
        {Color(1, 0) + Color(2, 5), Color(3, 1) + Color(2, 6),
         Listed('-', 1, 0) + "~ color 2 actuator 1: state 5 -> 6\n" + Listed('+', 3, 1)},
        {Color(4, 0) + Color(4, 1, "b") + Color(4, 2, "c"), Color(4, 0) + Color(4, 9, "b"),
         "~ color 4 #2 actuator 1: state 1 -> 9\n" + Listed('-', 4, 2, " #3")},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteFile(dir.File("a.ini"), Machine(c.before));
        WriteFile(dir.File("b.ini"), Machine(c.after));
        const ToolRun run = RunTool({"diff", dir.File("a.ini"), dir.File("b.ini")});
        EXPECT_EQ(run.out, c.expected) << c.before << c.after;
        EXPECT_EQ(run.status, c.expected.empty() ? kExitOk : kExitNo);
    }
}

TEST(DiffTest, ValuesAsADiffLineWritesThem) {
    EXPECT_EQ(DiffText(Value::Text("one\r\ntwo\x1b")), "\"one\\ntwo?\"");
    EXPECT_EQ(DiffText(Value::Text("caf\xe9")), "\"caf\xe9\"");
    EXPECT_EQ(DiffText(Value::Null()), "(none)");
    EXPECT_EQ(ChangeLine("", "protected", Value::Bool(false), Value::Bool(true)),
              "~ protected: false -> true");
}

}  // namespace
}  // namespace knitcfg::cli::test
