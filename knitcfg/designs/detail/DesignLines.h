#pragma once

// Internal: not exported, not installed. Reading the design tables' sections
// and cutting their lines into fields.

#include <string>
#include <string_view>
#include <vector>

namespace knitcfg::detail {

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

}  // namespace knitcfg::detail
