#include "host/scene2d/Element2D.h"

#include "common/object/HeldReference.h"
#include "host/scene2d/NumberType.h"

namespace zor {
namespace {

struct KindInfo {
    String typeName;
    const GUID_t* guid;
};

// Indexed by ElementKind2D.
const KindInfo& infoOf(ElementKind2D kind) {
    static const KindInfo kinds[] = {
        {String("Panel"), &guids::kHostElement2D},
        {String("Button"), &guids::kHostElement2D},
        {String("Image"), &guids::kHostElement2D},
        {String("ClipRegion"), &guids::kHostElement2D},
        {String("DockingLayout"), &guids::kDockingLayout},
        {String("Decorator"), &guids::kHitTestPassThroughElement},
    };
    return kinds[static_cast<uint8>(kind)];
}

} // namespace

const String& elementTypeName(ElementKind2D kind) {
    return infoOf(kind).typeName;
}

bool elementKindOfTypeName(const String& typeName, ElementKind2D& kind) {
    for (uint8 i = 0; i <= static_cast<uint8>(ElementKind2D::Decorator); ++i) {
        if (infoOf(static_cast<ElementKind2D>(i)).typeName == typeName) {
            kind = static_cast<ElementKind2D>(i);
            return true;
        }
    }
    return false;
}

template <typename T>
Element2D<T>::Element2D(ElementKind2D kind, const String& name)
    : m_kind(kind), m_dockingLayout(kind == ElementKind2D::DockingLayout ? new DockingLayout<T>() : nullptr) {
    setName(name);
}

template <typename T>
Element2D<T>::~Element2D() {
    replaceHeldReference(m_hitTestAttribute, static_cast<IObject*>(nullptr));
}

template <typename T>
const String& Element2D<T>::getTypeName() const {
    return elementTypeName(m_kind);
}

template <typename T>
const String& Element2D<T>::getTemplateTypeName() const {
    return numberTypeName<T>();
}

template <typename T>
int32 Element2D<T>::getTemplateType() const {
    return kNumberTypeCode<T>;
}

template <typename T>
uint32 Element2D<T>::getTemplateTypeSize() const {
    return sizeof(T);
}

template <typename T>
const GUID_t* Element2D<T>::getGUID() const {
    return infoOf(m_kind).guid;
}

template <typename T>
bool Element2D<T>::isTypeOf(const GUID_t& guid) const {
    return guid == *getGUID() || guid == guids::kHostElement2D || HostObjectOf::isTypeOf(guid);
}

template <typename T>
IObject* Element2D<T>::castTo(const GUID_t& guid) {
    return isTypeOf(guid) ? this : nullptr;
}

template <typename T>
IElement* Element2D<T>::getAncestor(uint32 levels) {
    IObject* node = this;
    for (uint32 level = 0; level < levels && node != nullptr; ++level)
        node = node->getParent();
    auto* ancestor = dynamic_cast<IElement*>(node);
    if (ancestor != nullptr)
        ancestor->retain();
    return ancestor;
}

template <typename T>
IObject* Element2D<T>::getPhysicsAttribute(uint32 kind) {
    return kind == 0 ? m_hitTestAttribute : nullptr;
}

template <typename T>
IDockingLayout* Element2D<T>::getDockingLayout() {
    return m_dockingLayout.get();
}

template <typename T>
const void* Element2D<T>::getSeparatorThickness() {
    static const T none = 0;
    return m_dockingLayout != nullptr ? &m_dockingLayout->thickness : &none;
}

template <typename T>
void Element2D<T>::setHitTestAttribute(IObject* attribute) {
    replaceHeldReference(m_hitTestAttribute, attribute);
}

template <typename T>
Element2D<T>* Element2D<T>::childElement(uint32 index) const {
    return dynamic_cast<Element2D*>(getChild(index));
}

template class Element2D<float>;
template class Element2D<double>;

} // namespace zor
