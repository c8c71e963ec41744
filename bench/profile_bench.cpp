// Costs of the profile layer. Per-call costs must stay flat as the file
// grows (every lookup goes through an index); parsing runs at a rate close
// to reading the bytes.
//
//   cmake --preset bench && cmake --build --preset bench
//   ./build/bench/bench/knitcfg_bench

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/profile/detail/IniDocument.h"

namespace profile = knitcfg::profile;

namespace {

constexpr int kKeysPerSection = 100;

std::string BenchPath(const std::string& name) {
    return "/tmp/knitcfg-bench-" + std::to_string(::getpid()) + "-" + name + ".ini";
}

// A configuration-like file of `keys` keys in sections of 100, from a fixed seed.
std::string MakeFile(int keys) {
    std::mt19937 rng(12345);
    auto next = [&rng](unsigned mod) { return static_cast<unsigned>(rng() % mod); };
    std::string out;
    for (int k = 0; k < keys; ++k) {
        if (k % kKeysPerSection == 0) {
            out += "[Color_" + std::to_string(k / kKeysPerSection) + "]\r\n";
        }
        char line[96];
        std::snprintf(line, sizeof line, "Drum_%03d=%u,%u,%u,%u\r\n", k % kKeysPerSection,
                      next(100), next(200), next(3), next(1000));
        out += line;
    }
    return out;
}

const std::string& FileWithKeys(int keys) {
    static std::vector<std::pair<int, std::string>> made;
    for (const auto& [n, path] : made) {
        if (n == keys) {
            return path;
        }
    }
    const std::string path = BenchPath(std::to_string(keys));
    knitcfg::platform::ReplaceFileAtomically(path, MakeFile(keys));
    made.emplace_back(keys, path);
    return made.back().second;
}

// Lookups of keys at random; outside a batch every call checks the file
// against the disk, inside one (as a load makes them) the check is made once.
void RandomLookups(benchmark::State& state, bool inBatch) {
    const int keys = static_cast<int>(state.range(0));
    const std::string& file = FileWithKeys(keys);
    std::mt19937 rng(7);
    char buf[260];
    profile::GetString("Color_0", "Drum_000", "", buf, sizeof buf, file.c_str());
    std::optional<profile::Batch> batch;
    if (inBatch) {
        batch.emplace(file.c_str());
    }
    for (auto _ : state) {
        const int k = static_cast<int>(rng() % static_cast<unsigned>(keys));
        const std::string section = "Color_" + std::to_string(k / kKeysPerSection);
        char key[16];
        std::snprintf(key, sizeof key, "Drum_%03d", k % kKeysPerSection);
        benchmark::DoNotOptimize(
            profile::GetString(section.c_str(), key, "", buf, sizeof buf, file.c_str()));
    }
}

void BM_GetString(benchmark::State& state) {
    RandomLookups(state, false);
}
BENCHMARK(BM_GetString)->Arg(1000)->Arg(10000)->Arg(100000);

void BM_GetStringInBatch(benchmark::State& state) {
    RandomLookups(state, true);
}
BENCHMARK(BM_GetStringInBatch)->Arg(1000)->Arg(10000)->Arg(100000);

// Lookups in file order, section by section, as a load walks a file.
void BM_GetStringInBatchInOrder(benchmark::State& state) {
    const int keys = static_cast<int>(state.range(0));
    const std::string& file = FileWithKeys(keys);
    char buf[260];
    profile::Batch batch(file.c_str());
    int k = 0;
    std::string section;
    for (auto _ : state) {
        if (k % kKeysPerSection == 0) {
            section = "Color_" + std::to_string(k / kKeysPerSection);
        }
        char key[16];
        std::snprintf(key, sizeof key, "Drum_%03d", k % kKeysPerSection);
        benchmark::DoNotOptimize(
            profile::GetString(section.c_str(), key, "", buf, sizeof buf, file.c_str()));
        k = (k + 1) % keys;
    }
}
BENCHMARK(BM_GetStringInBatchInOrder)->Arg(1000)->Arg(10000)->Arg(100000);

// Writes inside a batch (the persist at its end is left out of the timing
// by keeping the batch open).
void BM_WriteStringInBatch(benchmark::State& state) {
    const int keys = static_cast<int>(state.range(0));
    const std::string& file = FileWithKeys(keys);
    std::mt19937 rng(9);
    profile::Batch batch(file.c_str());
    unsigned value = 0;
    for (auto _ : state) {
        const int k = static_cast<int>(rng() % static_cast<unsigned>(keys));
        const std::string section = "Color_" + std::to_string(k / kKeysPerSection);
        char key[16];
        std::snprintf(key, sizeof key, "Drum_%03d", k % kKeysPerSection);
        const std::string v = std::to_string(++value);
        benchmark::DoNotOptimize(
            profile::WriteString(section.c_str(), key, v.c_str(), file.c_str()));
    }
}
BENCHMARK(BM_WriteStringInBatch)->Arg(1000)->Arg(10000)->Arg(100000);

// The floor: reading the bytes and splitting them into lines.
void BM_ReadAndSplitLines(benchmark::State& state) {
    const std::string& file = FileWithKeys(static_cast<int>(state.range(0)));
    std::string bytes;
    knitcfg::platform::FileInfo info;
    for (auto _ : state) {
        knitcfg::platform::ReadWholeFile(file, &bytes, &info);
        std::size_t lines = 0;
        for (const char c : bytes) {
            lines += c == '\n';
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadAndSplitLines)->Arg(100000)->Arg(500000);

// Reading and parsing a whole file into the model.
void BM_ReadAndParse(benchmark::State& state) {
    const std::string& file = FileWithKeys(static_cast<int>(state.range(0)));
    std::string bytes;
    knitcfg::platform::FileInfo info;
    std::size_t size = 0;
    for (auto _ : state) {
        knitcfg::platform::ReadWholeFile(file, &bytes, &info);
        size = bytes.size();
        knitcfg::detail::IniDocument doc;
        doc.Parse(std::move(bytes));
        benchmark::DoNotOptimize(doc.Sections().size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(size));
}
BENCHMARK(BM_ReadAndParse)->Arg(100000)->Arg(500000);

// A whole write: serialize, write a new file, flush, rename.
void BM_Persist(benchmark::State& state) {
    const std::string& file = FileWithKeys(static_cast<int>(state.range(0)));
    unsigned value = 0;
    for (auto _ : state) {
        const std::string v = std::to_string(++value);
        benchmark::DoNotOptimize(
            profile::WriteString("Color_0", "Drum_000", v.c_str(), file.c_str()));
    }
}
BENCHMARK(BM_Persist)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const int keys : {1000, 10000, 100000, 500000}) {
        std::remove(BenchPath(std::to_string(keys)).c_str());
    }
    return 0;
}
