#include "common/object/ObjectFactory.h"
#include "host/core/HostFactory.h"
#include "host/project/HostPhysicsAttribute.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"

#include "DocumentTesting.h"
#include "support/Held.h"
#include "support/RecordingWriter.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

namespace zor::host {
namespace {

using namespace zor::test;

HostPhysicsAttribute& hostLevel(IObject* attribute) {
    return *static_cast<HostPhysicsAttribute*>(static_cast<WObject*>(attribute)->getInterfaceObject());
}

template <typename T>
void randomize(RigidBody3DAttribute<T>& body, std::mt19937_64& random) {
    using Bits = std::conditional_t<std::is_same_v<T, float>, uint32, uint64>;
    const auto number = [&random] { return randomFinite<T, Bits>(random); };
    const auto vector = [&number] { return Vector3<T>{number(), number(), number()}; };
    body.setLinearSpeed(vector());
    body.setMaxLinearSpeed(number());
    body.setLinearAcceleration(vector());
    body.setMaxLinearAcceleration(number());
    body.setAngularSpeed(vector());
    body.setAngularAcceleration(vector());
    body.setMass(number());
    body.setInfiniteMass(random() % 2);
    body.setImmovable(random() % 2);
    body.setRestitutionFactor(number());
    body.setRestitutionCombine(static_cast<uint32>(random() % 4));
    body.setFrictionCoefficient(number());
    body.setAdditionalFriction(number());
    body.setXLock(random() % 2);
    body.setYLock(random() % 2);
    body.setZLock(random() % 2);
    body.setHLoop(random() % 2);
    body.setVLoop(random() % 2);
    body.setExclusionGroup(static_cast<uint32>(random()));
}

// Every variable of an attribute and of its host level, each number in its shortest exact text:
// equal lines mean equal bits.
std::vector<std::string> writtenLines(IObject* attribute) {
    test::Held<test::RecordingWriter> writer;
    EXPECT_TRUE(attribute->write(writer, false, 0));
    return writer->record().linesWithout("isSinglePass");
}

IObject* randomAttribute(const char* typeName, std::mt19937_64& random) {
    IObject* attribute = createObjectByTypeName(String(typeName));
    hostLevel(attribute).setName(String(randomLabel(random).c_str()));
    hostLevel(attribute).setEnabled(random() % 2);
    if (auto* body = dynamic_cast<RigidBody3DAttribute<float>*>(attribute))
        randomize(*body, random);
    else if (auto* body = dynamic_cast<RigidBody3DAttribute<double>*>(attribute))
        randomize(*body, random);
    else if (auto* event = dynamic_cast<EventAttribute*>(attribute)) {
        event->setEventParent(static_cast<uint32>(random()));
        event->setEventString(String(randomLabel(random).c_str()));
    }
    return attribute;
}

TEST(AttributeDocument, RandomAttributesOfEveryClassComeBackBitForBitInEveryFormat) {
    TestApplicationData record(&HostObject::create, &HostPhysicsAttribute::create);
    zor_addObjectAllocator<RigidBody3DAttribute<float>>();
    zor_addObjectAllocator<RigidBody3DAttribute<double>>();
    zor_addObjectAllocator<Collision3DAttribute<float>>();
    zor_addObjectAllocator<Collision3DAttribute<double>>();
    zor_addObjectAllocator<HitTestAttribute>();
    const char* const typeNames[] = {"RigidBody3DAttribute{float}", "RigidBody3DAttribute{double}",
                                     "Collision3DAttribute{float}", "Collision3DAttribute{double}", "HitTestAttribute"};
    std::mt19937_64 random(8);
    Objects written;
    for (int round = 0; round < 40; ++round)
        for (const char* typeName : typeNames)
            written.list.pushBack(randomAttribute(typeName, random));
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        std::string text;
        ASSERT_TRUE(writeObjects(format.format, String("attributes"), written.list, format.typedMode, text));
        expectWellFormed(format.format, text, written.list.size());
        Objects read;
        ASSERT_TRUE(readObjects(format.format, String("attributes"), text, &createObjectByTypeName, read.list));
        ASSERT_EQ(written.list.size(), read.list.size());
        auto it = read.list.begin();
        for (IObject* attribute : written.list) {
            EXPECT_EQ((*it)->getTypeName(), attribute->getTypeName());
            EXPECT_EQ(writtenLines(*it), writtenLines(attribute)) << attribute->getTypeName().c_str();
            ++it;
        }
    }
    EXPECT_EQ("", record.writtenLog());
}

} // namespace
} // namespace zor::host
