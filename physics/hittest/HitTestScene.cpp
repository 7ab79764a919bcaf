#include "physics/hittest/HitTestScene.h"

#include "common/framework/IScene2D.h"
#include "common/log/Log.h"
#include "common/variables/VariableType.h"

#include <type_traits>

namespace zor {

template <typename T>
bool canHitTestScene(const IObject* resourcesHandler, IScene2D* scene, const char* functionName) {
    constexpr bool isFloat = std::is_same_v<T, float>;
    if (resourcesHandler == nullptr) {
        zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, functionName,
                "Physics engine doesn't have a resources handler. Cannot do anything.");
        return false;
    }
    if (scene == nullptr) {
        zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, functionName,
                isFloat ? "Current scene is NULL. Cannot do anything."
                        : "Scene is NULL. Cannot do anything.");
        return false;
    }
    const int32 sceneType = scene->getTemplateType();
    if (sceneType == (isFloat ? VariableTypeFloat : VariableTypeDouble))
        return true;
    if constexpr (isFloat)
        zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, functionName,
                "Current scene:0x%p class variable type:0x%X is not compatible with point float type",
                static_cast<void*>(scene), static_cast<unsigned>(sceneType));
    else
        zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, functionName,
                "Current scene:0x%p class variable type:0x%X is not compatible with point double type",
                static_cast<void*>(scene), static_cast<unsigned>(sceneType));
    return false;
}

template bool canHitTestScene<float>(const IObject*, IScene2D*, const char*);
template bool canHitTestScene<double>(const IObject*, IScene2D*, const char*);

} // namespace zor
