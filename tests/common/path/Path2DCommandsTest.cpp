#include "common/path/Path2DCommands.h"

#include "common/containers/String.h"
#include "common/path/AnchorKeywords.h"
#include "common/path/ExtVector2Variables.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"

#include "support/Held.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace zor {
namespace {

using test::Held;
using test::RecordingReader;
using test::RecordingWriter;
using Lines = std::vector<std::string>;

// The address a reference refers to, as an offset into the command (-1 for no reference).
template <typename Command>
std::ptrdiff_t offsetOf(Command* command, VariableReference* reference, int32* type) {
    if (reference == nullptr)
        return -1;
    *type = reference->getType();
    const std::ptrdiff_t offset =
        static_cast<const char*>(reference->getValuePointer()) - reinterpret_cast<const char*>(command);
    reference->destroy();
    return offset;
}

TEST(Path2DCommands, ReferencesReachMembersAndInsidePointsAndTheRadius) {
    Held<ArcPath2DCommand<double>> arc;
    Held<SmoothPath2DCommand<float>> smooth;
    Held<ClosePath2DCommand<float>> close;
    struct Case {
        const char* path;
        std::ptrdiff_t offset; // -1: null
        int32 type;
    };
    // Arc{double}: radius at 24, rotation at 40, largeArc 48, clockwise 49, endArc 50 (x, y, anchors).
    const Case arcCases[] = {
        {"radius", 24, 18},    {"radius.y", 32, 11}, {"radius.z", -1, 0},       {"rotation", 40, 11},
        {"rotation.x", -1, 0}, {"largeArc", 48, 3},  {"clockwise", 49, 3},      {"clockwise.x", -1, 0},
        {"endArc", 50, 50},    {"endArc.x", 50, 11}, {"endArc.yAnchor", 67, 3}, {"endArc.xAnchor.x", -1, 0},
        {"position", -1, 0},   {"", -1, 0},          {"Radius", -1, 0}};
    const auto check = [](auto& command, const Case& c) {
        int32 type = 0;
        EXPECT_EQ(offsetOf(command.object, command->getVariableReference(String(c.path)), &type), c.offset)
            << c.path;
        EXPECT_EQ(type, c.type) << c.path;
    };
    for (const Case& c : arcCases)
        check(arc, c);
    // Smooth{float}: no "p1"; "p2" is the first point stored, at 24.
    for (const Case& c :
         {Case{"p1", -1, 0}, Case{"p2", 24, 49}, Case{"p3.y", 38, 10}, Case{"p3.yAnchor", 43, 3}})
        check(smooth, c);
    EXPECT_EQ(close->getVariableReference(String("position")), nullptr);
}

TEST(Path2DCommands, CreateCopiesTheMembersWithAFreshCounterAndResetZeroesThem) {
    Held<LineToPath2DCommand<float>> line;
    line->m_position = {3.5f, -1, HorizontalAnchorCenter, 130};
    line->retain();
    RefCountedData* copy = line->create();
    auto* copied = dynamic_cast<LineToPath2DCommand<float>*>(copy);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, line.object);
    EXPECT_EQ(copied->m_position, line->m_position);
    EXPECT_EQ(copy->referenceCount(), 0u);
    EXPECT_EQ(line->referenceCount(), 1u);
    line->release();
    copy->release();

    // The memberless classes create empty commands of their own class.
    Held<ClosePath2DCommand<double>> close;
    RefCountedData* closeCopy = close->create();
    EXPECT_NE(dynamic_cast<ClosePath2DCommand<double>*>(closeCopy), nullptr);
    closeCopy->release();

    Held<ArcPath2DCommand<float>> arc;
    arc->m_radius = {1, 2};
    arc->m_rotation = 30;
    arc->m_largeArc = 1;
    arc->m_clockwise = 1;
    arc->m_endArc = {5, 6, 1, 1};
    arc->reset();
    char zeros[sizeof(ArcPath2DCommand<float>) - sizeof(Path2DCommand<float>)] = {};
    EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(arc.object) + sizeof(Path2DCommand<float>), zeros,
                          sizeof zeros),
              0);
}

TEST(Path2DCommands, ReadResetsThenReadsEachPresentMember) {
    Held<RecordingReader> reader;
    reader->set("p1.x", "1");
    reader->set("p1.yAnchor", "BOTTOM");
    reader->set("p3.y", "0.1");
    Held<CurveToPath2DCommand<double>> curve;
    curve->m_p2 = {8, 8, 8, 8};
    EXPECT_TRUE(curve->read(reader));
    EXPECT_EQ(curve->m_p1, (ExtVector2<double>{1, 0, 0, 1}));
    EXPECT_EQ(curve->m_p2, (ExtVector2<double>{}));
    EXPECT_EQ(curve->m_p3, (ExtVector2<double>{0, 0.1, 0, 0}));
    EXPECT_EQ(reader->lines(),
              (Lines{"enterNode p1", "readDouble x=1", "readDouble y (absent)",
                     "readEnumeration xAnchor (absent)", "readEnumeration yAnchor=BOTTOM", "leaveNode",
                     "enterNode p2 (absent)", "enterNode p3", "readDouble x (absent)", "readDouble y=0.1",
                     "readEnumeration xAnchor (absent)", "readEnumeration yAnchor (absent)", "leaveNode"}));

    // The arc's scalars are the command's own variables, its flags bools.
    Held<RecordingReader> arcReader;
    arcReader->set("rotation", "45");
    arcReader->set("clockwise", "true");
    arcReader->set("endArc.x", "3");
    Held<ArcPath2DCommand<float>> arc;
    EXPECT_TRUE(arc->read(arcReader));
    EXPECT_TRUE(arc->m_rotation == 45 && arc->m_largeArc == 0 && arc->m_clockwise == 1 &&
                arc->m_endArc.x == 3);

    // A failure stops the read: what came before keeps its value, the rest its reset 0.
    Held<RecordingReader> malformed;
    malformed->set("p1.x", "2");
    malformed->set("p2.y", "two");
    malformed->set("p3.x", "4");
    EXPECT_FALSE(curve->read(malformed));
    EXPECT_TRUE(curve->m_p1.x == 2 && curve->m_p3.x == 0);
    EXPECT_EQ(malformed->lines().back(), "readDouble y=two (refused)");

    Held<RecordingReader> silent;
    Held<ClosePath2DCommand<float>> close;
    EXPECT_TRUE(close->read(silent));
    EXPECT_TRUE(silent->lines().empty());
}

TEST(Path2DCommands, AnUntypedTwoPassWriteSendsScalarsFirstAndNodesSecond) {
    Held<ArcPath2DCommand<float>> arc;
    arc->m_radius = {10, 5};
    arc->m_rotation = -30;
    arc->m_largeArc = 1;
    arc->m_endArc = {20, 0, 0, VerticalAnchorBottom};
    const Lines radiusNode{"beginNode radius", "writeFloat x=10 asAttribute=1",
                           "writeFloat y=5 asAttribute=1", "endNode"};
    const Lines scalars{"writeFloat rotation=-30 asAttribute=1", "writeBool largeArc=1 asAttribute=1",
                        "writeBool clockwise=0 asAttribute=1"};
    const Lines endNode{"beginNode endArc",
                        "writeFloat x=20 asAttribute=1",
                        "writeFloat y=0 asAttribute=1",
                        "writeEnumeration xAnchor=LEFT asAttribute=1",
                        "writeEnumeration yAnchor=BOTTOM asAttribute=1",
                        "endNode"};
    const auto joined = [](std::initializer_list<Lines> parts) {
        Lines all;
        for (const Lines& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };

    Held<RecordingWriter> twoPass(RecordingWriter::Passes::Two);
    EXPECT_TRUE(arc->write(twoPass, false, 0));
    EXPECT_EQ(twoPass->record().linesWithout("isSinglePass"), joined({scalars, radiusNode, endNode}));

    // At once, in member order.
    Held<RecordingWriter> single;
    EXPECT_TRUE(arc->write(single, false, 0));
    EXPECT_EQ(single->record().linesWithout("isSinglePass"), joined({radiusNode, scalars, endNode}));

    // A refusal ends the write: here the radius node of the second pass.
    Held<RecordingWriter> refusing(RecordingWriter::Passes::Two);
    refusing->record().refuseName("radius");
    EXPECT_FALSE(arc->write(refusing, false, 0));
    EXPECT_EQ(refusing->record().linesWithout("isSinglePass"),
              joined({scalars, {"beginNode radius (refused)"}}));
}

TEST(Path2DCommands, TypedWritesGoOutInEveryPass) {
    Held<QuadSmoothPath2DCommand<double>> quad;
    quad->m_p2 = {1, 2, HorizontalAnchorRightMinusSize, VerticalAnchorHSeparator16};
    Held<RecordingWriter> twoPass(RecordingWriter::Passes::Two);
    EXPECT_TRUE(quad->write(twoPass, true, 6));
    // The anchors as their bytes.
    const Lines components{"writeDoubleTyped x=1 context=6", "writeDoubleTyped y=2 context=6",
                           "writeUInt8Typed xAnchor=13 context=6", "writeUInt8Typed yAnchor=143 context=6"};
    // The value's components go out in both passes of the value, and the value in both of the command.
    Lines once{"beginTypedValue ExtVector2{double}"};
    once.insert(once.end(), components.begin(), components.end());
    once.insert(once.end(), components.begin(), components.end());
    once.insert(once.end(), {"endTypedValue", "writeTypedValue p2=type 254 ExtVector2{double}"});
    Lines twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(twoPass->record().linesWithout("isSinglePass"), twice);

    Held<RecordingWriter> arcWriter;
    Held<ArcPath2DCommand<float>> arc;
    EXPECT_TRUE(arc->write(arcWriter, true, 0));
    const Lines lines = arcWriter->record().linesWithout("isSinglePass");
    for (const char* line : {"writeFloatTyped rotation=0", "writeBoolTyped clockwise=0",
                             "writeTypedValue endArc=type 254 ExtVector2{float}"})
        EXPECT_TRUE(std::find(lines.begin(), lines.end(), line) != lines.end()) << line;

    // Without members a write only asks for the passes.
    Held<RecordingWriter> closeWriter(RecordingWriter::Passes::Two);
    Held<Path2DCommand<float>> root;
    EXPECT_TRUE(root->write(closeWriter, false, 0));
    EXPECT_EQ(closeWriter->lines(), Lines{"isSinglePass"});
}

TEST(ExtVector2Variables, ReferencesReachTheAnchorBytesAndTheComponents) {
    ExtVector2<double> vector{1, 2, 0, 0};
    struct Case {
        const char* path;
        int32 type;
        bool (*change)(VariableReference*);
        ExtVector2<double> after;
    };
    const auto setSeven = [](VariableReference* r) { return r->changeValueInt32(7); };
    const Case cases[] = {{"xAnchor", VariableTypeUInt8, setSeven, {1, 2, 7, 0}},
                          {"yAnchor", VariableTypeUInt8, setSeven, {1, 2, 7, 7}},
                          {"x", VariableTypeDouble, setSeven, {7, 2, 7, 7}},
                          {"y.", VariableTypeDouble, setSeven, {7, 7, 7, 7}},
                          {"yAnchor.",
                           VariableTypeUInt8,
                           [](VariableReference* r) { return r->changeValueInt32(1); },
                           {7, 7, 7, 1}}};
    for (const Case& c : cases) {
        VariableReference* reference = getComponentReference(vector, String(c.path));
        ASSERT_NE(reference, nullptr) << c.path;
        EXPECT_EQ(reference->getType(), c.type) << c.path;
        EXPECT_TRUE(c.change(reference));
        EXPECT_EQ(vector, c.after) << c.path;
        reference->destroy();
    }
    for (const char* path : {"xAnchor.x", "yAnchor.value", "z", "", "anchor", "x.y", "XAnchor"})
        EXPECT_EQ(getComponentReference(vector, String(path)), nullptr) << '"' << path << '"';
}

TEST(ExtVector2Variables, ReadTakesTheAnchorsByKeywordAndAnAbsentOneBecomesZero) {
    Held<RecordingReader> reader;
    reader->set("x", "1.25");
    reader->set("y", "-3");
    reader->set("xAnchor", "V_SEPARATOR_2");
    ExtVector2<float> vector{9, 9, 5, 5};
    EXPECT_TRUE(readComponents(vector, reader));
    EXPECT_EQ(vector, (ExtVector2<float>{1.25f, -3, 129, 0}));
    EXPECT_EQ(reader->lines(),
              (Lines{"readFloat x=1.25", "readFloat y=-3", "readEnumeration xAnchor=V_SEPARATOR_2",
                     "readEnumeration yAnchor (absent)"}));

    // A keyword of the other axis is malformed here; x and y keep what was read.
    Held<RecordingReader> wrongAxis;
    wrongAxis->set("x", "4");
    wrongAxis->set("yAnchor", "V_SEPARATOR_2");
    ExtVector2<double> other{9, 9, 5, 5};
    EXPECT_FALSE(readComponents(other, wrongAxis));
    EXPECT_EQ(other, (ExtVector2<double>{4, 9, 0, 5}));

    Held<RecordingReader> refusing;
    refusing->record().refuseName("y");
    EXPECT_FALSE(readComponents(other, refusing));
    EXPECT_EQ(refusing->lines().back(), "readDouble y (absent) (refused)");
}

// The anchors after the components, as keyword attributes or typed bytes, are pinned by the
// commands' writes above.
TEST(ExtVector2Variables, TheSecondPassWritesNothingAndACodeWithoutKeywordStopsTheWrite) {
    const ExtVector2<float> vector{0.5f, 2, HorizontalAnchorRightMinusSize, VerticalAnchorHSeparator16};
    Held<RecordingWriter> secondPass(RecordingWriter::Passes::Two);
    EXPECT_TRUE(writeComponents(vector, secondPass, false, false, 0));
    EXPECT_EQ(secondPass->record().linesWithout("isSinglePass"), Lines{});
    Held<RecordingWriter> single;
    EXPECT_FALSE(write(ExtVector2<double>{1, 2, 200, 0}, single, false, 0));
    EXPECT_EQ(single->record().linesWithout("isSinglePass").back(),
              "writeEnumeration xAnchor=?200 asAttribute=1 (refused)");
}

using Converter = bool (*)(String&, uint8&, bool);

// The code of `keyword`, or -1 when it converts to nothing (the code must then stay as it was).
int codeOf(Converter convert, const char* keyword) {
    String text(keyword);
    uint8 code = 77;
    if (convert(text, code, true))
        return code;
    EXPECT_EQ(code, 77) << keyword;
    return -1;
}

// The keyword of `code`, or "-" when it has none (the keyword must then stay as it was).
std::string keywordOf(Converter convert, int code) {
    String keyword("unchanged");
    uint8 byte = static_cast<uint8>(code);
    if (convert(keyword, byte, false))
        return keyword.c_str();
    EXPECT_TRUE(keyword == "unchanged") << code;
    return "-";
}

// The sixteen named anchors of each axis in code order, written out here as the files spell them.
const char* const kHorizontal =
    "LEFT RIGHT CENTER PARENT_WIDTH_PERCENT ABSOLUTE PREV_LEFT PREV_RIGHT PREV_CENTER "
    "PREV_LEFT_PLUS_WIDTH_PERCENT NEXT_LEFT NEXT_RIGHT NEXT_CENTER "
    "NEXT_LEFT_PLUS_WIDTH_PERCENT RIGHT_MINUS_SIZE PARENT_WIDTH_PERCENT_MINUS_WIDTH "
    "PARENT_WIDTH_PERCENT_WITHOUT_WIDTH";
const char* const kVertical =
    "TOP BOTTOM CENTER PARENT_HEIGHT_PERCENT ABSOLUTE PREV_TOP PREV_BOTTOM PREV_CENTER "
    "PREV_TOP_PLUS_HEIGHT_PERCENT NEXT_TOP NEXT_BOTTOM NEXT_CENTER "
    "NEXT_TOP_PLUS_HEIGHT_PERCENT BOTTOM_MINUS_HEIGHT PARENT_HEIGHT_PERCENT_MINUS_HEIGHT "
    "PARENT_HEIGHT_PERCENT_WITHOUT_HEIGHT";

TEST(AnchorKeywords, EveryCodeHasItsOneKeywordBothWays) {
    struct Axis {
        Converter convert;
        const char* names;
        const char* separator;
    };
    for (const Axis& axis : {Axis{&convertHorizontalAnchor, kHorizontal, "V_SEPARATOR_"},
                             Axis{&convertVerticalAnchor, kVertical, "H_SEPARATOR_"}}) {
        std::istringstream names(axis.names);
        for (int code = 0; code < 256; ++code) {
            std::string expected = "-";
            if (code < 16)
                names >> expected;
            else if (code >= 128 && code < 144)
                expected = axis.separator + std::to_string(code - 127);
            EXPECT_EQ(keywordOf(axis.convert, code), expected) << code;
            if (expected != "-") {
                EXPECT_EQ(codeOf(axis.convert, expected.c_str()), code) << expected;
            }
        }
    }
}

TEST(AnchorKeywords, OnlyTheExactKeywordOfTheRightAxisConverts) {
    struct Case {
        const char* keyword;
        int horizontal;
        int vertical;
    };
    // clang-format off
    const Case cases[] = {
        {"LEFT", 0, -1}, {"TOP", -1, 0}, {"left", -1, -1}, {"LEFT ", -1, -1}, {" TOP", -1, -1}, {"", -1, -1},
        {"V_SEPARATOR_16", 143, -1}, {"H_SEPARATOR_1", -1, 128}, {"V_SEPARATOR_17", -1, -1},
        {"V_SEPARATOR_0", -1, -1}, {"V_SEPARATOR_01", -1, -1}, {"RIGHT_MINUS_SIZE", 13, -1},
        {"BOTTOM_MINUS_HEIGHT", -1, 13}, {"RIGHT_MINUS_WIDTH", -1, -1}, {"CENTER", 2, 2}, {"NEXT_CENTER", 11, 11}};
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(codeOf(&convertHorizontalAnchor, c.keyword), c.horizontal) << '"' << c.keyword << '"';
        EXPECT_EQ(codeOf(&convertVerticalAnchor, c.keyword), c.vertical) << '"' << c.keyword << '"';
    }
}

} // namespace
} // namespace zor
