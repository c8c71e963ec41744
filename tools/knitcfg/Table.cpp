#include "Table.h"

#include <algorithm>
#include <utility>

namespace knitcfg::cli {

std::string Printable(const std::string& text, bool keepLineBreaks) {
    std::string out = text;
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        const bool lineBreak = c == '\r' || c == '\n';
        if ((byte < 0x20 && !(lineBreak && keepLineBreaks)) || byte == 0x7f) {
            c = '?';
        }
    }
    return out;
}

Table::Table(std::vector<Column> columns) : columns_(std::move(columns)) {}

void Table::AddRow(std::vector<std::string> cells) {
    cells.resize(columns_.size());
    for (std::string& cell : cells) {
        cell = Printable(cell);
    }
    rows_.push_back(std::move(cells));
}

namespace {

void WriteLine(std::ostream& out, const std::string& indent, const std::vector<std::string>& cells,
               const std::vector<std::size_t>& shown, const std::vector<Column>& columns,
               const std::vector<std::size_t>& widths) {
    std::string line = indent;
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const std::size_t c = shown[k];
        std::string cell = cells[c];
        const bool last = k + 1 == shown.size();
        if (!last && cell.size() > widths[c]) {
            cell = cell.substr(0, widths[c] - 3) + "...";
        }
        const std::string pad(widths[c] - std::min(widths[c], cell.size()), ' ');
        if (k > 0) {
            line += "  ";
        }
        line += columns[c].alignRight ? pad + cell : cell + (last ? "" : pad);
    }
    while (line.size() > indent.size() && line.back() == ' ') {
        line.pop_back();
    }
    out << line << '\n';
}

}  // namespace

void Table::Write(std::ostream& out, const std::string& indent) const {
    std::vector<std::size_t> shown;
    std::vector<std::size_t> widths(columns_.size(), 0);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        bool any = false;
        std::size_t width = columns_[c].title.size();
        for (const auto& row : rows_) {
            any = any || !row[c].empty();
            width = std::max(width, row[c].size());
        }
        if (columns_[c].dropWhenEmpty && !any) {
            continue;
        }
        shown.push_back(c);
        widths[c] = width;
    }
    // Every column but the last is held to the cut width (never narrower
    // than its title, and wide enough for the "..." of a cut).
    for (std::size_t k = 0; k + 1 < shown.size(); ++k) {
        const std::size_t c = shown[k];
        widths[c] = std::min(widths[c], std::max(kMaxCellWidth, columns_[c].title.size()));
    }
    std::vector<std::string> titles;
    titles.reserve(columns_.size());
    for (const Column& column : columns_) {
        titles.push_back(column.title);
    }
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (r % kHeaderEvery == 0) {
            WriteLine(out, indent, titles, shown, columns_, widths);
        }
        WriteLine(out, indent, rows_[r], shown, columns_, widths);
    }
}

void WriteFields(std::ostream& out, const std::string& indent,
                 const std::vector<std::pair<std::string, std::string>>& fields) {
    std::size_t width = 0;
    for (const auto& field : fields) {
        width = std::max(width, field.first.size());
    }
    for (const auto& field : fields) {
        const std::string value = Printable(field.second, true);
        std::string lead = indent + field.first + std::string(width - field.first.size() + 2, ' ');
        const std::string continuation(lead.size(), ' ');
        std::size_t start = 0;
        while (true) {
            const std::size_t end = value.find_first_of("\r\n", start);
            std::string piece = value.substr(start, end == std::string::npos ? end : end - start);
            std::string line = lead + piece;
            while (!line.empty() && line.back() == ' ') {
                line.pop_back();
            }
            out << line << '\n';
            if (end == std::string::npos) {
                break;
            }
            // CR LF is one break; so is a lone CR or LF.
            start = end + 1;
            if (value[end] == '\r' && start < value.size() && value[start] == '\n') {
                ++start;
            }
            lead = continuation;
        }
    }
}

}  // namespace knitcfg::cli
