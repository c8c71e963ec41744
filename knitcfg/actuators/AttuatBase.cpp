#include "knitcfg/actuators/AttuatBase.h"

namespace knitcfg {

KNITCFG_IMPLEMENT_CLASS(AttuatBase, ModelObject)

AttuatBase::~AttuatBase() = default;

}  // namespace knitcfg
