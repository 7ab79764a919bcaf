#include "host/app/HostDocuments.h"

#include "host/io/ObjectDocument.h"
#include "host/path/PathCommandEntry.h"
#include "host/scene2d/Scene2DFile.h"
#include "host/scene3d/SceneCheck.h"
#include "host/scene3d/SceneFile.h"

namespace zor {
namespace {

// The host's 3D scene objects and the factory's classes first: the 2D scene objects and path
// commands have names of their own.
IObject* createDocumentObject(const String& typeName) {
    if (IObject* object = host::createSceneObject(typeName))
        return object;
    if (IObject* object = createScene2DFileObject(typeName))
        return object;
    return host::PathCommandEntry::create(typeName);
}

} // namespace

bool readHostDocument(const String& path, List<IObject*>& objects) {
    host::SceneCheck check(false);
    return host::readObjectFile(path, &createDocumentObject, objects,
                                [&check](IObject& object, IObject& reader) {
                                    return check(object, reader) && checkScene2DObject(object, reader, false);
                                });
}

} // namespace zor
