#include "knitcfg/designs/SectionText.h"

#include <algorithm>
#include <cstring>

#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg::designs {

namespace {

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the line of `size` characters at offset `start` of the section's
// listing of kListingSize characters goes on in the file.
bool LineGoesOn(const char* section, const char* file, unsigned start, std::size_t size) {
    constexpr unsigned kWider = kListingSize + 1;
    std::vector<char> wider(kWider);
    profile::GetSection(section, wider.data(), kWider, file);
    const auto begin = wider.begin() + start;
    return static_cast<std::size_t>(std::find(begin, wider.end(), '\0') - begin) != size;
}

}  // namespace

bool FileHasSections(const char* file) {
    std::vector<char> buffer(kListingSize);
    return profile::GetSectionNames(buffer.data(), kListingSize, file) != 0;
}

std::vector<std::string> ReadSectionLines(const char* section, const char* file) {
    std::vector<char> buffer(kListingSize);
    const unsigned length = profile::GetSection(section, buffer.data(), kListingSize, file);
    std::vector<std::string> lines;
    unsigned last = 0;
    for (unsigned at = 0; at < length;) {
        const char* line = buffer.data() + at;
        const std::size_t size = std::strlen(line);
        lines.emplace_back(line, size);
        last = at;
        at += static_cast<unsigned>(size) + 1;
    }
    // A listing that did not fit comes back as its first size-2 bytes: its
    // last line may end anywhere. Taken as it stands, a cut name would load as
    // another design (and a save would remove that design's section), a cut
    // number as another value. The same length also comes back for a listing
    // that fits with one byte to spare, or that the limit cuts right after a
    // whole line: a listing one byte longer shows whether the last line goes
    // on, and only then is it left out.
    if (length == kListingSize - 2 && !lines.empty() &&
        LineGoesOn(section, file, last, lines.back().size())) {
        lines.pop_back();
    }
    return lines;
}

std::string_view TextBefore(std::string_view text, char c) {
    const std::size_t at = text.find(c);
    return at == std::string_view::npos ? std::string_view() : text.substr(0, at);
}

std::string_view TextAfter(std::string_view text, char c) {
    const std::size_t at = text.find(c);
    return at == std::string_view::npos ? text : text.substr(at + 1);
}

int LenientInt(std::string_view text) {
    const std::string copy(text);
    const entry::ScanResult scan = entry::Scan(copy.c_str(), "%d", 0);
    return scan.items.empty() ? 0 : scan.items.front().number;
}

std::int32_t BitsToInt(std::uint32_t bits) {
    // Written out: before C++20 the narrowing conversion is implementation
    // defined.
    if (bits <= 0x7FFFFFFFu) {
        return static_cast<std::int32_t>(bits);
    }
    return -static_cast<std::int32_t>(0xFFFFFFFFu - bits) - 1;
}

std::uint32_t IntToBits(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace knitcfg::designs
