#pragma once

#include "common/containers/Array.h"
#include "common/framework/UnfoldedElement2D.h"
#include "common/object/IObject.h"

namespace zor {

class IScene2D;

/// The gate in front of every scene hit test of a T point: true when there is a resources
/// handler and a scene of T's number type. Otherwise one warning under `functionName` and false.
template <typename T>
bool canHitTestScene(const IObject* resourcesHandler, IScene2D* scene, const char* functionName);

/// The records of one of a scene's unfolded lists, from the holder the scene handed out.
inline const Array<UnfoldedElement2D>& unfoldedRecords(IObject* holder) {
    return *static_cast<const Array<UnfoldedElement2D>*>(holder->getUserData());
}

} // namespace zor
