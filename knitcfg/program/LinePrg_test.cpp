#include "knitcfg/program/LinePrg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/actuators/StepMotorDisColor.h"
#include "knitcfg/program/ColorPrg.h"
#include "knitcfg/program/ProgramTestUtil.h"

namespace knitcfg {
namespace {

using test::Crlf;
using test::Entries;
using LineList = std::vector<std::unique_ptr<LinePrg>>;

class LinePrgTest : public ::testing::Test {
protected:
    std::string Ini(const std::string& name, const std::string& text) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, Crlf(text));
        return path;
    }

    // Loads `section` of `file` into a new line filed in lines_; returns the
    // line and stores the result in *code.
    LinePrg* Load(const char* section, const std::string& file, RETERROR* code) {
        auto* line = new LinePrg;
        *code = line->LoadSection(section, file.c_str(), 3, &lines_);
        return line;
    }

    test::TempDir dir_;
    LineList lines_;
};

// Exposes the kind slots.
class SlotLine : public LinePrg {
public:
    using LinePrg::ChooseAttuatIdx;
};

TEST_F(LinePrgTest, ExampleLoadsAsLineOfPlaneOneAndSavesByteForByte) {
    const std::string golden = test::ReadFile(test::ProgramData("line-example.ini"));
    const std::string source = dir_.File("source.ini");
    test::WriteFile(source, golden);

    RETERROR code = RE_SUCCESS;
    LinePrg* line = Load("Line_003", source, &code);
    EXPECT_EQ(code, RE_LINE_BAD_PLANE);  // as for every section a save writes
    ASSERT_EQ(lines_.size(), 1u);
    EXPECT_EQ(lines_[0].get(), line);
    EXPECT_EQ(line->ID, 3);
    EXPECT_EQ(line->Plane, 1);
    EXPECT_EQ(line->Help, "");
    EXPECT_EQ(Entries(line->Attuats),
              (std::vector<std::string>{"Drum_000=4, 3, 3", "Finger_000=9, 5, 5"}));

    const std::string fresh = dir_.File("fresh.ini");
    EXPECT_EQ(line->SaveLine(fresh.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(fresh), golden);
    EXPECT_EQ(line->SaveLine(source.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(source), golden);
}

TEST_F(LinePrgTest, LoadSectionNumberPlaneAndResult) {
    struct Case {
        const char* name;
        const char* section;
        const char* text;
        RETERROR code;
        short id;
        short plane;
    };
    const Case cases[] = {
        {"entries only", "Line_012", "[Line_012]\nDrum_000=1, 1, 1\n", RE_LINE_BAD_PLANE, 12, 1},
        {"ID without Plane", "Line_003", "[Line_003]\nID=7\nHelp=x\n", RE_LINE_BAD_PLANE, 7, -1},
        {"name and plane 1 win over Plane", "Line_005", "[Line_005]\nPlane=3\nDrum_000=1, 1, 1\n",
         RE_LINE_NO_HELP, 5, 1},
        {"negative ID", "Line_006", "[Line_006]\nID=-4\nPlane=2\nHelp=x\n", RE_SUCCESS, 6, 1},
        {"missing section", "Line_044", "[Other]\nA=1\n", RE_LINE_BAD_PLANE, 44, 1},
        {"complete", "Line_001", "[Line_001]\nID=11\nPlane=2\nHelp=Top\n", RE_SUCCESS, 11, 2},
        {"no help", "Line_001", "[Line_001]\nID=11\nPlane=2\nHelp=\n", RE_LINE_NO_HELP, 11, 2},
        {"plane zero", "Line_001", "[Line_001]\nID=11\nPlane=0\n", RE_LINE_BAD_PLANE, 11, 0},
        {"plane of 16 bits zero", "Line_001", "[Line_001]\nID=11\nPlane=65536\nHelp=x\n",
         RE_LINE_BAD_PLANE, 11, 0},
        {"ID beyond 16 bits", "Line_008", "[Line_008]\nID=65537\nPlane=1\nHelp=x\n", RE_SUCCESS, 1,
         1},
        {"ID negative as 16 bits", "Line_008", "[Line_008]\nID=40000\nPlane=1\nHelp=x\n",
         RE_SUCCESS, 8, 1},
        {"name without number", "Line_x", "[Line_x]\nPlane=4\nHelp=x\n", RE_SUCCESS, -1, 1},
        {"name shorter than the prefix", "Li", "[Li]\nPlane=4\nHelp=x\n", RE_SUCCESS, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = Ini("line.ini", c.text);
        RETERROR code = RE_SUCCESS;
        LinePrg* line = Load(c.section, file, &code);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(line->ID, c.id);
        EXPECT_EQ(line->Plane, c.plane);
        EXPECT_EQ(lines_.back().get(), line);  // filed whatever the result
    }
}

TEST_F(LinePrgTest, KeysMergeAsInAColorAndDoNotChangeTheResult) {
    const std::string file = Ini("merge.ini", R"([Line_002]
ID=2
Plane=1
Help=Merged\nhelp
Drum_000=5, 4, 4
Finger_000=6, 2, 2
Splitter_000=7, 5, 5
Drum_001=5, 9, 9
Finger_001=5, 1, 1
Triangle_000=8, 2, 2
drum_002=9, 1, 1
Speeder_000=
)");
    RETERROR code = RE_WRONG_KIND;
    LinePrg* line = Load("Line_002", file, &code);
    EXPECT_EQ(code, RE_SUCCESS);
    EXPECT_EQ(line->Help, "Merged\r\nhelp");
    EXPECT_EQ(Entries(line->Attuats),
              (std::vector<std::string>{"Finger_000=6, 2, 2", "Triangle_000=8, 2, 2",
                                        "Drum_000=5, 9, 9", "Splitter_000=7, 5, 5"}));
}

TEST_F(LinePrgTest, HelpIsReadThrough512Characters) {
    const std::string file =
        Ini("long.ini", "[Line_001]\nID=1\nPlane=1\nHelp=" + std::string(600, 'h') + "\n");
    RETERROR code = RE_WRONG_KIND;
    LinePrg* line = Load("Line_001", file, &code);
    EXPECT_EQ(code, RE_SUCCESS);
    EXPECT_EQ(line->Help, std::string(511, 'h'));

    // A missing help keeps the text the line had.
    const std::string bare = Ini("bare.ini", "[Line_001]\nID=1\nPlane=1\n");
    EXPECT_EQ(line->LoadSection("Line_001", bare.c_str(), 0, nullptr), RE_LINE_NO_HELP);
    EXPECT_EQ(line->Help, std::string(511, 'h'));
}

TEST_F(LinePrgTest, FilingTakesOwnershipOnce) {
    const std::string file = Ini("file.ini", "[Line_001]\nDrum_000=1, 1, 1\n");
    RETERROR code = RE_SUCCESS;
    LinePrg* line = Load("Line_001", file, &code);
    // Loaded again with the list that owns it: not filed a second time.
    line->LoadSection("Line_001", file.c_str(), 0, &lines_);
    EXPECT_EQ(lines_.size(), 1u);
    EXPECT_EQ(line->Attuats.size(), 1u);  // merged into the drum it holds

    // Without a list the caller keeps it.
    LinePrg own;
    EXPECT_EQ(own.LoadSection("Line_001", file.c_str(), 0, nullptr), RE_LINE_BAD_PLANE);
    EXPECT_EQ(own.ID, 1);
    EXPECT_EQ(lines_.size(), 1u);
    EXPECT_EQ(own.LoadSection(nullptr, nullptr, 0, nullptr), RE_LINE_BAD_PLANE);
}

TEST_F(LinePrgTest, SaveLineWritesPlaneOneOnly) {
    const std::string file = Ini("save.ini", "[Line_012]\nDrum_000=1, 1, 1\n");
    const std::string before = test::ReadFile(file);
    LinePrg upper;
    upper.ID = 12;
    upper.Plane = 2;
    EXPECT_EQ(upper.SaveLine(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file), before);

    LinePrg empty;
    empty.ID = 4;
    empty.Plane = 1;
    EXPECT_EQ(empty.SaveLine(file.c_str()), RE_SUCCESS);
    LinePrg zero;
    zero.ID = 5;
    zero.Plane = 0;
    zero.Help = "not written";
    zero.AddSorted(new SpeederLine);
    EXPECT_EQ(zero.SaveLine(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file), before + Crlf(R"([Line_004]
[Line_005]
Speeder_000=-32768, -32768, -32768
)"));
}

TEST_F(LinePrgTest, SaveLineCodes) {
    const std::string file = Ini("codes.ini", "[Line_001]\nDrum_000=1, 1, 1\n");
    const std::string before = test::ReadFile(file);
    LinePrg colorKind;
    colorKind.ID = 1;
    colorKind.AddSorted(new DrumLine);
    colorKind.AddSorted(new DrumColor);
    EXPECT_EQ(colorKind.SaveLine(file.c_str()), RE_EMPTY_LINE);
    EXPECT_EQ(test::ReadFile(file), before);
    LinePrg fine;
    EXPECT_EQ(fine.SaveLine(dir_.File("no/such/folder.ini").c_str()), RE_WRITE_SECTION);
}

TEST_F(LinePrgTest, ChooseAttuatIdxMapsEachKindToItsSlot) {
    SlotLine line;
    int counters[7] = {};
    const std::pair<std::unique_ptr<Attuat>, int> cases[] = {
        {std::make_unique<DrumLine>(), 0},         {std::make_unique<FingerLine>(), 1},
        {std::make_unique<SplitterLine>(), 2},     {std::make_unique<StepMotorLine>(), 3},
        {std::make_unique<StepMotorDisLine>(), 4}, {std::make_unique<TriangleLine>(), 5},
        {std::make_unique<SpeederLine>(), 6},      {std::make_unique<DrumColor>(), -1},
        {std::make_unique<Attuat>(), -1},
    };
    for (const auto& [actuator, slot] : cases) {
        int* counter = line.ChooseAttuatIdx(actuator.get(), counters);
        EXPECT_EQ(counter, slot < 0 ? nullptr : counters + slot);
    }
}

TEST_F(LinePrgTest, ListQueries) {
    const std::string file = Ini("lists.ini", R"([Line_013]
ID=13
Plane=2
Help=x
Drum_000=4, 1, 1
Finger_000=4, 2, 2
Splitter_000=5, 3, 3
Triangle_000=6, 3, 3
SteppingMotor_000=7, 3, 3
SteppingMotorDis_000=8, 3, 3
Speeder_000=9, 3, 3
Drum_001=-1, 4, 4
)");
    RETERROR code = RE_SUCCESS;
    LinePrg* line = Load("Line_013", file, &code);
    // The finger's identifier was the drum's: it merged and was dropped.
    ASSERT_EQ(line->Attuats.size(), 7u);
    line->AddSorted(line->GetAttuat(4)->Clone());

    using Query = int (LinePrg::*)(IndexList*, short, short) const;
    const std::pair<Query, IndexList> kinds[] = {
        {&LinePrg::GetListDrum, {4, -1}},  {&LinePrg::GetListFinger, {}},
        {&LinePrg::GetListSplitter, {5}},  {&LinePrg::GetListTriangle, {6}},
        {&LinePrg::GetListStepMotor, {7}}, {&LinePrg::GetListStepMotorDis, {8}},
        {&LinePrg::GetListSpeeder, {9}},
    };
    for (const auto& [query, expected] : kinds) {
        IndexList list;
        EXPECT_EQ((line->*query)(&list, kAny, kAny), 1);
        EXPECT_EQ((line->*query)(&list, 2, 13), 1);
        EXPECT_EQ(list, expected);
        IndexList none;
        EXPECT_EQ((line->*query)(&none, 1, kAny), 1);
        EXPECT_EQ((line->*query)(&none, kAny, 12), 1);
        EXPECT_TRUE(none.empty());
    }

    IndexList numbers;
    EXPECT_EQ(line->GetListLines(&numbers, kAny), 1);
    EXPECT_EQ(line->GetListLines(&numbers, 2), 1);
    EXPECT_EQ(line->GetListLines(&numbers, 1), 1);
    EXPECT_EQ(numbers, IndexList{13});

    // Once per actuator with the identifier, duplicates and all.
    IndexList driving{13};
    EXPECT_EQ(line->GetListLineAttuat(&driving, 4, kAny), 1);
    EXPECT_EQ(line->GetListLineAttuat(&driving, -1, 2), 1);
    EXPECT_EQ(line->GetListLineAttuat(&driving, 5, 1), 1);
    EXPECT_EQ(line->GetListLineAttuat(&driving, 99, kAny), 1);
    EXPECT_EQ(driving, (IndexList{13, 13, 13, 13}));
    EXPECT_EQ(line->GetListLineAttuat(nullptr, 4, kAny), 1);

    EXPECT_EQ(line->GetAttuat(99), nullptr);
    Attuat* speeder = line->GetAttuat(9);
    ASSERT_NE(speeder, nullptr);
    EXPECT_EQ(line->RemoveAttuat(speeder), 1);
    EXPECT_EQ(line->RemoveAttuat(speeder), 0);
    delete speeder;  // the caller's now
}

TEST_F(LinePrgTest, CopiesCloneTheActuatorsAndDestructionLeavesThePrototypes) {
    const std::string file = test::ProgramData("line-example.ini");
    RETERROR code = RE_SUCCESS;
    LinePrg* line = Load("Line_003", file, &code);
    line->Help = "help";

    // A color entry leaves its speed in the shared prototype.
    const std::string colors = Ini("colors.ini", "[Color_001]\nSpeeder_000=1, 1, 1, +3.000\n");
    auto color = std::make_unique<ColorPrg>();
    color->LoadSection("Color_001", colors.c_str());
    {
        const LinePrg copy(*line);
        EXPECT_EQ(copy.ID, 3);
        EXPECT_EQ(copy.Plane, 1);
        EXPECT_EQ(copy.Help, "help");
        EXPECT_EQ(Entries(copy.Attuats), Entries(line->Attuats));
        EXPECT_NE(copy.Attuats[0].get(), line->Attuats[0].get());
        EXPECT_EQ(copy.Prototypes, detail::LinePrototypes());
    }
    EXPECT_EQ(detail::ColorPrototypes()[6]->GetVelocita(), "+3.000");

    const std::unique_ptr<ModelObject> made(LinePrg::GetThisClass()->CreateObject());
    EXPECT_STREQ(made->GetRuntimeClass()->className, "LinePrg");
    const auto* fresh = dynamic_cast<LinePrg*>(made.get());
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->ID, kNoValue);
    EXPECT_EQ(fresh->Plane, 0);
}

}  // namespace
}  // namespace knitcfg
