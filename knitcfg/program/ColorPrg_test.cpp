#include "knitcfg/program/ColorPrg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/actuators/StepMotorDisColor.h"
#include "knitcfg/program/ProgramTestUtil.h"

namespace knitcfg {
namespace {

using test::Crlf;
using test::Entries;

class ColorPrgTest : public ::testing::Test {
protected:
    // Writes `text` (LF line ends, stored as CR LF) into `name` in the
    // test's folder and returns its path.
    std::string Ini(const std::string& name, const std::string& text) {
        const std::string path = dir_.File(name);
        test::WriteFile(path, Crlf(text));
        return path;
    }

    test::TempDir dir_;
};

// Exposes the kind slots.
class SlotColor : public ColorPrg {
public:
    using ColorPrg::ChooseAttuatIdx;
};

TEST_F(ColorPrgTest, ExampleLoadsAndSavesByteForByte) {
    const std::string golden = test::ReadFile(test::ProgramData("color-example.ini"));
    const std::string source = Ini("source.ini", "");
    test::WriteFile(source, golden);

    ColorPrg color;
    EXPECT_EQ(color.LoadSection("Color_003", source.c_str()), RE_SUCCESS);
    EXPECT_EQ(color.ID, 3);
    EXPECT_EQ(color.Plane, 1);
    EXPECT_EQ(color.HelpAbstract, "Red yarn");
    EXPECT_EQ(color.Help, "First line\r\nSecond line");
    EXPECT_EQ(Entries(color.Attuats),
              (std::vector<std::string>{"Drum_000=12, 1, 1, 0", "Finger_000=14, 1, 1, 1",
                                        "Drum_000=13, 2, 2, 0"}));

    // Into a new file, and over the file it came from.
    const std::string fresh = dir_.File("fresh.ini");
    EXPECT_EQ(color.SaveColor(fresh.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(fresh), golden);
    EXPECT_EQ(color.SaveColor(source.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(source), golden);
}

TEST_F(ColorPrgTest, MixedKindsAreSortedByFeedAndNumberedPerKind) {
    ColorPrg color;
    EXPECT_EQ(color.LoadSection("Color_007", test::ProgramData("color-mixed.ini").c_str()),
              RE_SUCCESS);
    const std::string saved = dir_.File("saved.ini");
    EXPECT_EQ(color.SaveColor(saved.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(saved), test::ReadFile(test::ProgramData("color-mixed.saved.ini")));
}

TEST_F(ColorPrgTest, EntriesWithOneIdentifierMerge) {
    const std::string file = Ini("merge.ini", R"([Color_001]
ID=1
Plane=1
Drum_000=5, 4, 4, 0
Finger_000=6, 2, 2, 1
Splitter_000=7, 5, 5, 0
Drum_001=5, 9, 9, 1
Finger_001=5, 1, 1, 1
)");
    ColorPrg color;
    // The last entry, a finger with the drum's identifier, is dropped.
    EXPECT_EQ(color.LoadSection("Color_001", file.c_str()), RE_WRONG_KIND);
    // The later drum entry's values, at the place the earlier one took,
    // although its feed is now the greatest.
    EXPECT_EQ(Entries(color.Attuats),
              (std::vector<std::string>{"Finger_000=6, 2, 2, 1", "Drum_000=5, 9, 9, 1",
                                        "Splitter_000=7, 5, 5, 0"}));
}

TEST_F(ColorPrgTest, EqualFeedsStayInFileOrder) {
    const std::string file = Ini("order.ini", R"([Color_002]
Drum_000=1, 2, 2, 0
Finger_000=2, 1, 1, 0
Splitter_000=3, 2, 2, 0
Triangle_000=4, 1, 1, 0
Drum_001=5, 2, 2, 0
)");
    ColorPrg color;
    color.LoadSection("Color_002", file.c_str());
    EXPECT_EQ(Entries(color.Attuats),
              (std::vector<std::string>{"Finger_000=2, 1, 1, 0", "Triangle_000=4, 1, 1, 0",
                                        "Drum_000=1, 2, 2, 0", "Splitter_000=3, 2, 2, 0",
                                        "Drum_000=5, 2, 2, 0"}));
}

TEST_F(ColorPrgTest, LoadSectionResultIsTheLastKeysCode) {
    struct Case {
        const char* name;
        const char* text;
        RETERROR code;
        std::size_t actuators;
    };
    const Case cases[] = {
        {"no such section", "[Other]\nA=1\n", RE_EMPTY_COLOR, 0},
        {"section of comments only", "[Color_009]\n; nothing\n", RE_EMPTY_COLOR, 0},
        {"header keys only", "[Color_009]\nID=9\nPlane=1\nHelp=x\n", RE_SPEEDER_COLOR_ENTRY, 0},
        {"last entry taken", "[Color_009]\nID=9\nDrum_000=1, 1, 1, 0\n", RE_SUCCESS, 1},
        {"last entry merged", "[Color_009]\nDrum_000=1, 1, 1, 0\nDrum_001=1, 2, 2, 1\n", RE_SUCCESS,
         1},
        {"last entry claimed by another kind",
         "[Color_009]\nDrum_000=1, 1, 1, 0\nFinger_000=1, 2, 2, 1\n", RE_WRONG_KIND, 1},
        {"header key claimed by an actuator", "[Color_009]\nDrum_000=4, 1, 1, 0\nPlane=4\n",
         RE_WRONG_KIND, 1},
        {"last key of no kind", "[Color_009]\nDrum_000=1, 1, 1, 0\ndrum_001=2, 1, 1, 0\n",
         RE_SPEEDER_COLOR_ENTRY, 1},
        {"last entry empty", "[Color_009]\nDrum_000=1, 1, 1, 0\nDrum_001=\n",
         RE_SPEEDER_COLOR_ENTRY, 1},
        {"earlier codes are not kept", "[Color_009]\nDrum_000=\nDrum_001=1, 1, 1, 0\n", RE_SUCCESS,
         1},
        {"merge refused by its own kind",
         "[Color_009]\nSteppingMotorDis_000=3 1 1 +1.0 0 0 +2.0 0 0 0 0\n"
         "SteppingMotorDis_001=3 1 1 +1.00000000000 0 0 +2.0 0 0 0 0\n",
         RE_STEPMOTORDIS_COLOR_ENTRY, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = Ini("codes.ini", c.text);
        ColorPrg color;
        EXPECT_EQ(color.LoadSection("Color_009", file.c_str()), c.code);
        EXPECT_EQ(color.Attuats.size(), c.actuators);
        if (c.code == RE_EMPTY_COLOR) {
            EXPECT_EQ(color.ID, -1);
            EXPECT_EQ(color.Plane, -1);
        }
    }
}

TEST_F(ColorPrgTest, LoadSectionMergesIntoTheActuatorsHeld) {
    const std::string file = Ini("more.ini", R"([Color_004]
ID=4
Drum_000=1, 3, 3, 7
Finger_000=2, 1, 1, 0
)");
    ColorPrg color;
    color.Help = "kept";
    auto* drum = new DrumColor;
    drum->Id = 1;
    drum->Caduta = 5;
    color.AddSorted(drum);
    EXPECT_EQ(color.LoadSection("Color_004", file.c_str()), RE_SUCCESS);
    EXPECT_EQ(color.Help, "kept");  // missing in the section
    ASSERT_EQ(color.Attuats.size(), 2u);
    EXPECT_EQ(color.Attuats[1].get(), drum);
    EXPECT_EQ(Entries(color.Attuats),
              (std::vector<std::string>{"Finger_000=2, 1, 1, 0", "Drum_000=1, 3, 3, 7"}));
}

TEST_F(ColorPrgTest, HelpTextsTravelWithEscapedLineBreaks) {
    const std::string file = dir_.File("help.ini");
    ColorPrg color;
    color.ID = 12;
    color.Plane = 1;
    color.HelpAbstract = "One\r\nTwo";
    color.Help = "Typed \\n here, a break\r\nthere";
    EXPECT_EQ(color.SaveColor(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file), Crlf(R"([Color_012]
ID=12
Plane=1
HelpAbstract=One\nTwo
Help=Typed \n here, a break\nthere
)"));
    // Memory holds what a reader of the file gets back.
    EXPECT_EQ(color.HelpAbstract, "One\r\nTwo");
    EXPECT_EQ(color.Help, "Typed \r\n here, a break\r\nthere");

    ColorPrg back;
    EXPECT_EQ(back.LoadSection("Color_012", file.c_str()), RE_SPEEDER_COLOR_ENTRY);
    EXPECT_EQ(back.HelpAbstract, color.HelpAbstract);
    EXPECT_EQ(back.Help, color.Help);
}

TEST_F(ColorPrgTest, HelpTextsAreReadThrough260Characters) {
    const std::string file =
        Ini("long.ini", "[Color_001]\nHelp=" + std::string(300, 'h') +
                            "\nHelpAbstract=" + std::string(258, 'a') + "\\n\n");
    ColorPrg color;
    color.LoadSection("Color_001", file.c_str());
    EXPECT_EQ(color.Help, std::string(259, 'h'));
    // The cut falls inside the escape: its backslash stays alone.
    EXPECT_EQ(color.HelpAbstract, std::string(258, 'a') + "\\");
}

TEST_F(ColorPrgTest, SaveColorCodes) {
    const std::string file = Ini("target.ini", "[Color_005]\nID=5\nDrum_000=1, 1, 1, 0\n");
    const std::string before = test::ReadFile(file);

    ColorPrg lineKind;
    lineKind.ID = 5;
    lineKind.AddSorted(new DrumColor);
    lineKind.AddSorted(new DrumLine);
    EXPECT_EQ(lineKind.SaveColor(file.c_str()), RE_NOT_A_COLOR_ACTUATOR);
    ColorPrg plain;
    plain.ID = 5;
    plain.AddSorted(new Attuat);
    EXPECT_EQ(plain.SaveColor(file.c_str()), RE_NOT_A_COLOR_ACTUATOR);
    EXPECT_EQ(test::ReadFile(file), before);

    // A lone line feed cannot be written: the section would read back as
    // something else.
    ColorPrg loneBreak;
    loneBreak.ID = 5;
    loneBreak.Help = "a\nb";
    EXPECT_EQ(loneBreak.SaveColor(file.c_str()), RE_WRITE_SECTION);
    EXPECT_EQ(test::ReadFile(file), before);
    ColorPrg fine;
    EXPECT_EQ(fine.SaveColor(dir_.File("no/such/folder.ini").c_str()), RE_WRITE_SECTION);
    EXPECT_EQ(fine.SaveColor(nullptr), RE_WRITE_SECTION);
}

TEST_F(ColorPrgTest, SectionNameIsThreeDigitsAtLeast) {
    const std::string file = dir_.File("names.ini");
    ColorPrg color;
    color.ID = 1200;
    EXPECT_EQ(color.SaveColor(file.c_str()), RE_SUCCESS);
    color.ID = -1;
    EXPECT_EQ(color.SaveColor(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file), Crlf(R"([Color_1200]
ID=1200
Plane=0
HelpAbstract=
Help=
[Color_-001]
ID=-1
Plane=0
HelpAbstract=
Help=
)"));
}

TEST_F(ColorPrgTest, ChooseAttuatIdxMapsEachKindToItsSlot) {
    SlotColor color;
    int counters[7] = {};
    struct Case {
        std::unique_ptr<Attuat> actuator;
        int slot;
    };
    Case cases[] = {
        {std::make_unique<DrumColor>(), 0},         {std::make_unique<FingerColor>(), 1},
        {std::make_unique<SplitterColor>(), 2},     {std::make_unique<StepMotorColor>(), 3},
        {std::make_unique<StepMotorDisColor>(), 4}, {std::make_unique<TriangleColor>(), 5},
        {std::make_unique<SpeederColor>(), 6},      {std::make_unique<DrumLine>(), -1},
        {std::make_unique<Attuat>(), -1},           {nullptr, -1},
    };
    for (const Case& c : cases) {
        int* counter = color.ChooseAttuatIdx(c.actuator.get(), counters);
        if (c.slot < 0) {
            EXPECT_EQ(counter, nullptr);
        } else {
            EXPECT_EQ(counter, counters + c.slot);
        }
    }
}

TEST_F(ColorPrgTest, LookupsByIdentifier) {
    const std::string file = Ini("lookup.ini", R"([Color_001]
Drum_000=3, 1, 2, 7
Speeder_000=4, 5, 6, +0.500
)");
    ColorPrg color;
    color.LoadSection("Color_001", file.c_str());
    EXPECT_EQ(color.GetStato(3), 7);
    EXPECT_EQ(color.GetCaduta(3), 1);
    EXPECT_EQ(color.GetIdCaduta(3), 2);
    EXPECT_EQ(color.GetStato(4), kNoValue);  // a speeder has no state
    EXPECT_EQ(color.GetCaduta(4), 5);
    ASSERT_NE(color.GetAttuat(4), nullptr);
    EXPECT_EQ(color.GetAttuat(4)->GetVelocita(), "+0.500");
    EXPECT_EQ(color.GetStato(8), kNoValue);
    EXPECT_EQ(color.GetCaduta(8), kNoValue);
    EXPECT_EQ(color.GetIdCaduta(8), kNoValue);
    EXPECT_EQ(color.GetAttuat(8), nullptr);
}

TEST_F(ColorPrgTest, KindQueriesFilterByPlaneAndColor) {
    const std::string file = Ini("kinds.ini", R"([Color_002]
ID=2
Plane=3
Drum_000=1, 1, 1, 0
Finger_000=2, 1, 1, 0
Splitter_000=3, 1, 1, 0
Triangle_000=4, 1, 1, 0
SteppingMotor_000=5, 1, 1, 0, 0
SteppingMotorDis_000=6 1 1 +0.0 0 0 +0.0 0 0 0 0
Speeder_000=7, 1, 1, +0.0
Drum_001=8, 2, 2, 0
)");
    ColorPrg color;
    color.LoadSection("Color_002", file.c_str());
    using Query = int (ColorPrg::*)(IndexList*, short, short) const;
    // Each list holds an 8 already: it is kept, and not added again.
    const std::pair<Query, IndexList> kinds[] = {
        {&ColorPrg::GetListDrum, {8, 1}},      {&ColorPrg::GetListFinger, {8, 2}},
        {&ColorPrg::GetListSplitter, {8, 3}},  {&ColorPrg::GetListTriangle, {8, 4}},
        {&ColorPrg::GetListStepMotor, {8, 5}}, {&ColorPrg::GetListStepMotorDis, {8, 6}},
        {&ColorPrg::GetListSpeeder, {8, 7}},
    };
    for (const auto& [query, expected] : kinds) {
        IndexList list{8};
        EXPECT_EQ((color.*query)(&list, kAny, kAny), 1);
        EXPECT_EQ((color.*query)(&list, 3, 2), 1);  // twice: nothing more
        EXPECT_EQ(list, expected);
        IndexList none;
        EXPECT_EQ((color.*query)(&none, 1, kAny), 1);
        EXPECT_EQ((color.*query)(&none, kAny, 5), 1);
        EXPECT_TRUE(none.empty());
    }
}

TEST_F(ColorPrgTest, GetListColorsAddsTheNumberOnce) {
    ColorPrg color;
    color.ID = 4;
    color.Plane = 2;
    IndexList list;
    EXPECT_EQ(color.GetListColors(&list, kAny), 1);
    EXPECT_EQ(color.GetListColors(&list, 2), 1);
    EXPECT_EQ(color.GetListColors(&list, 1), 1);
    EXPECT_EQ(list, IndexList{4});
    EXPECT_EQ(color.GetListColors(nullptr, kAny), 1);
}

TEST_F(ColorPrgTest, AddSortedAndRemoveAttuatHandOverOwnership) {
    ColorPrg color;
    auto make = [](short id, short caduta) {
        auto* drum = new DrumColor;
        drum->Id = id;
        drum->Caduta = caduta;
        return drum;
    };
    DrumColor* first = make(1, 2);
    color.AddSorted(first);
    color.AddSorted(make(2, 1));
    color.AddSorted(make(3, 2));
    color.AddSorted(make(4, -5));
    color.AddSorted(first);    // held already: ignored
    color.AddSorted(nullptr);  // ignored
    std::vector<short> ids;
    for (const auto& a : color.Attuats) {
        ids.push_back(a->Id);
    }
    EXPECT_EQ(ids, (std::vector<short>{4, 2, 1, 3}));

    DrumColor stranger;
    EXPECT_EQ(color.RemoveAttuat(&stranger), 0);
    EXPECT_EQ(color.RemoveAttuat(nullptr), 0);
    EXPECT_EQ(color.Attuats.size(), 4u);
    EXPECT_EQ(color.RemoveAttuat(first), 1);
    const std::unique_ptr<Attuat> owned(first);  // the caller's now
    EXPECT_EQ(color.Attuats.size(), 3u);
    EXPECT_EQ(color.GetAttuat(1), nullptr);
}

TEST_F(ColorPrgTest, CopiesCloneTheActuatorsAndShareThePrototypes) {
    ColorPrg color;
    color.LoadSection("Color_003", test::ProgramData("color-example.ini").c_str());

    const ColorPrg copy(color);
    EXPECT_EQ(copy.ID, 3);
    EXPECT_EQ(copy.Plane, 1);
    EXPECT_EQ(copy.Help, color.Help);
    EXPECT_EQ(copy.HelpAbstract, color.HelpAbstract);
    EXPECT_EQ(Entries(copy.Attuats), Entries(color.Attuats));
    EXPECT_NE(copy.Attuats[0].get(), color.Attuats[0].get());
    EXPECT_EQ(copy.Prototypes, color.Prototypes);
    EXPECT_EQ(copy.Prototypes, detail::ColorPrototypes());

    ColorPrg target;
    target.ID = 8;
    target.Help = "old";
    target.AddSorted(new FingerColor);
    target.SetColor(&color);
    EXPECT_EQ(target.ID, 8);
    EXPECT_EQ(target.Plane, 1);
    EXPECT_EQ(target.Help, color.Help);
    EXPECT_EQ(target.HelpAbstract, color.HelpAbstract);
    EXPECT_EQ(Entries(target.Attuats), Entries(color.Attuats));

    // From itself and from nothing: unchanged, its actuators still the same.
    Attuat* held = color.Attuats[0].get();
    color.SetColor(&color);
    color.SetColor(nullptr);
    EXPECT_EQ(color.Attuats.size(), 3u);
    EXPECT_EQ(color.Attuats[0].get(), held);
    EXPECT_EQ(Entries(color.Attuats), Entries(copy.Attuats));
}

TEST_F(ColorPrgTest, DestructionEmptiesTheTextsThePrototypesKept) {
    const std::string file = Ini("texts.ini", R"([Color_001]
Speeder_000=1, 1, 1, +2.500
SteppingMotorDis_000=2 1 1 +1.250 0 0 -0.750 0 0 0 0
)");
    Attuat* speeder = detail::ColorPrototypes()[6];
    Attuat* stepMotorDis = detail::ColorPrototypes()[5];
    {
        ColorPrg color;
        color.LoadSection("Color_001", file.c_str());
        EXPECT_EQ(speeder->GetVelocita(), "+2.500");
        EXPECT_EQ(stepMotorDis->GetQuotaAghi(), "+1.250");
        EXPECT_EQ(stepMotorDis->GetQuotaRanghi(), "-0.750");
    }
    EXPECT_EQ(speeder->GetVelocita(), "");
    EXPECT_EQ(stepMotorDis->GetQuotaAghi(), "");
    EXPECT_EQ(stepMotorDis->GetQuotaRanghi(), "");
}

TEST_F(ColorPrgTest, RuntimeClass) {
    const std::unique_ptr<ModelObject> made(ColorPrg::GetThisClass()->CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_STREQ(made->GetRuntimeClass()->className, "ColorPrg");
    const auto* color = dynamic_cast<ColorPrg*>(made.get());
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color->ID, -1);
    EXPECT_EQ(color->Plane, 0);
    EXPECT_TRUE(color->Attuats.empty());
    EXPECT_EQ(color->Prototypes, detail::ColorPrototypes());
}

}  // namespace
}  // namespace knitcfg
