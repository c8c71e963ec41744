#include "Show.h"

#include <gtest/gtest.h>

#include <knitcfg/knitcfg.h>

#include <string>
#include <utility>
#include <vector>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli {
namespace {

using test::RunTool;
using test::Sample;

bool Holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ShowTest, SmallMachineReadsAsTables) {
    const test::ToolRun run = RunTool({"show", Sample("machine.ini")});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(run.err.empty());
    const std::string& out = run.out;
    EXPECT_TRUE(Holds(out, "Load result  0 (success)\n")) << out;
    // The header, a description over two lines.
    EXPECT_TRUE(Holds(out,
                      "  Description   Sample machine of the knitcfg project\n"
                      "                six feeds, two planes\n"))
        << out;
    EXPECT_TRUE(Holds(out, "  Last develop  \\designs\\tulip.dis, 3, 1\n")) << out;
    EXPECT_TRUE(Holds(out, "  Protected     no\n")) << out;
    // Lines: only the values every line actuator has.
    EXPECT_TRUE(Holds(out,
                      "  Line 3, plane 1\n"
                      "    kind              id  feed  feed id\n"
                      "    StepMotorDisLine  52     4        4\n"
                      "    SpeederLine       61     5        5\n"))
        << out;
    // A color: the kind's own values, empty where a kind has none.
    EXPECT_TRUE(Holds(out,
                      "  Color 1, plane 1\n"
                      "    Abstract  Ground\n"
                      "    Help      Plain ground yarn\n"
                      "              knitted on every feed\n"
                      "    kind               id  feed  feed id  state  position   speed\n"
                      "    TriangleColor      21     1        1      1\n"))
        << out;
    EXPECT_TRUE(Holds(out, "    StepMotorColor     41     3        3      1     -1200\n")) << out;
    EXPECT_TRUE(Holds(out, "    StepMotorDisColor  51     4        4\n")) << out;
    EXPECT_TRUE(Holds(out, "    SpeederColor       61     5        5                   +0.750\n"))
        << out;
    EXPECT_TRUE(
        Holds(out,
              "    id  needles  n.start  n.end   ranks  r.start  r.end  bal.start  bal.end\n"
              "    51  +12.500       10     20  -3.250       30     40          1        2\n"))
        << out;
    // A color without positions or speeds has no such columns.
    EXPECT_TRUE(Holds(out,
                      "  Color 3, plane 2\n"
                      "    Abstract  Tulip\n"
                      "    Help      Pattern color of the tulip design\n"
                      "              plane 2, design motor set\n"
                      "    kind               id  feed  feed id  state\n"))
        << out;
    EXPECT_TRUE(Holds(out,
                      "  Design \\designs\\tulip.dis  (3, 1)\n"
                      "    color  association  pattern               remap\n"
                      "        1            0  \\patterns\\ground.pat\n"
                      "        3            5  \\patterns\\tulip.pat   1 2 3\n"))
        << out;
    EXPECT_TRUE(Holds(out,
                      "Shaved designs (2)\n"
                      "  name   first  second  third  elements\n"
                      "  motif      1       2      3  10 20 30\n"
                      "  edge       0       4      1  7 4294967295\n"))
        << out;
    // No line ends in blanks.
    EXPECT_FALSE(Holds(out, " \n")) << out;
}

TEST(ShowTest, AFileWithACodeIsShownAsFarAsItWasRead) {
    const test::ToolRun run = RunTool({"show", Sample("broken/no-header.ini")});
    EXPECT_EQ(run.status, kExitNo);
    EXPECT_TRUE(Holds(run.out, "Load result  3 (the Header section is missing or empty)\n"));
    EXPECT_TRUE(Holds(run.out, "Colors (1)\n  Color 1, plane 1\n")) << run.out;
    EXPECT_TRUE(Holds(run.out, "Lines: none\n")) << run.out;
    EXPECT_TRUE(Holds(run.out, "Generated designs: none\n")) << run.out;
}

TEST(ShowTest, AnUnreadableFileIsAnError) {
    for (const std::string& path :
         {Sample("broken/empty.ini"), Sample("no-such-file.ini"), Sample("broken")}) {
        const test::ToolRun run = RunTool({"show", path});
        EXPECT_EQ(run.status, kExitError) << path;
        EXPECT_TRUE(run.out.empty()) << path;
        EXPECT_EQ(run.err.rfind("knitcfg show: " + path +
                                    ": 62 (the file is missing, unreadable or empty): loading " +
                                    path + ": ",
                                0),
                  0u)
            << run.err;
    }
}

TEST(ShowTest, HostileTextsCannotDriveTheTerminal) {
    test::TempDir dir;
    const std::string path = dir.File("escape.ini");
    test::WriteFile(path,
                    "[Protection]\nConfigProtected=0\n[Header]\nMachineType=\x1b[2J\n"
                    "Version=1.0\nDescription=bell\x07\nNumberOfLines=1\nStartBlock=0\n"
                    "[Color_001]\nID=1\nPlane=1\nSpeeder_000=1, 1, 1, \x1b]0;x\x07\n");
    const test::ToolRun run = RunTool({"show", path});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x07'), std::string::npos) << run.out;
    EXPECT_TRUE(Holds(run.out, "  Machine type  ?[2J\n")) << run.out;
}

TEST(ShowTest, CellTextOfEveryKindOfValue) {
    const std::vector<short> list{4, -1};
    Value values;
    values.type = Value::Type::Shorts;
    values.shorts = &list;
    EXPECT_EQ(CellText(values), "4 -1");
    EXPECT_EQ(CellText(Value::Null()), "");
    EXPECT_EQ(CellText(Value::Short(kNoValue)), "");
    EXPECT_EQ(CellText(Value::Bool(true)), "yes");
    EXPECT_EQ(CellText(Value::Text("+0.750")), "+0.750");
}

// The filters: each keeps its part and leaves out the others; the file and
// its load result always come first.
TEST(ShowTest, FiltersKeepOnlyTheirParts) {
    struct Case {
        std::vector<std::string> options;
        std::vector<std::string> present, absent;
    };
    const Case cases[] = {
        {{"--color", "2"},
         {"Colors (1)\n  Color 2, plane 1\n"},
         {"Header", "Color 1,", "Lines", "Planes", "Generated designs"}},
        {{"--color", "1,3", "--line", "3"},
         {"Color 1, plane 1", "Color 3, plane 2", "Lines (1)\n  Line 3, plane 1\n"},
         {"Color 2,", "Header", "Generated designs"}},
        {{"--plane", "2"},
         {"Header", "Planes (1)\n  Plane 2\n", "Colors (1)\n  Color 3, plane 2\n"},
         {"Color 1,", "Generated designs", "Shaved designs"}},
        {{"--designs"},
         {"Generated designs (2)", "Shaved designs (2)"},
         {"Header", "Colors", "Lines"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"show", Sample("machine.ini")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const test::ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, kExitOk) << run.err;
        // The count of findings, then the file.
        EXPECT_EQ(run.out.rfind("Findings: ", 0), 0u) << run.out;
        EXPECT_TRUE(Holds(run.out, "\n\nFile  ")) << run.out;
        for (const std::string& part : c.present) {
            EXPECT_TRUE(Holds(run.out, part)) << c.options[0] << ": " << part << "\n" << run.out;
        }
        for (const std::string& part : c.absent) {
            EXPECT_FALSE(Holds(run.out, part)) << c.options[0] << ": " << part << "\n" << run.out;
        }
    }
}

TEST(ShowTest, AFilterNamingNothingIsAnErrorThatSaysWhatExists) {
    const std::string machine = Sample("machine.ini");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--color", "9"}, "no color 9; colors: 1, 2, 3"},
        {{"--line", "1,7"}, "no line 7; lines: "},
        {{"--plane", "5"}, "no plane 5; planes: 1, 2"},
        {{"--color", "x"}, "--color takes a number"},
        {{"--encoding", "ebcdic"}, "--encoding takes latin1 or utf8"},
    };
    for (const auto& [options, message] : cases) {
        for (const char* command : {"show", "map"}) {
            if (options[0] == "--encoding" && std::string(command) == "map") {
                continue;
            }
            std::vector<std::string> args{command, machine};
            args.insert(args.end(), options.begin(), options.end());
            const test::ToolRun run = RunTool(args);
            EXPECT_EQ(run.status, kExitError) << command << ' ' << options[0];
            EXPECT_EQ(run.out, "");
            EXPECT_TRUE(Holds(run.err, message)) << run.err;
        }
    }
}

TEST(ShowTest, EightBitTextAsTheFileHoldsItOrConverted) {
    test::TempDir dir;
    const std::string path = dir.File("latin.ini");
    test::WriteFile(
        path,
        "[Protection]\r\nConfigProtected=0\r\n[Header]\r\nMachineType=M\xe4schine\x80\r\n"
        "Version=1.0\r\nDescription=d\r\nNumberOfLines=1\r\nStartBlock=0\r\n");
    EXPECT_TRUE(Holds(RunTool({"show", path}).out, "Machine type  M\xe4schine\x80\n"));
    EXPECT_TRUE(Holds(RunTool({"show", path, "--encoding", "latin1"}).out,
                      "Machine type  M\xe4schine\x80\n"));
    EXPECT_TRUE(Holds(RunTool({"show", path, "--encoding=UTF-8"}).out,
                      "Machine type  M\xc3\xa4schine\xe2\x82\xac\n"));
}

}  // namespace
}  // namespace knitcfg::cli
