#include "bench/ConfigGenerator.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

namespace knitcfg::bench {

namespace {

// A name list (sections of a file, keys of a section) is read into 8192
// characters: every name and its NUL, one more NUL at the end, and a list
// that fills the buffer exactly is already cut.
constexpr int kListingBudget = 8192 - 2;

// Key name lengths with their NUL; the four header keys of a color.
constexpr int kColorHeaderKeys = 3 + 6 + 13 + 5;

const char* const kKindPrefixes[7] = {"Drum_",     "Finger_",        "Splitter_",
                                      "Triangle_", "SteppingMotor_", "SteppingMotorDis_",
                                      "Speeder_"};

int EntryKeyLength(int kind, int number) {
    return static_cast<int>(std::strlen(kKindPrefixes[kind])) + (number > 999 ? 4 : 3) + 1;
}

void Append(std::string* out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Append(std::string* out, const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out->append(line, static_cast<size_t>(std::min<int>(n, sizeof line - 1)));
}

struct Entry {
    int feed;
    int kind;
    int id;
};

// The entries of one color: kinds drawn at random (every kind once in the
// first seven), identifiers distinct, sorted by feed as a save leaves them.
std::vector<Entry> ColorEntries(std::mt19937& rng, int count) {
    std::vector<int> ids(30000);
    std::iota(ids.begin(), ids.end(), 1);
    std::vector<Entry> entries;
    entries.reserve(static_cast<size_t>(std::max(count, 0)));
    int counters[7] = {};
    int keyBytes = kColorHeaderKeys;
    for (int i = 0; count < 0 || i < count; ++i) {
        const int kind = i < 7 ? i : static_cast<int>(rng() % 7);
        const int length = EntryKeyLength(kind, counters[kind]);
        if (count < 0 && keyBytes + length > kListingBudget) {
            break;
        }
        keyBytes += length;
        ++counters[kind];
        // A partial Fisher-Yates draw keeps the identifiers distinct.
        const size_t pick = static_cast<size_t>(i) + rng() % (ids.size() - static_cast<size_t>(i));
        std::swap(ids[static_cast<size_t>(i)], ids[pick]);
        entries.push_back({static_cast<int>(rng() % 96), kind, ids[static_cast<size_t>(i)]});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.feed < b.feed; });
    return entries;
}

void WriteColor(std::string* out, std::mt19937& rng, int id, int planes, int actuators) {
    Append(out, "[Color_%03d]\r\nID=%d\r\nPlane=%d\r\nHelpAbstract=Color %d\r\n", id, id,
           1 + id % planes, id);
    Append(out, "Help=Color %d\\nof the benchmark machine\r\n", id);
    int counters[7] = {};
    for (const Entry& e : ColorEntries(rng, actuators)) {
        const char* prefix = kKindPrefixes[e.kind];
        const int n = counters[e.kind]++;
        const int state = static_cast<int>(rng() % 3);
        switch (e.kind) {
            case 4:
                Append(out, "%s%03d=%d, %d, %d, %d, %d\r\n", prefix, n, e.id, e.feed, e.feed, state,
                       static_cast<int>(rng() % 20000) - 10000);
                break;
            case 5:
                Append(out, "%s%03d=%d %d %d +%d.%03d %d %d -%d.%03d %d %d %d %d\r\n", prefix, n,
                       e.id, e.feed, e.feed, state, static_cast<int>(rng() % 1000),
                       static_cast<int>(rng() % 50), static_cast<int>(rng() % 50), state,
                       static_cast<int>(rng() % 1000), static_cast<int>(rng() % 50),
                       static_cast<int>(rng() % 50), state, state + 1);
                break;
            case 6:
                Append(out, "%s%03d=%d, %d, %d, %c%d.%03d\r\n", prefix, n, e.id, e.feed, e.feed,
                       state == 0 ? '-' : '+', state, static_cast<int>(rng() % 1000));
                break;
            default:
                Append(out, "%s%03d=%d, %d, %d, %d\r\n", prefix, n, e.id, e.feed, e.feed, state);
        }
    }
}

void WriteLine(std::string* out, std::mt19937& rng, int id, int planes, int actuators) {
    Append(out, "[Line_%03d]\r\nID=%d\r\nPlane=%d\r\nHelp=Line %d\r\n", id, id, 1 + id % planes,
           id);
    std::vector<int> feeds;
    for (int a = 0; a < actuators; ++a) {
        feeds.push_back(static_cast<int>(rng() % 96));
    }
    std::sort(feeds.begin(), feeds.end());
    int counters[7] = {};
    for (int a = 0; a < actuators; ++a) {
        const int kind = a < 7 ? a : static_cast<int>(rng() % 7);
        Append(out, "%s%03d=%d, %d, %d\r\n", kKindPrefixes[kind], counters[kind]++,
               id * 100 + a + 1, feeds[static_cast<size_t>(a)], feeds[static_cast<size_t>(a)]);
    }
}

std::string DesignName(int d) {
    char name[64];
    std::snprintf(name, sizeof name, "\\designs\\bench%03d.dis", d);
    return name;
}

}  // namespace

GeneratorOptions SmallMachine() {
    return GeneratorOptions{};
}

GeneratorOptions MediumMachine() {
    GeneratorOptions o;
    o.colors = 200;
    o.actuatorsPerColor = 100;
    o.lines = 40;
    o.planes = 4;
    o.planeSections = true;
    o.designs = 20;
    o.patternsPerDesign = 12;
    o.shaved = 30;
    return o;
}

GeneratorOptions LargestFile() {
    GeneratorOptions o;
    o.colors = -1;
    o.actuatorsPerColor = -1;
    o.lines = 64;
    o.planes = 8;
    o.planeSections = true;
    o.blocksPerPlane = 16;
    o.designs = 40;
    o.patternsPerDesign = 16;
    o.shaved = 60;
    return o;
}

GeneratedFile GenerateConfig(const GeneratorOptions& options) {
    std::mt19937 rng(options.seed);
    const int planes = std::max(options.planes, 1);
    // The sections other than colors, in the section listing.
    int sectionBytes = 11 + 7 + 13 + 10;  // Protection, Header, GeneratedDis, ShavedDis
    sectionBytes += options.planeSections ? 10 * planes : 12;
    sectionBytes += 9 * options.lines;
    for (int d = 1; d <= options.designs; ++d) {
        sectionBytes += static_cast<int>(DesignName(d).size()) + 1;
    }
    int colors = options.colors;
    if (colors < 0) {
        colors = 0;
        while (sectionBytes + (colors + 1 > 999 ? 11 : 10) <= kListingBudget) {
            sectionBytes += colors + 1 > 999 ? 11 : 10;
            ++colors;
        }
    }

    GeneratedFile result;
    result.colors = colors;
    std::string& out = result.text;
    out.reserve(static_cast<size_t>(colors) * 40 * 600 + 65536);
    Append(&out,
           "[Protection]\r\nConfigProtected=0\r\n[Header]\r\nMachineType=KB-900\r\nVersion=3.2\r\n"
           "Description=Benchmark machine\\n%d colors\r\nNumberOfLines=4\r\nStartBlock=1\r\n"
           "LastDevelop=\\designs\\bench001.dis,3,1\r\nSourceCfg=\\machines\\kb900\\factory.ini\r\n"
           "SourceSdi=\\machines\\kb900\\factory.sdi\r\n",
           colors);
    for (int c = 1; c <= colors; ++c) {
        const size_t before = out.size();
        WriteColor(&out, rng, c, planes, options.actuatorsPerColor);
        if (c == 1) {
            result.actuatorsPerColor = 0;
            for (size_t at = out.find("=", before); at != std::string::npos;
                 at = out.find("=", at + 1)) {
                ++result.actuatorsPerColor;
            }
            result.actuatorsPerColor -= 4;  // ID, Plane, HelpAbstract, Help
        }
    }
    for (int l = 0; l < options.lines; ++l) {
        WriteLine(&out, rng, l, planes, options.actuatorsPerLine);
    }
    if (options.planeSections) {
        for (int p = 1; p <= planes; ++p) {
            Append(&out,
                   "[Plane_%03d]\r\nNumberOfLines=%d\r\nStartBlock=%d\r\nPriority=%d\r\n"
                   "Description=Plane %d\\nof the benchmark\r\n",
                   p, 2 + p % 3, p % 2, p - 1, p);
            for (int b = 1; b <= options.blocksPerPlane; ++b) {
                Append(&out, "Block_%03d=%d, %d", b, b, static_cast<int>(rng() % 4));
                const int values = static_cast<int>(rng() % 6);
                for (int v = 0; v < values; ++v) {
                    Append(&out, ", %d", static_cast<int>(rng() % 100));
                }
                out += "\r\n";
            }
        }
    } else {
        out += "[ColorPlanes]\r\n";
        for (int p = 1; p <= planes; ++p) {
            Append(&out, "Plane_%03d=%d, Plane %d, %d\r\n", p, p, p, p - 1);
        }
    }
    out += "[GeneratedDis]\r\n";
    for (int d = 1; d <= options.designs; ++d) {
        Append(&out, "%s=%d,%d\r\n", DesignName(d).c_str(), d % 7, d % 5);
    }
    for (int d = 1; d <= options.designs; ++d) {
        Append(&out, "[%s]\r\n", DesignName(d).c_str());
        for (int p = 1; p <= options.patternsPerDesign; ++p) {
            Append(&out, "%d=\\patterns\\bench%03d_%02d.pat,%d", p, d, p,
                   static_cast<int>(rng() % 8));
            const int remaps = static_cast<int>(rng() % 5);
            if (remaps > 0) {
                out += ",";
                for (int r = 0; r < remaps; ++r) {
                    Append(&out, "%d ", static_cast<int>(rng() % 200) - 20);
                }
            }
            out += "\r\n";
        }
    }
    out += "[ShavedDis]\r\n";
    for (int s = 1; s <= options.shaved; ++s) {
        Append(&out, "shaved%03d=%d, %d, %d,", s, s, s % 4, s % 9);
        const int elements = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < elements; ++e) {
            Append(&out, "<%d>", static_cast<int>(rng() % 500) - 1);
        }
        out += "\r\n";
    }
    return result;
}

}  // namespace knitcfg::bench
