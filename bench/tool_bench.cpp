// The knitcfg tool on the largest generated file: time and peak memory of
// each printing command, against `check` (a plain load) on the same file.
// Each run is a child process; its peak resident size comes from the
// kernel's accounting of that child (wait4), so it counts everything the
// tool touched: the program, the library, the document and the printing.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/ConfigGenerator.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Files {
    std::string largest;
    std::string edited;  // the same with one value changed, for diff
    std::size_t bytes = 0;
};

void Write(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(text.data(), 1, text.size(), f) != text.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
}

const Files& BenchFiles() {
    static const Files files = [] {
        Files f;
        const std::string base = "/tmp/knitcfg-toolbench-" + std::to_string(::getpid());
        std::string text = knitcfg::bench::GenerateConfig(knitcfg::bench::LargestFile()).text;
        f.bytes = text.size();
        f.largest = base + "-largest.ini";
        Write(f.largest, text);
        const std::string from = "ConfigProtected=0";
        const std::size_t at = text.find(from);
        if (at != std::string::npos) {
            text.replace(at, from.size(), "ConfigProtected=1");
        }
        f.edited = base + "-edited.ini";
        Write(f.edited, text);
        std::atexit([] {
            std::remove(BenchFiles().largest.c_str());
            std::remove(BenchFiles().edited.c_str());
        });
        return f;
    }();
    return files;
}

struct ToolRun {
    double seconds = 0;     // wall time, from the start to the end of the child
    double cpuSeconds = 0;  // its processor time, user and system
    long peakKb = 0;
    int status = -1;
};

// Runs the tool with `args`, its output thrown away.
ToolRun Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string tool = KNITCFG_TOOL_PATH;
    argv.push_back(tool.data());
    std::vector<std::string> copy = args;
    for (std::string& arg : copy) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ToolRun run;
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) {
        return run;
    }
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakKb = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The best time and the peak memory of `check`, once measured.
std::map<std::string, ToolRun>& Measured() {
    static std::map<std::string, ToolRun> measured;
    return measured;
}

void BM_Tool(benchmark::State& state, const std::string& name, bool twoFiles,
             std::vector<std::string> options) {
    const Files& files = BenchFiles();
    std::vector<std::string> args{name};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(files.largest);
    if (twoFiles) {
        args.push_back(files.edited);
    }
    ToolRun best;
    best.seconds = 1e9;
    best.cpuSeconds = 1e9;
    for (auto _ : state) {
        const ToolRun run = Run(args);
        if (run.status < 0 || run.status > 1) {
            state.SkipWithError("the tool failed");
            return;
        }
        state.SetIterationTime(run.seconds);
        best.seconds = std::min(best.seconds, run.seconds);
        best.cpuSeconds = std::min(best.cpuSeconds, run.cpuSeconds);
        best.peakKb = std::max(best.peakKb, run.peakKb);
    }
    Measured()[name] = best;
    // The best of the runs: on a shared machine the others measure the
    // neighbours too. Processor time is the steadier of the two there.
    state.counters["best_ms"] = best.seconds * 1e3;
    state.counters["cpu_ms"] = best.cpuSeconds * 1e3;
    state.counters["peak_MB"] = static_cast<double>(best.peakKb) / 1024.0;
    state.counters["file_MB"] = static_cast<double>(files.bytes) / 1e6;
    const auto check = Measured().find("check");
    if (check != Measured().end() && name != "check") {
        state.counters["x_check_time"] = best.seconds / check->second.seconds;
        state.counters["x_check_cpu"] = best.cpuSeconds / check->second.cpuSeconds;
        state.counters["x_check_memory"] =
            static_cast<double>(best.peakKb) / static_cast<double>(check->second.peakKb);
    }
}

// check first: the others are measured against it.
const bool kRegistered = [] {
    const struct {
        const char* name;
        bool twoFiles;
        std::vector<std::string> options;
    } commands[] = {{"check", false, {}},
                    {"show", false, {}},
                    {"dump", false, {"--json"}},
                    {"map", false, {}},
                    {"diff", true, {}}};
    for (const auto& c : commands) {
        benchmark::RegisterBenchmark(
            (std::string("BM_Tool/") + c.name).c_str(),
            [name = std::string(c.name), two = c.twoFiles,
             options = c.options](benchmark::State& state) { BM_Tool(state, name, two, options); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
