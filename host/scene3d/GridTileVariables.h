#pragma once

#include "common/framework/GridTile.h"
#include "common/framework/IVariableReader.h"
#include "host/scene3d/SceneVariables.h"

#include <string>

namespace zor::host {

// A grid-stage tile in a scene file: a node of the stage named "tile1", "tile2", ... (the cell
// value that selects it) holding "floorHeight" and "ceilingHeight", a node "floor" and
// "ceiling" for each face that is present (its "speed" and the indices "collision" and
// "rigidBody" of its attributes, absent for none), and a node "side0" to "side3" for each side
// that is present, with nodes "middle", "lower" and "upper" for its wall segments (lower and
// upper with their "height").

/// The name of the tile that cell value `number` selects: "tile<number>".
String gridTileName(uint64 number);

/// Reads the tile node the reader is in; absent faces are cleared, absent indices name none.
template <typename T>
bool readGridTile(IVariableReader* reader, GridTile<T>& tile);

/// Writes `tile` as the node `name`.
template <typename T>
bool writeGridTile(const VariablePass& pass, const String& name, const GridTile<T>& tile);

/// Calls `visit(faceName, collisionIndex, rigidBodyIndex)` for every present face of `tile`
/// ("floor", "side2 lower", ...); stops and returns false when `visit` does.
template <typename T, typename Visit>
bool forEachGridFace(const GridTile<T>& tile, Visit visit) {
    if (tile.floorPresent && !visit("floor", tile.floorCollision, tile.floorRigidBody))
        return false;
    if (tile.ceilingPresent && !visit("ceiling", tile.ceilingCollision, tile.ceilingRigidBody))
        return false;
    for (int s = 0; s < 4; ++s) {
        const GridTileSide<T>& side = tile.sides[s];
        if (!side.sidePresent)
            continue;
        const std::string name = "side" + std::to_string(s);
        if ((side.middlePresent && !visit(name + " middle", side.middleCollision, side.middleRigidBody)) ||
            (side.lowerPresent && !visit(name + " lower", side.lowerCollision, side.lowerRigidBody)) ||
            (side.upperPresent && !visit(name + " upper", side.upperCollision, side.upperRigidBody)))
            return false;
    }
    return true;
}

} // namespace zor::host
