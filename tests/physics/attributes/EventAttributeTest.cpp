// The hit-test and the collision attributes read and write the same variables.

#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/HitTestAttribute.h"

#include "physics/attributes/AttributeMembers.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"

#include <gtest/gtest.h>

namespace zor::test {
namespace {

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
