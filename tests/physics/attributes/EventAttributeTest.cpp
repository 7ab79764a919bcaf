// The hit-test and the collision attributes: the same members, variables and level walk under
// three identities.

#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"

#include "common/object/Identifiers.h"
#include "physics/attributes/AttributeTesting.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

// What tells the three classes apart.
struct Identity {
    const char* typeName;
    const char* templateTypeName; // the host level's answer for the class that is no template
    int32 templateType;
    uint32 templateTypeSize;
    const GUID_t* guid;
    bool notifiesListeners; // the 3D class hands events to the listeners first
};

template <typename Attribute>
Identity identity() {
    if constexpr (std::is_same_v<Attribute, HitTestAttribute>)
        return {"HitTestAttribute", "", 0, 0, &guids::kHitTestAttribute, false};
    else if constexpr (std::is_same_v<Attribute, Collision3DAttribute<float>>)
        return {"Collision3DAttribute{float}", "float", 10, 4, &guids::kCollision3DAttribute, true};
    else
        return {"Collision3DAttribute{double}", "double", 11, 8, &guids::kCollision3DAttribute, true};
}

template <typename Attribute>
IAttributeReserved* companionOf(Attribute& a) {
    if constexpr (std::is_same_v<Attribute, HitTestAttribute>)
        return a.getHitTestAttributeReserved();
    else
        return a.getCollision3DAttributeReserved();
}

template <typename Attribute>
class EventAttributeTest : public AttributeTest {};

using EventAttributes =
    ::testing::Types<HitTestAttribute, Collision3DAttribute<float>, Collision3DAttribute<double>>;
TYPED_TEST_SUITE(EventAttributeTest, EventAttributes);

std::string members(const EventAttribute& a) {
    return std::to_string(a.getEventParent()) + " \"" + a.getEventString().c_str() + "\"";
}

void fill(EventAttribute& a) {
    a.setEventParent(3);
    a.setEventString(String("door"));
    markHostLevel(a, "knob");
}

TYPED_TEST(EventAttributeTest, AnswersForItsClass) {
    const Identity expected = identity<TypeParam>();
    auto a = make<TypeParam>();
    EXPECT_EQ(a->getTypeName(), expected.typeName);
    EXPECT_EQ(a->getTemplateTypeName(), expected.templateTypeName);
    EXPECT_EQ(a->getTemplateType(), expected.templateType);
    EXPECT_EQ(a->getTemplateTypeSize(), expected.templateTypeSize);
    EXPECT_EQ(*a->getGUID(), *expected.guid);
    EXPECT_TRUE(a->isTypeOf(*expected.guid));
    EXPECT_EQ(a->castTo(*expected.guid), a.get());
    EXPECT_EQ(a->castTo(guids::kHostPhysicsAttribute), a->getInterfaceObject());
    EXPECT_EQ(a->castTo(guids::kRigidBody3DAttribute), nullptr);
    EXPECT_EQ(static_cast<AttributeReserved<TypeParam>*>(companionOf(*a))->getOwner(), a.get());
}

TYPED_TEST(EventAttributeTest, StartsAndResetsAddressedToTheParentWithoutText) {
    auto a = make<TypeParam>();
    EXPECT_EQ(members(*a), "1 \"\"");
    fill(*a);
    EXPECT_EQ(members(*a), "3 \"door\"");
    a->reset();
    EXPECT_EQ(members(*a), "1 \"\"");
    EXPECT_EQ(hostLevel(*a).getName(), "");

    fill(*a);
    companionOf(*a)->resetObjects();
    EXPECT_EQ(members(*a), "3 \"\"");
    companionOf(*a)->resetValues();
    EXPECT_EQ(members(*a), "1 \"\"");
    EXPECT_EQ(hostLevel(*a).getName(), "knob") << "the companion resets its own level only";
}

TYPED_TEST(EventAttributeTest, CopyAndCloneTakeEveryLevelAndSelfCopyChangesNothing) {
    auto source = make<TypeParam>();
    fill(*source);
    auto target = make<TypeParam>();
    target->copy(source.get());
    EXPECT_EQ(members(*target), "3 \"door\"");
    EXPECT_EQ(hostLevel(*target).getName(), "knob");
    EXPECT_FALSE(hostLevel(*target).isEnabled());
    // The copy owns its text.
    source->setEventString(String("window"));
    EXPECT_EQ(members(*target), "3 \"door\"");

    Owned<TypeParam> clone(static_cast<TypeParam*>(source->clone()));
    ASSERT_NE(clone.get(), source.get());
    EXPECT_EQ(members(*clone), "3 \"window\"");
    EXPECT_EQ(hostLevel(*clone).getName(), "knob");

    // A host level copies from an attribute through the level that the attribute wraps.
    auto other = make<TypeParam>();
    hostLevel(*other).copy(source.get());
    EXPECT_EQ(hostLevel(*other).getName(), "knob");
    EXPECT_FALSE(hostLevel(*other).isEnabled());

    source->copy(source.get());
    EXPECT_EQ(members(*source), "3 \"window\"");
    EXPECT_EQ(hostLevel(*source).getName(), "knob");
}

TYPED_TEST(EventAttributeTest, ReadsTheHostLevelThenEventParentAndEventString) {
    auto reader = make<RecordingReader>();
    reader->set("eventString", "door");
    auto a = make<TypeParam>();
    fill(*a);
    // An absent event parent keeps its reset value, and reading goes on.
    ASSERT_TRUE(a->read(reader.get()));
    EXPECT_EQ(members(*a), "1 \"door\"");
    EXPECT_TRUE(hostLevel(*a).isEnabled());
    const std::vector<std::string> lines = {"readString name (absent)", "readBool enabled (absent)",
                                            "readUInt32 eventParent (absent)", "readString eventString=door"};
    EXPECT_EQ(reader->lines(), lines);

    reader = make<RecordingReader>();
    reader->set("eventParent", "-1");
    reader->set("eventString", "door");
    EXPECT_FALSE(a->read(reader.get()));
    EXPECT_EQ(reader->lines().back(), "readUInt32 eventParent=-1 (refused)");
    EXPECT_EQ(members(*a), "1 \"\"");
}

TYPED_TEST(EventAttributeTest, WritesBothVariablesInTheSecondPassOfATwoPassWriter) {
    auto a = make<TypeParam>();
    fill(*a);
    const std::vector<std::string> untyped = {
        "writeString name=knob asAttribute=0", "writeBool enabled=0 asAttribute=0",
        "writeUInt32 eventParent=3 asAttribute=0", "writeString eventString=door asAttribute=0"};
    for (const auto passes : {RecordingWriter::Passes::Single, RecordingWriter::Passes::Two}) {
        auto writer = make<RecordingWriter>(passes);
        ASSERT_TRUE(a->write(writer.get(), false, 5));
        EXPECT_EQ(writer->record().linesWithout("isSinglePass"), untyped);
    }
    // The first pass alone writes nothing, and is no failure.
    auto writer = make<RecordingWriter>(RecordingWriter::Passes::Two);
    EXPECT_TRUE(companionOf(*a)->writeVariables(writer.get(), true, false, 5));
    EXPECT_EQ(writer->record().linesWithout("isSinglePass"), std::vector<std::string>());

    writer = make<RecordingWriter>();
    ASSERT_TRUE(a->write(writer.get(), true, 5));
    const std::vector<std::string> typed = {
        "writeStringTyped name=knob context=5", "writeBoolTyped enabled=0 context=5",
        "writeUInt32Typed eventParent=3 context=5", "writeStringTyped eventString=door context=5"};
    EXPECT_EQ(writer->record().linesWithout("isSinglePass"), typed);

    writer = make<RecordingWriter>();
    writer->record().refuseName("eventParent");
    EXPECT_FALSE(a->write(writer.get(), false, 5));
    EXPECT_EQ(writer->lines().back(), "writeUInt32 eventParent=3 asAttribute=0 (refused)");
}

// Counts the events it is handed.
class Listener : public HostObject {
public:
    ZOR_DELETING_DESTRUCTOR(Listener)
    bool handleEvent(IObject*, IObject*) override { return ++m_handled, true; }
    int m_handled = 0;
};

TYPED_TEST(EventAttributeTest, HandlesEventsThroughItsHostLevel) {
    auto a = make<TypeParam>();
    auto listener = make<Listener>();
    auto parent = make<Listener>();
    ASSERT_TRUE(a->addEventListener(listener.get()));
    // Events rise to the parent, which handles them.
    ASSERT_TRUE(parent->addChild(a.get()));
    EXPECT_TRUE(a->handleEvent(nullptr, nullptr));
    EXPECT_EQ(parent->m_handled, 1);
    EXPECT_EQ(listener->m_handled, identity<TypeParam>().notifiesListeners ? 1 : 0);
    EXPECT_TRUE(parent->removeChild(a.get()));
}

} // namespace
} // namespace zor::test
