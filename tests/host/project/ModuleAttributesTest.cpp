// The attribute classes as a host gets them: zor_physics.dll loaded beside the reference host's
// modules and started with the host's record, its classes made through the host's factory.

#include "common/application/Libraries.h"
#include "common/object/Identifiers.h"
#include "common/platform/Platform.h"
#include "host/app/HostApplicationData.h"
#include "host/core/HostFactory.h"
#include "support/LoadedPhysicsModule.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace zor {
namespace {

// What an object writes to a single-pass writer.
std::vector<std::string> writtenLines(IObject* object) {
    auto* writer = new test::RecordingWriter();
    EXPECT_TRUE(object->write(writer, false, 0));
    const std::vector<std::string> lines = writer->record().linesWithout("isSinglePass");
    writer->release();
    return lines;
}

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

    // Set through a reader and compared by what they write: the test knows the class only by name.
    auto* reader = new test::RecordingReader();
    reader->set("name", "ball");
    reader->set("mass", "3");
    reader->set("linearSpeed.y", "-2");
    ASSERT_TRUE(byName->read(reader));
    reader->release();
    IObject* clone = byName->clone();
    ASSERT_NE(clone, byName);
    EXPECT_EQ(clone->getTypeName(), "RigidBody3DAttribute{double}");
    EXPECT_NE(clone->castTo(guids::kHostPhysicsAttribute), byName->castTo(guids::kHostPhysicsAttribute));
    const std::vector<std::string> written = writtenLines(byName);
    EXPECT_EQ(writtenLines(clone), written);
    ASSERT_GE(written.size(), 10u);
    EXPECT_EQ(written[0], "writeString name=ball asAttribute=0");
    EXPECT_EQ(written[4], "writeDouble y=-2 asAttribute=1");
    EXPECT_NE(std::find(written.begin(), written.end(), "writeDouble mass=3 asAttribute=0"), written.end());

    clone->release();
    byGuid->release();
    byName->release();
    record->runDeinitializeCallbacks();
    setApplicationData(nullptr);
}

} // namespace
} // namespace zor
