#include "common/variables/VariableReference.h"

#include "common/containers/String.h"
#include "common/object/Guid.h"
#include "common/variables/ExtendedTypes.h"
#include "common/variables/Matrix.h"
#include "common/variables/VariableType.h"
#include "common/variables/VectorVariables.h"

#include "support/Held.h"
#include "support/RecordingReader.h"
#include "support/RecordingWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace zor {
namespace {

using R = VariableReference;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr uint64 kTwoTo63 = uint64{1} << 63;

// Stores `value` through `change` into a zero-filled member of type code `type`; the member's
// bytes, and the zeros behind it, must then be exactly those of `expected`.
template <typename Source, typename Expected>
void expectStores(bool (R::*change)(Source), std::type_identity_t<Source> value, int32 type,
                  Expected expected, const char* what) {
    std::array<uint8, 32> member{}, bytes{};
    std::memcpy(bytes.data(), &expected, sizeof expected);
    R* reference = new R(type, member.data());
    EXPECT_TRUE((reference->*change)(value)) << what;
    EXPECT_EQ(member, bytes) << what;
    reference->destroy();
}

#define EXPECT_STORES(operation, value, type, expected)                                                      \
    expectStores(&R::changeValue##operation, value, type, expected, #operation "(" #value ") into " #type)

TEST(VariableReference, IntegersKeepTheirLowBitsAndBoolsAreZeroOrOne) {
    // clang-format off
    EXPECT_STORES(Int8, -1, 5, uint16{65535}); EXPECT_STORES(UInt8, 255, 2, int8{-1});
    EXPECT_STORES(UInt32, 0xFFFFFFFF, 8, int64{4294967295}); EXPECT_STORES(Int32, 5, 81, int32{5});
    EXPECT_STORES(Int64, 0x123456789, 6, int32{0x23456789}); EXPECT_STORES(UInt64, ~uint64{0}, 2, int8{-1});
    // A bool member holds whether the value is non-zero, not its low bits; a NaN is not zero.
    EXPECT_STORES(UInt64, uint64{1} << 40, 1, uint8{1}); EXPECT_STORES(Float, -0.0f, 1, uint8{0});
    EXPECT_STORES(Float, NAN, 1, uint8{1});
    // clang-format on
}

TEST(VariableReference, RealsTruncateThroughTheIntermediateOfTheTarget) {
    // clang-format off
    EXPECT_STORES(Double, -2147483648.9, 6, int32{INT32_MIN}); EXPECT_STORES(Double, 300.0, 2, int8{44});
    EXPECT_STORES(Double, 2147483647.5, 6, int32{INT32_MAX}); EXPECT_STORES(Float, -2.7f, 3, uint8{254});
    EXPECT_STORES(Double, kNaN, 4, int16{0}); EXPECT_STORES(Double, kNaN, 6, int32{INT32_MIN});
    // uint32_t and int64_t use the 64-bit intermediate.
    EXPECT_STORES(Double, 1e10, 7, uint32{1410065408}); EXPECT_STORES(Double, -3e9, 7, uint32{1294967296});
    EXPECT_STORES(Double, 1e19, 8, int64{INT64_MIN}); EXPECT_STORES(Float, NAN, 8, int64{INT64_MIN});
    // uint64_t takes 2^63 off large values and puts it back.
    EXPECT_STORES(Double, 9223372036854775808.0, 9, kTwoTo63);
    EXPECT_STORES(Double, 18446744073709549568.0, 9, uint64{18446744073709549568u});
    EXPECT_STORES(Float, 18446744073709551616.0f, 9, uint64{0}); EXPECT_STORES(Double, -1.5, 9, ~uint64{0});
    EXPECT_STORES(Double, kNaN, 9, kTwoTo63);
    // clang-format on
}

TEST(VariableReference, RealTargetsRoundToNearestEven) {
    // clang-format off
    EXPECT_STORES(UInt64, ~uint64{0}, 11, 18446744073709551616.0); EXPECT_STORES(Double, 1e300, 10, INFINITY);
    EXPECT_STORES(UInt64, ~uint64{0}, 10, 18446744073709551616.0f);
    // A tie goes to the even neighbour; one more unit must round up (no rounding twice).
    EXPECT_STORES(UInt64, kTwoTo63 + (uint64{1} << 39), 10, 9223372036854775808.0f);
    EXPECT_STORES(UInt64, kTwoTo63 + (uint64{1} << 39) + 1, 10, 9223373136366403584.0f);
    EXPECT_STORES(UInt64, kTwoTo63 + 3 * (uint64{1} << 39), 10, 9223374235878031360.0f);
    // Just above the largest float but below the midpoint to 2^128: rounds down to it.
    EXPECT_STORES(Double, 3.4028235677973362e38, 10, std::numeric_limits<float>::max());
    EXPECT_STORES(Double, 340282356779733661637539395458142568448.0, 10, INFINITY);
    EXPECT_STORES(Double, -kNaN, 10, -std::numeric_limits<float>::quiet_NaN());
    // clang-format on
}

// A refusal case: the call of changeValue<call> on a reference.
#define CHANGE(call) [](R& r) { return r.changeValue##call; }

// Runs `change` on a member of type code `type` filled with a pattern; returns the log output,
// which must be its only effect.
std::string refusal(const std::function<bool(R&)>& change, int32 type) {
    std::array<uint8, 256> member;
    member.fill(0xA5);
    R* reference = new R(type, member.data());
    testing::internal::CaptureStdout();
    const bool accepted = change(*reference);
    std::string output = testing::internal::GetCapturedStdout();
    reference->destroy();
    if (accepted || std::any_of(member.begin(), member.end(), [](uint8 byte) { return byte != 0xA5; }))
        return "accepted or changed";
    return output;
}

TEST(VariableReference, ValuesWithoutAConversionWarnAndLeaveTheMember) {
    // clang-format off
    const struct {
        std::function<bool(R&)> change;
        int32 type;
        const char* text;
    } cases[] = {
        {CHANGE(Bool(true)), 12, "bool_t to type:String"}, {CHANGE(UInt8(1)), 0, "uint8_t to type:Unknown"},
        {CHANGE(Int8(1)), 77, "int8_t to type:Unknown"}, {CHANGE(UInt32(1)), 13, "uint32_t to type:Unknown"},
        {CHANGE(UInt16(1)), 17, "uint16_t to type:Vector2<float>"},
        {CHANGE(Int16(1)), 75, "int16_t to type:GUID_t"}, {CHANGE(Int32(1)), -1, "int32_t to type:Unknown"},
        {CHANGE(UInt64(1)), 78, "uint64_t to type:Unknown"}, {CHANGE(Double(1)), 12, "double to type:String"},
        {CHANGE(Int64(1)), 71, "int64_t to type:ColorRGB<float>"},
        {CHANGE(Float(1)), 35, "float to type:ExtPositionX<float>"},
        {CHANGE(String(String("x"))), 13, "String to type:Unknown"},
        {CHANGE(ColorRGBFloat({})), 23, "ColorRGB<float> to type:Vector3<float>"},
        {CHANGE(ColorRGBDouble({})), 23, "ColorRGB<double> to type:Vector3<float>"},
        {CHANGE(ColorRGBAFloat({})), 23, "ColorRGBA<float> to type:Vector3<float>"},
        {CHANGE(ColorRGBADouble({})), 0, "ColorRGBA<double> to type:Unknown"},
        {CHANGE(StringReference(nullptr)), 12, "String * to type:String"},
        {CHANGE(ObjectReference(nullptr, false)), 13, "IObject * to type:Unknown"}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(refusal(c.change, c.type), std::string("WARN : Unable to convert ") + c.text + "\n");
}

// A structured value goes only into a member of its own type, every byte of it, also when the
// member is stored into itself; `refused` is a code of the same shape that must warn.
template <typename T>
void expectExactOnly(bool (R::*change)(const T&), int32 accepted, int32 refused, const std::string& name) {
    T value;
    for (std::size_t i = 0; i < sizeof value; ++i)
        reinterpret_cast<uint8*>(&value)[i] = static_cast<uint8>(0x11 + i * 7);
    T member{};
    R* reference = new R(accepted, &member);
    EXPECT_TRUE((reference->*change)(value) && (reference->*change)(member)) << name;
    EXPECT_EQ(std::memcmp(&member, &value, sizeof value), 0) << name;
    reference->destroy();
    EXPECT_EQ(refusal([&](R& r) { return (r.*change)(value); }, refused),
              "WARN : Unable to convert " + name + " to type:" + getVariableTypeName(refused) + "\n");
}

#define EXACT(operation, accepted, refused, name)                                                            \
    expectExactOnly(&R::changeValue##operation, accepted, refused, name)

TEST(VariableReference, StructuredValuesGoOnlyIntoTheirOwnTypeWithEveryByte) {
    // clang-format off
    EXACT(Vector2Int32, 14, 16, "Vector2<int32_t>"); EXACT(Vector2Int64, 16, 14, "Vector2<int64_t>");
    EXACT(Vector2Float, 17, 18, "Vector2<float>"); EXACT(Vector3Float, 23, 24, "Vector3<float>");
    EXACT(Vector4Float, 29, 30, "Vector4<float>"); EXACT(Vector2Double, 18, 17, "Vector2<double>");
    EXACT(Vector3Double, 24, 23, "Vector3<double>"); EXACT(Vector4Double, 30, 29, "Vector4<double>");
    EXACT(Matrix3x3Float, 31, 32, "Matrix3x3<float>"); EXACT(Matrix4x4Float, 33, 34, "Matrix4x4<float>");
    EXACT(Matrix3x3Double, 32, 31, "Matrix3x3<double>"); EXACT(Matrix4x4Double, 34, 33, "Matrix4x4<double>");
    EXACT(ExtPositionXFloat, 35, 36, "ExtPositionX<float> ");
    EXACT(ExtPositionXDouble, 36, 35, "ExtPositionX<double>");
    EXACT(ExtPositionYFloat, 37, 35, "ExtPositionY<float>");
    EXACT(ExtPositionYDouble, 38, 37, "ExtPositionY<double>");
    EXACT(ExtPositionZFloat, 39, 40, "ExtPositionZ<float>");
    EXACT(ExtPositionZDouble, 40, 39, "ExtPositionZ<double>");
    EXACT(ExtDimensionWidthFloat, 41, 42, "ExtDimensionWidth<float>");
    EXACT(ExtDimensionWidthDouble, 42, 41, "ExtDimensionWidth<double>");
    EXACT(ExtDimensionHeightFloat, 43, 44, "ExtDimensionHeight<float>");
    EXACT(ExtDimensionHeightDouble, 44, 43, "ExtDimensionHeight<double>");
    EXACT(ExtDimensionDepthFloat, 45, 46, "ExtDimensionDepth<float>");
    EXACT(ExtDimensionDepthDouble, 46, 45, "ExtDimensionDepth<double>");
    EXACT(ExtVector2Int32, 47, 49, "ExtVector2<int32_t>");
    EXACT(ExtVector2Int64, 48, 50, "ExtVector2<int64_t>");
    EXACT(ExtVector2Float, 49, 17, "ExtVector2<float>"); EXACT(ExtVector3Float, 51, 23, "ExtVector3<float>");
    EXACT(ExtVector2Double, 50, 48, "ExtVector2<double>");
    EXACT(ExtVector3Double, 52, 51, "ExtVector3<double>"); EXACT(RectSizeInt32, 53, 14, "RectSize<int32_t>");
    EXACT(RectSizeInt64, 54, 16, "RectSize<int64_t>"); EXACT(RectSizeFloat, 55, 17, "RectSize<float>");
    EXACT(RectSizeDouble, 56, 18, "RectSize<double>"); EXACT(RectInt32, 57, 58, "Rect<int32_t>");
    EXACT(RectInt64, 58, 57, "Rect<int64_t>"); EXACT(RectFloat, 59, 29, "Rect<float>");
    EXACT(RectDouble, 60, 30, "Rect<double>"); EXACT(BoxSizeFloat, 61, 23, "BoxSize<float>");
    EXACT(BoxSizeDouble, 62, 24, "BoxSize<double>"); EXACT(BoxFloat, 63, 64, "Box<float>");
    EXACT(BoxDouble, 64, 63, "Box<double>"); EXACT(ExtRectInt32, 65, 67, "ExtRect<int32_t>");
    EXACT(ExtRectInt64, 66, 68, "ExtRect<int64_t>"); EXACT(ExtRectFloat, 67, 65, "ExtRect<float>");
    EXACT(ExtRectDouble, 68, 66, "ExtRect<double>"); EXACT(ExtBoxFloat, 69, 70, "ExtBox<float>");
    EXACT(ExtBoxDouble, 70, 69, "ExtBox<double>"); EXACT(GUID, 75, 76, "GUID_t");
    // clang-format on
}

TEST(VariableReference, ColoursConvertBetweenTheirFourForms) {
    const ColorRGB<float> rgbF{0.1f, 0.5f, 0.25f};
    const ColorRGBA<double> rgbaD{0.1, 1e300, -0.5, 0.75};
    EXPECT_STORES(ColorRGBFloat, rgbF, 74, (ColorRGBA<double>{double{0.1f}, 0.5, 0.25, 1.0}));
    EXPECT_STORES(ColorRGBFloat, rgbF, 72, (ColorRGB<double>{double{0.1f}, 0.5, 0.25}));
    EXPECT_STORES(ColorRGBADouble, rgbaD, 73, (ColorRGBA<float>{0.1f, INFINITY, -0.5f, 0.75f}));
    EXPECT_STORES(ColorRGBADouble, rgbaD, 74, rgbaD);
    // An RGBA value into an RGB member drops alpha and writes nothing behind the member.
    EXPECT_STORES(ColorRGBAFloat, (ColorRGBA<float>{1, 2, 3, 4}), 71, (ColorRGB<float>{1, 2, 3}));
}

TEST(VariableReference, StringsAreAssignedAndStringReferencesHoldOneReference) {
    String text("old");
    R* reference = new R(VariableTypeString, &text);
    EXPECT_EQ(memoryBlockSize(reference), 24u) << "a twenty-byte object";
    const String longText("a text well beyond the sixty-four bytes that fit inside the string object");
    EXPECT_TRUE(reference->changeValueString(longText) && reference->changeValueString(text));
    EXPECT_EQ(text, longText);
    reference->destroy();

    String* member = nullptr;
    reference = new R(VariableTypeStringReference, &member);
    String* first = new String("first");
    String* second = new String("second");
    // Storing the string the member already holds keeps exactly one reference on it.
    EXPECT_TRUE(reference->changeValueStringReference(first) && reference->changeValueStringReference(first));
    EXPECT_EQ(first->referenceCount(), 1u);
    EXPECT_TRUE(reference->changeValueStringReference(second));
    EXPECT_EQ(member, second);
    EXPECT_EQ(first->referenceCount(), 0u);
    EXPECT_TRUE(reference->changeValueStringReference(nullptr));
    EXPECT_EQ(member, nullptr);
    EXPECT_EQ(second->referenceCount(), 0u);
    reference->destroy();
    first->release();
    second->release();
}

// The host reads these records byte by byte: the kind bytes follow the values directly.
static_assert(offsetof(ExtPositionX<double>, anchor) == 8);
static_assert(offsetof(ExtVector2<double>, xAnchor) == 16);
static_assert(offsetof(ExtVector3<float>, zAnchor) == 14);
static_assert(offsetof(ExtRect<float>, xAnchor) == 16 && offsetof(ExtRect<float>, limits) == 20);
static_assert(offsetof(ExtRect<double>, limits) == 36 && offsetof(ExtRect<double>, flags) == 84);
static_assert(offsetof(ExtBox<float>, limits) == 30 && offsetof(ExtBox<float>, extra) == 54);
static_assert(offsetof(ExtBox<double>, extra) == 102 && offsetof(ExtBox<double>, flags) == 126);

TEST(VariableTypeName, NamesEveryAssignedCodeAndUnknownForTheRest) {
    std::string names;
    for (int32 code : {1, 11, 12, 14, 35, 52, 53, 70, 74, 76})
        names += std::string(getVariableTypeName(code)) + " ";
    EXPECT_EQ(names, "bool_t double String Vector2<int32_t> ExtPositionX<float> ExtVector3<double> "
                     "RectSize<int32_t> ExtBox<double> ColorRGBA<double> ObjectGUIDReference ");
    for (int32 code : {0, -1, 13, 15, 19, 22, 25, 28, 77, 81, INT32_MIN})
        EXPECT_STREQ(getVariableTypeName(code), "Unknown") << code;
}

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
