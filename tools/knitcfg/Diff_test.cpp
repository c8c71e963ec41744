#include "Diff.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli {
namespace {

using test::RunTool;
using test::Sample;

// A list of colors, each an id and a state.
Node Colors(std::initializer_list<std::pair<int, int>> colors) {
    Node list = Node::Keyed("color", {"id"});
    for (const auto& [id, state] : colors) {
        Node c = Node::Object();
        c.Add("id", Node::Int(id));
        c.Add("state", Node::Int(state));
        list.items.push_back(c);
    }
    return list;
}

Node Model(Node colors) {
    Node model = Node::Object();
    model.Add("colors", std::move(colors));
    return model;
}

std::string Diff(const Node& a, const Node& b, std::size_t* count = nullptr) {
    std::ostringstream out;
    const std::size_t n = WriteDiff(out, a, b);
    if (count != nullptr) {
        *count = n;
    }
    return out.str();
}

TEST(DiffTest, ItemsAreMatchedByKeyNotByPlace) {
    std::size_t count = 1;
    EXPECT_EQ(Diff(Model(Colors({{1, 0}, {2, 5}})), Model(Colors({{2, 5}, {1, 0}})), &count), "");
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(Diff(Model(Colors({{1, 0}, {2, 5}})), Model(Colors({{3, 1}, {2, 6}})), &count),
              "- color 1: id=1, state=0\n"
              "~ color 2: state 5 -> 6\n"
              "+ color 3: id=3, state=1\n");
    EXPECT_EQ(count, 3u);
}

TEST(DiffTest, ItemsWithTheSameKeyAreMatchedInOrder) {
    EXPECT_EQ(Diff(Model(Colors({{4, 0}, {4, 1}, {4, 2}})), Model(Colors({{4, 0}, {4, 9}}))),
              "~ color 4 #2: state 1 -> 9\n"
              "- color 4 #3: id=4, state=2\n");
}

TEST(DiffTest, AWholeItemComesWithItsOwnItems) {
    Node a = Model(Node::Keyed("line", {"id", "plane"}));
    Node b = a;
    Node line = Node::Object();
    line.Add("id", Node::Int(12));
    line.Add("plane", Node::Int(2));
    line.Add("help", Node::Str(""));
    Node& actuators = line.Add("actuators", Node::Keyed("actuator", {"id"}));
    Node drum = Node::Object();
    drum.Add("kind", Node::Str("DrumLine"));
    drum.Add("id", Node::Int(3));
    drum.Add("state", Node::Null());
    actuators.items.push_back(drum);
    b.members[0].value.items.push_back(line);
    EXPECT_EQ(Diff(a, b),
              "+ line 12 (plane 2): id=12, plane=2, actuators: 1\n"
              "+ line 12 (plane 2) / actuator 3: kind=\"DrumLine\", id=3\n");
    EXPECT_EQ(Diff(b, a),
              "- line 12 (plane 2): id=12, plane=2, actuators: 1\n"
              "- line 12 (plane 2) / actuator 3: kind=\"DrumLine\", id=3\n");
}

TEST(DiffTest, PlainValuesAndListsOfThemChangeAsAWhole) {
    Node a = Node::Object();
    Node& header = a.Add("header", Node::Object());
    header.Add("description", Node::Str("one\r\ntwo"));
    a.Add("protected", Node::Bool(false));
    Node& remap = a.Add("remap", Node::Values());
    remap.items = {Node::Int(1), Node::Int(2)};
    Node b = a;
    b.members[0].value.members[0].value = Node::Str("one");
    b.members[1].value = Node::Bool(true);
    b.members[2].value.items.push_back(Node::Int(3));
    b.Add("added", Node::Int(7));
    EXPECT_EQ(Diff(a, b),
              "~ header: description \"one\\r\\ntwo\" -> \"one\"\n"
              "~ protected: false -> true\n"
              "~ remap: [1 2] -> [1 2 3]\n"
              "~ added: (none) -> 7\n");
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
        "~ header: description \"Sample machine of the knitcfg project\\r\\nsix feeds, two "
        "planes\" -> \"Sample machine of the knitcfg project\\r\\nsix feeds\"\n"
        "~ protected: false -> true\n"
        "- line 3 (plane 1) / actuator 61: kind=\"SpeederLine\", id=61, feed=5, feedId=5\n"
        "~ color 1 / actuator 1: state 0 -> 1\n"
        "- color 2: id=2, plane=1, helpAbstract=\"Red yarn\", help=\"Red yarn on feeds 1 "
        "and 2\\r\\nfinger 12 lifted\", actuators: 6\n"
        "- color 2 / actuator 1: kind=\"DrumColor\", id=1, feed=1, feedId=1, state=1\n"
        "- color 2 / actuator 11: kind=\"FingerColor\", id=11, feed=1, feedId=1, state=0\n"
        "- color 2 / actuator 12: kind=\"FingerColor\", id=12, feed=2, feedId=2, state=1\n"
        "- color 2 / actuator 22: kind=\"TriangleColor\", id=22, feed=2, feedId=2, state=2\n"
        "- color 2 / actuator 41: kind=\"StepMotorColor\", id=41, feed=3, feedId=3, "
        "state=0, position=850\n"
        "- color 2 / actuator 61: kind=\"SpeederColor\", id=61, feed=5, feedId=5, "
        "speed=\"-1.250\"\n"
        "+ color 3 / actuator 13: kind=\"FingerColor\", id=13, feed=3, feedId=3, state=1\n"
        "~ design \"\\\\designs\\\\tulip.dis\" / pattern for color 3: remap [1 2 3] -> [1 2]\n"
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
