#include "Commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestUtil.h"

namespace knitcfg::cli::test {
namespace {

namespace fs = std::filesystem;

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

TEST(RunToolTest, HelpAndVersion) {
    for (const char* help : {"--help", "-h", "help"}) {
        const ToolRun run = RunTool({help});
        EXPECT_EQ(run.status, kExitOk) << help;
        EXPECT_TRUE(StartsWith(run.out, "Usage: knitcfg COMMAND")) << run.out;
        EXPECT_EQ(run.err, "");
    }
    for (const std::string name :
         {"show", "map", "check", "dump", "diff", "normalize", "get", "set"}) {
        const ToolRun byOption = RunTool({name, "--help"});
        EXPECT_EQ(byOption.status, kExitOk) << name;
        EXPECT_TRUE(StartsWith(byOption.out, "Usage: knitcfg " + name + " ")) << byOption.out;
        EXPECT_EQ(RunTool({"help", name}).out, byOption.out);
        // Help needs no file argument.
        EXPECT_EQ(RunTool({name, "-h"}).out, byOption.out);
    }
    const ToolRun version = RunTool({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_TRUE(StartsWith(version.out, "knitcfg ")) << version.out;
}

// Every way of ending with 2, once: the arguments (S/, T/, W/ as RunWith
// takes them; W/m.ini is the small machine, W/no-header.ini a file that
// loads with 3, W/lines.ini one with line 0 on two planes and no
// lastDevelop), and what the error says. Nothing is printed to standard
// output (but by check, whose report goes there), and no file in W/ changes.
struct ErrorCase {
    std::vector<std::string> args;
    std::string message;
};

const ErrorCase kErrors[] = {
    // Usage.
    {{}, "Usage: knitcfg COMMAND"},
    {{"frobnicate"}, "knitcfg: no command 'frobnicate' (see knitcfg --help)\n"},
    {{"help", "frobnicate"}, "knitcfg: no command 'frobnicate'"},
    {{"show"}, "knitcfg show: missing file argument (see knitcfg show --help)\n"},
    {{"diff", "W/m.ini"}, "knitcfg diff: missing file argument"},
    {{"set", "W/m.ini"}, "knitcfg set: missing file argument"},
    {{"map", "W/m.ini", "W/m.ini"}, "knitcfg map: too many file arguments"},
    {{"show", "--bogus", "W/m.ini"},
     "knitcfg show: unknown option --bogus (see knitcfg show --help)\n"},
    {{"map", "W/m.ini", "--designs"}, "knitcfg map: unknown option --designs"},
    {{"dump", "--xml", "W/m.ini"}, "knitcfg dump: unknown option --xml"},
    {{"diff", "W/m.ini", "W/m.ini", "--color", "1"}, "knitcfg diff: unknown option --color"},
    {{"normalize", "W/m.ini", "-o"}, "knitcfg normalize: option -o needs a value"},
    {{"normalize", "W/m.ini", "--output="}, "knitcfg normalize: the output file name is empty\n"},
    {{"check", "--ext", ",", "W/m.ini"}, "knitcfg check: --ext names no extension"},
    {{"show", "W/m.ini", "--color", "x"}, "knitcfg show: --color takes a number"},
    {{"map", "W/m.ini", "--line", "1,x"}, "knitcfg map: --line takes a number"},
    {{"dump", "W/m.ini", "--encoding", "ebcdic"}, "knitcfg dump: --encoding takes latin1 or utf8"},
    {{"diff", "W/m.ini", "W/m.ini", "--encoding", "ebcdic"}, "knitcfg diff: --encoding takes"},
    {{"get", "--encoding", "ebcdic", "W/m.ini", "header"},
     "knitcfg get: unknown encoding 'ebcdic'"},
    // Filters that name nothing.
    {{"show", "W/m.ini", "--color", "9"}, "knitcfg show: W/m.ini: no color 9; colors: 1, 2, 3\n"},
    {{"show", "W/m.ini", "--line", "1,7"}, "no line 7; lines: 0, 1, 2, 3"},
    {{"show", "W/m.ini", "--color", "32768"},
     "knitcfg show: --color takes a number or a list of them (1,3,5), not '32768'"},
    {{"map", "W/m.ini", "--plane", "0"}, "knitcfg map: --plane takes one plane number, not '0'"},
    {{"show", "W/m.ini", "--plane", "1,2"}, "--plane takes one plane number, not '1,2'"},
    {{"map", "W/m.ini", "--plane", "5"}, "knitcfg map: W/m.ini: no plane 5; planes: 1, 2\n"},
    // Files that cannot be read at all.
    {{"show", "S/broken/empty.ini"},
     "knitcfg show: S/broken/empty.ini: 62 (the file is missing, unreadable or empty): loading "
     "S/broken/empty.ini: "},
    {{"show", "S/broken"}, "knitcfg show: S/broken: 62 "},
    {{"map", "W/missing.ini"}, "knitcfg map: W/missing.ini: 62 "},
    {{"dump", "W/missing.ini"}, "knitcfg dump: W/missing.ini: 62 "},
    {{"diff", "W/missing.ini", "W/m.ini"}, "knitcfg diff: W/missing.ini: 62 "},
    {{"diff", "W/m.ini", "S/broken/empty.ini"}, "knitcfg diff: S/broken/empty.ini: 62 "},
    {{"normalize", "W/missing.ini"}, "knitcfg normalize: W/missing.ini: 62 "},
    {{"get", "W/missing.ini", "header"}, "knitcfg get: W/missing.ini: 62 "},
    {{"set", "W/missing.ini", "protected", "1"}, "knitcfg set: W/missing.ini: 62 "},
    {{"check", "W/m.ini", "W/missing.ini"},
     "W/missing.ini: error: the file cannot be read (loading W/missing.ini: no such file): the "
     "load reports code 62 [unreadable-file]\n"},
    {{"check", "--", "-odd.ini"}, "-odd.ini: load result 62"},
    // Saves that fail.
    {{"normalize", "T/../planes/sections.ini", "-o", "W/out.ini"},
     "knitcfg normalize: saving W/out.ini: 42 ("},
    {{"normalize", "W/m.ini", "-o", "W/none/out.ini"},
     "knitcfg normalize: 63 (replacing the target file with the saved copy failed): saving "
     "W/none/out.ini: "},
    // get: addresses that are none or name nothing.
    {{"get", "W/m.ini", "colour", "1"},
     "knitcfg get: expected header, protected, plane N, color N or line N; got 'colour' (see "
     "knitcfg get --help)\n"},
    {{"get", "W/m.ini", "color", "x"}, "color needs a number; 'x' is none"},
    {{"get", "W/m.ini", "color", "1", "actuator"}, "actuator needs a number"},
    {{"get", "W/m.ini", "header", "version", "extra"}, "'extra' after a whole address"},
    {{"get", "W/m.ini", "color", "9"},
     "knitcfg get: W/m.ini: no color 9: the colors are 1, 2, 3\n"},
    {{"get", "W/m.ini", "plane", "5"}, "no plane 5: the planes are 1, 2"},
    {{"get", "W/m.ini", "line", "9"},
     "no line 9: the lines are 0 (plane 1), 1 (plane 1), 2 (plane 1), 3 (plane 1)"},
    {{"get", "W/m.ini", "line", "1", "plane", "2"}, "no line 1 on plane 2"},
    {{"get", "W/lines.ini", "line", "0"},
     "line 0 is on planes 1, 2: say which, as 'line 0 plane P'"},
    {{"get", "W/m.ini", "line", "0", "actuator", "99"},
     "line 0 plane 1 has no actuator 99; its actuators are 1, 21, 11, 31"},
    {{"get", "W/m.ini", "color", "3", "actuator", "1"},
     "color 3 has no actuator 1; its actuators are 2, 23, 52"},
    {{"get", "W/m.ini", "color", "2", "actuator", "61", "state"},
     "a SpeederColor has no field 'state'; its fields are kind, id, feed, feedId, speed\n"},
    {{"get", "W/m.ini", "line", "0", "actuator", "1", "state"},
     "a DrumLine has no field 'state'; its fields are kind, id, feed, feedId\n"},
    {{"get", "W/m.ini", "header", "colour"},
     "the header has no field 'colour'; its fields are machineType, version"},
    // set: refusals, which change nothing.
    {{"set", "W/no-header.ini", "protected", "1"},
     "knitcfg set: W/no-header.ini loads with 3 (the Header section is missing or empty): not "
     "changed, as what could not be read would be lost (--force changes it)\n"},
    {{"set", "W/m.ini", "protected"}, "knitcfg set: each change is an address and a value"},
    {{"set", "W/m.ini", "colour", "1", "1"}, "knitcfg set: expected header, protected"},
    {{"set", "W/m.ini", "header", "version"},
     "knitcfg set: 'version' is no field name: the value comes after the field"},
    {{"set", "W/m.ini", "color", "1", "plane"}, "'plane' is no field name"},
    {{"set", "W/m.ini", "color", "9", "plane", "1"},
     "knitcfg set: W/m.ini: no color 9: the colors are 1, 2, 3; nothing changed\n"},
    {{"set", "W/m.ini", "color", "1", "actuator", "61", "state", "1"},
     "a SpeederColor has no field 'state'"},
    {{"set", "W/m.ini", "color", "1", "actuator", "51", "position", "1"},
     "a StepMotorDisColor has no field 'position'"},
    {{"set", "W/m.ini", "color", "1", "actuator", "1", "state", "32768"},
     "'32768' is out of range for state: -32768 to 32767"},
    {{"set", "W/m.ini", "color", "1", "actuator", "1", "state", "1.5"}, "'1.5' is not a number"},
    {{"set", "W/m.ini", "color", "1", "actuator", "1", "state", ""}, "'' is not a number"},
    {{"set", "W/m.ini", "color", "1", "actuator", "41", "position", "2147483648"},
     "out of range for position"},
    {{"set", "W/m.ini", "color", "1", "actuator", "61", "speed", "fast"}, "'fast' is not a number"},
    {{"set", "W/m.ini", "color", "1", "actuator", "61", "speed", "+1234567.50"},
     "at most 10 characters"},
    {{"set", "W/m.ini", "color", "1", "id", "4"}, "id cannot be set: it is the color's address"},
    {{"set", "W/m.ini", "color", "3", "plane", "7"}, "no plane 7: the planes are 1, 2"},
    {{"set", "W/m.ini", "color", "2", "help", std::string(260, 'h')},
     "help is too long: at most 259 characters"},
    {{"set", "W/m.ini", "color", "2", "help", "a\nb"}, "help cannot hold control characters"},
    {{"set", "W/m.ini", "line", "2", "help", "x"},
     "help cannot be set: the library does not write it back"},
    {{"set", "W/m.ini", "plane", "1", "description", "a, b"}, "description cannot hold ','"},
    {{"set", "W/m.ini", "plane", "1", "numberOfLines", "3"}, "numberOfLines cannot be set"},
    {{"set", "W/m.ini", "header", "numberOfLines", "0"},
     "out of range for numberOfLines: 1 to 32767"},
    {{"set", "W/m.ini", "header", "version", "3"}, "'3' is not a version"},
    {{"set", "W/m.ini", "header", "machineType", " KX"}, "cannot begin or end with a blank"},
    {{"set", "W/m.ini", "header", "machineType", "\"KX\""}, "cannot be put in quotes"},
    {{"set", "W/m.ini", "header", "lastDevelop", "a,b"}, "lastDevelop cannot hold ','"},
    {{"set", "W/lines.ini", "header", "lastDevelopFirst", "1"},
     "lastDevelopFirst is written only with a lastDevelop name, and there is none"},
    {{"set", "W/m.ini", "header", "lastDevelop", "C:\\d.dis"}, "lastDevelop cannot hold a drive"},
    {{"set", "W/m.ini", "protected", "maybe"}, "'maybe' is not a flag"},
    // A good change before a bad one is not saved either.
    {{"set", "W/m.ini", "color", "1", "plane", "2", "--", "color", "1", "actuator", "1", "state",
      "x"},
     "'x' is not a number"},
};

void PrintTo(const ErrorCase& c, std::ostream* out) {
    for (const std::string& arg : c.args) {
        *out << arg << ' ';
    }
}

class ExitErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ExitErrorTest, SaysWhyAndChangesNothing) {
    const ErrorCase& c = GetParam();
    TempDir work;
    const std::pair<std::string, std::string> inputs[] = {
        {"m.ini", "S/machine.ini"},
        {"no-header.ini", "S/broken/no-header.ini"},
        {"lines.ini", "T/two-planes.ini"}};
    for (const auto& [name, from] : inputs) {
        WriteFile(work.File(name), ReadFile(TestFile(from)));
    }
    const ToolRun run = RunWith(c.args, work.path());
    EXPECT_EQ(run.status, kExitError);
    EXPECT_NE((run.err + run.out).find(c.message), std::string::npos) << run.err << run.out;
    if (c.args.empty() || c.args[0] != "check") {
        EXPECT_EQ(run.out, "");
    }
    for (const auto& [name, from] : inputs) {
        EXPECT_EQ(ReadFile(work.File(name)), ReadFile(TestFile(from))) << name;
    }
    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(work.path())) {
        files.insert(entry.path().filename().string());
    }
    EXPECT_EQ(files, (std::set<std::string>{"m.ini", "no-header.ini", "lines.ini"}));
}

INSTANTIATE_TEST_SUITE_P(Tool, ExitErrorTest, ::testing::ValuesIn(kErrors));

// Output that cannot be written is an error too, whatever the command did.
TEST(RunToolTest, AFailedOutputIsAnError) {
    char program[] = "knitcfg";
    char option[] = "--version";
    char* argv[] = {program, option, nullptr};
    std::ostringstream out;
    std::ostringstream err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(cli::RunTool(2, argv, out, err), kExitError);
    EXPECT_EQ(err.str(), "knitcfg: error: the output could not be written\n");
}

// No file, however broken, makes a command crash or end otherwise than
// with 0, 1 or 2.
TEST(RunToolTest, EveryCommandSurvivesEveryBrokenFile) {
    TempDir dir;
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(Sample("broken"))) {
        files.push_back(entry.path().string());
    }
    const std::string junk = dir.File("junk.ini");
    std::string bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes += static_cast<char>((i * 131 + 7) % 256);
    }
    WriteFile(junk, "[\r[]]\n=\n[Color_\n" + bytes + "\n[Line_x]\nDrum_0=,,,\n");
    files.push_back(junk);
    files.push_back(dir.path());
    for (const std::string& file : files) {
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"show", file},
                 {"map", file},
                 {"check", file},
                 {"dump", "--json", file},
                 {"diff", file, Sample("machine.ini")},
                 {"normalize", file, "-o", dir.File("out.ini")},
                 {"get", file, "color", "1", "--", "line", "0", "actuator", "1", "feed"},
                 {"set", "--force", file == junk ? junk : dir.File("absent.ini"), "color", "1",
                  "help", "x"}}) {
            const ToolRun run = RunTool(args);
            EXPECT_GE(run.status, kExitOk) << args[0] << ' ' << file;
            EXPECT_LE(run.status, kExitError) << args[0] << ' ' << file;
        }
    }
}

}  // namespace
}  // namespace knitcfg::cli::test
