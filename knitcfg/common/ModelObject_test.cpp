#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "knitcfg/common/ModelObject.h"

namespace knitcfg {
namespace {

class Animal : public ModelObject {
    KNITCFG_DECLARE_CLASS(Animal)
};
class Dog : public Animal {
    KNITCFG_DECLARE_CLASS(Dog)
};

}  // namespace

KNITCFG_IMPLEMENT_CLASS(Animal, ModelObject)
KNITCFG_IMPLEMENT_CLASS(Dog, Animal)

namespace {

TEST(ModelObjectTest, RecordsNameBaseKindAndCreation) {
    EXPECT_STREQ(Dog::GetThisClass()->className, "Dog");
    EXPECT_EQ(Dog::GetThisClass()->baseClass, Animal::GetThisClass());
    EXPECT_EQ(Animal::GetThisClass()->baseClass, ModelObject::GetThisClass());

    std::unique_ptr<ModelObject> made(Dog::GetThisClass()->CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRuntimeClass(), Dog::GetThisClass());
    EXPECT_TRUE(made->IsKindOf(Animal::GetThisClass()));
    EXPECT_TRUE(made->IsKindOf(ModelObject::GetThisClass()));
    EXPECT_FALSE(std::unique_ptr<Animal>(Animal::CreateObject())->IsKindOf(Dog::GetThisClass()));
    EXPECT_FALSE(made->IsKindOf(nullptr));
    EXPECT_EQ(ModelObject::GetThisClass()->CreateObject(), nullptr);

    std::ostringstream out;
    made->Dump(out);
    EXPECT_EQ(out.str().rfind("a Dog at ", 0), 0u);
}

}  // namespace
}  // namespace knitcfg
