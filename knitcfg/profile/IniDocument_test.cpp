// The in-memory model: what a parse keeps and how edits place their lines.
// (The six operations on top of it are covered by the reference cases.)

#include <gtest/gtest.h>

#include <string>

#include "knitcfg/profile/IniDocument.h"

namespace knitcfg::profile {
namespace {

TEST(IniDocumentTest, SerializeGivesBackEveryByte) {
    const char raw[] = "\0\0junk\r\n[A]  x\n k = v \r; c\r\r\n\n[]\r\n=e\r\n\xff\xfe\r\n[B\r\nlast";
    const std::string bytes(raw, sizeof raw - 1);
    IniDocument doc;
    doc.Parse(bytes);
    EXPECT_EQ(doc.Serialize(), bytes);
    ASSERT_NE(doc.FindSection("b"), nullptr);
    ASSERT_NE(doc.FindSection(""), nullptr);
    const IniDocument::Line* k = doc.FindEntry(*doc.FindSection("A"), "K");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(doc.Value(*k), "v");
}

TEST(IniDocumentTest, LookupsFollowDeletesOfDuplicates) {
    IniDocument doc;
    doc.Parse("[S]\nk=1\n[s]\nk=2\nk=3\n");
    EXPECT_TRUE(doc.DeleteSection("S"));
    const IniDocument::Section* s = doc.FindSection("S");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(doc.Value(*doc.FindEntry(*s, "k")), "2");
    EXPECT_TRUE(doc.DeleteKey("S", "k"));
    EXPECT_EQ(doc.Value(*doc.FindEntry(*doc.FindSection("S"), "k")), "3");
    EXPECT_TRUE(doc.DeleteKey("S", "k"));
    EXPECT_EQ(doc.FindEntry(*doc.FindSection("S"), "k"), nullptr);
    EXPECT_FALSE(doc.DeleteKey("S", "k"));
    EXPECT_EQ(doc.Serialize(), "[s]\n");
}

TEST(IniDocumentTest, ManyNewKeysKeepTheirOrderAndIndex) {
    IniDocument doc;
    doc.Parse("[A]\r\nfirst=0\r\n; end of A\r\n[B]\r\n");
    std::string expected = "[A]\r\nfirst=0\r\n";
    for (int i = 0; i < 1000; ++i) {
        const std::string key = "key" + std::to_string(i);
        EXPECT_TRUE(doc.SetValue("A", key, std::to_string(i)));
        expected += key + "=" + std::to_string(i) + "\r\n";
    }
    expected += "; end of A\r\n[B]\r\n";
    EXPECT_EQ(doc.Serialize(), expected);
    for (int i = 0; i < 1000; i += 97) {
        const IniDocument::Line* line =
            doc.FindEntry(*doc.FindSection("a"), "KEY" + std::to_string(i));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(doc.Value(*line), std::to_string(i));
    }
}

TEST(IniDocumentTest, ClassifiesLines) {
    using namespace std::string_view_literals;
    const std::pair<std::string_view, IniDocument::Kind> cases[] = {
        {""sv, IniDocument::Kind::kBlank},         {" \t\v"sv, IniDocument::Kind::kBlank},
        {"\0 \0"sv, IniDocument::Kind::kBlank},    {"\0[x]"sv, IniDocument::Kind::kText},
        {"  [x"sv, IniDocument::Kind::kHeader},    {"\t; c = d"sv, IniDocument::Kind::kComment},
        {"# x = y"sv, IniDocument::Kind::kEntry},  {"="sv, IniDocument::Kind::kEntry},
        {"just text"sv, IniDocument::Kind::kText},
    };
    for (const auto& [text, kind] : cases) {
        IniDocument::Line line;
        ClassifyLine(text, &line);
        EXPECT_EQ(line.kind, kind) << text;
    }
}

}  // namespace
}  // namespace knitcfg::profile
