#pragma once

#include "common/ReservedSlots.h"
#include "common/object/IObject.h"
#include "common/variables/Vector.h"

namespace zor {

class IMesh;
template <typename T>
class Array;

/// The host's collision detector for scenes of number type T, created through the factory with
/// its identifier and "float" or "double". Each test takes its shapes by pointer and returns
/// true on contact, writing a unit normal and the penetration depth through the last two
/// arguments. The normal points from the first shape towards the second, except for the
/// quadrilateral test, where it points from the face towards the capsule. A sphere is a capsule
/// whose two ends coincide.
template <typename T>
class ICollisionDetector : public IObject {
public:
    /// Slot 42.
    virtual bool testSphereSphere(const Vector3<T>* centre1, const T* radius1, const Vector3<T>* centre2,
                                  const T* radius2, Vector3<T>* normal, T* depth) = 0;
    ZOR_RESERVED_SLOT(43)
    ZOR_RESERVED_SLOT(44)
    /// Slot 45: `vertices` are the mesh's vertices in world coordinates.
    virtual bool testSphereMesh(const Vector3<T>* centre, const T* radius, IMesh* mesh,
                                const Array<Vector3<T>>* vertices, Vector3<T>* normal, T* depth) = 0;
    ZOR_RESERVED_SLOT(46)
    ZOR_RESERVED_SLOT(47)
    ZOR_RESERVED_SLOT(48)
    /// Slot 49.
    virtual bool testCapsuleCapsule(const Vector3<T>* a1, const Vector3<T>* b1, const T* radius1,
                                    const Vector3<T>* a2, const Vector3<T>* b2, const T* radius2,
                                    Vector3<T>* normal, T* depth) = 0;
    ZOR_RESERVED_SLOT(50)
    /// Slot 51: a one-sided quadrilateral, corners counter-clockwise seen from the front.
    virtual bool testCapsuleQuadrilateral(const Vector3<T>* a, const Vector3<T>* b, const T* radius,
                                          const Vector3<T>* corner0, const Vector3<T>* corner1,
                                          const Vector3<T>* corner2, const Vector3<T>* corner3,
                                          Vector3<T>* normal, T* depth) = 0;
    /// Slot 52: `vertices` are the mesh's vertices in world coordinates.
    virtual bool testCapsuleMesh(const Vector3<T>* a, const Vector3<T>* b, const T* radius, IMesh* mesh,
                                 const Array<Vector3<T>>* vertices, Vector3<T>* normal, T* depth) = 0;

protected:
    ~ICollisionDetector() = default;
};

} // namespace zor
