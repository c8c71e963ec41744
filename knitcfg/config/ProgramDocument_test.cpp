// The document's color and line steps: LoadColors, SaveColors, LoadLines,
// SaveLines and CreateLine, alone and as LoadCFG and SaveCFG run them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/program/ProgramTestUtil.h"

namespace knitcfg {
namespace {

using test::Crlf;

// Every color and line of the document, field by field, in list order.
std::vector<std::string> Model(const Configuration& doc) {
    std::vector<std::string> out;
    for (const auto& color : doc.Colors()) {
        out.push_back("color " + std::to_string(color->ID) + " plane " +
                      std::to_string(color->Plane) + " [" + color->HelpAbstract + "] [" +
                      color->Help + "]");
        for (const std::string& entry : test::Entries(color->Attuats)) {
            out.push_back("  " + entry);
        }
    }
    for (const auto& line : doc.Lines()) {
        out.push_back("line " + std::to_string(line->ID) + " plane " + std::to_string(line->Plane) +
                      " [" + line->Help + "]");
        for (const std::string& entry : test::Entries(line->Attuats)) {
            out.push_back("  " + entry);
        }
    }
    return out;
}

class ConfigurationProgramsTest : public ::testing::Test {
protected:
    std::string Ini(const std::string& name, const std::string& text) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, Crlf(text));
        return path;
    }

    // A copy of document.ini in the test's folder.
    std::string Document() {
        const std::string path = dir_.File("document.ini");
        test::WriteFile(path, test::ReadFile(test::ProgramData("document.ini")));
        return path;
    }

    test::TempDir dir_;
    // Saves go through a temporary file: each test has its own folder for it.
    test::ScopedTempFolder tmp_{dir_.path()};
};

TEST_F(ConfigurationProgramsTest, DocumentLoadsSavesAndLoadsAgain) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Document().c_str()), RE_SUCCESS);
    const std::vector<std::string> loaded = Model(doc);
    EXPECT_EQ(loaded, (std::vector<std::string>{
                          "color 1 plane 1 [Background] [Plain\r\nbackground]",
                          "  Drum_000=3, 1, 1, 0",
                          "  Finger_000=5, 2, 2, 1",
                          "color 2 plane 1 [Red yarn] [Red]",
                          "  Drum_000=3, 1, 1, 1",
                          "  SteppingMotor_000=7, 3, 3, 2, -1200",
                          "  Speeder_000=9, 4, 4, +0.750",
                          "line 0 plane 1 []",
                          "  Drum_000=3, 1, 1",
                          "  Finger_000=5, 2, 2",
                          "line 1 plane 1 [Second line]",
                          "  Drum_000=3, 1, 1",
                          "  Triangle_000=8, 3, 3",
                          "line 10 plane 2 [Plane two]",
                          "  SteppingMotor_000=7, 3, 3",
                      }));

    const std::string saved = dir_.File("saved.ini");
    ASSERT_EQ(doc.SaveCFG(saved.c_str()), RE_SUCCESS);
    const std::string golden = test::ReadFile(test::ProgramData("document.saved.ini"));
    EXPECT_EQ(test::ReadFile(saved), golden);

    // Loaded again: the colors whole; the lines as their sections carry them,
    // entries only, for plane 1 alone.
    Configuration again;
    ASSERT_EQ(again.LoadCFG(saved.c_str()), RE_SUCCESS);
    std::vector<std::string> expected(loaded.begin(), loaded.end() - 2);
    expected[10] = "line 1 plane 1 []";
    EXPECT_EQ(Model(again), expected);
    // And saved once more, byte for byte the same.
    const std::string resaved = dir_.File("resaved.ini");
    ASSERT_EQ(again.SaveCFG(resaved.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(resaved), golden);
}

TEST_F(ConfigurationProgramsTest, StepsTakeTheirSectionsByExactPrefix) {
    const std::string file = Ini("names.ini", R"([color_001]
ID=1
Drum_000=1, 1, 1, 0
[Color_x]
ID=5
Plane=2
[Color_]
[Line]
Drum_000=1, 1, 1
[line_001]
Drum_000=1, 1, 1
[Line_x7]
Plane=2
Help=h
[Line_007]
Finger_000=2, 3, 3
)");
    Configuration doc;
    doc.SetPathName(file.c_str());
    EXPECT_EQ(doc.LoadColors(), RE_SUCCESS);
    EXPECT_EQ(doc.LoadLines(), RE_SUCCESS);
    EXPECT_EQ(Model(doc), (std::vector<std::string>{
                              "color 5 plane 2 [] []",
                              "color -1 plane -1 [] []",
                              "line -1 plane 1 [h]",
                              "line 7 plane 1 []",
                              "  Finger_000=2, 3, 3",
                          }));
}

TEST_F(ConfigurationProgramsTest, LoadStepsWithoutSections) {
    Configuration doc;
    doc.SetPathName(Ini("none.ini", "just text\n").c_str());
    EXPECT_EQ(doc.LoadColors(), RE_NO_COLOR_SECTIONS);
    EXPECT_EQ(doc.LoadLines(), RE_NO_SECTIONS);
    doc.SetPathName(dir_.File("missing.ini").c_str());
    EXPECT_EQ(doc.LoadColors(), RE_NO_COLOR_SECTIONS);
    EXPECT_EQ(doc.LoadLines(), RE_NO_SECTIONS);
    doc.SetPathName(nullptr);
    EXPECT_EQ(doc.LoadColors(), RE_NO_COLOR_SECTIONS);
    EXPECT_EQ(doc.LoadLines(), RE_NO_SECTIONS);
    EXPECT_TRUE(doc.Colors().empty());
    EXPECT_TRUE(doc.Lines().empty());

    // A file of other sections holds no color or line, and that is no fault.
    doc.SetPathName(Ini("other.ini", "[Header]\nMachineType=KM\n").c_str());
    EXPECT_EQ(doc.LoadColors(), RE_SUCCESS);
    EXPECT_EQ(doc.LoadLines(), RE_SUCCESS);
}

TEST_F(ConfigurationProgramsTest, SaveStepsWriteEveryProgramAndReportTheFirstFailure) {
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(Document().c_str()), RE_SUCCESS);
    doc.Colors()[0]->AddSorted(new DrumLine);       // no color kind: 15
    doc.Colors()[1]->HelpAbstract = "lone\nbreak";  // refused: 38
    doc.Lines()[0]->AddSorted(new DrumColor);       // no line kind: 27

    const std::string target = dir_.File("steps.ini");
    doc.SetPathName(target.c_str());
    EXPECT_EQ(doc.SaveColors(), RE_NOT_A_COLOR_ACTUATOR);
    EXPECT_EQ(doc.SaveLines(), RE_EMPTY_LINE);
    EXPECT_EQ(test::ReadFile(target), Crlf(R"([Line_001]
Drum_000=3, 1, 1
Triangle_000=8, 3, 3
)"));

    // The line drum went first (its feed is "no value"): the caller owns it.
    Attuat* lineDrum = doc.Colors()[0]->Attuats[0].get();
    EXPECT_EQ(doc.Colors()[0]->RemoveAttuat(lineDrum), 1);
    delete lineDrum;
    EXPECT_EQ(doc.SaveColors(), RE_WRITE_SECTION);
    EXPECT_EQ(test::ReadFile(target), Crlf(R"([Line_001]
Drum_000=3, 1, 1
Triangle_000=8, 3, 3
[Color_001]
ID=1
Plane=1
HelpAbstract=Background
Help=Plain\nbackground
Drum_000=3, 1, 1, 0
Finger_000=5, 2, 2, 1
)"));

    // SaveCFG reports the first failing step, and writes all the others.
    const std::string whole = dir_.File("whole.ini");
    EXPECT_EQ(doc.SaveCFG(whole.c_str()), RE_WRITE_SECTION);
    EXPECT_NE(test::ReadFile(whole).find("[Line_001]"), std::string::npos);

    // A file that cannot be written.
    doc.SetPathName(dir_.File("no/such/folder.ini").c_str());
    EXPECT_EQ(doc.SaveLines(), RE_EMPTY_LINE);
    doc.Lines()[0]->Attuats.clear();
    EXPECT_EQ(doc.SaveLines(), RE_WRITE_SECTION);

    // Nothing to write is no fault.
    Configuration empty;
    empty.SetPathName(dir_.File("empty.ini").c_str());
    EXPECT_EQ(empty.SaveColors(), RE_SUCCESS);
    EXPECT_EQ(empty.SaveLines(), RE_SUCCESS);
    EXPECT_FALSE(test::FileExists(dir_.File("empty.ini")));
}

TEST_F(ConfigurationProgramsTest, CreateLinePlacesTheLineWithinItsPlane) {
    Configuration doc;
    EXPECT_EQ(doc.CreateLine(3, 2), RE_SUCCESS);  // 13
    EXPECT_EQ(doc.CreateLine(5, 1), RE_SUCCESS);  // 5
    EXPECT_EQ(doc.CreateLine(9, 3), RE_SUCCESS);  // 29
    EXPECT_EQ(doc.CreateLine(2, 2), RE_SUCCESS);  // 12, right before 13
    EXPECT_EQ(doc.CreateLine(0, 1), RE_SUCCESS);  // 0, before 5, not before 12
    EXPECT_EQ(doc.CreateLine(7, 1), RE_SUCCESS);  // 7: no greater line of plane 1
    EXPECT_EQ(doc.CreateLine(0, 3), RE_SUCCESS);  // 20, before 29
    EXPECT_EQ(doc.CreateLine(2, 2), RE_SUCCESS);  // 12 again: after the first 12
    std::vector<std::string> order;
    for (const auto& line : doc.Lines()) {
        order.push_back(std::to_string(line->ID) + "/" + std::to_string(line->Plane));
        EXPECT_TRUE(line->Attuats.empty());
        EXPECT_TRUE(line->Help.empty());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"12/2", "12/2", "13/2", "0/1", "5/1", "20/3", "29/3",
                                               "7/1"}));
    // Numbers and planes are kept as 16 bits.
    Configuration wide;
    EXPECT_EQ(wide.CreateLine(40000, 1), RE_SUCCESS);
    EXPECT_EQ(wide.CreateLine(0, 65538), RE_SUCCESS);
    EXPECT_EQ(wide.CreateLine(2147483647, -2147483647), RE_SUCCESS);
    ASSERT_EQ(wide.Lines().size(), 3u);
    EXPECT_EQ(wide.Lines()[0]->ID, -25536);
    EXPECT_EQ(wide.Lines()[1]->Plane, 2);
    EXPECT_EQ(wide.Lines()[1]->ID, static_cast<short>(655370 % 65536));
    // The header and the count of lines are not touched.
    EXPECT_EQ(doc.HeaderGetProcessingRows(), -1);
}

TEST_F(ConfigurationProgramsTest, ListsAreCopiedReleasedAndAddedTo) {
    const std::string file = Document();
    Configuration doc;
    ASSERT_EQ(doc.LoadCFG(file.c_str()), RE_SUCCESS);
    const std::vector<std::string> once = Model(doc);

    const Configuration copy(doc);
    EXPECT_EQ(Model(copy), once);
    EXPECT_NE(copy.Colors()[0].get(), doc.Colors()[0].get());
    EXPECT_NE(copy.Lines()[0]->Attuats[0].get(), doc.Lines()[0]->Attuats[0].get());

    // A second load without release adds to what the document holds.
    ASSERT_EQ(doc.LoadCFG(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(doc.Colors().size(), 4u);
    EXPECT_EQ(doc.Lines().size(), 6u);
    EXPECT_EQ(doc.Lines()[3]->ID, 0);

    doc.ReleaseCFG();
    EXPECT_TRUE(doc.Colors().empty());
    EXPECT_TRUE(doc.Lines().empty());
    EXPECT_EQ(Model(copy), once);
}

}  // namespace
}  // namespace knitcfg
