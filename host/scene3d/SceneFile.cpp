#include "host/scene3d/SceneFile.h"

#include "common/object/Identifiers.h"
#include "host/core/HostFactory.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentObjects.h"
#include "host/io/ObjectDocument.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/Scene3D.h"
#include "host/scene3d/SceneCheck.h"

namespace zor::host {

IObject* createSceneObject(const String& typeName) {
    if (IObject* scene = Scene3D<float>::create(typeName))
        return scene;
    if (IObject* scene = Scene3D<double>::create(typeName))
        return scene;
    if (IObject* element = Element3D<float>::create(typeName))
        return element;
    if (IObject* element = Element3D<double>::create(typeName))
        return element;
    if (IObject* stage = GridStage<float>::create(typeName))
        return stage;
    if (IObject* stage = GridStage<double>::create(typeName))
        return stage;
    return createObjectByTypeName(typeName);
}

IObject* readSceneFile(const String& path, String& error, bool strict) {
    List<IObject*> objects;
    IObject* scene = nullptr;
    SceneCheck check(strict);
    if (streamObjectFile(path, &createSceneObject, objects,
                         [&check](IObject& object, IObject& reader) { return check(object, reader); })) {
        scene = objects.size() == 1 ? objects.front() : nullptr;
        if (scene == nullptr || !scene->isTypeOf(guids::kScene3D)) {
            logDocumentFailure("zor::host::readSceneFile", path, "/objects",
                               "expected one object, of type Scene3D{float} or Scene3D{double}, found %llu "
                               "object%s of type %s",
                               static_cast<unsigned long long>(objects.size()),
                               objects.size() == 1 ? "" : "s",
                               objects.isEmpty() ? "none" : objects.front()->getTypeName().c_str());
            releaseObjects(objects);
            scene = nullptr;
        }
    }
    if (scene == nullptr) {
        const std::string line = takeDocumentFailure(path);
        error = String(line.c_str(), line.size());
        return nullptr;
    }
    if (scene->getTemplateType() == 10)
        static_cast<Scene3D<float>*>(scene)->updateView();
    else
        static_cast<Scene3D<double>*>(scene)->updateView();
    return scene;
}

} // namespace zor::host
