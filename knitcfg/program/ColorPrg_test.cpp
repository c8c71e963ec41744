#include "knitcfg/program/ColorPrg.h"

#include <gtest/gtest.h>

#include <string>

#include "CaseTable.h"
#include "IniFileTest.h"
#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/detail/Prototypes.h"

namespace knitcfg {
namespace {

using test::Crlf;
using test::Entries;

// What colors do that lines do not; the rest is in ColorAndLine_test.cpp.
class ColorPrgTest : public test::IniFileTest {};

TEST_F(ColorPrgTest, LoadSectionResultIsTheLastKeysCode) {
    const std::string file = test::ProgramData("color-codes.ini");
    for (const auto& [section, expected] : test::ReadExpectations("program/color-codes.ini")) {
        SCOPED_TRACE(section);
        ColorPrg color;
        const RETERROR code = color.LoadSection(section.c_str(), file.c_str());
        EXPECT_EQ(std::to_string(code) + " " + std::to_string(color.Attuats.size()), expected);
    }
    // A missing section sets the numbers to -1.
    ColorPrg missing;
    missing.ID = 3;
    missing.Plane = 3;
    EXPECT_EQ(missing.LoadSection("Color_404", file.c_str()), RE_EMPTY_COLOR);
    EXPECT_EQ(missing.ID, -1);
    EXPECT_EQ(missing.Plane, -1);
}

// A caller's class derived from a kind, with a run-time class of its own.
class OwnFinger : public FingerColor {
    KNITCFG_DECLARE_CLASS(OwnFinger)
};
KNITCFG_IMPLEMENT_CLASS(OwnFinger, FingerColor)

TEST_F(ColorPrgTest, DerivedActuatorsAreNumberedWithTheirKind) {
    const std::string file = dir_.File("derived.ini");
    ColorPrg color;
    color.ID = 1;
    color.Plane = 1;
    color.Attuats.push_back(std::make_unique<OwnFinger>());
    color.Attuats.push_back(std::make_unique<DrumColor>());
    color.Attuats.push_back(std::make_unique<FingerColor>());
    ASSERT_EQ(color.SaveColor(file.c_str()), RE_SUCCESS);
    const std::string unset = "=-32768, -32768, -32768, -32768\n";
    EXPECT_EQ(test::ReadFile(file),
              Crlf("[Color_001]\nID=1\nPlane=1\nHelpAbstract=\nHelp=\nFinger_000" + unset +
                   "Drum_000" + unset + "Finger_001" + unset));
}

TEST_F(ColorPrgTest, HelpTextsTravelWithEscapedLineBreaks) {
    const std::string file = dir_.File("help.ini");
    ColorPrg color;
    color.ID = 12;
    color.Plane = 1;
    color.HelpAbstract = "One\r\nTwo";
    color.Help = "Typed \\n here, a break\r\nthere";
    EXPECT_EQ(color.SaveColor(file.c_str()), RE_SUCCESS);
    EXPECT_EQ(test::ReadFile(file), Crlf("[Color_012]\nID=12\nPlane=1\nHelpAbstract=One\\nTwo\n"
                                         "Help=Typed \\n here, a break\\nthere\n"));
    // Memory holds what a reader of the file gets back.
    EXPECT_EQ(color.Help, "Typed \r\n here, a break\r\nthere");
    ColorPrg back;
    EXPECT_EQ(back.LoadSection("Color_012", file.c_str()), RE_SPEEDER_COLOR_ENTRY);
    EXPECT_EQ(back.HelpAbstract, color.HelpAbstract);
    EXPECT_EQ(back.Help, color.Help);

    // A lone line feed cannot be written: the section would read back as
    // something else.
    back.Help = "a\nb";
    EXPECT_EQ(back.SaveColor(file.c_str()), RE_WRITE_SECTION);
    EXPECT_EQ(color.SaveColor(file.c_str()), RE_SUCCESS);

    // The cut of a long text falls inside the escape: its backslash stays.
    const std::string cut =
        Ini("long.ini", "[Color_001]\nHelpAbstract=" + std::string(258, 'a') + "\\n\n");
    color.LoadSection("Color_001", cut.c_str());
    EXPECT_EQ(color.HelpAbstract, std::string(258, 'a') + "\\");
}

TEST_F(ColorPrgTest, SetColorTakesAllButTheNumber) {
    ColorPrg color;
    color.LoadSection("Color_003", test::ProgramData("color-example.ini").c_str());
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
    const auto before = Entries(color.Attuats);
    Attuat* held = color.Attuats[0].get();
    color.SetColor(&color);
    color.SetColor(nullptr);
    EXPECT_EQ(color.Attuats[0].get(), held);
    EXPECT_EQ(Entries(color.Attuats), before);
}

TEST_F(ColorPrgTest, DestructionEmptiesTheTextsThePrototypesKept) {
    const std::string file = Ini("texts.ini",
                                 "[Color_001]\nSpeeder_000=1, 1, 1, +2.500\n"
                                 "SteppingMotorDis_000=2 1 1 +1.250 0 0 -0.750 0 0 0 0\n");
    Attuat* speeder = detail::ColorPrototypes()[6];
    Attuat* stepMotorDis = detail::ColorPrototypes()[5];
    {
        ColorPrg color;
        color.LoadSection("Color_001", file.c_str());
        EXPECT_EQ(speeder->GetVelocita(), "+2.500");
        EXPECT_EQ(stepMotorDis->GetQuotaRanghi(), "-0.750");
    }
    EXPECT_EQ(speeder->GetVelocita(), "");
    EXPECT_EQ(stepMotorDis->GetQuotaAghi(), "");
    EXPECT_EQ(stepMotorDis->GetQuotaRanghi(), "");
}

}  // namespace
}  // namespace knitcfg
