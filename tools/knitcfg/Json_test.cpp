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

TEST(JsonTest, EightBitTextInEachForm) {
    const std::string text = "\xe9\x80\x81\x7f";
    EXPECT_EQ(JsonString(text), "\"\\u00e9\\u0080\\u0081\\u007f\"");
    EXPECT_EQ(JsonString(text, JsonText::Latin1), "\"\xe9\\u0080\\u0081\\u007f\"");
    EXPECT_EQ(JsonString(text, JsonText::Utf8), "\"\xc3\xa9\xe2\x82\xac\\u0081\\u007f\"");
}

// One object alone, as `get --json` prints it: the same text as its place
// in the whole dump, one level up.
TEST(JsonTest, OneActuatorAsInTheDump) {
    Configuration config;
    ASSERT_EQ(config.LoadCFG(Sample("machine.ini").c_str()), RE_SUCCESS);
    const Attuat& speeder = *config.Colors()[0]->Attuats.back();
    std::ostringstream one;
    WriteJson(one, ActuatorRef(speeder));
    EXPECT_EQ(one.str(),
              "{\n  \"kind\": \"SpeederColor\",\n  \"id\": 61,\n  \"feed\": 5,\n"
              "  \"feedId\": 5,\n  \"state\": null,\n  \"position\": null,\n"
              "  \"speed\": \"+0.750\",\n  \"needlePosition\": null,\n"
              "  \"needleStartRamp\": null,\n  \"needleEndRamp\": null,\n"
              "  \"rankPosition\": null,\n  \"rankStartRamp\": null,\n"
              "  \"rankEndRamp\": null,\n  \"startBalance\": null,\n  \"endBalance\": null\n}\n");
    std::string nested;
    for (std::size_t at = 0; at < one.str().size();) {
        const std::size_t end = one.str().find('\n', at);
        nested += "        " + one.str().substr(at, end - at) + "\n";
        at = end + 1;
    }
    nested.pop_back();
    const test::ToolRun dump = RunTool({"dump", "--json", Sample("machine.ini")});
    EXPECT_NE(dump.out.find(nested.substr(8)), std::string::npos) << nested;
}

// dump --json parsed back gives the very tree the tool builds from the file.
TEST(DumpTest, ParsesBackToTheModel) {
    const std::string path = Sample("machine.ini");
    const test::ToolRun run = RunTool({"dump", "--json", path});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(run.err.empty());

    const test::Node parsed = ParseJson(run.out);
    // What scripts rely on: names and "no value" as null.
    EXPECT_EQ(parsed.Find("file")->text, path);
    EXPECT_EQ(parsed.Find("result")->Find("code")->number, 0);
    const test::Node& colors = *parsed.Find("colors");
    ASSERT_EQ(colors.items.size(), 3u);
    const test::Node& speeder = colors.items[0].Find("actuators")->items.back();
    EXPECT_EQ(speeder.Find("kind")->text, "SpeederColor");
    EXPECT_EQ(speeder.Find("speed")->text, "+0.750");
    EXPECT_EQ(speeder.Find("state")->type, test::Node::Type::Null);
    EXPECT_EQ(speeder.Find("position")->type, test::Node::Type::Null);
    EXPECT_EQ(speeder.Find("needleStartRamp")->type, test::Node::Type::Null);
    EXPECT_EQ(speeder.members.size(), 15u);
    const auto& remap = parsed.Find("designs")->items[0].Find("patterns")->items[1].Find("remap");
    ASSERT_EQ(remap->items.size(), 3u);
    EXPECT_EQ(remap->items[2].number, 3);
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
    const test::Node parsed = ParseJson(run.out);
    EXPECT_EQ(parsed.Find("header")->Find("machineType")->text, "M\xe4schine");
    EXPECT_EQ(parsed.Find("header")->Find("description")->text,
              "Gr\xfc\xdf \"quoted\" \\\\ tab\there");
    // Asked for, the characters themselves, still valid JSON.
    const test::ToolRun utf8 = RunTool({"dump", path, "--encoding", "utf8"});
    EXPECT_NE(utf8.out.find("\"machineType\": \"M\xc3\xa4schine\""), std::string::npos);
    const test::ToolRun latin1 = RunTool({"dump", path, "--encoding", "latin1"});
    EXPECT_NE(latin1.out.find("\"machineType\": \"M\xe4schine\""), std::string::npos);
}

TEST(DumpTest, AFileWithACodeIsDumpedAsFarAsItWasRead) {
    const test::ToolRun run = RunTool({"dump", "--json", Sample("broken/no-header.ini")});
    EXPECT_EQ(run.status, kExitNo);
    const test::Node parsed = ParseJson(run.out);
    EXPECT_EQ(parsed.Find("result")->Find("code")->number, RE_NO_HEADER);
    EXPECT_EQ(parsed.Find("colors")->items.size(), 1u);

    const test::ToolRun empty = RunTool({"dump", "--json", Sample("broken/empty.ini")});
    EXPECT_EQ(empty.status, kExitError);
    EXPECT_TRUE(empty.out.empty());
    EXPECT_NE(empty.err.find("62 (the file is missing, unreadable or empty)"), std::string::npos);
}

}  // namespace
}  // namespace knitcfg::cli
