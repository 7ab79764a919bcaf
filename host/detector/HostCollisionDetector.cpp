#include "host/detector/HostCollisionDetector.h"

#include "common/containers/Array.h"
#include "common/framework/IMesh.h"
#include "common/object/Identifiers.h"
#include "common/variables/VariableType.h"
#include "host/detector/CollisionGeometry.h"

namespace zor {
namespace {

template <typename T>
bool deliver(bool contact, const collision::Contact<T>& found, Vector3<T>* normal, T* depth) {
    if (contact) {
        *normal = found.normal;
        *depth = found.depth;
    }
    return contact;
}

template <typename T>
bool capsuleAgainstMesh(const Vector3<T>& a, const Vector3<T>& b, T radius, IMesh* mesh,
                        const Array<Vector3<T>>* vertices, Vector3<T>* normal, T* depth) {
    if (mesh == nullptr || vertices == nullptr)
        return false;
    const Array<uint32>& triangles = mesh->getTriangleIndices();
    collision::Contact<T> found;
    return deliver(collision::capsuleMesh(a, b, radius, vertices->data(), vertices->size(), triangles.data(),
                                          triangles.size(), found),
                   found, normal, depth);
}

} // namespace

template <typename T>
IObject* HostCollisionDetector<T>::clone() const {
    return new HostCollisionDetector();
}

template <typename T>
const String& HostCollisionDetector<T>::getTypeName() const {
    static const String typeName(sizeof(T) == 4 ? "CollisionDetector{float}" : "CollisionDetector{double}");
    return typeName;
}

template <typename T>
const String& HostCollisionDetector<T>::getTemplateTypeName() const {
    static const String name(sizeof(T) == 4 ? "float" : "double");
    return name;
}

template <typename T>
int32 HostCollisionDetector<T>::getTemplateType() const {
    return sizeof(T) == 4 ? VariableTypeFloat : VariableTypeDouble;
}

template <typename T>
uint32 HostCollisionDetector<T>::getTemplateTypeSize() const {
    return sizeof(T);
}

template <typename T>
const GUID_t* HostCollisionDetector<T>::getGUID() const {
    return &guids::kCollisionDetector;
}

template <typename T>
bool HostCollisionDetector<T>::isTypeOf(const GUID_t& guid) const {
    return guid == guids::kCollisionDetector || HostObjectOf<ICollisionDetector<T>>::isTypeOf(guid);
}

template <typename T>
IObject* HostCollisionDetector<T>::castTo(const GUID_t& guid) {
    if (guid == guids::kCollisionReach)
        return m_reach;
    return isTypeOf(guid) ? this : nullptr;
}

template <typename T>
bool HostCollisionDetector<T>::testSphereSphere(const Vector3<T>* centre1, const T* radius1,
                                                const Vector3<T>* centre2, const T* radius2,
                                                Vector3<T>* normal, T* depth) {
    return collision::sphereSphere(*centre1, *radius1, *centre2, *radius2, *normal, *depth);
}

template <typename T>
bool HostCollisionDetector<T>::testSphereMesh(const Vector3<T>* centre, const T* radius, IMesh* mesh,
                                              const Array<Vector3<T>>* vertices, Vector3<T>* normal,
                                              T* depth) {
    return capsuleAgainstMesh(*centre, *centre, *radius, mesh, vertices, normal, depth);
}

template <typename T>
bool HostCollisionDetector<T>::testCapsuleCapsule(const Vector3<T>* a1, const Vector3<T>* b1,
                                                  const T* radius1, const Vector3<T>* a2,
                                                  const Vector3<T>* b2, const T* radius2, Vector3<T>* normal,
                                                  T* depth) {
    collision::Contact<T> found;
    return deliver(collision::capsuleCapsule(*a1, *b1, *radius1, *a2, *b2, *radius2, found), found, normal,
                   depth);
}

template <typename T>
bool HostCollisionDetector<T>::testCapsuleQuadrilateral(const Vector3<T>* a, const Vector3<T>* b,
                                                        const T* radius, const Vector3<T>* corner0,
                                                        const Vector3<T>* corner1, const Vector3<T>* corner2,
                                                        const Vector3<T>* corner3, Vector3<T>* normal,
                                                        T* depth) {
    return collision::capsuleQuadrilateral(*a, *b, *radius, *corner0, *corner1, *corner2, *corner3, *normal,
                                           *depth);
}

template <typename T>
bool HostCollisionDetector<T>::testCapsuleMesh(const Vector3<T>* a, const Vector3<T>* b, const T* radius,
                                               IMesh* mesh, const Array<Vector3<T>>* vertices,
                                               Vector3<T>* normal, T* depth) {
    return capsuleAgainstMesh(*a, *b, *radius, mesh, vertices, normal, depth);
}

template class HostCollisionDetector<float>;
template class HostCollisionDetector<double>;

} // namespace zor
