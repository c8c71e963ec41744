// The sample configurations of examples/samples load as they say they do.

#include <gtest/gtest.h>

#include <knitcfg/knitcfg.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "CliTestUtil.h"

namespace knitcfg::cli {
namespace {

namespace fs = std::filesystem;
using test::Sample;

// Every sample and the result code its load gives.
const std::map<std::string, int> kSampleCodes = {
    {"machine.ini", RE_SUCCESS},
    {"plane-sections.ini", RE_SUCCESS},
    {"broken/empty.ini", RE_FILE_UNREADABLE},
    {"broken/no-protection.ini", RE_NO_PROTECTION},
    {"broken/no-header.ini", RE_NO_HEADER},
    {"broken/bad-version.ini", RE_BAD_VERSION},
    {"broken/negative-start-block.ini", RE_BAD_START_BLOCK},
};

TEST(SamplesTest, EverySampleLoadsWithItsCode) {
    std::set<std::string> seen;
    const fs::path root = Sample("");
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".ini") {
            continue;
        }
        const std::string name = entry.path().lexically_relative(root).generic_string();
        const auto expected = kSampleCodes.find(name);
        ASSERT_NE(expected, kSampleCodes.end()) << name << " has no expected load code here";
        Configuration config;
        EXPECT_EQ(config.LoadCFG(entry.path().string().c_str()), expected->second) << name;
        seen.insert(name);
    }
    EXPECT_EQ(seen.size(), kSampleCodes.size()) << "a sample listed here is missing";
}

TEST(SamplesTest, SmallMachineHoldsEveryKindOfObject) {
    Configuration config;
    ASSERT_EQ(config.LoadCFG(Sample("machine.ini").c_str()), RE_SUCCESS);

    const HeaderPrg& header = config.GetHeader();
    EXPECT_EQ(header.MachineType, "KX-240");
    EXPECT_EQ(header.VersionMajor, 3);
    EXPECT_EQ(header.VersionMinor, 2);
    EXPECT_EQ(header.Description, "Sample machine of the knitcfg project\r\nsix feeds, two planes");
    EXPECT_EQ(header.NumberOfLines, 4);
    EXPECT_EQ(header.StartBlock, 2);
    EXPECT_EQ(header.LastDevelop, "\\designs\\tulip.dis");
    EXPECT_EQ(header.SourceCfg, "\\machines\\kx240\\factory.ini");
    EXPECT_EQ(config.GetProtection().Get(), 0);

    ASSERT_EQ(config.Colors().size(), 3u);
    ASSERT_EQ(config.Lines().size(), 4u);
    EXPECT_EQ(config.Colors()[0]->Help, "Plain ground yarn\r\nknitted on every feed");
    EXPECT_EQ(config.Colors()[2]->Plane, 2);

    // All fourteen actuator kinds, colors and lines together.
    std::set<std::string> kinds;
    for (const auto& color : config.Colors()) {
        for (const auto& a : color->Attuats) {
            kinds.insert(a->GetRuntimeClass()->className);
        }
    }
    for (const auto& line : config.Lines()) {
        EXPECT_EQ(line->Plane, 1);
        for (const auto& a : line->Attuats) {
            kinds.insert(a->GetRuntimeClass()->className);
        }
    }
    EXPECT_EQ(kinds,
              (std::set<std::string>{"DrumColor", "FingerColor", "SplitterColor", "TriangleColor",
                                     "StepMotorColor", "StepMotorDisColor", "SpeederColor",
                                     "DrumLine", "FingerLine", "SplitterLine", "TriangleLine",
                                     "StepMotorLine", "StepMotorDisLine", "SpeederLine"}));

    const ColorPrg& ground = *config.Colors()[0];
    EXPECT_EQ(ground.GetStato(41), 1);
    EXPECT_EQ(ground.GetAttuat(41)->GetQuota(), -1200);
    EXPECT_EQ(ground.GetAttuat(61)->GetVelocita(), "+0.750");
    EXPECT_EQ(ground.GetAttuat(51)->GetQuotaRanghi(), "-3.250");
    EXPECT_EQ(ground.GetAttuat(51)->GetBilancFin(), 2);

    ASSERT_EQ(config.Designs().size(), 2u);
    const CGenDis& tulip = *config.Designs()[0];
    EXPECT_EQ(tulip.Name, "\\designs\\tulip.dis");
    EXPECT_EQ(tulip.First, 3);
    ASSERT_EQ(tulip.Patterns.size(), 2u);
    EXPECT_EQ(tulip.Patterns[1]->Remap, (IndexList{1, 2, 3}));
    EXPECT_TRUE(tulip.Patterns[0]->Remap.empty());

    ASSERT_EQ(config.ShavedDesigns().size(), 2u);
    EXPECT_EQ(config.ShavedDesigns()[1]->Elements, (UIntArray{7, 4294967295u}));
}

TEST(SamplesTest, PlaneSectionFileIsReadAsEditedByHand) {
    Configuration config;
    ASSERT_EQ(config.LoadCFG(Sample("plane-sections.ini").c_str()), RE_SUCCESS);
    EXPECT_EQ(config.GetProtection().Get(), 1);
    EXPECT_EQ(config.HeaderGetMachineType(), "KX-120");
    ASSERT_EQ(config.Colors().size(), 2u);
    EXPECT_EQ(config.Colors()[1]->Help, "Motif yarn\r\non the pattern plane");
    ASSERT_EQ(config.Lines().size(), 1u);
    EXPECT_EQ(config.Lines()[0]->Help, "First line of the background plane");
}

TEST(SamplesTest, BrokenFilesKeepWhatCouldBeRead) {
    Configuration noProtection;
    EXPECT_EQ(noProtection.LoadCFG(Sample("broken/no-protection.ini").c_str()), RE_NO_PROTECTION);
    EXPECT_EQ(noProtection.HeaderGetMachineType(), "KX-240");
    EXPECT_EQ(noProtection.Colors().size(), 1u);

    Configuration badVersion;
    EXPECT_EQ(badVersion.LoadCFG(Sample("broken/bad-version.ini").c_str()), RE_BAD_VERSION);
    EXPECT_EQ(badVersion.GetHeader().VersionMajor, 3);

    // The empty and the unknown entry are skipped without a word.
    Configuration negative;
    EXPECT_EQ(negative.LoadCFG(Sample("broken/negative-start-block.ini").c_str()),
              RE_BAD_START_BLOCK);
    ASSERT_EQ(negative.Colors().size(), 1u);
    EXPECT_EQ(negative.Colors()[0]->Attuats.size(), 1u);
}

}  // namespace
}  // namespace knitcfg::cli
