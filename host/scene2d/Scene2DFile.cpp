#include "host/scene2d/Scene2DFile.h"

#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "host/core/HostFactory.h"
#include "host/io/DocumentFailure.h"
#include "host/io/NumberText.h"
#include "host/io/ObjectDocument.h"
#include "host/io/VariablePlace.h"

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
        if (element == nullptr ? misplaced(*child, description) : addElement<T>(*scene, nullptr, *element))
            continue;
        scene->release();
        return nullptr;
    }
    scene->unfold();
    return scene;
}

template Scene2D<float>* buildScene2D<float>(const SceneDescription&);
template Scene2D<double>* buildScene2D<double>(const SceneDescription&);

bool checkScene2DObject(IObject& object, IObject& reader, bool strict) {
    const auto* element = dynamic_cast<const ElementDescription*>(&object);
    if (element == nullptr && dynamic_cast<const SceneDescription*>(&object) == nullptr)
        return true;
    bool hasAttribute = false;
    for (uint32 i = 0; i < object.getChildCount(); ++i) {
        const IObject* child = object.getChild(i);
        const bool fits =
            dynamic_cast<const ElementDescription*>(child) != nullptr ||
            (element != nullptr && dynamic_cast<const SeparatorDescription*>(child) != nullptr &&
             element->kind == ElementKind2D::DockingLayout) ||
            (element != nullptr && child->isTypeOf(guids::kHitTestAttribute) && !hasAttribute);
        hasAttribute = hasAttribute || child->isTypeOf(guids::kHitTestAttribute);
        if (!fits)
            return host::refuseValue(host::placeOfVariable(reader, nullptr),
                                     element == nullptr ? "elements as children of the scene"
                                                        : "elements, separators of a docking layout and one "
                                                          "HitTestAttribute as children",
                                     std::string(child->getTypeName().c_str()) + " " + std::to_string(i));
    }
    if (element == nullptr || (element->transform.scale.x != 0 && element->transform.scale.y != 0))
        return true;
    const host::ValuePlace at = host::placeOfVariable(reader, "scale");
    const std::string found = "x " + host::numberText(element->transform.scale.x) + ", y " +
                              host::numberText(element->transform.scale.y);
    if (strict)
        return host::refuseValue(at, "a scale other than 0 (--strict refuses what is unusual)", found);
    host::warnValue(at, "a scale other than 0", found);
    return true;
}

IScene2D* readScene2DFile(const String& path, bool strict) {
    List<IObject*> objects;
    if (!host::readObjectFile(path, &createScene2DFileObject, objects,
                              [strict](IObject& object, IObject& reader) {
                                  return checkScene2DObject(object, reader, strict);
                              }))
        return nullptr;
    IScene2D* scene = nullptr;
    const auto* description =
        objects.size() == 1 ? dynamic_cast<const SceneDescription*>(objects.front()) : nullptr;
    if (description == nullptr)
        host::logDocumentFailure(kReadFunction, path, "/objects",
                                 "expected one Scene2D object, found %llu object%s%s%s",
                                 static_cast<unsigned long long>(objects.size()),
                                 objects.size() == 1 ? "" : "s", objects.isEmpty() ? "" : ", the first a ",
                                 objects.isEmpty() ? "" : objects.front()->getTypeName().c_str());
    else if (description->isDouble)
        scene = buildScene2D<double>(*description);
    else
        scene = buildScene2D<float>(*description);
    for (IObject* object : objects)
        object->release();
    return scene;
}

} // namespace zor
