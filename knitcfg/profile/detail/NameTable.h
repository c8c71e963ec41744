#pragma once

// An open-addressing index from names to small numbers (section or line
// positions), for the profile layer's lookups. Names are not stored: each
// slot keeps the name's hash and its number, and the caller resolves a
// number back to its name to confirm a match. So building an index of a
// section's keys allocates one array, not one string per key. Internal.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace knitcfg::detail {

// The hash of a name with ASCII letters folded to lower case.
std::uint32_t HashName(std::string_view name);
// Equality of names with ASCII letters folded (other bytes compare exactly).
bool SameName(std::string_view a, std::string_view b);

class NameTable {
public:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    void Clear() {
        slots_.clear();
        count_ = 0;
    }
    void Reserve(std::size_t names);

    // The number stored for `name`, or kNone. `nameOf(number)` gives the name
    // a stored number stands for.
    template <typename NameOf>
    std::uint32_t Find(std::string_view name, std::uint32_t hash, NameOf&& nameOf) const {
        if (slots_.empty()) {
            return kNone;
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& s = slots_[i];
            if (s.number == kNone) {
                return kNone;
            }
            if (s.hash == hash && SameName(nameOf(s.number), name)) {
                return s.number;
            }
        }
    }

    // Stores `number` for a name that is not in the table yet.
    void Insert(std::uint32_t hash, std::uint32_t number);

    // Stores `number` for `name` unless the table has the name already;
    // returns the number it had, or kNone when it was stored now. One probe
    // instead of a Find and an Insert.
    template <typename NameOf>
    std::uint32_t FindOrInsert(std::string_view name, std::uint32_t hash, NameOf&& nameOf,
                               std::uint32_t number) {
        if ((count_ + 1) * 2 > slots_.size()) {
            Grow();
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& s = slots_[i];
            if (s.number == kNone) {
                s = Slot{hash, number};
                ++count_;
                return kNone;
            }
            if (s.hash == hash && SameName(nameOf(s.number), name)) {
                return s.number;
            }
        }
    }

    // Replaces the number stored for a name (found as by Find) with
    // `replacement`, or removes the name when `replacement` is kNone.
    template <typename NameOf>
    void Replace(std::string_view name, std::uint32_t hash, NameOf&& nameOf,
                 std::uint32_t replacement) {
        if (slots_.empty()) {
            return;
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& s = slots_[i];
            if (s.number == kNone) {
                return;
            }
            if (s.hash == hash && SameName(nameOf(s.number), name)) {
                if (replacement != kNone) {
                    s.number = replacement;
                } else {
                    EraseAt(i);
                }
                return;
            }
        }
    }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t number = kNone;
    };
    void Grow();
    void EraseAt(std::size_t i);

    std::vector<Slot> slots_;  // a power of two in size, at most half full
    std::size_t count_ = 0;
};

}  // namespace knitcfg::detail
