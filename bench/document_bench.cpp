// Costs of loading and saving colors and lines. A color section is loaded by
// offering every key to the actuators already listed; the cost per key must
// not grow with the length of the section.
//
//   cmake --preset bench && cmake --build --preset bench
//   ./build/bench/bench/knitcfg_document_bench

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/program/ColorPrg.h"

namespace profile = knitcfg::profile;
using knitcfg::Attuat;
using knitcfg::ColorPrg;
using knitcfg::Configuration;

namespace {

std::vector<std::string>& Made() {
    static std::vector<std::string> made;
    return made;
}

std::string BenchPath(const std::string& name) {
    const std::string path =
        "/tmp/knitcfg-docbench-" + std::to_string(::getpid()) + "-" + name + ".ini";
    Made().push_back(path);
    return path;
}

// One color's actuator entries, as a save writes them: sorted by feed, each
// kind numbered from 000; distinct identifiers. With `shuffled`, the same
// entries in random order, so that most insertions land inside the list.
std::string ColorEntries(std::mt19937& rng, int actuators, bool shuffled) {
    static const char* const prefixes[] = {
        "Drum_",          "Finger_",  "Splitter_",        "Triangle_",
        "SteppingMotor_", "Speeder_", "SteppingMotorDis_"};
    std::vector<int> ids(1000);
    std::iota(ids.begin(), ids.end(), 1);
    std::shuffle(ids.begin(), ids.end(), rng);
    struct Entry {
        int feed;
        int kind;
        int id;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < actuators; ++i) {
        entries.push_back({static_cast<int>(rng() % 96), static_cast<int>(rng() % 7), ids[i]});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.feed < b.feed; });
    if (shuffled) {
        std::shuffle(entries.begin(), entries.end(), rng);
    }
    int counters[7] = {};
    std::string out;
    char line[160];
    for (const Entry& e : entries) {
        const int n = counters[e.kind]++;
        switch (e.kind) {
            case 4:
                std::snprintf(line, sizeof line, "%s%03d=%d, %d, %d, %d, %d\r\n", prefixes[e.kind],
                              n, e.id, e.feed, e.feed, static_cast<int>(rng() % 3),
                              static_cast<int>(rng() % 20000) - 10000);
                break;
            case 5:
                std::snprintf(line, sizeof line, "%s%03d=%d, %d, %d, +%d.%03d\r\n",
                              prefixes[e.kind], n, e.id, e.feed, e.feed,
                              static_cast<int>(rng() % 3), static_cast<int>(rng() % 1000));
                break;
            case 6:
                std::snprintf(line, sizeof line, "%s%03d=%d %d %d +1.250 1 2 -0.500 3 4 5 6\r\n",
                              prefixes[e.kind], n, e.id, e.feed, e.feed);
                break;
            default:
                std::snprintf(line, sizeof line, "%s%03d=%d, %d, %d, %d\r\n", prefixes[e.kind], n,
                              e.id, e.feed, e.feed, static_cast<int>(rng() % 3));
        }
        out += line;
    }
    return out;
}

// A whole document: protection, header, `colors` colors of `actuators`
// actuators each and ten lines of twenty actuators, from a fixed seed.
std::string MakeDocument(int colors, int actuators, bool shuffled) {
    std::mt19937 rng(4242);
    std::string out =
        "[Protection]\r\nConfigProtected=0\r\n[Header]\r\nMachineType=KM-400\r\nVersion=2.7\r\n"
        "Description=Benchmark\r\nNumberOfLines=4\r\nStartBlock=0\r\n";
    for (int c = 1; c <= colors; ++c) {
        char head[128];
        std::snprintf(head, sizeof head,
                      "[Color_%03d]\r\nID=%d\r\nPlane=1\r\nHelpAbstract=Color %d\r\n"
                      "Help=Color\\nnumber %d\r\n",
                      c, c, c, c);
        out += head;
        out += ColorEntries(rng, actuators, shuffled);
    }
    for (int l = 0; l < 10; ++l) {
        char head[32];
        std::snprintf(head, sizeof head, "[Line_%03d]\r\n", l);
        out += head;
        for (int a = 0; a < 20; ++a) {
            char line[64];
            std::snprintf(line, sizeof line, "Drum_%03d=%d, %d, %d\r\n", a, a + 1, a, a);
            out += line;
        }
    }
    return out;
}

const std::string& DocumentFile(int colors, int actuators, bool shuffled) {
    static std::vector<std::pair<std::string, std::string>> files;
    const std::string name =
        std::to_string(colors) + "x" + std::to_string(actuators) + (shuffled ? "-shuffled" : "");
    for (const auto& [n, path] : files) {
        if (n == name) {
            return path;
        }
    }
    const std::string path = BenchPath(name);
    knitcfg::platform::ReplaceFileAtomically(path, MakeDocument(colors, actuators, shuffled));
    files.emplace_back(name, path);
    return files.back().second;
}

// LoadCFG of the whole document, the file parsed once beforehand (the
// profile layer keeps it): the cost of building the model.
void BM_LoadDocument(benchmark::State& state) {
    const int colors = static_cast<int>(state.range(0));
    const int actuators = static_cast<int>(state.range(1));
    const std::string& file = DocumentFile(colors, actuators, state.range(2) != 0);
    for (auto _ : state) {
        Configuration doc;
        benchmark::DoNotOptimize(doc.LoadCFG(file.c_str()));
    }
    state.counters["entries"] = benchmark::Counter(
        static_cast<double>(colors) * actuators * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoadDocument)
    ->Args({100, 200, 0})
    ->Args({400, 50, 0})
    ->Args({400, 200, 0})
    ->Args({400, 200, 1})
    // Colors nearly as long as the key listing admits, in file order and
    // shuffled: the cost per entry must not grow with the length of a color.
    ->Args({50, 560, 0})
    ->Args({50, 560, 1})
    ->Unit(benchmark::kMillisecond);

// The same with the file read and parsed again every time, as a program's
// first load of a file.
void BM_LoadDocumentCold(benchmark::State& state) {
    const std::string& file =
        DocumentFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), false);
    for (auto _ : state) {
        profile::WriteString(nullptr, nullptr, nullptr, file.c_str());  // forget the parse
        Configuration doc;
        benchmark::DoNotOptimize(doc.LoadCFG(file.c_str()));
    }
}
BENCHMARK(BM_LoadDocumentCold)->Args({400, 200})->Unit(benchmark::kMillisecond);

// SaveCFG of the loaded document: every section written into a fresh
// temporary file, which is then copied over the target.
void BM_SaveDocument(benchmark::State& state) {
    const std::string& file =
        DocumentFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), false);
    Configuration doc;
    doc.LoadCFG(file.c_str());
    const std::string target = BenchPath("saved");
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.SaveCFG(target.c_str()));
    }
}
BENCHMARK(BM_SaveDocument)->Args({400, 200})->Unit(benchmark::kMillisecond);

// The loading loop asked of every listed actuator for every key, as the
// plain reading of it would run: the cost that the index avoids, for
// comparison with BM_LoadColorSection.
void BM_LoadColorSectionPlainLoop(benchmark::State& state) {
    const int actuators = static_cast<int>(state.range(0));
    const std::string& file = DocumentFile(1, actuators, false);
    profile::Batch batch(file.c_str());
    std::vector<char> names(8192);
    profile::GetString("Color_001", nullptr, "", names.data(), 8192, file.c_str());
    const std::vector<Attuat*>& prototypes = knitcfg::detail::ColorPrototypes();
    for (auto _ : state) {
        std::vector<std::unique_ptr<Attuat>> list;
        for (const char* key = names.data(); *key != '\0'; key += std::strlen(key) + 1) {
            Attuat* owner = nullptr;
            for (const auto& a : list) {
                if (a->AlreadyInList("Color_001", key, file.c_str()) == 1) {
                    owner = a.get();
                    break;
                }
            }
            knitcfg::RETERROR code = knitcfg::RE_SUCCESS;
            if (owner != nullptr) {
                owner->UpdateObj("Color_001", key, file.c_str(), &code);
                continue;
            }
            for (Attuat* p : prototypes) {
                std::unique_ptr<Attuat> made(p->LoadObj("Color_001", key, file.c_str(), &code));
                if (made) {
                    auto at = list.begin();
                    while (at != list.end() && (*at)->Caduta <= made->Caduta) {
                        ++at;
                    }
                    list.insert(at, std::move(made));
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_LoadColorSectionPlainLoop)->Arg(50)->Arg(200)->Arg(400);

// One color section through ColorPrg::LoadSection.
void BM_LoadColorSection(benchmark::State& state) {
    const int actuators = static_cast<int>(state.range(0));
    const std::string& file = DocumentFile(1, actuators, false);
    profile::Batch batch(file.c_str());
    for (auto _ : state) {
        ColorPrg color;
        benchmark::DoNotOptimize(color.LoadSection("Color_001", file.c_str()));
    }
}
BENCHMARK(BM_LoadColorSection)->Arg(50)->Arg(200)->Arg(400);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& path : Made()) {
        std::remove(path.c_str());
    }
    return 0;
}
