#pragma once

#include "common/Types.h"
#include "common/framework/GridTile.h"
#include "common/variables/Vector.h"

#include <algorithm>
#include <array>

// A tile's faces: the one enumeration of them, where their corners lie and the heights they
// span. This header stands alone (it reads only the tile record), so that the host draws the
// faces the engine collides with from the same enumeration.
namespace zor::gridstage {

/// Kinds of face reported to the grid-stage callback: floor, ceiling, then the walls of sides
/// 0 to 3.
enum GridFaceKind : uint32 { GridFaceFloor = 0, GridFaceCeiling = 1, GridFaceFirstWall = 2 };
/// Kinds of wall segment reported to the callback (0 for floors and ceilings).
enum GridSegmentKind : uint32 {
    GridSegmentNone = 0,
    GridSegmentLower = 1,
    GridSegmentMiddle = 2,
    GridSegmentUpper = 3
};

/// The faces of a tile: the floor, the ceiling, then the walls of sides 0 to 3 (0 at x1 facing
/// +x, 1 at z1 facing -z, 2 at x0 facing -x, 3 at z0 facing +z).
enum class FacePlace : uint32 { Floor, Ceiling, Side0, Side1, Side2, Side3 };

/// One face of a tile as the enumeration gives it.
template <typename T>
struct GridFace {
    FacePlace place;
    /// The heights the face spans, the lower first (equal for a floor or ceiling).
    T low;
    T high;
    uint32 collisionIndex;
    uint32 rigidBodyIndex;
    /// The face and segment kinds the grid-stage callback is told.
    uint32 kind;
    uint32 segment;
    /// Added to the y of the speed of the face's rigid body (0 for walls).
    T speed;
    /// A floor that is its tile's only face.
    bool alone;
};

/// True when the tile's only face, if any, is its floor.
template <typename T>
bool floorAlone(const GridTile<T>& tile) {
    return !tile.ceilingPresent && !tile.sides[0].sidePresent && !tile.sides[1].sidePresent &&
           !tile.sides[2].sidePresent && !tile.sides[3].sidePresent;
}

/// Calls `visit(face)` for each face of a tile in the order the engine tests them: the floor,
/// the ceiling, then the middle, lower and upper walls of sides 0 to 3; walls of no height are
/// left out. `tileNow()` gives the tile before each face is read: a visit may run host code that
/// moves the tiles or takes this one away (null, which ends the enumeration).
template <typename T, typename TileNow, typename Visit>
void forEachFace(TileNow&& tileNow, Visit&& visit) {
    const GridTile<T>* tile = tileNow();
    if (tile == nullptr)
        return;
    if (tile->floorPresent)
        visit(GridFace<T>{FacePlace::Floor, tile->floorHeight, tile->floorHeight, tile->floorCollision,
                          tile->floorRigidBody, GridFaceFloor, GridSegmentNone, tile->floorSpeed,
                          floorAlone(*tile)});
    if ((tile = tileNow()) == nullptr)
        return;
    if (tile->ceilingPresent)
        visit(GridFace<T>{FacePlace::Ceiling, tile->ceilingHeight, tile->ceilingHeight,
                          tile->ceilingCollision, tile->ceilingRigidBody, GridFaceCeiling, GridSegmentNone,
                          tile->ceilingSpeed, false});
    for (uint32 side = 0; side < 4; ++side) {
        const auto wall = [&](T from, T to, uint32 collisionIndex, uint32 rigidBodyIndex, uint32 segment) {
            if (from != to)
                visit(GridFace<T>{FacePlace(uint32(FacePlace::Side0) + side), std::min(from, to),
                                  std::max(from, to), collisionIndex, rigidBodyIndex,
                                  GridFaceFirstWall + side, segment, T(0), false});
        };
        if ((tile = tileNow()) == nullptr)
            return;
        if (!tile->sides[side].sidePresent)
            continue;
        if (tile->sides[side].middlePresent) {
            const GridTileSide<T>& walls = tile->sides[side];
            wall(tile->floorHeight, tile->ceilingHeight, walls.middleCollision, walls.middleRigidBody,
                 GridSegmentMiddle);
        }
        if ((tile = tileNow()) == nullptr)
            return;
        if (tile->sides[side].lowerPresent) {
            const GridTileSide<T>& walls = tile->sides[side];
            wall(tile->floorHeight, tile->floorHeight + walls.lowerHeight, walls.lowerCollision,
                 walls.lowerRigidBody, GridSegmentLower);
        }
        if ((tile = tileNow()) == nullptr)
            return;
        if (tile->sides[side].upperPresent) {
            const GridTileSide<T>& walls = tile->sides[side];
            wall(tile->ceilingHeight, tile->ceilingHeight + walls.upperHeight, walls.upperCollision,
                 walls.upperRigidBody, GridSegmentUpper);
        }
    }
}

/// forEachFace for a tile that stays where it is.
template <typename T, typename Visit>
void forEachFace(const GridTile<T>& tile, Visit&& visit) {
    forEachFace<T>([&tile] { return &tile; }, visit);
}

/// The corners of the face at `place` of the cell x0..x1, z0 (near) to z1 (far), from height
/// `low` to `high` (the same for a floor or ceiling), counter-clockwise seen from the side it
/// faces.
template <typename T>
[[gnu::always_inline]] inline std::array<Vector3<T>, 4> faceCorners(FacePlace place, T x0, T x1, T z0, T z1,
                                                                    T low, T high) {
    switch (place) {
    case FacePlace::Floor:
        return {{{x0, low, z1}, {x0, low, z0}, {x1, low, z0}, {x1, low, z1}}};
    case FacePlace::Ceiling:
        return {{{x0, low, z1}, {x1, low, z1}, {x1, low, z0}, {x0, low, z0}}};
    case FacePlace::Side0:
        return {{{x1, low, z1}, {x1, high, z1}, {x1, high, z0}, {x1, low, z0}}};
    case FacePlace::Side1:
        return {{{x0, low, z1}, {x0, high, z1}, {x1, high, z1}, {x1, low, z1}}};
    case FacePlace::Side2:
        return {{{x0, low, z1}, {x0, low, z0}, {x0, high, z0}, {x0, high, z1}}};
    default:
        return {{{x0, low, z0}, {x1, low, z0}, {x1, high, z0}, {x0, high, z0}}};
    }
}

/// The heights from `low` to `high` that the faces of `tile` span; false when it has none.
template <typename T>
bool heightsOf(const GridTile<T>& tile, T& low, T& high) {
    bool any = false;
    const auto include = [&](T from, T to) {
        low = any ? std::min({low, from, to}) : std::min(from, to);
        high = any ? std::max({high, from, to}) : std::max(from, to);
        any = true;
    };
    if (tile.floorPresent)
        include(tile.floorHeight, tile.floorHeight);
    if (tile.ceilingPresent)
        include(tile.ceilingHeight, tile.ceilingHeight);
    for (const GridTileSide<T>& walls : tile.sides) {
        if (!walls.sidePresent)
            continue;
        if (walls.middlePresent)
            include(tile.floorHeight, tile.ceilingHeight);
        if (walls.lowerPresent)
            include(tile.floorHeight, T(tile.floorHeight + walls.lowerHeight));
        if (walls.upperPresent)
            include(tile.ceilingHeight, T(tile.ceilingHeight + walls.upperHeight));
    }
    return any;
}

} // namespace zor::gridstage
