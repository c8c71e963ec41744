#include "knitcfg/actuators/detail/Prototypes.h"

#include <utility>

#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/StepMotorDisColor.h"
#include "knitcfg/actuators/detail/Kinds.h"

namespace knitcfg::detail {

namespace {

// The members are constructed in declaration order, which is the creation
// order of the prototypes, and destroyed in reverse.
struct PrototypeSet {
    DrumColor drumColor;
    FingerColor fingerColor;
    SplitterColor splitterColor;
    TriangleColor triangleColor;
    StepMotorColor stepMotorColor;
    StepMotorDisColor stepMotorDisColor;
    SpeederColor speederColor;
    DrumLine drumLine;
    FingerLine fingerLine;
    SplitterLine splitterLine;
    TriangleLine triangleLine;
    StepMotorLine stepMotorLine;
    StepMotorDisLine stepMotorDisLine;
    SpeederLine speederLine;
};

// Built on first use, so that code running during another unit's static
// initialisation finds them constructed; kCreatedAtLoad below makes that
// first use happen when the library is loaded at the latest. Destroyed when
// the library is unloaded.
PrototypeSet& Set() {
    static PrototypeSet set;
    return set;
}

[[maybe_unused]] const bool kCreatedAtLoad = (Set(), true);

}  // namespace

const std::vector<Attuat*>& AllPrototypes() {
    PrototypeSet& p = Set();
    static const std::vector<Attuat*> list{
        &p.drumColor,        &p.fingerColor,       &p.splitterColor, &p.triangleColor,
        &p.stepMotorColor,   &p.stepMotorDisColor, &p.speederColor,  &p.drumLine,
        &p.fingerLine,       &p.splitterLine,      &p.triangleLine,  &p.stepMotorLine,
        &p.stepMotorDisLine, &p.speederLine};
    return list;
}

const std::vector<Attuat*>& ColorPrototypes() {
    PrototypeSet& p = Set();
    static const std::vector<Attuat*> list{
        &p.triangleColor,  &p.drumColor,         &p.fingerColor, &p.splitterColor,
        &p.stepMotorColor, &p.stepMotorDisColor, &p.speederColor};
    return list;
}

const std::vector<Attuat*>& LinePrototypes() {
    PrototypeSet& p = Set();
    static const std::vector<Attuat*> list{&p.drumLine,     &p.fingerLine,    &p.splitterLine,
                                           &p.triangleLine, &p.stepMotorLine, &p.stepMotorDisLine,
                                           &p.speederLine};
    return list;
}

std::unique_lock<std::recursive_mutex> PrototypeLock() {
    // Never destroyed: a color destroyed during static teardown still locks.
    static std::recursive_mutex* mutex = new std::recursive_mutex;
    return std::unique_lock<std::recursive_mutex>(*mutex);
}

void EmptyColorPrototypeTexts() {
    const auto lock = PrototypeLock();
    PrototypeSet& p = Set();
    p.speederColor.SetVelocita("");
    p.stepMotorDisColor.QuotaAghi.clear();
    p.stepMotorDisColor.QuotaRanghi.clear();
}

const ActuatorKind* SharedPrototypeKind(const Attuat* prototype) {
    PrototypeSet& p = Set();
    static const std::pair<const Attuat*, const ActuatorKind*> kinds[] = {
        {&p.drumColor, &kDrumColor},
        {&p.fingerColor, &kFingerColor},
        {&p.splitterColor, &kSplitterColor},
        {&p.triangleColor, &kTriangleColor},
        {&p.stepMotorColor, &kStepMotorColor},
        {&p.stepMotorDisColor, &kStepMotorDisColor},
        {&p.speederColor, &kSpeederColor},
        {&p.drumLine, &kDrumLine},
        {&p.fingerLine, &kFingerLine},
        {&p.splitterLine, &kSplitterLine},
        {&p.triangleLine, &kTriangleLine},
        {&p.stepMotorLine, &kStepMotorLine},
        {&p.stepMotorDisLine, &kStepMotorDisLine},
        {&p.speederLine, &kSpeederLine}};
    for (const auto& [shared, kind] : kinds) {
        if (shared == prototype) {
            return kind;
        }
    }
    return nullptr;
}

}  // namespace knitcfg::detail
