#include "host/path/PathCommandObjects.h"

#include "common/application/CommonModule.h"
#include "common/path/Path2DCommands.h"
#include "host/io/ObjectDocument.h"
#include "host/path/PathCommandEntry.h"
#include "host/path/SvgPathData.h"

#include "support/LoadedPhysicsModule.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cfloat>
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
// is the path files' round trip's below.
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

// Path files: the eighteen path command classes as a host gets them: made by name through zor_physics.dll,
// loaded beside the reference host's modules, then written to JSON and XML documents and read
// back, bit for bit.
// The bytes of a command's members, behind the 24 bytes of its counted root.
std::string memberBytes(IObject* entry) {
    static const std::pair<const char*, std::size_t> kSizes[] = {
#define ZOR_SIZE_OF(Class) {#Class, sizeof(Class)},
        ZOR_PATH2D_COMMANDS(ZOR_SIZE_OF, float) ZOR_PATH2D_COMMANDS(ZOR_SIZE_OF, double)
#undef ZOR_SIZE_OF
    };
    std::string name = entry->getTypeName().c_str();
    name.replace(name.find('{'), 1, "<");
    name.replace(name.find('}'), 1, ">");
    std::size_t size = sizeof(Path2DCommand<float>);
    for (const auto& [className, classSize] : kSizes)
        if (name == className)
            size = classSize;
    const char* command = reinterpret_cast<const char*>(static_cast<PathCommandEntry*>(entry)->command());
    return std::string(command + sizeof(Path2DCommand<float>), size - sizeof(Path2DCommand<float>));
}

// Every member of every command set to a value that is easily lost on the way: negative zero,
// the smallest subnormal, the largest finite value, thirds; anchors with long keywords.
PathSteps trickySteps(bool doublePrecision) {
    const double values[] = {-0.0,
                             doublePrecision ? 4.9406564584124654e-324 : double(FLT_TRUE_MIN),
                             doublePrecision ? DBL_MAX : double(FLT_MAX),
                             doublePrecision ? 1.0 / 3 : double(1.0f / 3),
                             doublePrecision ? -1e-7 : double(-1e-7f),
                             doublePrecision ? 123456.789 : double(123456.789f)};
    PathSteps steps;
    std::size_t next = 0;
    const auto value = [&] { return values[next++ % std::size(values)]; };
    for (const PathStep::Kind kind :
         {PathStep::Kind::MoveTo, PathStep::Kind::LineTo, PathStep::Kind::CurveTo, PathStep::Kind::Smooth,
          PathStep::Kind::QuadCurveTo, PathStep::Kind::QuadSmooth, PathStep::Kind::Arc,
          PathStep::Kind::Close}) {
        PathStep step;
        step.kind = kind;
        for (int i = 0; i < pointCount(kind); ++i)
            step.points[i] = {value(), value(), static_cast<uint8>(128 + next % 16),
                              static_cast<uint8>(next % 16)};
        if (kind == PathStep::Kind::Arc) {
            step.radius = {value(), value()};
            step.rotation = value();
            step.largeArc = 1;
        }
        steps.push_back(step);
    }
    return steps;
}

TEST(PathFiles, EveryCommandClassMadeByTheModuleRoundTripsThroughJsonAndXmlBitForBit) {
    ASSERT_NE(test::startLoadedPhysicsModule(), nullptr);
    List<IObject*> entries;
    for (const bool doublePrecision : {false, true}) {
        const String root = doublePrecision ? "Path2DCommand{double}" : "Path2DCommand{float}";
        entries.pushBack(PathCommandEntry::create(root));
        for (const PathStep& step : trickySteps(doublePrecision)) {
            std::string error;
            RefCountedData* command = createPathCommand(step, doublePrecision, error);
            ASSERT_NE(command, nullptr) << error;
            const String typeName = pathCommandTypeName(step.kind, doublePrecision);
            // Each member lands where it reads back from, anchors included.
            PathStep read;
            EXPECT_TRUE(readPathCommand(command, typeName, read, error)) << error;
            EXPECT_EQ(read, step) << typeName.c_str();
            entries.pushBack(new PathCommandEntry(command, typeName));
        }
    }
    ASSERT_EQ(entries.size(), 18u);

    for (const DocumentFormat format : {DocumentFormat::Json, DocumentFormat::Xml})
        for (const bool typedMode : {false, true}) {
            const String fileName(format == DocumentFormat::Json ? "commands.json" : "commands.xml");
            std::string text;
            ASSERT_TRUE(writeObjects(format, fileName, entries, typedMode, text)) << fileName.c_str();
            List<IObject*> read;
            ASSERT_TRUE(readObjects(format, fileName, text, &PathCommandEntry::create, read)) << text;
            ASSERT_EQ(read.size(), entries.size());
            auto original = entries.begin();
            for (IObject* entry : read) {
                EXPECT_TRUE(entry->getTypeName() == (*original)->getTypeName());
                EXPECT_EQ(memberBytes(entry), memberBytes(*original))
                    << (*original)->getTypeName().c_str() << (typedMode ? " typed in " : " in ") << text;
                ++original;
                entry->release();
            }
        }
    for (IObject* entry : entries)
        entry->release();
}

} // namespace
} // namespace zor::host
