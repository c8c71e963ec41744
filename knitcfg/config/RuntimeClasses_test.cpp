#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "knitcfg/actuators/AttuatBase.h"
#include "knitcfg/actuators/ColorActuators.h"
#include "knitcfg/actuators/LineActuators.h"
#include "knitcfg/actuators/StepMotorDisColor.h"
#include "knitcfg/config/Configuration.h"
#include "knitcfg/config/HeaderPrg.h"
#include "knitcfg/config/Protection.h"
#include "knitcfg/designs/CGenDis.h"
#include "knitcfg/designs/CPatObj.h"
#include "knitcfg/designs/CShavedDis.h"
#include "knitcfg/program/BlockPlane.h"
#include "knitcfg/program/ColorPrg.h"
#include "knitcfg/program/LinePrg.h"
#include "knitcfg/program/PlanePrg.h"

namespace knitcfg {
namespace {

struct ClassCase {
    const RuntimeClass* record;
    const char* name;
    const char* base;
};

template <class T>
ClassCase Row(const char* name, const char* base) {
    return {T::GetThisClass(), name, base};
}

// Every class of the library with a run-time class, and its direct base.
const ClassCase kClasses[] = {
    Row<AttuatBase>("AttuatBase", "ModelObject"),
    Row<Attuat>("Attuat", "AttuatBase"),
    Row<DrumColor>("DrumColor", "Attuat"),
    Row<FingerColor>("FingerColor", "Attuat"),
    Row<SplitterColor>("SplitterColor", "Attuat"),
    Row<TriangleColor>("TriangleColor", "Attuat"),
    Row<StepMotorColor>("StepMotorColor", "Attuat"),
    Row<StepMotorDisColor>("StepMotorDisColor", "Attuat"),
    Row<SpeederColor>("SpeederColor", "Attuat"),
    Row<DrumLine>("DrumLine", "Attuat"),
    Row<FingerLine>("FingerLine", "Attuat"),
    Row<SplitterLine>("SplitterLine", "Attuat"),
    Row<TriangleLine>("TriangleLine", "Attuat"),
    Row<StepMotorLine>("StepMotorLine", "Attuat"),
    Row<StepMotorDisLine>("StepMotorDisLine", "Attuat"),
    Row<SpeederLine>("SpeederLine", "Attuat"),
    Row<BlockPlane>("BlockPlane", "ModelObject"),
    Row<PlanePrg>("PlanePrg", "ModelObject"),
    Row<ColorPrg>("ColorPrg", "ModelObject"),
    Row<LinePrg>("LinePrg", "ModelObject"),
    Row<CPatObj>("CPatObj", "ModelObject"),
    Row<CGenDis>("CGenDis", "ModelObject"),
    Row<CShavedDis>("CShavedDis", "ModelObject"),
    Row<HeaderPrg>("HeaderPrg", "ModelObject"),
    Row<Protection>("Protection", "ModelObject"),
    Row<Configuration>("Configuration", "ModelObject"),
};

// Whether `name` is `of` or one of its bases, by the table.
bool IsOrDerives(const std::string& of, const std::string& name) {
    for (std::string cls = of; cls != "ModelObject";) {
        if (cls == name) {
            return true;
        }
        const ClassCase* row = nullptr;
        for (const ClassCase& c : kClasses) {
            row = cls == c.name ? &c : row;
        }
        if (row == nullptr) {
            return false;
        }
        cls = row->base;
    }
    return name == "ModelObject";
}

TEST(RuntimeClassesTest, EveryClassIsNamedChainedAndMadeEmpty) {
    const RuntimeClass* root = ModelObject::GetThisClass();
    EXPECT_STREQ(root->className, "ModelObject");
    EXPECT_EQ(root->baseClass, nullptr);
    EXPECT_EQ(root->CreateObject(), nullptr);

    for (const ClassCase& c : kClasses) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.record->className, c.name);
        ASSERT_NE(c.record->baseClass, nullptr);
        EXPECT_STREQ(c.record->baseClass->className, c.base);
        const std::unique_ptr<ModelObject> made(c.record->CreateObject());
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->GetRuntimeClass(), c.record);
        EXPECT_TRUE(made->IsKindOf(root));
        for (const ClassCase& other : kClasses) {
            EXPECT_EQ(made->IsKindOf(other.record), IsOrDerives(c.name, other.name))
                << "as " << other.name;
        }
    }
}

}  // namespace
}  // namespace knitcfg
