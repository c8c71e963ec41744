#include "knitcfg/actuators/StepMotorDisColor.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(StepMotorDisColor, Attuat)

}  // namespace knitcfg
