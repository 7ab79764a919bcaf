#include "common/variables/ExtendedTypes.h"
#include "common/variables/Matrix.h"
#include "common/variables/VariableType.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

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
    std::string names;
    for (int32 code : {1, 11, 12, 14, 35, 52, 53, 70, 74, 76})
        names += std::string(getVariableTypeName(code)) + " ";
    EXPECT_EQ(names, "bool_t double String Vector2<int32_t> ExtPositionX<float> ExtVector3<double> "
                     "RectSize<int32_t> ExtBox<double> ColorRGBA<double> ObjectGUIDReference ");
    for (int32 code : {0, -1, 13, 15, 19, 22, 25, 28, 77, 81, INT32_MIN})
        EXPECT_STREQ(getVariableTypeName(code), "Unknown") << code;
}

TEST(ValueTypes, MatricesStartAsIdentityAndHostRecordsWithTheHostsLimits) {
    const Matrix3x3<float> m3;
    const Matrix4x4<double> m4;
    for (int i = 0; i < 16; ++i) {
        if (i < 9) {
            EXPECT_EQ(m3[i], i % 4 == 0 ? 1.0f : 0.0f) << i;
        }
        EXPECT_EQ(m4[i], i % 5 == 0 ? 1.0 : 0.0) << i;
    }
    EXPECT_EQ(ExtDimensionHeight<double>{}.kind, 8);
    const ExtRect<int32> rect;
    const ExtBox<double> box;
    const int32 rectLimits[6] = {0, 65536, 0, 65536, 0, 0};
    const double boxLimits[6] = {0, 65535, 0, 65535, 0, 65535};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(+rect.limits[i], rectLimits[i]) << i;
        EXPECT_EQ(+box.limits[i], boxLimits[i]) << i;
    }
}

} // namespace
} // namespace zor
