#include "common/object/WObject.h"

#include "host/core/HostObject.h"
#include "support/ExitOutput.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::TestApplicationData;

const GUID_t kWidgetGuid("3a4f1e2d-5b6c-4d7e-8f90-a1b2c3d4e5f6");

// A wrapper class as the module's classes are: it answers for its own identifier.
class Widget : public WObject {
public:
    Widget() { initObjectInterface(); }
    ZOR_DELETING_DESTRUCTOR(Widget)
    const GUID_t* getGUID() const override { return &kWidgetGuid; }
    bool isTypeOf(const GUID_t& guid) const override { return isTypeOfClass(guid, kWidgetGuid); }
    IObject* castTo(const GUID_t& guid) override { return castToClass(guid, kWidgetGuid); }
};

// A wrapper that never gets a host object.
class Hollow : public WObject {
public:
    ZOR_DELETING_DESTRUCTOR(Hollow)
};

TEST(WObject, BindsAHostObjectAnswersForItsOwnIdentifierAndReleasesItAtTheEnd) {
    TestApplicationData record(&HostObject::create);
    auto* widget = new Widget;
    IObject* host = widget->getInterfaceObject();
    ASSERT_TRUE(host != nullptr && host->getWrapper() == widget);
    widget->initObjectInterface();
    EXPECT_EQ(widget->getInterfaceObject(), host) << "a bound wrapper keeps its host object";

    EXPECT_FALSE(host->isTypeOf(kWidgetGuid));
    EXPECT_EQ(widget->castTo(kWidgetGuid), widget);
    // Other identifiers are the host object's answer.
    EXPECT_EQ(widget->castTo(HostObject::classGuid()), host);
    EXPECT_TRUE(widget->isTypeOf(HostObject::classGuid()));

    // Links name the wrapper, not its host object.
    auto* other = new Widget;
    ASSERT_TRUE(widget->addChild(other));
    EXPECT_EQ(other->getParent(), widget);
    EXPECT_EQ(widget->findChild(String()), other);
    EXPECT_FALSE(other->addChild(widget));
    EXPECT_EQ(other->getReferenceCount(), 1u) << "the child's own counter holds the parent's reference";
    EXPECT_TRUE(widget->removeChild(other));
    other->release();

    // Only the last release ends the wrapper, which drops its reference on the host object.
    host->retain();
    EXPECT_EQ(widget->retain(), widget);
    widget->release();
    EXPECT_EQ(host->getReferenceCount(), 1u);
    widget->release();
    EXPECT_EQ(host->getReferenceCount(), 0u);
    host->release();
}

TEST(WObjectDeathTest, NoHostObjectEndsTheProcess) {
    const std::string assertion = "ERROR: assert(m_interfaceObject != NULL)\n";
    EXPECT_EQ(test::outputOfExit([] { new Widget; }),
              "WARN : Application data is NULL, cannot create object from name Object. Return NULL\n" +
                  assertion);
    EXPECT_EQ(test::outputOfExit([] { (new Hollow)->release(); }), assertion);
    // A host record without a core module record.
    EXPECT_EQ(test::outputOfExit([] {
                  TestApplicationData record;
                  record.m_consoleEcho = true;
                  new Widget;
              }),
              "ERROR: assert(appData->m_core != NULL)\n");
}

} // namespace
} // namespace zor
