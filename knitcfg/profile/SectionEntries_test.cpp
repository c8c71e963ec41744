// A section read whole must answer exactly what the one-key-at-a-time calls
// answer, in every shape of section: repeated keys, quotes, keys without
// names, listings cut by their room, missing sections.

#include "knitcfg/profile/detail/SectionEntries.h"
#include "knitcfg/profile/detail/FileCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg::profile {
namespace {

using detail::ChangeCount;
using detail::ReadSectionEntries;
using detail::SectionEntries;

// GetString's answer for `key`, whole, and whether it was found: a missing
// key gives each of two defaults back, a found one gives its value both times.
bool ReadOne(const char* section, const char* key, const std::string& file, std::string* value) {
    std::vector<char> a(1 << 16);
    std::vector<char> b(1 << 16);
    GetString(section, key, "<a>", a.data(), static_cast<unsigned>(a.size()), file.c_str());
    GetString(section, key, "<b>", b.data(), static_cast<unsigned>(b.size()), file.c_str());
    *value = a.data();
    return std::strcmp(a.data(), b.data()) == 0;
}

void ExpectSameAsOneByOne(const char* section, unsigned room, const std::string& file) {
    SCOPED_TRACE(std::string("section ") + section + ", room " + std::to_string(room));
    SectionEntries entries;
    ReadSectionEntries(section, room, file.c_str(), &entries);

    std::vector<char> listing(room + 2, '\x7f');
    const unsigned listed = GetString(section, nullptr, "", listing.data(), room, file.c_str());
    ASSERT_EQ(entries.listed, listed);
    // What the listing holds: `listed` characters and the NUL that ends it.
    const std::size_t written = std::min<std::size_t>(room, listed + 1);
    ASSERT_EQ(std::string(entries.listing.data(), written), std::string(listing.data(), written));

    std::size_t index = 0;
    for (const char* key = listing.data(); room > 0 && *key != '\0';
         key += std::strlen(key) + 1, ++index) {
        ASSERT_LT(index, entries.values.size());
        std::string value;
        const bool found = ReadOne(section, key, file, &value);
        const SectionEntries::Value& read = entries.values[index];
        EXPECT_EQ(read.found, found) << key;
        if (found) {
            EXPECT_EQ(entries.ValueText(read), value) << key;
        }
    }
    EXPECT_EQ(entries.values.size(), index);
}

TEST(SectionEntriesTest, AnswersAsGetStringDoesKeyByKey) {
    test::TempDir dir;
    const std::string file = dir.File("machine.ini");
    test::WriteFile(file,
                    "[Color_001]\r\n"
                    "ID=1\r\n"
                    "Drum_000 = \"1, 2, 3, 4\" \r\n"
                    "drum_000=the second of a repeated key, in another case\r\n"
                    "=a value without a key\r\n"
                    "text without equals\r\n"
                    "; Drum_001=commented out\r\n"
                    "Finger_000='quoted once'\r\n"
                    "Speeder_000=\r\n"
                    "Drum_001=5, 6, 7, 8\r\n"
                    "[Color_002]\r\n"
                    "Drum_000=9\r\n"
                    "Drum_001=10\r\n"
                    "[color_001]\r\n"
                    "Drum_009=a second section of the name is never read\r\n"
                    "[Empty]\r\n"
                    "; nothing\r\n");
    for (const char* section : {"Color_001", " color_001 ", "Color_002", "Empty", "Missing"}) {
        for (unsigned room : {0U, 1U, 2U, 3U, 9U, 14U, 30U, 8192U}) {
            ExpectSameAsOneByOne(section, room, file);
        }
    }
}

TEST(SectionEntriesTest, AnswersAsGetStringDoesInRandomSections) {
    test::TempDir dir;
    const std::string file = dir.File("random.ini");
    std::mt19937 rng(7);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 40; ++round) {
        std::string text = "[S]\n";
        const int keys = 1 + pick(300);
        for (int k = 0; k < keys; ++k) {
            // Few names, in both cases, some long enough to fill the listing.
            std::string name = "Key_" + std::to_string(pick(keys / 2 + 1));
            if (pick(4) == 0) {
                name[0] = 'k';
            }
            if (pick(20) == 0) {
                name += std::string(static_cast<std::size_t>(pick(400)), 'x');
            }
            const char* const values[] = {"1, 2, 3, 4", "\"quoted\"", "", "  padded  ", "'a'"};
            text += name + "=" + values[pick(5)] + "\n";
        }
        test::WriteFile(file, text);
        ExpectSameAsOneByOne("S", 8192, file);
        ExpectSameAsOneByOne("S", 1 + static_cast<unsigned>(pick(600)), file);
    }
}

// What a write changes, the count of changes shows, so that a reader of
// values taken earlier knows they may be stale.
TEST(SectionEntriesTest, ChangeCountMovesWithEveryWrite) {
    test::TempDir dir;
    const std::string file = dir.File("machine.ini");
    test::WriteFile(file, "[S]\nk=1\n");
    char buffer[16];
    GetString("S", "k", "", buffer, sizeof buffer, file.c_str());
    const std::uint64_t before = ChangeCount();
    GetString("S", "k", "", buffer, sizeof buffer, file.c_str());
    EXPECT_EQ(ChangeCount(), before);
    ASSERT_TRUE(WriteString("S", "k", "2", file.c_str()));
    EXPECT_NE(ChangeCount(), before);
}

}  // namespace
}  // namespace knitcfg::profile
