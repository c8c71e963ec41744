#include "knitcfg/actuators/ColorActuators.h"

#include "knitcfg/actuators/detail/ActuatorKind.h"
#include "knitcfg/actuators/detail/Kinds.h"

namespace knitcfg {

namespace {

using detail::ActuatorKind;
using detail::kDrumColor;
using detail::kFingerColor;
using detail::kSpeederColor;
using detail::kSplitterColor;
using detail::kStepMotorColor;
using detail::kTriangleColor;
using entry::Item;
using entry::Items;

// The configure operation of the kinds whose only field beyond the common
// three is a 16-bit state.
int ConfigureWithState(Attuat& actuator, short* stato, const ActuatorKind& kind,
                       const char* section, const char* key, const char* file, RETERROR* err) {
    entry::ScanResult scratch;
    const entry::Items* read = detail::ReadEntry(kind, section, key, file, err, &scratch);
    if (read == nullptr) {
        return 0;
    }
    const entry::Items& items = *read;
    detail::AssignCommon(actuator, items);
    *stato = detail::ItemShort(items, 3, kNoValue);
    detail::SetErr(err, RE_SUCCESS);
    return 1;
}

Items WithState(const Attuat& actuator, short stato) {
    Items items = detail::CommonItems(actuator);
    items.push_back(Item::Number(stato));
    return items;
}

Items WithStateAndQuota(const Attuat& actuator, short stato, int quota) {
    Items items = WithState(actuator, stato);
    items.push_back(Item::Number(quota));
    return items;
}

Items WithVelocita(const Attuat& actuator, const std::string& velocita) {
    Items items = detail::CommonItems(actuator);
    items.push_back(Item::Text(velocita));
    return items;
}

}  // namespace

// The drum, finger, splitter and cam colors differ only in their kind, their
// configure operation and the two slots of their kind.
#define KNITCFG_DEFINE_STATE_COLOR(Class, kind, Configure, AddList, Save)                         \
    KNITCFG_IMPLEMENT_CLASS(Class, Attuat)                                                        \
    const Attuat::PrefixEntry<Class> Class::kPrefixTable[] = {{kind.prefix, &Class::Configure},   \
                                                              {nullptr, nullptr}};                \
    Class::~Class() = default;                                                                    \
    int Class::Configure(const char* section, const char* key, const char* file, RETERROR* err) { \
        return ConfigureWithState(*this, &Stato, kind, section, key, file, err);                  \
    }                                                                                             \
    Attuat* Class::LoadObj(const char* section, const char* key, const char* file,                \
                           RETERROR* err) {                                                       \
        return detail::LoadThroughUpdate(*this, kind, section, key, file, err);                   \
    }                                                                                             \
    int Class::UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) { \
        return detail::UpdateThroughTable(*this, kPrefixTable, section, key, file, err);          \
    }                                                                                             \
    int Class::AddList(IndexList* list) const {                                                   \
        return detail::AddIdOnce(Id, list);                                                       \
    }                                                                                             \
    RETERROR Class::Save(const char* section, const char* file, int* counter) const {             \
        return detail::WriteEntry(kind, section, file, counter, WithState(*this, Stato));         \
    }                                                                                             \
    Attuat* Class::Clone() const {                                                                \
        return new Class(*this);                                                                  \
    }                                                                                             \
    short Class::GetStato() const {                                                               \
        return Stato;                                                                             \
    }                                                                                             \
    void Class::SetStato(short stato) {                                                           \
        Stato = stato;                                                                            \
    }                                                                                             \
    std::string Class::SaveStringAttuat(int* counter) const {                                     \
        return detail::EntryText(kind, counter, WithState(*this, Stato));                         \
    }

KNITCFG_DEFINE_STATE_COLOR(DrumColor, kDrumColor, ConfigureDrum, AddListDrum, SaveDrumColor)
KNITCFG_DEFINE_STATE_COLOR(FingerColor, kFingerColor, ConfigureFinger, AddListFinger,
                           SaveFingerColor)
KNITCFG_DEFINE_STATE_COLOR(SplitterColor, kSplitterColor, ConfigureSplitter, AddListSplitter,
                           SaveSplitterColor)
KNITCFG_DEFINE_STATE_COLOR(TriangleColor, kTriangleColor, ConfigureTriangle, AddListTriangle,
                           SaveTriangleColor)

#undef KNITCFG_DEFINE_STATE_COLOR

// StepMotorColor: a state and a 32-bit position.

KNITCFG_IMPLEMENT_CLASS(StepMotorColor, Attuat)

const Attuat::PrefixEntry<StepMotorColor> StepMotorColor::kPrefixTable[] = {
    {kStepMotorColor.prefix, &StepMotorColor::ConfigureStepMotor}, {nullptr, nullptr}};

StepMotorColor::~StepMotorColor() = default;

int StepMotorColor::ConfigureStepMotor(const char* section, const char* key, const char* file,
                                       RETERROR* err) {
    entry::ScanResult scratch;
    const entry::Items* read =
        detail::ReadEntry(kStepMotorColor, section, key, file, err, &scratch);
    if (read == nullptr) {
        return 0;
    }
    const entry::Items& items = *read;
    detail::AssignCommon(*this, items);
    Stato = detail::ItemShort(items, 3, kNoValue);
    Quota = detail::ItemInt(items, 4, kNoQuota);
    detail::SetErr(err, RE_SUCCESS);
    return 1;
}

Attuat* StepMotorColor::LoadObj(const char* section, const char* key, const char* file,
                                RETERROR* err) {
    return detail::LoadThroughUpdate(*this, kStepMotorColor, section, key, file, err);
}

int StepMotorColor::UpdateObj(const char* section, const char* key, const char* file,
                              RETERROR* err) {
    return detail::UpdateThroughTable(*this, kPrefixTable, section, key, file, err);
}

int StepMotorColor::AddListStepMotor(IndexList* list) const {
    return detail::AddIdOnce(Id, list);
}

RETERROR StepMotorColor::SaveStepMotorColor(const char* section, const char* file,
                                            int* counter) const {
    return detail::WriteEntry(kStepMotorColor, section, file, counter,
                              WithStateAndQuota(*this, Stato, Quota));
}

Attuat* StepMotorColor::Clone() const {
    return new StepMotorColor(*this);
}

short StepMotorColor::GetStato() const {
    return Stato;
}
void StepMotorColor::SetStato(short stato) {
    Stato = stato;
}
int StepMotorColor::GetQuota() const {
    return Quota;
}
void StepMotorColor::SetQuota(int quota) {
    Quota = quota;
}

std::string StepMotorColor::SaveStringAttuat(int* counter) const {
    return detail::EntryText(kStepMotorColor, counter, WithStateAndQuota(*this, Stato, Quota));
}

// SpeederColor: a speed kept as text.

KNITCFG_IMPLEMENT_CLASS(SpeederColor, Attuat)

const Attuat::PrefixEntry<SpeederColor> SpeederColor::kPrefixTable[] = {
    {kSpeederColor.prefix, &SpeederColor::ConfigureSpeeder}, {nullptr, nullptr}};

SpeederColor::~SpeederColor() = default;

int SpeederColor::ConfigureSpeeder(const char* section, const char* key, const char* file,
                                   RETERROR* err) {
    entry::ScanResult scratch;
    const entry::Items* read = detail::ReadEntry(kSpeederColor, section, key, file, err, &scratch);
    if (read == nullptr) {
        return 0;
    }
    const entry::Items& items = *read;
    detail::AssignCommon(*this, items);
    Velocita = detail::ItemText(items, 3);
    detail::SetErr(err, RE_SUCCESS);
    return 1;
}

Attuat* SpeederColor::LoadObj(const char* section, const char* key, const char* file,
                              RETERROR* err) {
    return detail::LoadThroughUpdate(*this, kSpeederColor, section, key, file, err);
}

int SpeederColor::UpdateObj(const char* section, const char* key, const char* file, RETERROR* err) {
    return detail::UpdateThroughTable(*this, kPrefixTable, section, key, file, err);
}

int SpeederColor::AddListSpeeder(IndexList* list) const {
    return detail::AddIdOnce(Id, list);
}

RETERROR SpeederColor::SaveSpeederColor(const char* section, const char* file, int* counter) const {
    return detail::WriteEntry(kSpeederColor, section, file, counter, WithVelocita(*this, Velocita));
}

Attuat* SpeederColor::Clone() const {
    return new SpeederColor(*this);
}

std::string SpeederColor::GetVelocita() const {
    return Velocita;
}

void SpeederColor::SetVelocita(const char* velocita) {
    Velocita = velocita != nullptr ? velocita : "";
}

std::string SpeederColor::SaveStringAttuat(int* counter) const {
    return detail::EntryText(kSpeederColor, counter, WithVelocita(*this, Velocita));
}

}  // namespace knitcfg
