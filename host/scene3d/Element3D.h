#pragma once

#include "common/framework/IElement.h"
#include "common/framework/ShapeData.h"
#include "common/framework/TransformRecord.h"
#include "common/memory/SlotArena.h"
#include "host/core/HostObject.h"
#include "host/scene3d/Mesh3D.h"

#include <memory>

namespace zor {

/// What a host 3D element is.
enum class ElementKind : uint8 { Plain, Group, Sphere, Capsule, Mesh };

/// An element of a host 3D scene of number type T: a transform relative to its parent (position
/// and rotation in the transform record, a scale of its own), its world matrix, an optional
/// shape, and up to three physics attributes, each held with a reference.
template <typename T>
class Element3D final : public HostObjectOf<IElement> {
public:
    // Elements of one number type lie together in the order they are made, so that the engines'
    // walks over a scene stream through them.
    ZOR_ARENA_ALLOCATED(Element3D)

    explicit Element3D(ElementKind kind);
    /// The element for a scene file's type name ("Sphere3D{float}", ...), or null.
    static Element3D* create(const String& typeName);
    ZOR_DELETING_DESTRUCTOR(Element3D)

    /// "float" or "double".
    const String& getTemplateTypeName() const override;
    /// 10 or 11.
    int32 getTemplateType() const override;
    uint32 getTemplateTypeSize() const override { return sizeof(T); }
    /// A 3D element; a group, sphere, capsule or mesh by its kind; a host object.
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override { return isTypeOf(guid) ? this : nullptr; }

    /// Takes child elements of its own number type, and physics attributes of that type, which
    /// become its attribute of their kind; refuses anything else.
    bool addChild(IObject* child) override;
    /// Name, position, rotation and scale, and the radius and height of spheres and capsules.
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;

    IElement* getAncestor(uint32 levels) override;
    IObject* getPhysicsAttribute(uint32 kind) override;
    IElementState* getState() override { return nullptr; }
    void* getTransformRecord() override { return &m_transform; }
    /// The mesh of a mesh element, else null.
    IMesh* getMesh() override { return m_mesh; }
    void* getShapeData() override;
    /// The mesh's vertices through a Matrix4x4<T> (an Array of Vector3<T> the mesh keeps), or null.
    void* transformMeshVertices(const void* worldMatrix) override;
    IElementGeometry* getGeometry() override { return nullptr; }
    const void* getSeparatorThickness() override { return nullptr; }
    IDockingLayout* getDockingLayout() override { return nullptr; }

    /// "Element3D{float}", "Group3D{double}", "Sphere3D{...}", "Capsule3D{...}" or "Mesh3D{...}".
    const String& getTypeName() const override;
    ElementKind kind() const { return m_kind; }
    /// Holds `attribute` (a reference is taken) as the physics attribute of `kind` (0 to 2),
    /// instead of the previous one; null removes it.
    void setPhysicsAttribute(uint32 kind, IObject* attribute);
    TransformRecord<T>& transform() { return m_transform; }
    const TransformRecord<T>& transform() const { return m_transform; }
    Vector3<T>& scale() { return m_scale; }
    ShapeData<T>& shape() { return m_shape; }
    /// The mesh of a mesh element (null for other kinds).
    Mesh3D<T>* mesh() { return m_mesh; }
    /// Local to world, as the scene last computed it.
    const Matrix4x4<T>& world() const { return m_world; }
    /// Rebuilds the local matrix from position, rotation and scale, then the world matrix from
    /// it and the parent's world matrix.
    void updateWorld(const Matrix4x4<T>& parentWorld);
    /// updateWorld for an element at the top, whose parent's world matrix is the identity.
    void updateWorld();

protected:
    ~Element3D();

private:
    /// updateWorld with the parent's world matrix; `sameParent` when it is the one the last
    /// world matrix was made with.
    void makeWorld(const Matrix4x4<T>& parentWorld, bool sameParent);

    // What every step reads comes first, together: the kind and attributes that the engines
    // ask for, the shape, then the transform record (position and rotation at its end). What
    // only the world matrix's making reads follows.
    ElementKind m_kind;
    bool m_turnMade = false;
    bool m_worldMade = false;
    bool m_worldAtTop = false;
    IObject* m_attributes[3] = {};
    Mesh3D<T>* m_mesh = nullptr;
    ShapeData<T> m_shape{};
    TransformRecord<T> m_transform{};
    Matrix4x4<T> m_world;
    /// The rotation and scale the local matrix's first three rows were made from: most elements
    /// only move, and then only its translation row is made again. The record's local matrix is
    /// written here alone.
    Vector3<T> m_turnRotation{};
    Vector3<T> m_turnScale{};
    Vector3<T> m_scale{1, 1, 1};
    /// The parent's world matrix m_world was last made with: while it and the turn stay, the
    /// first three rows of m_world stay too, and only the translation row is made again. At the
    /// top it is the identity, and none is kept: most elements are there, and a whole pile of
    /// them would carry a matrix each for nothing.
    std::unique_ptr<Matrix4x4<T>> m_worldParent;
};

extern template class Element3D<float>;
extern template class Element3D<double>;

} // namespace zor
