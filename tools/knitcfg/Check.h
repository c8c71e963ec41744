#pragma once

// The tool's check command: every finding of the library's diagnostics for
// each file, one line each in the form compilers use, or as JSON.

#include <ostream>
#include <string>
#include <vector>

namespace knitcfg::cli {

struct CheckOptions {
    bool notes = false;      // show the notes too
    bool json = false;       // a JSON array of findings instead of lines
    bool recursive = false;  // folders: their subfolders too
    bool quiet = false;      // only the files with findings
    // Folders: the extensions of the files checked, lower case with their dot.
    std::vector<std::string> extensions{".ini", ".cfg"};
};

// Parses the value of --ext (".ini,.cfg", "ini"): false when it names none.
bool ParseExtensions(const std::string& text, std::vector<std::string>* extensions);

// Checks every file of `args` (a folder stands for its files with one of the
// extensions, in name order). Returns the exit status: 0 no error or warning
// in any file, 1 some file has one (or a folder holds no file to check), 2 a
// file cannot be read at all.
int RunCheckCommand(const std::vector<std::string>& args, const CheckOptions& options,
                    std::ostream& out, std::ostream& err);

}  // namespace knitcfg::cli
