#pragma once

// Helpers of the tool's tests. The tool links the shared library, so its
// tests use only the public API, like the tool, and the project's test
// helpers that need nothing of the library.

#include <string>
#include <string_view>
#include <vector>

#include "TestUtil.h"

namespace knitcfg::cli::test {

// A JSON value read back from the tool's output: null, a flag, an integer,
// a text, a list or an object whose members keep their order.
struct Node {
    enum class Type { Null, Bool, Int, Text, List, Object };

    Type type = Type::Null;
    bool flag = false;
    long long number = 0;
    std::string text;
    std::vector<Node> items;
    std::vector<std::pair<std::string, Node>> members;

    // The value of an object's member; null when there is none.
    const Node* Find(std::string_view name) const;
};

bool operator==(const Node& a, const Node& b);

// The shared test helpers: TempDir, ReadFile, WriteFile (tests/TestUtil.h,
// which needs nothing of the library).
using knitcfg::test::ReadFile;
using knitcfg::test::TempDir;
using knitcfg::test::WriteFile;

// `path` copied to `target`.
void CopyFile(const std::string& path, const std::string& target);

// A file of examples/samples/ ("machine.ini", "broken/empty.ini").
std::string Sample(const std::string& name);

// What one run of the tool gave.
struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the tool's entry point with `args` (without the program name).
ToolRun RunTool(const std::vector<std::string>& args);

// Reads JSON text into a tree (objects, lists, texts, integers, flags,
// null); \u00XX escapes become the byte XX. Fails the current test and
// returns Null on text that is not JSON, or when anything follows the value.
Node ParseJson(const std::string& text);

}  // namespace knitcfg::cli::test
