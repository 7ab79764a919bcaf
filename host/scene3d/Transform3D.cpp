#include "host/scene3d/Transform3D.h"

#include <cmath>

namespace zor::host {

template <typename T>
Matrix4x4<T> multiply(const Matrix4x4<T>& first, const Matrix4x4<T>& second) {
    Matrix4x4<T> out;
    for (int i = 0; i < 4; ++i)
        multiplyRow(first, i, second, &out.m[4 * i]);
    return out;
}

template <typename T>
Vector3<T> transformPoint(const Vector3<T>& p, const Matrix4x4<T>& m) {
    return Vector3<T>{p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12],
                      p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                      p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}

template <typename T>
Matrix4x4<T> localMatrix(const Vector3<T>& position, const Vector3<T>& rotation, const Vector3<T>& scale) {
    const T cx = std::cos(rotation.x), sx = std::sin(rotation.x);
    const T cy = std::cos(rotation.y), sy = std::sin(rotation.y);
    const T cz = std::cos(rotation.z), sz = std::sin(rotation.z);
    const Matrix4x4<T> aboutX{{1, 0, 0, 0, 0, cx, sx, 0, 0, -sx, cx, 0, 0, 0, 0, 1}};
    const Matrix4x4<T> aboutY{{cy, 0, -sy, 0, 0, 1, 0, 0, sy, 0, cy, 0, 0, 0, 0, 1}};
    const Matrix4x4<T> aboutZ{{cz, sz, 0, 0, -sz, cz, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    Matrix4x4<T> m = multiply(multiply(aboutX, aboutY), aboutZ);
    const T factors[3] = {scale.x, scale.y, scale.z};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            m[4 * row + column] *= factors[row];
    m[12] = position.x;
    m[13] = position.y;
    m[14] = position.z;
    return m;
}

template Matrix4x4<float> multiply(const Matrix4x4<float>&, const Matrix4x4<float>&);
template Matrix4x4<double> multiply(const Matrix4x4<double>&, const Matrix4x4<double>&);
template Vector3<float> transformPoint(const Vector3<float>&, const Matrix4x4<float>&);
template Vector3<double> transformPoint(const Vector3<double>&, const Matrix4x4<double>&);
template Matrix4x4<float> localMatrix(const Vector3<float>&, const Vector3<float>&, const Vector3<float>&);
template Matrix4x4<double> localMatrix(const Vector3<double>&, const Vector3<double>&,
                                       const Vector3<double>&);

} // namespace zor::host
