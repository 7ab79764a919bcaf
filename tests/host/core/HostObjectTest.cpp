#include "host/core/HostObject.h"

#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"
#include "support/Held.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using Held = test::Held<HostObject>;

TEST(HostObject, TheNameIsAVariableAndCloneAndResetCoverNameAndFlags) {
    Held object;
    VariableReference* name = object->getVariableReference(String("name"));
    ASSERT_TRUE(name != nullptr && name->changeValueString(String("source")));
    name->destroy();
    object->setFlags(0x81);
    IObject* clone = object->clone();
    EXPECT_TRUE(clone->getName() == "source" && clone->getFlags() == 0x81u);
    clone->release();
    object->reset();
    EXPECT_TRUE(object->getName().isEmpty() && object->getFlags() == 0u);
}

TEST(HostObject, HierarchyLinksBothSidesRefusesCyclesAndTheLastReleaseFreesTheChildren) {
    IObject* root = HostObject::create();
    Held middle, leaf, other;
    other->setName(String("other"));
    ASSERT_TRUE(root->addChild(middle) && middle->addChild(leaf) && root->addChild(other));
    EXPECT_EQ(leaf->getRoot(), root);
    EXPECT_EQ(root->findChild(String("other")), other);
    EXPECT_FALSE(other->addChild(leaf)) << "a child has one parent";
    EXPECT_FALSE(leaf->addChild(root) || leaf->addChild(leaf) || leaf->addChild(nullptr));

    // A removed child is released (a leak shows under the sanitizers) and the others move up.
    EXPECT_TRUE(root->removeChild(middle));
    EXPECT_EQ(root->getChild(0), other);
    root->release();
    EXPECT_EQ(other->getParent(), nullptr);
}

// A host object that handles every event, counting them; it may unregister itself meanwhile.
class Listener : public HostObject {
public:
    bool handleEvent(IObject*, IObject*) override {
        if (m_removeFrom != nullptr)
            m_removeFrom->removeEventListener(this);
        return ++m_handled > 0;
    }
    ZOR_DELETING_DESTRUCTOR(Listener)
    int m_handled = 0;
    IObject* m_removeFrom = nullptr;
};

TEST(HostObject, ListenersHearEventsAndMayLeaveWhileTheyHearThem) {
    Held sender, plain;
    test::Held<Listener> first, second;
    ASSERT_TRUE(sender->addEventListener(plain) && sender->addEventListener(first) &&
                sender->addEventListener(second) && !sender->addEventListener(first));
    // The count is of the listeners that handled the event; a plain object answers as its parent.
    first->m_removeFrom = sender;
    EXPECT_EQ(sender->notifyEventListeners(plain, sender), 2u);
    ASSERT_TRUE(second->addChild(plain));
    EXPECT_EQ(sender->notifyEventListeners(plain, sender), 2u);
    EXPECT_TRUE(first->m_handled == 1 && second->m_handled == 3);
}

TEST(VariableReference, ObjectReferencesRetainOrCloneAndReleaseWhatTheyHeld) {
    Held first, second;
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
}

} // namespace
} // namespace zor
