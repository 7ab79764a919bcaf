#pragma once

#include "common/variables/Vector.h"

#include <cmath>
#include <cstddef>

namespace zor::collision {

/// A contact between two shapes: a unit normal and how far the shapes overlap along it.
template <typename T>
struct Contact {
    Vector3<T> normal;
    T depth = 0;
};

// The host collision detector's geometry. Spheres are capsules whose two ends coincide; faces
// are one-sided: a face with corners c0, c1, c2, ... counter-clockwise seen from the front faces
// along (c1 - c0) x (c2 - c0), and only shapes in front of it (or sunk into it from the front)
// touch it. Every test answers false without contact, and on contact a unit normal and a
// positive depth; degenerate input (coincident centres, zero-length capsules, zero-area faces)
// gives a defined normal or no contact, never NaN. Work is done in double for both number types.

namespace detail {

/// Distances below this count as touching: the direction between the closest points is then
/// too short to give a normal, and a fallback direction is used instead.
inline constexpr double kTouching = 1e-12;

/// sphereSphere for centres too close for a normal between them: the fallback direction of
/// capsuleCapsule. Out of line: spheres rarely come that close.
template <typename T>
bool touchingSpheres(const Vector3<T>& centre1, const Vector3<T>& centre2, double depthFound, Vector3<T>& normal,
                     T& depth);

/// capsuleQuadrilateral through the general face test alone, without its shortcut for spheres
/// against faces across an axis; the two answer alike, to the bit.
template <typename T>
bool capsuleQuadrilateralByFace(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>& corner0,
                                const Vector3<T>& corner1, const Vector3<T>& corner2, const Vector3<T>& corner3,
                                Vector3<T>& normal, T& depth);

} // namespace detail

/// Sphere against sphere; the normal points from the first towards the second. `normal` and
/// `depth` are written on contact only, after every input has been read.
///
/// Two capsules of no length, with capsuleCapsule's arithmetic: there the centres are
/// p + (p - p) * 0, which turns -0 into +0. The difference of the centres differs from that of
/// the turned ones at most in the sign of a zero, so the distance is the same, and adding zero
/// to it gives theirs for the normal. A centre that is not finite gives an infinite or NaN
/// distance here and no contact, as it does in capsuleCapsule. Inline, as the detector calls it
/// for nearly every pair of spheres the engines find close.
template <typename T>
inline bool sphereSphere(const Vector3<T>& centre1, T radius1, const Vector3<T>& centre2, T radius2,
                         Vector3<T>& normal, T& depth) {
    const double x = double(centre2.x) - double(centre1.x), y = double(centre2.y) - double(centre1.y),
                 z = double(centre2.z) - double(centre1.z);
    const double distance = std::sqrt(x * x + y * y + z * z), reach = double(radius1) + double(radius2);
    if (!(distance < reach))
        return false;
    if (!(distance > detail::kTouching))
        return detail::touchingSpheres(centre1, centre2, reach - distance, normal, depth);
    const double inverse = 1 / distance;
    normal = {T((x + 0.0) * inverse), T((y + 0.0) * inverse), T((z + 0.0) * inverse)};
    depth = T(reach - distance);
    return true;
}

template <typename T>
bool sphereSphere(const Vector3<T>& centre1, T radius1, const Vector3<T>& centre2, T radius2, Contact<T>& contact) {
    return sphereSphere(centre1, radius1, centre2, radius2, contact.normal, contact.depth);
}

/// Capsule (segment a-b widened by the radius) against capsule; the normal points from the
/// first towards the second.
template <typename T>
bool capsuleCapsule(const Vector3<T>& a1, const Vector3<T>& b1, T radius1, const Vector3<T>& a2, const Vector3<T>& b2,
                    T radius2, Contact<T>& contact);

/// Capsule against a planar convex face of `cornerCount` corners (at least 3); the normal points
/// from the face towards the capsule.
template <typename T>
bool capsuleFace(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>* corners,
                 std::size_t cornerCount, Contact<T>& contact);

/// Capsule against the face of the four corners `corner0` to `corner3`: capsuleFace without the
/// corner array. `normal` and `depth` are written on contact only, after every input has been read.
template <typename T>
bool capsuleQuadrilateral(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>& corner0,
                          const Vector3<T>& corner1, const Vector3<T>& corner2, const Vector3<T>& corner3,
                          Vector3<T>& normal, T& depth);

/// Capsule against a triangle mesh (three vertex indices per triangle); the deepest contact over
/// the triangles, its normal pointing from the capsule towards the mesh. Indices out of range
/// are passed over.
template <typename T>
bool capsuleMesh(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>* vertices, std::size_t vertexCount,
                 const uint32* indices, std::size_t indexCount, Contact<T>& contact);

} // namespace zor::collision
