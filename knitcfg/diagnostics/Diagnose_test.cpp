#include "knitcfg/diagnostics/Diagnostic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

namespace fs = std::filesystem;

using test::TempDir;
using test::WriteFile;

// Lines 1 to 8: a protection and a header that load with 0.
const std::string kHead =
    "[Protection]\nConfigProtected=0\n[Header]\nMachineType=KX\nVersion=3.2\nDescription=d\n"
    "NumberOfLines=1\nStartBlock=0\n";
// Lines 9 to 11: a color section's own keys; its entries follow on line 12.
const std::string kColor = kHead + "[Color_001]\nID=1\nPlane=1\n";
// A color of three numbers in a line section: lines 9 and 10.
const std::string kLine = kHead + "[Line_000]\n";
// One plane entry (lines 9 and 10), then a color on plane 2 (lines 11 to 13).
const std::string kPlanes = kHead + "[ColorPlanes]\nPlane_001=1, Ground, 0\n";

// kHead with one line changed (an empty `to` removes the line).
std::string Head(const std::string& from, const std::string& to) {
    std::string text = kHead;
    const std::size_t at = text.find(from + "\n");
    return text.replace(at, from.size() + 1, to.empty() ? "" : to + "\n");
}

struct Case {
    const char* fault;
    std::string text;
    const char* id;
    int line;
    // The errors and warnings of the file, all told: a fault gives only its own.
    std::size_t findings;
    // A part of the finding's message, where its wording is the point.
    const char* says = "";
};

const Case kCases[] = {
    // The load's codes, each on its line.
    {"no protection", kHead.substr(31), "missing-section", 0, 1},
    {"no protection key", Head("ConfigProtected=0", ""), "missing-key", 1, 1},
    {"protection -1", Head("ConfigProtected=0", "ConfigProtected=-1"), "refused-value", 2, 1},
    {"no header", kHead.substr(0, 31), "missing-section", 0, 1},
    {"no machine type", Head("MachineType=KX", ""), "missing-key", 3, 1},
    {"version of one number", Head("Version=3.2", "Version=3"), "refused-value", 5, 1},
    {"no lines", Head("NumberOfLines=1", "NumberOfLines=0"), "refused-value", 7, 1},
    {"negative start block", Head("StartBlock=0", "StartBlock=-1"), "refused-value", 8, 1},
    {"no section at all", "ConfigProtected=0\n", "no-sections", 0, 1},
    {"UTF-16", std::string("\xff\xfe[\0P\0", 6), "utf16", 0, 1},
    {"UTF-16 without mark", std::string("[\0P\0r\0", 6), "utf16", 0, 1},
    // The file itself.
    {"byte-order mark", "\xef\xbb\xbf" + kHead, "utf8-bom", 1, 3},
    {"NUL byte", kHead + "[Color_001]\nID=1\nPlane=1\nHelp=a" + std::string(1, '\0') + "b\n",
     "nul-bytes", 12, 1},
    {"mixed line ends", kHead + "[Color_001]\r\nID=1\nPlane=1\n", "mixed-line-ends", 9, 1},
    {"text before the first section", "x=\x1b\n" + kHead, "outside-section", 1, 1, "'x=\\x1B'"},
    // Sections.
    {"section repeated", kColor + "[Color_001]\nID=2\n", "repeated-section", 12, 1},
    {"section in other letter case", kHead + "[color_002]\nID=2\n", "section-letter-case", 9, 1},
    {"misspelt color section", kHead + "[Colour_002]\nID=2\n", "misspelt-section", 9, 1},
    {"line section without _", kHead + "[Line000]\nDrum_000=1, 1, 1\n", "misspelt-section", 9, 1},
    {"misspelt header section", kHead + "[Hedaer]\n", "misspelt-section", 9, 1},
    {"empty color section", kHead + "[Color_002]\n", "empty-section", 9, 1},
    {"number not the name's", kHead + "[Color_005]\nID=3\nPlane=1\n", "number-mismatch", 10, 1},
    // The later color also has a number that is not its name's.
    {"two colors of one number", kColor + "[Color_002]\nID=1\nPlane=1\n", "repeated-number", 13, 2},
    {"color without plane", kHead + "[Color_001]\nID=1\n", "missing-color-key", 9, 1},
    {"design not listed", kHead + "[\\dis\\a.dis]\n1=\\p,0\n", "unlisted-design", 9, 1},
    // Keys.
    {"key repeated", kColor + "Drum_000=1, 1, 1, 0\nDrum_000=2, 1, 1, 0\n", "repeated-key", 13, 1},
    {"header key misspelt", kHead + "Desciption=e\n", "misspelt-key", 9, 1},
    {"number cut to 16 bits", Head("NumberOfLines=1", "NumberOfLines=65537"), "number-cut", 7, 1},
    {"empty number", Head("NumberOfLines=1", "NumberOfLines="), "refused-value", 7, 1},
    {"lenient number", Head("NumberOfLines=1", "NumberOfLines=1abc"), "lenient-number", 7, 1},
    {"line without =", kColor + "Drum_000 1, 1, 1, 0\n", "line-without-equals", 12, 1},
    {"key listing cut",
     kColor +
         [] {
             std::string many;
             for (int i = 0; i < 900; ++i) {
                 many +=
                     "Drum_" + std::to_string(1000 + i) + "=" + std::to_string(i) + ", 1, 1, 0\n";
             }
             return many;
         }(),
     // "ID", "Plane" and 819 keys of 10 bytes pass the 8190 bytes listed.
     "listing-cut", 12 + 818, 1},
    // Actuator entries.
    {"unknown kind", kColor + "Motor_000=1, 1, 1, 0\n", "unknown-kind", 12, 1},
    {"kind in other letter case", kColor + "drum_000=1, 1, 1, 0\n", "kind-letter-case", 12, 1},
    {"misspelt kind", kColor + "Fingr_001=1, 1, 1, 0\n", "misspelt-kind", 12, 1},
    // Without '_', the kind is the key's leading letters.
    {"kind without _", kColor + "Drum000=1, 1, 1, 0\n", "misspelt-kind", 12, 1, "'Drum_'"},
    {"empty value", kColor + "Drum_000=\n", "empty-value", 12, 1},
    {"semicolons", kColor + "Drum_000=1; 1; 1; 0\n", "bad-value", 12, 1, "'1, 2, 3, 4'"},
    {"state x", kColor + "Drum_000=1, 1, 1, x\n", "bad-value", 12, 1},
    {"speed too long", kColor + "Speeder_000=1, 1, 1, +0.0000000000\n", "text-too-long", 12, 1},
    // 260 characters: the 5 is the first one the load cuts, so nothing follows the items.
    {"value too long", kColor + "Drum_000=1, 1, 1, 0" + std::string(249, ' ') + "5\n", "value-cut",
     12, 1},
    {"items after the value", kColor + "Drum_000=1, 1, 1, 0, 9\n", "extra-items", 12, 1},
    {"id repeated", kColor + "Drum_000=1, 1, 1, 0\nDrum_001=1, 2, 2, 1\n", "repeated-id", 13, 1},
    {"identifier of another kind", kColor + "Drum_000=1, 1, 1, 0\nFinger_000=1, 2, 2, 1\n",
     "id-of-other-kind", 13, 1},
    {"line entry in a color", kColor + "Drum_000=1, 1, 1\n", "line-entry-in-color", 12, 1},
    {"color entry in a line", kLine + "Drum_000=1, 1, 1, 0\n", "color-entry-in-line", 10, 1},
    {"number of an entry cut", kColor + "Drum_000=70000, 1, 1, 0\n", "number-cut", 12, 1},
    // Only the stepping motor's position (its fifth item) is 32 bits wide.
    {"stepping motor id cut", kColor + "SteppingMotor_000=70000, 1, 1, 0, 5\n", "number-cut", 12,
     1},
    {"design motor ramp cut", kColor + "SteppingMotorDis_000=1 1 1 +1 70000 0 +1 0 0 0 0\n",
     "number-cut", 12, 1},
    {"help one past its room", kColor + "Help=" + std::string(260, 'h') + "\n", "value-cut", 12, 1},
    {"last develop without comma", kHead + "LastDevelop=\\d\\a.dis\n", "bad-value", 9, 1},
    // Cross references.
    {"undefined plane", kPlanes + "[Color_001]\nID=1\nPlane=2\n", "unknown-plane", 13, 1},
    {"pattern line without comma", kHead + "[GeneratedDis]\n\\d\\a=1,2\n[\\d\\a]\n1=\\p\\x\n",
     "pattern-without-comma", 12, 1},
    {"shaved line malformed", kHead + "[ShavedDis]\nm=1, x, 3,<5>\n", "bad-shaved-line", 10, 1},
    {"shaved elements stop", kHead + "[ShavedDis]\nm=1, 2, 3,<5>x<6>\n", "bad-shaved-line", 10, 1},
    {"entry without key", kColor + "=1, 1, 1, 0\n", "empty-key", 12, 1},
    {"line without number", kHead + "[Line_x]\nDrum_000=1, 1, 1\n", "bad-section-name", 9, 1},
    {"plane entry with semicolons", kHead + "[ColorPlanes]\nPlane_001=1; Ground; 0\n",
     "bad-plane-entry", 10, 1},
    {"plane entry without first comma", kHead + "[ColorPlanes]\nPlane_001=1 Ground, 0\n",
     "bad-plane-entry", 10, 1},
    {"plane entry without priority", kHead + "[ColorPlanes]\nPlane_001=1, Ground, x\n",
     "bad-plane-entry", 10, 1},
    {"design line without =", kHead + "[GeneratedDis]\n\\d\\a\n", "bad-design-line", 10, 1},
    // What a save drops: notes, nothing else.
    {"comment", kHead + "; why\n", "comments-dropped", 9, 0},
    {"comment before the first section", "; why\n" + kHead, "comments-dropped", 1, 0,
     "before the first section"},
    {"unknown section", kHead + "[Tools]\nx=1\n", "unknown-section", 9, 0},
    {"unknown section near a prefix", kHead + "[Cold]\n", "unknown-section", 9, 0},
    {"unknown header key", kHead + "Operator=Ann\n", "unknown-key", 9, 0},
    {"plane section",
     kHead + "[Plane_001]\nNumberOfLines=4\nStartBlock=0\nPriority=0\n"
             "Description=p\nBlock_001=1, 2, 3\n",
     "plane-section-dropped", 9, 0},
    {"plane section description with a line break",
     kHead + "[Plane_001]\nNumberOfLines=4\nStartBlock=0\nPriority=0\n"
             "Description=two\\nlines\nDescription=x\\ny\n",
     "unsavable-text", 13, 2},
    {"line help", kLine + "Help=first line\n", "line-help-dropped", 10, 0},
    {"line of plane 2", kHead + "[Line_012]\nID=12\nPlane=2\nHelp=h\n", "line-not-saved", 9, 0},
    {"no shaved elements", kHead + "[ShavedDis]\nm=1, 2, 3,\n", "shaved-without-elements", 10, 0},
    {"plane section beside plane entries", kPlanes + "[Plane_001]\nNumberOfLines=4\n",
     "plane-section-ignored", 11, 0},
    {"line without actuators", kLine, "empty-line-section", 9, 0},
    {"design numbers without comma", kHead + "[GeneratedDis]\n\\d\\b=5\n", "design-numbers", 10, 0},
    {"design without section", kHead + "[GeneratedDis]\n\\d\\a=1,2\n", "design-without-section", 10,
     0},
    {"last develop not listed", kHead + "LastDevelop=\\d\\a,1,2\n", "unknown-last-develop", 9, 0},
    {"header's lines against the file's", kLine + "Drum_000=1, 1, 1\n[Line_001]\n", "line-count", 7,
     0},
};

bool Counts(const Diagnostic& d) {
    return d.severity != Severity::Note;
}

std::string Listing(const std::vector<Diagnostic>& found) {
    std::string out;
    for (const Diagnostic& d : found) {
        out += std::to_string(d.line) + ": " + SeverityName(d.severity) + ": " + d.message + " [" +
               d.id + "]\n";
    }
    return out;
}

TEST(DiagnoseTest, EachFaultOnItsLine) {
    TempDir dir;
    const std::string path = dir.File("crafted.ini");
    for (const Case& c : kCases) {
        WriteFile(path, c.text);
        const std::vector<Diagnostic> found = Diagnose(path.c_str());
        auto any = [&](auto&& is) { return std::any_of(found.begin(), found.end(), is); };
        const std::string listing = std::string(c.fault) + "\n" + Listing(found);
        const bool said = any([&](const Diagnostic& d) {
            return d.id == c.id && d.line == c.line && d.message.find(c.says) != std::string::npos;
        });
        EXPECT_TRUE(said) << "expected [" << c.id << "] on line " << c.line << " saying '" << c.says
                          << "': " << listing;
        EXPECT_EQ(static_cast<std::size_t>(std::count_if(found.begin(), found.end(), Counts)),
                  c.findings)
            << listing;
        // An error explains the load's code, and only errors do.
        EXPECT_FALSE(any([](const Diagnostic& d) {
            return (d.severity == Severity::Error) != (d.code != 0);
        })) << listing;
        const int code = Configuration().LoadCFG(path.c_str());
        const std::string named = "code " + std::to_string(code);
        EXPECT_TRUE(code == 0 || any([&](const Diagnostic& d) {
                        return d.severity == Severity::Error && d.code == code &&
                               d.id != "load-code";
                    }))
            << listing;
        EXPECT_TRUE(code == 0 || any([&](const Diagnostic& d) {
                        return d.message.find(named) != std::string::npos;
                    }))
            << listing;
        EXPECT_EQ(test::ReadFile(path), c.text) << c.fault << ": the file changed";
    }
}

// What the load reads the same way as the library's own form: nothing to say.
TEST(DiagnoseTest, LegitimateVariantsGiveNothing) {
    TempDir dir;
    const std::string path = dir.File("variant.ini");
    const std::string color = "[Color_001]\nID=1\nPlane=1\nDrum_000=1, 1, 1, 0\n";
    for (const std::string& text : std::vector<std::string>{
             // Section and header key names in other letter case.
             "[protection]\nconfigprotected=0\n[HEADER]\nmachinetype=KX\nVERSION=3.2\n"
             "description=d\nnumberoflines=1\nstartblock=0\n" +
                 color,
             // Blanks around '=', quotes around values, no blank after commas.
             "[Protection]\nConfigProtected = 0\n[Header]\nMachineType = \"KX\"\n"
             "Version=3.2\nDescription='d'\nNumberOfLines=1\nStartBlock=0\n"
             "[Color_001]\nID=1\nPlane=1\nDrum_000 = 1,1,1,0\n",
             // CR LF line ends throughout, and none after the last line.
             "[Protection]\r\nConfigProtected=0\r\n[Header]\r\nMachineType=KX\r\n"
             "Version=3.2\r\nDescription=d\r\nNumberOfLines=1\r\nStartBlock=0",
             // A version of several digits; a help text that just fits its room.
             Head("Version=3.2", "Version=10.25") +
                 "[Color_001]\nID=1\nPlane=1\nHelp=" + std::string(259, 'h') + "\n",
             // A drum value that just fits its 259 characters.
             kColor + "Drum_000=1, 1, 1, " + std::string(250, '0') + "\n",
         }) {
        WriteFile(path, text);
        const std::vector<Diagnostic> found = Diagnose(path.c_str());
        EXPECT_EQ(std::count_if(found.begin(), found.end(), Counts), 0) << text << Listing(found);
    }
}

TEST(DiagnoseTest, FilesThatCannotBeRead) {
    TempDir dir;
    WriteFile(dir.File("empty.ini"), "");
    for (const auto& [path, id] :
         {std::pair<std::string, std::string>{dir.File("empty.ini"), "empty-file"},
          {dir.File("missing.ini"), "unreadable-file"},
          {dir.path(), "unreadable-file"}}) {
        int code = 0;
        const std::vector<Diagnostic> found = Diagnose(path.c_str(), &code);
        EXPECT_EQ(code, RE_FILE_UNREADABLE);
        ASSERT_EQ(found.size(), 1U) << path;
        EXPECT_EQ(found[0].id, id);
        EXPECT_EQ(found[0].code, RE_FILE_UNREADABLE);
    }
    EXPECT_EQ(Diagnose(nullptr).size(), 1U);
}

// Every configuration of the project that loads with 0, and every file the
// library saves from one that loads at all, gives no error or warning: the
// findings are faults, not the library's own forms.
TEST(DiagnoseTest, SamplesAndSavedFilesAreClean) {
    // Crafted with the faults of the catalogue, which they exercise.
    // (queries.ini: two colors of one number, which a save makes one;
    // preserve.ini, its preserving save and same-meaning.ini: hand edits a
    // save must keep.)
    const std::vector<std::string> faulty = {
        "hand-edited.ini", "example.ini",        "sections.ini",    "queries.ini",
        "preserve.ini",    "preserve.saved.ini", "same-meaning.ini"};
    std::vector<fs::path> files;
    for (const char* folder : {"../examples/samples", "config", "designs", "planes", "program"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(test::TestDataDir()) / folder)) {
            if (entry.path().extension() == ".ini") {
                files.push_back(entry.path());
            }
        }
    }
    ASSERT_GT(files.size(), 20U);
    TempDir dir;
    const std::string saved = dir.File("saved.ini");
    for (const fs::path& file : files) {
        Configuration config;
        const int code = config.LoadCFG(file.string().c_str());
        if (code == RE_FILE_UNREADABLE) {
            continue;
        }
        const bool clean = code == 0 && std::find(faulty.begin(), faulty.end(),
                                                  file.filename().string()) == faulty.end();
        if (clean) {
            const std::vector<Diagnostic> found = Diagnose(file.string().c_str());
            EXPECT_EQ(std::count_if(found.begin(), found.end(), Counts), 0) << file << "\n"
                                                                            << Listing(found);
        }
        if (config.SaveCFG(saved.c_str()) != RE_SUCCESS) {
            continue;  // what a refused save leaves is no saved file
        }
        Configuration again;
        const int savedCode = again.LoadCFG(saved.c_str());
        const std::vector<Diagnostic> found = Diagnose(saved.c_str());
        // A save keeps what the load could not read as it was (a missing
        // header stays missing): only the codes' own errors remain.
        for (const Diagnostic& d : found) {
            EXPECT_TRUE(d.severity == Severity::Note ||
                        (d.severity == Severity::Error && savedCode != 0))
                << "saved from " << file << "\n"
                << Listing(found);
        }
    }
}

}  // namespace
}  // namespace knitcfg
