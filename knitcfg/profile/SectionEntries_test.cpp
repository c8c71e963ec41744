// A section read whole must answer exactly what the one-key-at-a-time calls
// answer, in every shape of section: repeated keys, quotes, keys without
// names, lines without '=', listings cut by their room, missing sections.

#include "knitcfg/profile/detail/SectionEntries.h"

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

void ExpectSameAsOneByOne(const char* section, unsigned room, const std::string& file) {
    SCOPED_TRACE(std::string("section ") + section + ", room " + std::to_string(room));
    detail::SectionEntries entries;
    detail::ReadSectionEntries(section, room, file.c_str(), &entries);

    std::vector<char> listing(room + 2, '\x7f');
    const unsigned listed = GetString(section, nullptr, "", listing.data(), room, file.c_str());
    ASSERT_EQ(entries.listed, listed);
    // What the listing holds: `listed` characters and the NUL that ends it.
    const std::size_t written = std::min<std::size_t>(room, listed + 1);
    ASSERT_EQ(std::string(entries.listing.data(), written), std::string(listing.data(), written));

    std::size_t index = 0;
    std::vector<char> a(1 << 16), b(1 << 16);
    for (const char* key = listing.data(); room > 0 && *key != '\0';
         key += std::strlen(key) + 1, ++index) {
        ASSERT_LT(index, entries.values.size());
        // A missing key gives back each of two defaults, a found one its value twice.
        GetString(section, key, "<a>", a.data(), 1 << 16, file.c_str());
        GetString(section, key, "<b>", b.data(), 1 << 16, file.c_str());
        const bool found = std::strcmp(a.data(), b.data()) == 0;
        EXPECT_EQ(entries.values[index].found, found) << key;
        if (found) {
            EXPECT_EQ(entries.ValueText(entries.values[index]), a.data()) << key;
        }
    }
    EXPECT_EQ(entries.values.size(), index);
}

TEST(SectionEntriesTest, AnswersAsGetStringDoesKeyByKey) {
    test::TempDir dir;
    const std::string file = dir.File("random.ini");
    std::mt19937 rng(7);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const char* const lines[] = {"=a value without a key", "text without equals", "; k=comment"};
    const char* const values[] = {"1, 2, 3, 4", "\"quoted\"", "", "  padded  ", "'a'"};
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
            text += pick(10) == 0 ? lines[pick(3)] : name + " = " + values[pick(5)];
            text += "\n";
        }
        // A second section of the name is never read.
        test::WriteFile(file, text + "[s]\nKey_0=second\n[Empty]\n; nothing\n");
        for (const char* section : {"S", " s ", "Empty", "Missing"}) {
            ExpectSameAsOneByOne(section, 8192, file);
            // The first rounds try the tiniest rooms.
            ExpectSameAsOneByOne(section, static_cast<unsigned>(round < 5 ? round : pick(600)),
                                 file);
        }
    }
}

}  // namespace
}  // namespace knitcfg::profile
