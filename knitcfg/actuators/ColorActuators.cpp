#include "knitcfg/actuators/ColorActuators.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(DrumColor, Attuat)
KNITCFG_IMPLEMENT_CLASS(FingerColor, Attuat)
KNITCFG_IMPLEMENT_CLASS(SplitterColor, Attuat)
KNITCFG_IMPLEMENT_CLASS(TriangleColor, Attuat)
KNITCFG_IMPLEMENT_CLASS(StepMotorColor, Attuat)
KNITCFG_IMPLEMENT_CLASS(SpeederColor, Attuat)

}  // namespace knitcfg
