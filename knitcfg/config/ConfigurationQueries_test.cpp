// The document's queries and edits, on a document with two colors of one
// number, identifiers shared between colors and lines, and two planes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FailingAllocation.h"
#include "IniText.h"
#include "TestUtil.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

using test::Crlf;

std::string PlaneData(const std::string& name) {
    return test::TestDataDir() + "/planes/" + name;
}

// Lines as "ID/Plane", in list order.
std::vector<std::string> LineNumbers(const Configuration& doc) {
    std::vector<std::string> out;
    for (const auto& line : doc.Lines()) {
        out.push_back(std::to_string(line->ID) + "/" + std::to_string(line->Plane));
    }
    return out;
}

// Colors as "ID/Plane HelpAbstract", in list order.
std::vector<std::string> ColorNumbers(const Configuration& doc) {
    std::vector<std::string> out;
    for (const auto& color : doc.Colors()) {
        out.push_back(std::to_string(color->ID) + "/" + std::to_string(color->Plane) + " " +
                      color->HelpAbstract);
    }
    return out;
}

// The three counts that AddLine and RemoveLastLine keep in step.
struct Counts {
    std::vector<std::string> lines;
    short plane1;
    short plane2;
    short header;
    bool operator==(const Counts& other) const {
        return lines == other.lines && plane1 == other.plane1 && plane2 == other.plane2 &&
               header == other.header;
    }
};

class ConfigurationQueriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = dir_.File("queries.ini");
        test::WriteFile(file_, test::ReadFile(PlaneData("queries.ini")));
        ASSERT_EQ(doc_.LoadCFG(file_.c_str()), RE_SUCCESS);
    }

    Counts CountsNow() {
        return {LineNumbers(doc_), doc_.GetPlane(1)->NumberOfLines, doc_.GetPlane(2)->NumberOfLines,
                doc_.HeaderGetProcessingRows()};
    }

    // Runs `edit` once for every allocation it makes, that allocation failing
    // each time, and checks that the failures leave the document as it was
    // and give `failure`; then lets it succeed. Skips where allocations
    // cannot be made to fail.
    template <class Result>
    Result EveryAllocationFailing(const std::function<Result()>& edit, Result failure) {
        for (int skip = 0;; ++skip) {
            const std::vector<std::string> colors = ColorNumbers(doc_);
            const Counts counts = CountsNow();
            Result result;
            bool failed;
            {
                test::FailingAllocation failing(skip);
                result = edit();
                failed = failing.Failed();
            }
            if (!failed) {
                EXPECT_GT(skip, 0);
                return result;
            }
            SCOPED_TRACE(skip);
            EXPECT_EQ(result, failure);
            EXPECT_EQ(ColorNumbers(doc_), colors);
            EXPECT_TRUE(CountsNow() == counts);
        }
    }

    test::TempDir dir_;
    test::ScopedTempFolder tmp_{dir_.path()};
    std::string file_;
    Configuration doc_;
};

TEST_F(ConfigurationQueriesTest, CountsAndLookups) {
    EXPECT_EQ(doc_.GetPlanesCount(), 2);
    EXPECT_EQ(doc_.GetLinesCount(), 3);
    EXPECT_EQ(doc_.GetColorsCount(), 3);

    ASSERT_NE(doc_.GetPlane(2), nullptr);
    EXPECT_EQ(doc_.GetPlane(2)->Description, "Pattern");
    EXPECT_EQ(doc_.GetPlane(3), nullptr);

    // The first color of a number shadows the later one.
    ASSERT_NE(doc_.GetColor(1), nullptr);
    EXPECT_EQ(doc_.GetColor(1), doc_.Colors()[0].get());
    EXPECT_EQ(doc_.GetColor(2), doc_.Colors()[1].get());
    EXPECT_EQ(doc_.GetColor(7), nullptr);

    EXPECT_EQ(doc_.GetLine(1, 1), doc_.Lines()[1].get());
    EXPECT_EQ(doc_.GetLine(10, 2), doc_.Lines()[2].get());
    EXPECT_EQ(doc_.GetLine(1, 2), nullptr);
    EXPECT_EQ(doc_.GetLine(10, 1), nullptr);

    // GetAttuat looks into every color of the number.
    EXPECT_EQ(doc_.GetAttuat(3, 1), doc_.Colors()[0]->Attuats[0].get());
    EXPECT_EQ(doc_.GetAttuat(4, 1), doc_.Colors()[0]->Attuats[1].get());
    ASSERT_NE(doc_.GetAttuat(11, 1), nullptr);
    EXPECT_EQ(doc_.GetAttuat(11, 1), doc_.Colors()[2]->GetAttuat(11));
    EXPECT_EQ(doc_.GetAttuat(11, 2), nullptr);
    EXPECT_EQ(doc_.GetAttuat(3, 7), nullptr);

    // Lines in order; the identifier is taken as 16 bits.
    EXPECT_EQ(doc_.LinePrgGetAttuat(8), doc_.Lines()[1]->GetAttuat(8));
    EXPECT_EQ(doc_.LinePrgGetAttuat(3), doc_.Lines()[0]->GetAttuat(3));
    EXPECT_EQ(doc_.LinePrgGetAttuat(65536 + 3), doc_.Lines()[0]->GetAttuat(3));
    EXPECT_EQ(doc_.LinePrgGetAttuat(9), doc_.Lines()[2]->GetAttuat(9));
    EXPECT_EQ(doc_.LinePrgGetAttuat(11), nullptr);

    // A color numbered -1 (a section without "ID") is no color for GetColor,
    // while the value queries still find it.
    doc_.Colors()[1]->ID = -1;
    EXPECT_EQ(doc_.GetColor(-1), nullptr);
    EXPECT_EQ(doc_.GetCadutaAttuat(3, -1), 1);
}

TEST_F(ConfigurationQueriesTest, ActuatorValues) {
    EXPECT_EQ(doc_.GetStatoAttuat(3, 1), 1);
    EXPECT_EQ(doc_.GetStatoAttuat(4, 1), 0);
    EXPECT_EQ(doc_.GetStatoAttuat(3, 2), 0);
    EXPECT_EQ(doc_.GetStatoAttuat(7, 2), 2);
    EXPECT_EQ(doc_.GetCadutaAttuat(4, 1), 2);
    EXPECT_EQ(doc_.GetIdCadutaAttuat(5, 1), 3);
    EXPECT_EQ(doc_.GetCadutaAttuat(10, 2), 5);
    EXPECT_EQ(doc_.GetIdCadutaAttuat(9, 2), 6);
    // No color of the number; an actuator the first color lacks (the later
    // color of the number has it); a kind without a state.
    for (const auto& [id, color] : std::vector<std::pair<short, short>>{{3, 7}, {11, 1}}) {
        EXPECT_EQ(doc_.GetStatoAttuat(id, color), kNoValue);
        EXPECT_EQ(doc_.GetCadutaAttuat(id, color), kNoValue);
        EXPECT_EQ(doc_.GetIdCadutaAttuat(id, color), kNoValue);
    }
    EXPECT_EQ(doc_.GetStatoAttuat(9, 2), kNoValue);
    EXPECT_EQ(doc_.GetStatoAttuat(10, 2), kNoValue);
}

using KindQuery = short (Configuration::*)(IndexList*, short, short) const;

TEST_F(ConfigurationQueriesTest, KindListsHoldEachIdentifierOnceInTheOrderMet) {
    struct Case {
        const char* name;
        KindQuery query;
        short plane;
        short number;
        IndexList expected;
    };
    const Case cases[] = {
        {"color drums", &Configuration::GetListColorDrum, -1, -1, {3, 4}},
        {"color drums of plane 2", &Configuration::GetListColorDrum, 2, -1, {3, 4}},
        {"color drums of color 1", &Configuration::GetListColorDrum, -1, 1, {3, 4}},
        {"color drums of plane 2, color 1", &Configuration::GetListColorDrum, 2, 1, {4}},
        {"color drums of plane 3", &Configuration::GetListColorDrum, 3, -1, {}},
        {"color fingers", &Configuration::GetListColorFinger, -1, -1, {5, 11}},
        {"color fingers of plane 1", &Configuration::GetListColorFinger, 1, -1, {5}},
        {"color splitters", &Configuration::GetListColorSplitter, -1, -1, {6}},
        {"color cams", &Configuration::GetListColorTriangle, -1, -1, {8}},
        {"color stepping motors", &Configuration::GetListColorStepMotor, -1, -1, {7}},
        {"color design stepping motors", &Configuration::GetListColorStepMotorDis, -1, -1, {10}},
        {"color speeders", &Configuration::GetListColorSpeeder, -1, -1, {9}},
        {"color speeders of color 1", &Configuration::GetListColorSpeeder, -1, 1, {}},
        {"line drums", &Configuration::GetListLineDrum, -1, -1, {3, 4}},
        {"line drums of plane 2", &Configuration::GetListLineDrum, 2, -1, {3}},
        {"line drums of line 1", &Configuration::GetListLineDrum, -1, 1, {4}},
        {"line drums of line 10, plane 1", &Configuration::GetListLineDrum, 1, 10, {}},
        {"line fingers", &Configuration::GetListLineFinger, -1, -1, {5}},
        {"line splitters", &Configuration::GetListLineSplitter, -1, -1, {6}},
        {"line cams", &Configuration::GetListLineTriangle, -1, -1, {8}},
        {"line stepping motors", &Configuration::GetListLineStepMotor, -1, -1, {7}},
        {"line design stepping motors", &Configuration::GetListLineStepMotorDis, -1, -1, {10}},
        {"line speeders", &Configuration::GetListLineSpeeder, -1, -1, {9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IndexList list;
        EXPECT_EQ((doc_.*c.query)(&list, c.plane, c.number), static_cast<short>(c.expected.size()));
        EXPECT_EQ(list, c.expected);
        // A second call adds nothing and gives the same count.
        EXPECT_EQ((doc_.*c.query)(&list, c.plane, c.number), static_cast<short>(c.expected.size()));
        EXPECT_EQ(list, c.expected);
        // What the list held stays, is counted, and is not added again.
        IndexList held = {99, 4};
        IndexList expected = held;
        for (short id : c.expected) {
            if (id != 4) {
                expected.push_back(id);
            }
        }
        EXPECT_EQ((doc_.*c.query)(&held, c.plane, c.number), static_cast<short>(expected.size()));
        EXPECT_EQ(held, expected);
        EXPECT_EQ((doc_.*c.query)(nullptr, c.plane, c.number), 0);
    }
    // With no program the list is untouched and its size returned.
    Configuration empty;
    IndexList list = {1, 2, 3};
    EXPECT_EQ(empty.GetListColorDrum(&list, -1, -1), 3);
    EXPECT_EQ(empty.GetListLineSpeeder(&list, -1, -1), 3);
    EXPECT_EQ(list, (IndexList{1, 2, 3}));
}

TEST_F(ConfigurationQueriesTest, NumberLists) {
    IndexList list;
    EXPECT_EQ(doc_.GetListColors(&list, -1), 2);  // color 1 once
    EXPECT_EQ(list, (IndexList{1, 2}));
    list.clear();
    EXPECT_EQ(doc_.GetListColors(&list, 2), 2);
    EXPECT_EQ(list, (IndexList{2, 1}));
    EXPECT_EQ(doc_.GetListColors(&list, -1), 2);
    EXPECT_EQ(doc_.GetListColors(nullptr, -1), 0);

    list.clear();
    EXPECT_EQ(doc_.GetListLines(&list, -1), 3);
    EXPECT_EQ(list, (IndexList{0, 1, 10}));
    list = {10};
    EXPECT_EQ(doc_.GetListLines(&list, 1), 3);
    EXPECT_EQ(list, (IndexList{10, 0, 1}));
    EXPECT_EQ(doc_.GetListLines(&list, 3), 3);

    // Lines that hold an actuator: once per actuator, duplicates kept.
    list.clear();
    EXPECT_EQ(doc_.GetListLineAttuat(&list, 3, -1), 2);
    EXPECT_EQ(list, (IndexList{0, 10}));
    doc_.Lines()[0]->AddSorted(doc_.Lines()[0]->GetAttuat(3)->Clone());
    EXPECT_EQ(doc_.GetListLineAttuat(&list, 3, 1), 4);
    EXPECT_EQ(list, (IndexList{0, 10, 0, 0}));
    EXPECT_EQ(doc_.GetListLineAttuat(&list, 8, 2), 4);
    EXPECT_EQ(doc_.GetListLineAttuat(nullptr, 3, -1), 0);
}

TEST_F(ConfigurationQueriesTest, AddAndRemoveColors) {
    EXPECT_EQ(doc_.AddColor(-1, 1), nullptr);
    EXPECT_EQ(doc_.AddColor(5, 0), nullptr);
    EXPECT_EQ(doc_.AddColor(5, -2), nullptr);
    EXPECT_EQ(doc_.GetColorsCount(), 3);

    // A number already there is taken; the new color stays shadowed.
    ColorPrg* added = doc_.AddColor(2, 1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added, doc_.Colors().back().get());
    EXPECT_EQ(added->ID, 2);
    EXPECT_EQ(added->Plane, 1);
    EXPECT_TRUE(added->Attuats.empty());
    EXPECT_TRUE(added->Help.empty() && added->HelpAbstract.empty());
    EXPECT_EQ(doc_.GetColor(2), doc_.Colors()[1].get());

    EXPECT_EQ(doc_.RemoveColor(-1), 0);
    EXPECT_EQ(doc_.RemoveColor(7), 0);
    EXPECT_EQ(doc_.RemoveColor(1), 1);  // the first of the number
    EXPECT_EQ(ColorNumbers(doc_), (std::vector<std::string>{"2/2 Red yarn", "1/2 Shadow", "2/1 "}));
    EXPECT_EQ(doc_.GetColor(1), doc_.Colors()[1].get());
    EXPECT_EQ(doc_.RemoveColor(2), 1);
    EXPECT_EQ(doc_.GetColor(2), added);
}

TEST_F(ConfigurationQueriesTest, AddColorThatCannotBeMadeChangesNothing) {
    KNITCFG_REQUIRE_FAILING_ALLOCATION();
    const std::function<ColorPrg*()> add = [this] { return doc_.AddColor(6, 1); };
    ColorPrg* added = EveryAllocationFailing(add, static_cast<ColorPrg*>(nullptr));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->ID, 6);
}

TEST_F(ConfigurationQueriesTest, AddLineThenRemoveLastLineRestoresTheThreeCounts) {
    const Counts before = CountsNow();
    EXPECT_TRUE(before == (Counts{{"0/1", "1/1", "10/2"}, 2, 2, 2}));

    // Plane 1: the header follows the plane.
    EXPECT_EQ(doc_.AddLine(4, 1), 1);
    EXPECT_TRUE(CountsNow() == (Counts{{"0/1", "1/1", "10/2", "2/1"}, 3, 2, 3}));
    EXPECT_EQ(doc_.RemoveLastLine(1), 1);
    EXPECT_TRUE(CountsNow() == before);

    // Plane 2: numbered from 10, the header left alone.
    EXPECT_EQ(doc_.AddLine(4, 2), 1);
    EXPECT_EQ(doc_.AddLine(4, 2), 1);
    EXPECT_TRUE(CountsNow() == (Counts{{"0/1", "1/1", "10/2", "11/2", "12/2"}, 2, 4, 2}));
    EXPECT_EQ(doc_.RemoveLastLine(2), 1);
    EXPECT_EQ(doc_.RemoveLastLine(2), 1);
    EXPECT_TRUE(CountsNow() == before);

    // Full planes take no line.
    EXPECT_EQ(doc_.AddLine(2, 1), 0);
    EXPECT_EQ(doc_.AddLine(1, 2), 0);
    EXPECT_EQ(doc_.AddLine(0, 0), 0);
    EXPECT_EQ(doc_.AddLine(4, -1), 0);
    EXPECT_TRUE(CountsNow() == before);
}

TEST_F(ConfigurationQueriesTest, LineEditsOnAPlaneThatDoesNotExist) {
    const Counts before = CountsNow();
    // The line stays although the result is 0, and is removed again.
    EXPECT_EQ(doc_.AddLine(4, 3), 0);
    EXPECT_EQ(LineNumbers(doc_), (std::vector<std::string>{"0/1", "1/1", "10/2", "20/3"}));
    EXPECT_EQ(doc_.RemoveLastLine(3), 0);
    EXPECT_TRUE(CountsNow() == before);
    EXPECT_EQ(doc_.RemoveLastLine(3), 0);
    EXPECT_EQ(doc_.RemoveLastLine(0), 0);
    EXPECT_EQ(doc_.RemoveLastLine(-1), 0);
    EXPECT_TRUE(CountsNow() == before);

    Configuration empty;
    EXPECT_EQ(empty.RemoveLastLine(1), 0);
}

TEST_F(ConfigurationQueriesTest, RemoveLastLineWithoutTheExpectedNumberKeepsTheCounts) {
    // Plane 1 now holds 0, 1 and 5: its last line would be 2, which no line
    // is. Nothing is removed, and no count drops below the lines held.
    ASSERT_EQ(doc_.CreateLine(5, 1), RE_SUCCESS);
    const Counts before = CountsNow();
    EXPECT_EQ(doc_.RemoveLastLine(1), 0);
    EXPECT_TRUE(CountsNow() == before);
}

TEST_F(ConfigurationQueriesTest, AddLineThatCannotBeMadeChangesNothing) {
    KNITCFG_REQUIRE_FAILING_ALLOCATION();
    const std::function<int()> add = [this] { return doc_.AddLine(4, 2); };
    EXPECT_EQ(EveryAllocationFailing(add, 0), 1);
    EXPECT_EQ(doc_.GetPlane(2)->NumberOfLines, 3);
}

TEST_F(ConfigurationQueriesTest, LoadBlockReplacesTheBlockAtTheEnd) {
    PlanePrg* plane = doc_.GetPlane(2);
    const IndexList values = {1};
    plane->AddBlock(1, 0, &values);
    plane->AddBlock(2, 0, &values);
    plane->AddBlock(3, 0, &values);

    EXPECT_EQ(doc_.LoadBlock(2, 2, 7, IndexList{8, 9}), 1);
    ASSERT_EQ(plane->Blocks.size(), 3u);
    EXPECT_EQ(plane->Blocks[0]->Number, 1);
    EXPECT_EQ(plane->Blocks[1]->Number, 3);
    EXPECT_EQ(plane->Blocks[2]->Number, 2);
    EXPECT_EQ(plane->Blocks[2]->Parameter, 7);
    EXPECT_EQ(plane->Blocks[2]->Values, (IndexList{8, 9}));

    // A new number is added; the plane number is taken as 16 bits.
    EXPECT_EQ(doc_.LoadBlock(65536 + 2, 65536 + 4, 0, IndexList{}), 1);
    ASSERT_EQ(plane->Blocks.size(), 4u);
    EXPECT_EQ(plane->Blocks[3]->Number, 4);
    EXPECT_TRUE(plane->Blocks[3]->Values.empty());

    // No such plane: nothing changes.
    EXPECT_EQ(doc_.LoadBlock(3, 1, 0, IndexList{5}), 0);
    EXPECT_TRUE(doc_.GetPlane(1)->Blocks.empty());
    EXPECT_EQ(plane->Blocks.size(), 4u);
}

TEST_F(ConfigurationQueriesTest, HelpTexts) {
    EXPECT_EQ(doc_.GetColorForHelp("PLAIN background"), 1);
    EXPECT_EQ(doc_.GetColorForHelp("red\r\nYARN"), 2);
    EXPECT_EQ(doc_.GetColorForHelp("Red\\nyarn"), -1);
    EXPECT_EQ(doc_.GetColorForHelp("Plain"), -1);
    EXPECT_EQ(doc_.GetColorForHelp(nullptr), -1);
    EXPECT_EQ(doc_.GetColorForHelpAbstract("shadow"), 1);
    EXPECT_EQ(doc_.GetColorForHelpAbstract("RED YARN"), 2);
    EXPECT_EQ(doc_.GetColorForHelpAbstract("Plain background"), -1);

    EXPECT_EQ(doc_.GetColorHelp(1), "Plain background");
    EXPECT_EQ(doc_.GetColorHelp(2), "Red\r\nyarn");
    EXPECT_EQ(doc_.GetColorHelpAbstrct(1), "Background");
    EXPECT_EQ(doc_.GetColorHelp(7), "No Help Description");
    EXPECT_EQ(doc_.GetColorHelpAbstrct(7), "No Help Abstract Description");

    EXPECT_EQ(doc_.SetColorHelp(1, "New\r\nhelp"), 1);
    EXPECT_EQ(doc_.SetColorHelpAbstrct(1, nullptr), 1);
    EXPECT_EQ(doc_.Colors()[0]->Help, "New\r\nhelp");
    EXPECT_EQ(doc_.Colors()[0]->HelpAbstract, "");
    EXPECT_EQ(doc_.Colors()[2]->Help, "Shadowed");  // the later color of the number
    EXPECT_EQ(doc_.GetColorForHelpAbstract("shadow"), 1);

    EXPECT_EQ(doc_.SetColorHelp(7, "x"), 0);
    EXPECT_EQ(doc_.SetColorHelpAbstrct(7, "x"), 0);
    EXPECT_EQ(ColorNumbers(doc_), (std::vector<std::string>{"1/1 ", "2/2 Red yarn", "1/2 Shadow"}));
}

TEST_F(ConfigurationQueriesTest, EditsReachTheFileAtTheNextSave) {
    const std::string original = test::ReadFile(file_);
    ASSERT_EQ(doc_.RemoveColor(1), 1);  // the shadowed color is the one left
    ASSERT_EQ(doc_.SetColorHelp(1, "Shadow help\r\nline two"), 1);
    ASSERT_EQ(doc_.RemoveColor(2), 1);
    ColorPrg* added = doc_.AddColor(5, 2);
    ASSERT_NE(added, nullptr);
    ASSERT_EQ(doc_.SetColorHelpAbstrct(5, "Added"), 1);
    ASSERT_EQ(doc_.AddLine(4, 1), 1);
    ASSERT_EQ(doc_.CreatePlane(3, "Third", 2), RE_SUCCESS);
    // Edits change memory only.
    EXPECT_EQ(test::ReadFile(file_), original);

    ASSERT_EQ(doc_.SaveCFG(file_.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file_), test::ReadFile(PlaneData("queries.edited.ini")));

    Configuration again;
    ASSERT_EQ(again.LoadCFG(file_.c_str()), RE_SUCCESS);
    EXPECT_EQ(ColorNumbers(again), (std::vector<std::string>{"1/2 Shadow", "5/2 Added"}));
    EXPECT_EQ(again.GetColorHelp(1), "Shadow help\r\nline two");
    EXPECT_EQ(LineNumbers(again), (std::vector<std::string>{"0/1", "1/1", "2/1"}));
    EXPECT_EQ(again.HeaderGetProcessingRows(), 3);
    EXPECT_EQ(again.GetPlanesCount(), 3);
    EXPECT_EQ(again.GetPlane(3)->Description, "Third");
    // Planes read from their entries all take the header's count.
    EXPECT_EQ(again.GetPlane(2)->NumberOfLines, 3);
}

}  // namespace
}  // namespace knitcfg
