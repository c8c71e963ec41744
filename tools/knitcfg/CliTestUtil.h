#pragma once

// Helpers of the tool's tests. The tool links the shared library, so its
// tests stand on their own: they use only the standard library and the
// public API, like the tool.

#include <string>
#include <vector>

#include "ModelView.h"

namespace knitcfg::cli::test {

// A new, empty folder under the temporary folder, removed with its content
// when the object goes.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
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
