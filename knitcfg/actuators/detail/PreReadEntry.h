#pragma once

// The entry that a section load is handing to the actuators, whose value the
// loader read once for the whole section. Every actuator operation keeps its
// file-reading contract: an operation of one of the library's kinds that is
// asked about that very entry (the same section, key and file texts) takes
// the value from here instead of reading it through the profile layer
// again, and gets the same text. Internal to the library.

#include <cstdint>
#include <string_view>

#include "knitcfg/actuators/detail/EntryParser.h"

namespace knitcfg::detail {

class PreReadEntry {
public:
    // Makes this entry the thread's current one for the object's lifetime
    // (the previous one comes back after it). `value` is what GetString
    // reads for `key` (uncut), as it stood when the profile layer's
    // ChangeCount was `changes`, and is followed by a NUL in memory;
    // `scratch` is room for parsing it, which the operations reuse from
    // entry to entry.
    PreReadEntry(const char* section, const char* key, const char* file, std::string_view value,
                 std::uint64_t changes, entry::ScanResult* scratch);
    ~PreReadEntry();
    PreReadEntry(const PreReadEntry&) = delete;
    PreReadEntry& operator=(const PreReadEntry&) = delete;

    // The thread's current entry when it is the one of `section`, `key` and
    // `file` (the same pointers) and no cached file changed since it was
    // read, so that a read now would give the same value; otherwise null.
    static const PreReadEntry* For(const char* section, const char* key, const char* file);

    // The value as GetString copies it into a buffer of `room` bytes (room
    // at least 1): NUL-terminated, cut to room-1 characters, their count in
    // `*length`. In place when it fits, else copied into `buffer`.
    const char* Text(unsigned room, char* buffer, unsigned* length) const;
    entry::ScanResult* Scratch() const { return scratch_; }

private:
    const char* section_;
    const char* key_;
    const char* file_;
    std::string_view value_;
    std::uint64_t changes_;
    entry::ScanResult* scratch_;
    const PreReadEntry* previous_;
};

}  // namespace knitcfg::detail
