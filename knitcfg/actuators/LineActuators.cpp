#include "knitcfg/actuators/LineActuators.h"

#include "knitcfg/actuators/ActuatorKind.h"

namespace knitcfg {

namespace {

using detail::ActuatorKind;

// The codes differ between kinds on purpose: the finger, splitter, cam and
// speeder lines share the configure code 16, and the design stepping-motor
// line reports the stepping motor's load and save codes.
// clang-format off
//                                     prefix                       read default  buffer  value format    load                         configure                    save
constexpr ActuatorKind kDrumLine        {detail::kDrumPrefix,         "0, 0, 0",    512, "%d, %d, %d",   RE_DRUM_LINE_ENTRY,          RE_DRUM_LINE_ENTRY,          RE_WRITE_DRUM};
constexpr ActuatorKind kFingerLine      {detail::kFingerPrefix,       "0, 0, 0",    512, "%d, %d, %d",   RE_FINGER_LINE_ENTRY,        RE_DRUM_COLOR_ENTRY,         RE_WRITE_FINGER};
constexpr ActuatorKind kSplitterLine    {detail::kSplitterPrefix,     "0, 0, 0",    512, "%d, %d, %d",   RE_SPLITTER_LINE_ENTRY,      RE_DRUM_COLOR_ENTRY,         RE_WRITE_SPLITTER};
constexpr ActuatorKind kTriangleLine    {detail::kTrianglePrefix,     "0, 0, 0",    512, "%d, %d, %d",   RE_TRIANGLE_LINE_ENTRY,      RE_DRUM_COLOR_ENTRY,         RE_WRITE_TRIANGLE};
constexpr ActuatorKind kStepMotorLine   {detail::kStepMotorPrefix,    "0, 0, 0",    512, "%d, %d, %d",   RE_STEPMOTOR_LINE_ENTRY,     RE_STEPMOTOR_LINE_ENTRY,     RE_WRITE_STEPMOTOR};
constexpr ActuatorKind kStepMotorDisLine{detail::kStepMotorDisPrefix, "0, 0, 0",    512, "%d, %d, %d",   RE_STEPMOTOR_LINE_ENTRY,     RE_STEPMOTORDIS_LINE_EMPTY,  RE_WRITE_STEPMOTOR};
constexpr ActuatorKind kSpeederLine     {detail::kSpeederPrefix,      "0, 0, 0",    512, "%d, %d, %d",   RE_SPEEDER_LINE_ENTRY,       RE_DRUM_COLOR_ENTRY,         RE_WRITE_SPEEDER};
// clang-format on

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
