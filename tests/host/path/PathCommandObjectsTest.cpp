#include "host/path/PathCommandObjects.h"

#include "common/application/CommonModule.h"
#include "common/path/Path2DCommands.h"
#include "host/io/ObjectDocument.h"
#include "host/path/PathBounds.h"
#include "host/path/PathCommandEntry.h"
#include "host/path/SvgPathData.h"
#include "host/path/SvgPicture.h"

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

PathSteps parsed(const std::string& data) {
    PathSteps steps;
    std::string error;
    EXPECT_TRUE(parseSvgPathData(data, steps, error)) << data << ": " << error;
    return steps;
}

// The path data read and written back in absolute form.
std::string absolute(const std::string& data) {
    return formatSvgPathData(parsed(data));
}

TEST(SvgPathData, RelativeCommandsRepeatsAndRunTogetherNumbersComeOutAbsolute) {
    struct Case {
        const char* data;
        const char* expected;
    };
    const Case cases[] = {
        // After a close the current point is the figure's start again.
        {"m5 5h10v10h-10zm20 0h5", "M5 5 L15 5 L15 15 L5 15 Z M25 5 L30 5"},
        // Pairs after a moveto are lines, relative after a relative moveto.
        {"M10 10 20 20 30 10", "M10 10 L20 20 L30 10"},
        {"m10 10 20 20", "M10 10 L30 30"},
        // Arc flags without separators (svgo output): large 1, sweep 1, then the end point 8 1.
        {"M8 15A7 7 0 118 1a7 7 0 010 14z", "M8 15 A7 7 0 1 1 8 1 A7 7 0 0 1 8 15 Z"},
        {"M1e2-2E-1L.5.5l1e+1,0", "M100 -0.2 L0.5 0.5 L10.5 0.5"},
        {"M10 80Q52.5 10 95 80T180 80", "M10 80 Q52.5 10 95 80 T180 80"},
        // Smooth curves keep their kind; their points are relative to the end of the last command.
        {"M12 2C6.48 2 2 6.48 2 12s4.48 10 10 10", "M12 2 C6.48 2 2 6.48 2 12 S6.48 22 12 22"},
        {"M0 0t10 10 10 -10", "M0 0 T10 10 T20 0"},
        {"M0,0 c1,2 3,4 5,6 1,1 1,1 1,1", "M0 0 C1 2 3 4 5 6 C6 7 6 7 6 7"},
        {"  \n\tM -0 0 z ", "M-0 0 Z"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(absolute(c.data), c.expected) << c.data;
}

TEST(SvgPathData, MalformedDataNamesTheColumnAndWhatWasExpected) {
    struct Case {
        const char* data;
        const char* error;
    };
    const Case cases[] = {
        {"L10 10", "column 1: expected a moveto command (M or m) to begin with, found 'L'"},
        {"M10", "column 4: expected a number, found the end"},
        {"M10 10 L5 x", "column 11: expected a number, found 'x'"},
        {"M0 0A5 5 0 2 0 10 10", "column 12: expected an arc flag (0 or 1), found '2'"},
        {"M0 0Z5", "column 6: expected a command letter (M, L, H, V, C, S, Q, T, A or Z), found '5'"},
        {"M0 0X1", "column 5: expected a command letter (M, L, H, V, C, S, Q, T, A or Z), found 'X'"},
        {"M1e 2", "column 4: expected the digits of an exponent, found ' '"},
        {"M0,,0", "column 4: expected a number, found ','"},
        {"M0 0 L1 2 3", "column 12: expected a number, found the end"},
        {"M0 0 L1 2,", "column 11: expected a number, found the end"},
        {"M1e999 0", "column 2: expected a number within the range of double, found '1'"},
        {"M0 0 L1 \xC3\xA9", "column 9: expected a number, found byte 0xC3"},
    };
    for (const Case& c : cases) {
        PathSteps steps(1);
        std::string error;
        EXPECT_FALSE(parseSvgPathData(c.data, steps, error)) << c.data;
        EXPECT_EQ(error, c.error) << c.data;
        EXPECT_EQ(steps.size(), 1u) << "left unchanged";
    }
}

// The view box of the picture of `data`.
std::string viewBoxOf(const char* data) {
    const std::string picture = svgPicture(parsed(data));
    const std::size_t start = picture.find("viewBox=\"") + 9;
    return picture.substr(start, picture.find('"', start) - start);
}

TEST(SvgPicture, ThePathIsDrawnInAViewBoxAroundWhatItDraws) {
    EXPECT_EQ(
        svgPicture(parsed("M0 0 L10 20")),
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"-1 -1 12 22\" width=\"279\" height=\"512\">\n"
        "  <path d=\"M0 0 L10 20\" fill=\"none\" stroke=\"black\" stroke-width=\"0.11\" "
        "stroke-linejoin=\"round\"/>\n</svg>\n");
    // After a close the next figure starts from the first one's start.
    EXPECT_EQ(viewBoxOf("M10 10 L20 10 Z A1 1 0 0 0 12 10"), "9.5 9.5 11 2");
    EXPECT_EQ(viewBoxOf(""), "-0.05 -0.05 1.1 1.1");
    EXPECT_EQ(viewBoxOf("M3 4"), "2 3 2 2");
}

TEST(PathBounds, CurvesAndArcsCountByHowFarTheyReachNotByTheirControlPoints) {
    const struct {
        const char* data;
        double left, top, right, bottom;
    } cases[] = {
        {"M0 0 C0 -40 10 -40 10 0", 0, -30, 10, 0},
        // A smooth curve mirrors the previous control point: down where the first went up.
        {"M0 0 C0 -40 10 -40 10 0 S20 40 20 0", 0, -30, 20, 30},
        {"M0 0 Q5 -10 10 0 T20 0", 0, -5, 20, 5},
        {"M0 0 L5 0 T10 0", 0, 0, 10, 0},
        // Half circles: the sweep flag says which side, the radius grows to span the ends.
        {"M0 0 A5 5 0 0 1 10 0", 0, -5, 10, 0},
        {"M0 0 A1 1 0 0 0 10 0", 0, 0, 10, 5},
        // A quarter of a circle of radius 10 about (10, 0) and its other three quarters.
        {"M0 0 A10 10 0 0 1 10 -10", 0, -10, 10, 0},
        {"M0 0 A10 10 0 1 0 10 -10", 0, -10, 20, 10},
        // An ellipse turned a quarter turn: its long axis runs down, it bulges right by 5.
        {"M0 0 A10 5 90 0 1 0 20", 0, 0, 5, 20},
        {"M0 0 A0 5 0 0 1 10 10", 0, 0, 10, 10},
    };
    for (const auto& c : cases) {
        const PathBounds bounds = pathBounds(parsed(c.data));
        EXPECT_NEAR(bounds.left, c.left, 1e-9) << c.data;
        EXPECT_NEAR(bounds.top, c.top, 1e-9) << c.data;
        EXPECT_NEAR(bounds.right, c.right, 1e-9) << c.data;
        EXPECT_NEAR(bounds.bottom, c.bottom, 1e-9) << c.data;
    }
}

} // namespace
} // namespace zor::host
