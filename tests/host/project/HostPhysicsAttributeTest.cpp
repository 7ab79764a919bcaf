#include "host/project/HostPhysicsAttribute.h"

#include "common/object/Identifiers.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using test::RecordingReader;
using test::RecordingWriter;

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
    EXPECT_EQ(level->getPhysicsAttributeReserved(), level->getPhysicsAttributeReserved());
    EXPECT_EQ(static_cast<HostPhysicsAttributeReserved*>(level->getPhysicsAttributeReserved())->getOwner(),
              level);

    // A host object like any other: named, flagged, in a hierarchy.
    level->setName(String("grip"));
    level->setFlags(6);
    HostObject* parent = new HostObject;
    ASSERT_TRUE(parent->addChild(level));
    EXPECT_EQ(parent->findChild(String("grip")), level);

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

    // Copies take name, flags and state from another level.
    HostPhysicsAttribute* copied = newLevel();
    copied->copy(level);
    EXPECT_EQ(copied->getName(), "grip");
    EXPECT_EQ(copied->getFlags(), 6u);
    EXPECT_FALSE(copied->isEnabled());
    EXPECT_EQ(copied->getParent(), nullptr) << "links stay";
    auto* clone = static_cast<HostPhysicsAttribute*>(level->clone());
    EXPECT_NE(clone, level);
    EXPECT_EQ(clone->getName(), "grip");
    EXPECT_FALSE(clone->isEnabled());
    // Nothing comes from an object of another kind, or from nothing.
    copied->copy(parent);
    copied->copy(nullptr);
    EXPECT_EQ(copied->getName(), "grip");

    copied->reset();
    EXPECT_EQ(copied->getName(), "");
    EXPECT_EQ(copied->getFlags(), 0u);
    EXPECT_TRUE(copied->isEnabled());

    clone->release();
    copied->release();
    parent->release();
    EXPECT_EQ(level->getReferenceCount(), 0u) << "the parent's reference is gone";
    level->release();
}

TEST(HostPhysicsAttribute, ReadsAndWritesItsNameAndState) {
    HostPhysicsAttribute* level = newLevel();
    level->setName(String("grip"));
    level->setEnabled(false);
    using Lines = std::vector<std::string>;
    const Lines untyped{"writeString name=grip asAttribute=0", "writeBool enabled=0 asAttribute=0"};
    const struct {
        RecordingWriter::Passes passes;
        bool typed;
        Lines lines;
    } cases[] = {{RecordingWriter::Passes::Single, false, untyped},
                 {RecordingWriter::Passes::Two, false, untyped},
                 {RecordingWriter::Passes::Single, true, {"writeStringTyped name=grip context=4",
                                                          "writeBoolTyped enabled=0 context=4"}}};
    for (const auto& c : cases) {
        auto* writer = new RecordingWriter(c.passes);
        EXPECT_TRUE(level->write(writer, c.typed, c.typed ? 4 : 0));
        EXPECT_EQ(writer->record().linesWithout("isSinglePass"), c.lines);
        writer->release();
    }
    auto* reader = new RecordingReader();
    reader->set("name", "handle");
    EXPECT_TRUE(level->read(reader));
    EXPECT_EQ(level->getName(), "handle");
    EXPECT_TRUE(level->isEnabled()) << "an absent state is the reset one";
    reader->set("enabled", "maybe");
    EXPECT_FALSE(level->read(reader));
    reader->release();
    level->release();
}

} // namespace
} // namespace zor
