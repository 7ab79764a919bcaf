#include "host/scene3d/Camera.h"

#include <cmath>

namespace zor {

namespace {

template <typename T>
Vector3<T> normalized(const Vector3<T>& v) {
    const T length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length == 0 ? v : Vector3<T>{v.x / length, v.y / length, v.z / length};
}

template <typename T>
Vector3<T> cross(const Vector3<T>& a, const Vector3<T>& b) {
    return Vector3<T>{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

template <typename T>
T dot(const Vector3<T>& a, const Vector3<T>& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

} // namespace

template <typename T>
Matrix4x4<T> Camera<T>::projectionMatrix() const {
    Matrix4x4<T> m;
    const T depth = farPlane - nearPlane;
    if (projection == Projection::Orthographic) {
        m[0] = 2 / width;
        m[5] = 2 / height;
        m[10] = -2 / depth;
        m[14] = -(farPlane + nearPlane) / depth;
        return m;
    }
    const T focal = 1 / std::tan(fieldOfViewY / 2);
    m[0] = focal / aspect;
    m[5] = focal;
    m[10] = -(farPlane + nearPlane) / depth;
    m[11] = -1;
    m[14] = -2 * farPlane * nearPlane / depth;
    m[15] = 0;
    return m;
}

template <typename T>
Matrix4x4<T> Camera<T>::viewMatrix() const {
    const Vector3<T> back = normalized(Vector3<T>{eye.x - target.x, eye.y - target.y, eye.z - target.z});
    const Vector3<T> right = normalized(cross(up, back));
    const Vector3<T> upward = cross(back, right);
    return Matrix4x4<T>{{right.x, upward.x, back.x, 0, right.y, upward.y, back.y, 0, right.z, upward.z,
                         back.z, 0, -dot(right, eye), -dot(upward, eye), -dot(back, eye), 1}};
}

template struct Camera<float>;
template struct Camera<double>;

} // namespace zor
