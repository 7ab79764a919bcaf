#include "physics/math/MatrixRoutines.h"

namespace zor {

namespace {

template <typename T>
bool isAffine(const Matrix3x3<T>& m) {
    return m[2] == 0 && m[5] == 0 && m[8] == 1;
}

template <typename T>
bool isAffine(const Matrix4x4<T>& m) {
    return m[3] == 0 && m[7] == 0 && m[11] == 0 && m[15] == 1;
}

} // namespace

template <typename T>
Vector3<T>& transform(const Matrix3x3<T>& m, Vector3<T>& out, const Vector3<T>& in) {
    const Vector3<T> u = in;
    out.x = u.x * m[0] + u.y * m[3] + u.z * m[6];
    out.y = u.x * m[1] + u.y * m[4] + u.z * m[7];
    out.z = isAffine(m) ? u.z : u.x * m[2] + u.y * m[5] + u.z * m[8];
    return out;
}

template <typename T>
void inverse(Matrix3x3<T>& m) {
    const T c[9] = {m[4] * m[8] - m[7] * m[5],    -(m[3] * m[8] - m[6] * m[5]), m[3] * m[7] - m[6] * m[4],
                    -(m[1] * m[8] - m[7] * m[2]), m[0] * m[8] - m[6] * m[2],    -(m[0] * m[7] - m[6] * m[1]),
                    m[1] * m[5] - m[2] * m[4],    -(m[0] * m[5] - m[3] * m[2]), m[0] * m[4] - m[3] * m[1]};
    const T determinant = m[0] * c[0] + m[3] * c[3] + m[6] * c[6];
    if (determinant != 0) {
        const T reciprocal = 1 / determinant;
        for (int i = 0; i < 9; ++i)
            m[i] = c[i] * reciprocal;
    }
    for (int row = 0; row < 3; ++row)
        for (int column = row + 1; column < 3; ++column) {
            const T swapped = m[3 * row + column];
            m[3 * row + column] = m[3 * column + row];
            m[3 * column + row] = swapped;
        }
}

template <typename T>
bool isPointInTransformedRect(const Vector2<T>& point, const Rect<T>& rect, const Matrix3x3<T>& matrix) {
    Matrix3x3<T> toLocal = matrix;
    inverse(toLocal);
    Vector3<T> local;
    transform(toLocal, local, Vector3<T>{point.x, point.y, 1});
    // The quotients below would be infinite or undefined; such a point is nowhere on the plane.
    if (local.z == 0)
        return false;
    const T x = local.x / local.z;
    const T y = local.y / local.z;
    return rect.x <= x && x <= rect.x + rect.width && rect.y <= y && y <= rect.y + rect.height;
}

template <typename T>
Vector4<T>& transform(const Matrix4x4<T>& m, Vector4<T>& out, const Vector4<T>& in) {
    const Vector4<T> u = in;
    out.x = u.x * m[0] + u.y * m[4] + u.z * m[8] + u.w * m[12];
    out.y = u.x * m[1] + u.y * m[5] + u.z * m[9] + u.w * m[13];
    out.z = u.x * m[2] + u.y * m[6] + u.z * m[10] + u.w * m[14];
    out.w = isAffine(m) ? u.w : u.x * m[3] + u.y * m[7] + u.z * m[11] + u.w * m[15];
    return out;
}

template <typename T>
void multiply(const Matrix4x4<T>& a, Matrix4x4<T>& out, const Matrix4x4<T>& b) {
    const bool affine = isAffine(a) && isAffine(b);
    const int columns = affine ? 3 : 4;
    Matrix4x4<T> product;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < columns; ++j)
            product[4 * i + j] = b[4 * i] * a[j] + b[4 * i + 1] * a[4 + j] + b[4 * i + 2] * a[8 + j] +
                                 b[4 * i + 3] * a[12 + j];
    if (affine) {
        product[3] = 0;
        product[7] = 0;
        product[11] = 0;
        product[15] = 1;
    }
    out = product;
}

#define ZOR_MATRIX_ROUTINES(T)                                                                               \
    template Vector3<T>& transform(const Matrix3x3<T>&, Vector3<T>&, const Vector3<T>&);                     \
    template void inverse(Matrix3x3<T>&);                                                                    \
    template bool isPointInTransformedRect(const Vector2<T>&, const Rect<T>&, const Matrix3x3<T>&);          \
    template Vector4<T>& transform(const Matrix4x4<T>&, Vector4<T>&, const Vector4<T>&);                     \
    template void multiply(const Matrix4x4<T>&, Matrix4x4<T>&, const Matrix4x4<T>&);

ZOR_MATRIX_ROUTINES(float)
ZOR_MATRIX_ROUTINES(double)

#undef ZOR_MATRIX_ROUTINES

} // namespace zor
