// The document's queries and edits, on a document with two colors of one
// number, identifiers shared between colors and lines, and two planes.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "DocumentFileTest.h"
#include "FailingAllocation.h"
#include "knitcfg/config/Configuration.h"

namespace knitcfg {
namespace {

using Texts = std::vector<std::string>;

// The lines as "ID/Plane", then plane 1's and 2's NumberOfLines and the
// header's number of lines: what AddLine and RemoveLastLine keep in step.
Texts Counts(Configuration& doc) {
    Texts out;
    for (const auto& line : doc.Lines()) {
        out.push_back(std::to_string(line->ID) + "/" + std::to_string(line->Plane));
    }
    for (int n : {doc.GetPlane(1)->NumberOfLines, doc.GetPlane(2)->NumberOfLines,
                  doc.HeaderGetProcessingRows()}) {
        out.push_back(std::to_string(n));
    }
    return out;
}

// The colors as "ID/Plane HelpAbstract", in list order.
Texts Colors(const Configuration& doc) {
    Texts out;
    for (const auto& color : doc.Colors()) {
        out.push_back(std::to_string(color->ID) + "/" + std::to_string(color->Plane) + " " +
                      color->HelpAbstract);
    }
    return out;
}

class ConfigurationQueriesTest : public test::DocumentFileTest {
protected:
    void SetUp() override { LoadCopy("planes/queries.ini"); }
};

TEST_F(ConfigurationQueriesTest, CountsAndLookups) {
    EXPECT_EQ(
        std::vector<int>({doc_.GetPlanesCount(), doc_.GetLinesCount(), doc_.GetColorsCount()}),
        std::vector<int>({2, 3, 3}));
    const auto& colors = doc_.Colors();
    const auto& lines = doc_.Lines();
    // The first color of a number shadows the later one, but GetAttuat looks
    // into every color of the number; line identifiers are taken as 16 bits.
    const std::pair<const void*, const void*> found[] = {
        {doc_.GetPlane(2), doc_.Planes()[1].get()},
        {doc_.GetPlane(3), nullptr},
        {doc_.GetColor(1), colors[0].get()},
        {doc_.GetColor(2), colors[1].get()},
        {doc_.GetColor(7), nullptr},
        {doc_.GetLine(1, 1), lines[1].get()},
        {doc_.GetLine(10, 2), lines[2].get()},
        {doc_.GetLine(1, 2), nullptr},
        {doc_.GetLine(10, 1), nullptr},
        {doc_.GetAttuat(4, 1), colors[0]->Attuats[1].get()},
        {doc_.GetAttuat(11, 1), colors[2]->GetAttuat(11)},
        {doc_.GetAttuat(11, 2), nullptr},
        {doc_.GetAttuat(3, 7), nullptr},
        {doc_.LinePrgGetAttuat(8), lines[1]->GetAttuat(8)},
        {doc_.LinePrgGetAttuat(65536 + 3), lines[0]->GetAttuat(3)},
        {doc_.LinePrgGetAttuat(9), lines[2]->GetAttuat(9)},
        {doc_.LinePrgGetAttuat(11), nullptr},
    };
    for (const auto& [got, expected] : found) {
        EXPECT_EQ(got, expected) << &got - &found[0].first;
    }
    EXPECT_NE(colors[2]->GetAttuat(11), nullptr);

    // State, feed and feed identifier of the first color of the number;
    // -32768 for no such color, an actuator the first color lacks (the later
    // color of the number has it), a kind without a state.
    const short cases[][5] = {{3, 1, 1, 1, 1},
                              {4, 1, 0, 2, 2},
                              {5, 1, 1, 3, 3},
                              {7, 2, 2, 4, 4},
                              {9, 2, kNoValue, 6, 6},
                              {10, 2, kNoValue, 5, 5},
                              {3, 7, kNoValue, kNoValue, kNoValue},
                              {11, 1, kNoValue, kNoValue, kNoValue}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c[0]) + " of color " + std::to_string(c[1]));
        EXPECT_EQ(doc_.GetStatoAttuat(c[0], c[1]), c[2]);
        EXPECT_EQ(doc_.GetCadutaAttuat(c[0], c[1]), c[3]);
        EXPECT_EQ(doc_.GetIdCadutaAttuat(c[0], c[1]), c[4]);
    }
    // A color numbered -1 (a section without "ID") is no color for GetColor,
    // while the value queries still find it.
    doc_.Colors()[1]->ID = -1;
    EXPECT_EQ(doc_.GetColor(-1), nullptr);
    EXPECT_EQ(doc_.GetCadutaAttuat(3, -1), 1);
}

using KindQuery = short (Configuration::*)(IndexList*, short, short) const;

TEST_F(ConfigurationQueriesTest, KindListsHoldEachIdentifierOnceInTheOrderMet) {
    struct Case {
        KindQuery query;
        short plane;
        short number;
        IndexList expected;
    } const cases[] = {
        {&Configuration::GetListColorDrum, -1, -1, {3, 4}},
        {&Configuration::GetListColorDrum, 2, -1, {3, 4}},
        {&Configuration::GetListColorDrum, 2, 1, {4}},
        {&Configuration::GetListColorDrum, 3, -1, {}},
        {&Configuration::GetListColorFinger, -1, -1, {5, 11}},
        {&Configuration::GetListColorSplitter, -1, -1, {6}},
        {&Configuration::GetListColorTriangle, -1, -1, {8}},
        {&Configuration::GetListColorStepMotor, -1, -1, {7}},
        {&Configuration::GetListColorStepMotorDis, -1, -1, {10}},
        {&Configuration::GetListColorSpeeder, -1, -1, {9}},
        {&Configuration::GetListLineDrum, -1, -1, {3, 4}},
        {&Configuration::GetListLineDrum, 2, -1, {3}},
        {&Configuration::GetListLineDrum, -1, 1, {4}},
        {&Configuration::GetListLineDrum, 1, 10, {}},
        {&Configuration::GetListLineFinger, -1, -1, {5}},
        {&Configuration::GetListLineSplitter, -1, -1, {6}},
        {&Configuration::GetListLineTriangle, -1, -1, {8}},
        {&Configuration::GetListLineStepMotor, -1, -1, {7}},
        {&Configuration::GetListLineStepMotorDis, -1, -1, {10}},
        {&Configuration::GetListLineSpeeder, -1, -1, {9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        // What the list held stays, is counted, and is not added again.
        IndexList list = {99, 4};
        IndexList expected = list;
        for (short id : c.expected) {
            if (id != 4) {
                expected.push_back(id);
            }
        }
        EXPECT_EQ((doc_.*c.query)(&list, c.plane, c.number), static_cast<short>(expected.size()));
        EXPECT_EQ(list, expected);
        EXPECT_EQ((doc_.*c.query)(nullptr, c.plane, c.number), 0);
    }
    // With no program the list is untouched and its size returned.
    IndexList list = {1, 2, 3};
    EXPECT_EQ(Configuration().GetListColorDrum(&list, -1, -1), 3);
    EXPECT_EQ(Configuration().GetListLineSpeeder(&list, -1, -1), 3);
    EXPECT_EQ(list, (IndexList{1, 2, 3}));
}

TEST_F(ConfigurationQueriesTest, NumberLists) {
    IndexList list;
    EXPECT_EQ(doc_.GetListColors(&list, -1), 2);  // color 1 once
    EXPECT_EQ(list, (IndexList{1, 2}));
    list.clear();
    EXPECT_EQ(doc_.GetListColors(&list, 2), 2);
    EXPECT_EQ(list, (IndexList{2, 1}));
    EXPECT_EQ(doc_.GetListColors(nullptr, -1), 0);

    list = {10};
    EXPECT_EQ(doc_.GetListLines(&list, 1), 3);
    EXPECT_EQ(list, (IndexList{10, 0, 1}));
    EXPECT_EQ(doc_.GetListLines(&list, -1), 3);
    EXPECT_EQ(doc_.GetListLines(nullptr, -1), 0);

    // Lines that hold an actuator: once per actuator, duplicates kept.
    list.clear();
    EXPECT_EQ(doc_.GetListLineAttuat(&list, 3, -1), 2);
    EXPECT_EQ(list, (IndexList{0, 10}));
    doc_.Lines()[0]->AddSorted(doc_.Lines()[0]->GetAttuat(3)->Clone());
    EXPECT_EQ(doc_.GetListLineAttuat(&list, 3, 1), 4);
    EXPECT_EQ(list, (IndexList{0, 10, 0, 0}));
    EXPECT_EQ(doc_.GetListLineAttuat(&list, 8, 2), 4);
    EXPECT_EQ(doc_.GetListLineAttuat(nullptr, 3, -1), 0);

    // The count is the list's length as 16 bits.
    list.assign(65533, 99);
    EXPECT_EQ(doc_.GetListColors(&list, 2), -1);
    list.assign(32765, 99);  // and three lines hold actuator 3
    EXPECT_EQ(doc_.GetListLineAttuat(&list, 3, -1), -32768);
}

TEST_F(ConfigurationQueriesTest, AddAndRemoveColors) {
    EXPECT_EQ(doc_.AddColor(-1, 1), nullptr);
    EXPECT_EQ(doc_.AddColor(5, 0), nullptr);
    EXPECT_EQ(doc_.AddColor(5, -2), nullptr);
    // A number already there is taken; the new color stays shadowed.
    ColorPrg* added = doc_.AddColor(2, 1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added, doc_.Colors().back().get());
    EXPECT_EQ(doc_.GetColor(2), doc_.Colors()[1].get());

    EXPECT_EQ(doc_.RemoveColor(-1), 0);
    EXPECT_EQ(doc_.RemoveColor(7), 0);
    EXPECT_EQ(doc_.RemoveColor(1), 1);  // the first of the number
    EXPECT_EQ(Colors(doc_), (Texts{"2/2 Red yarn", "1/2 Shadow", "2/1 "}));
    EXPECT_EQ(doc_.RemoveColor(2), 1);
    EXPECT_EQ(doc_.GetColor(2), added);
    // 0 is a color number like any other.
    ColorPrg* zero = doc_.AddColor(0, 1);
    EXPECT_EQ(doc_.GetColor(0), zero);
    EXPECT_EQ(doc_.RemoveColor(0), 1);
}

TEST_F(ConfigurationQueriesTest, AddLineThenRemoveLastLineRestoresTheThreeCounts) {
    const Texts before = Counts(doc_);
    EXPECT_EQ(before, (Texts{"0/1", "1/1", "10/2", "2", "2", "2"}));
    // Plane 1: the header follows the plane.
    EXPECT_EQ(doc_.AddLine(4, 1), 1);
    EXPECT_EQ(Counts(doc_), (Texts{"0/1", "1/1", "10/2", "2/1", "3", "2", "3"}));
    EXPECT_EQ(doc_.RemoveLastLine(1), 1);
    EXPECT_EQ(Counts(doc_), before);
    // Plane 2: numbered from 10, the header left alone.
    EXPECT_EQ(doc_.AddLine(4, 2) + doc_.AddLine(4, 2), 2);
    EXPECT_EQ(Counts(doc_), (Texts{"0/1", "1/1", "10/2", "11/2", "12/2", "2", "4", "2"}));
    EXPECT_EQ(doc_.RemoveLastLine(2) + doc_.RemoveLastLine(2), 2);
    EXPECT_EQ(Counts(doc_), before);

    // Full planes and planes below 1 take no line; removing from planes
    // below 1, or without a line, does nothing.
    EXPECT_EQ(doc_.AddLine(2, 1) + doc_.AddLine(1, 2) + doc_.AddLine(0, 0) + doc_.AddLine(4, -1),
              0);
    EXPECT_EQ(doc_.RemoveLastLine(0) + doc_.RemoveLastLine(-1) + doc_.RemoveLastLine(3), 0);
    EXPECT_EQ(Counts(doc_), before);
    EXPECT_EQ(Configuration().RemoveLastLine(1), 0);

    // A plane that does not exist: the line stays although the result is 0,
    // and is removed again, with no count changed.
    EXPECT_EQ(doc_.AddLine(4, 3), 0);
    EXPECT_EQ(Counts(doc_), (Texts{"0/1", "1/1", "10/2", "20/3", "2", "2", "2"}));
    EXPECT_EQ(doc_.RemoveLastLine(3), 0);
    EXPECT_EQ(Counts(doc_), before);

    // Plane 1 holding 0, 1 and 5: its last line would be 2, which no line
    // is. Nothing is removed, and no count drops below the lines held.
    ASSERT_EQ(doc_.CreateLine(5, 1), RE_SUCCESS);
    const Texts created = Counts(doc_);
    EXPECT_EQ(doc_.RemoveLastLine(1), 0);
    EXPECT_EQ(Counts(doc_), created);
}

// Each allocation of an edit failing in turn leaves the document as it was
// and gives the edit's failure result.
TEST_F(ConfigurationQueriesTest, EditsThatCannotBeMadeChangeNothing) {
    KNITCFG_REQUIRE_FAILING_ALLOCATION();
    const std::tuple<std::function<int()>, int, int> edits[] = {
        // the edit, its result when an allocation fails, and when none does
        {[this] { return doc_.AddColor(6, 1) != nullptr ? 1 : 0; }, 0, 1},
        {[this] { return doc_.AddLine(4, 2); }, 0, 1},
        {[this] { return static_cast<int>(doc_.CreateLine(3, 2)); }, RE_NO_SECTIONS, RE_SUCCESS},
        {[this] { return static_cast<int>(doc_.CreatePlane(3, "Third", 0)); }, RE_PLANE_NOT_ADDED,
         RE_SUCCESS},
    };
    auto state = [this] {
        Texts out = Colors(doc_);
        out.push_back(std::to_string(doc_.GetPlanesCount()));
        for (const std::string& count : Counts(doc_)) {
            out.push_back(count);
        }
        return out;
    };
    for (const auto& [edit, failure, success] : edits) {
        for (int skip = 0;; ++skip) {
            SCOPED_TRACE(skip);
            const Texts before = state();
            auto failing = std::make_unique<test::FailingAllocation>(skip);
            const int result = edit();
            const bool failed = failing->Failed();
            failing.reset();
            EXPECT_EQ(result, failed ? failure : success);
            if (!failed) {
                EXPECT_GT(skip, 0);
                break;
            }
            EXPECT_EQ(state(), before);
        }
    }
}

TEST_F(ConfigurationQueriesTest, LoadBlockReplacesTheBlockAtTheEnd) {
    PlanePrg* plane = doc_.GetPlane(2);
    const IndexList one = {1};
    for (int block : {1, 2, 3}) {
        plane->AddBlock(block, 0, &one);
    }
    EXPECT_EQ(doc_.LoadBlock(2, 2, 7, IndexList{8, 9}), 1);
    // A new number is added; the plane number is taken as 16 bits.
    EXPECT_EQ(doc_.LoadBlock(65536 + 2, 65536 + 4, 0, IndexList{}), 1);
    // No such plane: nothing changes.
    EXPECT_EQ(doc_.LoadBlock(3, 1, 0, IndexList{5}), 0);
    Texts blocks;
    for (const auto& block : plane->Blocks) {
        blocks.push_back(std::to_string(block->Number) + " " + std::to_string(block->Parameter) +
                         " " + std::to_string(block->Values.size()));
    }
    EXPECT_EQ(blocks, (Texts{"1 0 1", "3 0 1", "2 7 2", "4 0 0"}));
    EXPECT_EQ(plane->Blocks[2]->Values, (IndexList{8, 9}));
    EXPECT_TRUE(doc_.GetPlane(1)->Blocks.empty());
}

TEST_F(ConfigurationQueriesTest, HelpTexts) {
    // Found without regard to ASCII case, with CR LF breaks as held.
    EXPECT_EQ(std::vector<int>(
                  {doc_.GetColorForHelp("PLAIN background"), doc_.GetColorForHelp("red\r\nYARN"),
                   doc_.GetColorForHelp("Red\\nyarn"), doc_.GetColorForHelp("Plain"),
                   doc_.GetColorForHelp(nullptr), doc_.GetColorForHelpAbstract("RED YARN"),
                   doc_.GetColorForHelpAbstract("Plain background"),
                   doc_.GetColorForHelpAbstract(nullptr)}),
              std::vector<int>({1, 2, -1, -1, -1, 2, -1, -1}));
    EXPECT_EQ(Texts({doc_.GetColorHelp(2), doc_.GetColorHelpAbstrct(1), doc_.GetColorHelp(7),
                     doc_.GetColorHelpAbstrct(7)}),
              Texts({"Red\r\nyarn", "Background", "No Help Description",
                     "No Help Abstract Description"}));
    // Set on the first color of the number; none for a number no color has.
    EXPECT_EQ(doc_.SetColorHelp(1, "New\r\nhelp") + doc_.SetColorHelpAbstrct(1, nullptr), 2);
    EXPECT_EQ(doc_.SetColorHelp(7, "x") + doc_.SetColorHelpAbstrct(7, "x"), 0);
    EXPECT_EQ(doc_.Colors()[0]->Help + "|" + doc_.Colors()[2]->Help, "New\r\nhelp|Shadowed");
    EXPECT_EQ(doc_.GetColorForHelpAbstract("shadow"), 1);
    EXPECT_EQ(Colors(doc_), (Texts{"1/1 ", "2/2 Red yarn", "1/2 Shadow"}));
}

TEST_F(ConfigurationQueriesTest, EditsReachTheFileAtTheNextSave) {
    const std::string original = test::ReadFile(file_);
    ASSERT_EQ(doc_.RemoveColor(1), 1);  // the shadowed color is the one left
    ASSERT_EQ(doc_.SetColorHelp(1, "Shadow help\r\nline two"), 1);
    ASSERT_EQ(doc_.RemoveColor(2), 1);
    ASSERT_NE(doc_.AddColor(5, 2), nullptr);
    ASSERT_EQ(doc_.SetColorHelpAbstrct(5, "Added"), 1);
    ASSERT_EQ(doc_.AddLine(4, 1), 1);
    ASSERT_EQ(doc_.CreatePlane(3, "Third", 2), RE_SUCCESS);
    // Edits change memory only.
    EXPECT_EQ(test::ReadFile(file_), original);
    ASSERT_EQ(doc_.SaveCFG(file_.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file_), test::ReadFile(Data("planes/queries.edited.ini")));
}

}  // namespace
}  // namespace knitcfg
