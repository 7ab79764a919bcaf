#include "host/project/HostPhysicsAttribute.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"

#include "DocumentTesting.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

namespace zor::host {
namespace {

using namespace zor::test;

IObject* createAttribute(const String& typeName) {
    if (typeName == "RigidBody3DAttribute{float}")
        return new RigidBody3DAttribute<float>();
    if (typeName == "RigidBody3DAttribute{double}")
        return new RigidBody3DAttribute<double>();
    if (typeName == "Collision3DAttribute{float}")
        return new Collision3DAttribute<float>();
    if (typeName == "Collision3DAttribute{double}")
        return new Collision3DAttribute<double>();
    if (typeName == "HitTestAttribute")
        return new HitTestAttribute();
    return nullptr;
}

HostPhysicsAttribute& hostLevel(IObject* attribute) {
    return *static_cast<HostPhysicsAttribute*>(static_cast<WObject*>(attribute)->getInterfaceObject());
}

// Every member of an attribute and of its host level as bytes, so that equal means equal bits.
class Fingerprint {
public:
    template <typename Value>
    Fingerprint& operator<<(const Value& value) {
        m_bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
        return *this;
    }
    Fingerprint& operator<<(const String& text) {
        m_bytes.append(text.c_str(), text.length() + 1);
        return *this;
    }
    template <typename T>
    Fingerprint& operator<<(const Vector3<T>& vector) {
        return *this << vector.x << vector.y << vector.z;
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

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

template <typename T>
void fingerprint(const RigidBody3DAttribute<T>& body, Fingerprint& out) {
    out << body.getLinearSpeed() << body.getMaxLinearSpeed() << body.getLinearAcceleration()
        << body.getMaxLinearAcceleration() << body.getAngularSpeed() << body.getAngularAcceleration() << body.getMass()
        << body.getInfiniteMass() << body.getImmovable() << body.getRestitutionFactor() << body.getRestitutionCombine()
        << body.getFrictionCoefficient() << body.getAdditionalFriction() << body.getXLock() << body.getYLock()
        << body.getZLock() << body.getHLoop() << body.getVLoop() << body.getExclusionGroup();
}

std::string fingerprint(IObject* attribute) {
    Fingerprint out;
    out << attribute->getTypeName() << hostLevel(attribute).getName() << hostLevel(attribute).isEnabled();
    if (auto* body = dynamic_cast<RigidBody3DAttribute<float>*>(attribute))
        fingerprint(*body, out);
    else if (auto* body = dynamic_cast<RigidBody3DAttribute<double>*>(attribute))
        fingerprint(*body, out);
    else if (auto* event = dynamic_cast<EventAttribute*>(attribute))
        out << event->getEventParent() << event->getEventString();
    return out.bytes();
}

IObject* randomAttribute(const char* typeName, std::mt19937_64& random) {
    IObject* attribute = createAttribute(String(typeName));
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
        ASSERT_TRUE(readObjects(format.format, String("attributes"), text, &createAttribute, read.list));
        ASSERT_EQ(written.list.size(), read.list.size());
        auto it = read.list.begin();
        for (IObject* attribute : written.list) {
            EXPECT_EQ(fingerprint(attribute), fingerprint(*it)) << attribute->getTypeName().c_str();
            ++it;
        }
    }
    EXPECT_EQ("", record.writtenLog());
}

} // namespace
} // namespace zor::host
