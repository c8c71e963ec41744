#include "Diff.h"

#include <gtest/gtest.h>

#include <string>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli {
namespace {

using test::RunTool;
using test::Sample;

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

std::string Removed(int id, int state, const std::string& occurrence = "") {
    const std::string color = "color " + std::to_string(id) + occurrence;
    return "- " + color + ": id=" + std::to_string(id) + ", plane=1, actuators: 1\n- " + color +
           " actuator 1: kind=\"DrumColor\", id=1, feed=1, feedId=1, state=" +
           std::to_string(state) + "\n";
}

TEST(DiffTest, ItemsAreMatchedByKeyInOrderNotByPlace) {
    struct Case {
        std::string before, after, expected;
    };
    std::string added = Removed(3, 1);
    for (std::size_t at = 0; (at = added.find("- ", at)) != std::string::npos; at += 2) {
        added[at] = '+';
    }
    const Case cases[] = {
        {Color(1, 0) + Color(2, 5), Color(2, 5) + Color(1, 0), ""},
        {Color(1, 0) + Color(2, 5), Color(3, 1) + Color(2, 6),
         Removed(1, 0) + "~ color 2 actuator 1: state 5 -> 6\n" + added},
        {Color(4, 0) + Color(4, 1, "b") + Color(4, 2, "c"), Color(4, 0) + Color(4, 9, "b"),
         "~ color 4 #2 actuator 1: state 1 -> 9\n" + Removed(4, 2, " #3")},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        test::WriteFile(dir.File("a.ini"), Machine(c.before));
        test::WriteFile(dir.File("b.ini"), Machine(c.after));
        const test::ToolRun run = RunTool({"diff", dir.File("a.ini"), dir.File("b.ini")});
        EXPECT_EQ(run.out, c.expected) << c.before << c.after;
        EXPECT_EQ(run.status, c.expected.empty() ? kExitOk : kExitNo);
    }
}

TEST(DiffTest, TextsAreWrittenAsTheFileHoldsThem) {
    EXPECT_EQ(DiffText(Value::Text("\\d\\a.dis")), "\"\\d\\a.dis\"");
    EXPECT_EQ(DiffText(Value::Text("one\r\ntwo\x1b")), "\"one\\ntwo?\"");
    EXPECT_EQ(DiffText(Value::Text("caf\xe9")), "\"caf\xe9\"");
    EXPECT_EQ(DiffText(Value::Text("caf\xe9"), Encoding::Utf8), "\"caf\xc3\xa9\"");
    EXPECT_EQ(DiffText(Value::Null()), "(none)");
    EXPECT_EQ(ChangeLine("color 1 actuator 3", "state", Value::Int(0), Value::Int(1)),
              "~ color 1 actuator 3: state 0 -> 1");
    EXPECT_EQ(ChangeLine("", "protected", Value::Bool(false), Value::Bool(true)),
              "~ protected: false -> true");
}

// The diff of a sample against an edited copy of it.
class DiffCommandTest : public ::testing::Test {
protected:
    // The sample with `from` replaced by `to` (each must be there once).
    std::string Edited(std::string text,
                       std::initializer_list<std::pair<std::string, std::string>> edits) {
        for (const auto& [from, to] : edits) {
            const std::size_t at = text.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            if (at != std::string::npos) {
                EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from << " twice";
                text.replace(at, from.size(), to);
            }
        }
        return text;
    }

    test::TempDir dir_;
    const std::string machine_ = Sample("machine.ini");
    const std::string original_ = test::ReadFile(machine_);
};

TEST_F(DiffCommandTest, AFileIsTheSameAsItself) {
    const test::ToolRun run = RunTool({"diff", machine_, machine_});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST_F(DiffCommandTest, LayoutOrderAndLineEndsAreNoDifference) {
    // Colors swapped, LF line ends, blanks around '=', a comment.
    std::string text = Edited(original_, {{"ID=1\r\nPlane=1\r\nHelpAbstract=Ground",
                                           "ID = 1\r\nPlane =1\r\nHelpAbstract= Ground"}});
    const std::size_t c1 = text.find("[Color_001]");
    const std::size_t c2 = text.find("[Color_002]");
    const std::size_t c3 = text.find("[Color_003]");
    text = text.substr(0, c1) + "; moved\r\n" + text.substr(c2, c3 - c2) +
           text.substr(c1, c2 - c1) + text.substr(c3);
    std::string lf;
    for (const char c : text) {
        if (c != '\r') {
            lf += c;
        }
    }
    const std::string copy = dir_.File("copy.ini");
    test::WriteFile(copy, lf);
    const test::ToolRun run = RunTool({"diff", machine_, copy});
    EXPECT_EQ(run.status, kExitOk) << run.out;
    EXPECT_EQ(run.out, "");
}

TEST_F(DiffCommandTest, ReportsEveryChangeByMeaning) {
    const std::string color2 =
        original_.substr(original_.find("[Color_002]"),
                         original_.find("[Color_003]") - original_.find("[Color_002]"));
    const std::string copy = dir_.File("copy.ini");
    test::WriteFile(
        copy, Edited(original_,
                     {
                         {"ConfigProtected=0", "ConfigProtected=1"},
                         {"six feeds, two planes", "six feeds"},
                         {"Drum_000=1, 1, 1, 0", "Drum_000=1, 1, 1, 1"},
                         {color2, ""},
                         {"Triangle_000=23, 3, 3, 0\r\n",
                          "Triangle_000=23, 3, 3, 0\r\nFinger_000=13, 3, 3, 1\r\n"},
                         {"Speeder_000=61, 5, 5\r\n", ""},
                         {"3=\\patterns\\tulip.pat,5,1 2 3 ", "3=\\patterns\\tulip.pat,5,1 2 "},
                         {"edge=0, 4, 1,<7><-1>\r\n", ""},
                     }));
    const test::ToolRun run = RunTool({"diff", machine_, copy});
    EXPECT_EQ(run.status, kExitNo);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(
        run.out,
        "~ header: description \"Sample machine of the knitcfg project\\nsix feeds, two "
        "planes\" -> \"Sample machine of the knitcfg project\\nsix feeds\"\n"
        "~ protected: false -> true\n"
        "- line 3 plane 1 actuator 61: kind=\"SpeederLine\", id=61, feed=5, feedId=5\n"
        "~ color 1 actuator 1: state 0 -> 1\n"
        "- color 2: id=2, plane=1, helpAbstract=\"Red yarn\", help=\"Red yarn on feeds 1 "
        "and 2\\nfinger 12 lifted\", actuators: 6\n"
        "- color 2 actuator 1: kind=\"DrumColor\", id=1, feed=1, feedId=1, state=1\n"
        "- color 2 actuator 11: kind=\"FingerColor\", id=11, feed=1, feedId=1, state=0\n"
        "- color 2 actuator 12: kind=\"FingerColor\", id=12, feed=2, feedId=2, state=1\n"
        "- color 2 actuator 22: kind=\"TriangleColor\", id=22, feed=2, feedId=2, state=2\n"
        "- color 2 actuator 41: kind=\"StepMotorColor\", id=41, feed=3, feedId=3, "
        "state=0, position=850\n"
        "- color 2 actuator 61: kind=\"SpeederColor\", id=61, feed=5, feedId=5, "
        "speed=\"-1.250\"\n"
        "+ color 3 actuator 13: kind=\"FingerColor\", id=13, feed=3, feedId=3, state=1\n"
        "~ design \"\\designs\\tulip.dis\" pattern for color 3: remap [1 2 3] -> [1 2]\n"
        "- shaved design \"edge\": name=\"edge\", first=0, second=4, third=1, "
        "elements=[7 4294967295]\n");
}

TEST_F(DiffCommandTest, ABrokenFileIsComparedWithAWarning) {
    const test::ToolRun run = RunTool({"diff", Sample("broken/no-header.ini"), machine_});
    EXPECT_EQ(run.status, kExitNo);
    EXPECT_NE(run.err.find("warning: " + Sample("broken/no-header.ini") + " loads with 3 "),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("~ header: machineType \"\" -> \"KX-240\"\n"), std::string::npos)
        << run.out;
}

TEST_F(DiffCommandTest, AnUnreadableFileIsAnError) {
    const test::ToolRun run = RunTool({"diff", machine_, Sample("broken/empty.ini")});
    EXPECT_EQ(run.status, kExitError);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("62 (the file is missing, unreadable or empty)"), std::string::npos);
}

}  // namespace
}  // namespace knitcfg::cli
