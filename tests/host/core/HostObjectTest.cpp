#include "host/core/HostObject.h"

#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

// Owns one reference on a host object for the length of a test.
struct Held {
    Held() : object(HostObject::create()) {}
    explicit Held(const char* name) : Held() { object->setName(String(name)); }
    ~Held() { object->release(); }
    IObject* operator->() const { return object; }
    IObject* object;
};

// A host object that counts the events it handles and may answer them.
class Listener : public HostObject {
public:
    bool handleEvent(IObject* event, IObject* sender) override {
        ++m_handled;
        m_lastEvent = event;
        m_lastSender = sender;
        if (m_removeFrom != nullptr)
            m_removeFrom->removeEventListener(this);
        return m_answer;
    }
    ZOR_DELETING_DESTRUCTOR(Listener)

    int m_handled = 0;
    bool m_answer = true;
    IObject* m_lastEvent = nullptr;
    IObject* m_lastSender = nullptr;
    IObject* m_removeFrom = nullptr;
};

TEST(HostObject, AnswersForItsOwnClassOnly) {
    Held object;
    const GUID_t other("36c48e50-6e82-44b7-a832-af920aa0b834");
    EXPECT_EQ(object->getTypeName(), "Object");
    EXPECT_TRUE(object->getTemplateTypeName().isEmpty());
    EXPECT_EQ(object->getTemplateType(), 0);
    EXPECT_EQ(object->getTemplateTypeSize(), 0u);
    EXPECT_EQ(*object->getGUID(), GUID_t("7403efc9-e3f9-4ae3-ab4c-0767369d5807"));
    EXPECT_TRUE(object->isTypeOf(GUID_t("7403efc9-e3f9-4ae3-ab4c-0767369d5807")));
    EXPECT_FALSE(object->isTypeOf(other));
    EXPECT_EQ(object->castTo(HostObject::classGuid()), object.object);
    EXPECT_EQ(object->castTo(other), nullptr);
    EXPECT_EQ(object->getWrapper(), object.object);
    Held second;
    EXPECT_GT(second->getObjectId(), object->getObjectId());
}

TEST(HostObject, CountsReferencesAndReleasesItsChildrenWhenItEnds) {
    IObject* parent = HostObject::create();
    Held child;
    EXPECT_EQ(parent->getReferenceCount(), 0u);
    EXPECT_EQ(parent->retain(), parent);
    EXPECT_EQ(parent->getReferenceCount(), 1u);
    parent->release();
    EXPECT_EQ(parent->getReferenceCount(), 0u);

    ASSERT_TRUE(parent->addChild(child.object));
    EXPECT_EQ(child->getReferenceCount(), 1u);
    parent->release();
    EXPECT_EQ(child->getReferenceCount(), 0u);
    EXPECT_EQ(child->getParent(), nullptr);
}

TEST(HostObject, CopyCloneAndResetCoverNameAndFlagsOnly) {
    Held source("source");
    source->setFlags(0x81);
    int data = 0;
    source->setUserData(&data);
    Held target("target");
    target->copy(source.object);
    EXPECT_EQ(target->getName(), "source");
    EXPECT_EQ(target->getFlags(), 0x81u);
    EXPECT_EQ(target->getUserData(), nullptr);

    IObject* clone = source->clone();
    EXPECT_NE(clone, source.object);
    EXPECT_EQ(clone->getName(), "source");
    EXPECT_EQ(clone->getFlags(), 0x81u);
    EXPECT_NE(clone->getObjectId(), source->getObjectId());
    EXPECT_EQ(clone->getReferenceCount(), 0u);
    clone->release();

    source->reset();
    EXPECT_TRUE(source->getName().isEmpty());
    EXPECT_EQ(source->getFlags(), 0u);
    EXPECT_EQ(source->getUserData(), &data);
}

TEST(HostObject, HierarchyLinksBothSidesAndRefusesCycles) {
    Held root("root"), middle("middle"), leaf("leaf"), other("other");
    ASSERT_TRUE(root->addChild(middle.object));
    ASSERT_TRUE(middle->addChild(leaf.object));
    ASSERT_TRUE(root->addChild(other.object));

    EXPECT_EQ(leaf->getParent(), middle.object);
    EXPECT_EQ(leaf->getRoot(), root.object);
    EXPECT_TRUE(leaf->isDescendantOf(root.object));
    EXPECT_FALSE(root->isDescendantOf(leaf.object));
    EXPECT_EQ(root->getChildCount(), 2u);
    EXPECT_EQ(root->getChild(1), other.object);
    EXPECT_EQ(root->getChild(2), nullptr);
    EXPECT_EQ(root->findChild(String("other")), other.object);
    EXPECT_EQ(root->findChild(String("leaf")), nullptr);

    EXPECT_FALSE(other->addChild(leaf.object)) << "a child has one parent";
    EXPECT_FALSE(leaf->addChild(root.object)) << "an ancestor cannot become a child";
    EXPECT_FALSE(leaf->addChild(leaf.object));
    EXPECT_FALSE(leaf->addChild(nullptr));

    EXPECT_TRUE(root->removeChild(middle.object));
    EXPECT_FALSE(root->removeChild(middle.object));
    EXPECT_EQ(middle->getParent(), nullptr);
    EXPECT_EQ(middle->getReferenceCount(), 0u);
    EXPECT_EQ(leaf->getRoot(), middle.object);
    EXPECT_EQ(root->getChildCount(), 1u);
    EXPECT_EQ(root->getChild(0), other.object);
}

TEST(HostObject, VariablesAreReachedByNameThroughReferences) {
    Held object("before");
    ASSERT_EQ(object->getVariableCount(), 2u);
    EXPECT_STREQ(object->getVariableName(0), "name");
    EXPECT_STREQ(object->getVariableName(1), "flags");
    EXPECT_EQ(object->getVariableName(2), nullptr);
    EXPECT_EQ(object->getVariableType(String("name")), VariableTypeString);
    EXPECT_EQ(object->getVariableType(String("flags")), VariableTypeUInt32);
    EXPECT_EQ(object->getVariableType(String("size")), 0);
    EXPECT_EQ(object->getVariableReference(String("size")), nullptr);

    VariableReference* name = object->getVariableReference(String("name"));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->changeValueString(String("after")));
    EXPECT_EQ(object->getName(), "after");
    name->destroy();

    VariableReference* flags = object->getVariableReference(String("flags"));
    ASSERT_NE(flags, nullptr);
    EXPECT_TRUE(flags->changeValueDouble(3.9));
    EXPECT_EQ(object->getFlags(), 3u);
    flags->destroy();
}

TEST(HostObject, ListenersHearEventsAndHandlingRisesToTheParent) {
    Held parent, child, event, sender;
    auto* first = new Listener;
    auto* second = new Listener;
    second->m_answer = false;

    EXPECT_TRUE(child->addEventListener(first));
    EXPECT_TRUE(child->addEventListener(second));
    EXPECT_FALSE(child->addEventListener(first));
    EXPECT_EQ(child->notifyEventListeners(event.object, sender.object), 1u);
    EXPECT_EQ(first->m_handled, 1);
    EXPECT_EQ(second->m_handled, 1);
    EXPECT_EQ(first->m_lastEvent, event.object);
    EXPECT_EQ(first->m_lastSender, sender.object);

    // A listener that unregisters while it is notified does not disturb the others.
    first->m_removeFrom = child.object;
    EXPECT_EQ(child->notifyEventListeners(event.object, sender.object), 1u);
    EXPECT_EQ(second->m_handled, 2);
    EXPECT_FALSE(child->removeEventListener(first));
    EXPECT_EQ(child->notifyEventListeners(event.object, sender.object), 0u);
    EXPECT_EQ(first->m_handled, 2);

    // The base object has no reaction of its own: its parent decides.
    EXPECT_FALSE(child->handleEvent(event.object, sender.object));
    ASSERT_TRUE(first->addChild(child.object));
    EXPECT_TRUE(child->handleEvent(event.object, sender.object));
    EXPECT_EQ(first->m_handled, 3);
    EXPECT_TRUE(first->removeChild(child.object));

    EXPECT_TRUE(child->removeEventListener(second));
    first->release();
    second->release();
}

} // namespace
} // namespace zor
