// The attribute classes as a host gets them: zor_physics.dll loaded beside the reference host's
// modules and started with the host's record, its classes made through the host's factory.

#include "common/object/Identifiers.h"
#include "host/app/HostApplicationData.h"
#include "host/core/HostFactory.h"
#include "support/LoadedPhysicsModule.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

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
        // The level below is the project module's.
        IObject* level = created->castTo(guids::kHostPhysicsAttribute);
        ASSERT_NE(level, nullptr);
        EXPECT_EQ(level->getTypeName(), "PhysicsAttribute");
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
