#include "knitcfg/program/detail/ActuatorList.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "knitcfg/actuators/detail/ActuatorKind.h"
#include "knitcfg/actuators/detail/EntryParser.h"
#include "knitcfg/actuators/detail/PreReadEntry.h"
#include "knitcfg/actuators/detail/Prototypes.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/profile/Profile.h"
#include "knitcfg/profile/detail/FileCache.h"
#include "knitcfg/profile/detail/SectionEntries.h"

namespace knitcfg::detail {

namespace {

// The first element whose Caduta is strictly greater than `caduta`, walking
// from the head; the list need not be sorted.
ActuatorList::iterator FirstGreater(ActuatorList& list, short caduta) {
    return std::find_if(list.begin(), list.end(), [caduta](const std::unique_ptr<Attuat>& a) {
        return a != nullptr && a->Caduta > caduta;
    });
}

bool SortedByCaduta(const ActuatorList& list) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == nullptr || (i > 0 && list[i - 1]->Caduta > list[i]->Caduta)) {
            return false;
        }
    }
    return true;
}

// The first number of the value of `key`, read exactly as AlreadyInList
// reads it: through the same room, with the same default, by the same
// parser. False when the value is empty or does not begin with a number.
// `pre`: the value read already, when it still holds.
bool FirstNumber(const PreReadEntry* pre, const char* section, const char* key, const char* file,
                 int* number) {
    char buffer[kIdReadRoom];
    const char* value = buffer;
    unsigned read = 0;
    if (pre != nullptr) {
        value = pre->Text(kIdReadRoom, buffer, &read);
    } else {
        read = profile::GetString(section, key, "0", buffer, kIdReadRoom, file);
    }
    return read != 0 && entry::ScanInt(value, number);
}

// The list of one section load, with what makes each key cost the same
// whatever the length of the list: the actuators indexed by identifier, and
// whether the list is sorted by feed, so that an insertion finds its place
// by halving. Both answer exactly what a walk from the head would.
class SectionLoader {
public:
    // `keys`: the number of keys the section lists, so that neither the index
    // nor the list grows while they are loaded.
    SectionLoader(ActuatorList& list, std::size_t keys) : list_(list) {
        std::size_t capacity = 16;
        while (capacity * 3 < 4 * (list.size() + keys)) {
            capacity *= 2;
        }
        slots_.resize(capacity);
        list_.reserve(list.size() + keys);
        for (const std::unique_ptr<Attuat>& actuator : list) {
            if (actuator != nullptr) {
                Count(actuator.get());
            }
        }
        sorted_ = SortedByCaduta(list);
    }

    // The first actuator in list order whose Id, widened to 32 bits, is
    // `number` (as AlreadyInList compares), or null.
    Attuat* Find(int number) {
        if (number < SHRT_MIN || number > SHRT_MAX) {
            return nullptr;  // no 16-bit identifier widens to it
        }
        IdEntry* entry = Lookup(number, false);
        if (entry == nullptr || entry->count == 0) {
            return nullptr;
        }
        if (entry->sole != nullptr) {
            return entry->sole;
        }
        // Several actuators carry the number (values beyond 16 bits can make
        // two of them): the first in list order wins, as in a walk.
        for (const std::unique_ptr<Attuat>& actuator : list_) {
            if (actuator != nullptr && static_cast<int>(actuator->Id) == number) {
                if (entry->count == 1) {
                    entry->sole = actuator.get();
                }
                return actuator.get();
            }
        }
        return nullptr;
    }

    // Called after `actuator` re-read its fields from an entry.
    void Updated(Attuat* actuator, short oldId, short oldCaduta) {
        if (actuator->Id != oldId) {
            IdEntry* old = Lookup(static_cast<int>(oldId), true);
            --old->count;
            old->sole = nullptr;
            Count(actuator);
        }
        if (actuator->Caduta != oldCaduta) {
            // The actuator keeps its place, so the order may be broken (or
            // mended): look again before the next insertion.
            sortedKnown_ = false;
        }
    }

    void Insert(std::unique_ptr<Attuat> actuator) {
        if (!sortedKnown_) {
            sorted_ = SortedByCaduta(list_);
            sortedKnown_ = true;
        }
        Count(actuator.get());
        const short caduta = actuator->Caduta;
        if (sorted_ && (list_.empty() || list_.back()->Caduta <= caduta)) {
            // The usual case: a saved file lists its entries by feed.
            list_.push_back(std::move(actuator));
            return;
        }
        // In a sorted list the first greater element is the upper bound; in
        // one whose order was broken only a walk finds it.
        const auto at = sorted_ ? std::upper_bound(list_.begin(), list_.end(), caduta,
                                                   [](short c, const std::unique_ptr<Attuat>& a) {
                                                       return c < a->Caduta;
                                                   })
                                : FirstGreater(list_, caduta);
        list_.insert(at, std::move(actuator));
    }

private:
    // Sixteen bytes, so that the table of a whole section stays in the
    // processor's nearest cache: every entry of a load looks it up.
    struct IdEntry {
        Attuat* sole = nullptr;  // the only actuator with the number, when known
        int id = kUnused;
        int count = 0;
    };
    // The id of a slot never used: no 16-bit identifier widens to it.
    static constexpr int kUnused = INT_MIN;

    // The slot of `id` (open addressing, linear probing); with `add`, a new
    // slot when there is none, otherwise null. The table never fills: every
    // slot comes from an actuator of the list or from one key of the section
    // (a key counts either the actuator it makes or the new Id of the one it
    // updates, never both), and the constructor sized it for that many at
    // 3/4 full, so a probe always ends on a free slot.
    IdEntry* Lookup(int id, bool add) {
        std::size_t mask = slots_.size() - 1;
        std::size_t at = (static_cast<std::uint32_t>(id) * 2654435761u) & mask;
        while (slots_[at].id != kUnused) {
            if (slots_[at].id == id) {
                return &slots_[at];
            }
            at = (at + 1) & mask;
        }
        if (!add) {
            return nullptr;
        }
        slots_[at].id = id;
        return &slots_[at];
    }

    void Count(Attuat* actuator) {
        IdEntry* entry = Lookup(static_cast<int>(actuator->Id), true);
        ++entry->count;
        entry->sole = entry->count == 1 ? actuator : nullptr;
    }

    ActuatorList& list_;
    std::vector<IdEntry> slots_;
    bool sorted_ = false;
    bool sortedKnown_ = true;
};

}  // namespace

void InsertSorted(ActuatorList& list, std::unique_ptr<Attuat> actuator) {
    if (actuator == nullptr) {
        return;
    }
    for (const std::unique_ptr<Attuat>& held : list) {
        if (held == actuator) {
            // Owned already: keep the one owner, and let the caller's pointer
            // go without deleting what the list still holds.
            actuator.release();
            return;
        }
    }
    const auto at = FirstGreater(list, actuator->Caduta);
    list.insert(at, std::move(actuator));
}

ActuatorList CloneAll(const ActuatorList& list) {
    ActuatorList clones;
    clones.reserve(list.size());
    for (const std::unique_ptr<Attuat>& actuator : list) {
        if (actuator != nullptr) {
            clones.emplace_back(actuator->Clone());
        }
    }
    return clones;
}

std::unique_ptr<Attuat> Take(ActuatorList& list, const Attuat* actuator) {
    if (actuator == nullptr) {
        return nullptr;
    }
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->get() == actuator) {
            std::unique_ptr<Attuat> taken = std::move(*it);
            list.erase(it);
            return taken;
        }
    }
    return nullptr;
}

Attuat* FindById(const ActuatorList& list, short id) {
    for (const std::unique_ptr<Attuat>& actuator : list) {
        if (actuator != nullptr && actuator->Id == id) {
            return actuator.get();
        }
    }
    return nullptr;
}

EntriesLoaded LoadEntries(ActuatorList& list, const std::vector<Attuat*>& prototypes,
                          const char* section, const char* file, std::vector<bool>* taken) {
    EntriesLoaded loaded;
    if (section == nullptr || file == nullptr) {
        return loaded;
    }
    // Every value of the section at once: each would otherwise be read twice,
    // once for its identifier and once by the actuator that takes it.
    detail::SectionEntries entries;
    detail::ReadSectionEntries(section, kListingSize, file, &entries);
    if (entries.listed == 0) {
        return loaded;
    }
    loaded.hadKeys = true;
    // A listing that did not fit (an exact fit included) holds room - 2
    // characters.
    loaded.whole = entries.listed + 2 < kListingSize;
    if (taken != nullptr) {
        taken->assign(entries.values.size(), false);
    }
    const std::uint64_t changes = detail::ChangeCount();
    entry::ScanResult scratch;
    // The library's shared prototypes in the list, with their kinds: they
    // refuse a key of another kind without being asked. Kept with the
    // object, so that a list changed during the load is not misread.
    std::vector<std::pair<const Attuat*, const ActuatorKind*>> shared;
    shared.reserve(prototypes.size());
    for (Attuat* prototype : prototypes) {
        shared.emplace_back(prototype, SharedPrototypeKind(prototype));
    }
    // The prototypes parse every entry into themselves: one loader at a time.
    const auto lock = PrototypeLock();
    SectionLoader loader(list, entries.values.size());
    // The list ends with an empty name; a list cut to its room still ends so.
    std::size_t index = 0;
    for (const char* key = entries.listing.data(); *key != '\0' && index < entries.values.size();
         key += std::strlen(key) + 1, ++index) {
        // The value read holds as long as no cached file changes (an actuator
        // of the caller's that writes, another thread): after that, and for a
        // key that is not found (cut by the listing's room), each operation
        // reads for itself.
        const detail::SectionEntries::Value& read = entries.values[index];
        std::optional<PreReadEntry> value;
        if (read.found && changes == detail::ChangeCount()) {
            value.emplace(section, key, file, entries.ValueText(read), changes, &scratch);
        }
        // A key that nothing was asked about (no prototype to ask) was not
        // taken: say so rather than report success.
        RETERROR code = RE_WRONG_KIND;
        int number = 0;
        Attuat* owner = FirstNumber(value ? &*value : nullptr, section, key, file, &number)
                            ? loader.Find(number)
                            : nullptr;
        if (owner != nullptr) {
            const short oldId = owner->Id;
            const short oldCaduta = owner->Caduta;
            owner->UpdateObj(section, key, file, &code);
            loader.Updated(owner, oldId, oldCaduta);
            if (taken != nullptr) {
                (*taken)[index] = code == RE_SUCCESS;
            }
        } else {
            for (std::size_t p = 0; p < prototypes.size(); ++p) {
                Attuat* prototype = prototypes[p];
                if (prototype == nullptr) {
                    continue;
                }
                const ActuatorKind* kind =
                    p < shared.size() && shared[p].first == prototype ? shared[p].second : nullptr;
                if (kind != nullptr && !StartsWith(key, kind->prefix)) {
                    code = kind->loadCode;
                    continue;
                }
                code = RE_WRONG_KIND;
                std::unique_ptr<Attuat> made(prototype->LoadObj(section, key, file, &code));
                if (made != nullptr) {
                    loader.Insert(std::move(made));
                    if (taken != nullptr) {
                        (*taken)[index] = true;
                    }
                    break;
                }
            }
        }
        loaded.lastCode = code;
    }
    return loaded;
}

int* ChooseSlot(const Attuat* actuator, int* counters, const RuntimeClass* const* kinds) {
    if (actuator == nullptr || counters == nullptr) {
        return nullptr;
    }
    // The usual case, an actuator of one of the kinds' own classes, is found
    // by its class: the kinds are unrelated, so no other slot passes it.
    const RuntimeClass* own = actuator->GetRuntimeClass();
    for (int slot = 0; slot < kKindSlots; ++slot) {
        if (own == kinds[slot]) {
            return counters + slot;
        }
    }
    for (int slot = 0; slot < kKindSlots; ++slot) {
        if (actuator->IsKindOf(kinds[slot])) {
            return counters + slot;
        }
    }
    return nullptr;
}

int ListKind(const ActuatorList& actuators, short ownPlane, short ownNumber, IndexList* list,
             short plane, short number, int (Attuat::*add)(IndexList*) const) {
    if ((plane != kAny && plane != ownPlane) || (number != kAny && number != ownNumber)) {
        return 1;
    }
    for (const std::unique_ptr<Attuat>& actuator : actuators) {
        if (actuator != nullptr) {
            ((*actuator).*add)(list);
        }
    }
    return 1;
}

int ListOwnNumber(short ownPlane, short ownNumber, IndexList* list, short plane) {
    if (list == nullptr || (plane != kAny && plane != ownPlane)) {
        return 1;
    }
    if (std::find(list->begin(), list->end(), ownNumber) == list->end()) {
        list->push_back(ownNumber);
    }
    return 1;
}

}  // namespace knitcfg::detail
