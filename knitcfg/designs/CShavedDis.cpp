#include "knitcfg/designs/CShavedDis.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/common/detail/Blanks.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/designs/detail/DesignLines.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(CShavedDis, ModelObject)

namespace {

constexpr const char* kSection = "ShavedDis";

// Reads the number field that starts at `*at` of `text`, then moves `*at`
// just past the next ',' (or to the end). A field of blanks only leaves
// `*number` as it was. False when the field does not begin with a number.
bool ReadNumberField(const std::string& text, std::size_t* at, int* number) {
    if (std::find_if_not(text.begin() + static_cast<std::ptrdiff_t>(*at), text.end(),
                         detail::IsCSpace) != text.end() &&
        detail::ScanDecimal(text.c_str() + *at, nullptr, number) == nullptr) {
        return false;
    }
    const std::size_t comma = text.find(',', *at);
    *at = comma == std::string::npos ? text.size() : comma + 1;
    return true;
}

// Reads the element that starts at `*at` of `text` ('<', a number, '>'), then
// moves `*at` past its '>' and one blank after it. False, moving nothing,
// when no element starts there.
bool ReadElement(const std::string& text, std::size_t* at, std::uint32_t* element) {
    if (text.compare(*at, 1, "<") != 0) {
        return false;
    }
    const std::size_t close = text.find('>', *at);
    if (close == std::string::npos) {
        return false;
    }
    // The candidate runs to the first '>' and gets a mark behind it: the
    // format's trailing "%s" takes the mark only when the number ran right up
    // to that '>', so an item for it proves the whole element matched.
    const std::string candidate = text.substr(*at, close + 1 - *at) + "!";
    const entry::ScanResult scan = entry::Scan(candidate.c_str(), "<%d>%s", 1);
    if (scan.items.size() != 2) {
        return false;
    }
    *element = detail::IntToBits(scan.items.front().number);
    *at = close + 1;
    if (*at < text.size() && text[*at] == ' ') {
        ++*at;
    }
    return true;
}

}  // namespace

CShavedDis::CShavedDis() = default;
CShavedDis::CShavedDis(const CShavedDis& other) = default;
CShavedDis& CShavedDis::operator=(const CShavedDis& other) = default;
CShavedDis::~CShavedDis() = default;

RETERROR CShavedDis::Load(const char* line) {
    const std::string text(line != nullptr ? line : "");
    Elements.clear();
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        Name = text;
        return RE_BAD_SHAVED_LINE;
    }
    Name = text.substr(0, equals);

    std::size_t at = equals + 1;
    for (int* number : {&First, &Second, &Third}) {
        if (!ReadNumberField(text, &at, number)) {
            return RE_BAD_SHAVED_LINE;
        }
    }
    std::uint32_t element = 0;
    while (ReadElement(text, &at, &element)) {
        Elements.push_back(element);
    }
    return RE_SUCCESS;
}

RETERROR CShavedDis::Save(const char* file) const {
    std::string value =
        std::to_string(First) + ", " + std::to_string(Second) + ", " + std::to_string(Third) + ",";
    for (const std::uint32_t element : Elements) {
        value += '<';
        value += std::to_string(detail::BitsToInt(element));
        value += '>';
    }
    const bool written = profile::WriteString(kSection, Name.c_str(), value.c_str(), file);
    return written ? RE_SUCCESS : RE_WRITE_SHAVED;
}

}  // namespace knitcfg
