// The planes part of the tool: show, dump and diff of planes and blocks.

#include <gtest/gtest.h>

#include <knitcfg/knitcfg.h>

#include <string>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli {
namespace {

using test::RunTool;
using test::Sample;

using test::Node;

Node PlanesOf(const std::string& path) {
    const test::ToolRun run = RunTool({"dump", "--json", path});
    EXPECT_EQ(run.status, kExitOk) << path;
    const Node view = test::ParseJson(run.out);
    const Node* planes = view.Find("planes");
    return planes != nullptr ? *planes : Node{};
}

const Node* PlaneDescribedAs(const Node& planes, const std::string& description) {
    for (const Node& plane : planes.items) {
        if (plane.Find("description")->text == description) {
            return &plane;
        }
    }
    return nullptr;
}

std::string Values(const Node& block) {
    std::string out;
    for (const Node& v : block.Find("values")->items) {
        out += (out.empty() ? "" : " ") + std::to_string(v.number);
    }
    return out;
}

TEST(PlanesViewTest, PlaneEntriesTakeTheHeadersLinesAndStartBlock) {
    const Node planes = PlanesOf(Sample("machine.ini"));
    ASSERT_EQ(planes.items.size(), 2u);
    const char* const descriptions[] = {"Background", "Pattern"};
    for (std::size_t i = 0; i < 2; ++i) {
        const Node& plane = planes.items[i];
        EXPECT_EQ(plane.Find("number")->number, static_cast<long long>(i + 1));
        EXPECT_EQ(plane.Find("description")->text, descriptions[i]);
        EXPECT_EQ(plane.Find("priority")->number, static_cast<long long>(i));
        EXPECT_EQ(plane.Find("numberOfLines")->number, 4);
        EXPECT_EQ(plane.Find("startBlock")->number, 2);
        EXPECT_TRUE(plane.Find("blocks")->items.empty());
    }
}

// A plane section's number comes from its name, not from its counts.
TEST(PlanesViewTest, PlaneSectionsBringTheirBlocks) {
    const Node planes = PlanesOf(Sample("plane-sections.ini"));
    ASSERT_EQ(planes.items.size(), 2u);

    const Node* background = PlaneDescribedAs(planes, "Background plane");
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->Find("number")->number, 1);
    EXPECT_EQ(background->Find("numberOfLines")->number, 4);
    EXPECT_EQ(background->Find("startBlock")->number, 0);
    EXPECT_EQ(background->Find("priority")->number, 0);
    const auto& blocks1 = background->Find("blocks")->items;
    ASSERT_EQ(blocks1.size(), 2u);
    EXPECT_EQ(blocks1[0].Find("number")->number, 1);
    EXPECT_EQ(blocks1[0].Find("parameter")->number, 2);
    EXPECT_EQ(Values(blocks1[0]), "5 6 7");
    EXPECT_EQ(blocks1[1].Find("number")->number, 2);
    EXPECT_EQ(Values(blocks1[1]), "3");

    const Node* pattern = PlaneDescribedAs(planes, "Pattern plane");
    ASSERT_NE(pattern, nullptr);
    EXPECT_EQ(pattern->Find("number")->number, 2);
    EXPECT_EQ(pattern->Find("numberOfLines")->number, 3);
    EXPECT_EQ(pattern->Find("startBlock")->number, 1);
    EXPECT_EQ(pattern->Find("priority")->number, 1);
    const auto& blocks2 = pattern->Find("blocks")->items;
    ASSERT_EQ(blocks2.size(), 2u);
    EXPECT_EQ(Values(blocks2[0]), "");
    EXPECT_EQ(blocks2[1].Find("number")->number, 4);
    EXPECT_EQ(blocks2[1].Find("parameter")->number, 3);
    EXPECT_EQ(Values(blocks2[1]), "10 11 12 13");
}

TEST(PlanesShowTest, PlanesAndTheirBlocksAreShown) {
    const test::ToolRun machine = RunTool({"show", Sample("machine.ini")});
    EXPECT_EQ(machine.status, kExitOk);
    EXPECT_NE(machine.out.find("Planes (2)\n"
                               "  Plane 1\n"
                               "    Description  Background\n"
                               "    Lines        4\n"
                               "    Start block  2\n"
                               "    Priority     0\n"
                               "    no blocks\n"),
              std::string::npos)
        << machine.out;

    const test::ToolRun sections = RunTool({"show", Sample("plane-sections.ini")});
    EXPECT_EQ(sections.status, kExitOk);
    EXPECT_NE(sections.out.find("    Description  Background plane\n"),
              std::string::npos)
        << sections.out;
    EXPECT_NE(sections.out.find("    block  parameter  values\n"
                                "        1          2  5 6 7\n"
                                "        2          1  3\n"),
              std::string::npos)
        << sections.out;
}

TEST(PlanesDiffTest, PlanesAddedAndChanged) {
    test::TempDir dir;
    std::string text = test::ReadFile(Sample("machine.ini"));
    const std::string from = "Plane_002=2, Pattern, 1\r\n";
    text.replace(text.find(from), from.size(),
                 "Plane_002=2, Pattern, 3\r\nPlane_003=3, Border, 0\r\n");
    const std::string copy = dir.File("copy.ini");
    test::WriteFile(copy, text);
    const test::ToolRun run = RunTool({"diff", Sample("machine.ini"), copy});
    EXPECT_EQ(run.status, kExitNo);
    EXPECT_EQ(run.out,
              "~ plane 2: priority 1 -> 3\n"
              "+ plane 3: number=3, numberOfLines=4, startBlock=2, description=\"Border\", "
              "priority=0, blocks: 0\n");
}

// Plane sections are written back as plane entries, whose text cannot hold
// a line break: the save of a plane section whose description holds one is
// refused, and the file is left as it was.
TEST(PlanesNormalizeTest, APlaneSectionFileIsNeverLeftHalfWritten) {
    test::TempDir dir;
    const std::string file = dir.File("planes.ini");
    std::string text = test::ReadFile(Sample("plane-sections.ini"));
    const std::size_t at = text.find("Background plane");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 16, "Background\\nplane");
    test::WriteFile(file, text);
    const test::ToolRun run = RunTool({"normalize", file});
    EXPECT_EQ(run.status, kExitError) << run.err;
    EXPECT_NE(run.err.find("42"), std::string::npos) << run.err;
    EXPECT_EQ(test::ReadFile(file), text);

    const test::ToolRun plain = RunTool({"normalize", Sample("plane-sections.ini"), "-o",
                                         dir.File("plain.ini")});
    EXPECT_EQ(plain.status, kExitOk) << plain.err;
    Configuration config;
    EXPECT_EQ(config.LoadCFG(dir.File("plain.ini").c_str()), RE_SUCCESS);
    EXPECT_EQ(config.Planes().size(), 2u);
}

}  // namespace
}  // namespace knitcfg::cli
