#pragma once

// Wildcards in file arguments. A Unix shell expands them before the program
// starts; the Windows shell does not, and hands over `*.ini` as it stands.
// The tool therefore expands, on every platform, an argument that holds `*`
// or `?` and names no existing file: under a Unix shell that is a pattern
// the shell left alone (quoted, or matching nothing), so the result is the
// same as the shell's would be.

#include <string>
#include <string_view>
#include <vector>

namespace knitcfg::cli {

// True when `name` matches `pattern`: `*` stands for any run of characters,
// `?` for one character, anything else for itself (without regard to ASCII
// letter case when `foldCase`).
bool MatchWildcard(std::string_view pattern, std::string_view name, bool foldCase);

// `args` with each argument that holds `*` or `?` in its last part, and
// names no existing file, replaced by the files and folders of its folder
// whose names match that part, in name order; letter case counts except on
// Windows. Names beginning with '.' match only a pattern that does too. An
// argument that matches nothing, or has wildcards in its folder part, stays
// as it is, so that the command reports it.
std::vector<std::string> ExpandWildcards(const std::vector<std::string>& args);

}  // namespace knitcfg::cli
