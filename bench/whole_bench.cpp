// Whole documents, from a real machine to the largest file the listing
// buffers admit: LoadCFG, SaveCFG (to a new file and over an existing one),
// the copy constructor and a query mix, each beside the floor that no loader
// can beat (read the file's bytes and split them into lines). Every figure
// carries the counter `x_floor`: its time over the floor's on the same file.
// The growth benchmarks give time against file size (`ns_per_byte` must stay
// flat), and the memory lines give what a loaded document holds.
//
//   cmake --preset bench && cmake --build --preset bench
//   ./build/bench/bench/knitcfg_whole_bench

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>
#include <cmath>
#include <memory>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/ConfigGenerator.h"
#include "knitcfg/common/detail/Platform.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/diagnostics/Diagnostic.h"
#include "knitcfg/profile/Profile.h"

// Allocation counting for this binary only: live bytes and number of calls.
namespace {
std::atomic<long long> g_liveBytes{0};
std::atomic<long long> g_allocations{0};

void* CountedAlloc(size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    g_liveBytes += static_cast<long long>(malloc_usable_size(p));
    ++g_allocations;
    return p;
}

void CountedFree(void* p) noexcept {
    if (p != nullptr) {
        g_liveBytes -= static_cast<long long>(malloc_usable_size(p));
        std::free(p);
    }
}
}  // namespace

void* operator new(size_t size) {
    return CountedAlloc(size);
}
void* operator new[](size_t size) {
    return CountedAlloc(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedAlloc(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedAlloc(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, size_t) noexcept {
    CountedFree(p);
}

namespace profile = knitcfg::profile;
using knitcfg::Configuration;
using knitcfg::bench::GeneratedFile;
using knitcfg::bench::GeneratorOptions;
using Clock = std::chrono::steady_clock;

namespace {

struct BenchFile {
    std::string path;
    size_t bytes = 0;
    int colors = 0;
    int actuatorsPerColor = 0;
    double floorNs = 0;  // the floor on this file, once measured
};

std::vector<std::string>& Made() {
    static std::vector<std::string> made;
    return made;
}

std::string BenchPath(const std::string& name) {
    const std::string path =
        "/tmp/knitcfg-wholebench-" + std::to_string(::getpid()) + "-" + name + ".ini";
    Made().push_back(path);
    return path;
}

void Forget(const std::string& path) {
    profile::WriteString(nullptr, nullptr, nullptr, path.c_str());  // drop the cached parse
}

// Writes the file once, checks that it loads with 0 (a benchmark of a file
// that does not load cleanly would measure the wrong thing) and keeps it.
BenchFile& File(const std::string& name, const GeneratorOptions& options) {
    static std::map<std::string, BenchFile> files;
    auto found = files.find(name);
    if (found != files.end()) {
        return found->second;
    }
    const GeneratedFile made = knitcfg::bench::GenerateConfig(options);
    BenchFile file;
    file.path = BenchPath(name);
    file.bytes = made.text.size();
    file.colors = made.colors;
    file.actuatorsPerColor = made.actuatorsPerColor;
    if (!knitcfg::platform::ReplaceFileAtomically(file.path, made.text)) {
        std::fprintf(stderr, "cannot write %s\n", file.path.c_str());
        std::abort();
    }
    {
        Configuration doc;
        const int code = doc.LoadCFG(file.path.c_str());
        if (code != 0) {
            std::fprintf(stderr, "generated file %s loads with %d, not 0\n", file.path.c_str(),
                         code);
            std::abort();
        }
        // Every section listed: a listing cut at its room would drop sections
        // silently (colors come first, lines after them).
        if (static_cast<int>(doc.Colors().size()) != file.colors ||
            static_cast<int>(doc.Lines().size()) != options.lines) {
            std::fprintf(stderr, "generated file %s: %zu colors of %d, %zu lines of %d loaded\n",
                         file.path.c_str(), doc.Colors().size(), file.colors, doc.Lines().size(),
                         options.lines);
            std::abort();
        }
    }
    Forget(file.path);
    return files.emplace(name, std::move(file)).first->second;
}

BenchFile& SizedFile(int size) {
    switch (size) {
        case 0: return File("small", knitcfg::bench::SmallMachine());
        case 1: return File("medium", knitcfg::bench::MediumMachine());
        default: return File("largest", knitcfg::bench::LargestFile());
    }
}

const char* SizeName(int size) {
    return size == 0 ? "small" : size == 1 ? "medium" : "largest";
}

// The floor: the file's bytes read and split into lines.
double ReadAndSplit(const std::string& path, std::string* bytes,
                    std::vector<std::string_view>* lines) {
    knitcfg::platform::FileInfo info;
    knitcfg::platform::ReadWholeFile(path, bytes, &info);
    lines->clear();
    const char* p = bytes->data();
    const char* end = p + bytes->size();
    while (p < end) {
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', end - p));
        const char* stop = eol == nullptr ? end : eol;
        lines->emplace_back(p, static_cast<size_t>(stop - p));
        p = stop + 1;
    }
    return static_cast<double>(lines->size());
}

void SetCounters(benchmark::State& state, const BenchFile& file, double loopNs) {
    const double perIteration = loopNs / static_cast<double>(state.iterations());
    state.counters["bytes"] = static_cast<double>(file.bytes);
    state.counters["entries"] = static_cast<double>(file.colors) * file.actuatorsPerColor;
    state.counters["ns_per_entry"] =
        perIteration / std::max(1.0, static_cast<double>(file.colors) * file.actuatorsPerColor);
    if (file.floorNs > 0) {
        state.counters["x_floor"] = perIteration / file.floorNs;
    }
    state.SetBytesProcessed(static_cast<int64_t>(file.bytes) * state.iterations());
    state.SetLabel(SizeName(static_cast<int>(state.range(0))));
}

double Ns(Clock::duration d) {
    return static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(d).count());
}

// The time since `start`, given to the benchmark as this iteration's time
// (only the operation measured counts, not the preparation around it).
double Lap(benchmark::State* state, Clock::time_point start) {
    const double ns = Ns(Clock::now() - start);
    state->SetIterationTime(ns * 1e-9);
    return ns;
}

void BM_Floor(benchmark::State& state) {
    BenchFile& file = SizedFile(static_cast<int>(state.range(0)));
    std::string bytes;
    std::vector<std::string_view> lines;
    double ns = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(ReadAndSplit(file.path, &bytes, &lines));
        ns += Lap(&state, start);
    }
    file.floorNs = ns / static_cast<double>(state.iterations());
    SetCounters(state, file, ns);
}
BENCHMARK(BM_Floor)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();

// The page faults of this process so far: memory touched for the first
// time costs one each (on a virtual machine a costly one), so their count
// tells how much new memory an operation touches.
double PageFaults() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_minflt + usage.ru_majflt);
}

// LoadCFG as a program's first load of the file: read, parse, build.
void BM_Load(benchmark::State& state) {
    BenchFile& file = SizedFile(static_cast<int>(state.range(0)));
    double ns = 0;
    double faults = 0;
    for (auto _ : state) {
        Forget(file.path);
        auto doc = std::make_unique<Configuration>();
        const double faultsBefore = PageFaults();
        const auto start = Clock::now();
        benchmark::DoNotOptimize(doc->LoadCFG(file.path.c_str()));
        ns += Lap(&state, start);
        faults += PageFaults() - faultsBefore;
        doc.reset();  // the destruction is not part of the load
    }
    SetCounters(state, file, ns);
    state.counters["page_faults"] = faults / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Load)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();

// Diagnose as check runs it on a file not read before: the load, and one walk
// of the same parse beside the model it made. To be compared with BM_Load.
void BM_Diagnose(benchmark::State& state) {
    BenchFile& file = SizedFile(static_cast<int>(state.range(0)));
    double ns = 0;
    std::size_t findings = 0;
    for (auto _ : state) {
        Forget(file.path);
        const auto start = Clock::now();
        const std::vector<knitcfg::Diagnostic> found = knitcfg::Diagnose(file.path.c_str());
        ns += Lap(&state, start);
        findings = found.size();
    }
    SetCounters(state, file, ns);
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_Diagnose)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();

// SaveCFG to a file that does not exist yet.
void BM_SaveNew(benchmark::State& state) {
    BenchFile& file = SizedFile(static_cast<int>(state.range(0)));
    Configuration doc;
    doc.LoadCFG(file.path.c_str());
    const std::string target = BenchPath(std::string("savenew-") + SizeName(state.range(0)));
    double ns = 0;
    for (auto _ : state) {
        knitcfg::platform::RemoveFile(target);
        Forget(target);
        Configuration copy(doc);  // a fresh document each time: its path is the loaded file's
        const auto start = Clock::now();
        benchmark::DoNotOptimize(copy.SaveCFG(target.c_str()));
        ns += Lap(&state, start);
    }
    SetCounters(state, file, ns);
}
BENCHMARK(BM_SaveNew)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();

// SaveCFG over an existing file (the document saved there before).
void BM_SaveOver(benchmark::State& state) {
    BenchFile& file = SizedFile(static_cast<int>(state.range(0)));
    Configuration doc;
    doc.LoadCFG(file.path.c_str());
    const std::string target = BenchPath(std::string("saveover-") + SizeName(state.range(0)));
    doc.SaveCFG(target.c_str());
    double ns = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(doc.SaveCFG(target.c_str()));
        ns += Lap(&state, start);
    }
    SetCounters(state, file, ns);
}
BENCHMARK(BM_SaveOver)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();

// Times preserving saves of `doc` over `target`.
void TimePreservingSaves(benchmark::State& state, const BenchFile& file, Configuration& doc,
                         const std::string& target) {
    double ns = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(doc.SaveCFG(target.c_str(), knitcfg::SaveMode::Preserve));
        ns += Lap(&state, start);
    }
    SetCounters(state, file, ns);
}

// SaveCFG with SaveMode::Preserve over the file the document is bound to, as
// the default save wrote it: beside BM_SaveOver (target: at most 1.5 times).
void BM_SavePreserve(benchmark::State& state) {
    BenchFile& file = SizedFile(static_cast<int>(state.range(0)));
    const std::string target = BenchPath(std::string("preserve-") + SizeName(state.range(0)));
    Configuration doc;
    doc.LoadCFG(file.path.c_str());
    doc.SaveCFG(target.c_str());
    TimePreservingSaves(state, file, doc, target);
}
BENCHMARK(BM_SavePreserve)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();

// The same over a hand-edited file whose every color holds an entry the load
// does not take: a note (second argument 0), which the save keeps without
// more ado, or an empty drum entry (1), which a prototype refuses, so that
// every color section is loaded again into a scratch color to find whether
// it means what the color holds and what to keep.
void BM_SavePreserveEdited(benchmark::State& state) {
    BenchFile& file = SizedFile(static_cast<int>(state.range(0)));
    const bool refused = state.range(1) != 0;
    const std::string target = BenchPath(std::string("preserve-edited-") +
                                         SizeName(state.range(0)) + (refused ? "-refused" : ""));
    Configuration doc;
    doc.LoadCFG(file.path.c_str());
    doc.SaveCFG(target.c_str());
    std::string text;
    knitcfg::platform::FileInfo info;
    knitcfg::platform::ReadWholeFile(target, &text, &info);
    std::string edited;
    edited.reserve(text.size() + text.size() / 100);
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        edited.append(text, at, end - at);
        if (text.compare(at, 7, "[Color_") == 0) {
            edited += refused ? "Drum_999=\r\n" : "Note=kept by hand\r\n";
        }
        at = end;
    }
    knitcfg::platform::ReplaceFileAtomically(target, edited);
    Forget(target);
    doc.ReleaseCFG();
    doc.LoadCFG(target.c_str());
    TimePreservingSaves(state, file, doc, target);
}
BENCHMARK(BM_SavePreserveEdited)
    ->Args({2, 0})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

void BM_Copy(benchmark::State& state) {
    BenchFile& file = SizedFile(static_cast<int>(state.range(0)));
    Configuration doc;
    doc.LoadCFG(file.path.c_str());
    double ns = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        auto copy = std::make_unique<Configuration>(doc);
        ns += Lap(&state, start);
        benchmark::DoNotOptimize(copy.get());
        copy.reset();  // the destruction is not part of the copy
    }
    SetCounters(state, file, ns);
}
BENCHMARK(BM_Copy)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();

// GetListColorDrum over all colors, then GetStatoAttuat of every actuator of
// every color.
void BM_Queries(benchmark::State& state) {
    BenchFile& file = SizedFile(static_cast<int>(state.range(0)));
    Configuration doc;
    doc.LoadCFG(file.path.c_str());
    std::vector<std::pair<short, short>> asks;
    for (const auto& color : doc.Colors()) {
        for (const auto& a : color->Attuats) {
            asks.emplace_back(a->Id, color->ID);
        }
    }
    double ns = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        knitcfg::IndexList drums;
        benchmark::DoNotOptimize(doc.GetListColorDrum(&drums, -1, -1));
        long sum = 0;
        for (const auto& [id, color] : asks) {
            sum += doc.GetStatoAttuat(id, color);
        }
        benchmark::DoNotOptimize(sum);
        ns += Lap(&state, start);
    }
    SetCounters(state, file, ns);
}
BENCHMARK(BM_Queries)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();

// Growth: the largest layout at a fraction of its colors (range 0: percent),
// and the same number of colors with fewer actuators each (range 1: actuators,
// 0 for as many as fit). Time per byte must stay flat.
BenchFile& GrowthFile(int percent, int actuators) {
    GeneratorOptions options = knitcfg::bench::LargestFile();
    options.colors = static_cast<int>(std::lround(SizedFile(2).colors * percent / 100.0));
    options.actuatorsPerColor = actuators == 0 ? -1 : actuators;
    return File("growth-" + std::to_string(percent) + "-" + std::to_string(actuators), options);
}

void GrowthCounters(benchmark::State& state, const BenchFile& file, double ns) {
    const double perIteration = ns / static_cast<double>(state.iterations());
    state.counters["bytes"] = static_cast<double>(file.bytes);
    state.counters["ns_per_byte"] = perIteration / static_cast<double>(file.bytes);
    state.SetBytesProcessed(static_cast<int64_t>(file.bytes) * state.iterations());
}

void BM_LoadGrowth(benchmark::State& state) {
    BenchFile& file =
        GrowthFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    double ns = 0;
    for (auto _ : state) {
        Forget(file.path);
        auto doc = std::make_unique<Configuration>();
        const auto start = Clock::now();
        benchmark::DoNotOptimize(doc->LoadCFG(file.path.c_str()));
        ns += Lap(&state, start);
        doc.reset();  // the destruction is not part of the load
    }
    GrowthCounters(state, file, ns);
}

void BM_SaveGrowth(benchmark::State& state) {
    BenchFile& file =
        GrowthFile(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Configuration doc;
    doc.LoadCFG(file.path.c_str());
    const std::string target = BenchPath("growth-saved");
    double ns = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(doc.SaveCFG(target.c_str()));
        ns += Lap(&state, start);
    }
    GrowthCounters(state, file, ns);
}

void GrowthArgs(benchmark::internal::Benchmark* b) {
    for (int percent : {12, 25, 50, 100}) {
        b->Args({percent, 0});  // more sections
    }
    for (int actuators : {60, 120, 240}) {
        b->Args({100, actuators});  // longer sections
    }
    b->Unit(benchmark::kMillisecond)->UseManualTime();
}
BENCHMARK(BM_LoadGrowth)->Apply(GrowthArgs);
BENCHMARK(BM_SaveGrowth)->Apply(GrowthArgs);

// What a loaded document holds: live heap bytes after LoadCFG, with the
// profile layer's parse of the file still cached and after it is dropped.
void PrintMemory() {
    std::printf("\nMemory of a loaded document (live heap bytes):\n");
    std::printf("%-8s %12s %14s %8s %14s %8s %12s\n", "size", "file", "doc+cache", "x_file",
                "doc alone", "x_file", "allocations");
    for (int size = 0; size <= 2; ++size) {
        BenchFile& file = SizedFile(size);
        Forget(file.path);
        const long long before = g_liveBytes.load();
        const long long callsBefore = g_allocations.load();
        auto doc = std::make_unique<Configuration>();
        doc->LoadCFG(file.path.c_str());
        const long long withCache = g_liveBytes.load() - before;
        const long long calls = g_allocations.load() - callsBefore;
        Forget(file.path);
        const long long alone = g_liveBytes.load() - before;
        std::printf("%-8s %12zu %14lld %8.2f %14lld %8.2f %12lld\n", SizeName(size), file.bytes,
                    withCache, static_cast<double>(withCache) / static_cast<double>(file.bytes),
                    alone, static_cast<double>(alone) / static_cast<double>(file.bytes), calls);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintMemory();
    for (const std::string& path : Made()) {
        std::remove(path.c_str());
    }
    return 0;
}
