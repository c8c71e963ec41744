#include "knitcfg/actuators/LineActuators.h"

#include "knitcfg/actuators/detail/ActuatorKind.h"
#include "knitcfg/actuators/detail/Kinds.h"

namespace knitcfg {

namespace {

using detail::ActuatorKind;
using detail::kDrumLine;
using detail::kFingerLine;
using detail::kSpeederLine;
using detail::kSplitterLine;
using detail::kStepMotorDisLine;
using detail::kStepMotorLine;
using detail::kTriangleLine;

}  // namespace

// The seven line classes differ only in their kind, their configure
// operation and the two slots of their kind.
#define KNITCFG_DEFINE_LINE_ACTUATOR(Class, kind, Configure, AddList, Save)                       \
    KNITCFG_IMPLEMENT_CLASS(Class, Attuat)                                                        \
    const Attuat::PrefixEntry<Class> Class::kPrefixTable[] = {{kind.prefix, &Class::Configure},   \
                                                              {nullptr, nullptr}};                \
    Class::~Class() = default;                                                                    \
    int Class::Configure(const char* section, const char* key, const char* file, RETERROR* err) { \
        return detail::ConfigureCommon(*this, kind, section, key, file, err);                     \
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
        return detail::WriteEntry(kind, section, file, counter, detail::CommonItems(*this));      \
    }                                                                                             \
    Attuat* Class::Clone() const {                                                                \
        return new Class(*this);                                                                  \
    }                                                                                             \
    std::string Class::SaveStringAttuat(int* counter) const {                                     \
        return detail::EntryText(kind, counter, detail::CommonItems(*this));                      \
    }

// clang-format off
KNITCFG_DEFINE_LINE_ACTUATOR(DrumLine,         kDrumLine,         ConfigureDrumLine,         AddListDrum,         SaveDrumLine)
KNITCFG_DEFINE_LINE_ACTUATOR(FingerLine,       kFingerLine,       ConfigureFingerLine,       AddListFinger,       SaveFingerLine)
KNITCFG_DEFINE_LINE_ACTUATOR(SplitterLine,     kSplitterLine,     ConfigureSplitterLine,     AddListSplitter,     SaveSplitterLine)
KNITCFG_DEFINE_LINE_ACTUATOR(TriangleLine,     kTriangleLine,     ConfigureTriangleLine,     AddListTriangle,     SaveTriangleLine)
KNITCFG_DEFINE_LINE_ACTUATOR(StepMotorLine,    kStepMotorLine,    ConfigureStepMotorLine,    AddListStepMotor,    SaveStepMotorLine)
KNITCFG_DEFINE_LINE_ACTUATOR(StepMotorDisLine, kStepMotorDisLine, ConfigureStepMotorDisLine, AddListStepMotorDis, SaveStepMotorDisLine)
KNITCFG_DEFINE_LINE_ACTUATOR(SpeederLine,      kSpeederLine,      ConfigureSpeederLine,      AddListSpeeder,      SaveSpeederLine)
// clang-format on

#undef KNITCFG_DEFINE_LINE_ACTUATOR

}  // namespace knitcfg
