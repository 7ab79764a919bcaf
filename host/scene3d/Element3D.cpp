#include "host/scene3d/Element3D.h"

#include "common/object/Identifiers.h"
#include "host/scene3d/SceneNumber.h"
#include "host/scene3d/Transform3D.h"

namespace zor {

template <typename T>
Element3D<T>::Element3D(ElementKind kind) : m_kind(kind) {
    m_transform.local = Matrix4x4<T>();
    if (kind == ElementKind::Mesh)
        m_mesh = new Mesh3D<T>();
}

template <typename T>
Element3D<T>::~Element3D() {
    for (IObject* attribute : m_attributes)
        if (attribute != nullptr)
            attribute->release();
    if (m_mesh != nullptr)
        m_mesh->deletingDestructor(1);
}

template <typename T>
const String& Element3D<T>::getTemplateTypeName() const {
    return SceneNumber<T>::name();
}

template <typename T>
int32 Element3D<T>::getTemplateType() const {
    return SceneNumber<T>::kCode;
}

template <typename T>
bool Element3D<T>::isTypeOf(const GUID_t& guid) const {
    switch (m_kind) {
    case ElementKind::Group:
        if (guid == guids::kGroupElement)
            return true;
        break;
    case ElementKind::Sphere:
        if (guid == guids::kSphereElement)
            return true;
        break;
    case ElementKind::Capsule:
        if (guid == guids::kCapsuleElement)
            return true;
        break;
    case ElementKind::Mesh:
        if (guid == guids::kMeshElement)
            return true;
        break;
    case ElementKind::Plain:
        break;
    }
    return guid == guids::kElement3D || HostObjectOf<IElement>::isTypeOf(guid);
}

template <typename T>
IElement* Element3D<T>::getAncestor(uint32 levels) {
    IObject* ancestor = this;
    for (uint32 i = 0; i < levels && ancestor != nullptr; ++i)
        ancestor = ancestor->getParent();
    if (ancestor == nullptr || !ancestor->isTypeOf(guids::kElement3D))
        return nullptr;
    // Only host elements answer for the 3D-element identifier.
    return static_cast<IElement*>(ancestor->retain());
}

template <typename T>
IObject* Element3D<T>::getPhysicsAttribute(uint32 kind) {
    return kind < 3 ? m_attributes[kind] : nullptr;
}

template <typename T>
void* Element3D<T>::getShapeData() {
    return m_kind == ElementKind::Sphere || m_kind == ElementKind::Capsule ? &m_shape : nullptr;
}

template <typename T>
void* Element3D<T>::transformMeshVertices(const void* worldMatrix) {
    if (m_mesh == nullptr || worldMatrix == nullptr)
        return nullptr;
    return &m_mesh->transformed(*static_cast<const Matrix4x4<T>*>(worldMatrix));
}

template <typename T>
void Element3D<T>::setPhysicsAttribute(uint32 kind, IObject* attribute) {
    if (kind >= 3)
        return;
    if (attribute != nullptr)
        attribute->retain();
    if (m_attributes[kind] != nullptr)
        m_attributes[kind]->release();
    m_attributes[kind] = attribute;
}

template <typename T>
void Element3D<T>::updateWorld(const Matrix4x4<T>& parentWorld) {
    m_transform.local = host::localMatrix(m_transform.position, m_transform.rotation, m_scale);
    m_world = host::multiply(m_transform.local, parentWorld);
}

template class Element3D<float>;
template class Element3D<double>;

} // namespace zor
