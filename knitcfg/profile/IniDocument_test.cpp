// The indexes of the in-memory model: whatever the edits, a lookup finds what
// a walk of the lines finds. (What the six operations make of the model is
// covered by the reference cases.)

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "knitcfg/profile/detail/IniDocument.h"
#include "knitcfg/profile/detail/NameTable.h"

namespace knitcfg::detail {
namespace {

// Names equal with ASCII letters folded, other bytes exact.
bool Same(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return fold(x) == fold(y); });
}

// Names that differ hash apart, or the indexes degrade into walks.
TEST(IniDocumentTest, NamesHashApart) {
    std::set<std::uint32_t> hashes;
    for (int i = 0; i < 1000; ++i) {
        hashes.insert(HashName("Drum_" + std::to_string(i)));
    }
    EXPECT_GT(hashes.size(), 990U);
}

// A name removed from a run of slots that wraps past the table's end leaves
// every other name of the run reachable.
TEST(IniDocumentTest, RemovalKeepsARunThatWrapsReachable) {
    const std::string names[] = {"a", "b", "c", "d"};
    // Homes 6, 7, 7 and 0 of eight slots: "c" lands in slot 0, "d" in slot 1.
    const std::uint32_t hashes[] = {6, 7, 15, 8};
    auto nameOf = [&names](std::uint32_t n) { return std::string_view(names[n]); };
    NameTable table;
    table.Reserve(4);
    for (std::uint32_t n = 0; n < 4; ++n) {
        table.Insert(hashes[n], n);
    }
    table.Replace("a", hashes[0], nameOf, NameTable::kNone);
    EXPECT_EQ(table.Find("a", hashes[0], nameOf), NameTable::kNone);
    for (std::uint32_t n = 1; n < 4; ++n) {
        EXPECT_EQ(table.Find(names[n], hashes[n], nameOf), n) << names[n];
    }
}

// Random edits of a document of many sections and few keys, names in both
// letter cases and repeated ("a@" and "a`" differ in the bit that folds
// letters; bytes above ASCII do not fold): after each, the section and key indexes (and the
// last-lookup memory) answer as a walk of the lines does.
TEST(IniDocumentTest, LookupsAgreeWithAWalkThroughEdits) {
    std::mt19937 rng(5);
    auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    // 127 sections: the section index is near half full, as dense as it gets.
    std::vector<std::string> sections = {"a@", "a`", "\xC4", "\xE4", ""};
    for (int i = 0; i < 118; ++i) {
        sections.push_back("Sec_" + std::to_string(i));
    }
    const std::vector<std::string> keys = {"k",  "K",  "Drum_000", "drum_000",         "Drum_001",
                                           "ID", "a@", "a`",       "LongerKeyName_01", "zone"};
    // A name as written in the file or asked for: in either letter case.
    auto spell = [&](const std::string& name) {
        std::string out = name;
        for (char& c : out) {
            c = pick(2) == 0 && c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        }
        return out;
    };
    std::string text = "k=before any section\n";
    for (std::size_t i = 0; i < sections.size(); ++i) {
        text += "[" + spell(sections[i]) + "]\n" + (i % 40 == 0 ? "[" + sections[i] + "]\n" : "");
        for (std::size_t j = pick(6); j > 0; --j) {
            text += spell(keys[pick(keys.size())]) + " = v\n";
        }
    }
    IniDocument doc;
    doc.Parse(text);
    for (int step = 0; step < 6000; ++step) {
        const std::string s = spell(sections[pick(sections.size())]);
        const std::string k = spell(keys[pick(keys.size())]);
        switch (pick(8)) {
            case 0: doc.SetValue(s, k, std::to_string(step)); break;
            case 1: doc.DeleteKey(s, k); break;
            case 2:
                // Mostly back at once, in a slot of its own: the index stays dense.
                doc.DeleteSection(s);
                if (pick(4) != 0) {
                    doc.SetValue(s, k, "back");
                }
                break;
            case 3: doc.ReplaceSection(s, {k + "=1", "x=2", k + "=3"}); break;
            default: break;  // lookups only, often the same ones again
        }
        const IniDocument::Section* section = nullptr;
        for (const IniDocument::Section& candidate : doc.Sections()) {
            if (candidate.hasHeader && Same(candidate.name, s)) {
                section = &candidate;
                break;
            }
        }
        ASSERT_EQ(doc.FindSection(s), section) << step;
        if (section == nullptr) {
            continue;
        }
        const IniDocument::Line* entry = nullptr;
        std::vector<std::string_view> earlier;
        bool repeated = false;
        for (const IniDocument::Line& line : section->body) {
            if (line.kind == IniDocument::Kind::kEntry) {
                const std::string_view key = doc.Key(line);
                for (const std::string_view e : earlier) {
                    repeated = repeated || Same(e, key);
                }
                earlier.push_back(key);
                if (entry == nullptr && Same(key, k)) {
                    entry = &line;
                }
            }
        }
        ASSERT_EQ(doc.FindEntry(*section, k), entry) << step;
        ASSERT_EQ(doc.HasRepeatedKeys(*section), repeated) << step;
    }
}

}  // namespace
}  // namespace knitcfg::detail
