#pragma once

// The profile-file layer: the six operations through which every section of
// a configuration file is read and written, with the shapes and results of
// the platform's classic profile API (…PrivateProfile…A). Names match without
// regard to ASCII letter case; blanks around names and values, quotes around
// values and ';' comment lines behave as that API does.
//
// Each file is parsed once and kept, indexed, in a per-path cache. Every call
// first checks that the file on disk is still the one it parsed (size, write
// time, identity) and reads it again when not, so a change by anyone else is
// always seen. Every write is on disk, crash-safely, before it returns: the
// layer writes a new file beside the target, flushes it and renames it over
// the target, so that the file holds either its old or its new content. Lines
// that a write does not touch keep every byte. A Batch defers the check and
// the persisting of a run of calls on one file to its two ends.
//
// All functions may be called from several threads at once.

#include "knitcfg/common/Export.h"

#include <string>

namespace knitcfg::profile {

// Reads the value of `key` in `section` into `buffer` (`size` bytes),
// NUL-terminated and cut to size-1 characters; returns the characters
// copied. When the file, section or key is missing, copies `def` instead
// (null counts as ""; trailing spaces and one pair of outer quotes dropped).
// A value loses its outer blanks and one pair of matching outer quotes.
// With a null `key`: the key names of the section, each followed by a NUL,
// with one more NUL at the end (a missing or empty section gives `def`).
// With a null `section`: the section names, as GetSectionNames.
// A list that does not fit gets its first size-2 bytes and two NULs, and
// size-2 is returned. With size 0 nothing is written and 0 returned.
KNITCFG_API unsigned GetString(const char* section, const char* key, const char* def, char* buffer,
                               unsigned size, const char* file);

// The value of `key` as a number: optional sign, decimal digits or a 0x, 0b or
// 0o prefix, read up to the first other character and wrapped to 32 bits.
// A value without digits gives 0; a missing key, section or file, or an empty
// value, gives `def`.
KNITCFG_API int GetInt(const char* section, const char* key, int def, const char* file);

// Every entry of `section` as "key=value" and every other non-comment line,
// each followed by a NUL, with one more NUL at the end; returns the characters
// without the last NUL. A missing or empty section gives two NULs and 0.
KNITCFG_API unsigned GetSection(const char* section, char* buffer, unsigned size, const char* file);

// The names of all sections in file order, in the list format of GetString.
KNITCFG_API unsigned GetSectionNames(char* buffer, unsigned size, const char* file);

// Sets `key` in `section` to `value`, creating the file, section and key as
// needed. A null `value` removes the key; a null `key` removes the section.
// Returns false, changing nothing, when the text would read back as
// something else (a line break in any argument, ']' in a section, '=' in a
// key, ...), when the section is null, or when the file cannot be written
// (missing folder, read-only file, a folder, a full disk). All three null
// drops the cached copy of `file` and returns false.
KNITCFG_API bool WriteString(const char* section, const char* key, const char* value,
                             const char* file);

// Makes `section` hold exactly `lines`: "key=value" strings, each followed by
// a NUL, the list ended by an empty string. The section keeps its place, its
// header and its comment and blank lines; the new lines stand where its first
// entry stood. Strings without '=' are skipped. A null `lines` removes the
// section. Fails as WriteString does.
KNITCFG_API bool WriteSection(const char* section, const char* lines, const char* file);

namespace detail {
struct CachedFile;
}

// Groups many calls on one file: the file is checked against the disk once,
// when the outermost batch on it opens, and written once, when it closes (or
// at Commit), however many writes it holds. While a batch is open, every call
// on that file, from any thread, works on the batch's copy. Writes made in a
// batch return true when they are accepted; whether they reached the disk is
// what Commit (or the destructor) tells. Batches on one file nest.
class KNITCFG_API Batch {
public:
    explicit Batch(const char* file);
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    // Closes the batch; the outermost batch persists pending writes.
    ~Batch();

    // Persists the writes made so far (only the outermost batch writes; an
    // inner one returns true). Returns false when they could not be written:
    // the file on disk is then as it was before them, and so is what later
    // calls read.
    bool Commit();
    // As Commit; on failure `why` (when not null) receives the reason the
    // system gave ("no space left on device").
    bool Commit(std::string* why);

private:
    detail::CachedFile* file_ = nullptr;  // lives as long as the process
};

}  // namespace knitcfg::profile
