#include "physics/math/Matrix4x4Inverse.h"

#include "physics/math/MatrixRoutines.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

template <typename T>
struct Matrix4x4Inverse : testing::Test {};
using NumberTypes = testing::Types<float, double>;
TYPED_TEST_SUITE(Matrix4x4Inverse, NumberTypes);

TYPED_TEST(Matrix4x4Inverse, UndoesAProjectionAndLeavesASingularMatrixAlone) {
    using T = TypeParam;
    // A perspective projection after a turn and a shift: nothing affine about it.
    const Matrix4x4<T> m{{0, 2, 0, 0, -1.5, 0, 0, 0, 0, 0, -1.2, -1, 3, -4, 9.5, 0}};
    Matrix4x4<T> inverted = m;
    ASSERT_TRUE(inverse(inverted));
    Matrix4x4<T> product;
    multiply(inverted, product, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product[i], i % 5 == 0 ? 1 : 0, 1e-6) << i;

    Matrix4x4<T> singular = m;
    for (int column = 0; column < 4; ++column)
        singular[8 + column] = 2 * singular[column]; // the third row a multiple of the first
    const Matrix4x4<T> before = singular;
    EXPECT_FALSE(inverse(singular));
    EXPECT_EQ(singular, before);
}

} // namespace
} // namespace zor
