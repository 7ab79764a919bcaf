#include "host/scene2d/Scene2D.h"

#include "host/scene2d/NumberType.h"

namespace zor {
namespace {

// A holder whose getUserData answers with `list`.
IObject* holderOf(Array<UnfoldedElement2D>& list) {
    IObject* holder = HostObject::create();
    holder->setUserData(&list);
    return holder;
}

UnfoldedElement2D record(UnfoldedElementKind kind, IElement* element) {
    return UnfoldedElement2D{kind, element, {}};
}

} // namespace

template <typename T>
Scene2D<T>::Scene2D()
    : m_root(new Element2D<T>(ElementKind2D::Panel, String())), m_unfoldedHolder(holderOf(m_unfolded)),
      m_clipMarkedHolder(holderOf(m_clipMarked)) {}

template <typename T>
Scene2D<T>::~Scene2D() {
    m_root->release();
    m_unfoldedHolder->release();
    m_clipMarkedHolder->release();
}

template <typename T>
const String& Scene2D<T>::getTypeName() const {
    static const String typeName("Scene2D");
    return typeName;
}

template <typename T>
const String& Scene2D<T>::getTemplateTypeName() const {
    return numberTypeName<T>();
}

template <typename T>
int32 Scene2D<T>::getTemplateType() const {
    return kNumberTypeCode<T>;
}

template <typename T>
uint32 Scene2D<T>::getTemplateTypeSize() const {
    return sizeof(T);
}

template <typename T>
const GUID_t* Scene2D<T>::getGUID() const {
    return &guids::kHostScene2D;
}

template <typename T>
bool Scene2D<T>::isTypeOf(const GUID_t& guid) const {
    return guid == guids::kHostScene2D || HostObjectOf::isTypeOf(guid);
}

template <typename T>
IObject* Scene2D<T>::castTo(const GUID_t& guid) {
    return isTypeOf(guid) ? this : nullptr;
}

template <typename T>
Element2D<T>* Scene2D<T>::addElement(Element2D<T>* parent, ElementKind2D kind, const String& name) {
    auto* element = new Element2D<T>(kind, name);
    (parent != nullptr ? parent : m_root)->addChild(element);
    element->release(); // the parent holds it now
    return element;
}

template <typename T>
Element2D<T>* Scene2D<T>::findElement(const String& name) const {
    Array<Element2D<T>*> pending;
    pending.pushBack(m_root);
    while (!pending.isEmpty()) {
        Element2D<T>* element = pending.popBack();
        if (element != m_root && element->getName() == name)
            return element;
        // Children go on the stack last first, so the first child is looked at next.
        for (uint32 i = element->getChildCount(); i-- > 0;)
            pending.pushBack(element->childElement(i));
    }
    return nullptr;
}

template <typename T>
void Scene2D<T>::unfold() {
    m_unfolded.resize(0);
    m_clipMarked.resize(0);
    for (uint32 i = 0; i < m_root->getChildCount(); ++i)
        unfold(*m_root->childElement(i), Matrix3x3<T>{});
}

template <typename T>
void Scene2D<T>::unfold(Element2D<T>& element, const Matrix3x3<T>& parentMatrix) {
    element.geometry.sceneMatrix = concatenate(element.geometry.transform.matrix(), parentMatrix);
    const uint32 childCount = element.getChildCount();
    m_unfolded.pushBack(
        record(childCount != 0 ? UnfoldedElementKindGroup : UnfoldedElementKindElement, &element));
    m_clipMarked.pushBack(record(UnfoldedElementKindElement, &element));

    const bool clips = element.kind() == ElementKind2D::ClipRegion && childCount != 0;
    if (clips)
        m_clipMarked.pushBack(record(UnfoldedElementKindGroup, &element));
    for (uint32 i = 0; i < childCount; ++i)
        unfold(*element.childElement(i), element.geometry.sceneMatrix);
    if (clips)
        m_clipMarked.pushBack(record(UnfoldedElementKindClip, &element));
}

template class Scene2D<float>;
template class Scene2D<double>;

} // namespace zor
