#pragma once

// The profile-file layer: the six operations through which every section of
// a configuration file is read and written, with the shapes and results of
// the platform's classic profile API (...PrivateProfile...A). Every call sees
// the file as it is on disk at that moment, and every write is on disk,
// crash-safely, when it returns (a Batch defers both to its ends). Lines a
// write does not touch keep every byte. All functions may be called from
// several threads at once. docs/profile-format.md gives the behaviour in
// every corner of the format: blanks, quotes, comments, duplicates, lists,
// truncation, placement of new lines, line ends, refused texts.

#include "knitcfg/common/Export.h"

#include <string>

namespace knitcfg::detail {
struct CachedFile;
}

namespace knitcfg::profile {

// Copies the value of `key` in `section` (blanks and one pair of outer quotes
// dropped) into `buffer`, cut to size-1 characters and NUL-terminated;
// returns the characters copied. A missing file, section or key gives `def`
// (null counts as ""). A null `key` lists the section's keys, a null
// `section` the section names, in the list format of the docs page. Size 0
// writes nothing and returns 0.
KNITCFG_API unsigned GetString(const char* section, const char* key, const char* def, char* buffer,
                               unsigned size, const char* file);

// The value of `key` read as a number (sign, decimal or 0x/0b/0o digits,
// wrapped to 32 bits); 0 when it has no digit; `def` when the file, section
// or key is missing or the value is empty.
KNITCFG_API int GetInt(const char* section, const char* key, int def, const char* file);

// Every entry of `section` as "key=value" and every line without '=', in the
// list format; returns the characters written without the last NUL, 0 (and
// two NULs) when the section is missing or empty.
KNITCFG_API unsigned GetSection(const char* section, char* buffer, unsigned size, const char* file);

// The names of all sections in file order, in the list format.
KNITCFG_API unsigned GetSectionNames(char* buffer, unsigned size, const char* file);

// Sets `key` in `section` to `value`, creating the file, section and key as
// needed; a null `value` removes the key, a null `key` the section. False,
// the file unchanged, when the section is null, when the text would read back
// as something else, or when the file cannot be written. All three null: drops
// the cached copy of `file`, returns false.
KNITCFG_API bool WriteString(const char* section, const char* key, const char* value,
                             const char* file);

// Makes `section` hold exactly `lines` ("key=value" strings, each followed by
// a NUL, ended by an empty string) where its entries stood, keeping its
// comment and blank lines; a null `lines` removes the section. Fails as
// WriteString does, and one refused string refuses the whole call.
KNITCFG_API bool WriteSection(const char* section, const char* lines, const char* file);

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
