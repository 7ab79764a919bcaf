#pragma once

#include "common/framework/ICollisionDetector.h"
#include "common/framework/IGridStage.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/collision/BodyState.h"
#include "physics/engine3d/collision/CollisionPrimitive.h"
#include "physics/engine3d/collision/CollisionResponse.h"
#include "physics/engine3d/gridstage/CellGeometry.h"
#include "physics/engine3d/gridstage/TileFaces.h"

#include <array>

// The tile-by-tile test of one shape against one grid stage, and the face response both paths
// of the grid-stage test share.
namespace zor::gridstage {

/// The body's exclusion group (on `state` when there is one), 0 for none.
template <typename T>
uint32 groupOf(const RigidBody3DAttribute<T>* body, const BodyState<T>* state) {
    return body == nullptr ? 0 : state != nullptr ? state->exclusionGroup : body->getExclusionGroup();
}

/// True when a body of `group` and the face's body share an exclusion group: they pass through.
template <typename T>
bool excluded(uint32 group, const RigidBody3DAttribute<T>* faceBody) {
    return group != 0 && faceBody != nullptr && group == faceBody->getExclusionGroup();
}

/// The static-face response of the body (on `state` when there is one) to a contact, the shape
/// following the body; true when it moved the body.
template <typename T>
[[gnu::always_inline]] inline bool
respondToFace(PhysicsCollisionPrimitive3D<T>& primitive, BodyState<T>* state, RigidBody3DAttribute<T>& body,
              const RigidBody3DAttribute<T>& faceBody, const Vector3<T>& normal, T depth, T faceSpeed,
              CapsuleShape<T>& shape) {
    Vector3<T>& position = state != nullptr ? state->position : primitive.bodyTransform->position;
    const Vector3<T> before = position;
    if (!(state != nullptr
              ? respondToStaticFace(normal, depth, *state, *state, faceBody, faceSpeed)
              : respondToStaticFace(normal, depth, *primitive.bodyTransform, body, faceBody, faceSpeed)))
        return false;
    const Vector3<T> moved = v3::minus(position, before);
    shape.pointA = v3::plus(shape.pointA, moved);
    shape.pointB = v3::plus(shape.pointB, moved);
    return true;
}

/// One grid stage tested against one shape: the stage, the detector, the primitive and what
/// the test found so far.
template <typename T>
struct GridStageTest {
    IGridStage<T>& stage;
    ICollisionDetector<T>& detector;
    GridStageCollisionCallback<T> callback;
    PhysicsCollisionPrimitive3D<T>& primitive;
    /// The copy of the body's state the responses work on, or null for the body itself.
    BodyState<T>* state;
    CapsuleShape<T>& shape;
    bool passOverApart;
    /// Whole tiles out of reach may be passed over: their faces' attributes, which are looked
    /// up first, write nothing to the log.
    bool passOverTiles;
    /// A tile within reach whose only face is its floor has its floor within reach.
    bool floorsAsTiles;
    /// Per tile, the heights its faces span as read with the stage; null once the callback has
    /// run, which may have changed them.
    const TileHeights<T>* heights;
    /// The attributes last found, kept with the stage while no host code runs.
    FoundAttribute<Collision3DAttribute<T>>& lastCollision;
    FoundAttribute<RigidBody3DAttribute<T>>& lastRigidBody;
    /// How far beyond touching the detector reports contacts.
    double beyond;
    ShapeReach<T> reach;
    uint32 cellIndex = 0;
    bool responded = false;
    bool calledBack = false;

    GridStageTest(IGridStage<T>& stage, ICollisionDetector<T>& detector,
                  GridStageCollisionCallback<T> callback, PhysicsCollisionPrimitive3D<T>& primitive,
                  BodyState<T>* state, CapsuleShape<T>& shape, bool passOverApart, bool passOverTiles,
                  bool floorsAsTiles, const TileHeights<T>* heights,
                  FoundAttribute<Collision3DAttribute<T>>& lastCollision,
                  FoundAttribute<RigidBody3DAttribute<T>>& lastRigidBody, double beyond, double facesExtent)
        : stage(stage), detector(detector), callback(callback), primitive(primitive), state(state),
          shape(shape), passOverApart(passOverApart), passOverTiles(passOverTiles),
          floorsAsTiles(floorsAsTiles), heights(heights), lastCollision(lastCollision),
          lastRigidBody(lastRigidBody), beyond(beyond), reach(shape, beyond, facesExtent) {}

    /// Tests the face at `place` of `cell`, from height `low` to `high` (the same for a floor or
    /// ceiling). `within` is true when the face is known to be within reach; otherwise its box
    /// is measured as the box around its corners.
    void face(FacePlace place, const CellEdges<T>& cell, T low, T high, bool within, uint32 collisionIndex,
              uint32 rigidBodyIndex, uint32 faceKind, uint32 segmentKind, T faceSpeed) {
        bool reached = within || !passOverApart;
        if (!reached) {
            Vector3<T> least, most;
            cell.faceBox(place, low, high, least, most);
            reached = reach.reachesMeasured(least, most);
        }
        // Out of reach the face is done with, unless looking up its attributes may be reported.
        if (!reached && passOverTiles)
            return;
        Collision3DAttribute<T>* faceCollision =
            lookUpAgain(lastCollision, collisionIndex,
                        [this](uint32 index) { return getGridStageCollision3D(stage, index); });
        RigidBody3DAttribute<T>* faceBody = lookUpAgain(lastRigidBody, rigidBodyIndex, [this](uint32 index) {
            return getGridStageRigidBody3D(stage, index);
        });
        RigidBody3DAttribute<T>* body = primitive.rigidBodyAttribute;
        if (excluded(groupOf(body, state), faceBody) || !reached)
            return;
        const std::array<Vector3<T>, 4> corners = cell.faceCorners(place, low, high);
        Vector3<T> normal{};
        T depth = 0;
        if (!detector.testCapsuleQuadrilateral(&shape.pointA, &shape.pointB, &shape.radius, &corners[0],
                                               &corners[1], &corners[2], &corners[3], &normal, &depth))
            return;
        if (callback != nullptr) {
            // The callback is the host's: what it may change is looked up afresh.
            lastCollision = {};
            lastRigidBody = {};
            heights = nullptr;
            calledBack = true;
        }
        const bool accepted =
            callback == nullptr ||
            callback(primitive.body, primitive.element, primitive.collisionAttribute, body, &stage,
                     faceCollision, faceBody, cellIndex, faceKind, segmentKind, &normal, depth);
        if (!accepted || body == nullptr || faceBody == nullptr ||
            !respondToFace(primitive, state, *body, *faceBody, normal, depth, faceSpeed, shape))
            return;
        reach = ShapeReach<T>(shape, beyond, reach.facesExtent);
        responded = true;
    }

    /// Tests the faces of tile `tileIndex` of `cell`.
    void tile(const Array<GridTile<T>>& tiles, uint32 tileIndex, const CellEdges<T>& cell) {
        const GridTile<T>* tile = &tiles[tileIndex];
        if (passOverTiles) {
            TileHeights<T> measured;
            const TileHeights<T>* span = &measured;
            if (heights != nullptr)
                span = heights + tileIndex;
            else
                measured.any = heightsOf(*tile, measured.low, measured.high);
            if (!span->any || !reach.reachesMeasured({cell.xLeast, span->low, cell.tileZLeast},
                                                     {cell.xMost, span->high, cell.tileZMost}))
                return;
        }
        // Once the callback has run, which may have grown the tiles elsewhere or taken this one
        // away, each face is read from where the tile is now.
        const auto stillThere = [&] {
            if (calledBack)
                tile = tileIndex < tiles.size() ? &tiles[tileIndex] : nullptr;
            return tile != nullptr;
        };
        const bool floorOnly = floorAlone(*tile);
        // A lone floor spans its tile's heights: its box is the one just measured.
        const bool floorWithin = passOverTiles && floorsAsTiles && floorOnly;
        if (tile->floorPresent) {
            const T y = tile->floorHeight;
            face(FacePlace::Floor, cell, y, y, floorWithin, tile->floorCollision, tile->floorRigidBody,
                 GridFaceFloor, GridSegmentNone, tile->floorSpeed);
        }
        // Unless the callback ran, which may have given the tile other faces, it has no more.
        if ((floorOnly && !calledBack) || !stillThere())
            return;
        if (tile->ceilingPresent) {
            const T y = tile->ceilingHeight;
            face(FacePlace::Ceiling, cell, y, y, false, tile->ceilingCollision, tile->ceilingRigidBody,
                 GridFaceCeiling, GridSegmentNone, tile->ceilingSpeed);
        }
        for (uint32 side = 0; side < 4 && stillThere(); ++side) {
            if (!tile->sides[side].sidePresent)
                continue;
            if (tile->sides[side].middlePresent) {
                const GridTileSide<T>& walls = tile->sides[side];
                wall(side, cell, tile->floorHeight, tile->ceilingHeight, walls.middleCollision,
                     walls.middleRigidBody, GridSegmentMiddle);
            }
            if (stillThere() && tile->sides[side].lowerPresent) {
                const GridTileSide<T>& walls = tile->sides[side];
                wall(side, cell, tile->floorHeight, tile->floorHeight + walls.lowerHeight,
                     walls.lowerCollision, walls.lowerRigidBody, GridSegmentLower);
            }
            if (stillThere() && tile->sides[side].upperPresent) {
                const GridTileSide<T>& walls = tile->sides[side];
                wall(side, cell, tile->ceilingHeight, tile->ceilingHeight + walls.upperHeight,
                     walls.upperCollision, walls.upperRigidBody, GridSegmentUpper);
            }
        }
    }

    /// One wall segment between two heights on the edge of side `side`: 0 at x1 facing +x,
    /// 1 at z1 facing -z, 2 at x0 facing -x, 3 at z0 facing +z.
    void wall(uint32 side, const CellEdges<T>& cell, T from, T to, uint32 collisionIndex,
              uint32 rigidBodyIndex, uint32 segmentKind) {
        if (from == to)
            return;
        face(FacePlace(uint32(FacePlace::Side0) + side), cell, std::min(from, to), std::max(from, to), false,
             collisionIndex, rigidBodyIndex, GridFaceFirstWall + side, segmentKind, T(0));
    }
};

} // namespace zor::gridstage
