#include "GetSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli {
namespace {

using test::ReadFile;
using test::RunTool;
using test::Sample;
using test::TempDir;
using test::ToolRun;
using test::WriteFile;
using Args = std::vector<std::string>;

std::string Shown(const Args& args) {
    std::string out;
    for (const std::string& arg : args) {
        out += arg + ' ';
    }
    return out;
}

Args With(const std::string& command, const std::string& file, const Args& words) {
    Args args{command, file};
    args.insert(args.end(), words.begin(), words.end());
    return args;
}

// The bundled machine, in the library's own form.
class GetSetFixture : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_.File("machine.ini");
        WriteFile(file_, ReadFile(Sample("machine.ini")));
    }

    ToolRun Get(const Args& words) { return RunTool(With("get", file_, words)); }
    ToolRun Set(const Args& words) { return RunTool(With("set", file_, words)); }

    TempDir dir_;
    std::string file_;
};

using GetTest = GetSetFixture;
using SetTest = GetSetFixture;

TEST_F(GetTest, PrintsOneValuePerAddress) {
    const struct {
        Args words;
        std::string out;
    } cases[] = {
        {{"header", "machineType"}, "KX-240\n"},
        {{"header", "version"}, "3.2\n"},
        {{"header", "description"},
         "Sample machine of the knitcfg project\\nsix feeds, two planes\n"},
        {{"header", "lastDevelopSecond"}, "1\n"},
        {{"protected"}, "false\n"},
        {{"plane", "2", "priority"}, "1\n"},
        {{"color", "3", "plane"}, "2\n"},
        {{"color", "2", "helpAbstract"}, "Red yarn\n"},
        {{"color", "1", "actuator", "41", "position"}, "-1200\n"},
        {{"color", "2", "actuator", "12", "state"}, "1\n"},
        {{"color", "2", "actuator", "61", "speed"}, "-1.250\n"},
        {{"color", "1", "actuator", "51", "rankPosition"}, "-3.250\n"},
        {{"color", "1", "actuator", "51", "rankEndRamp"}, "40\n"},
        {{"color", "1", "actuator", "51", "kind"}, "StepMotorDisColor\n"},
        {{"line", "3", "actuator", "61", "feed"}, "5\n"},
        {{"line", "3", "plane", "1", "actuator", "52", "feedId"}, "4\n"},
        {{"line", "3", "plane"}, "1\n"},
        {{"--json", "header", "machineType"}, "\"KX-240\"\n"},
        {{"color", "1", "help", "--json"}, "\"Plain ground yarn\\r\\nknitted on every feed\"\n"},
        {{"protected", "--", "color", "1", "actuator", "1", "state"}, "false\n0\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Get(c.words);
        EXPECT_EQ(run.status, kExitOk) << Shown(c.words) << run.err;
        EXPECT_EQ(run.out, c.out) << Shown(c.words);
    }
}

TEST_F(GetTest, ObjectsPrintAsDumpAndShowDo) {
    const test::Node dump = test::ParseJson(RunTool({"dump", "--json", file_}).out);
    const test::Node& color2 = dump.Find("colors")->items[1];
    EXPECT_EQ(test::ParseJson(Get({"--json", "color", "2"}).out), color2);
    EXPECT_EQ(test::ParseJson(Get({"--json", "color", "2", "actuator", "41"}).out),
              color2.Find("actuators")->items[4]);
    EXPECT_EQ(test::ParseJson(Get({"--json", "header"}).out), *dump.Find("header"));

    const std::string shown = Get({"color", "2"}).out;
    EXPECT_EQ(shown.rfind("Color 2, plane 1\n", 0), 0u) << shown;
    EXPECT_NE(shown.find("StepMotorColor  41     3        3      0       850"), std::string::npos)
        << shown;
    const std::string actuator = Get({"color", "1", "actuator", "51"}).out;
    EXPECT_NE(actuator.find("51  +12.500       10     20  -3.250"), std::string::npos) << actuator;
}

TEST_F(GetTest, RefusesAddressesThatNameNothingSayingWhatExists) {
    const struct {
        Args words;
        std::string message;
    } cases[] = {
        {{"colour", "1"}, "expected header, protected, plane N, color N or line N; got 'colour'"},
        {{"color", "x"}, "color needs a number; 'x' is none"},
        {{"color", "1", "actuator"}, "actuator needs a number"},
        {{"header", "version", "extra"}, "'extra' after a whole address"},
        {{"color", "9"}, "no color 9: the colors are 1, 2, 3"},
        {{"plane", "5"}, "no plane 5: the planes are 1, 2"},
        {{"line", "9"},
         "no line 9: the lines are 0 (plane 1), 1 (plane 1), 2 (plane 1), 3 (plane 1)"},
        {{"line", "1", "plane", "2"}, "no line 1 on plane 2"},
        {{"color", "3", "actuator", "1"}, "color 3 has no actuator 1; its actuators are 2, 23, 52"},
        {{"color", "2", "actuator", "61", "state"},
         "a SpeederColor has no field 'state'; its fields are kind, id, feed, feedId, speed"},
        {{"line", "0", "actuator", "1", "state"},
         "a DrumLine has no field 'state'; its fields are kind, id, feed, feedId"},
        {{"header", "colour"},
         "the header has no field 'colour'; its fields are machineType, version"},
    };
    for (const auto& c : cases) {
        const ToolRun run = Get(c.words);
        EXPECT_EQ(run.status, kExitError) << Shown(c.words);
        EXPECT_EQ(run.out, "") << Shown(c.words);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << Shown(c.words) << run.err;
    }
    EXPECT_EQ(RunTool({"get", dir_.File("missing.ini"), "header"}).status, kExitError);
}

TEST_F(GetTest, FileWithALoadCodeIsReadAsFarAsItGoes) {
    WriteFile(file_, "[Header]\nMachineType=KX\n");
    const ToolRun run = Get({"header", "machineType"});
    EXPECT_EQ(run.status, kExitNo);
    EXPECT_EQ(run.out, "KX\n");
    EXPECT_NE(run.err.find("loads with 2"), std::string::npos) << run.err;
}

// Every settable field, set in one call: each reads back from the file as
// set, and each change is one diff line.
TEST_F(SetTest, EveryFieldReadsBackAsSet) {
    const struct {
        Args address;
        std::string value;
        std::string line;  // printed by set
    } cases[] = {
        {{"header", "machineType"}, "KX-300", "~ header: machineType \"KX-240\" -> \"KX-300\""},
        {{"header", "version"},
         "4.0",
         "~ header: versionMajor 3 -> 4\n~ header: versionMinor 2 -> 0"},
        {{"header", "description"},
         "one\\ntwo",
         "~ header: description \"Sample machine of the knitcfg project\\nsix feeds, two planes\" "
         "-> \"one\\ntwo\""},
        {{"header", "numberOfLines"}, "6", "~ header: numberOfLines 4 -> 6"},
        {{"header", "startBlock"}, "0", "~ header: startBlock 2 -> 0"},
        {{"header", "lastDevelop"},
         "\\designs\\rose.dis",
         "~ header: lastDevelop \"\\designs\\tulip.dis\" -> \"\\designs\\rose.dis\""},
        {{"header", "lastDevelopFirst"}, "-7", "~ header: lastDevelopFirst 3 -> -7"},
        {{"header", "sourceSdi"},
         "x.sdi",
         "~ header: sourceSdi \"\\machines\\kx240\\factory.sdi\" -> \"x.sdi\""},
        {{"protected"}, "yes", "~ protected: false -> true"},
        {{"plane", "2", "description"}, "Motif", "~ plane 2: description \"Pattern\" -> \"Motif\""},
        {{"plane", "2", "priority"}, "-3", "~ plane 2: priority 1 -> -3"},
        {{"color", "3", "plane"}, "1", "~ color 3: plane 2 -> 1"},
        {{"color", "2", "help"},
         "a\\nb",
         "~ color 2: help \"Red yarn on feeds 1 and 2\\nfinger 12 lifted\" -> \"a\\nb\""},
        {{"color", "2", "helpAbstract"},
         "Blue",
         "~ color 2: helpAbstract \"Red yarn\" -> \"Blue\""},
        {{"color", "1", "actuator", "1", "state"},
         "32767",
         "~ color 1 actuator 1: state 0 -> 32767"},
        {{"color", "1", "actuator", "41", "position"},
         "-2147483648",
         "~ color 1 actuator 41: position -1200 -> -2147483648"},
        {{"color", "1", "actuator", "11", "feed"}, "6", "~ color 1 actuator 11: feed 1 -> 6"},
        {{"color", "1", "actuator", "11", "feedId"},
         "-32767",
         "~ color 1 actuator 11: feedId 1 -> -32767"},
        {{"color", "1", "actuator", "61", "speed"},
         "+10.25",
         "~ color 1 actuator 61: speed \"+0.750\" -> \"+10.25\""},
        {{"color", "1", "actuator", "51", "needlePosition"},
         "-0.5",
         "~ color 1 actuator 51: needlePosition \"+12.500\" -> \"-0.5\""},
        {{"color", "1", "actuator", "51", "rankPosition"},
         "7",
         "~ color 1 actuator 51: rankPosition \"-3.250\" -> \"7\""},
        {{"color", "1", "actuator", "51", "needleStartRamp"},
         "11",
         "~ color 1 actuator 51: needleStartRamp 10 -> 11"},
        {{"color", "1", "actuator", "51", "needleEndRamp"},
         "21",
         "~ color 1 actuator 51: needleEndRamp 20 -> 21"},
        {{"color", "1", "actuator", "51", "rankStartRamp"},
         "31",
         "~ color 1 actuator 51: rankStartRamp 30 -> 31"},
        {{"color", "1", "actuator", "51", "rankEndRamp"},
         "41",
         "~ color 1 actuator 51: rankEndRamp 40 -> 41"},
        {{"color", "1", "actuator", "51", "startBalance"},
         "-2",
         "~ color 1 actuator 51: startBalance 1 -> -2"},
        {{"color", "1", "actuator", "51", "endBalance"},
         "3",
         "~ color 1 actuator 51: endBalance 2 -> 3"},
        {{"line", "2", "actuator", "23", "feed"}, "4", "~ line 2 plane 1 actuator 23: feed 3 -> 4"},
    };
    Args words;
    std::string lines;
    for (const auto& c : cases) {
        if (!words.empty()) {
            words.push_back("--");
        }
        words.insert(words.end(), c.address.begin(), c.address.end());
        words.push_back(c.value);
        lines += c.line + "\n";
    }
    const ToolRun run = Set(words);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, lines);
    for (const auto& c : cases) {
        const std::string expected = c.value == "yes" ? "true" : c.value;
        EXPECT_EQ(Get(c.address).out, expected + "\n") << Shown(c.address);
    }
    EXPECT_EQ(RunTool({"check", file_}).status, kExitOk);
}

TEST_F(SetTest, RefusesWhatTheFieldCannotHoldAndChangesNothing) {
    const struct {
        Args words;
        std::string message;
    } cases[] = {
        {{"color", "1", "actuator", "1", "state", "32768"},
         "'32768' is out of range for state: -32768 to 32767"},
        {{"color", "1", "actuator", "1", "state", "1.5"}, "'1.5' is not a number"},
        {{"color", "1", "actuator", "1", "state", ""}, "'' is not a number"},
        {{"color", "1", "actuator", "41", "position", "2147483648"}, "out of range for position"},
        {{"color", "1", "actuator", "61", "speed", "fast"}, "'fast' is not a number"},
        {{"color", "1", "actuator", "61", "speed", "+1234567.50"}, "at most 10 characters"},
        {{"color", "1", "actuator", "61", "state", "1"}, "a SpeederColor has no field 'state'"},
        {{"color", "1", "actuator", "51", "position", "1"},
         "a StepMotorDisColor has no field 'position'"},
        {{"color", "1", "id", "4"}, "id cannot be set: it is the color's address"},
        {{"color", "3", "plane", "7"}, "no plane 7: the planes are 1, 2"},
        {{"color", "2", "help", std::string(260, 'h')}, "help is too long: at most 259 characters"},
        {{"color", "2", "help", "a\nb"}, "help cannot hold control characters"},
        {{"line", "2", "help", "x"}, "help cannot be set: the library does not write it back"},
        {{"plane", "1", "description", "a, b"}, "description cannot hold ','"},
        {{"plane", "1", "numberOfLines", "3"}, "numberOfLines cannot be set"},
        {{"header", "numberOfLines", "0"}, "out of range for numberOfLines: 1 to 32767"},
        {{"header", "version", "3"}, "'3' is not a version"},
        {{"header", "machineType", " KX"}, "cannot begin or end with a blank"},
        {{"header", "machineType", "\"KX\""}, "cannot be put in quotes"},
        {{"header", "lastDevelop", "a,b"}, "lastDevelop cannot hold ','"},
        {{"header", "lastDevelop", "C:\\d.dis"}, "lastDevelop cannot hold a drive"},
        {{"protected", "maybe"}, "'maybe' is not a flag"},
        {{"color", "9", "plane", "1"}, "no color 9: the colors are 1, 2, 3"},
        {{"color", "1", "plane"}, "'plane' is no field name"},
        {{"header", "version"}, "'version' is no field name: the value comes after the field"},
        {{"protected"}, "each change is an address and a value"},
        // A good change before a bad one is not saved either.
        {{"color", "1", "plane", "2", "--", "color", "1", "actuator", "1", "state", "x"},
         "'x' is not a number"},
    };
    const std::string before = ReadFile(file_);
    for (const auto& c : cases) {
        const ToolRun run = Set(c.words);
        EXPECT_EQ(run.status, kExitError) << Shown(c.words);
        EXPECT_EQ(run.out, "") << Shown(c.words);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << Shown(c.words) << run.err;
        EXPECT_EQ(ReadFile(file_), before) << Shown(c.words);
    }
}

TEST_F(SetTest, FileThatDoesNotLoadWithZeroOnlyWithForce) {
    std::string broken = ReadFile(file_);
    broken.erase(broken.find("StartBlock=2"), 12);  // code 9
    WriteFile(file_, broken);
    const Args words{"color", "1", "actuator", "1", "state", "1"};
    ToolRun run = Set(words);
    EXPECT_EQ(run.status, kExitError);
    EXPECT_NE(run.err.find("loads with 9"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(file_), broken);
    run = RunTool(With("set", file_, {"--force", "color", "1", "actuator", "1", "state", "1"}));
    // --force is an option, taken wherever it stands after FILE too.
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Get({"color", "1", "actuator", "1", "state"}).out, "1\n");
    EXPECT_EQ(RunTool({"set", dir_.File("missing.ini"), "protected", "1"}).status, kExitError);
}

// Only the changed line differs; a value that does not change leaves the
// file alone.
TEST_F(SetTest, KeepsEveryOtherByte) {
    const std::string before = ReadFile(file_);
    ToolRun run = Set({"color", "1", "actuator", "1", "state", "0"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "");

    run = Set({"color", "2", "actuator", "41", "position", "-5"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    std::string expected = before;
    const std::string old = "SteppingMotor_000=41, 3, 3, 0, 850";
    expected.replace(expected.find(old), old.size(), "SteppingMotor_000=41, 3, 3, 0, -5");
    EXPECT_EQ(ReadFile(file_), expected);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (const char c : text) {
        lines.back() += c;
        if (c == '\n') {
            lines.emplace_back();
        }
    }
    return lines;
}

// A file as people edit them: comments, blank lines, blanks around '=',
// keys and sections the library does not know. Each set changes the one
// line of its value, and no other byte. (The preserving save writes the
// entries of a color it changes in the library's form, so color 1's are
// typed that way; color 2, which no set changes, keeps its own.)
TEST_F(SetTest, HandEditedFileKeepsEveryOtherLine) {
    const std::string text =
        "; machine KX-240, edited by hand\n"
        "[Protection]\n"
        "ConfigProtected = 0\n"
        "\n"
        "[Header]\n"
        "MachineType=KX-240\n"
        "Version=3.2\n"
        "Description=demo ; not a comment\n"
        "NumberOfLines=4\n"
        "StartBlock=2\n"
        "Operator=anna\n"
        "\n"
        "; the ground color\n"
        "[Color_001]\n"
        "ID=1\n"
        "Plane=1\n"
        "HelpAbstract=Ground\n"
        "Help=x\n"
        "Drum_000=1, 1, 1, 0\n"
        "Finger_000=11, 1, 1, 1\n"
        "SteppingMotorDis_000=51 4 4 +12.500 10 20 -3.250 30 40 1 2\n"
        "\n"
        "[Maintenance]\n"
        "Checked=2026-11-02\n"
        "[ColorPlanes]\n"
        "Plane_001=1, Background, 0\n"
        "[Color_002]\n"
        "ID = 2\n"
        "Plane=1\n"
        "Drum_007 = 2,  3, 3, 1\n"
        "; lifted on feed 3\n"
        "Finger_002=12, 3, 3, 0\n";
    const struct {
        Args words;
        std::size_t line;  // the one line that changes, from 0
        std::string value;
    } cases[] = {
        {{"color", "1", "actuator", "1", "state"}, 18, "1"},
        {{"color", "1", "actuator", "51", "rankEndRamp"}, 20, "-40"},
        {{"header", "description"}, 7, "two\\nlines"},
        {{"header", "version"}, 6, "3.3"},
        {{"protected"}, 2, "true"},
    };
    for (const auto& c : cases) {
        WriteFile(file_, text);
        Args words = c.words;
        words.push_back(c.value == "true" ? "1" : c.value);
        const ToolRun run = Set(words);
        ASSERT_EQ(run.status, kExitOk) << Shown(words) << run.err;
        const std::vector<std::string> before = Lines(text);
        const std::vector<std::string> after = Lines(ReadFile(file_));
        ASSERT_EQ(after.size(), before.size()) << ReadFile(file_);
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (i != c.line) {
                EXPECT_EQ(after[i], before[i]) << Shown(words) << " line " << i;
            }
        }
        EXPECT_NE(after[c.line], before[c.line]) << Shown(words);
        EXPECT_EQ(Get(c.words).out, c.value + "\n") << Shown(words);
    }
}

}  // namespace
}  // namespace knitcfg::cli
