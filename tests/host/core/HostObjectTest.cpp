#include "host/core/HostObject.h"

#include "common/object/ObjectFactory.h"
#include "common/object/WObject.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"
#include "host/core/HostFactory.h"

#include "support/ExitOutput.h"
#include "support/Held.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

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
    test::TestApplicationData record(&HostObject::create);
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
                  test::TestApplicationData record;
                  record.m_consoleEcho = true;
                  new Widget;
              }),
              "ERROR: assert(appData->m_core != NULL)\n");
}

const GUID_t kGadgetGuid("511efde9-796d-4777-ac79-2caa755ff3cf");

// A template wrapper class: all forms share one identifier and differ by their names; the const
// float form poses as the float one.
template <typename T>
class Gadget : public WObject {
public:
    static constexpr bool kFloat = std::is_same_v<std::remove_const_t<T>, float>;
    Gadget() { initObjectInterface(); }
    ZOR_DELETING_DESTRUCTOR(Gadget)
    const String& getTypeName() const override {
        static const String name(kFloat ? "Gadget{float}" : "Gadget{double}");
        return name;
    }
    const String& getTemplateTypeName() const override {
        static const String name(kFloat ? "float" : "double");
        return name;
    }
    const GUID_t* getGUID() const override { return &kGadgetGuid; }
};

// The type name of a new object from the factory, or "none".
std::string createdTypeName(const GUID_t& guid, const char* templateTypeName) {
    IObject* created = zor_createObjectFromGUIDAndTypeName(guid, String(templateTypeName));
    if (created == nullptr)
        return "none";
    const std::string name = created->getTypeName().c_str();
    created->release();
    return name;
}

TEST(ObjectFactory, CreatesByIdentifierAndTemplateTypeNameAndKeepsTheFirstAllocatorOfAKey) {
    test::TestApplicationData record(&HostObject::create);
    zor_addObjectAllocator<Gadget<float>>();
    zor_addObjectAllocator<Gadget<double>>();
    // A class without a template type is registered under the host object's empty one.
    zor_addObjectAllocator<HostObject>();
    // The first allocator of a key is kept. (The temporary instance each registration makes is
    // released: a leak shows under the sanitizers.)
    zor_addObjectAllocator<Gadget<const float>>();
    EXPECT_EQ(record.m_objectAllocatorsByName.find(String("Gadget{float}"))->m_second,
              &allocateObject<Gadget<float>>);
    EXPECT_EQ(record.m_objectAllocatorsByGUID.find({kGadgetGuid, String("float")})->m_second,
              &allocateObject<Gadget<float>>);
    EXPECT_EQ(record.m_objectAllocatorsByGUID.size(), 3u);

    EXPECT_EQ(createdTypeName(kGadgetGuid, "double"), "Gadget{double}");
    EXPECT_EQ(createdTypeName(kGadgetGuid, "float"), "Gadget{float}");
    EXPECT_EQ(createdTypeName(HostObject::classGuid(), ""), "Object");
    EXPECT_EQ(createdTypeName(kGadgetGuid, "int32_t"), "none");
    EXPECT_EQ(record.writtenLog(), "") << "an absent class is not reported";

    // The host's own factory calls reach the same registrations, by name in registration order.
    IObject* byName = host::createObjectByTypeName(String("Gadget{double}"));
    ASSERT_TRUE(byName != nullptr && byName->getTypeName() == "Gadget{double}");
    byName->release();
    EXPECT_EQ(host::createObjectByTypeName(String("Gadget")), nullptr);
    List<String> names;
    host::registeredTypeNames(names);
    std::string joined;
    for (const String& name : names)
        joined += std::string(name.c_str()) + ";";
    EXPECT_EQ(joined, "Gadget{float};Gadget{double};Object;");
}

TEST(ObjectFactory, WithoutAHostRecordNothingIsRegisteredOrCreated) {
    // Tests that load the module leave its record in place, and the order of tests differs
    // between linkers: this one takes the record away for its own time.
    ApplicationData* const loaded = applicationData();
    setApplicationData(nullptr);
    testing::internal::CaptureStdout();
    zor_addObjectAllocator<HostObject>();
    EXPECT_EQ(
        zor_createObjectFromGUIDAndTypeName(GUID_t("26d5f972-8210-46d8-aaae-d3643cf3ac0f"), String("float")),
        nullptr);
    EXPECT_EQ(zor_createObject(), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARN : Application data is NULL, cannot create object from name Object\n"
              "WARN : Application data is NULL, cannot create object from GUID "
              "26d5f972-8210-46d8-aaae-d3643cf3ac0f. Return NULL\n"
              "WARN : Application data is NULL, cannot create object from name Object. Return NULL\n");
    setApplicationData(loaded);
}

} // namespace
} // namespace zor
