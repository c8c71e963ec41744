#include "knitcfg/actuators/AttuatKind.h"

#include <algorithm>
#include <climits>

#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/StepMotorDisColor.h"
#include "knitcfg/actuators/detail/ActuatorKind.h"
#include "knitcfg/actuators/detail/Kinds.h"
#include "knitcfg/actuators/detail/PreReadEntry.h"
#include "knitcfg/common/detail/Names.h"
#include "knitcfg/common/detail/Numbers.h"
#include "knitcfg/profile/Profile.h"

namespace knitcfg::detail {

namespace {

// The entry description of each device, color side first.
constexpr const ActuatorKind* kKinds[][2] = {
    {&kDrumColor, &kDrumLine},           {&kFingerColor, &kFingerLine},
    {&kSplitterColor, &kSplitterLine},   {&kTriangleColor, &kTriangleLine},
    {&kStepMotorColor, &kStepMotorLine}, {&kStepMotorDisColor, &kStepMotorDisLine},
    {&kSpeederColor, &kSpeederLine}};

constexpr const ActuatorKind& KindOf(Device device, Side side) {
    return *kKinds[static_cast<int>(device)][static_cast<int>(side)];
}

// The entry description of each class.
template <class T>
constexpr const ActuatorKind& kKindOf = T::kNoSuchKind;
// clang-format off
template <> constexpr const ActuatorKind& kKindOf<DrumColor> = kDrumColor;
template <> constexpr const ActuatorKind& kKindOf<FingerColor> = kFingerColor;
template <> constexpr const ActuatorKind& kKindOf<SplitterColor> = kSplitterColor;
template <> constexpr const ActuatorKind& kKindOf<TriangleColor> = kTriangleColor;
template <> constexpr const ActuatorKind& kKindOf<StepMotorColor> = kStepMotorColor;
template <> constexpr const ActuatorKind& kKindOf<StepMotorDisColor> = kStepMotorDisColor;
template <> constexpr const ActuatorKind& kKindOf<SpeederColor> = kSpeederColor;
template <> constexpr const ActuatorKind& kKindOf<DrumLine> = kDrumLine;
template <> constexpr const ActuatorKind& kKindOf<FingerLine> = kFingerLine;
template <> constexpr const ActuatorKind& kKindOf<SplitterLine> = kSplitterLine;
template <> constexpr const ActuatorKind& kKindOf<TriangleLine> = kTriangleLine;
template <> constexpr const ActuatorKind& kKindOf<StepMotorLine> = kStepMotorLine;
template <> constexpr const ActuatorKind& kKindOf<StepMotorDisLine> = kStepMotorDisLine;
template <> constexpr const ActuatorKind& kKindOf<SpeederLine> = kSpeederLine;
// clang-format on

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

// Sets err to 1, reads the value into the kind's buffer (cut to
// readBuffer-1 characters) and parses it. Null, with err set to the kind's
// configure code, when the read gave no character or a text item was longer
// than kTextRoom; otherwise the items parsed, held in `scratch`.
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

// Assigns the fields from the items in entry order. A value with fewer items
// than its format leaves the missing fields at their defaults (a text: the
// empty text) rather than at what the object held before: a prototype would
// otherwise pass the last entry's numbers on to an unrelated actuator, and a
// reload gives the same object whatever was read before.
struct FieldReader {
    const entry::Items& items;
    std::size_t next = 0;

    void operator()(short& field, short fallback) {
        field = next < items.size() ? detail::Low16(items[next].number) : fallback;
        ++next;
    }
    void operator()(int& field, int fallback) {
        field = next < items.size() ? items[next].number : fallback;
        ++next;
    }
    void operator()(std::string& field) {
        field = next < items.size() ? items[next].text : std::string();
        ++next;
    }
};

// Appends the fields as items.
struct FieldWriter {
    entry::Items& items;

    void operator()(int field, int /*fallback*/) { items.push_back(entry::Item::Number(field)); }
    void operator()(const std::string& field) { items.push_back(entry::Item::Text(field)); }
};

}  // namespace

template <class D>
const Attuat::PrefixEntry<AttuatKind<D>> AttuatKind<D>::kPrefixTable[] = {
    {kKindOf<D>.prefix, &AttuatKind::Configure}, {nullptr, nullptr}};

template <class D>
Attuat* AttuatKind<D>::LoadObj(const char* section, const char* key, const char* file,
                               RETERROR* err) {
    SetErr(err, RE_WRONG_KIND);
    if (UpdateObj(section, key, file, err) != 0) {
        SetErr(err, RE_SUCCESS);
        return Clone();
    }
    // A key of another kind and an empty value of this kind report the same.
    SetErr(err, kKindOf<D>.loadCode);
    return nullptr;
}

template <class D>
int AttuatKind<D>::UpdateObj(const char* section, const char* key, const char* file,
                             RETERROR* err) {
    SetErr(err, RE_WRONG_KIND);
    if (key == nullptr) {
        return 0;
    }
    for (const auto* pair = kPrefixTable; pair->prefix != nullptr; ++pair) {
        if (StartsWith(key, pair->prefix)) {
            return (this->*(pair->configure))(section, key, file, err);
        }
    }
    return 0;
}

template <class D>
int AttuatKind<D>::Configure(const char* section, const char* key, const char* file,
                             RETERROR* err) {
    entry::ScanResult scratch;
    const entry::Items* items = ReadEntry(kKindOf<D>, section, key, file, err, &scratch);
    if (items == nullptr) {
        return 0;
    }
    FieldReader read{*items};
    read(Id, kNoValue);
    read(Caduta, kNoValue);
    read(IdCaduta, kNoValue);
    D::OwnFields(static_cast<D&>(*this), read);
    SetErr(err, RE_SUCCESS);
    return 1;
}

template <class D>
entry::Items AttuatKind<D>::EntryItems() const {
    entry::Items items;
    // Room for the most fields of any kind (eleven), at once.
    items.reserve(11);
    FieldWriter write{items};
    write(Id, kNoValue);
    write(Caduta, kNoValue);
    write(IdCaduta, kNoValue);
    D::OwnFields(static_cast<const D&>(*this), write);
    return items;
}

template <class D>
Attuat* AttuatKind<D>::Clone() const {
    return new D(static_cast<const D&>(*this));
}

template <class D>
std::string AttuatKind<D>::SaveStringAttuat(int* counter) const {
    // Built in place, as NumberedName and Format would give it.
    std::string text;
    text.reserve(96);
    AppendNumberedName(kKindOf<D>.prefix, TakeNumber(counter), &text);
    text += '=';
    entry::FormatTo(kKindOf<D>.valueFormat, EntryItems(), &text);
    return text;
}

template <class D>
int AttuatKind<D>::AddList(Device device, IndexList* list) const {
    const bool own = KindOf(device, Side::Color).prefix == kKindOf<D>.prefix;
    if (own && list != nullptr && std::find(list->begin(), list->end(), Id) == list->end()) {
        list->push_back(Id);
    }
    return 1;
}

template <class D>
RETERROR AttuatKind<D>::Save(Device device, Side side, const char* section, const char* file,
                             int* counter) const {
    const ActuatorKind& kind = kKindOf<D>;
    if (&KindOf(device, side) != &kind) {
        return RE_SUCCESS;
    }
    const std::string key = NumberedName(kind.prefix, TakeNumber(counter));
    const std::string value = entry::Format(kind.valueFormat, EntryItems());
    // The counter has moved on even when the write is refused, so that the
    // next entry of the kind keeps its own number.
    const bool written = profile::WriteString(section, key.c_str(), value.c_str(), file);
    return written ? RE_SUCCESS : kind.saveCode;
}

template class AttuatKind<DrumColor>;
template class AttuatKind<FingerColor>;
template class AttuatKind<SplitterColor>;
template class AttuatKind<TriangleColor>;
template class AttuatKind<StepMotorColor>;
template class AttuatKind<StepMotorDisColor>;
template class AttuatKind<SpeederColor>;
template class AttuatKind<DrumLine>;
template class AttuatKind<FingerLine>;
template class AttuatKind<SplitterLine>;
template class AttuatKind<TriangleLine>;
template class AttuatKind<StepMotorLine>;
template class AttuatKind<StepMotorDisLine>;
template class AttuatKind<SpeederLine>;

}  // namespace knitcfg::detail
