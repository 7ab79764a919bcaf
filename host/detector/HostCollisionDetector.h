#pragma once

#include "common/framework/ICollisionDetector.h"
#include "host/core/HostObject.h"
#include "host/detector/ContactReach.h"

namespace zor {

/// The host's collision detector for scenes of number type T ("CollisionDetector{float}",
/// "CollisionDetector{double}"), registered with the factory under the detector identifier and
/// "float" or "double". Its tests are the collision geometry of CollisionGeometry.h, which reports
/// only shapes that touch or overlap: it declares a reach of 0 (castTo with guids::kCollisionReach).
template <typename T>
class HostCollisionDetector final : public HostObjectOf<ICollisionDetector<T>> {
public:
    HostCollisionDetector() = default;
    ZOR_DELETING_DESTRUCTOR(HostCollisionDetector)
    IObject* clone() const override;
    const String& getTypeName() const override;
    const String& getTemplateTypeName() const override;
    int32 getTemplateType() const override;
    uint32 getTemplateTypeSize() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;

    bool testSphereSphere(const Vector3<T>* centre1, const T* radius1, const Vector3<T>* centre2,
                          const T* radius2, Vector3<T>* normal, T* depth) override;
    bool testSphereMesh(const Vector3<T>* centre, const T* radius, IMesh* mesh,
                        const Array<Vector3<T>>* vertices, Vector3<T>* normal, T* depth) override;
    bool testCapsuleCapsule(const Vector3<T>* a1, const Vector3<T>* b1, const T* radius1,
                            const Vector3<T>* a2, const Vector3<T>* b2, const T* radius2, Vector3<T>* normal,
                            T* depth) override;
    bool testCapsuleQuadrilateral(const Vector3<T>* a, const Vector3<T>* b, const T* radius,
                                  const Vector3<T>* corner0, const Vector3<T>* corner1,
                                  const Vector3<T>* corner2, const Vector3<T>* corner3, Vector3<T>* normal,
                                  T* depth) override;
    bool testCapsuleMesh(const Vector3<T>* a, const Vector3<T>* b, const T* radius, IMesh* mesh,
                         const Array<Vector3<T>>* vertices, Vector3<T>* normal, T* depth) override;

private:
    ~HostCollisionDetector() { m_reach->release(); }

    ContactReach* m_reach = new ContactReach(0);
};

extern template class HostCollisionDetector<float>;
extern template class HostCollisionDetector<double>;

} // namespace zor
