#include "host/core/HostObject.h"

#include "common/variables/VariableReference.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

// Owns one reference on a named host object for the length of a test.
struct Held {
    explicit Held(const char* name = "") : object(HostObject::create()) { object->setName(String(name)); }
    ~Held() { object->release(); }
    IObject* operator->() const { return object; }
    IObject* object;
};

// A host object that counts the events it handles, gives its answer, and may unregister itself.
class Listener : public HostObject {
public:
    bool handleEvent(IObject*, IObject*) override {
        ++m_handled;
        if (m_removeFrom != nullptr)
            m_removeFrom->removeEventListener(this);
        return m_answer;
    }
    ZOR_DELETING_DESTRUCTOR(Listener)

    int m_handled = 0;
    bool m_answer = true;
    IObject* m_removeFrom = nullptr;
};

TEST(HostObject, CloneAndResetCoverNameAndFlagsAndTheLastReleaseFreesTheChildren) {
    Held object("source");
    EXPECT_EQ(object->castTo(GUID_t("7403efc9-e3f9-4ae3-ab4c-0767369d5807")), object.object);
    int data = 0;
    object->setFlags(0x81);
    object->setUserData(&data);
    IObject* clone = object->clone();
    EXPECT_EQ(clone->getName(), "source");
    EXPECT_EQ(clone->getFlags(), 0x81u);
    EXPECT_EQ(clone->getUserData(), nullptr);
    EXPECT_GT(clone->getObjectId(), object->getObjectId());
    object->reset();
    EXPECT_TRUE(object->getName().isEmpty());
    EXPECT_EQ(object->getFlags(), 0u);
    EXPECT_EQ(object->getUserData(), &data);

    ASSERT_TRUE(clone->addChild(object.object));
    EXPECT_EQ(object->getReferenceCount(), 1u);
    clone->release();
    EXPECT_EQ(object->getReferenceCount(), 0u);
    EXPECT_EQ(object->getParent(), nullptr);
}

TEST(HostObject, HierarchyLinksBothSidesAndRefusesCycles) {
    Held root("root"), middle("middle"), leaf("leaf"), other("other");
    ASSERT_TRUE(root->addChild(middle.object) && middle->addChild(leaf.object) &&
                root->addChild(other.object));
    EXPECT_EQ(leaf->getRoot(), root.object);
    EXPECT_FALSE(root->isDescendantOf(leaf.object));
    EXPECT_EQ(root->findChild(String("other")), other.object);
    EXPECT_EQ(root->findChild(String("leaf")), nullptr) << "only direct children are searched";
    EXPECT_FALSE(other->addChild(leaf.object)) << "a child has one parent";
    EXPECT_FALSE(leaf->addChild(root.object)) << "an ancestor cannot become a child";
    EXPECT_FALSE(leaf->addChild(leaf.object) || leaf->addChild(nullptr));

    EXPECT_TRUE(root->removeChild(middle.object));
    EXPECT_FALSE(root->removeChild(middle.object));
    EXPECT_EQ(middle->getReferenceCount(), 0u);
    EXPECT_EQ(leaf->getRoot(), middle.object);
    EXPECT_EQ(root->getChild(0), other.object);
    EXPECT_EQ(root->getChild(1), nullptr);
}

TEST(HostObject, VariablesAreReachedByNameThroughReferences) {
    Held object;
    EXPECT_EQ(object->getVariableReference(String("size")), nullptr);
    VariableReference* name = object->getVariableReference(String("name"));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->changeValueString(String("after")));
    EXPECT_EQ(object->getName(), "after");
    name->destroy();
}

TEST(HostObject, ListenersHearEventsAndHandlingRisesToTheParent) {
    Held child, event;
    auto* first = new Listener;
    auto* second = new Listener;
    second->m_answer = false;
    EXPECT_TRUE(child->addEventListener(first) && child->addEventListener(second));
    EXPECT_FALSE(child->addEventListener(first));
    EXPECT_EQ(child->notifyEventListeners(event.object, child.object), 1u)
        << "the listeners that answered true";

    // A listener that unregisters while it is notified does not disturb the others.
    first->m_removeFrom = child.object;
    EXPECT_EQ(child->notifyEventListeners(event.object, child.object), 1u);
    EXPECT_EQ(child->notifyEventListeners(event.object, child.object), 0u);
    EXPECT_EQ(first->m_handled, 2);
    EXPECT_EQ(second->m_handled, 3);

    // The base object has no reaction of its own: its parent decides.
    EXPECT_FALSE(child->handleEvent(event.object, child.object));
    ASSERT_TRUE(first->addChild(child.object));
    EXPECT_TRUE(child->handleEvent(event.object, child.object));
    EXPECT_EQ(first->m_handled, 3);
    EXPECT_TRUE(first->removeChild(child.object) && child->removeEventListener(second));
    first->release();
    second->release();
}

} // namespace
} // namespace zor
