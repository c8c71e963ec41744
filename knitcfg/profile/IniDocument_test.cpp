// The in-memory model: what a parse keeps and how edits place their lines.
// (The six operations on top of it are covered by the reference cases.)

#include <gtest/gtest.h>

#include <string>

#include "knitcfg/profile/detail/IniDocument.h"

namespace knitcfg::detail {
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

// Lookups answer the same whether the section's lines are walked (its first
// few lookups) or its table is used (once the walks have cost as much as
// building it), before and after edits; and so does the repeated-key check.
TEST(IniDocumentTest, LookupsAgreeWithAWalkOfTheLines) {
    std::string text = "[S]\n";
    for (int i = 0; i < 50; ++i) {
        text += "Key" + std::to_string(i % 40) + "=" + std::to_string(i) + "\n";
    }
    IniDocument doc;
    doc.Parse(text);
    auto first = [&](const std::string& key) -> std::string {
        const IniDocument::Line* line = doc.FindEntry(*doc.FindSection("S"), key);
        return line == nullptr ? "none" : std::string(doc.Value(*line));
    };
    EXPECT_TRUE(doc.HasRepeatedKeys(*doc.FindSection("S")));
    // Far past the walking budget, missing keys included, in both cases.
    for (int round = 0; round < 3; ++round) {
        for (int i = 45; i >= 0; --i) {
            const std::string expected = i < 40 ? std::to_string(i) : "none";
            EXPECT_EQ(first((round == 1 ? "KEY" : "key") + std::to_string(i)), expected) << i;
        }
    }
    EXPECT_TRUE(doc.SetValue("S", "New", "n"));
    EXPECT_EQ(first("new"), "n");
    EXPECT_TRUE(doc.HasRepeatedKeys(*doc.FindSection("S")));
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(doc.DeleteKey("S", "key" + std::to_string(i)));
    }
    EXPECT_FALSE(doc.HasRepeatedKeys(*doc.FindSection("S")));
    EXPECT_EQ(first("key5"), "45");  // the second entry of the key is now its first
    EXPECT_EQ(first("key35"), "35");
    EXPECT_EQ(first("new"), "n");
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
}  // namespace knitcfg::detail
