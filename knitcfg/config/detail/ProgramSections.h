#pragma once

// Internal: not exported, not installed. The steps the document's colors and
// lines share: finding their sections, saving them, and dropping the
// sections a preserving save no longer writes.

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "knitcfg/common/RetError.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/common/detail/FirstCode.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg::detail {

// Calls `take` with each section name of `file` that begins with `prefix`
// (exact letter case), in file order. False when the file lists no section.
template <class Take>
bool ForEachSection(const char* file, const char* prefix, Take take) {
    std::vector<char> names(kListingSize);
    if (profile::GetSectionNames(names.data(), kListingSize, file) == 0) {
        return false;
    }
    ForEachNameWithPrefix(names.data(), prefix, take);
    return true;
}

// Deletes every section of `file` whose name begins with `prefix`, that
// `owned` says is the document's and whose name no program of `list` writes
// (`nameOf` gives the section a program writes, "" for none). The names are
// those a load sees (the first 8192 characters of the listing), compared as
// the profile layer compares them; a name listed twice is deleted twice.
template <class Program, class NameOf, class Owned>
void RemoveSectionsNotWritten(const char* file, const char* prefix,
                              const std::vector<std::unique_ptr<Program>>& list, NameOf nameOf,
                              Owned owned) {
    std::unordered_set<std::string> written;
    written.reserve(list.size());
    for (const std::unique_ptr<Program>& program : list) {
        written.insert(FoldAsciiCase(nameOf(*program)));
    }
    std::vector<std::string> gone;
    ForEachSection(file, prefix, [&](const char* name) {
        if (written.count(FoldAsciiCase(name)) == 0 && owned(name, file)) {
            gone.emplace_back(name);
        }
    });
    for (const std::string& name : gone) {
        static_cast<void>(profile::WriteString(name.c_str(), nullptr, nullptr, file));
    }
}

// Saves every program of `list` into `file` with `save`, each whatever the
// earlier ones returned, in one batch; the first non-zero code wins.
template <class Program, class Save>
RETERROR SaveEach(const std::vector<std::unique_ptr<Program>>& list, const char* file, Save save) {
    FirstCode result;
    profile::Batch batch(file);
    for (const std::unique_ptr<Program>& program : list) {
        result.Note(save(*program, file));
    }
    // Alone, the batch writes the file here; inside SaveCFG, SaveCFG does.
    result.Check(batch.Commit(), RE_WRITE_SECTION);
    return result.Get();
}

}  // namespace knitcfg::detail
