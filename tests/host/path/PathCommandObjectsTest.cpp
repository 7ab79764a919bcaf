#include "host/path/PathCommandObjects.h"

#include "common/application/CommonModule.h"
#include "common/path/Path2DCommands.h"
#include "host/path/SvgPathData.h"

#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

namespace zor::host {
namespace {

TEST(PathCommandObjects, EveryStepBecomesACommandOfItsClassAndReadsBackTheSame) {
    test::TestApplicationData record;
    ASSERT_TRUE(commonInitialize(&record));
    PathSteps steps;
    std::string error;
    ASSERT_TRUE(parseSvgPathData("M1 2L3 4C5 6 7 8 9 10S11 12 13 14Q15 16 17 18T19 20A21 22 23 1 0 24 25Z",
                                 steps, error));
    // Anchors come from path files, not from SVG.
    steps[1].points[0].xAnchor = 143;
    steps[2].points[2].yAnchor = 13;
    for (const bool doublePrecision : {false, true})
        for (const PathStep& step : steps) {
            const String typeName = pathCommandTypeName(step.kind, doublePrecision);
            RefCountedData* command = createPathCommand(step, doublePrecision, error);
            ASSERT_NE(command, nullptr) << typeName.c_str() << ": " << error;
            EXPECT_TRUE((doublePrecision
                             ? static_cast<Path2DCommand<double>*>(command)->getTypeName()
                             : static_cast<Path2DCommand<float>*>(command)->getTypeName()) == typeName);
            PathStep read;
            EXPECT_TRUE(readPathCommand(command, typeName, read, error)) << error;
            EXPECT_EQ(read, step) << typeName.c_str();
            command->release();
        }

    // The members land where the module keeps them.
    auto* arc = static_cast<ArcPath2DCommand<double>*>(createPathCommand(steps[6], true, error));
    EXPECT_TRUE(arc->m_radius == (Vector2<double>{21, 22}) && arc->m_rotation == 23 && arc->m_largeArc == 1 &&
                arc->m_clockwise == 0 && arc->m_endArc == (ExtVector2<double>{24, 25, 0, 0}));
    arc->release();
    commonDeinitialize();
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

} // namespace
} // namespace zor::host
