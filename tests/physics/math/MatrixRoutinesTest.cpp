#include "physics/math/MatrixRoutines.h"

#include "physics/math/Matrix4x4Inverse.h"

#include <gtest/gtest.h>

#include <limits>

namespace zor {
namespace {

// The routines are one template for either number type; double stands for both.
using T = double;
constexpr T kInfinity = std::numeric_limits<T>::infinity();

// The 2D translation by (10, 20).
const Matrix3x3<T> kTranslation{{1, 0, 0, 0, 1, 0, 10, 20, 1}};

TEST(MatrixRoutines, TransformMultipliesTheRowVectorAndMayWorkInPlace) {
    Vector3<T> point{2, 3, 1};
    EXPECT_EQ(transform(kTranslation, point, point), (Vector3<T>{12, 23, 1}));
    EXPECT_EQ(point, (Vector3<T>{12, 23, 1}));

    // A projective matrix: the third component is computed as well.
    const Matrix3x3<T> projective{{1, 0, 2, 0, 1, 3, 10, 20, 4}};
    Vector3<T> out;
    transform(projective, out, Vector3<T>{2, 3, 1});
    EXPECT_EQ(out, (Vector3<T>{12, 23, 17}));
}

TEST(MatrixRoutines, AffineTransformsPassTheLastComponentThroughUnmultiplied) {
    // Computed, the last component would be inf × 0 + ... = NaN (as the others here are).
    Vector3<T> out;
    transform(kTranslation, out, Vector3<T>{kInfinity, 0, 1});
    EXPECT_EQ(out.z, 1);
    Vector4<T> out4;
    const Matrix4x4<T> translation4{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 6, 7, 1}};
    transform(translation4, out4, Vector4<T>{kInfinity, 1, 2, 1});
    EXPECT_EQ(out4.w, 1);
    // A perspective matrix (w' = z) has its last component computed.
    const Matrix4x4<T> perspective{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}};
    Vector4<T> point{2, 3, 4, 1};
    EXPECT_EQ(transform(perspective, point, point), (Vector4<T>{2, 3, 4, 4}));
}

TEST(MatrixRoutines, InverseInvertsInPlaceAndLeavesASingularMatrixTransposed) {
    Matrix3x3<T> matrix = kTranslation;
    inverse(matrix);
    EXPECT_EQ(matrix, (Matrix3x3<T>{{1, 0, 0, 0, 1, 0, -10, -20, 1}}));

    // A rotation by 90 degrees with a translation: its inverse undoes it.
    const Matrix3x3<T> rotation{{0, 1, 0, -1, 0, 0, 3, 4, 1}};
    Matrix3x3<T> undo = rotation;
    inverse(undo);
    Vector3<T> moved, back;
    transform(rotation, moved, Vector3<T>{5, 7, 1});
    EXPECT_EQ(transform(undo, back, moved), (Vector3<T>{5, 7, 1}));

    // The cofactors are multiplied by the reciprocal of the determinant, not divided by it:
    // 5 × (1/3) lies one unit below 5/3.
    Matrix3x3<T> thirds{{2, 7, 0, 1, 5, 0, 0, 0, 1}};
    inverse(thirds);
    EXPECT_EQ(thirds, (Matrix3x3<T>{{1.6666666666666665, -2.333333333333333, 0, -0.3333333333333333,
                                     0.6666666666666666, 0, 0, 0, 1}}));

    Matrix3x3<T> singular{{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    inverse(singular);
    EXPECT_EQ(singular, (Matrix3x3<T>{{1, 4, 7, 2, 5, 8, 3, 6, 9}}));
}

TEST(MatrixRoutines, PointInTransformedRectIncludesTheBorders) {
    const Rect<T> rect{0, 0, 2, 3};
    struct Case {
        Vector2<T> point;
        bool inside;
    };
    // In local coordinates the rectangle spans (10, 20) to (12, 23) of the scene.
    const Case cases[] = {{{12, 23}, true},   {{10, 20}, true},    {{11, 21.5}, true}, {{12, 23.5}, false},
                          {{9.5, 21}, false}, {{11, 19.5}, false}, {{12.5, 22}, false}};
    for (const Case& c : cases)
        EXPECT_EQ(isPointInTransformedRect(c.point, rect, kTranslation), c.inside)
            << c.point.x << ", " << c.point.y;

    // A scaled element: the scene point (4, 12) is the local (2, 3).
    const Matrix3x3<T> scaled{{2, 0, 0, 0, 4, 0, 0, 0, 1}};
    EXPECT_TRUE(isPointInTransformedRect(Vector2<T>{4, 12}, rect, scaled));
    EXPECT_FALSE(isPointInTransformedRect(Vector2<T>{4.5, 12}, rect, scaled));
}

TEST(MatrixRoutines, APointAtInfinityIsNeverInsideAndASingularTransformFailsNothing) {
    // This projective matrix is its own inverse and sends (1, 5) to a local third component 0;
    // the local point would be (inf, inf), which even an endless rectangle would hold.
    const Matrix3x3<T> projective{{1, 0, 1, 0, 1, 0, 0, 0, -1}};
    const Rect<T> endless{0, 0, kInfinity, kInfinity};
    EXPECT_FALSE(isPointInTransformedRect(Vector2<T>{1, 5}, endless, projective));
    EXPECT_TRUE(isPointInTransformedRect(Vector2<T>{2, 5}, endless, projective));

    const Matrix3x3<T> collapsed{{0, 0, 0, 0, 0, 0, 0, 0, 0}};
    EXPECT_FALSE(isPointInTransformedRect(Vector2<T>{0, 0}, endless, collapsed));
}

TEST(MatrixRoutines, MultiplyAppliesTheSecondFactorFirstAndKeepsAffineProductsExact) {
    const Matrix4x4<T> move{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}};
    const Matrix4x4<T> scale{{2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}};
    Matrix4x4<T> scaleThenMove;
    multiply(move, scaleThenMove, scale);
    EXPECT_EQ(scaleThenMove, (Matrix4x4<T>{{2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1}}));
    Vector4<T> point{1, 1, 1, 1};
    EXPECT_EQ(transform(scaleThenMove, point, point), (Vector4<T>{3, 4, 5, 1}));

    // The product may replace either factor.
    Matrix4x4<T> moveThenScale = move;
    multiply(scale, moveThenScale, moveThenScale);
    EXPECT_EQ(moveThenScale, (Matrix4x4<T>{{2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 4, 6, 1}}));

    // A projective factor: the last column is computed.
    const Matrix4x4<T> perspective{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}};
    Matrix4x4<T> projected;
    multiply(perspective, projected, move);
    EXPECT_EQ(projected, (Matrix4x4<T>{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 1, 2, 3, 3}}));

    // Affine factors: the last column is exact, where computed it would hold inf × 0 = NaN.
    const Matrix4x4<T> far{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, kInfinity, 0, 0, 1}};
    Matrix4x4<T> product;
    multiply(Matrix4x4<T>{}, product, far);
    EXPECT_TRUE(product[3] == 0 && product[7] == 0 && product[11] == 0 && product[15] == 1);
    EXPECT_EQ(product[12], kInfinity);
}

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
