// What every model class inherits; each class's own record is checked by
// the one table of run-time classes.

#include "knitcfg/common/ModelObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace knitcfg {
namespace {

TEST(ModelObjectTest, RootCreatesNothingAndDumpsItsClass) {
    EXPECT_EQ(ModelObject::GetThisClass()->CreateObject(), nullptr);
    const ModelObject object;
    EXPECT_FALSE(object.IsKindOf(nullptr));
    std::ostringstream out;
    object.Dump(out);
    EXPECT_EQ(out.str().rfind("a ModelObject at ", 0), 0u) << out.str();
}

}  // namespace
}  // namespace knitcfg
