#pragma once

// Aligned text tables for terminals.

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace knitcfg::cli {

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

    explicit Table(std::vector<Column> columns);

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
};

// Label-value lines ("Machine type  KX-240"), labels aligned. A value with
// line breaks (CR LF, LF or CR) goes on over several lines, each after the
// value column.
void WriteFields(std::ostream& out, const std::string& indent,
                 const std::vector<std::pair<std::string, std::string>>& fields);

// `text` made safe for a terminal: control characters become '?', so a file
// cannot send escape sequences to the terminal; CR and LF stay when
// `keepLineBreaks`.
std::string Printable(const std::string& text, bool keepLineBreaks = false);

}  // namespace knitcfg::cli
