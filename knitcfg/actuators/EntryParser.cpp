#include "knitcfg/actuators/detail/EntryParser.h"

#include <utility>

#include "knitcfg/common/detail/Blanks.h"
#include "knitcfg/common/detail/Numbers.h"

namespace knitcfg::entry {

namespace {

using detail::IsCSpace;
using detail::SkipCSpaces;

// Reads "%d" at `*p`; advances `*p` and returns true on success.
bool ScanNumber(const char** p, std::int32_t* out) {
    const char* end = detail::ScanDecimal(*p, nullptr, out);
    if (end == nullptr) {
        return false;
    }
    *p = end;
    return true;
}

}  // namespace

Item Item::Number(std::int32_t value) {
    Item item;
    item.number = value;
    return item;
}

Item Item::Text(std::string value) {
    Item item;
    item.isText = true;
    item.text = std::move(value);
    return item;
}

ScanResult Scan(const char* value, const char* format, std::size_t textRoom) {
    ScanResult result;
    ScanInto(value, format, textRoom, &result);
    return result;
}

namespace {

// The items of a scan, written over those that a result scanned into before
// holds: a loader scans every entry of a file into one result, and a fresh
// item for each would construct and destroy a text each time.
class ItemWriter {
public:
    explicit ItemWriter(Items& items) : items_(items) {}
    ItemWriter(const ItemWriter&) = delete;
    ItemWriter& operator=(const ItemWriter&) = delete;
    // Drops the items left over from the earlier scan.
    ~ItemWriter() { items_.resize(count_); }

    void Number(std::int32_t number) {
        Item& item = Next();
        item.isText = false;
        item.number = number;
        item.text.clear();
    }
    void Text(const char* text, std::size_t length) {
        Item& item = Next();
        item.isText = true;
        item.number = 0;
        item.text.assign(text, length);
    }

private:
    Item& Next() {
        if (count_ == items_.size()) {
            items_.emplace_back();
        }
        return items_[count_++];
    }

    Items& items_;
    std::size_t count_ = 0;
};

}  // namespace

void ScanInto(const char* value, const char* format, std::size_t textRoom, ScanResult* out) {
    if (out == nullptr) {
        return;
    }
    ScanResult& result = *out;
    result.textTooLong = false;
    result.end = 0;
    if (format == nullptr) {
        result.items.clear();
        return;
    }
    if (result.items.capacity() == 0) {
        // Room for every item of the format at once, not grown item by item
        // (a result scanned into again keeps its room).
        std::size_t directives = 0;
        for (const char* f = format; *f != '\0'; ++f) {
            directives += *f == '%' ? 1 : 0;
        }
        result.items.reserve(directives);
    }
    ItemWriter items(result.items);
    const char* const begin = value != nullptr ? value : "";
    const char* p = begin;
    // Where the scan stopped, told on every way out.
    struct End {
        const char* const& at;
        const char* begin;
        std::size_t& end;
        ~End() { end = static_cast<std::size_t>(at - begin); }
    } end{p, begin, result.end};
    // The directives in the order of their frequency in the kinds' formats.
    for (const char* f = format; *f != '\0';) {
        if (f[0] == '%' && f[1] == 'd') {
            std::int32_t number = 0;
            if (!ScanNumber(&p, &number)) {
                return;
            }
            items.Number(number);
            f += 2;
            continue;
        }
        if (f[0] == '%' && f[1] == 's') {
            p = SkipCSpaces(p);
            const char* start = p;
            while (*p != '\0' && !IsCSpace(*p)) {
                ++p;
            }
            const auto length = static_cast<std::size_t>(p - start);
            if (length == 0) {
                return;
            }
            if (length > textRoom) {
                result.textTooLong = true;
                return;
            }
            items.Text(start, length);
            f += 2;
            continue;
        }
        if (IsCSpace(*f)) {
            while (IsCSpace(*f)) {
                ++f;
            }
            p = SkipCSpaces(p);
            continue;
        }
        // A literal character, '%' of an unknown directive included.
        if (*p != *f) {
            return;
        }
        ++p;
        ++f;
    }
}

bool ScanInt(const char* value, std::int32_t* number) {
    const char* p = value != nullptr ? value : "";
    return ScanNumber(&p, number);
}

namespace {

// Gathers the characters of an entry in a buffer and appends them to the
// string a few at a time: a save formats every entry of a file, and one
// append per character cost more than the formatting itself.
class Writer {
public:
    explicit Writer(std::string* out) : out_(out) {}
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    ~Writer() { Flush(); }

    void Char(char c) {
        Room(1);
        buffer_[used_++] = c;
    }
    void Number(std::int32_t number, int minDigits) {
        Room(11);
        used_ = static_cast<std::size_t>(detail::WriteDecimal(number, minDigits, buffer_ + used_) -
                                         buffer_);
    }
    void Text(const std::string& text) {
        Flush();
        out_->append(text);
    }

private:
    void Room(std::size_t n) {
        if (used_ + n > sizeof buffer_) {
            Flush();
        }
    }
    void Flush() {
        out_->append(buffer_, used_);
        used_ = 0;
    }

    std::string* out_;
    char buffer_[128];
    std::size_t used_ = 0;
};

}  // namespace

std::string Format(const char* format, const Items& items) {
    std::string out;
    FormatTo(format, items, &out);
    return out;
}

void FormatTo(const char* format, const Items& items, std::string* out) {
    if (format == nullptr || out == nullptr) {
        return;
    }
    Writer writer(out);
    std::size_t next = 0;
    for (const char* f = format; *f != '\0';) {
        if (f[0] == '%' && (f[1] == 'd' || f[1] == 's')) {
            if (next < items.size()) {
                const Item& item = items[next++];
                if (f[1] == 'd') {
                    writer.Number(item.number, 1);
                } else {
                    writer.Text(item.text);
                }
            }
            f += 2;
            continue;
        }
        writer.Char(*f++);
    }
}

}  // namespace knitcfg::entry
