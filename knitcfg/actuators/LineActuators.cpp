#include "knitcfg/actuators/LineActuators.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(DrumLine, Attuat)
KNITCFG_IMPLEMENT_CLASS(FingerLine, Attuat)
KNITCFG_IMPLEMENT_CLASS(SplitterLine, Attuat)
KNITCFG_IMPLEMENT_CLASS(TriangleLine, Attuat)
KNITCFG_IMPLEMENT_CLASS(StepMotorLine, Attuat)
KNITCFG_IMPLEMENT_CLASS(StepMotorDisLine, Attuat)
KNITCFG_IMPLEMENT_CLASS(SpeederLine, Attuat)

}  // namespace knitcfg
