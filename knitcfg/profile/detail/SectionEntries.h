#pragma once

// A whole section's entries in one visit of the file, for the loaders of the
// library, which read every entry of a section in a row. Internal to the
// library: callers use the six profile operations.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace knitcfg::detail {

// The entries of one section, as the profile calls would give them one by one.
struct SectionEntries {
    // What GetString(section, nullptr, "", listing, room, file) writes and
    // returns: the key names, each followed by a NUL, one more NUL at the end.
    std::vector<char> listing;
    unsigned listed = 0;

    // For each name in the listing, in order: the value that
    // GetString(section, name, ...) reads, whole (the caller cuts it to its
    // own room), or not found when that call would copy its default.
    struct Value {
        std::size_t begin = 0;  // in `text`
        std::size_t length = 0;
        bool found = false;
    };
    std::vector<Value> values;
    // The values end to end, each followed by a NUL (which a value may also
    // hold), so that a value can be read as a C string where it lies.
    std::string text;

    std::string_view ValueText(const Value& value) const {
        return std::string_view(text).substr(value.begin, value.length);
    }
};

// Fills `out` (its room is reused) for `section` of `file`, with a listing
// of `room` bytes, under one lock and one check of the file. Each value
// holds what a GetString call made at that moment would read: the caller
// that wants the same answers later than that checks ChangeCount
// (FileCache.h) first.
void ReadSectionEntries(const char* section, unsigned room, const char* file, SectionEntries* out);

}  // namespace knitcfg::detail
