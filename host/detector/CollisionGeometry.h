#pragma once

#include "common/variables/Vector.h"

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

/// Sphere against sphere; the normal points from the first towards the second. `normal` and
/// `depth` are written on contact only, after every input has been read.
template <typename T>
bool sphereSphere(const Vector3<T>& centre1, T radius1, const Vector3<T>& centre2, T radius2, Vector3<T>& normal,
                  T& depth);

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
