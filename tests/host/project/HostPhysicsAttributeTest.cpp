#include "host/project/HostPhysicsAttribute.h"

#include "common/object/Identifiers.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"
#include "host/app/HostApplicationData.h"
#include "host/core/HostFactory.h"
#include "support/LoadedPhysicsModule.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

HostPhysicsAttribute* newLevel() {
    return static_cast<HostPhysicsAttribute*>(HostPhysicsAttribute::create());
}

TEST(HostPhysicsAttribute, IsAHostObjectThatKeepsTheEnabledStateOfEveryAttribute) {
    HostPhysicsAttribute* level = newLevel();
    EXPECT_EQ(level->getTypeName(), "PhysicsAttribute");
    EXPECT_EQ(*level->getGUID(), guids::kHostPhysicsAttribute);
    EXPECT_TRUE(level->isTypeOf(guids::kHostPhysicsAttribute));
    EXPECT_TRUE(level->isTypeOf(guids::kHostObject));
    EXPECT_EQ(level->castTo(guids::kHostObject), level);
    EXPECT_EQ(level->castTo(guids::kRigidBody3DAttribute), nullptr);
    EXPECT_TRUE(level->isEnabled());
    EXPECT_EQ(static_cast<HostPhysicsAttributeReserved*>(level->getPhysicsAttributeReserved())->getOwner(),
              level);

    // Named, flagged and in a hierarchy, for the copies below.
    level->setName(String("grip"));
    level->setFlags(6);
    HostObject* parent = new HostObject;
    ASSERT_TRUE(parent->addChild(level));

    // Its variables are the host object's and its state, which the host can change by name.
    EXPECT_EQ(level->getVariableCount(), 3u);
    EXPECT_STREQ(level->getVariableName(2), "enabled");
    EXPECT_EQ(level->getVariableName(3), nullptr);
    EXPECT_EQ(level->getVariableType(String("enabled")), VariableTypeBool);
    EXPECT_EQ(level->getVariableType(String("name")), VariableTypeString);
    VariableReference* enabled = level->getVariableReference(String("enabled"));
    ASSERT_NE(enabled, nullptr);
    EXPECT_TRUE(enabled->changeValueInt32(7));
    EXPECT_TRUE(level->isEnabled());
    EXPECT_TRUE(enabled->changeValueBool(false));
    EXPECT_FALSE(level->isEnabled());
    enabled->destroy();

    // Copies take name, flags and state from another level, but nothing from an object of
    // another kind, or from nothing; a reset clears all three.
    HostPhysicsAttribute* copied = newLevel();
    copied->copy(level);
    copied->copy(parent);
    copied->copy(nullptr);
    EXPECT_TRUE(copied->getName() == "grip" && copied->getFlags() == 6u && !copied->isEnabled());
    EXPECT_EQ(copied->getParent(), nullptr) << "links stay";
    copied->reset();
    EXPECT_TRUE(copied->getName().isEmpty() && copied->getFlags() == 0u && copied->isEnabled());
    copied->release();
    parent->release();
    EXPECT_EQ(level->getReferenceCount(), 0u) << "the parent's reference is gone";
    level->release();
}

// The attribute classes as a host gets them: zor_physics.dll loaded beside the reference host's
// modules and started with the host's record, its classes made through the host's factory.
TEST(ModuleAttributes, TheHostFactoryMakesTheRegisteredAttributeClassesByNameAndByIdentifier) {
    HostApplicationData* record = test::startLoadedPhysicsModule();
    ASSERT_NE(record, nullptr);

    List<String> names;
    host::registeredTypeNames(names);
    std::string joined;
    for (const String& name : names)
        joined += std::string(name.c_str()) + ";";
    // The module's attributes, in the framework's order (after the host's own classes).
    const std::string attributes =
        "HitTestAttribute;Collision3DAttribute{float};Collision3DAttribute{double};"
        "RigidBody3DAttribute{float};RigidBody3DAttribute{double};";
    EXPECT_NE(joined.find(attributes), std::string::npos) << joined;

    IObject* byName = host::createObjectByTypeName(String("RigidBody3DAttribute{double}"));
    IObject* byGuid = host::createObjectByGuid(guids::kRigidBody3DAttribute, String("double"));
    ASSERT_TRUE(byName != nullptr && byGuid != nullptr);
    for (IObject* created : {byName, byGuid}) {
        EXPECT_EQ(created->getTypeName(), "RigidBody3DAttribute{double}");
        EXPECT_EQ(created->getTemplateTypeName(), "double");
        EXPECT_EQ(created->castTo(guids::kRigidBody3DAttribute), created);
        // The level below is the project module's (its name and identifier are pinned above).
        IObject* level = created->castTo(guids::kHostPhysicsAttribute);
        ASSERT_NE(level, nullptr);
        EXPECT_EQ(level->getWrapper(), created);
    }
    EXPECT_EQ(host::createObjectByGuid(guids::kRigidBody3DAttribute, String("int32_t")), nullptr);

    byGuid->release();
    byName->release();
    record->runDeinitializeCallbacks();
    setApplicationData(nullptr);
}

} // namespace
} // namespace zor
