#pragma once

#include "common/framework/IElement.h"
#include "host/core/HostObject.h"
#include "host/scene2d/DockingLayout.h"
#include "host/scene2d/ElementGeometry.h"
#include "host/scene2d/ElementState.h"

#include <memory>

namespace zor {

/// The kinds of elements of the host's 2D scenes.
enum class ElementKind2D : uint8 {
    Panel,
    Button,
    Image,
    /// Hides the parts of its children outside its rectangle.
    ClipRegion,
    /// Panes between horizontal and vertical separators that can be hit themselves.
    DockingLayout,
    /// A frame around its content that hit-test events pass over to reach its parent.
    Decorator,
};

/// The type name of a kind's elements: "Panel", "Button", "Image", "ClipRegion", "DockingLayout"
/// or "Decorator".
const String& elementTypeName(ElementKind2D kind);
/// The kind whose type name is `typeName`; false for any other name.
bool elementKindOfTypeName(const String& typeName, ElementKind2D& kind);

/// An element of a host 2D scene of number type T: a rectangle in its own coordinates placed by
/// a local transform in its parent's, state flags and an optional hit-test attribute. Children
/// are elements too, drawn after their parent in the order they were added.
template <typename T>
class Element2D : public HostObjectOf<IElement> {
public:
    Element2D(ElementKind2D kind, const String& name);

    ZOR_DELETING_DESTRUCTOR(Element2D)
    /// The kind's type name.
    const String& getTypeName() const override;
    const String& getTemplateTypeName() const override;
    int32 getTemplateType() const override;
    uint32 getTemplateTypeSize() const override;
    /// Docking layouts and decorators have the classes the hit tests look for; the other kinds
    /// share the host's element class.
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;

    IElement* getAncestor(uint32 levels) override;
    /// The hit-test attribute for kind 0; the element has no other.
    IObject* getPhysicsAttribute(uint32 kind) override;
    IElementState* getState() override { return &state; }
    void* getTransformRecord() override { return nullptr; }
    IMesh* getMesh() override { return nullptr; }
    void* getShapeData() override { return nullptr; }
    void* transformMeshVertices(const void*) override { return nullptr; }
    IElementGeometry* getGeometry() override { return &geometry; }
    /// The layout's separator thickness; 0 for the other kinds.
    const void* getSeparatorThickness() override;
    /// The separators of a docking layout; null for the other kinds.
    IDockingLayout* getDockingLayout() override;

    ElementKind2D kind() const { return m_kind; }
    /// Holds `attribute` (a reference is taken) instead of the previous one; null removes it.
    void setHitTestAttribute(IObject* attribute);
    /// Child `index` (no reference is added); null past the last.
    Element2D* childElement(uint32 index) const;
    /// The separators of a docking layout; null for the other kinds.
    DockingLayout<T>* separators() const { return m_dockingLayout.get(); }

    ElementState state;
    ElementGeometry<T> geometry;

protected:
    /// Releases the attribute; the base releases the children.
    ~Element2D();

private:
    ElementKind2D m_kind;
    IObject* m_hitTestAttribute = nullptr;
    /// Docking layouts only: most elements have none, and a scene may hold millions of elements.
    std::unique_ptr<DockingLayout<T>> m_dockingLayout;
};

extern template class Element2D<float>;
extern template class Element2D<double>;

} // namespace zor
