// Whole outputs of the tool, compared with the expected files of
// testdata/tool/: NAME.out holds the standard output, then the standard
// error after a "--- stderr" line, then each file of the work folder W/
// after a "--- W/NAME" line. KNITCFG_UPDATE_EXPECTED=1 writes them from the
// tool instead: read the changes before committing them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli::test {
namespace {

struct OutputCase {
    const char* name;
    const char* args;  // split at blanks; S/, T/ and W/ as RunWith takes them
    int status;
    const char* input = nullptr;  // copied to W/in.ini before the run
};

const OutputCase kCases[] = {
    {"show-machine", "show S/machine.ini", kExitOk},
    {"show-plane-sections", "show S/plane-sections.ini", kExitOk},
    {"show-no-header", "show S/broken/no-header.ini", kExitNo},
    {"show-no-protection", "show S/broken/no-protection.ini", kExitNo},
    {"show-bad-version", "show S/broken/bad-version.ini", kExitNo},
    {"show-negative-start-block", "show S/broken/negative-start-block.ini", kExitNo},
    {"show-warned", "show T/warned.ini", kExitOk},
    {"show-colors-and-line", "show S/machine.ini --color 3,1 --line 3", kExitOk},
    {"show-plane", "show S/machine.ini --plane 2", kExitOk},
    {"show-designs", "show --designs S/machine.ini", kExitOk},
    {"show-texts", "show T/texts.ini --encoding latin1", kExitOk},
    {"show-texts-utf8", "show T/texts.ini --encoding=UTF-8", kExitOk},
    {"map-machine", "map S/machine.ini", kExitOk},
    {"map-color", "map S/machine.ini --color 2", kExitOk},
    {"map-plane", "map S/machine.ini --plane 2", kExitOk},
    {"map-bom", "map T/bom.ini", kExitNo},
    {"map-utf16", "map T/utf16.ini", kExitNo},
    {"map-wide", "map T/wide.ini", kExitNo},
    {"dump-machine", "dump --json S/machine.ini", kExitOk},
    {"dump-plane-sections", "dump --json S/plane-sections.ini", kExitOk},
    {"dump-no-header", "dump S/broken/no-header.ini", kExitNo},
    {"dump-texts", "dump T/texts.ini", kExitOk},
    {"dump-texts-latin1", "dump T/texts.ini --encoding latin1", kExitOk},
    {"dump-texts-utf8", "dump T/texts.ini --encoding utf8", kExitOk},
    {"diff-same", "diff S/machine.ini S/machine.ini", kExitOk},
    {"diff-hand-edited", "diff S/machine.ini T/machine-hand-edited.ini", kExitOk},
    {"diff-edited", "diff S/machine.ini T/machine-edited.ini", kExitNo},
    {"diff-help", "diff S/plane-sections.ini T/plane-sections-edited.ini", kExitNo},
    {"diff-no-header", "diff S/broken/no-header.ini S/machine.ini", kExitNo},
    {"diff-texts-utf8", "diff T/texts.ini T/warned.ini --encoding utf8", kExitNo},
    {"check-samples",
     "check S/machine.ini S/plane-sections.ini S/broken/bad-version.ini S/broken/empty.ini "
     "S/broken/negative-start-block.ini S/broken/no-header.ini S/broken/no-protection.ini",
     kExitError},
    {"check-files", "check S/machine.ini T/warned.ini T/failed.ini", kExitNo},
    {"check-ok", "check S/machine.ini S/plane-sections.ini", kExitOk},
    {"check-quiet", "check --quiet S/machine.ini T/warned.ini", kExitNo},
    {"check-notes", "check --notes T/warned.ini", kExitNo},
    {"check-json", "check --json --notes T/warned.ini S/machine.ini", kExitNo},
    {"check-json-none", "check --json S/machine.ini", kExitOk},
    {"get-values",
     "get S/machine.ini header machineType -- header version -- header description -- "
     "header lastDevelopSecond -- protected -- plane 2 priority -- color 3 plane -- "
     "color 2 helpAbstract -- color 1 actuator 41 position -- "
     "color 2 actuator 12 state -- color 2 actuator 61 speed -- "
     "color 1 actuator 51 rankPosition -- color 1 actuator 51 rankEndRamp -- "
     "color 1 actuator 51 kind -- line 3 actuator 61 feed -- "
     "line 3 plane 1 actuator 52 feedId -- line 3 plane",
     kExitOk},
    {"get-json-values", "get --json S/machine.ini header machineType -- color 1 help", kExitOk},
    {"get-objects",
     "get S/machine.ini color 2 -- color 1 actuator 51 -- line 0 -- plane 1 -- header", kExitOk},
    {"get-json-objects",
     "get S/machine.ini color 2 --json -- color 1 actuator 61 -- plane 2 -- header", kExitOk},
    {"get-line-help",
     "get S/plane-sections.ini line 0 help -- line 0 -- line 0 plane 1 actuator 11", kExitOk},
    {"get-json-line", "get --json S/plane-sections.ini line 0", kExitOk},
    {"get-texts-utf8", "get --encoding utf8 T/texts.ini header description", kExitOk},
    {"get-no-protection", "get S/broken/no-protection.ini header machineType", kExitNo},
    {"normalize-machine", "normalize S/machine.ini -o W/out.ini", kExitOk},
    {"normalize-hand-edited", "normalize W/in.ini", kExitOk, "T/machine-hand-edited.ini"},
    {"normalize-plane-sections", "normalize S/plane-sections.ini -o W/out.ini", kExitOk},
    {"normalize-preserve", "normalize T/../config/preserve.ini -o W/out.ini", kExitOk},
    {"normalize-keep", "normalize T/../config/preserve.ini -o W/out.ini --keep", kExitOk},
    {"normalize-code", "normalize S/broken/no-header.ini -o W/out.ini", kExitNo},
    {"normalize-force", "normalize --force S/broken/no-header.ini --output W/out.ini", kExitOk},
    {"set-every-field",
     "set W/in.ini header machineType KX-300 -- header version 4.0 -- "
     "header description one\\ntwo -- header numberOfLines 6 -- header startBlock 0 -- "
     "header lastDevelop \\designs\\rose.dis -- header lastDevelopFirst -7 -- "
     "header sourceSdi x.sdi -- protected yes -- plane 2 description Motif -- "
     "plane 2 priority -3 -- color 3 plane 1 -- color 2 help a\\nb -- "
     "color 2 helpAbstract Blue -- color 1 actuator 1 state 32767 -- "
     "color 1 actuator 41 position -2147483648 -- color 1 actuator 11 feed 6 -- "
     "color 1 actuator 11 feedId -32767 -- color 1 actuator 61 speed +10.25 -- "
     "color 1 actuator 51 needlePosition -0.5 -- color 1 actuator 51 rankPosition 7 -- "
     "color 1 actuator 51 needleStartRamp 11 -- color 1 actuator 51 needleEndRamp 21 -- "
     "color 1 actuator 51 rankStartRamp 31 -- color 1 actuator 51 rankEndRamp 41 -- "
     "color 1 actuator 51 startBalance -2 -- color 1 actuator 51 endBalance 3 -- "
     "line 2 actuator 23 feed 4 -- color 2 actuator 41 position 850",
     kExitOk, "S/machine.ini"},
    {"set-hand-edited",
     "set W/in.ini color 1 actuator 1 state 1 -- color 1 actuator 51 rankEndRamp -40 -- "
     "header description two\\nlines -- header version 3.3 -- protected 1",
     kExitOk, "T/set-hand-edited.ini"},
    {"set-force", "set W/in.ini color 1 actuator 1 state 1 --force", kExitOk,
     "S/broken/negative-start-block.ini"},
    {"set-unchanged", "set W/in.ini color 1 actuator 1 state 0", kExitOk, "S/machine.ini"},
};

void PrintTo(const OutputCase& c, std::ostream* out) {
    *out << c.name;
}

class OutputTest : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputTest, IsTheExpectedText) {
    namespace fs = std::filesystem;
    const OutputCase& c = GetParam();
    TempDir work;
    if (c.input != nullptr) {
        WriteFile(work.File("in.ini"), ReadFile(TestFile(c.input)));
    }
    std::vector<std::string> args;
    std::istringstream words(c.args);
    for (std::string word; words >> word;) {
        args.push_back(word);
    }
    const ToolRun run = RunWith(args, work.path());
    std::string text = run.out + (run.err.empty() ? "" : "--- stderr\n" + run.err);
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(work.path())) {
        written.push_back(entry.path().filename().string());
    }
    std::sort(written.begin(), written.end());
    for (const std::string& name : written) {
        text += "--- W/" + name + "\n" + ReadFile(work.File(name));
    }
    const std::string expected = TestFile("T/" + std::string(c.name) + ".out");
    if (std::getenv("KNITCFG_UPDATE_EXPECTED") != nullptr) {
        WriteFile(expected, text);
    }
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(text, ReadFile(expected));
}

INSTANTIATE_TEST_SUITE_P(Tool, OutputTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<OutputCase>& param) {
                             std::string name = param.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
}  // namespace knitcfg::cli::test
