#pragma once

#include "common/framework/ICollisionDetector.h"
#include "common/framework/IGridStage.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/ContactList.h"
#include "physics/engine3d/ContactTally.h"
#include "physics/engine3d/collision/BodyState.h"
#include "physics/engine3d/collision/CollisionPrimitive.h"
#include "physics/engine3d/collision/CollisionResponse.h"
#include "physics/engine3d/gridstage/CellGeometry.h"
#include "physics/engine3d/gridstage/FaceAttributes.h"
#include "physics/engine3d/gridstage/TileFaces.h"

#include <array>

// The tile-by-tile test of one shape against one grid stage, and the face test and face
// response both paths of the grid-stage test share.
namespace zor::gridstage {

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
    Vector3<T>& position = positionOf(primitive, state);
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

/// The grid-face test: asks the detector whether `shape` touches the face at `place` of `cell`
/// from height `low` to `high`, and where (`normal`, `depth`).
template <typename T>
[[gnu::always_inline]] inline bool touchesFace(ICollisionDetector<T>& detector, CapsuleShape<T>& shape,
                                               const CellEdges<T>& cell, FacePlace place, T low, T high,
                                               Vector3<T>& normal, T& depth) {
    const std::array<Vector3<T>, 4> corners = cell.faceCorners(place, low, high);
    normal = {};
    depth = 0;
    return detector.testCapsuleQuadrilateral(&shape.pointA, &shape.pointB, &shape.radius, &corners[0],
                                             &corners[1], &corners[2], &corners[3], &normal, &depth);
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
    ContactTally<T> contacts;
    /// Where the contacts are listed, or null.
    ContactList<T>* listed = nullptr;

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

    /// Tests `face` of `cell`. `within` is true when the face is known to be within reach;
    /// otherwise its box is measured as the box around its corners.
    void testFace(const GridFace<T>& face, const CellEdges<T>& cell, bool within) {
        bool reached = within || !passOverApart;
        if (!reached) {
            Vector3<T> least, most;
            cell.faceBox(face.place, face.low, face.high, least, most);
            reached = reach.reachesMeasured(least, most);
        }
        // Out of reach the face is done with, unless looking up its attributes may be reported.
        if (!reached && passOverTiles)
            return;
        Collision3DAttribute<T>* faceCollision =
            lookUpAgain(lastCollision, face.collisionIndex,
                        [this](uint32 index) { return getGridStageCollision3D(stage, index); });
        RigidBody3DAttribute<T>* faceBody =
            lookUpAgain(lastRigidBody, face.rigidBodyIndex,
                        [this](uint32 index) { return getGridStageRigidBody3D(stage, index); });
        RigidBody3DAttribute<T>* body = primitive.rigidBodyAttribute;
        if (excluded(groupOf(primitive, state), faceBody) || !reached)
            return;
        Vector3<T> normal;
        T depth;
        if (!touchesFace(detector, shape, cell, face.place, face.low, face.high, normal, depth))
            return;
        contacts.add(depth);
        if (listed != nullptr)
            listed->push_back({primitive.body,
                               primitive.element,
                               nullptr,
                               nullptr,
                               &stage,
                               cellIndex,
                               face.kind,
                               face.segment,
                               normal,
                               depth,
                               listedPosition(primitive, state),
                               {}});
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
                     faceCollision, faceBody, cellIndex, face.kind, face.segment, &normal, depth);
        if (!accepted || body == nullptr || faceBody == nullptr ||
            !respondToFace(primitive, state, *body, *faceBody, normal, depth, face.speed, shape))
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
        const auto tileNow = [&]() -> const GridTile<T>* {
            if (calledBack)
                tile = tileIndex < tiles.size() ? &tiles[tileIndex] : nullptr;
            return tile;
        };
        forEachFace<T>(tileNow, [&](const GridFace<T>& face) {
            // A lone floor spans its tile's heights: its box is the one just measured.
            testFace(face, cell, passOverTiles && floorsAsTiles && face.alone);
        });
    }
};

} // namespace zor::gridstage
