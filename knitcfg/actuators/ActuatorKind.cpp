#include "knitcfg/actuators/detail/ActuatorKind.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "knitcfg/actuators/detail/PreReadEntry.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg::detail {

namespace {

// The entry number to write, and the counter moved on by one. Wraps instead
// of overflowing: a counter at INT_MAX is a caller's bug, not a crash.
int TakeNumber(int* counter) {
    if (counter == nullptr) {
        return 0;
    }
    const int number = *counter;
    *counter = number == INT_MAX ? INT_MIN : number + 1;
    return number;
}

}  // namespace

const entry::Items* ReadEntry(const ActuatorKind& kind, const char* section, const char* key,
                              const char* file, RETERROR* err, entry::ScanResult* scratch) {
    SetErr(err, RE_WRONG_KIND);
    char buffer[kMaxReadBuffer];
    const unsigned size = std::min(kind.readBuffer, kMaxReadBuffer);
    const char* value = buffer;
    unsigned read = 0;
    if (const PreReadEntry* pre = PreReadEntry::For(section, key, file)) {
        // The loader's copy of the value, as the read below would give it.
        value = pre->Text(size, buffer, &read);
        scratch = pre->Scratch();
    } else if (section != nullptr && key != nullptr && file != nullptr) {
        // A null key or section would make the profile layer list names
        // instead of reading a value: they count as nothing read.
        read = profile::GetString(section, key, kind.readDefault, buffer, size, file);
    }
    if (read == 0) {
        SetErr(err, kind.configureCode);
        return nullptr;
    }
    entry::ScanResult& scan = *scratch;
    entry::ScanInto(value, kind.valueFormat, kTextRoom, &scan);
    if (scan.textTooLong) {
        // Refused rather than cut: a cut position or speed would be written
        // back as a different number without anyone being told. Refusing
        // keeps the actuator's values and reports the kind's code.
        SetErr(err, kind.configureCode);
        return nullptr;
    }
    return &scan.items;
}

short ItemShort(const entry::Items& items, std::size_t index, short fallback) {
    return index < items.size() ? entry::Low16(items[index].number) : fallback;
}

int ItemInt(const entry::Items& items, std::size_t index, int fallback) {
    return index < items.size() ? items[index].number : fallback;
}

std::string ItemText(const entry::Items& items, std::size_t index) {
    return index < items.size() ? items[index].text : std::string();
}

// A value with fewer items than its format leaves the missing fields at
// their "no value" defaults rather than at what the object held before: a
// prototype would otherwise pass the last entry's numbers on to an unrelated
// actuator, and a reload gives the same object whatever was read before.
void AssignCommon(Attuat& actuator, const entry::Items& items) {
    actuator.Id = ItemShort(items, 0, kNoValue);
    actuator.Caduta = ItemShort(items, 1, kNoValue);
    actuator.IdCaduta = ItemShort(items, 2, kNoValue);
}

entry::Items CommonItems(const Attuat& actuator) {
    entry::Items items;
    // Room for the fields that the kinds append (eleven at most), at once.
    items.reserve(11);
    items.push_back(entry::Item::Number(actuator.Id));
    items.push_back(entry::Item::Number(actuator.Caduta));
    items.push_back(entry::Item::Number(actuator.IdCaduta));
    return items;
}

int ConfigureCommon(Attuat& actuator, const ActuatorKind& kind, const char* section,
                    const char* key, const char* file, RETERROR* err) {
    entry::ScanResult scratch;
    const entry::Items* read = ReadEntry(kind, section, key, file, err, &scratch);
    if (read == nullptr) {
        return 0;
    }
    const entry::Items& items = *read;
    AssignCommon(actuator, items);
    SetErr(err, RE_SUCCESS);
    return 1;
}

Attuat* LoadThroughUpdate(Attuat& prototype, const ActuatorKind& kind, const char* section,
                          const char* key, const char* file, RETERROR* err) {
    SetErr(err, RE_WRONG_KIND);
    if (prototype.UpdateObj(section, key, file, err) != 0) {
        SetErr(err, RE_SUCCESS);
        return prototype.Clone();
    }
    // A key of another kind and an empty value of this kind report the same.
    SetErr(err, kind.loadCode);
    return nullptr;
}

int AddIdOnce(short id, IndexList* list) {
    if (list != nullptr && std::find(list->begin(), list->end(), id) == list->end()) {
        list->push_back(id);
    }
    return 1;
}

std::string EntryText(const ActuatorKind& kind, int* counter, const entry::Items& items) {
    // Built in place, as NumberedName and Format would give it.
    std::string text;
    text.reserve(96);
    text += kind.prefix;
    entry::AppendNumber3(TakeNumber(counter), &text);
    text += '=';
    entry::FormatTo(kind.valueFormat, items, &text);
    return text;
}

RETERROR WriteEntry(const ActuatorKind& kind, const char* section, const char* file, int* counter,
                    const entry::Items& items) {
    const std::string key = NumberedName(kind.prefix, TakeNumber(counter));
    const std::string value = entry::Format(kind.valueFormat, items);
    // The counter has moved on even when the write is refused, so that the
    // next entry of the kind keeps its own number.
    const bool written = profile::WriteString(section, key.c_str(), value.c_str(), file);
    return written ? RE_SUCCESS : kind.saveCode;
}

}  // namespace knitcfg::detail
