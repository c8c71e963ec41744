#include "knitcfg/designs/detail/DesignLines.h"

#include <algorithm>
#include <cstring>

#include "knitcfg/common/detail/Names.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg::detail {

namespace {

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

}  // namespace knitcfg::detail
