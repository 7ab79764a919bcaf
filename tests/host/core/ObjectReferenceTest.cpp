#include "common/variables/VariableReference.h"

#include "common/variables/VariableType.h"
#include "host/core/HostObject.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(VariableReference, ObjectReferencesRetainOrCloneAndReleaseWhatTheyHeld) {
    IObject* first = HostObject::create();
    IObject* second = HostObject::create();
    second->setName(String("second"));
    IObject* member = first->retain();
    VariableReference* reference = new VariableReference(VariableTypeObjectReference, &member);

    EXPECT_TRUE(reference->changeValueObjectReference(second, false));
    EXPECT_EQ(member, second);
    EXPECT_EQ(first->getReferenceCount(), 0u);
    EXPECT_EQ(second->getReferenceCount(), 1u);

    EXPECT_TRUE(reference->changeValueObjectReference(second, true));
    ASSERT_NE(member, second);
    EXPECT_EQ(member->getName(), "second");
    EXPECT_EQ(member->getReferenceCount(), 0u) << "the clone belongs to the member alone";
    EXPECT_EQ(second->getReferenceCount(), 0u);

    // A null object releases the held one (here the clone, which ends) and stores null.
    EXPECT_TRUE(reference->changeValueObjectReference(nullptr, false));
    EXPECT_EQ(member, nullptr);
    reference->destroy();
    first->release();
    second->release();
}

} // namespace
} // namespace zor
