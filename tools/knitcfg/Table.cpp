#include "Table.h"

#include <algorithm>
#include <utility>

#include "Ascii.h"

namespace knitcfg::cli {

bool ParseEncoding(const std::string& name, Encoding* encoding) {
    const std::string lower = LowerAscii(name);
    if (lower == "latin1" || lower == "latin-1") {
        *encoding = Encoding::Latin1;
    } else if (lower == "utf8" || lower == "utf-8") {
        *encoding = Encoding::Utf8;
    } else {
        return false;
    }
    return true;
}

unsigned CodePoint1252(unsigned char byte) {
    // 0x80 to 0x9F; 0 where the code page defines nothing.
    static const unsigned short kHigh[32] = {
        0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
        0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178};
    if (byte >= 0x80 && byte < 0xa0) {
        return kHigh[byte - 0x80];
    }
    return byte;
}

namespace {

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xe0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

bool Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// The first `columns` columns of `text` (as ForTerminal gives it).
std::string_view Head(std::string_view text, std::size_t columns, Encoding encoding) {
    if (encoding == Encoding::Latin1) {
        return text.substr(0, columns);
    }
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!Continuation(text[i]) && seen++ == columns) {
            return text.substr(0, i);
        }
    }
    return text;
}

}  // namespace

std::string ForTerminal(std::string_view text, Encoding encoding, bool keepLineBreaks) {
    const auto plain = [&](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7f && (byte < 0x80 || encoding == Encoding::Latin1);
    };
    if (std::all_of(text.begin(), text.end(), plain)) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool lineBreak = c == '\r' || c == '\n';
        if ((byte < 0x20 && !(lineBreak && keepLineBreaks)) || byte == 0x7f) {
            out += '?';
        } else if (byte < 0x80 || encoding == Encoding::Latin1) {
            out += c;
        } else {
            const unsigned code = CodePoint1252(byte);
            AppendUtf8(out, code == 0 ? '?' : code);
        }
    }
    return out;
}

std::size_t DisplayWidth(std::string_view text, Encoding encoding) {
    if (encoding == Encoding::Latin1) {
        return text.size();
    }
    std::size_t width = 0;
    for (const char c : text) {
        width += Continuation(c) ? 0 : 1;
    }
    return width;
}

Table::Table(std::vector<Column> columns, Encoding encoding, std::size_t cutWidth)
    : columns_(std::move(columns)), encoding_(encoding), cutWidth_(cutWidth) {}

void Table::AddRow(std::vector<std::string> cells) {
    cells.resize(columns_.size());
    for (std::string& cell : cells) {
        if (!cell.empty()) {
            cell = ForTerminal(cell, encoding_);
        }
    }
    rows_.push_back(std::move(cells));
}

namespace {

void WriteLine(std::ostream& out, const std::string& indent, const std::vector<std::string>& cells,
               const std::vector<std::size_t>& shown, const std::vector<Column>& columns,
               const std::vector<std::size_t>& widths, Encoding encoding, std::string& line) {
    line = indent;
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const std::size_t c = shown[k];
        std::string_view cell = cells[c];
        std::size_t width = DisplayWidth(cell, encoding);
        const bool last = k + 1 == shown.size();
        const bool cut = !last && width > widths[c];
        if (cut) {
            cell = Head(cell, widths[c] - 3, encoding);
            width = widths[c];
        }
        const std::size_t pad = widths[c] - std::min(widths[c], width);
        if (k > 0) {
            line += "  ";
        }
        if (columns[c].alignRight) {
            line.append(pad, ' ');
        }
        line += cell;
        if (cut) {
            line += "...";
        }
        if (!columns[c].alignRight && !last) {
            line.append(pad, ' ');
        }
    }
    while (line.size() > indent.size() && line.back() == ' ') {
        line.pop_back();
    }
    line += '\n';
    out << line;
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
            width = std::max(width, DisplayWidth(row[c], encoding_));
        }
        if (columns_[c].dropWhenEmpty && !any) {
            continue;
        }
        shown.push_back(c);
        widths[c] = width;
    }
    // Every column but the last is held to the cut width (never narrower
    // than its title, and wide enough for the "..." of a cut).
    for (std::size_t k = 0; cutWidth_ != 0 && k + 1 < shown.size(); ++k) {
        const std::size_t c = shown[k];
        widths[c] = std::min(widths[c], std::max(cutWidth_, columns_[c].title.size()));
    }
    std::vector<std::string> titles;
    titles.reserve(columns_.size());
    for (const Column& column : columns_) {
        titles.push_back(column.title);
    }
    std::string line;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (r % kHeaderEvery == 0) {
            WriteLine(out, indent, titles, shown, columns_, widths, encoding_, line);
        }
        WriteLine(out, indent, rows_[r], shown, columns_, widths, encoding_, line);
    }
}

void WriteFields(std::ostream& out, const std::string& indent,
                 const std::vector<std::pair<std::string, std::string>>& fields,
                 Encoding encoding) {
    std::size_t width = 0;
    for (const auto& field : fields) {
        width = std::max(width, field.first.size());
    }
    for (const auto& field : fields) {
        const std::string value = ForTerminal(field.second, encoding, true);
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
