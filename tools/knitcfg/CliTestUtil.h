#pragma once

// Helpers of the tool's tests. The tool links the shared library, so its
// tests use only the public API, like the tool, and the project's test
// helpers that need nothing of the library (tests/TestUtil.h).

#include <string>
#include <vector>

#include "TestUtil.h"

namespace knitcfg::cli::test {

using knitcfg::test::ReadFile;
using knitcfg::test::TempDir;
using knitcfg::test::WriteFile;

// A file of examples/samples/ ("machine.ini", "broken/empty.ini").
std::string Sample(const std::string& name);

// "S/NAME": a sample; "T/NAME": a file of testdata/tool/; others unchanged.
std::string TestFile(const std::string& name);

// What one run of the tool gave.
struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the tool's entry point with `args` (without the program name).
ToolRun RunTool(const std::vector<std::string>& args);

// Runs the tool with `args` in which "S/NAME" stands for a sample, "T/NAME"
// for a file of testdata/tool/ and "W/NAME" for NAME in the folder `work`;
// both outputs name those files the same way, wherever they are.
ToolRun RunWith(const std::vector<std::string>& args, const std::string& work = "");

}  // namespace knitcfg::cli::test
