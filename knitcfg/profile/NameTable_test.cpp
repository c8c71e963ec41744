#include "knitcfg/profile/detail/NameTable.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace knitcfg::detail {
namespace {

TEST(NameTableTest, NamesFoldOnlyAsciiLetters) {
    EXPECT_TRUE(SameName("Color_001", "COLOR_001"));
    EXPECT_FALSE(SameName("a@", "a`"));  // same hash input, different names
    EXPECT_EQ(HashName("a@"), HashName("a`"));
    EXPECT_FALSE(SameName("\xC4", "\xE4"));
    EXPECT_EQ(HashName("SteppingMotorDis_000"), HashName("steppingmotordis_000"));
    EXPECT_NE(HashName("Drum_000"), HashName("Drum_001"));
}

// Random inserts, replacements and removals against a plain map.
TEST(NameTableTest, AgreesWithAPlainMap) {
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        names.push_back("Key_" + std::to_string(i % 150) + (i >= 150 ? "x" : ""));
    }
    const auto nameOf = [&](std::uint32_t n) { return std::string_view(names[n]); };
    NameTable table;
    std::map<std::string, std::uint32_t> reference;
    std::mt19937 rng(42);
    for (int step = 0; step < 20000; ++step) {
        const auto n = static_cast<std::uint32_t>(rng() % names.size());
        const std::string& name = names[n];
        const std::uint32_t hash = HashName(name);
        const auto it = reference.find(name);
        switch (rng() % 3) {
            case 0:
                if (it == reference.end()) {
                    table.Insert(hash, n);
                    reference[name] = n;
                }
                break;
            case 1:
                table.Replace(name, hash, nameOf, NameTable::kNone);
                reference.erase(name);
                break;
            default:
                if (it != reference.end()) {
                    // Another number standing for the same name.
                    table.Replace(name, hash, nameOf, it->second);
                }
                break;
        }
        const std::uint32_t found = table.Find(name, hash, nameOf);
        const auto now = reference.find(name);
        ASSERT_EQ(found, now == reference.end() ? NameTable::kNone : now->second) << step;
    }
    for (std::uint32_t n = 0; n < names.size(); ++n) {
        const auto it = reference.find(names[n]);
        EXPECT_EQ(table.Find(names[n], HashName(names[n]), nameOf),
                  it == reference.end() ? NameTable::kNone : it->second);
    }
}

}  // namespace
}  // namespace knitcfg::detail
