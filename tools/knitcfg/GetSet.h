#pragma once

// `knitcfg get` and `knitcfg set`: one value or object of a configuration,
// named by an address (Address.h).

#include <ostream>
#include <string>
#include <vector>

#include "Json.h"
#include "Table.h"

namespace knitcfg::cli {

struct GetOptions {
    bool json = false;                     // as `dump --json`
    JsonText jsonText = JsonText::Ascii;   // how JSON writes texts
    Encoding encoding = Encoding::Latin1;  // how texts reach the terminal
};

// `args` is FILE then one or more addresses separated by "--". Prints each
// value (a field) or object (a shorter address) as `show` would, or as
// `dump --json` would with `options.json`. Returns 0; 1 when the file loads with a
// code other than 0 (what could be read is printed); 2 when it cannot be
// read, or an address is not one or names nothing (nothing printed).
int RunGet(const std::vector<std::string>& args, const GetOptions& options, std::ostream& out,
           std::ostream& err);

// `args` is FILE then one or more "ADDRESS VALUE" groups separated by "--".
// Sets every field in memory through the library, then saves the file once
// with the preserving save (what the library does not own stays byte for
// byte; a file in the library's form changes in the changed lines only), and
// prints one `diff` line per value that changed. Returns 0 when saved (or nothing changed); 2,
// with the file as it was, when it cannot be read, loads with a code other
// than 0 (unless `force`), an address names nothing or no field, a value
// does not fit its field, or the save fails.
int RunSet(const std::vector<std::string>& args, bool force, std::ostream& out, std::ostream& err);

}  // namespace knitcfg::cli
