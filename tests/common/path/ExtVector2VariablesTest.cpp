#include "common/path/ExtVector2Variables.h"

#include "common/containers/String.h"
#include "common/path/AnchorKeywords.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"

#include "support/Held.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

using test::Held;
using test::RecordingReader;
using test::RecordingWriter;
using Lines = std::vector<std::string>;

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

TEST(ExtVector2Variables, AnchorsFollowTheComponentsAsKeywordAttributesOrTypedBytes) {
    const ExtVector2<float> vector{0.5f, 2, HorizontalAnchorRightMinusSize, VerticalAnchorHSeparator16};
    Held<RecordingWriter> twoPass(RecordingWriter::Passes::Two);
    EXPECT_TRUE(writeNodeVariable(twoPass, String("position"), vector));
    EXPECT_EQ(twoPass->record().linesWithout("isSinglePass"),
              (Lines{"beginNode position", "writeFloat x=0.5 asAttribute=1", "writeFloat y=2 asAttribute=1",
                     "writeEnumeration xAnchor=RIGHT_MINUS_SIZE asAttribute=1",
                     "writeEnumeration yAnchor=H_SEPARATOR_16 asAttribute=1", "endNode"}));

    Held<RecordingWriter> typed;
    EXPECT_TRUE(writeTypedVariable(typed, String("position"), vector, 3));
    EXPECT_EQ(typed->record().linesWithout("isSinglePass"),
              (Lines{"beginTypedValue ExtVector2{float}", "writeFloatTyped x=0.5 context=3",
                     "writeFloatTyped y=2 context=3", "writeUInt8Typed xAnchor=13 context=3",
                     "writeUInt8Typed yAnchor=143 context=3", "endTypedValue",
                     "writeTypedValue position=type 254 ExtVector2{float}"}));

    // Nothing of the second pass; a code without keyword cannot be written and stops the write.
    Held<RecordingWriter> secondPass(RecordingWriter::Passes::Two);
    EXPECT_TRUE(writeComponents(vector, secondPass, false, false, 0));
    EXPECT_EQ(secondPass->record().linesWithout("isSinglePass"), Lines{});
    Held<RecordingWriter> single;
    EXPECT_FALSE(write(ExtVector2<double>{1, 2, 200, 0}, single, false, 0));
    EXPECT_EQ(single->record().linesWithout("isSinglePass").back(),
              "writeEnumeration xAnchor=?200 asAttribute=1 (refused)");
}

} // namespace
} // namespace zor
