#include "host/scene3d/Scene3D.h"

#include "common/memory/MemoryBlock.h"
#include "common/object/Identifiers.h"
#include "common/platform/LargeBlock.h"
#include "host/scene3d/NumberList.h"
#include "host/scene3d/SceneNumber.h"
#include "host/scene3d/SceneVariables.h"

#include <cstddef>
#include <cstring>

namespace zor {

template <typename T>
Scene3D<T>::Scene3D()
    : m_layer(new ElementLayer()), m_viewHolder(new HostObject()), m_generation(new SceneGeneration()) {
    m_viewHolder->setUserData(&m_view);
    const Camera<T> camera;
    m_view.projection = camera.projectionMatrix();
    m_view.view = camera.viewMatrix();
}

template <typename T>
Scene3D<T>::~Scene3D() {
    m_viewHolder->release();
    m_generation->release();
    m_layer->release();
    if (m_gridStages != nullptr)
        m_gridStages->release();
}

template <typename T>
void Scene3D<T>::addGridStage(IObject* stage) {
    if (m_gridStages == nullptr)
        m_gridStages = new HostCollection();
    m_gridStages->pushBack(stage);
    raiseGeneration();
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
IObject* Scene3D<T>::castTo(const GUID_t& guid) {
    if (guid == guids::kSceneGeneration)
        return m_declaresGeneration ? m_generation : nullptr;
    return isTypeOf(guid) ? this : nullptr;
}

namespace {

const char* const kProjectionNames[] = {"ORTHOGRAPHIC", "PERSPECTIVE"};

bool convertProjection(String& name, uint8& value, bool toValue) {
    for (uint8 i = 0; i < 2; ++i)
        if (toValue ? name == kProjectionNames[i] : value == i) {
            if (toValue)
                value = i;
            else
                name = String(kProjectionNames[i]);
            return true;
        }
    return false;
}

template <typename T>
bool isElementOf(const IObject* object) {
    return object->isTypeOf(guids::kElement3D) && object->getTemplateType() == SceneNumber<T>::kCode;
}

} // namespace

template <typename T>
Scene3D<T>* Scene3D<T>::create(const String& typeName) {
    // Every object of a scene file is offered to this first.
    static const String kTypeName = sceneTypeName<T>("Scene3D");
    return typeName == kTypeName ? new Scene3D<T>() : nullptr;
}

template <typename T>
const String& Scene3D<T>::getTypeName() const {
    static const String typeName = sceneTypeName<T>("Scene3D");
    return typeName;
}

template <typename T>
bool Scene3D<T>::addChild(IObject* child) {
    if (child != nullptr && child->isTypeOf(guids::kGridStage) &&
        child->getTemplateType() == SceneNumber<T>::kCode)
        return addStageChild(static_cast<GridStage<T>*>(child));
    if (child == nullptr || !isElementOf<T>(child) || !HostObjectOf<IScene3D>::addChild(child))
        return false;
    join(child);
    return true;
}

template <typename T>
bool Scene3D<T>::addStageChild(GridStage<T>* stage) {
    // The stage has its attributes by now, so what its tiles name can be checked.
    std::string error;
    if (!stage->checkAttributeIndices(error)) {
        host::logSceneObjectFailure(stage->getTypeName(), stage->getName(), error);
        return false;
    }
    if (!HostObjectOf<IScene3D>::addChild(stage))
        return false;
    addGridStage(stage);
    return true;
}

template <typename T>
void Scene3D<T>::join(IObject* element) {
    raiseGeneration();
    elements().pushBack(element);
    for (uint32 i = 0; i < element->getChildCount(); ++i)
        if (isElementOf<T>(element->getChild(i)))
            join(element->getChild(i));
}

template <typename T>
void Scene3D<T>::addElement(Element3D<T>* element, Element3D<T>* parent) {
    if (parent == nullptr) {
        addChild(element);
        return;
    }
    parent->addChild(element);
    join(element);
}

template <typename T>
bool Scene3D<T>::read(IObject* object) {
    auto* reader = static_cast<IVariableReader*>(object);
    bool found = false;
    if (!reader->readDouble(String("gravity"), found, m_gravity, 0) ||
        !reader->enterNode(String("camera"), found))
        return false;
    if (!found)
        return true;
    uint8 projection = static_cast<uint8>(m_camera.projection);
    const bool read =
        reader->readEnumeration(String("projection"), found, projection, &convertProjection) &&
        host::readNumber(reader, "width", m_camera.width) &&
        host::readNumber(reader, "height", m_camera.height) &&
        host::readNumber(reader, "fieldOfViewY", m_camera.fieldOfViewY) &&
        host::readNumber(reader, "aspect", m_camera.aspect) &&
        host::readNumber(reader, "near", m_camera.nearPlane) &&
        host::readNumber(reader, "far", m_camera.farPlane) && host::readVector(reader, "eye", m_camera.eye) &&
        host::readVector(reader, "target", m_camera.target) && host::readVector(reader, "up", m_camera.up);
    m_camera.projection = static_cast<Projection>(projection);
    reader->leaveNode();
    return read;
}

template <typename T>
bool Scene3D<T>::write(IObject* object, uint8 typedMode, uint64 context) {
    return host::writeInPasses(object, typedMode, context, [this](const host::VariablePass& pass) {
        if (!pass.number("gravity", m_gravity))
            return false;
        if (!pass.typedMode && !pass.writeOwn)
            return true;
        auto* writer = pass.writer;
        if (!writer->beginNode(String("camera"), 0))
            return false;
        // The camera node holds its own variables, written all in this pass.
        const host::VariablePass own{writer, pass.typedMode, true, pass.context};
        uint8 projection = static_cast<uint8>(m_camera.projection);
        const bool written =
            (pass.typedMode
                 ? writer->writeUInt8Typed(String("projection"), &projection, pass.context)
                 : writer->writeEnumeration(String("projection"), &projection, 0, 0, &convertProjection)) &&
            own.number("width", m_camera.width) && own.number("height", m_camera.height) &&
            own.number("fieldOfViewY", m_camera.fieldOfViewY) && own.number("aspect", m_camera.aspect) &&
            own.number("near", m_camera.nearPlane) && own.number("far", m_camera.farPlane) &&
            own.vector("eye", m_camera.eye) && own.vector("target", m_camera.target) &&
            own.vector("up", m_camera.up);
        writer->endNode();
        return written;
    });
}

template <typename T>
void Scene3D<T>::updateView() {
    m_view.projection = m_camera.projectionMatrix();
    m_view.view = m_camera.viewMatrix();
    const uint64 count = elements().size();
    Array<UnfoldedEntry3D<T>>& entries = m_view.unfoldedEntries;
    if (count > entries.capacity()) {
        // Every entry is written below, so new storage is not cleared first; a large one, filled
        // at once, is asked for in large pages (100,000 entries are 16 MB).
        const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(UnfoldedEntry3D<T>);
        void* storage = allocateMemoryBlock(bytes);
        platform::adviseLargePages(storage, bytes);
        entries.adopt(static_cast<UnfoldedEntry3D<T>*>(storage), count);
    } else {
        entries.resize(count);
    }
    UnfoldedEntry3D<T>* entry = m_view.unfoldedEntries.data();
    CollectionIterator it;
    CollectionIterator end;
    for (elements().begin(&it), elements().end(&end); !(it == end); ++it, ++entry) {
        auto* element = static_cast<Element3D<T>*>(*it);
        // Parents come before their children, so a parent's world matrix is already fresh.
        // Elements at the top have the scene as their parent, which is no element.
        const IObject* parent = element->getParent();
        if (parent != nullptr && parent != this && isElementOf<T>(parent))
            element->updateWorld(static_cast<const Element3D<T>*>(parent)->world());
        else
            element->updateWorld();
        // The entry is packed: its members are written as bytes, each straight from its source.
        char* bytes = reinterpret_cast<char*>(entry);
        const uint32 kind = 0;
        IElement* const owner = nullptr;
        IElement* const self = element;
        const uint64 spare = 0;
        std::memcpy(bytes + offsetof(UnfoldedEntry3D<T>, kind), &kind, sizeof kind);
        std::memcpy(bytes + offsetof(UnfoldedEntry3D<T>, owner), &owner, sizeof owner);
        std::memcpy(bytes + offsetof(UnfoldedEntry3D<T>, m_element), &self, sizeof self);
        std::memcpy(bytes + offsetof(UnfoldedEntry3D<T>, spare), &spare, sizeof spare);
        std::memcpy(bytes + offsetof(UnfoldedEntry3D<T>, world), element->world().m,
                    sizeof element->world().m);
    }
}

template class Scene3D<float>;
template class Scene3D<double>;

} // namespace zor
