#include "physics/attributes/HitTestEvent.h"

#include "common/framework/IElement.h"
#include "host/core/HostObject.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

// An element that is nothing but a counted host object.
class BareElement : public HostObjectOf<IElement> {
public:
    ZOR_DELETING_DESTRUCTOR(BareElement)
    IElement* getAncestor(uint32) override { return nullptr; }
    IObject* getPhysicsAttribute(uint32) override { return nullptr; }
    IElementState* getState() override { return nullptr; }
    void* getTransformRecord() override { return nullptr; }
    IMesh* getMesh() override { return nullptr; }
    void* getShapeData() override { return nullptr; }
    void* transformMeshVertices(const void*) override { return nullptr; }
    IElementGeometry* getGeometry() override { return nullptr; }
    const void* getSeparatorThickness() override { return nullptr; }
    IDockingLayout* getDockingLayout() override { return nullptr; }
};

TEST(HitTestEvent, HoldsBothElementsAndACopyOfTheTextUntilItIsDestroyed) {
    auto* element = new BareElement;
    auto* target = new BareElement;
    String text("open");
    auto* event = new HitTestEvent(element, text, 0, target, false);
    text.assign("closed", 6);
    EXPECT_EQ(event->getElement(), element);
    EXPECT_EQ(event->getTarget(), target);
    EXPECT_EQ(event->getEventString(), "open");
    EXPECT_EQ(event->getSeparatorIndex(), 0u);
    EXPECT_FALSE(event->isPassive());
    EXPECT_EQ(element->getReferenceCount(), 1u);
    EXPECT_EQ(target->getReferenceCount(), 1u);
    event->destroy();
    EXPECT_EQ(element->getReferenceCount(), 0u);
    EXPECT_EQ(target->getReferenceCount(), 0u);

    // Without a target only the element is held; the deleting destructor ends it as destroy does.
    event = new HitTestEvent(element, String("V_SEPARATOR_1"), 2, nullptr, true);
    EXPECT_EQ(event->getTarget(), nullptr);
    EXPECT_EQ(event->getSeparatorIndex(), 2u);
    EXPECT_TRUE(event->isPassive());
    EXPECT_EQ(element->getReferenceCount(), 1u);
    event->deletingDestructor(1);
    EXPECT_EQ(element->getReferenceCount(), 0u);
    EXPECT_EQ(target->getReferenceCount(), 0u);
    element->release();
    target->release();
}

} // namespace
} // namespace zor::test
