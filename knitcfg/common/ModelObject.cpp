#include "knitcfg/common/ModelObject.h"

#include <ostream>

namespace knitcfg {

ModelObject* RuntimeClass::CreateObject() const {
    return factory ? factory() : nullptr;
}

bool RuntimeClass::IsDerivedFrom(const RuntimeClass* base) const {
    for (const RuntimeClass* cls = this; cls != nullptr; cls = cls->baseClass) {
        if (cls == base) {
            return true;
        }
    }
    return false;
}

ModelObject::~ModelObject() = default;

const RuntimeClass* ModelObject::GetThisClass() {
    // The root cannot be created empty on its own: it is abstract in use.
    static const RuntimeClass record{"ModelObject", nullptr, nullptr};
    return &record;
}

const RuntimeClass* ModelObject::GetRuntimeClass() const {
    return GetThisClass();
}

void ModelObject::Serialize(std::iostream& /*archive*/) {}

void ModelObject::AssertValid() const {}

void ModelObject::Dump(std::ostream& out) const {
    out << "a " << GetRuntimeClass()->className << " at " << static_cast<const void*>(this) << '\n';
}

bool ModelObject::IsKindOf(const RuntimeClass* cls) const {
    return cls != nullptr && GetRuntimeClass()->IsDerivedFrom(cls);
}

}  // namespace knitcfg
