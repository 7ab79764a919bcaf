#include "common/object/WObject.h"

#include "TestHostRecord.h"
#include "common/log/Log.h"
#include "common/object/ObjectFactory.h"
#include "common/variables/VariableReference.h"
#include "host/core/HostObject.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace zor {
namespace {

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

    static int s_alive;

protected:
    ~Widget() { --s_alive; }
};
int Widget::s_alive = 0;

// A wrapper that never gets a host object.
class Hollow : public WObject {
public:
    ZOR_DELETING_DESTRUCTOR(Hollow)
};

TEST(WObject, BindsAHostObjectThatKnowsItsWrapper) {
    test::TestHostRecord record;
    auto* widget = new Widget;
    IObject* host = widget->getInterfaceObject();
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(host->isTypeOf(HostObject::classGuid()));
    EXPECT_EQ(host->getWrapper(), widget);
    EXPECT_EQ(widget->getWrapper(), widget);
    EXPECT_EQ(widget->getReferenceCount(), 0u);
    widget->initObjectInterface();
    EXPECT_EQ(widget->getInterfaceObject(), host) << "a bound wrapper keeps its host object";
    widget->release();
}

TEST(WObject, OwnIdentifierAnswersWithoutTheHostObject) {
    test::TestHostRecord record;
    auto* widget = new Widget;
    const GUID_t unknown("00000000-0000-0000-0000-000000000001");
    EXPECT_TRUE(widget->isTypeOf(kWidgetGuid));
    EXPECT_FALSE(widget->getInterfaceObject()->isTypeOf(kWidgetGuid));
    EXPECT_EQ(widget->castTo(kWidgetGuid), widget);
    // Other identifiers are the host object's answer.
    EXPECT_TRUE(widget->isTypeOf(HostObject::classGuid()));
    EXPECT_EQ(widget->castTo(HostObject::classGuid()), widget->getInterfaceObject());
    EXPECT_FALSE(widget->isTypeOf(unknown));
    EXPECT_EQ(widget->castTo(unknown), nullptr);
    widget->release();
}

TEST(WObject, ForwardsHostOperationsWithTheWrapperAsIdentity) {
    test::TestHostRecord record;
    auto* widget = new Widget;
    auto* other = new Widget;
    IObject* host = widget->getInterfaceObject();

    widget->setName(String("widget"));
    widget->setFlags(6);
    int data = 0;
    widget->setUserData(&data);
    EXPECT_EQ(host->getName(), "widget");
    EXPECT_EQ(widget->getFlags(), 6u);
    EXPECT_EQ(widget->getUserData(), &data);
    EXPECT_EQ(widget->getTypeName(), "Object");
    EXPECT_EQ(widget->getObjectId(), host->getObjectId());

    ASSERT_TRUE(widget->addChild(other));
    EXPECT_EQ(other->getParent(), widget) << "links name the wrapper, not its host object";
    EXPECT_EQ(other->getRoot(), widget);
    EXPECT_TRUE(other->isDescendantOf(widget));
    EXPECT_EQ(widget->findChild(String()), other);
    EXPECT_FALSE(other->addChild(widget));
    EXPECT_EQ(other->getReferenceCount(), 1u) << "the child's own counter holds the parent's reference";

    VariableReference* flags = widget->getVariableReference(String("flags"));
    ASSERT_NE(flags, nullptr);
    EXPECT_TRUE(flags->changeValueUInt8(9));
    EXPECT_EQ(host->getFlags(), 9u);
    flags->destroy();

    EXPECT_TRUE(widget->removeChild(other));
    other->release();
    widget->release();
}

TEST(WObject, LastReleaseEndsTheWrapperAndReleasesItsHostObject) {
    test::TestHostRecord record;
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

// Runs `body` in a child process and returns what it printed before it exited with code 0.
template <typename Body>
std::string outputOfExit(Body body) {
    const std::string path = testing::TempDir() + "zor_wobject_exit.txt";
    EXPECT_EXIT(
        {
            if (std::freopen(path.c_str(), "w", stdout) != nullptr)
                body();
            std::fclose(stdout);
            std::_Exit(3);
        },
        testing::ExitedWithCode(0), "");
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        return "no output";
    char text[512] = {};
    const std::size_t read = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    std::remove(path.c_str());
    return std::string(text, read);
}

TEST(WObjectDeathTest, NoHostObjectEndsTheProcess) {
    EXPECT_EQ(outputOfExit([] { new Widget; }),
              "WARN : Application data is NULL, cannot create object from name Object. Return NULL\n"
              "ERROR: assert(m_interfaceObject != NULL)\n");
    EXPECT_EQ(outputOfExit([] { (new Hollow)->release(); }), "ERROR: assert(m_interfaceObject != NULL)\n");
    EXPECT_EXIT(
        {
            test::TestHostRecord record;
            record.m_core = nullptr;
            new Widget;
            std::_Exit(3);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            test::TestHostRecord record;
            record.m_coreRecord.m_createObject = [] { return static_cast<IObject*>(nullptr); };
            new Widget;
            std::_Exit(3);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace zor
