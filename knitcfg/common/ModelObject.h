#pragma once

#include <iosfwd>

#include "knitcfg/common/Export.h"

namespace knitcfg {

class ModelObject;

// The run-time class record of a model class: its exact name, the record of
// its base class (null for the root) and a factory for an empty object.
struct KNITCFG_API RuntimeClass {
    const char* className;
    const RuntimeClass* baseClass;
    ModelObject* (*factory)();

    // A new default-constructed object of this class, owned by the caller;
    // null for a class that cannot be created empty.
    ModelObject* CreateObject() const;

    // True when this class is `base` or derives from it.
    bool IsDerivedFrom(const RuntimeClass* base) const;
};

// The common root of every model class.
class KNITCFG_API ModelObject {
public:
    ModelObject() = default;
    ModelObject(const ModelObject&) = default;
    ModelObject& operator=(const ModelObject&) = default;
    virtual ~ModelObject();

    // The record of the object's actual class.
    virtual const RuntimeClass* GetRuntimeClass() const;

    // Three inherited hooks that no class of the library overrides; they do
    // nothing beyond what is said here.
    virtual void Serialize(std::iostream& archive);
    virtual void AssertValid() const;
    // Writes "a <class name> at <address>" followed by a line end.
    virtual void Dump(std::ostream& out) const;

    // True when the object is of class `cls` or of a class derived from it.
    bool IsKindOf(const RuntimeClass* cls) const;

    static const RuntimeClass* GetThisClass();
};

}  // namespace knitcfg

// Declares the run-time class support of a model class: GetThisClass,
// GetRuntimeClass and a static CreateObject returning a new empty object.
#define KNITCFG_DECLARE_CLASS(ClassName)                             \
public:                                                              \
    static const ::knitcfg::RuntimeClass* GetThisClass();            \
    const ::knitcfg::RuntimeClass* GetRuntimeClass() const override; \
    static ClassName* CreateObject();                                \
                                                                     \
private:

// Defines what KNITCFG_DECLARE_CLASS declares; use at namespace knitcfg scope
// in the class's .cpp file. The class needs a default constructor.
#define KNITCFG_IMPLEMENT_CLASS(ClassName, BaseName)                                \
    ClassName* ClassName::CreateObject() {                                          \
        return new ClassName();                                                     \
    }                                                                               \
    const ::knitcfg::RuntimeClass* ClassName::GetThisClass() {                      \
        static const ::knitcfg::RuntimeClass record{                                \
            #ClassName, BaseName::GetThisClass(),                                   \
            []() -> ::knitcfg::ModelObject* { return ClassName::CreateObject(); }}; \
        return &record;                                                             \
    }                                                                               \
    const ::knitcfg::RuntimeClass* ClassName::GetRuntimeClass() const {             \
        return ClassName::GetThisClass();                                           \
    }
