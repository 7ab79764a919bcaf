#include "host/scene3d/Scene3D.h"

#include "common/object/Identifiers.h"
#include "host/scene3d/SceneNumber.h"

namespace zor {

template <typename T>
Scene3D<T>::Scene3D() : m_layer(new ElementLayer()), m_viewHolder(new HostObject()) {
    m_viewHolder->setUserData(&m_view);
    const Camera<T> camera;
    m_view.projection = camera.projectionMatrix();
    m_view.view = camera.viewMatrix();
}

template <typename T>
Scene3D<T>::~Scene3D() {
    m_viewHolder->release();
    m_layer->release();
    if (m_gridStages != nullptr)
        m_gridStages->release();
}

template <typename T>
void Scene3D<T>::addGridStage(IObject* stage) {
    if (m_gridStages == nullptr)
        m_gridStages = new HostCollection();
    m_gridStages->pushBack(stage);
}

template <typename T>
const String& Scene3D<T>::getTemplateTypeName() const {
    return SceneNumber<T>::name();
}

template <typename T>
int32 Scene3D<T>::getTemplateType() const {
    return SceneNumber<T>::kCode;
}

template <typename T>
bool Scene3D<T>::isTypeOf(const GUID_t& guid) const {
    return guid == guids::kScene3D || HostObjectOf<IScene3D>::isTypeOf(guid);
}

template <typename T>
void Scene3D<T>::addElement(Element3D<T>* element, Element3D<T>* parent) {
    if (parent != nullptr)
        parent->addChild(element);
    elements().pushBack(element);
}

template <typename T>
void Scene3D<T>::updateView() {
    m_view.projection = m_camera.projectionMatrix();
    m_view.view = m_camera.viewMatrix();
    m_view.unfoldedEntries.resize(elements().size());
    UnfoldedEntry3D<T>* entry = m_view.unfoldedEntries.data();
    CollectionIterator it;
    CollectionIterator end;
    for (elements().begin(&it), elements().end(&end); !(it == end); ++it, ++entry) {
        auto* element = static_cast<Element3D<T>*>(*it);
        // Parents come before their children, so a parent's world matrix is already fresh.
        const auto* parent = static_cast<const Element3D<T>*>(element->getParent());
        element->updateWorld(parent != nullptr ? parent->world() : Matrix4x4<T>());
        *entry = UnfoldedEntry3D<T>{0, nullptr, element, 0, element->world()};
    }
}

template class Scene3D<float>;
template class Scene3D<double>;

} // namespace zor
