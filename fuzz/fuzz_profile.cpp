// Arbitrary bytes as a file on disk, read through the six operations with
// every kind of buffer and section by section as the loaders read them, then
// written in a batch and read back.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/profile/detail/IniDocument.h"
#include "knitcfg/profile/detail/SectionEntries.h"

namespace profile = knitcfg::profile;

namespace {

using knitcfg::fuzz::Check;

const std::string& Path() {
    static const std::string path = [] {
        const std::string shm = knitcfg::fuzz::ScratchFolder();
        return shm + "/knitcfg-fuzz-" + std::to_string(::getpid()) + ".ini";
    }();
    return path;
}

// A section read whole answers what GetString answers key by key.
void CheckSectionEntries(const char* section, unsigned room, const char* file) {
    knitcfg::detail::SectionEntries entries;
    knitcfg::detail::ReadSectionEntries(section, room, file, &entries);
    std::vector<char> keys(room + 1, '\0');
    const unsigned listed = profile::GetString(section, nullptr, "", keys.data(), room, file);
    Check(entries.listed == listed);
    Check(std::memcmp(entries.listing.data(), keys.data(), std::min(room, listed + 1)) == 0);
    std::size_t index = 0;
    std::vector<char> a(1 << 16);
    std::vector<char> b(1 << 16);
    for (const char* k = keys.data(); room > 0 && *k != '\0'; k += std::strlen(k) + 1, ++index) {
        Check(index < entries.values.size());
        const knitcfg::detail::SectionEntries::Value& read = entries.values[index];
        // A value may hold NULs: it is compared by the count copied.
        const unsigned na = profile::GetString(section, k, "<a>", a.data(), 1 << 16, file);
        const unsigned nb = profile::GetString(section, k, "<b>", b.data(), 1 << 16, file);
        const bool found = std::string_view(a.data(), na) == std::string_view(b.data(), nb);
        Check(read.found == found);
        Check(!found ||
              entries.ValueText(read).substr(0, (1 << 16) - 1) == std::string_view(a.data(), na));
    }
    Check(index == entries.values.size());
}

// Reads with a buffer of exactly `size` bytes, guarded on both sides.
void ReadAll(const char* file, unsigned size) {
    std::vector<char> storage(size + 32, '\x7f');
    char* buf = storage.data() + 16;
    profile::GetSectionNames(buf, size, file);
    std::vector<char> names(8192);
    profile::GetSectionNames(names.data(), 8192, file);
    int count = 0;
    for (const char* s = names.data(); *s != '\0' && count < 16; s += std::strlen(s) + 1, ++count) {
        profile::GetSection(s, buf, size, file);
        profile::GetString(s, nullptr, "d", buf, size, file);
        std::vector<char> keys(8192);
        profile::GetString(s, nullptr, "", keys.data(), 8192, file);
        for (const char* k = keys.data(); *k != '\0'; k += std::strlen(k) + 1) {
            profile::GetString(s, k, "d", buf, size, file);
            profile::GetInt(s, k, 7, file);
        }
        CheckSectionEntries(s, 8192, file);
        CheckSectionEntries(s, size, file);
    }
    for (int i = 0; i < 16; ++i) {
        Check(storage[static_cast<std::size_t>(i)] == '\x7f');
        Check(storage[16 + size + static_cast<std::size_t>(i)] == '\x7f');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* file = Path().c_str();
    FILE* out = std::fopen(file, "wb");
    if (out == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    const unsigned sizes[] = {0, 1, 2, 3, 7, 260};
    ReadAll(file, sizes[size % 6]);

    // Write a value into every section found, and one new section, in one
    // batch; each must read back as written, and the rest of the file must
    // be unchanged in its listing.
    std::vector<char> names(8192);
    profile::GetSectionNames(names.data(), 8192, file);
    std::vector<std::string> sections;
    for (const char* s = names.data(); *s != '\0' && sections.size() < 8; s += std::strlen(s) + 1) {
        sections.emplace_back(s);
    }
    sections.emplace_back("fuzz new");
    {
        profile::Batch batch(file);
        for (const std::string& s : sections) {
            // Names the layer refuses simply fail; the rest must work.
            profile::WriteString(s.c_str(), "FuzzKey", "  'value'  ", file);
        }
        profile::WriteSection("fuzz list", "a=1\0b=2\0", file);
        Check(batch.Commit());
    }
    for (const std::string& s : sections) {
        char buf[64];
        if (profile::GetString(s.c_str(), "fuzzkey", "missing", buf, sizeof buf, file) != 5) {
            // Only a name that cannot be written (it would read back as
            // something else) may miss.
            Check(s.find_first_of("]\t\v") != std::string::npos || s.front() == ' ' ||
                  s.back() == ' ');
        } else {
            Check(std::strcmp(buf, "value") == 0);
        }
    }
    Check(profile::GetInt("fuzz list", "b", 0, file) == 2);
    ::unlink(file);
    profile::WriteString(nullptr, nullptr, nullptr, file);
    return 0;
}
