#pragma once

#include "common/variables/Matrix.h"
#include "common/variables/Vector.h"

namespace zor {

/// How a camera projects.
enum class Projection : uint8 { Orthographic, Perspective };

/// The camera of a host 3D scene: where it stands and looks, and what it sees. The visible area
/// is what lands in [-1, 1] in x and y after the view and projection matrices.
template <typename T>
struct Camera {
    Projection projection = Projection::Orthographic;
    /// Orthographic: the visible width and height at any depth.
    T width = 20;
    T height = 20;
    /// Perspective: the vertical opening angle (radians) and width over height.
    T fieldOfViewY = T(1.0471975511965976);
    T aspect = 1;
    T nearPlane = T(0.1);
    T farPlane = 1000;
    Vector3<T> eye{0, 0, 100};
    Vector3<T> target{0, 0, 0};
    Vector3<T> up{0, 1, 0};

    /// P: camera coordinates to clip coordinates (row-vector convention).
    Matrix4x4<T> projectionMatrix() const;
    /// V: world coordinates to camera coordinates (looking along the camera's -z).
    Matrix4x4<T> viewMatrix() const;
};

extern template struct Camera<float>;
extern template struct Camera<double>;

} // namespace zor
