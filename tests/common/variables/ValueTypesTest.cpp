#include "common/variables/Box.h"
#include "common/variables/Color.h"
#include "common/variables/ExtendedTypes.h"
#include "common/variables/Matrix.h"
#include "common/variables/Rect.h"
#include "common/variables/VariableType.h"
#include "common/variables/Vector.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace zor {

// The host reads these records byte by byte: the kind bytes follow the values directly.
static_assert(offsetof(ExtPositionX<double>, anchor) == 8);
static_assert(offsetof(ExtVector2<double>, xAnchor) == 16);
static_assert(offsetof(ExtVector3<float>, zAnchor) == 14);
static_assert(offsetof(ExtRect<float>, xAnchor) == 16 && offsetof(ExtRect<float>, limits) == 20);
static_assert(offsetof(ExtRect<double>, limits) == 36 && offsetof(ExtRect<double>, flags) == 84);
static_assert(offsetof(ExtBox<float>, limits) == 30 && offsetof(ExtBox<float>, extra) == 54);
static_assert(offsetof(ExtBox<double>, extra) == 102 && offsetof(ExtBox<double>, flags) == 126);

namespace {

TEST(VariableTypeName, NamesEveryAssignedCodeAndUnknownForTheRest) {
    struct Case {
        int32 code;
        const char* name;
    };
    const Case named[] = {
        {1, "bool_t"},
        {9, "uint64_t"},
        {10, "float"},
        {11, "double"},
        {12, "String"},
        {14, "Vector2<int32_t>"},
        {16, "Vector2<int64_t>"},
        {24, "Vector3<double>"},
        {29, "Vector4<float>"},
        {34, "Matrix4x4<double>"},
        {35, "ExtPositionX<float>"},
        {46, "ExtDimensionDepth<double>"},
        {47, "ExtVector2<int32_t>"},
        {52, "ExtVector3<double>"},
        {53, "RectSize<int32_t>"},
        {60, "Rect<double>"},
        {64, "Box<double>"},
        {68, "ExtRect<double>"},
        {70, "ExtBox<double>"},
        {74, "ColorRGBA<double>"},
        {75, "GUID_t"},
        {76, "ObjectGUIDReference"},
    };
    for (const Case& c : named)
        EXPECT_STREQ(getVariableTypeName(c.code), c.name) << c.code;
    for (int32 code : {0, -1, -1000, 13, 15, 19, 20, 21, 22, 25, 26, 27, 28, 77, 78, 81, 1000, INT32_MIN})
        EXPECT_STREQ(getVariableTypeName(code), "Unknown") << code;
}

TEST(ValueTypes, DefaultsAreZeroExceptIdentityMatricesAndHostLimits) {
    EXPECT_EQ(Vector4<double>{}, (Vector4<double>{0, 0, 0, 0}));
    EXPECT_EQ(Box<float>{}, (Box<float>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ColorRGBA<float>{}, (ColorRGBA<float>{0, 0, 0, 0}));

    const Matrix3x3<float> m3;
    const Matrix4x4<double> m4;
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(m3[i], (i == 0 || i == 4 || i == 8) ? 1.0f : 0.0f) << i;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m4[i], (i % 5 == 0) ? 1.0 : 0.0) << i;

    EXPECT_EQ(ExtPositionY<float>{}.anchor, 0);
    EXPECT_EQ(ExtDimensionWidth<float>{}.kind, 8);
    EXPECT_EQ(ExtDimensionHeight<double>{}.kind, 8);
    EXPECT_EQ(+ExtDimensionDepth<float>{}.value, 0.0f);

    const ExtRect<int32> rect;
    const int32 rectLimits[6] = {0, 65536, 0, 65536, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(+rect.limits[i], rectLimits[i]) << i;
    EXPECT_EQ(+rect.width, 0);
    EXPECT_EQ(rect.flags[1], 0);

    const ExtBox<double> box;
    const double boxLimits[6] = {0, 65535, 0, 65535, 0, 65535};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(+box.limits[i], boxLimits[i]) << i;
    EXPECT_EQ(+box.extra[2], 0.0);
    EXPECT_EQ(box.depthKind, 0);
}

} // namespace
} // namespace zor
