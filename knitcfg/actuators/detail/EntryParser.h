#pragma once

// The small item language of actuator entry values, read and written in one
// place. A value format is a sequence of directives:
//   "%d"  a signed decimal 32-bit integer;
//   "%s"  a run of non-blank characters (a text);
//   a blank (space, tab, line feed, vertical tab, form feed, carriage return)
//         matches any run of blanks in the value, none included;
//   any other character must be matched by the same character.
// This is exactly what the C library's scanf family does with such formats,
// without its undefined behaviour on overlong numbers or unbounded texts.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace knitcfg::entry {

// One item of a value: a number ("%d") or a text ("%s").
struct Item {
    bool isText = false;
    std::int32_t number = 0;
    std::string text;

    static Item Number(std::int32_t value);
    static Item Text(std::string value);
};

using Items = std::vector<Item>;

// What Scan found.
struct ScanResult {
    // The items matched, in format order, up to the first directive that did
    // not match (or the end of the value). Items past that point are absent.
    Items items;
    // True when a "%s" text was longer than the room given to Scan; scanning
    // stopped there and that text is not among the items.
    bool textTooLong = false;
    // How many characters of the value the scan read before it stopped: all
    // of them when the items end the value.
    std::size_t end = 0;
};

// Reads `value` (NUL-terminated; null reads as empty) with `format`, the way
// sscanf does:
//   "%d" skips blanks, takes an optional sign and at least one decimal digit;
//        digits beyond 32 bits wrap modulo 2^32; no digit stops the scan;
//   "%s" skips blanks and takes the following non-blank run; at the end of
//        the value the scan stops; a run longer than `textRoom` characters
//        stops the scan with `textTooLong` set;
//   a blank directive skips blanks in the value (none included);
//   any other character stops the scan unless the value has it next.
// Never reads past the terminating NUL.
ScanResult Scan(const char* value, const char* format, std::size_t textRoom);

// The first item of Scan(value, "%d", ...), without building the items:
// true and the number in `*number` when the value begins (after blanks) with
// a number; false, `*number` unchanged, otherwise.
bool ScanInt(const char* value, std::int32_t* number);

// Scan into `*result`, reusing the room its items already have.
void ScanInto(const char* value, const char* format, std::size_t textRoom, ScanResult* result);

// Writes `items` with `format`: "%d" takes the next item's number in decimal,
// "%s" the next item's text whole, every other character is copied. A
// directive without an item left writes nothing.
std::string Format(const char* format, const Items& items);

// Format, appended to `*out`.
void FormatTo(const char* format, const Items& items, std::string* out);

}  // namespace knitcfg::entry
