#include "common/object/ObjectFactory.h"

#include "common/object/WObject.h"
#include "host/core/HostObject.h"

#include "TestHostRecord.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

const GUID_t kGadgetGuid("511efde9-796d-4777-ac79-2caa755ff3cf");

template <typename T>
struct NumberName;
template <>
struct NumberName<float> {
    static constexpr const char* type = "Gadget{float}";
    static constexpr const char* number = "float";
    static constexpr int32 code = 10;
};
template <>
struct NumberName<double> {
    static constexpr const char* type = "Gadget{double}";
    static constexpr const char* number = "double";
    static constexpr int32 code = 11;
};

// A template wrapper class: both forms share one identifier and differ by their names.
template <typename T>
class Gadget : public WObject {
public:
    Gadget() {
        initObjectInterface();
        ++s_alive;
    }
    ZOR_DELETING_DESTRUCTOR(Gadget)
    const String& getTypeName() const override {
        static const String name(NumberName<T>::type);
        return name;
    }
    const String& getTemplateTypeName() const override {
        static const String name(NumberName<T>::number);
        return name;
    }
    int32 getTemplateType() const override { return NumberName<T>::code; }
    uint32 getTemplateTypeSize() const override { return sizeof(T); }
    const GUID_t* getGUID() const override { return &kGadgetGuid; }

    static int s_alive;

protected:
    ~Gadget() { --s_alive; }
};
template <typename T>
int Gadget<T>::s_alive = 0;

// Registers under the same names as Gadget<float>, with an allocator of its own.
class Impostor : public Gadget<float> {
public:
    static IObject* allocateObject() {
        ++s_allocated;
        return new Impostor;
    }
    ZOR_DELETING_DESTRUCTOR(Impostor)
    static int s_allocated;
};
int Impostor::s_allocated = 0;

TEST(ObjectFactory, CreatesByIdentifierAndTemplateTypeName) {
    test::TestHostRecord record;
    zor_addObjectAllocator<Gadget<float>>();
    zor_addObjectAllocator<Gadget<double>>();
    EXPECT_EQ(Gadget<float>::s_alive, 0) << "the temporary instance is released";
    EXPECT_EQ(record.m_objectAllocatorsByName.size(), 2u);
    EXPECT_EQ(record.m_objectAllocatorsByGUID.size(), 2u);

    IObject* created = zor_createObjectFromGUIDAndTypeName(kGadgetGuid, String("double"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->getTypeName(), "Gadget{double}");
    EXPECT_EQ(created->getTemplateType(), 11);
    EXPECT_EQ(created->getReferenceCount(), 0u);
    EXPECT_EQ(Gadget<double>::s_alive, 1);
    created->release();

    EXPECT_EQ(zor_createObjectFromGUIDAndTypeName(kGadgetGuid, String("int32_t")), nullptr);
    EXPECT_EQ(zor_createObjectFromGUIDAndTypeName(GUID_t(), String("float")), nullptr);
    EXPECT_EQ(record.writtenLog(), "") << "an absent class is not reported";
}

TEST(ObjectFactory, ARegisteredKeyKeepsItsFirstAllocator) {
    test::TestHostRecord record;
    zor_addObjectAllocator<Gadget<float>>();
    zor_addObjectAllocator<Impostor>();
    EXPECT_EQ(Impostor::s_allocated, 1) << "the second class was instantiated once to read its names";
    EXPECT_EQ(record.m_objectAllocatorsByName.size(), 1u);
    EXPECT_EQ(record.m_objectAllocatorsByName.find(String("Gadget{float}"))->m_second,
              &allocateObject<Gadget<float>>);
    EXPECT_EQ(record.m_objectAllocatorsByGUID.size(), 1u);

    IObject* created = zor_createObjectFromGUIDAndTypeName(kGadgetGuid, String("float"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(Impostor::s_allocated, 1);
    created->release();
}

TEST(ObjectFactory, NonTemplateClassesTakeTheHostObjectsTemplateTypeName) {
    test::TestHostRecord record;
    zor_addObjectAllocator<HostObject>();
    EXPECT_EQ(record.m_objectAllocatorsByName.find(String("Object"))->m_second, &allocateObject<HostObject>);
    IObject* created = zor_createObjectFromGUIDAndTypeName(HostObject::classGuid(), String());
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->getTypeName(), "Object");
    created->release();
}

TEST(ObjectFactory, WithoutAHostRecordNothingIsRegisteredOrCreated) {
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
}

} // namespace
} // namespace zor
