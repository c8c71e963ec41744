#include "knitcfg/profile/detail/NameTable.h"

#include <cstring>

#include "knitcfg/common/detail/AsciiCase.h"

namespace knitcfg::detail {

std::uint32_t HashName(std::string_view name) {
    // Eight bytes at a time. Setting bit 5 of every byte folds ASCII letters
    // (and merges a few other pairs of bytes, which only costs a comparison
    // now and then: equality is decided by SameName).
    constexpr std::uint64_t kFold = 0x2020202020202020ULL;
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = 0x51ED270B27A4E1D3ULL ^ name.size();
    const char* p = name.data();
    std::size_t n = name.size();
    while (n >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = (h ^ (w | kFold)) * kMul;
        h ^= h >> 29;
        p += 8;
        n -= 8;
    }
    if (n > 0) {
        std::uint64_t w = 0;
        std::memcpy(&w, p, n);
        const std::uint64_t fold = kFold >> (8 * (8 - n));
        h = (h ^ (w | fold)) * kMul;
        h ^= h >> 29;
    }
    h *= kMul;
    return static_cast<std::uint32_t>(h >> 32);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    if (std::memcmp(a.data(), b.data(), a.size()) == 0) {
        return true;  // the usual case: the same spelling
    }
    return knitcfg::detail::EqualsNoCase(a, b);
}

void NameTable::Reserve(std::size_t names) {
    std::size_t size = 8;
    while (size < names * 2) {
        size *= 2;
    }
    if (size > slots_.size()) {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(size, Slot{});
        count_ = 0;
        for (const Slot& s : old) {
            if (s.number != kNone) {
                Insert(s.hash, s.number);
            }
        }
    }
}

void NameTable::Grow() {
    Reserve(slots_.empty() ? 4 : slots_.size());
}

void NameTable::Insert(std::uint32_t hash, std::uint32_t number) {
    if ((count_ + 1) * 2 > slots_.size()) {
        Grow();
    }
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].number != kNone) {
        i = (i + 1) & mask;
    }
    slots_[i] = Slot{hash, number};
    ++count_;
}

void NameTable::EraseAt(std::size_t i) {
    // Backward-shift deletion keeps every probe sequence unbroken without
    // leaving tombstones behind.
    const std::size_t mask = slots_.size() - 1;
    std::size_t hole = i;
    for (std::size_t j = (i + 1) & mask; slots_[j].number != kNone; j = (j + 1) & mask) {
        const std::size_t home = slots_[j].hash & mask;
        // Move slot j into the hole unless its home lies cyclically in (hole, j].
        const bool homeBetween =
            hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
        if (!homeBetween) {
            slots_[hole] = slots_[j];
            hole = j;
        }
    }
    slots_[hole] = Slot{};
    --count_;
}

}  // namespace knitcfg::detail
