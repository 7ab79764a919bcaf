#include "physics/hittest/HitTestEngine2D.h"

#include "common/framework/IScene2D.h"
#include "common/object/HeldReference.h"

namespace zor {

HitTestEngine2D::~HitTestEngine2D() {
    replaceHeldReference(m_resourcesHandler, static_cast<IObject*>(nullptr));
    replaceHeldReference(m_currentScene, static_cast<IScene2D*>(nullptr));
}

bool HitTestEngine2D::setResourcesHandler(IObject* handler) {
    replaceHeldReference(m_resourcesHandler, handler);
    return true;
}

IScene2D* HitTestEngine2D::getCurrentScene(bool addReference) {
    return handOutReference(m_currentScene, addReference);
}

void HitTestEngine2D::setCurrentScene(IScene2D* scene) {
    replaceHeldReference(m_currentScene, scene);
}

} // namespace zor
