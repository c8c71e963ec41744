#include "Json.h"

#include <gtest/gtest.h>

#include <knitcfg/knitcfg.h>

#include <sstream>
#include <string>

#include "CliTestUtil.h"
#include "Commands.h"

namespace knitcfg::cli {
namespace {

using test::ParseJson;
using test::RunTool;
using test::Sample;

TEST(JsonTest, StringsAreAsciiWithEveryByteEscapedThatMustBe) {
    EXPECT_EQ(JsonString("plain"), "\"plain\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\r\n\t\b\f"), "\"\\r\\n\\t\\b\\f\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\\u007f\"");
    EXPECT_EQ(JsonString("caf\xe9 \xff"), "\"caf\\u00e9 \\u00ff\"");
    EXPECT_EQ(JsonString(std::string("nul\0byte", 8)), "\"nul\\u0000byte\"");
}

TEST(JsonTest, WritesNestedValuesThatReadBack) {
    Node root = Node::Object();
    root.Add("flag", Node::Bool(true));
    root.Add("none", Node::Null());
    root.Add("empty", Node::Values());
    Node& values = root.Add("values", Node::Values());
    values.items = {Node::Int(-1), Node::Int(4294967295LL)};
    Node& objects = root.Add("objects", Node::Keyed("thing", {"id"}));
    Node item = Node::Object();
    item.Add("id", Node::Int(3));
    item.Add("name", Node::Str("x\xe9"));
    objects.items.push_back(item);

    std::ostringstream out;
    WriteJson(out, root);
    EXPECT_EQ(out.str(),
              "{\n"
              "  \"flag\": true,\n"
              "  \"none\": null,\n"
              "  \"empty\": [],\n"
              "  \"values\": [-1, 4294967295],\n"
              "  \"objects\": [\n"
              "    {\n"
              "      \"id\": 3,\n"
              "      \"name\": \"x\\u00e9\"\n"
              "    }\n"
              "  ]\n"
              "}\n");
    EXPECT_EQ(ParseJson(out.str()), root);
}

// dump --json parsed back gives the very tree the tool builds from the file.
TEST(DumpTest, ParsesBackToTheModel) {
    const std::string path = Sample("machine.ini");
    const test::ToolRun run = RunTool({"dump", "--json", path});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(run.err.empty());

    Configuration config;
    ASSERT_EQ(config.LoadCFG(path.c_str()), RE_SUCCESS);
    const Node parsed = ParseJson(run.out);
    EXPECT_EQ(parsed, LoadedFileView(path, RE_SUCCESS, config));

    // What scripts rely on: names and "no value" as null.
    EXPECT_EQ(parsed.Find("file")->text, path);
    EXPECT_EQ(parsed.Find("result")->Find("code")->number, 0);
    const Node& colors = *parsed.Find("colors");
    ASSERT_EQ(colors.items.size(), 3u);
    const Node& speeder = colors.items[0].Find("actuators")->items.back();
    EXPECT_EQ(speeder.Find("kind")->text, "SpeederColor");
    EXPECT_EQ(speeder.Find("speed")->text, "+0.750");
    EXPECT_EQ(speeder.Find("state")->type, Node::Type::Null);
    EXPECT_EQ(speeder.Find("position")->type, Node::Type::Null);
    EXPECT_EQ(speeder.Find("needleStartRamp")->type, Node::Type::Null);
    EXPECT_EQ(speeder.members.size(), 15u);
    EXPECT_EQ(parsed.Find("designs")->items[0].Find("patterns")->items[1].Find("remap")->items,
              (std::vector<Node>{Node::Int(1), Node::Int(2), Node::Int(3)}));
    EXPECT_EQ(parsed.Find("shavedDesigns")->items[1].Find("elements")->items[1].number,
              4294967295LL);
}

TEST(DumpTest, EightBitTextStaysValidJson) {
    test::TempDir dir;
    const std::string path = dir.File("latin.ini");
    test::WriteFile(path,
                    "[Protection]\r\nConfigProtected=0\r\n[Header]\r\nMachineType=M\xe4schine\r\n"
                    "Version=1.0\r\nDescription=Gr\xfc\xdf \"quoted\" \\\\ tab\there\r\n"
                    "NumberOfLines=1\r\nStartBlock=0\r\n");
    const test::ToolRun run = RunTool({"dump", path});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    for (const char c : run.out) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "output is not ASCII";
    }
    const Node parsed = ParseJson(run.out);
    EXPECT_EQ(parsed.Find("header")->Find("machineType")->text, "M\xe4schine");
    EXPECT_EQ(parsed.Find("header")->Find("description")->text,
              "Gr\xfc\xdf \"quoted\" \\\\ tab\there");
}

TEST(DumpTest, AFileWithACodeIsDumpedAsFarAsItWasRead) {
    const test::ToolRun run = RunTool({"dump", "--json", Sample("broken/no-header.ini")});
    EXPECT_EQ(run.status, kExitNo);
    const Node parsed = ParseJson(run.out);
    EXPECT_EQ(parsed.Find("result")->Find("code")->number, RE_NO_HEADER);
    EXPECT_EQ(parsed.Find("colors")->items.size(), 1u);

    const test::ToolRun empty = RunTool({"dump", "--json", Sample("broken/empty.ini")});
    EXPECT_EQ(empty.status, kExitError);
    EXPECT_TRUE(empty.out.empty());
    EXPECT_NE(empty.err.find("62 (the file is missing, unreadable or empty)"), std::string::npos);
}

}  // namespace
}  // namespace knitcfg::cli
