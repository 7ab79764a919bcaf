#include "host/scene3d/SceneFile.h"

#include "common/object/Identifiers.h"
#include "host/core/HostFactory.h"
#include "host/io/ObjectDocument.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/Scene3D.h"

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

IObject* readSceneFile(const String& path, String& error) {
    List<IObject*> objects;
    if (!readObjectFile(path, &createSceneObject, objects)) {
        error = path + String(": not a readable scene file (the log says where and why)");
        return nullptr;
    }
    IObject* scene = objects.size() == 1 ? objects.front() : nullptr;
    if (scene == nullptr || !scene->isTypeOf(guids::kScene3D)) {
        error = path + String(": a scene file holds one object, of type Scene3D{float} or Scene3D{double}");
        for (IObject* object : objects)
            object->release();
        return nullptr;
    }
    if (scene->getTemplateType() == 10)
        static_cast<Scene3D<float>*>(scene)->updateView();
    else
        static_cast<Scene3D<double>*>(scene)->updateView();
    return scene;
}

} // namespace zor::host
