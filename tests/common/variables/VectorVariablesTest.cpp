#include "common/variables/VectorVariables.h"

#include "common/containers/String.h"
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

const auto kTwoPass = RecordingWriter::Passes::Two;

// The Vector3 names are pinned by the rigid-body attribute's typed write, Vector2{double} below.
TEST(VectorVariables, TypeNamesAreBuiltOnce) {
    EXPECT_TRUE(vectorTypeName<Vector2<float>>() == "Vector2{float}");
    EXPECT_EQ(&vectorTypeName<Vector3<double>>(), &vectorTypeName<Vector3<double>>());
}

TEST(VectorVariables, ReadComponentsReadsInOrderKeepsAbsentOnesAndStopsAtTheFirstFailure) {
    Held<RecordingReader> reader;
    reader->set("x", "0.1");
    reader->set("z", "-2.5e3");
    Vector3<double> vector{7, 8, 9};
    EXPECT_TRUE(readComponents(vector, reader));
    EXPECT_EQ(vector, (Vector3<double>{0.1, 8, -2500}));
    EXPECT_EQ(reader->lines(), (Lines{"readDouble x=0.1", "readDouble y (absent)", "readDouble z=-2.5e3"}));

    // A malformed y: x keeps what was read, z is not asked for.
    Held<RecordingReader> malformed;
    malformed->set("x", "0.1");
    malformed->set("y", "1,5");
    Vector3<float> single{7, 8, 9};
    EXPECT_FALSE(readComponents(single, malformed));
    EXPECT_EQ(single, (Vector3<float>{0.1f, 8, 9}));
    EXPECT_EQ(malformed->lines(), (Lines{"readFloat x=0.1", "readFloat y=1,5 (refused)"}));

    Held<RecordingReader> refusing;
    refusing->record().refuseCall(1);
    Vector2<float> pair{1, 2};
    EXPECT_FALSE(readComponents(pair, refusing));
    EXPECT_EQ(refusing->lines(), (Lines{"readFloat x (absent) (refused)"}));
}

TEST(VectorVariables, UntypedComponentsAreAttributesOfTheFirstPassTypedOnesGoOutEveryTime) {
    const Vector3<float> vector{1.5f, -0.0f, 3e-39f};
    struct Case {
        RecordingWriter::Passes passes;
        bool skipOwn;
        bool typedMode;
        Lines written;
    };
    const Lines attributes{"writeFloat x=1.5 asAttribute=1", "writeFloat y=-0 asAttribute=1",
                           "writeFloat z=3e-39 asAttribute=1"};
    const Lines typed{"writeFloatTyped x=1.5 context=42", "writeFloatTyped y=-0 context=42",
                      "writeFloatTyped z=3e-39 context=42"};
    const Case cases[] = {{RecordingWriter::Passes::Single, false, false, attributes},
                          {RecordingWriter::Passes::Single, true, false, attributes},
                          {kTwoPass, true, false, attributes},
                          {kTwoPass, false, false, {}},
                          {kTwoPass, false, true, typed},
                          {RecordingWriter::Passes::Single, true, true, typed}};
    for (const Case& c : cases) {
        Held<RecordingWriter> writer(c.passes);
        EXPECT_TRUE(writeComponents(vector, writer, c.skipOwn, c.typedMode, 42));
        EXPECT_EQ(writer->record().linesWithout("isSinglePass"), c.written)
            << "skipOwn " << c.skipOwn << ", typed " << c.typedMode;
    }

    // The first refused write ends it.
    Held<RecordingWriter> refusing;
    refusing->record().refuseName("y");
    EXPECT_FALSE(writeComponents(Vector2<double>{1, 2}, refusing, false, false, 0));
    EXPECT_EQ(refusing->lines(), (Lines{"isSinglePass", "writeDouble x=1 asAttribute=1", "isSinglePass",
                                        "writeDouble y=2 asAttribute=1 (refused)"}));
}

TEST(VectorVariables, WriteTakesAsManyPassesAsTheWriter) {
    // Two passes: untyped components in the first only, typed ones in both.
    Held<RecordingWriter> twoPass(kTwoPass);
    EXPECT_TRUE(write(Vector2<double>{1, 2}, twoPass, false, 0));
    EXPECT_TRUE(write(Vector2<double>{3, 4}, twoPass, true, 5));
    EXPECT_EQ(twoPass->record().linesWithout("isSinglePass"),
              (Lines{"writeDouble x=1 asAttribute=1", "writeDouble y=2 asAttribute=1",
                     "writeDoubleTyped x=3 context=5", "writeDoubleTyped y=4 context=5",
                     "writeDoubleTyped x=3 context=5", "writeDoubleTyped y=4 context=5"}));

    // A refusal in the first pass ends the write before the second.
    Held<RecordingWriter> refusing(kTwoPass);
    refusing->record().refuseCall(2);
    EXPECT_FALSE(write(Vector2<float>{1, 2}, refusing, true, 0));
    EXPECT_EQ(refusing->record().linesWithout("isSinglePass"),
              (Lines{"writeFloatTyped x=1", "writeFloatTyped y=2 (refused)"}));
}

// The whole typed value, components inside, is pinned by the rigid-body attribute's typed write.
TEST(VectorVariables, ATypedVariableIsNamedWithOrWithoutItsComponents) {
    // Without components wanted the value is named all the same; a refused component does not
    // count, the naming does.
    Held<RecordingWriter> bare;
    bare->setTypedValueComponentsWanted(false);
    EXPECT_TRUE(writeTypedVariable(bare, String("size"), Vector2<double>{1, 2}, 0));
    EXPECT_EQ(bare->lines(),
              (Lines{"beginTypedValue Vector2{double}", "writeTypedValue size=type 254 Vector2{double}"}));

    Held<RecordingWriter> refusing;
    refusing->record().refuseName("x");
    EXPECT_TRUE(writeTypedVariable(refusing, String("size"), Vector2<double>{1, 2}, 0));
    refusing->record().refuseName("size");
    EXPECT_FALSE(writeTypedVariable(refusing, String("size"), Vector2<double>{1, 2}, 0));
}

// Whole nodes from single- and two-pass writers are pinned by the rigid-body attribute's write.
TEST(VectorVariables, ARefusedNodeWritesNothingAndARefusedComponentStillClosesIt) {
    Held<RecordingWriter> refusing(kTwoPass);
    refusing->record().refuseCall(1);
    EXPECT_FALSE(writeNodeVariable(refusing, String("position"), Vector2<float>{}));
    EXPECT_EQ(refusing->lines(), (Lines{"beginNode position (refused)"}));
    refusing->record().clear();
    refusing->record().refuseName("y");
    EXPECT_FALSE(writeNodeVariable(refusing, String("position"), Vector2<float>{}));
    EXPECT_EQ(refusing->record().linesWithout("isSinglePass"),
              (Lines{"beginNode position", "writeFloat x=0 asAttribute=1",
                     "writeFloat y=0 asAttribute=1 (refused)", "endNode"}));
}

template <typename T>
class VectorReference : public ::testing::Test {};
using Reals = ::testing::Types<float, double>;
TYPED_TEST_SUITE(VectorReference, Reals);

TYPED_TEST(VectorReference, ReachesTheComponentsByNameAndNothingElse) {
    using T = TypeParam;
    Vector2<T> vector{1, 2};
    const int32 type = std::is_same_v<T, float> ? VariableTypeFloat : VariableTypeDouble;
    // Only the part after a dot makes a path too deep; "y." has none.
    for (const char* path : {"x", "y", "y."}) {
        VariableReference* reference = getVariableReference(vector, String(path));
        ASSERT_NE(reference, nullptr) << path;
        EXPECT_EQ(reference->getType(), type);
        EXPECT_EQ(reference->getValuePointer(), path[0] == 'x' ? &vector.x : &vector.y) << path;
        reference->destroy();
    }
    VariableReference* y = getVariableReference(vector, String("y"));
    EXPECT_TRUE(y->changeValueInt32(-7));
    EXPECT_EQ(vector, (Vector2<T>{1, -7}));
    y->destroy();

    for (const char* path : {"z", "", "y.x", "X", ".x", "x "})
        EXPECT_EQ(getVariableReference(vector, String(path)), nullptr) << '"' << path << '"';
}

} // namespace
} // namespace zor
