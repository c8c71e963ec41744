#include "CliTestUtil.h"

#include <filesystem>
#include <sstream>

#include "Commands.h"

namespace knitcfg::cli::test {

namespace {

namespace fs = std::filesystem;

std::string Expand(const std::string& arg, const std::string& work) {
    if (arg.rfind("W/", 0) == 0 && !work.empty()) {
        return (fs::path(work) / arg.substr(2)).string();
    }
    return TestFile(arg);
}

void ReplaceAll(std::string* text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text->find(from, at)) != std::string::npos; at += to.size()) {
        text->replace(at, from.size(), to);
    }
}

}  // namespace

std::string Sample(const std::string& name) {
    return (fs::path(KNITCFG_SAMPLES_DIR) / name).string();
}

std::string TestFile(const std::string& name) {
    if (name.rfind("S/", 0) == 0) {
        return Sample(name.substr(2));
    }
    if (name.rfind("T/", 0) == 0) {
        return knitcfg::test::TestDataDir() + "/tool/" + name.substr(2);
    }
    return name;
}

ToolRun RunTool(const std::vector<std::string>& args) {
    std::vector<std::string> storage{"knitcfg"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::ostringstream out;
    std::ostringstream err;
    ToolRun run;
    run.status = cli::RunTool(static_cast<int>(storage.size()), argv.data(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

ToolRun RunWith(const std::vector<std::string>& args, const std::string& work) {
    std::vector<std::string> expanded;
    for (const std::string& arg : args) {
        expanded.push_back(Expand(arg, work));
    }
    ToolRun run = RunTool(expanded);
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (expanded[i] != args[i]) {
            ReplaceAll(&run.out, expanded[i], args[i]);
            ReplaceAll(&run.err, expanded[i], args[i]);
        }
    }
    return run;
}

}  // namespace knitcfg::cli::test
