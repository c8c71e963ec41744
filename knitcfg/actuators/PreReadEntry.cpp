#include "knitcfg/actuators/detail/PreReadEntry.h"

#include "knitcfg/profile/detail/FileCache.h"

namespace knitcfg::detail {

namespace {

// A plain pointer: a thread-local object with a destructor is not safe on
// every platform's thread exit.
thread_local const PreReadEntry* current = nullptr;

}  // namespace

PreReadEntry::PreReadEntry(const char* section, const char* key, const char* file,
                           std::string_view value, std::uint64_t changes,
                           entry::ScanResult* scratch)
    : section_(section),
      key_(key),
      file_(file),
      value_(value),
      changes_(changes),
      scratch_(scratch),
      previous_(current) {
    current = this;
}

PreReadEntry::~PreReadEntry() {
    current = previous_;
}

const PreReadEntry* PreReadEntry::For(const char* section, const char* key, const char* file) {
    const PreReadEntry* entry = current;
    if (entry == nullptr || entry->section_ != section || entry->key_ != key ||
        entry->file_ != file || entry->changes_ != detail::ChangeCount()) {
        return nullptr;
    }
    return entry;
}

const char* PreReadEntry::Text(unsigned room, char* buffer, unsigned* length) const {
    if (value_.size() < room) {
        *length = static_cast<unsigned>(value_.size());
        return value_.data();
    }
    const std::string_view cut = value_.substr(0, room - 1);
    cut.copy(buffer, cut.size());
    buffer[cut.size()] = '\0';
    *length = static_cast<unsigned>(cut.size());
    return buffer;
}

}  // namespace knitcfg::detail
