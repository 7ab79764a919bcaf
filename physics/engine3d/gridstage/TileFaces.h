#pragma once

#include "common/Types.h"
#include "common/framework/GridTile.h"
#include "common/framework/IObjectList.h"
#include "physics/engine3d/gridstage/CellGeometry.h"

#include <algorithm>

// A tile's faces: the one enumeration of them, the heights they span, and the look-up of their
// attributes.
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

/// The entry `index` of an attribute list, or null when there is none.
inline IObject* listEntry(IObjectList* list, uint32 index) {
    if (index == kNoGridAttribute || list == nullptr || index >= list->getCount())
        return nullptr;
    return list->getData()[index];
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

/// True when every attribute of the stage is of its class, so that looking one up writes
/// nothing to the log and may be left out.
inline bool holdsOnly(IObjectList* list, const GUID_t& guid) {
    if (list == nullptr)
        return true;
    IObject* const* entries = list->getData();
    for (uint32 i = 0; i < list->getCount(); ++i)
        if (entries[i] != nullptr && !entries[i]->isTypeOf(guid))
            return false;
    return true;
}

/// The attribute `wanted`, looked up unless `lastFound` holds it: a look-up that found nothing
/// (or wrote to the log) is made again. The "none" index finds nothing without asking.
template <typename Attribute, typename LookUp>
Attribute* lookUpAgain(FoundAttribute<Attribute>& lastFound, uint32 wanted, LookUp&& lookUp) {
    if (wanted == kNoGridAttribute)
        return nullptr;
    if (wanted == lastFound.index && lastFound.attribute != nullptr)
        return lastFound.attribute;
    lastFound.index = wanted;
    return lastFound.attribute = lookUp(wanted);
}

/// True when the tile's only face, if any, is its floor.
template <typename T>
bool floorAlone(const GridTile<T>& tile) {
    return !tile.ceilingPresent && !tile.sides[0].sidePresent && !tile.sides[1].sidePresent &&
           !tile.sides[2].sidePresent && !tile.sides[3].sidePresent;
}

/// Calls `add(place, low, high, rigidBodyIndex, speed, within)` for each face of `tile` in the
/// order the test takes them: the floor, the ceiling, then the middle, lower and upper walls of
/// sides 0 to 3. Walls of no height are left out; a lone floor of a finite cell (`floorsAsTiles`)
/// is within reach once its tile is.
template <typename T, typename Add>
void forEachFace(const GridTile<T>& tile, bool floorsAsTiles, Add&& add) {
    if (tile.floorPresent)
        add(FacePlace::Floor, tile.floorHeight, tile.floorHeight, tile.floorRigidBody, tile.floorSpeed,
            floorsAsTiles && floorAlone(tile));
    if (tile.ceilingPresent)
        add(FacePlace::Ceiling, tile.ceilingHeight, tile.ceilingHeight, tile.ceilingRigidBody,
            tile.ceilingSpeed, false);
    for (uint32 side = 0; side < 4; ++side) {
        const GridTileSide<T>& walls = tile.sides[side];
        if (!walls.sidePresent)
            continue;
        const auto wall = [&](T from, T to, uint32 rigidBodyIndex) {
            if (from != to)
                add(FacePlace(uint32(FacePlace::Side0) + side), std::min(from, to), std::max(from, to),
                    rigidBodyIndex, T(0), false);
        };
        if (walls.middlePresent)
            wall(tile.floorHeight, tile.ceilingHeight, walls.middleRigidBody);
        if (walls.lowerPresent)
            wall(tile.floorHeight, T(tile.floorHeight + walls.lowerHeight), walls.lowerRigidBody);
        if (walls.upperPresent)
            wall(tile.ceilingHeight, T(tile.ceilingHeight + walls.upperHeight), walls.upperRigidBody);
    }
}

} // namespace zor::gridstage
