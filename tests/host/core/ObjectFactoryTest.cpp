#include "common/object/ObjectFactory.h"

#include "common/object/WObject.h"
#include "host/core/HostFactory.h"
#include "host/core/HostObject.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace zor {
namespace {

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
