#pragma once

// Internal: not exported, not installed. Reading the design tables' sections
// and the small text rules their lines share.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace knitcfg::designs {

// The size of every listing the design tables read: what lies beyond it in
// the file is not seen.
constexpr unsigned kListingSize = 8192;

// True when the file lists at least one section name.
bool FileHasSections(const char* file);

// The lines of `section` ("key=value" and lines without '='), in file order,
// as a listing of kListingSize characters holds them. Empty when the file or
// section is missing. When the section did not fit and the listing's last
// line was cut short, that line is left out rather than taken as a different
// name or number; a line that the listing holds whole is always kept.
std::vector<std::string> ReadSectionLines(const char* section, const char* file);

// The text before the first `c`; "" when the text holds none.
std::string_view TextBefore(std::string_view text, char c);

// The text after the first `c`; the whole text when it holds none.
std::string_view TextAfter(std::string_view text, char c);

// The number at the start of `text`: blanks skipped, an optional sign, the
// decimal digits up to the first other character, wrapped to 32 bits. 0 when
// there is no digit.
int LenientInt(std::string_view text);

// The 32 bits of `bits` as a signed number, and back.
std::int32_t BitsToInt(std::uint32_t bits);
std::uint32_t IntToBits(std::int32_t value);

// True when the texts are equal without regard to ASCII letter case.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace knitcfg::designs
