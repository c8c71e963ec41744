#pragma once

// Aligned text tables for terminals.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace knitcfg::cli {

// How the file's 8-bit texts reach the terminal. Latin1: the bytes as the
// file holds them. Utf8: each byte above 127 read as Windows-1252 (Latin-1
// with printable characters in 0x80-0x9F) and written as UTF-8; the five
// bytes that code page leaves undefined become '?'.
enum class Encoding { Latin1, Utf8 };

// Parses "latin1" or "utf8" (any letter case, "utf-8" and "latin-1" too).
// False for any other name.
bool ParseEncoding(const std::string& name, Encoding* encoding);

// The Unicode code point of a byte above 127 read as Windows-1252; 0 for the
// five bytes it leaves undefined.
unsigned CodePoint1252(unsigned char byte);

// `text` made ready for the terminal: converted to `encoding`, control
// characters replaced by '?' so that a file cannot send escape sequences to
// the terminal (CR and LF stay when `keepLineBreaks`).
std::string ForTerminal(std::string_view text, Encoding encoding, bool keepLineBreaks = false);

// The columns `text` (as ForTerminal gives it) takes on a terminal.
std::size_t DisplayWidth(std::string_view text, Encoding encoding);

struct Column {
    Column(const char* title_, bool alignRight_ = false, bool dropWhenEmpty_ = false)
        : title(title_), alignRight(alignRight_), dropWhenEmpty(dropWhenEmpty_) {}

    std::string title;
    bool alignRight;     // numbers
    bool dropWhenEmpty;  // left out when no row has a value in it
};

class Table {
public:
    // A cell longer than this is cut (with "...") unless it is in the last
    // column, which may run on: one long path or list cannot push every
    // other column off the screen.
    static constexpr std::size_t kMaxCellWidth = 40;
    // Long tables repeat their header row after this many rows, so a
    // column's meaning stays on screen while scrolling.
    static constexpr std::size_t kHeaderEvery = 40;

    // `cutWidth` 0: no cell is cut (tables whose cells must be read whole).
    explicit Table(std::vector<Column> columns, Encoding encoding = Encoding::Latin1,
                   std::size_t cutWidth = kMaxCellWidth);

    // A row of cells, one per column (missing cells are empty).
    void AddRow(std::vector<std::string> cells);

    std::size_t RowCount() const { return rows_.size(); }

    // Writes the header row and the rows, each line after `indent`, columns
    // as wide as their widest cell and two blanks apart; no blanks at line
    // ends.
    void Write(std::ostream& out, const std::string& indent) const;

private:
    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;
    Encoding encoding_;
    std::size_t cutWidth_;
};

// Label-value lines ("Machine type  KX-240"), labels aligned. A value with
// line breaks (CR LF, LF or CR) goes on over several lines, each after the
// value column.
void WriteFields(std::ostream& out, const std::string& indent,
                 const std::vector<std::pair<std::string, std::string>>& fields,
                 Encoding encoding = Encoding::Latin1);

}  // namespace knitcfg::cli
