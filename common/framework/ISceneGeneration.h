#pragma once

#include "common/object/IObject.h"

namespace zor {

/// What a host scene may declare about its changes, found through the scene's castTo with
/// guids::kSceneGeneration (null: it declares nothing). A scene that declares it raises its
/// generation whenever something the engines read of it changed other than through the engines'
/// own writes: elements added, removed or given another parent, physics attributes set or
/// removed, the attributes' variables other than speeds and accelerations, meshes, grid stages
/// added or removed. Positions, rotations, scales, shape sizes, speeds, accelerations and the
/// grid stages' tiles may change without it. While the generation stays the one an engine last
/// read the scene at, the engine may keep what it read of the scene's objects from step to step.
class ISceneGeneration : public IObject {
public:
    /// Slot 42: the scene's generation, raised on every change it covers; it never goes back.
    virtual uint64 getSceneGeneration() const = 0;

protected:
    ~ISceneGeneration() = default;
};

} // namespace zor
