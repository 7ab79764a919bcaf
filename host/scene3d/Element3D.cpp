#include "host/scene3d/Element3D.h"

#include "common/object/Identifiers.h"
#include "host/io/NumberText.h"
#include "host/io/VariablePlace.h"
#include "host/scene3d/NumberList.h"
#include "host/scene3d/SceneGeneration.h"
#include "host/scene3d/SceneNumber.h"
#include "host/scene3d/SceneVariables.h"
#include "host/scene3d/Transform3D.h"

#include <cstring>

namespace zor {

template <typename T>
Element3D<T>::Element3D(ElementKind kind) : m_kind(kind) {
    m_transform.local = Matrix4x4<T>();
    if (kind == ElementKind::Mesh)
        m_mesh = new Mesh3D<T>();
}

namespace {

constexpr ElementKind kKinds[] = {ElementKind::Plain, ElementKind::Group, ElementKind::Sphere,
                                  ElementKind::Capsule, ElementKind::Mesh};

template <typename T>
const String& typeNameOf(ElementKind kind) {
    static const String names[] = {sceneTypeName<T>("Element3D"), sceneTypeName<T>("Group3D"),
                                   sceneTypeName<T>("Sphere3D"), sceneTypeName<T>("Capsule3D"),
                                   sceneTypeName<T>("Mesh3D")};
    return names[static_cast<int>(kind)];
}

// The attribute kind of a physics attribute class, or -1.
int attributeKindOf(const IObject* object) {
    if (object->isTypeOf(guids::kHitTestAttribute))
        return 0;
    if (object->isTypeOf(guids::kRigidBody3DAttribute))
        return 1;
    if (object->isTypeOf(guids::kCollision3DAttribute))
        return 2;
    return -1;
}

// Reads the mesh's "vertices" (x y z per vertex) and "triangles" (three vertex indices each);
// an absent list keeps the mesh's own. Malformed lists are refused with their place.
template <typename T>
bool readMesh(IVariableReader* reader, Mesh3D<T>& mesh) {
    bool found = false;
    String text;
    std::string error;
    if (!reader->readString(String("vertices"), found, text, 0))
        return false;
    if (found) {
        std::vector<T> numbers;
        if (!host::parseNumberList(text, numbers, error))
            return host::refuseVariable(*reader, "vertices", "finite numbers, x y z per vertex", error);
        if (numbers.size() % 3 != 0)
            return host::refuseVariable(*reader, "vertices", "three numbers per vertex",
                                        std::to_string(numbers.size()) + " numbers");
        mesh.vertices().resize(numbers.size() / 3);
        for (std::size_t i = 0; i < numbers.size() / 3; ++i)
            mesh.vertices()[i] = {numbers[3 * i], numbers[3 * i + 1], numbers[3 * i + 2]};
    }
    if (!reader->readString(String("triangles"), found, text, 0))
        return false;
    if (found) {
        std::vector<uint32> indices;
        if (!host::parseNumberList(text, indices, error))
            return host::refuseVariable(*reader, "triangles", "vertex indices, three per triangle", error);
        if (indices.size() % 3 != 0)
            return host::refuseVariable(*reader, "triangles", "three vertex indices per triangle",
                                        std::to_string(indices.size()) + " indices");
        mesh.triangles().resize(indices.size());
        for (std::size_t i = 0; i < indices.size(); ++i)
            mesh.triangles()[i] = indices[i];
    }
    for (uint64 i = 0; i < mesh.triangles().size(); ++i)
        if (mesh.triangles()[i] >= mesh.vertices().size())
            return host::refuseVariable(
                *reader, "triangles",
                "vertex indices below " + std::to_string(mesh.vertices().size()) + " (the count of vertices)",
                "entry " + std::to_string(i) + ", " + std::to_string(mesh.triangles()[i]));
    return true;
}

// A sphere's or capsule's size: what the collision stage divides by and measures with.
template <typename T>
bool checkShape(IVariableReader* reader, ElementKind kind, const ShapeData<T>& shape) {
    if (!(shape.radius > 0))
        return host::refuseVariable(*reader, "radius", "a radius above 0", host::numberText(shape.radius));
    if (kind == ElementKind::Capsule && !(shape.height > 0))
        return host::refuseVariable(*reader, "height", "a capsule height above 0",
                                    host::numberText(shape.height));
    return true;
}

template <typename T>
bool writeMesh(const host::VariablePass& pass, Mesh3D<T>& mesh) {
    std::vector<T> numbers;
    for (const Vector3<T>& vertex : mesh.vertices())
        numbers.insert(numbers.end(), {vertex.x, vertex.y, vertex.z});
    return pass.text("vertices", host::numberListText(numbers.data(), numbers.size(), 3)) &&
           pass.text("triangles", host::numberListText(mesh.triangles().data(), mesh.triangles().size(), 3));
}

} // namespace

template <typename T>
Element3D<T>* Element3D<T>::create(const String& typeName) {
    for (ElementKind kind : kKinds)
        if (typeName == typeNameOf<T>(kind))
            return new Element3D<T>(kind);
    return nullptr;
}

template <typename T>
const String& Element3D<T>::getTypeName() const {
    return typeNameOf<T>(m_kind);
}

template <typename T>
bool Element3D<T>::addChild(IObject* child) {
    if (child == nullptr)
        return false;
    const int attributeKind = attributeKindOf(child);
    // The hit-test attribute has no number type; the 3D attributes must share the scene's.
    const bool sameNumberType = attributeKind == 0 || child->getTemplateType() == SceneNumber<T>::kCode;
    if ((attributeKind < 0 && !child->isTypeOf(guids::kElement3D)) || !sameNumberType)
        return false;
    if (!HostObjectOf<IElement>::addChild(child))
        return false;
    if (attributeKind >= 0)
        setPhysicsAttribute(static_cast<uint32>(attributeKind), child);
    return true;
}

template <typename T>
bool Element3D<T>::read(IObject* object) {
    auto* reader = static_cast<IVariableReader*>(object);
    if (!host::readName(reader, *this) || !host::readVector(reader, "position", m_transform.position) ||
        !host::readVector(reader, "rotation", m_transform.rotation) ||
        !host::readVector(reader, "scale", m_scale))
        return false;
    if (m_mesh != nullptr)
        return readMesh(reader, *m_mesh);
    if (getShapeData() == nullptr)
        return true;
    return host::readNumber(reader, "radius", m_shape.radius) &&
           host::readNumber(reader, "height", m_shape.height) && checkShape(reader, m_kind, m_shape);
}

template <typename T>
bool Element3D<T>::write(IObject* writer, uint8 typedMode, uint64 context) {
    return host::writeInPasses(writer, typedMode, context, [this](const host::VariablePass& pass) {
        if (!pass.text("name", getName()) || !pass.vector("position", m_transform.position) ||
            !pass.vector("rotation", m_transform.rotation) || !pass.vector("scale", m_scale))
            return false;
        if (m_mesh != nullptr)
            return writeMesh(pass, *m_mesh);
        return getShapeData() == nullptr ||
               (pass.number("radius", m_shape.radius) && pass.number("height", m_shape.height));
    });
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
    SceneGeneration::raiseAbove(this);
}

template <typename T>
void Element3D<T>::updateWorld(const Matrix4x4<T>& parentWorld) {
    // Compared as bits, as the turn's inputs are.
    const bool sameParent = m_worldMade && !m_worldAtTop &&
                            std::memcmp(m_worldParent.get(), &parentWorld, sizeof parentWorld) == 0;
    if (!sameParent) {
        if (m_worldParent)
            *m_worldParent = parentWorld;
        else
            m_worldParent = std::make_unique<Matrix4x4<T>>(parentWorld);
        m_worldAtTop = false;
    }
    makeWorld(*m_worldParent, sameParent);
}

template <typename T>
void Element3D<T>::updateWorld() {
    static constexpr Matrix4x4<T> kIdentity{};
    const bool sameParent = m_worldMade && m_worldAtTop;
    m_worldAtTop = true;
    makeWorld(kIdentity, sameParent);
}

template <typename T>
void Element3D<T>::makeWorld(const Matrix4x4<T>& parentWorld, bool sameParent) {
    // Compared as bits, so that a changed sign of zero or a NaN makes it again.
    const bool sameTurn = m_turnMade &&
                          std::memcmp(&m_turnRotation, &m_transform.rotation, sizeof m_turnRotation) == 0 &&
                          std::memcmp(&m_turnScale, &m_scale, sizeof m_turnScale) == 0;
    if (!sameTurn) {
        m_transform.local = host::localMatrix(Vector3<T>{}, m_transform.rotation, m_scale);
        m_turnRotation = m_transform.rotation;
        m_turnScale = m_scale;
        m_turnMade = true;
    }
    m_transform.local[12] = m_transform.position.x;
    m_transform.local[13] = m_transform.position.y;
    m_transform.local[14] = m_transform.position.z;
    // Each row of the product reads one row of the local matrix: with the turn and the parent
    // kept, only the translation row has changed.
    if (sameTurn && sameParent)
        host::multiplyRow(m_transform.local, 3, parentWorld, &m_world.m[12]);
    else
        m_world = host::multiply(m_transform.local, parentWorld);
    m_worldMade = true;
}

template class Element3D<float>;
template class Element3D<double>;

} // namespace zor
