#include "host/io/DocumentObjects.h"

namespace zor::host {

void releaseObjects(List<IObject*>& objects) {
    for (IObject* object : objects)
        object->release();
    objects.clear();
}

bool adoptChildren(IObject* parent, List<IObject*>& children) {
    bool adopted = true;
    for (IObject* child : children) {
        adopted = adopted && parent->addChild(child);
        child->release();
    }
    children.clear();
    return adopted;
}

void appendObjects(List<IObject*>& from, List<IObject*>& to) {
    for (IObject* object : from)
        to.pushBack(object);
    from.clear();
}

} // namespace zor::host
