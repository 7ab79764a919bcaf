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
    Widget() {
        initObjectInterface();
        ++s_alive;
    }
    ZOR_DELETING_DESTRUCTOR(Widget)
    const GUID_t* getGUID() const override { return &kWidgetGuid; }
    bool isTypeOf(const GUID_t& guid) const override { return isTypeOfClass(guid, kWidgetGuid); }
    IObject* castTo(const GUID_t& guid) override { return castToClass(guid, kWidgetGuid); }

    static inline int s_alive = 0;

protected:
    ~Widget() { --s_alive; }
};

// A wrapper that never gets a host object.
class Hollow : public WObject {
public:
    ZOR_DELETING_DESTRUCTOR(Hollow)
};

TEST(WObject, BindsAHostObjectAndAnswersForItsOwnIdentifier) {
    TestApplicationData record(&HostObject::create);
    auto* widget = new Widget;
    IObject* host = widget->getInterfaceObject();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->getWrapper(), widget);
    widget->initObjectInterface();
    EXPECT_EQ(widget->getInterfaceObject(), host) << "a bound wrapper keeps its host object";

    EXPECT_FALSE(host->isTypeOf(kWidgetGuid));
    EXPECT_EQ(widget->castTo(kWidgetGuid), widget);
    // Other identifiers are the host object's answer.
    EXPECT_EQ(widget->castTo(HostObject::classGuid()), host);
    EXPECT_FALSE(widget->isTypeOf(GUID_t("00000000-0000-0000-0000-000000000001")));

    // Links name the wrapper, not its host object.
    auto* other = new Widget;
    ASSERT_TRUE(widget->addChild(other));
    EXPECT_EQ(other->getParent(), widget);
    EXPECT_EQ(widget->findChild(String()), other);
    EXPECT_FALSE(other->addChild(widget));
    EXPECT_EQ(other->getReferenceCount(), 1u) << "the child's own counter holds the parent's reference";
    EXPECT_TRUE(widget->removeChild(other));
    other->release();
    widget->release();
}

TEST(WObject, LastReleaseEndsTheWrapperAndReleasesItsHostObject) {
    TestApplicationData record(&HostObject::create);
    auto* widget = new Widget;
    IObject* host = widget->getInterfaceObject()->retain();
    EXPECT_EQ(widget->retain(), widget);
    widget->release();
    EXPECT_EQ(Widget::s_alive, 1);
    widget->release();
    EXPECT_EQ(Widget::s_alive, 0);
    EXPECT_EQ(host->getReferenceCount(), 0u) << "the wrapper's reference was dropped";
    host->release();
}

// Makes a widget under a record whose core module creates host objects with `create` (without
// one, the record has no core module record), echoing the log on the console.
void widgetUnder(IObject* (*create)()) {
    TestApplicationData record(create);
    record.m_consoleEcho = true;
    new Widget;
}

TEST(WObjectDeathTest, NoHostObjectEndsTheProcess) {
    const std::string assertion = "ERROR: assert(m_interfaceObject != NULL)\n";
    EXPECT_EQ(test::outputOfExit([] { new Widget; }),
              "WARN : Application data is NULL, cannot create object from name Object. Return NULL\n" +
                  assertion);
    EXPECT_EQ(test::outputOfExit([] { (new Hollow)->release(); }), assertion);
    EXPECT_EQ(test::outputOfExit([] { widgetUnder(nullptr); }), "ERROR: assert(appData->m_core != NULL)\n");
    EXPECT_EQ(test::outputOfExit([] { widgetUnder([]() -> IObject* { return nullptr; }); }), assertion);
}

} // namespace
} // namespace zor
