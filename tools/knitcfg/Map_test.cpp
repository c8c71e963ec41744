#include "Map.h"

#include <gtest/gtest.h>

#include <string>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli {
namespace {

using test::RunTool;
using test::Sample;

const char kLegend[] =
    "Cells        D drum, F finger, S splitter, T triangle, M stepping motor,\n"
    "             DM design stepping motor, SP speeder; then the identifier\n"
    "             and =state (a speeder: =speed)\n";

TEST(MapTest, TheSmallMachineByFeed) {
    const test::ToolRun run = RunTool({"map", Sample("machine.ini")});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "File         " + Sample("machine.ini") +
                           "\n"
                           "Load result  0 (success)\n" +
                           kLegend +
                           "\n"
                           "Colors by feed (3)\n"
                           "  feed  color 1           color 2      color 3\n"
                           "     1  T21=1 D1=0 F11=1  D1=1 F11=0   D2=1\n"
                           "     2  S31=0 F12=0       F12=1 T22=2\n"
                           "     3  M41=1             M41=0        T23=0\n"
                           "     4  DM51                           DM52\n"
                           "     5  SP61=+0.750       SP61=-1.250\n"
                           "\n"
                           "Lines by feed (4)\n"
                           "  feed  line 0      line 1   line 2  line 3\n"
                           "     1  D1 T21 F11           D2\n"
                           "     2  S31         F12 T22\n"
                           "     3              M41      T23\n"
                           "     4                       DM51    DM52\n"
                           "     5                               SP61\n");
}

TEST(MapTest, FiltersNarrowTheColumns) {
    const test::ToolRun color = RunTool({"map", Sample("machine.ini"), "--color", "2"});
    EXPECT_EQ(color.status, kExitOk);
    const std::string colors = color.out.substr(color.out.find("\nColors"));
    EXPECT_EQ(colors,
              "\nColors by feed (1)\n"
              "  feed  color 2\n"
              "     1  D1=1 F11=0\n"
              "     2  F12=1 T22=2\n"
              "     3  M41=0\n"
              "     5  SP61=-1.250\n");
    const test::ToolRun plane = RunTool({"map", Sample("machine.ini"), "--plane", "2"});
    EXPECT_NE(plane.out.find("Colors by feed (1)\n  feed  color 3\n"), std::string::npos);
    EXPECT_NE(plane.out.find("Lines by feed: none\n"), std::string::npos) << plane.out;
}

// Many colors come in blocks of columns that fit a terminal, each with every
// feed row; a file with a code is mapped as far as it was read.
TEST(MapTest, WideMapsComeInBlocks) {
    test::TempDir dir;
    std::string text =
        "[Protection]\r\nConfigProtected=0\r\n[Header]\r\nMachineType=M\r\nVersion=1.0\r\n"
        "Description=d\r\nNumberOfLines=1\r\n";
    for (int id = 1; id <= 12; ++id) {
        text += "[Color_0" + std::to_string(10 + id) + "]\r\nID=" + std::to_string(id) +
                "\r\nPlane=1\r\nTriangle_000=7, " + std::to_string(id % 3) +
                ", 1, 1\r\nFinger_000=12345, 1, 1, 0\r\n";
    }
    const std::string path = dir.File("wide.ini");
    test::WriteFile(path, text);
    const test::ToolRun run = RunTool({"map", path});
    EXPECT_EQ(run.status, kExitNo);
    std::size_t blocks = 0;
    for (std::size_t at = 0; (at = run.out.find("  feed  color", at)) != std::string::npos; ++at) {
        ++blocks;
        EXPECT_NE(run.out.find("\n     2", at), std::string::npos);
    }
    EXPECT_EQ(blocks, 2u) << run.out;
    // The tables, not the file's name, are held to the width.
    for (std::size_t at = run.out.find("Colors by feed"), end = 0; at < run.out.size();
         at = end + 1) {
        end = run.out.find('\n', at);
        EXPECT_LE(end - at, 120u) << run.out.substr(at, end - at);
    }
}

}  // namespace
}  // namespace knitcfg::cli
