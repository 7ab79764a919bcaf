#include "host/path/PathCommandObjects.h"

#include "common/application/CommonModule.h"
#include "common/path/Path2DCommands.h"
#include "host/path/PathCommandEntry.h"
#include "host/path/SvgPathData.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <string>

namespace zor::host {
namespace {

// A host record with the foundation started: the path command classes are registered.
class RegisteredPathCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(commonInitialize(&m_record)); }
    void TearDown() override { commonDeinitialize(); }
    test::TestApplicationData m_record;
};

TEST_F(RegisteredPathCommands, AStepsMembersLandWhereTheModuleKeepsThem) {
    PathSteps steps;
    std::string error;
    ASSERT_TRUE(parseSvgPathData("M0 0A21 22 23 1 0 24 25", steps, error));
    auto* arc = static_cast<ArcPath2DCommand<double>*>(createPathCommand(steps[1], true, error));
    EXPECT_TRUE(arc->getTypeName() == "ArcPath2DCommand{double}");
    EXPECT_TRUE(arc->m_radius == (Vector2<double>{21, 22}) && arc->m_rotation == 23 && arc->m_largeArc == 1 &&
                arc->m_clockwise == 0 && arc->m_endArc == (ExtVector2<double>{24, 25, 0, 0}));
    arc->release();
}

TEST(PathCommandObjects, UnknownNamesAndMissingAllocatorsMakeNothing) {
    test::TestApplicationData record;
    std::string error;
    PathStep line;
    line.kind = PathStep::Kind::LineTo;
    EXPECT_EQ(createPathCommand(line, false, error), nullptr);
    EXPECT_EQ(error, "no allocator is registered for \"LineToPath2DCommand{float}\"");
    ASSERT_TRUE(commonInitialize(&record));
    for (const char* name : {"LineToPath2DCommand", "LineToPath2DCommand{int}", "String", ""})
        EXPECT_EQ(createPathCommand(String(name)), nullptr) << name;
    RefCountedData* root = createPathCommand(String("Path2DCommand{double}"));
    ASSERT_NE(root, nullptr);
    PathStep step;
    EXPECT_FALSE(readPathCommand(root, String("Path2DCommand{double}"), step, error));
    EXPECT_EQ(error, "\"Path2DCommand{double}\" is not a path command");
    root->release();
    commonDeinitialize();
}

// That an entry reads and writes through its command, every member of every class bit for bit,
// is PathFileRoundTripTest's.
TEST_F(RegisteredPathCommands, AnEntryAnswersWithItsCommandsNameAndRefusesWhatIsNoReaderOrWriter) {
    EXPECT_EQ(PathCommandEntry::create(String("LineToPath2DCommand")), nullptr);
    IObject* entry = PathCommandEntry::create(String("LineToPath2DCommand{double}"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->getTypeName() == "LineToPath2DCommand{double}");
    IObject* plain = HostObject::create();
    EXPECT_FALSE(entry->read(plain) || entry->write(plain, 0, 0));
    plain->release();
    entry->release();
}

} // namespace
} // namespace zor::host
