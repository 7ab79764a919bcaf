// What every physics attribute class does alike: it answers for its class and leaves the rest
// to its host level, starts at and resets to its defaults, copies and clones every level, and
// hands events to its host level; without a host level, or copying from nothing, it ends the
// process. The hit-test and the collision attributes read and write the same variables.

#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"

#include "common/object/Identifiers.h"
#include "host/core/HostObject.h"
#include "host/project/HostPhysicsAttribute.h"
#include "physics/attributes/AttributeMembers.h"
#include "support/ExitOutput.h"
#include "support/LogLines.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace zor::test {
namespace {

// What tells the classes apart.
struct Identity {
    const char* typeName;
    const char* templateTypeName; // the host level's answer for the class that is no template
    int32 templateType;
    uint32 templateTypeSize;
    const char* guid;
    bool notifiesListeners; // the 3D classes hand events to the listeners first
};

constexpr const char* kCollisionGuid = "10a0d77f-71ad-41aa-8bd6-6b5da4df47b5";
constexpr const char* kRigidBodyGuid = "511efde9-796d-4777-ac79-2caa755ff3cf";

template <typename Attribute>
Identity identity() {
    if constexpr (std::is_same_v<Attribute, HitTestAttribute>)
        return {"HitTestAttribute", "", 0, 0, "26d5f972-8210-46d8-aaae-d3643cf3ac0f", false};
    else if constexpr (std::is_same_v<Attribute, Collision3DAttribute<float>>)
        return {"Collision3DAttribute{float}", "float", 10, 4, kCollisionGuid, true};
    else if constexpr (std::is_same_v<Attribute, Collision3DAttribute<double>>)
        return {"Collision3DAttribute{double}", "double", 11, 8, kCollisionGuid, true};
    else if constexpr (std::is_same_v<Attribute, RigidBody3DAttribute<float>>)
        return {"RigidBody3DAttribute{float}", "float", 10, 4, kRigidBodyGuid, true};
    else
        return {"RigidBody3DAttribute{double}", "double", 11, 8, kRigidBodyGuid, true};
}

// The members as `members` gives them: at the defaults, filled, and filled with one of the
// companion's two resets after.
struct MemberTexts {
    std::string defaults, filled, objectsReset, valuesReset;
};

template <typename Attribute>
MemberTexts memberTexts() {
    if constexpr (std::is_base_of_v<EventAttribute, Attribute>)
        return {"1 \"\"", "3 \"door\"", "3 \"\"", "1 \"door\""};
    else
        return {kRigidBodyDefaults, kRigidBodyFilled,
                "speed (0,0,0) max 4 acceleration (0,0,0) max 8 angular (0,0,0) (0,0,0) mass -2.5 infinite "
                "immovable restitution 0.5 combine 300 friction 0.25 0.125 locks 111 loops 11 group 7",
                "speed (1,2,3) max 0 acceleration (5,6,7) max 0 angular (9,10,11) (12,13,14) mass 1 "
                "restitution 1 combine 0 friction 0 0 locks 000 loops 00 group 0"};
}

template <typename Attribute>
class AttributeClassTest : public AttributeTest {};

using AttributeClasses =
    ::testing::Types<HitTestAttribute, Collision3DAttribute<float>, Collision3DAttribute<double>,
                     RigidBody3DAttribute<float>, RigidBody3DAttribute<double>>;
TYPED_TEST_SUITE(AttributeClassTest, AttributeClasses);

TYPED_TEST(AttributeClassTest, AnswersForItsClassAndLeavesTheRestToItsHostLevel) {
    const Identity expected = identity<TypeParam>();
    auto a = make<TypeParam>();
    EXPECT_EQ(a->getTypeName(), expected.typeName);
    EXPECT_EQ(&a->getTypeName(), &make<TypeParam>()->getTypeName()) << "built once";
    EXPECT_EQ(a->getTemplateTypeName(), expected.templateTypeName);
    EXPECT_EQ(a->getTemplateType(), expected.templateType);
    EXPECT_EQ(a->getTemplateTypeSize(), expected.templateTypeSize);
    char guid[37];
    a->getGUID()->format(guid);
    EXPECT_STREQ(guid, expected.guid);

    const GUID_t& own = *a->getGUID();
    const GUID_t& other =
        own == guids::kRigidBody3DAttribute ? guids::kCollision3DAttribute : guids::kRigidBody3DAttribute;
    EXPECT_TRUE(a->isTypeOf(own) && a->isTypeOf(guids::kHostPhysicsAttribute));
    EXPECT_FALSE(a->isTypeOf(other));
    EXPECT_EQ(a->castTo(own), a.get());
    EXPECT_EQ(a->castTo(guids::kHostPhysicsAttribute), a->getInterfaceObject());
    EXPECT_EQ(a->castTo(other), nullptr);
    EXPECT_EQ(a->getPhysicsAttributeReserved(), hostLevel(*a).getPhysicsAttributeReserved());
    EXPECT_EQ(companionOf(*a)->getOwner(), a.get());
}

TYPED_TEST(AttributeClassTest, StartsAtItsDefaultsAndResetsThereWithItsHostLevel) {
    const MemberTexts texts = memberTexts<TypeParam>();
    auto a = make<TypeParam>();
    EXPECT_EQ(members(*a), texts.defaults);
    EXPECT_TRUE(hostLevel(*a).isEnabled());
    fill(*a);
    EXPECT_EQ(members(*a), texts.filled);
    a->reset();
    EXPECT_EQ(members(*a), texts.defaults);
    EXPECT_EQ(hostLevel(*a).getName(), "");
    EXPECT_TRUE(hostLevel(*a).isEnabled());

    // The companion resets its own level only, objects and values apart.
    fill(*a);
    companionOf(*a)->resetObjects();
    EXPECT_EQ(members(*a), texts.objectsReset);
    fill(*a);
    companionOf(*a)->resetValues();
    EXPECT_EQ(members(*a), texts.valuesReset);
    EXPECT_EQ(hostLevel(*a).getName(), "wheel");
}

TYPED_TEST(AttributeClassTest, CopyAndCloneTakeEveryLevelAndSelfCopyChangesNothing) {
    const std::string filled = memberTexts<TypeParam>().filled;
    auto source = make<TypeParam>();
    fill(*source);
    auto target = make<TypeParam>();
    target->copy(source.get());
    EXPECT_EQ(members(*target), filled);
    EXPECT_EQ(hostLevel(*target).getName(), "wheel");
    EXPECT_FALSE(hostLevel(*target).isEnabled());
    // The copy owns what it holds; copying resets first: a copy of a fresh attribute is fresh.
    auto fresh = make<TypeParam>();
    fresh->copy(target.get());
    target->copy(make<TypeParam>().get());
    EXPECT_EQ(members(*target), memberTexts<TypeParam>().defaults);
    EXPECT_EQ(hostLevel(*target).getName(), "");
    EXPECT_EQ(members(*fresh), filled);

    Owned<TypeParam> clone(static_cast<TypeParam*>(source->clone()));
    ASSERT_NE(clone.get(), source.get());
    EXPECT_NE(clone->getInterfaceObject(), source->getInterfaceObject());
    EXPECT_EQ(members(*clone), filled);
    EXPECT_EQ(hostLevel(*clone).getName(), "wheel");
    EXPECT_EQ(clone->getReferenceCount(), 0u);

    // A host level copies from an attribute through the level that the attribute wraps.
    auto other = make<TypeParam>();
    hostLevel(*other).copy(source.get());
    EXPECT_EQ(hostLevel(*other).getName(), "wheel");
    EXPECT_FALSE(hostLevel(*other).isEnabled());

    source->copy(source.get());
    companionOf(*source)->copy_Backwards(source.get());
    EXPECT_EQ(members(*source), filled);
    EXPECT_EQ(hostLevel(*source).getName(), "wheel");
}

// Counts the events it is handed.
class Listener : public HostObject {
public:
    ZOR_DELETING_DESTRUCTOR(Listener)
    bool handleEvent(IObject*, IObject*) override { return ++m_handled, true; }
    int m_handled = 0;
};

TYPED_TEST(AttributeClassTest, HandlesEventsThroughItsHostLevel) {
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

IObject* noPhysicsAttribute() {
    return nullptr;
}

using Lines = std::vector<std::string>;

TEST(WPhysicsAttributeDeathTest, WithoutAHostLevelTheProcessEnds) {
    // No host record at all: a warning, then the attribute's own check.
    EXPECT_EQ(
        outputOfExit([] { new HitTestAttribute; }),
        "WARN : Application data is NULL, cannot create object from name PhysicsAttribute. Return NULL\n"
        "ERROR: assert(interfacePhysicsAttribute != NULL)\n");
    // No project module record.
    EXPECT_EQ(logLines(outputOfExit([] {
                  PrintingRecord record(&HostObject::create);
                  new Collision3DAttribute<float>;
              })),
              Lines{"ERROR common zor_createObject - assert(appData->m_project != NULL)"});
    // A project module that makes no level.
    EXPECT_EQ(logLines(outputOfExit([] {
                  PrintingRecord record(&HostObject::create, &noPhysicsAttribute);
                  new RigidBody3DAttribute<double>;
              })),
              Lines{"ERROR common zor::WPhysicsAttribute::initObjectInterface - "
                    "assert(interfacePhysicsAttribute != NULL)"});
}

template <typename Attribute>
Lines copyFromNothing() {
    return logLines(outputOfExit([] {
        PrintingRecord record(&HostObject::create, &HostPhysicsAttribute::create);
        (new Attribute)->copy(nullptr);
    }));
}

TEST(WPhysicsAttributeDeathTest, CopyingFromNothingEndsTheProcessNamingTheClass) {
    const auto line = [](const std::string& className) {
        return Lines{"ERROR zor_physics.dll zor::" + className + "::copy_Backwards - assert(p_src != NULL)"};
    };
    EXPECT_EQ(copyFromNothing<HitTestAttribute>(), line("HitTestAttribute"));
    EXPECT_EQ(copyFromNothing<Collision3DAttribute<double>>(), line("Collision3DAttribute<double>"));
    EXPECT_EQ(copyFromNothing<RigidBody3DAttribute<float>>(), line("RigidBody3DAttribute<float>"));
}

template <typename Attribute>
class EventAttributeTest : public AttributeTest {};

using EventAttributes =
    ::testing::Types<HitTestAttribute, Collision3DAttribute<float>, Collision3DAttribute<double>>;
TYPED_TEST_SUITE(EventAttributeTest, EventAttributes);

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
        "writeString name=wheel asAttribute=0", "writeBool enabled=0 asAttribute=0",
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
        "writeStringTyped name=wheel context=5", "writeBoolTyped enabled=0 context=5",
        "writeUInt32Typed eventParent=3 context=5", "writeStringTyped eventString=door context=5"};
    EXPECT_EQ(writer->record().linesWithout("isSinglePass"), typed);

    writer = make<RecordingWriter>();
    writer->record().refuseName("eventParent");
    EXPECT_FALSE(a->write(writer.get(), false, 5));
    EXPECT_EQ(writer->lines().back(), "writeUInt32 eventParent=3 asAttribute=0 (refused)");
}

} // namespace
} // namespace zor::test
