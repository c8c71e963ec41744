#pragma once

#include "knitcfg/common/Export.h"
#include "knitcfg/common/ModelObject.h"
#include "knitcfg/common/Types.h"

namespace knitcfg {

// The root of the actuator family: an actuator's identifier within its color
// or line. Every actuator class derives from it through Attuat.
class KNITCFG_API AttuatBase : public ModelObject {
    KNITCFG_DECLARE_CLASS(AttuatBase)

public:
    // Id is -32768 ("no value").
    AttuatBase() = default;
    AttuatBase(const AttuatBase& other) = default;
    ~AttuatBase() override;

    // The identifier by which colors and lines find the actuator; the first
    // number of its entry. Public so that callers can build actuators.
    short Id = kNoValue;
};

}  // namespace knitcfg
