// The document's color, line and plane steps, alone and as LoadCFG and
// SaveCFG run them.

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "DocumentFileTest.h"
#include "IniText.h"
#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

using test::ReadFile;
using Texts = std::vector<std::string>;

// Every color and line of the document, then its entries, in list order.
Texts Programs(const Configuration& doc) {
    Texts out;
    auto add = [&](std::string head, const auto& program) {
        out.push_back(head + std::to_string(program->ID) + " plane " +
                      std::to_string(program->Plane) + " [" + program->Help + "]");
        for (const std::string& entry : test::Entries(program->Attuats)) {
            out.push_back("  " + entry);
        }
    };
    for (const auto& color : doc.Colors()) {
        add("color [" + color->HelpAbstract + "] ", color);
    }
    for (const auto& line : doc.Lines()) {
        add("line ", line);
    }
    return out;
}

// Every plane of the document with its blocks, one line each.
Texts Planes(const Configuration& doc) {
    Texts out;
    for (const auto& p : doc.Planes()) {
        out.push_back(std::to_string(p->Number) + " lines " + std::to_string(p->NumberOfLines) +
                      " start " + std::to_string(p->StartBlock) + " [" + p->Description +
                      "] prio " + std::to_string(p->Priority));
        for (const auto& block : p->Blocks) {
            out.back() +=
                " {" + std::to_string(block->Number) + " " + std::to_string(block->Parameter) + ":";
            for (short value : block->Values) {
                out.back() += " " + std::to_string(value);
            }
            out.back() += "}";
        }
    }
    return out;
}

class ConfigurationProgramsTest : public test::DocumentFileTest {};

// Lines keep the ID, Plane and Help they were loaded with, but a save writes
// their entries only, and no line of plane 2: loaded again, they lose them.
TEST_F(ConfigurationProgramsTest, LinesComeBackAsTheirSavedSectionsHoldThem) {
    LoadCopy("program/document.ini");
    const Texts loaded = Programs(doc_);
    EXPECT_EQ(loaded,
              (Texts{"color [Background] 1 plane 1 [Plain\r\nbackground]", "  Drum_000=3, 1, 1, 0",
                     "  Finger_000=5, 2, 2, 1", "color [Red yarn] 2 plane 1 [Red]",
                     "  Drum_000=3, 1, 1, 1", "  SteppingMotor_000=7, 3, 3, 2, -1200",
                     "  Speeder_000=9, 4, 4, +0.750", "line 0 plane 1 []", "  Drum_000=3, 1, 1",
                     "  Finger_000=5, 2, 2", "line 1 plane 1 [Second line]", "  Drum_000=3, 1, 1",
                     "  Triangle_000=8, 3, 3", "line 10 plane 2 [Plane two]",
                     "  SteppingMotor_000=7, 3, 3"}));
    Configuration again;
    ASSERT_EQ(again.LoadCFG(Data("program/document.saved.ini").c_str()), RE_SUCCESS);
    Texts expected(loaded.begin(), loaded.end() - 2);
    expected[10] = "line 1 plane 1 []";
    EXPECT_EQ(Programs(again), expected);
}

TEST_F(ConfigurationProgramsTest, StepsTakeTheirSectionsByExactPrefix) {
    const std::string file =
        Write("names.ini",
              "[color_001]\nID=1\nDrum_000=1, 1, 1, 0\n[Color_x]\nID=5\nPlane=2\n"
              "[Color_]\n[Line]\nDrum_000=1, 1, 1\n[line_001]\nDrum_000=1, 1, 1\n"
              "[Line_x7]\nPlane=2\nHelp=h\n[Line_007]\nFinger_000=2, 3, 3\n");
    Configuration doc;
    doc.SetPathName(file.c_str());
    EXPECT_EQ(doc.LoadColors(), RE_SUCCESS);
    EXPECT_EQ(doc.LoadLines(), RE_SUCCESS);
    EXPECT_EQ(Programs(doc),
              (Texts{"color [] 5 plane 2 []", "color [] -1 plane -1 []", "line -1 plane 1 [h]",
                     "line 7 plane 1 []", "  Finger_000=2, 3, 3"}));
}

// No section at all is a fault of every load step but the planes'; a file
// of other sections is no fault. Through LoadCFG the protection code comes
// first, and the lists stay.
TEST_F(ConfigurationProgramsTest, LoadStepsWithoutSections) {
    const std::string text = Write("none.ini", "just text\n");
    const std::string other = Write("other.ini", "[Header]\nMachineType=KM\n");
    for (const std::string& path : {text, dir_.File("missing.ini"), std::string(), other}) {
        SCOPED_TRACE(path);
        const bool none = path != other;
        Configuration doc;
        doc.SetPathName(path.c_str());
        EXPECT_EQ(doc.LoadColors(), none ? RE_NO_COLOR_SECTIONS : RE_SUCCESS);
        EXPECT_EQ(doc.LoadLines(), none ? RE_NO_SECTIONS : RE_SUCCESS);
        EXPECT_EQ(doc.LoadPlanes(), RE_SUCCESS);
        EXPECT_EQ(doc.LoadGenDis(), none ? RE_NO_SECTIONS : RE_SUCCESS);
        EXPECT_EQ(doc.LoadShavedDis(), none ? RE_NO_SECTIONS : RE_SUCCESS);
        EXPECT_TRUE(Programs(doc).empty() && doc.Planes().empty());
    }
    LoadCopy("program/document.ini");
    EXPECT_EQ(doc_.LoadCFG(text.c_str()), RE_NO_PROTECTION);
    EXPECT_EQ(Programs(doc_).size(), 15u);
}

TEST_F(ConfigurationProgramsTest, SaveStepsWriteEveryProgramAndReportTheFirstFailure) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Data("program/document.ini").c_str()), RE_SUCCESS);
    doc.Colors()[0]->AddSorted(new DrumLine);       // no color kind: 15
    doc.Colors()[1]->HelpAbstract = "lone\nbreak";  // refused: 38
    doc.Lines()[0]->AddSorted(new DrumColor);       // no line kind: 27
    const std::string target = dir_.File("steps.ini");
    doc.SetPathName(target.c_str());
    EXPECT_EQ(doc.SaveColors(), RE_NOT_A_COLOR_ACTUATOR);
    EXPECT_EQ(doc.SaveLines(), RE_EMPTY_LINE);
    const std::string line = "[Line_001]\r\nDrum_000=3, 1, 1\r\nTriangle_000=8, 3, 3\r\n";
    EXPECT_EQ(ReadFile(target), line);

    // The line drum went first (its feed is "no value"): the caller owns it.
    std::unique_ptr<Attuat> lineDrum(doc.Colors()[0]->Attuats[0].get());
    EXPECT_EQ(doc.Colors()[0]->RemoveAttuat(lineDrum.get()), 1);
    EXPECT_EQ(doc.SaveColors(), RE_WRITE_SECTION);
    EXPECT_EQ(ReadFile(target), line +
                                    "[Color_001]\r\nID=1\r\nPlane=1\r\nHelpAbstract=Background\r\n"
                                    "Help=Plain\\nbackground\r\nDrum_000=3, 1, 1, 0\r\n"
                                    "Finger_000=5, 2, 2, 1\r\n");
    // SaveCFG reports the first failing step, and writes all the others.
    RETERROR code;
    EXPECT_NE(Saved(doc, &code).find(line), std::string::npos);
    EXPECT_EQ(code, RE_WRITE_SECTION);

    // A file that cannot be written.
    doc.SetPathName(dir_.File("no/such/folder.ini").c_str());
    EXPECT_EQ(doc.SaveLines(), RE_EMPTY_LINE);
    doc.Lines()[0]->Attuats.clear();
    EXPECT_EQ(doc.SaveLines(), RE_WRITE_SECTION);
    ASSERT_EQ(doc.CreatePlane(1, "One", 0), RE_SUCCESS);
    EXPECT_EQ(doc.SavePlanes(), RE_WRITE_PLANE);

    // Nothing to write is no fault, and writes nothing.
    Configuration empty;
    empty.SetPathName(dir_.File("empty.ini").c_str());
    EXPECT_EQ(empty.SaveColors() + empty.SaveLines() + empty.SavePlanes(), RE_SUCCESS);
    EXPECT_FALSE(test::FileExists(dir_.File("empty.ini")));
}

TEST_F(ConfigurationProgramsTest, CreateLinePlacesTheLineWithinItsPlane) {
    Configuration doc;
    // 13, 5, 29, then 12 right before 13, 0 before 5 (not before 12), 7 at
    // the end (no greater line of plane 1), 20 before 29, 12 after the first
    // 12; then numbers and planes kept as 16 bits: -25536/1, 10/2, -1/1.
    const int made[] = {3, 2, 5, 1, 9,     3, 2, 2,     0,          1,          7, 1,
                        0, 3, 2, 2, 40000, 1, 0, 65538, 2147483647, -2147483647};  // index, plane
    for (std::size_t i = 0; i < std::size(made); i += 2) {
        EXPECT_EQ(doc.CreateLine(made[i], made[i + 1]), RE_SUCCESS);
    }
    Texts order;
    for (const auto& line : doc.Lines()) {
        order.push_back(std::to_string(line->ID) + "/" + std::to_string(line->Plane));
    }
    EXPECT_EQ(order, (Texts{"10/2", "12/2", "12/2", "13/2", "-25536/1", "-1/1", "0/1", "5/1",
                            "20/3", "29/3", "7/1"}));
    EXPECT_EQ(Programs(doc).size(), 11u);  // no actuators
    EXPECT_EQ(doc.HeaderGetProcessingRows(), -1);
    // A third 12 of plane 2 goes after the two already there.
    for (const auto& line : doc.Lines()) {
        line->Help = "old";
    }
    ASSERT_EQ(doc.CreateLine(2, 2), RE_SUCCESS);
    EXPECT_EQ(doc.Lines()[2]->Help + "|" + doc.Lines()[3]->Help, "old|");
}

// With "ColorPlanes" empty, each plane section gives a plane with its own
// counts and blocks, numbered by its name; only plane entries are saved, and
// the one with a line break in its description cannot be: 42.
TEST_F(ConfigurationProgramsTest, PlaneSectionsAreReadWhenTheEntriesSectionHasNoKeys) {
    LoadCopy("planes/sections.ini");
    EXPECT_EQ(Planes(doc_),
              (Texts{"1 lines 4 start 0 [Background\r\nplane] prio 0 {1 2: 5 6 7} {2 1: 3}",
                     "2 lines 3 start 1 [Pattern] prio 2 {4 0: 9 8} {5 3:}"}));
    RETERROR code;
    EXPECT_EQ(Saved(doc_, &code), ReadFile(Data("planes/sections.saved.ini")));
    EXPECT_EQ(code, RE_WRITE_PLANE);
    Configuration again;
    ASSERT_EQ(again.LoadCFG(Data("planes/sections.saved.ini").c_str()), RE_SUCCESS);
    EXPECT_EQ(Planes(again), (Texts{"2 lines 6 start 2 [Pattern] prio 2"}));
}

TEST_F(ConfigurationProgramsTest, AnyKeyOfTheEntriesSectionShutsOutTheSections) {
    const std::string sections =
        "[Plane_x]\nDescription=No counts\n[Plane_002]\nNumberOfLines=2\nStartBlock=0\n"
        "Priority=0\nDescription=Two\n";
    struct Case {
        std::string entries;
        Texts planes;
    } const cases[] = {
        {"[ColorPlanes]\nNote=no plane entry\nplane_009=9, lower case, 0\n", {}},
        // Entries take the header's counts as they stand.
        {"[ColorPlanes]\nPlane_003=3, Third, 4\nPlane_001=1, First, 0\n",
         {"3 lines 9 start -7 [Third] prio 4", "1 lines 9 start -7 [First] prio 0"}},
        // No entries: every section whose name begins with "Plane_" is a
        // plane, whatever it reports.
        {"", {"-1 lines -1 start -1 [No counts] prio -1", "2 lines 2 start 0 [Two] prio 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        Configuration doc;
        doc.SetPathName(
            Write(std::to_string(c.planes.size()) + ".ini", c.entries + sections).c_str());
        doc.HeaderSetProcessingRows(9);
        doc.HeaderSetStartBlockIndex(-7);
        EXPECT_EQ(doc.LoadPlanes(), RE_SUCCESS);
        EXPECT_EQ(Planes(doc), c.planes);
    }
}

TEST_F(ConfigurationProgramsTest, CreateAndSavePlanes) {
    const std::string file = Write("planes.ini", "[ColorPlanes]\nPlane_009=9, Kept, 0\n");
    Configuration doc("KM-400", 2, 7, 8);
    doc.SetPathName(file.c_str());
    EXPECT_EQ(doc.CreatePlane(1, "One", 0), RE_SUCCESS);
    doc.HeaderSetStartBlockIndex(3);
    EXPECT_EQ(doc.CreatePlane(65538, "Two\r\nlines", -1), RE_SUCCESS);
    EXPECT_EQ(doc.CreatePlane(3, nullptr, 70000), RE_SUCCESS);
    EXPECT_EQ(Planes(doc),
              (Texts{"1 lines 8 start 0 [One] prio 0", "2 lines 8 start 3 [Two\r\nlines] prio -1",
                     "3 lines 8 start 3 [] prio 4464"}));
    // Every plane is written, in list order, after a refusal too.
    EXPECT_EQ(doc.SavePlanes(), RE_WRITE_PLANE);
    EXPECT_EQ(ReadFile(file),
              "[ColorPlanes]\r\nPlane_009=9, Kept, 0\r\nPlane_001=1, One, 0\r\n"
              "Plane_003=3, , 4464\r\n");
}

}  // namespace
}  // namespace knitcfg
