#pragma once

// The whole public API of knitcfg.

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/RetError.h"
#include "knitcfg/common/SaveMode.h"
#include "knitcfg/common/Text.h"
#include "knitcfg/common/Types.h"
#include "knitcfg/profile/Profile.h"

#include "knitcfg/actuators/Attuat.h"
#include "knitcfg/actuators/AttuatBase.h"
#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/StepMotorDisColor.h"

#include "knitcfg/config/Configuration.h"
#include "knitcfg/config/HeaderPrg.h"
#include "knitcfg/config/Protection.h"

#include "knitcfg/program/BlockPlane.h"
#include "knitcfg/program/ColorPrg.h"
#include "knitcfg/program/LinePrg.h"
#include "knitcfg/program/PlanePrg.h"

#include "knitcfg/designs/CGenDis.h"
#include "knitcfg/designs/CPatObj.h"
#include "knitcfg/designs/CShavedDis.h"

#include "knitcfg/paths/DriveLetter.h"

#include "knitcfg/diagnostics/Diagnostic.h"
