#include "common/variables/VariableReference.h"

#include "common/containers/String.h"
#include "common/object/Guid.h"
#include "common/variables/VariableType.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

namespace zor {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr uint64 kTwoTo63 = uint64{1} << 63;

// A reference on a zero-filled 16-byte member, ended through slot 69 like every reference.
class Target {
public:
    explicit Target(int32 type) : m_reference(new VariableReference(type, m_bytes.data())) {}
    ~Target() { m_reference->destroy(); }
    VariableReference& operator*() { return *m_reference; }
    VariableReference* operator->() { return m_reference; }
    std::array<uint8, 16> m_bytes{};

private:
    VariableReference* m_reference;
};

// The bytes a value of the target type leaves in the member.
struct Stored {
    std::array<uint8, 16> bytes{};
    template <typename T>
    Stored(T value) {
        std::memcpy(bytes.data(), &value, sizeof value);
    }
};

struct ScalarCase {
    const char* description;
    std::function<bool(VariableReference&)> change;
    int32 target;
    Stored expected;
};

void expectStores(const ScalarCase& c) {
    Target target(c.target);
    EXPECT_TRUE(c.change(*target)) << c.description;
    EXPECT_EQ(target.m_bytes, c.expected.bytes) << c.description;
}

TEST(VariableReference, IntegerSourcesKeepLowBitsAndExtendBySourceSignedness) {
    const ScalarCase cases[] = {
        {"int8 -1 into uint16", [](auto& r) { return r.changeValueInt8(-1); }, 5, uint16{65535}},
        {"int8 -1 into uint64", [](auto& r) { return r.changeValueInt8(-1); }, 9, ~uint64{0}},
        {"int16 -2 into uint32", [](auto& r) { return r.changeValueInt16(-2); }, 7, uint32{0xFFFFFFFE}},
        {"uint8 255 into int8", [](auto& r) { return r.changeValueUInt8(255); }, 2, int8{-1}},
        {"uint32 max into int64", [](auto& r) { return r.changeValueUInt32(0xFFFFFFFF); }, 8,
         int64{4294967295}},
        {"int64 into int32", [](auto& r) { return r.changeValueInt64(0x123456789); }, 6, int32{0x23456789}},
        {"uint64 max into int8", [](auto& r) { return r.changeValueUInt64(~uint64{0}); }, 2, int8{-1}},
        {"int32 5 into code 81", [](auto& r) { return r.changeValueInt32(5); }, 81, int32{5}},
        {"uint16 into int16", [](auto& r) { return r.changeValueUInt16(40000); }, 4, int16{-25536}},
        {"bool into int64", [](auto& r) { return r.changeValueBool(true); }, 8, int64{1}},
    };
    for (const ScalarCase& c : cases)
        expectStores(c);
}

TEST(VariableReference, BoolTargetsStoreZeroOrOne) {
    const ScalarCase cases[] = {
        {"int32 7", [](auto& r) { return r.changeValueInt32(7); }, 1, uint8{1}},
        {"uint64 2^40", [](auto& r) { return r.changeValueUInt64(uint64{1} << 40); }, 1, uint8{1}},
        {"int8 0", [](auto& r) { return r.changeValueInt8(0); }, 1, uint8{0}},
        {"float 0", [](auto& r) { return r.changeValueFloat(0.0f); }, 1, uint8{0}},
        {"float -0", [](auto& r) { return r.changeValueFloat(-0.0f); }, 1, uint8{0}},
        {"float NaN", [](auto& r) { return r.changeValueFloat(std::nanf("")); }, 1, uint8{1}},
    };
    for (const ScalarCase& c : cases)
        expectStores(c);
}

TEST(VariableReference, RealsTruncateThroughTheIntermediateOfTheTarget) {
    const ScalarCase cases[] = {
        {"-2.7f into int32", [](auto& r) { return r.changeValueFloat(-2.7f); }, 6, int32{-2}},
        {"-2.7f into uint8", [](auto& r) { return r.changeValueFloat(-2.7f); }, 3, uint8{254}},
        {"300 into int8", [](auto& r) { return r.changeValueDouble(300.0); }, 2, int8{44}},
        {"1e10 into int32", [](auto& r) { return r.changeValueDouble(1e10); }, 6, int32{INT32_MIN}},
        {"1e10 into code 81", [](auto& r) { return r.changeValueDouble(1e10); }, 81, int32{INT32_MIN}},
        // uint32_t and int64_t use the 64-bit intermediate.
        {"1e10 into uint32", [](auto& r) { return r.changeValueDouble(1e10); }, 7, uint32{1410065408}},
        {"1e10 into int64", [](auto& r) { return r.changeValueDouble(1e10); }, 8, int64{10000000000}},
        {"3e9f into uint32", [](auto& r) { return r.changeValueFloat(3e9f); }, 7, uint32{3000000000u}},
        {"-3e9 into uint32", [](auto& r) { return r.changeValueDouble(-3e9); }, 7, uint32{1294967296u}},
        {"-2147483648.9 into int32", [](auto& r) { return r.changeValueDouble(-2147483648.9); }, 6,
         int32{INT32_MIN}},
        {"2147483647.5 into int32", [](auto& r) { return r.changeValueDouble(2147483647.5); }, 6,
         int32{INT32_MAX}},
        {"1e19 into int64", [](auto& r) { return r.changeValueDouble(1e19); }, 8, int64{INT64_MIN}},
        {"NaN into int16", [](auto& r) { return r.changeValueDouble(kNaN); }, 4, int16{0}},
        {"NaN into int32", [](auto& r) { return r.changeValueDouble(kNaN); }, 6, int32{INT32_MIN}},
        {"NaN into uint32", [](auto& r) { return r.changeValueDouble(kNaN); }, 7, uint32{0}},
        {"NaN into int64", [](auto& r) { return r.changeValueFloat(std::nanf("")); }, 8, int64{INT64_MIN}},
    };
    for (const ScalarCase& c : cases)
        expectStores(c);
}

TEST(VariableReference, UInt64TargetsTakeTwoTo63OffLargeValuesAndPutItBack) {
    const ScalarCase cases[] = {
        {"2^63", [](auto& r) { return r.changeValueDouble(9223372036854775808.0); }, 9, kTwoTo63},
        {"1.5e19", [](auto& r) { return r.changeValueDouble(1.5e19); }, 9, uint64{15000000000000000000u}},
        {"2^64 - 2048", [](auto& r) { return r.changeValueDouble(18446744073709549568.0); }, 9,
         uint64{18446744073709549568u}},
        {"2^64 float", [](auto& r) { return r.changeValueFloat(18446744073709551616.0f); }, 9, uint64{0}},
        {"1e30", [](auto& r) { return r.changeValueDouble(1e30); }, 9, uint64{0}},
        {"-1.5", [](auto& r) { return r.changeValueDouble(-1.5); }, 9, ~uint64{0}},
        {"NaN", [](auto& r) { return r.changeValueDouble(kNaN); }, 9, kTwoTo63},
        {"123.9f", [](auto& r) { return r.changeValueFloat(123.9f); }, 9, uint64{123}},
    };
    for (const ScalarCase& c : cases)
        expectStores(c);
}

TEST(VariableReference, RealTargetsRoundToNearestEven) {
    const ScalarCase cases[] = {
        {"bool into float", [](auto& r) { return r.changeValueBool(true); }, 10, 1.0f},
        {"uint64 max into double", [](auto& r) { return r.changeValueUInt64(~uint64{0}); }, 11,
         18446744073709551616.0},
        {"uint64 max into float", [](auto& r) { return r.changeValueUInt64(~uint64{0}); }, 10,
         18446744073709551616.0f},
        // A tie goes to the even neighbour; one more unit must round up (no rounding twice).
        {"2^63 + 2^39 into float", [](auto& r) { return r.changeValueUInt64(kTwoTo63 + (uint64{1} << 39)); },
         10, 9223372036854775808.0f},
        {"2^63 + 2^39 + 1 into float",
         [](auto& r) { return r.changeValueUInt64(kTwoTo63 + (uint64{1} << 39) + 1); }, 10,
         9223373136366403584.0f},
        {"2^63 + 3 * 2^39 into float",
         [](auto& r) { return r.changeValueUInt64(kTwoTo63 + 3 * (uint64{1} << 39)); }, 10,
         9223374235878031360.0f},
        {"2^53 + 1 into double", [](auto& r) { return r.changeValueInt64((int64{1} << 53) + 1); }, 11,
         9007199254740992.0},
        {"int32 16777217 into float", [](auto& r) { return r.changeValueInt32(16777217); }, 10, 16777216.0f},
        {"0.1 into float", [](auto& r) { return r.changeValueDouble(0.1); }, 10, 0.1f},
        {"0.1f into double", [](auto& r) { return r.changeValueFloat(0.1f); }, 11, static_cast<double>(0.1f)},
        {"1e300 into float", [](auto& r) { return r.changeValueDouble(1e300); }, 10, INFINITY},
        // Just above the largest float but below the midpoint to 2^128: rounds down to it.
        {"3.40282356e38 into float", [](auto& r) { return r.changeValueDouble(3.4028235677973362e38); }, 10,
         std::numeric_limits<float>::max()},
        {"midpoint to 2^128 into float",
         [](auto& r) { return r.changeValueDouble(340282356779733661637539395458142568448.0); }, 10,
         INFINITY},
        {"negative NaN into float", [](auto& r) { return r.changeValueDouble(-kNaN); }, 10,
         -std::numeric_limits<float>::quiet_NaN()},
    };
    for (const ScalarCase& c : cases)
        expectStores(c);
}

std::string refusal(const std::function<bool(VariableReference&)>& change, int32 type, bool* result) {
    Target target(type);
    target.m_bytes.fill(0xA5);
    testing::internal::CaptureStdout();
    *result = change(*target);
    std::string output = testing::internal::GetCapturedStdout();
    for (uint8 byte : target.m_bytes)
        if (byte != 0xA5)
            return "target changed";
    return output;
}

TEST(VariableReference, ScalarsIntoOtherTargetsWarnAndLeaveTheTarget) {
    struct Case {
        std::function<bool(VariableReference&)> change;
        int32 type;
        const char* line;
    };
    const Case cases[] = {
        {[](auto& r) { return r.changeValueBool(true); }, 12,
         "WARN : Unable to convert bool_t to type:String\n"},
        {[](auto& r) { return r.changeValueUInt8(1); }, 0,
         "WARN : Unable to convert uint8_t to type:Unknown\n"},
        {[](auto& r) { return r.changeValueInt8(1); }, 77,
         "WARN : Unable to convert int8_t to type:Unknown\n"},
        {[](auto& r) { return r.changeValueUInt16(1); }, 17,
         "WARN : Unable to convert uint16_t to type:Vector2<float>\n"},
        {[](auto& r) { return r.changeValueInt16(1); }, 75,
         "WARN : Unable to convert int16_t to type:GUID_t\n"},
        {[](auto& r) { return r.changeValueUInt32(1); }, 13,
         "WARN : Unable to convert uint32_t to type:Unknown\n"},
        {[](auto& r) { return r.changeValueInt32(1); }, -1,
         "WARN : Unable to convert int32_t to type:Unknown\n"},
        {[](auto& r) { return r.changeValueUInt64(1); }, 78,
         "WARN : Unable to convert uint64_t to type:Unknown\n"},
        {[](auto& r) { return r.changeValueInt64(1); }, 71,
         "WARN : Unable to convert int64_t to type:ColorRGB<float>\n"},
        {[](auto& r) { return r.changeValueFloat(1); }, 35,
         "WARN : Unable to convert float to type:ExtPositionX<float>\n"},
        {[](auto& r) { return r.changeValueDouble(1); }, 12,
         "WARN : Unable to convert double to type:String\n"},
    };
    for (const Case& c : cases) {
        bool result = true;
        EXPECT_EQ(refusal(c.change, c.type, &result), c.line);
        EXPECT_FALSE(result) << c.line;
    }
}

// Fills a value with a byte pattern that differs from its default and from the member.
template <typename T>
T patterned() {
    T value;
    auto* bytes = reinterpret_cast<uint8*>(&value);
    for (std::size_t i = 0; i < sizeof value; ++i)
        bytes[i] = static_cast<uint8>(0x11 + i * 7);
    return value;
}

template <typename T>
void expectExactOnly(bool (VariableReference::*change)(const T&), int32 accepted, int32 refused,
                     const std::string& sourceName) {
    SCOPED_TRACE(sourceName);
    const T value = patterned<T>();
    T member{};
    VariableReference* reference = new VariableReference(accepted, &member);
    EXPECT_TRUE((reference->*change)(value));
    EXPECT_EQ(std::memcmp(&member, &value, sizeof value), 0);
    EXPECT_TRUE((reference->*change)(member));
    EXPECT_EQ(std::memcmp(&member, &value, sizeof value), 0);
    reference->destroy();

    T untouched{};
    reference = new VariableReference(refused, &untouched);
    testing::internal::CaptureStdout();
    EXPECT_FALSE((reference->*change)(value));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "WARN : Unable to convert " + sourceName + " to type:" + getVariableTypeName(refused) + "\n");
    EXPECT_TRUE(untouched == T{});
    reference->destroy();
}

TEST(VariableReference, StructuredValuesGoOnlyIntoTheirOwnTypeWithEveryByte) {
    using R = VariableReference;
    // The refused code is a neighbour of the same shape: no element or kind conversion exists.
    expectExactOnly(&R::changeValueVector2Int32, 14, 16, "Vector2<int32_t>");
    expectExactOnly(&R::changeValueVector2Int64, 16, 14, "Vector2<int64_t>");
    expectExactOnly(&R::changeValueVector2Float, 17, 18, "Vector2<float>");
    expectExactOnly(&R::changeValueVector3Float, 23, 24, "Vector3<float>");
    expectExactOnly(&R::changeValueVector4Float, 29, 30, "Vector4<float>");
    expectExactOnly(&R::changeValueVector2Double, 18, 17, "Vector2<double>");
    expectExactOnly(&R::changeValueVector3Double, 24, 23, "Vector3<double>");
    expectExactOnly(&R::changeValueVector4Double, 30, 29, "Vector4<double>");
    expectExactOnly(&R::changeValueMatrix3x3Float, 31, 32, "Matrix3x3<float>");
    expectExactOnly(&R::changeValueMatrix4x4Float, 33, 34, "Matrix4x4<float>");
    expectExactOnly(&R::changeValueMatrix3x3Double, 32, 31, "Matrix3x3<double>");
    expectExactOnly(&R::changeValueMatrix4x4Double, 34, 33, "Matrix4x4<double>");
    expectExactOnly(&R::changeValueExtPositionXFloat, 35, 36, "ExtPositionX<float> ");
    expectExactOnly(&R::changeValueExtPositionXDouble, 36, 35, "ExtPositionX<double>");
    expectExactOnly(&R::changeValueExtPositionYFloat, 37, 35, "ExtPositionY<float>");
    expectExactOnly(&R::changeValueExtPositionYDouble, 38, 37, "ExtPositionY<double>");
    expectExactOnly(&R::changeValueExtPositionZFloat, 39, 40, "ExtPositionZ<float>");
    expectExactOnly(&R::changeValueExtPositionZDouble, 40, 39, "ExtPositionZ<double>");
    expectExactOnly(&R::changeValueExtDimensionWidthFloat, 41, 42, "ExtDimensionWidth<float>");
    expectExactOnly(&R::changeValueExtDimensionWidthDouble, 42, 41, "ExtDimensionWidth<double>");
    expectExactOnly(&R::changeValueExtDimensionHeightFloat, 43, 44, "ExtDimensionHeight<float>");
    expectExactOnly(&R::changeValueExtDimensionHeightDouble, 44, 43, "ExtDimensionHeight<double>");
    expectExactOnly(&R::changeValueExtDimensionDepthFloat, 45, 46, "ExtDimensionDepth<float>");
    expectExactOnly(&R::changeValueExtDimensionDepthDouble, 46, 45, "ExtDimensionDepth<double>");
    expectExactOnly(&R::changeValueExtVector2Int32, 47, 49, "ExtVector2<int32_t>");
    expectExactOnly(&R::changeValueExtVector2Int64, 48, 50, "ExtVector2<int64_t>");
    expectExactOnly(&R::changeValueExtVector2Float, 49, 17, "ExtVector2<float>");
    expectExactOnly(&R::changeValueExtVector3Float, 51, 23, "ExtVector3<float>");
    expectExactOnly(&R::changeValueExtVector2Double, 50, 48, "ExtVector2<double>");
    expectExactOnly(&R::changeValueExtVector3Double, 52, 51, "ExtVector3<double>");
    expectExactOnly(&R::changeValueRectSizeInt32, 53, 14, "RectSize<int32_t>");
    expectExactOnly(&R::changeValueRectSizeInt64, 54, 16, "RectSize<int64_t>");
    expectExactOnly(&R::changeValueRectSizeFloat, 55, 17, "RectSize<float>");
    expectExactOnly(&R::changeValueRectSizeDouble, 56, 18, "RectSize<double>");
    expectExactOnly(&R::changeValueRectInt32, 57, 58, "Rect<int32_t>");
    expectExactOnly(&R::changeValueRectInt64, 58, 57, "Rect<int64_t>");
    expectExactOnly(&R::changeValueRectFloat, 59, 29, "Rect<float>");
    expectExactOnly(&R::changeValueRectDouble, 60, 30, "Rect<double>");
    expectExactOnly(&R::changeValueBoxSizeFloat, 61, 23, "BoxSize<float>");
    expectExactOnly(&R::changeValueBoxSizeDouble, 62, 24, "BoxSize<double>");
    expectExactOnly(&R::changeValueBoxFloat, 63, 64, "Box<float>");
    expectExactOnly(&R::changeValueBoxDouble, 64, 63, "Box<double>");
    expectExactOnly(&R::changeValueExtRectInt32, 65, 67, "ExtRect<int32_t>");
    expectExactOnly(&R::changeValueExtRectInt64, 66, 68, "ExtRect<int64_t>");
    expectExactOnly(&R::changeValueExtRectFloat, 67, 65, "ExtRect<float>");
    expectExactOnly(&R::changeValueExtRectDouble, 68, 66, "ExtRect<double>");
    expectExactOnly(&R::changeValueExtBoxFloat, 69, 70, "ExtBox<float>");
    expectExactOnly(&R::changeValueExtBoxDouble, 70, 69, "ExtBox<double>");
    expectExactOnly(&R::changeValueGUID, 75, 76, "GUID_t");
}

TEST(VariableReference, StringsAreAssignedIntoStringMembersOnly) {
    String member("old");
    VariableReference* reference = new VariableReference(VariableTypeString, &member);
    const String longText("a text well beyond the sixty-four bytes that fit inside the string object");
    EXPECT_TRUE(reference->changeValueString(longText));
    EXPECT_EQ(member, longText);
    EXPECT_TRUE(reference->changeValueString(member));
    EXPECT_EQ(member, longText);
    reference->destroy();

    String untouched("kept");
    reference = new VariableReference(VariableTypeStringReference, &untouched);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(reference->changeValueString(longText));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARN : Unable to convert String to type:Unknown\n");
    EXPECT_EQ(untouched, "kept");
    reference->destroy();
}

template <typename Member, typename Source>
Member throughColor(bool (VariableReference::*change)(const Source&), int32 type, const Source& value,
                    Member member = {}) {
    VariableReference* reference = new VariableReference(type, &member);
    EXPECT_TRUE((reference->*change)(value));
    reference->destroy();
    return member;
}

TEST(VariableReference, ColoursConvertBetweenTheirFourForms) {
    using R = VariableReference;
    const ColorRGB<float> rgbF{0.1f, 0.5f, 0.25f};
    const ColorRGBA<double> rgbaD{0.1, 1e300, -0.5, 0.75};

    EXPECT_EQ(throughColor<ColorRGBA<double>>(&R::changeValueColorRGBFloat, 74, rgbF),
              (ColorRGBA<double>{double{0.1f}, 0.5, 0.25, 1.0}));
    EXPECT_EQ(throughColor<ColorRGB<double>>(&R::changeValueColorRGBFloat, 72, rgbF),
              (ColorRGB<double>{double{0.1f}, 0.5, 0.25}));
    EXPECT_EQ(throughColor<ColorRGBA<float>>(&R::changeValueColorRGBADouble, 73, rgbaD),
              (ColorRGBA<float>{0.1f, INFINITY, -0.5f, 0.75f}));
    EXPECT_EQ(throughColor<ColorRGBA<double>>(&R::changeValueColorRGBADouble, 74, rgbaD), rgbaD);
    EXPECT_EQ(throughColor<ColorRGBA<float>>(&R::changeValueColorRGBDouble, 73, ColorRGB<double>{1, 2, 3}),
              (ColorRGBA<float>{1, 2, 3, 1}));

    // An RGBA value into an RGB member drops alpha and writes nothing behind the member.
    struct Guarded {
        ColorRGB<float> color;
        float after = 42.0f;
    } guarded;
    VariableReference* reference = new VariableReference(VariableTypeColorRGBFloat, &guarded.color);
    EXPECT_TRUE(reference->changeValueColorRGBAFloat(ColorRGBA<float>{1, 2, 3, 4}));
    EXPECT_EQ(guarded.color, (ColorRGB<float>{1, 2, 3}));
    EXPECT_EQ(guarded.after, 42.0f);
    EXPECT_TRUE(reference->changeValueColorRGBFloat(guarded.color));
    EXPECT_EQ(guarded.color, (ColorRGB<float>{1, 2, 3}));
    reference->destroy();
}

TEST(VariableReference, ColoursIntoOtherTargetsWarn) {
    struct Case {
        std::function<bool(VariableReference&)> change;
        const char* line;
    };
    const Case cases[] = {
        {[](auto& r) { return r.changeValueColorRGBFloat({}); },
         "WARN : Unable to convert ColorRGB<float> to type:Vector3<float>\n"},
        {[](auto& r) { return r.changeValueColorRGBDouble({}); },
         "WARN : Unable to convert ColorRGB<double> to type:Vector3<float>\n"},
        {[](auto& r) { return r.changeValueColorRGBAFloat({}); },
         "WARN : Unable to convert ColorRGBA<float> to type:Vector3<float>\n"},
        {[](auto& r) { return r.changeValueColorRGBADouble({}); },
         "WARN : Unable to convert ColorRGBA<double> to type:Vector3<float>\n"},
    };
    for (const Case& c : cases) {
        bool result = true;
        EXPECT_EQ(refusal(c.change, VariableTypeVector3Float, &result), c.line);
        EXPECT_FALSE(result);
    }
}

TEST(VariableReference, StringReferencesHoldOneReferenceOnTheirString) {
    String* member = nullptr;
    VariableReference* reference = new VariableReference(VariableTypeStringReference, &member);
    String* first = new String("first");
    String* second = new String("second");

    EXPECT_TRUE(reference->changeValueStringReference(first));
    EXPECT_EQ(member, first);
    EXPECT_EQ(first->referenceCount(), 1u);
    // Storing the string the member already holds keeps exactly one reference on it.
    EXPECT_TRUE(reference->changeValueStringReference(first));
    EXPECT_EQ(first->referenceCount(), 1u);
    EXPECT_TRUE(reference->changeValueStringReference(second));
    EXPECT_EQ(member, second);
    EXPECT_EQ(first->referenceCount(), 0u);
    EXPECT_TRUE(reference->changeValueStringReference(nullptr));
    EXPECT_EQ(member, nullptr);
    EXPECT_EQ(second->referenceCount(), 0u);
    reference->destroy();

    String* held = first;
    reference = new VariableReference(VariableTypeObjectReference, &held);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(reference->changeValueStringReference(second));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARN : Unable to convert String * to type:Unknown\n");
    EXPECT_EQ(held, first);
    EXPECT_EQ(second->referenceCount(), 0u);
    reference->destroy();

    first->release();
    second->release();
}

TEST(VariableReference, ObjectReferencesIntoOtherTargetsWarn) {
    void* held = &held;
    VariableReference* reference = new VariableReference(VariableTypeStringReference, &held);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(reference->changeValueObjectReference(nullptr, false));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARN : Unable to convert IObject * to type:Unknown\n");
    EXPECT_EQ(held, &held);
    reference->destroy();
}

TEST(VariableReference, IsATwentyByteObjectInATwentyFourByteBlock) {
    int32 member = 0;
    VariableReference* reference = new VariableReference(VariableTypeInt32, &member);
    EXPECT_EQ(memoryBlockSize(reference), 24u);
    EXPECT_EQ(reference->getType(), VariableTypeInt32);
    EXPECT_EQ(reference->getValuePointer(), &member);
    reference->destroy();
}

} // namespace
} // namespace zor
