#pragma once

// A second, independent look at a configuration file: what the load skips,
// doubts or reports, and what a save would drop, each finding located by its
// line. The load itself is not changed by it; docs/diagnostics.md lists
// every finding by its identifier.

#include <string>
#include <vector>

#include "knitcfg/common/Export.h"

namespace knitcfg {

// How much a finding matters: an Error explains a result code of the load or
// a file the load cannot read; a Warning is something the load skips, cuts or
// reads otherwise than the file seems to say; a Note is what a save would
// drop although nothing is lost or doubtful today.
enum class Severity { Error, Warning, Note };

// One finding.
struct Diagnostic {
    Severity severity = Severity::Note;
    int line = 0;         // 1-based line of the file as read; 0: the whole file
    std::string section;  // the section concerned, as written; may be empty
    std::string key;      // the key concerned, as written; may be empty
    std::string id;       // stable identifier, such as "unknown-kind"
    std::string message;  // one sentence: the value found and what was expected
    int code = 0;         // the load's result code this finding explains, or 0
};

// Examines the configuration file at `path` and returns its findings in
// order of line (findings of the whole file first). Reads the file once and
// never changes it. Every non-zero code that Configuration::LoadCFG reports
// on the file is explained by an Error carrying that code. A file that is
// missing, unreadable or empty gives one Error (code 62); a null path too.
// When `loadCode` is not null it receives the code LoadCFG reports on the
// file. Loads run one at a time in the library: so does this.
KNITCFG_API std::vector<Diagnostic> Diagnose(const char* path, int* loadCode = nullptr);

// "error", "warning" or "note".
KNITCFG_API const char* SeverityName(Severity severity);

}  // namespace knitcfg
