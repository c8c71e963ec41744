#pragma once

// The commands of the knitcfg tool, behind one entry point that main() and
// the tests share.

#include <ostream>
#include <string>

namespace knitcfg {
class Configuration;
}

namespace knitcfg::cli {

// Exit statuses of the tool.
constexpr int kExitOk = 0;
// A file loads with a result code other than 0 (show, map, check, dump, and
// normalize, which then writes nothing), or the files differ (diff).
constexpr int kExitNo = 1;
// Bad usage, a file that cannot be read at all, a save that failed.
constexpr int kExitError = 2;

// Runs the tool on the command line `argv` (argv[0] is the program's name):
// results go to `out`, warnings and errors to `err`. Returns the exit status.
// Never throws: an unexpected failure is reported on `err` with kExitError.
int RunTool(int argc, char** argv, std::ostream& out, std::ostream& err);

// A result code as the commands print it: "62 (the file is missing, ...)".
std::string Describe(int code);

// A failed load or save with the reason the library gives for it
// ("62 (...): loading m.ini: no such file"); every command prints its
// failures through this.
std::string DescribeFailure(int code, const Configuration& config);

}  // namespace knitcfg::cli
