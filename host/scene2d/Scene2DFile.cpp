#include "host/scene2d/Scene2DFile.h"

#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "host/core/HostFactory.h"
#include "host/io/ObjectDocument.h"

namespace zor {
namespace {

constexpr const char* kReadFunction = "zor::host::readScene2D";

bool misplaced(const IObject& child, const IObject& parent) {
    zor_log(ZOR_LOG_MODULE, false, LogLevelError, kReadFunction, "%s \"%s\" cannot stand in %s \"%s\"",
            child.getTypeName().c_str(), child.getName().c_str(), parent.getTypeName().c_str(),
            parent.getName().c_str());
    return false;
}

template <typename T>
void addSeparator(DockingLayout<T>& layout, const SeparatorDescription& separator) {
    Array<T>& positions = separator.horizontal ? layout.rows : layout.columns;
    positions.pushBack(static_cast<T>(separator.position));
    const uint32 index = separator.index >= 0 ? static_cast<uint32>(separator.index)
                                              : static_cast<uint32>(positions.size() - 1);
    (separator.horizontal ? layout.horizontal : layout.vertical)
        .pushBack(DockingSeparator<T>{static_cast<T>(separator.start), static_cast<T>(separator.length),
                                      (separator.activeBits << 30) | index});
}

template <typename T>
bool addElement(Scene2D<T>& scene, Element2D<T>* parent, const ElementDescription& description) {
    Element2D<T>* element = scene.addElement(parent, description.kind, description.getName());
    ElementGeometry<T>& geometry = element->geometry;
    const Rect<double>& rectangle = description.rectangle;
    geometry.rectangle = Rect<T>{static_cast<T>(rectangle.x), static_cast<T>(rectangle.y),
                                 static_cast<T>(rectangle.width), static_cast<T>(rectangle.height)};
    const Transform2D<double>& transform = description.transform;
    geometry.transform.translation = {static_cast<T>(transform.translation.x),
                                      static_cast<T>(transform.translation.y)};
    geometry.transform.rotationDegrees = transform.rotationDegrees;
    geometry.transform.scale = {static_cast<T>(transform.scale.x), static_cast<T>(transform.scale.y)};
    geometry.contentScale = static_cast<T>(description.contentScale);
    if (DockingLayout<T>* layout = element->separators())
        layout->thickness = static_cast<T>(description.separatorThickness);
    element->state = description.state;

    bool hasAttribute = false;
    for (uint32 i = 0; i < description.getChildCount(); ++i) {
        IObject* child = description.getChild(i);
        if (const auto* childElement = dynamic_cast<const ElementDescription*>(child)) {
            if (!addElement(scene, element, *childElement))
                return false;
        } else if (const auto* separator = dynamic_cast<const SeparatorDescription*>(child)) {
            if (description.kind != ElementKind2D::DockingLayout)
                return misplaced(*child, description);
            addSeparator(*element->separators(), *separator);
        } else if (child->isTypeOf(guids::kHitTestAttribute) && !hasAttribute) {
            element->setHitTestAttribute(child);
            hasAttribute = true;
        } else {
            return misplaced(*child, description);
        }
    }
    return true;
}

} // namespace

IObject* createScene2DFileObject(const String& typeName) {
    ElementKind2D kind;
    if (elementKindOfTypeName(typeName, kind))
        return new ElementDescription(kind);
    if (typeName == "Scene2D")
        return new SceneDescription();
    if (typeName == "HorizontalSeparator" || typeName == "VerticalSeparator")
        return new SeparatorDescription(typeName == "HorizontalSeparator");
    if (typeName == "HitTestAttribute")
        return host::createObjectByTypeName(typeName);
    return nullptr;
}

template <typename T>
Scene2D<T>* buildScene2D(const SceneDescription& description) {
    auto* scene = new Scene2D<T>();
    scene->setName(description.getName());
    for (uint32 i = 0; i < description.getChildCount(); ++i) {
        IObject* child = description.getChild(i);
        const auto* element = dynamic_cast<const ElementDescription*>(child);
        if (element == nullptr ? misplaced(*child, description) : addElement(*scene, nullptr, *element))
            continue;
        scene->release();
        return nullptr;
    }
    scene->unfold();
    return scene;
}

template Scene2D<float>* buildScene2D<float>(const SceneDescription&);
template Scene2D<double>* buildScene2D<double>(const SceneDescription&);

IScene2D* readScene2DFile(const String& path) {
    List<IObject*> objects;
    if (!host::readObjectFile(path, &createScene2DFileObject, objects))
        return nullptr;
    IScene2D* scene = nullptr;
    const auto* description =
        objects.size() == 1 ? dynamic_cast<const SceneDescription*>(objects.front()) : nullptr;
    if (description == nullptr)
        zor_log(ZOR_LOG_MODULE, false, LogLevelError, kReadFunction, "%s: expected one Scene2D object",
                path.c_str());
    else if (description->isDouble)
        scene = buildScene2D<double>(*description);
    else
        scene = buildScene2D<float>(*description);
    for (IObject* object : objects)
        object->release();
    return scene;
}

} // namespace zor
