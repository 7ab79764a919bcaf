#pragma once

#include "common/Types.h"

namespace zor {

#pragma pack(push, 1)

/// One side of a grid-stage tile: a wall on the cell's edge, in up to three segments (from the
/// floor to the ceiling, from the floor up by the lower height, from the ceiling up by the upper
/// height), each with its own collision and rigid-body attribute index.
template <typename T>
struct GridTileSide {
    uint8 middlePresent;
    uint32 middleCollision;
    uint32 middleRigidBody;
    uint8 lowerPresent;
    T lowerHeight;
    uint32 lowerCollision;
    uint32 lowerRigidBody;
    uint8 upperPresent;
    T upperHeight;
    uint32 upperCollision;
    uint32 upperRigidBody;
    uint8 sidePresent;
};

/// A grid-stage tile: an optional floor and ceiling (each with a height, a vertical speed and
/// attribute indices) and four sides: 0 faces +x, 1 faces -z, 2 faces -x, 3 faces +z. Attribute
/// indices point into the stage's collision and rigid-body attribute lists; 0xFFFFFFFE is none.
template <typename T>
struct GridTile {
    uint8 floorPresent;
    T floorHeight;
    T floorSpeed;
    uint32 floorCollision;
    uint32 floorRigidBody;
    uint8 ceilingPresent;
    T ceilingHeight;
    T ceilingSpeed;
    uint32 ceilingCollision;
    uint32 ceilingRigidBody;
    GridTileSide<T> sides[4];
};

#pragma pack(pop)

static_assert(sizeof(GridTileSide<float>) == 36 && sizeof(GridTileSide<double>) == 44);
static_assert(sizeof(GridTile<float>) == 34 + 4 * 36 && sizeof(GridTile<double>) == 50 + 4 * 44);

/// The attribute index that names no attribute.
inline constexpr uint32 kNoGridAttribute = 0xFFFFFFFE;

} // namespace zor
