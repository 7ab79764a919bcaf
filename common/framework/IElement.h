#pragma once

#include "common/ReservedSlots.h"
#include "common/object/IObject.h"

namespace zor {

class IElementState;
class IElementGeometry;
class IDockingLayout;
class IMesh;

/// A host scene element (2D or 3D). The engines reach it through these operations; everything
/// it shares with every host object (type tests, retain and release) is IObject's. Records that
/// depend on the scene's number type are handed out untyped and read as the scene's T.
class IElement : public IObject {
public:
    ZOR_RESERVED_SLOT(42)
    ZOR_RESERVED_SLOT(43)
    ZOR_RESERVED_SLOT(44)
    ZOR_RESERVED_SLOT(45)
    /// Slot 46: the ancestor `levels` levels up (0: this element), with a reference the caller
    /// releases; null when there is none.
    virtual IElement* getAncestor(uint32 levels) = 0;
    ZOR_RESERVED_SLOT(47)
    ZOR_RESERVED_SLOT(48)
    ZOR_RESERVED_SLOT(49)
    ZOR_RESERVED_SLOTS_10(5)
    ZOR_RESERVED_SLOTS_10(6)
    ZOR_RESERVED_SLOTS_10(7)
    ZOR_RESERVED_SLOTS_10(8)
    ZOR_RESERVED_SLOTS_10(9)
    ZOR_RESERVED_SLOT(100)
    ZOR_RESERVED_SLOT(101)
    ZOR_RESERVED_SLOT(102)
    ZOR_RESERVED_SLOT(103)
    /// Slot 104: the element's physics attribute of a kind (0 hit test, 1 rigid body,
    /// 2 collision), or null; no reference is added.
    virtual IObject* getPhysicsAttribute(uint32 kind) = 0;
    ZOR_RESERVED_SLOT(105)
    ZOR_RESERVED_SLOT(106)
    ZOR_RESERVED_SLOT(107)
    ZOR_RESERVED_SLOT(108)
    ZOR_RESERVED_SLOT(109)
    ZOR_RESERVED_SLOTS_10(11)
    ZOR_RESERVED_SLOTS_10(12)
    ZOR_RESERVED_SLOT(130)
    ZOR_RESERVED_SLOT(131)
    ZOR_RESERVED_SLOT(132)
    ZOR_RESERVED_SLOT(133)
    /// Slot 134: the element's state object (2D scenes).
    virtual IElementState* getState() = 0;
    ZOR_RESERVED_SLOT(135)
    ZOR_RESERVED_SLOT(136)
    ZOR_RESERVED_SLOT(137)
    /// Slot 138: the element's transform record (3D scenes), a TransformRecord of the scene's T.
    virtual void* getTransformRecord() = 0;
    ZOR_RESERVED_SLOT(139)
    ZOR_RESERVED_SLOTS_10(14)
    ZOR_RESERVED_SLOTS_10(15)
    ZOR_RESERVED_SLOT(160)
    ZOR_RESERVED_SLOT(161)
    ZOR_RESERVED_SLOT(162)
    /// Slot 163: the mesh object of a mesh element, or null.
    virtual IMesh* getMesh() = 0;
    /// Slot 164: the shape data of a sphere or capsule element (radius, then height, of the
    /// scene's T), or null.
    virtual void* getShapeData() = 0;
    ZOR_RESERVED_SLOT(165)
    ZOR_RESERVED_SLOT(166)
    ZOR_RESERVED_SLOT(167)
    ZOR_RESERVED_SLOT(168)
    ZOR_RESERVED_SLOT(169)
    ZOR_RESERVED_SLOT(170)
    ZOR_RESERVED_SLOT(171)
    /// Slot 172: the mesh's vertices transformed by `worldMatrix` (a Matrix4x4 of the scene's T),
    /// as an Array of Vector3 of that T that the element keeps; null without a mesh.
    virtual void* transformMeshVertices(const void* worldMatrix) = 0;
    ZOR_RESERVED_SLOT(173)
    ZOR_RESERVED_SLOT(174)
    ZOR_RESERVED_SLOT(175)
    ZOR_RESERVED_SLOT(176)
    ZOR_RESERVED_SLOT(177)
    ZOR_RESERVED_SLOT(178)
    ZOR_RESERVED_SLOT(179)
    ZOR_RESERVED_SLOTS_10(18)
    ZOR_RESERVED_SLOT(190)
    ZOR_RESERVED_SLOT(191)
    /// Slot 192: the element's 2D geometry (matrix, rectangle, scale).
    virtual IElementGeometry* getGeometry() = 0;
    ZOR_RESERVED_SLOT(193)
    ZOR_RESERVED_SLOT(194)
    ZOR_RESERVED_SLOT(195)
    ZOR_RESERVED_SLOT(196)
    ZOR_RESERVED_SLOT(197)
    ZOR_RESERVED_SLOT(198)
    /// Slot 199: the separator thickness of a docking layout, a T before scaling.
    virtual const void* getSeparatorThickness() = 0;
    ZOR_RESERVED_SLOT(200)
    ZOR_RESERVED_SLOT(201)
    /// Slot 202: the docking-layout object of a docking-layout element, or null.
    virtual IDockingLayout* getDockingLayout() = 0;

protected:
    ~IElement() = default;
};

} // namespace zor
