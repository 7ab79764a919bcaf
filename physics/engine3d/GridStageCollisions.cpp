#include "physics/engine3d/GridStageCollisions.h"

#include "common/containers/Array.h"
#include "common/framework/ICollisionDetector.h"
#include "common/framework/IGridStage.h"
#include "common/framework/IObjectCollection.h"
#include "common/framework/IObjectList.h"
#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "physics/attributes/Collision3DAttribute.h"
#include "physics/attributes/RigidBody3DAttribute.h"
#include "physics/engine3d/BodyState.h"
#include "physics/engine3d/CollisionPrimitive.h"
#include "physics/engine3d/CollisionResponse.h"
#include "physics/engine3d/CollisionSettings.h"
#include "physics/engine3d/Vector3Math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace zor {
namespace {

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
IObject* listEntry(IObjectList* list, uint32 index) {
    if (index == kNoGridAttribute || list == nullptr || index >= list->getCount())
        return nullptr;
    return list->getData()[index];
}

/// The least T not below the index of the last of `count` cells: in float, beyond 2^24 cells
/// the index itself may round down, and a coordinate between would clamp to the last cell.
template <typename T>
T lastCellAt(uint32 count) {
    const T at = T(count - 1);
    return double(at) < double(count - 1) ? std::nextafter(at, std::numeric_limits<T>::infinity()) : at;
}

/// The number of cells along an axis, with the last cell's index in the coordinates' type.
template <typename T>
struct CellCount {
    uint32 last;
    T lastAt;
};

/// A coordinate in cells, floored and clamped to [0, count - 1]. Against a whole number the
/// floor compares as the coordinate does, and from 1 up the floor is the truncation.
template <typename T>
uint32 clampedCell(T cells, const CellCount<T>& count) {
    if (!(cells >= T(1)))
        return 0;
    if (cells >= count.lastAt)
        return count.last;
    return uint32(cells);
}

/// clampedCell for `count` cells.
template <typename T>
uint32 clampedCell(T cells, uint32 count) {
    return clampedCell(cells, CellCount<T>{count - 1, lastCellAt<T>(count)});
}

/// How far above or below a shape of `radius`, whose coordinates are at most `extent` in size,
/// a face lies out of its reach whatever its other gaps: beyond its reach a gap stays beyond it
/// however the other gaps add to the magnitude, and a margin keeps that true under rounding.
double verticalReach(double widened, double extent) {
    return (widened + extent * settings::kMagnitudeAllowance) * (1 + settings::kVerticalAllowance) +
           settings::kVerticalFloor;
}

/// A radius with the margin every reach adds to it.
double widenedRadius(double radius) {
    return radius * (1 + settings::kRadiusAllowance) + settings::kRadiusFloor;
}

using v3::larger;

/// A sphere or capsule's reach: no detector finds a contact with a face whose box lies farther
/// than its radius from the shape (with a margin for rounding). Kept while the shape stays put.
template <typename T>
struct ShapeReach {
    Vector3<T> least;
    Vector3<T> most;
    /// The largest coordinate of the shape's ends, in size.
    double extent;
    /// The radius with its margins, before the detector's rounding is added.
    double base;
    double vertical;
    /// Bounds of the reach a box is measured by, and their squares (see bound()).
    double leastReach, mostReach;
    double leastSquared, mostSquared;
    bool sphere;

    /// The reach of `shape` for a detector that reports contacts up to `beyond` past touching.
    [[gnu::always_inline]] ShapeReach(const CapsuleShape<T>& shape, double beyond, bool knownSphere = false)
        : base(widenedRadius(double(shape.radius)) + beyond) {
        moveTo(shape, knownSphere);
    }

    /// Follows the shape where a response moved it; its radius stays, and with it `base`.
    /// `knownSphere` where the caller knows the ends equal.
    [[gnu::always_inline]] void moveTo(const CapsuleShape<T>& shape, bool knownSphere = false) {
        const Vector3<T>& a = shape.pointA;
        const Vector3<T>& b = shape.pointB;
        sphere = knownSphere || a == b;
        extent = larger(larger(std::fabs(double(a.x)), std::fabs(double(a.y))), std::fabs(double(a.z)));
        if (sphere) {
            // Ends of equal values (zeros of either sign): the minimum and maximum are the first,
            // and the second end's sizes add nothing to the largest.
            least = most = a;
        } else {
            least = {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
            most = {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
            extent = larger(larger(larger(extent, std::fabs(double(b.x))), std::fabs(double(b.y))),
                            std::fabs(double(b.z)));
        }
        vertical = verticalReach(base, extent);
        bound();
    }

    /// True when the heights from `low` to `high` lie so far above or below the shape that no
    /// box spanning them is within reach.
    bool apartVertically(T low, T high) const {
        return double(low) - double(most.y) > vertical || double(least.y) - double(high) > vertical;
    }

    /// The gap between the box's span from `low` to `high` and the shape's from `least` to
    /// `most`, 0 where they overlap; each difference is rounded only relative to itself.
    static double gap(double low, double high, double least, double most) {
        return low > most ? low - most : least > high ? least - high : 0.0;
    }
    double gapX(T low, T high) const { return gap(low, high, least.x, most.x); }
    double gapY(T low, T high) const { return gap(low, high, least.y, most.y); }
    double gapZ(T low, T high) const { return gap(low, high, least.z, most.z); }

    /// False when a box lies beyond reach, given its gaps to the shape along each axis: a sphere
    /// is measured from its centre, a capsule by its box. Most boxes are told by the bounds of
    /// the reach alone, which decide as the reach itself would.
    bool within(double x, double y, double z) const {
        constexpr double infinity = std::numeric_limits<double>::infinity();
        if (sphere) {
            const double squared = x * x + y * y + z * z;
            if (squared > mostSquared && squared < infinity)
                return false;
            if (squared <= leastSquared && larger(larger(x, y), z) <= leastReach)
                return true;
            return measured(x, y, z, squared);
        }
        const double largest = larger(larger(x, y), z);
        if (largest > mostReach && largest < infinity)
            return false;
        return largest <= leastReach || measured(x, y, z, 0.0);
    }

    /// `within` with the reach worked out for the box; `squared` is a sphere's squared distance.
    bool measured(double x, double y, double z, double squared) const {
        // The detector's own rounding grows with the coordinates near the shape.
        const double magnitude = extent + larger(larger(x, y), z);
        const double reach = base + magnitude * settings::kMagnitudeAllowance;
        if (x > reach || y > reach || z > reach)
            return false;
        return !(sphere && squared > reach * reach);
    }

    /// Sets the bounds of the reach `measured` works out for a box. As the largest gap grows
    /// from 0 the reach grows from `leastReach`; a box it lets through has no gap beyond the reach
    /// r, so r <= (base + extent * 1e-12) / (1 - 1e-12), and with the rounding of each step (a
    /// few parts in 1e16, relative while base is positive and the reach finite and not tiny) r
    /// stays below leastReach * (1 + 2e-12): `mostReach` leaves room for far more. Beyond it a
    /// box of finite gaps is beyond its own reach (an infinite gap makes the reach infinite).
    /// Without such bounds every box is measured.
    void bound() {
        const double least = base + extent * settings::kMagnitudeAllowance;
        if (base >= settings::kSmallestBoundedReach && least < std::numeric_limits<double>::infinity()) {
            leastReach = least;
            mostReach = least * (1 + settings::kReachBoundAllowance);
        } else {
            leastReach = -1;
            mostReach = std::numeric_limits<double>::infinity();
        }
        leastSquared = leastReach * leastReach;
        mostSquared = mostReach * mostReach;
    }

    /// False when the shape lies beyond reach of the box from `low` to `high`.
    bool reaches(const Vector3<T>& low, const Vector3<T>& high) const {
        return within(gapX(low.x, high.x), gapY(low.y, high.y), gapZ(low.z, high.z));
    }

    /// reaches, the reach always worked out for the box: the test of each tile as it comes takes
    /// it, and GridStageLeanTest holds the bounds of the lean test to it.
    bool reachesMeasured(const Vector3<T>& low, const Vector3<T>& high) const {
        const double x = gapX(low.x, high.x), y = gapY(low.y, high.y), z = gapZ(low.z, high.z);
        return measured(x, y, z, sphere ? x * x + y * y + z * z : 0.0);
    }
};

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
bool holdsOnly(IObjectList* list, const GUID_t& guid) {
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

/// The faces of a tile: the floor, the ceiling, then the walls of sides 0 to 3.
enum class FacePlace : uint32 { Floor, Ceiling, Side0, Side1, Side2, Side3 };

/// The edges of a cell, x0..x1 and z0 (near) to z1 (far), with the bounds its boxes take from
/// them: the faces' boxes take the lesser z of (z1, z0), the tile's of (z0, z1), which differ
/// where an edge is not a number (cells of infinite depth).
template <typename T>
struct CellEdges {
    T x0, x1, z0, z1;
    T xLeast, xMost;
    T zLeast, zMost;
    T tileZLeast, tileZMost;

    /// Rows from `row` on, set one after another: each row's near edge is the far edge of the
    /// one before.
    void startRows(uint32 row, T depth) { z1 = -(T(row) * depth); }
    void setRow(uint32 row, T depth) {
        z0 = z1;
        z1 = -(T(row + 1) * depth);
        zLeast = std::min(z1, z0), zMost = std::max(z1, z0);
        tileZLeast = std::min(z0, z1), tileZMost = std::max(z0, z1);
    }
    void setColumn(uint32 column, T width) {
        x0 = T(column) * width, x1 = x0 + width;
        xLeast = std::min(x0, x1), xMost = std::max(x0, x1);
    }

    /// The box around the corners of the face at `place` from height `low` to `high` (the same
    /// for a floor or ceiling): per axis the corners take at most two values, the first corner's
    /// taken first.
    void faceBox(FacePlace place, T low, T high, Vector3<T>& least, Vector3<T>& most) const {
        switch (place) {
        case FacePlace::Floor:
        case FacePlace::Ceiling:
            least = {xLeast, low, zLeast};
            most = {xMost, low, zMost};
            break;
        case FacePlace::Side0:
            least = {x1, std::min(low, high), zLeast};
            most = {x1, std::max(low, high), zMost};
            break;
        case FacePlace::Side1:
            least = {xLeast, std::min(low, high), z1};
            most = {xMost, std::max(low, high), z1};
            break;
        case FacePlace::Side2:
            least = {x0, std::min(low, high), zLeast};
            most = {x0, std::max(low, high), zMost};
            break;
        default:
            least = {xLeast, std::min(low, high), z0};
            most = {xMost, std::max(low, high), z0};
            break;
        }
    }

    /// The corners of the face at `place`, counter-clockwise seen from the side it faces.
    [[gnu::always_inline]] std::array<Vector3<T>, 4> faceCorners(FacePlace place, T low, T high) const {
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
};

/// The cells of a grid stage from a first to a last column and row.
struct CellRange {
    uint32 firstColumn, lastColumn, firstRow, lastRow;
};

/// The cells whose tiles a shape's bounds, widened by its radius, overlap.
template <bool sphere = false, typename T>
[[gnu::always_inline]] inline CellRange cellsAround(const CapsuleShape<T>& shape, const CellCount<T>& columns,
                                                    const CellCount<T>& rows, T width, T depth) {
    const T radius = shape.radius;
    const Vector3<T>& a = shape.pointA;
    const Vector3<T>& b = sphere ? shape.pointA : shape.pointB;
    const T xMin = std::min(a.x, b.x), xMax = std::max(a.x, b.x);
    const T zMin = std::min(a.z, b.z), zMax = std::max(a.z, b.z);
    // Rows run along -z.
    return {clampedCell((xMin - radius) / width, columns), clampedCell((xMax + radius) / width, columns),
            clampedCell(-(zMax + radius) / depth, rows), clampedCell(-(zMin - radius) / depth, rows)};
}

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
                  FoundAttribute<RigidBody3DAttribute<T>>& lastRigidBody, double beyond)
        : stage(stage), detector(detector), callback(callback), primitive(primitive), state(state),
          shape(shape), passOverApart(passOverApart), passOverTiles(passOverTiles),
          floorsAsTiles(floorsAsTiles), heights(heights), lastCollision(lastCollision),
          lastRigidBody(lastRigidBody), beyond(beyond), reach(shape, beyond) {}

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
        reach = ShapeReach<T>(shape, beyond);
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

} // namespace

template <typename T>
Collision3DAttribute<T>* getGridStageCollision3D(IGridStage<T>& stage, uint32 index) {
    if (index == kNoGridAttribute)
        return nullptr;
    IObject* entry = listEntry(stage.getCollisionAttributes(), index);
    if (entry == nullptr)
        return nullptr;
    if (!entry->isTypeOf(guids::kCollision3DAttribute)) {
        zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, "zor::PhysicsEngine3D::getGridStageCollision3D",
                "Physics attribute for collisions is not Collision3DAttribute");
        return nullptr;
    }
    return static_cast<Collision3DAttribute<T>*>(entry);
}

template <typename T>
RigidBody3DAttribute<T>* getGridStageRigidBody3D(IGridStage<T>& stage, uint32 index) {
    if (index == kNoGridAttribute)
        return nullptr;
    IObject* entry = listEntry(stage.getRigidBodyAttributes(), index);
    if (entry == nullptr)
        return nullptr;
    if (!entry->isTypeOf(guids::kRigidBody3DAttribute)) {
        zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, "zor::PhysicsEngine3D::getGridStageRigidBody3D",
                "Physics attribute for rigid bodies is not RigidBody3DAttribute");
        return nullptr;
    }
    return static_cast<RigidBody3DAttribute<T>*>(entry);
}

template <typename T>
GridStageSet<T>::GridStageSet(IObjectCollection* stages, ICollisionDetector<T>& detector,
                              GridStageCollisionCallback<T> callback, bool passOverApart, double reach)
    : m_stages(stages), m_detector(detector), m_callback(callback), m_passOverApart(passOverApart),
      m_reach(reach) {
    m_layouts.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_heights.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    m_faces.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
}

template <typename T>
uint64 GridStageSet<T>::list() {
    m_listed = m_generation;
    m_layouts.resize(0);
    m_heights.resize(0);
    m_faces.resize(0);
    CollectionIterator it;
    CollectionIterator end;
    m_stages->beginConst(&it);
    m_stages->endConst(&end);
    m_endsInNull = false;
    for (; !(it == end); ++it) {
        // The stages in front of a null entry are still tested; assertListed then ends the process.
        if (*it == nullptr) {
            m_endsInNull = true;
            break;
        }
        if (!(*it)->isTypeOf(guids::kGridStage))
            continue;
        Layout layout{};
        layout.stage = static_cast<IGridStage<T>*>(*it);
        layout.read = m_generation - 1;
        m_layouts.pushBack(layout);
    }
    return m_layouts.size();
}

template <typename T>
void GridStageSet<T>::read(Layout& layout) {
    IGridStage<T>& stage = *layout.stage;
    layout.read = m_generation;
    layout.columns = stage.getColumns();
    layout.rows = stage.getRows();
    layout.lastColumnAt = lastCellAt<T>(layout.columns);
    layout.lastRowAt = lastCellAt<T>(layout.rows);
    layout.width = stage.getCellWidth();
    layout.depth = stage.getCellDepth();
    layout.cells = stage.getCells();
    layout.cellValues = layout.cells != nullptr ? layout.cells->data() : nullptr;
    layout.tiles = stage.getTiles();
    layout.tileCount = layout.tiles != nullptr ? layout.tiles->size() : 0;
    layout.lastCollision = {};
    layout.lastRigidBody = {};
    layout.usable = layout.columns != 0 && layout.rows != 0 && layout.width != T(0) && layout.depth != T(0) &&
                    layout.cells != nullptr && layout.cells->size() >= uint64(layout.columns) * layout.rows &&
                    layout.tileCount != 0;
    layout.passOverTiles = layout.usable && m_passOverApart &&
                           holdsOnly(stage.getCollisionAttributes(), guids::kCollision3DAttribute) &&
                           holdsOnly(stage.getRigidBodyAttributes(), guids::kRigidBody3DAttribute);
    layout.floorsAsTiles = layout.passOverTiles && std::isfinite(layout.depth);
    layout.lean = layout.passOverTiles && m_callback == nullptr;
    if (!layout.usable || !layout.passOverTiles)
        return;
    const uint64 tileCount = layout.tileCount;
    if (tileCount > layout.heightCount) {
        // Read again after a callback grew the tiles: a new run of heights.
        layout.firstHeight = m_heights.size();
        m_heights.resize(m_heights.size() + tileCount);
    }
    layout.heightCount = tileCount;
    for (uint64 t = 0; t < tileCount; ++t) {
        TileHeights<T>& span = m_heights[layout.firstHeight + t];
        span.any = heightsOf((*layout.tiles)[t], span.low, span.high);
    }
    if (m_callback == nullptr)
        readFaces(layout);
}

template <typename T>
void GridStageSet<T>::readFaces(Layout& layout) {
    const Array<GridTile<T>>& tiles = *layout.tiles;
    uint64 count = 0;
    for (uint64 t = 0; t < layout.tileCount; ++t)
        forEachFace(tiles[t], layout.floorsAsTiles, [&count](auto...) { ++count; });
    if (count > layout.faceRoom) {
        // More faces than when last read (host code changed the tiles): a new run of them.
        layout.firstFace = m_faces.size();
        layout.faceRoom = count;
        m_faces.resize(m_faces.size() + count);
    }
    // Their look-ups write nothing to the log: the stage holds only attributes of their class.
    FoundAttribute<RigidBody3DAttribute<T>> found;
    TileFace<T>* next = m_faces.data() + layout.firstFace;
    for (uint64 t = 0; t < layout.tileCount; ++t) {
        TileHeights<T>& span = m_heights[layout.firstHeight + t];
        span.firstFace = uint64(next - m_faces.data());
        span.faceCount = 0;
        forEachFace(tiles[t], layout.floorsAsTiles,
                    [&](FacePlace place, T low, T high, uint32 rigidBodyIndex, T speed, bool within) {
                        RigidBody3DAttribute<T>* body = lookUpAgain(found, rigidBodyIndex, [&](uint32 index) {
                            return getGridStageRigidBody3D(*layout.stage, index);
                        });
                        *next++ = {body, low, high, speed, uint8(place), within};
                        ++span.faceCount;
                    });
    }
}

template <typename T>
bool GridStageSet<T>::collide(uint64 index, PhysicsCollisionPrimitive3D<T>& primitive, BodyState<T>* state,
                              CapsuleShape<T>& shape) {
    Layout& layout = m_layouts[index];
    if (layout.read != m_generation)
        read(layout);
    if (layout.lean)
        return shape.pointA == shape.pointB ? collideRead<true>(layout, primitive, state, shape)
                                            : collideRead<false>(layout, primitive, state, shape);
    return layout.usable && collideEach(layout, primitive, state, shape);
}

template <typename T>
bool GridStageSet<T>::collideEach(Layout& layout, PhysicsCollisionPrimitive3D<T>& primitive,
                                  BodyState<T>* state, CapsuleShape<T>& shape) {
    const uint32 columns = layout.columns;
    const Array<uint32>& cells = *layout.cells;
    const Array<GridTile<T>>& tiles = *layout.tiles;
    const CellRange range = cellsAround(shape, {columns - 1, layout.lastColumnAt},
                                        {layout.rows - 1, layout.lastRowAt}, layout.width, layout.depth);
    const TileHeights<T>* heights = layout.passOverTiles ? m_heights.data() + layout.firstHeight : nullptr;
    GridStageTest<T> test(*layout.stage, m_detector, m_callback, primitive, state, shape, m_passOverApart,
                          layout.passOverTiles, layout.floorsAsTiles, heights, layout.lastCollision,
                          layout.lastRigidBody, m_reach);
    CellEdges<T> cell;
    cell.startRows(range.firstRow, layout.depth);
    for (uint32 row = range.firstRow; row <= range.lastRow; ++row) {
        cell.setRow(row, layout.depth);
        for (uint32 column = range.firstColumn; column <= range.lastColumn; ++column) {
            const uint32 cellIndex = row * columns + column;
            // A callback may have changed the cells and the tiles.
            if (test.calledBack && cellIndex >= cells.size())
                continue;
            const uint32 value = cells[cellIndex];
            if (value == 0 || value > (test.calledBack ? tiles.size() : layout.tileCount))
                continue;
            if (test.heights != nullptr) {
                const TileHeights<T>& span = test.heights[value - 1];
                if (!span.any || test.reach.apartVertically(span.low, span.high))
                    continue;
            }
            cell.setColumn(column, layout.width);
            test.cellIndex = cellIndex;
            test.tile(tiles, value - 1, cell);
        }
    }
    if (test.calledBack)
        hostRan();
    return test.responded;
}

template <typename T>
template <bool sphere>
bool GridStageSet<T>::collideRead(const Layout& layout, PhysicsCollisionPrimitive3D<T>& primitive,
                                  BodyState<T>* state, CapsuleShape<T>& shape) {
    const uint32 columns = layout.columns;
    const T width = layout.width, depth = layout.depth;
    const uint32* cells = layout.cellValues;
    const uint64 tileCount = layout.tileCount;
    const CellRange range = cellsAround<sphere>(shape, {columns - 1, layout.lastColumnAt},
                                                {layout.rows - 1, layout.lastRowAt}, width, depth);
    const TileHeights<T>* heights = m_heights.data() + layout.firstHeight;
    const TileFace<T>* faces = m_faces.data();
    RigidBody3DAttribute<T>* body = primitive.rigidBodyAttribute;
    // Responses move the body; its group stays.
    const uint32 group = groupOf(body, state);
    ShapeReach<T> reach(shape, m_reach, sphere);
    bool responded = false;
    // The tile of the cell last met and what was found of it (neighbouring cells mostly share
    // their tile), until a response moves the shape: 0 is no tile, which is passed over.
    uint32 lastValue = 0;
    const TileHeights<T>* span = nullptr;
    bool apart = true;
    double yGap = 0;
    CellEdges<T> cell;
    cell.startRows(range.firstRow, depth);
    for (uint32 row = range.firstRow; row <= range.lastRow; ++row) {
        cell.setRow(row, depth);
        // The row's gap along z to every tile of it, until a response moves the shape.
        double zGap = reach.gapZ(cell.tileZLeast, cell.tileZMost);
        for (uint32 column = range.firstColumn; column <= range.lastColumn; ++column) {
            const uint32 value = cells[row * columns + column];
            if (value != lastValue) {
                if (value == 0 || value > tileCount)
                    continue;
                lastValue = value;
                span = heights + (value - 1);
                apart = !span->any || reach.apartVertically(span->low, span->high);
                if (!apart)
                    yGap = reach.gapY(span->low, span->high);
            }
            if (apart)
                continue;
            cell.setColumn(column, width);
            if (!reach.within(reach.gapX(cell.xLeast, cell.xMost), yGap, zGap))
                continue;
            const TileFace<T>* const end = faces + span->firstFace + span->faceCount;
            for (const TileFace<T>* face = faces + span->firstFace; face != end; ++face) {
                const FacePlace place = FacePlace(face->place);
                if (!face->within) {
                    Vector3<T> least, most;
                    cell.faceBox(place, face->low, face->high, least, most);
                    if (!reach.reaches(least, most))
                        continue;
                }
                RigidBody3DAttribute<T>* faceBody = face->body;
                if (excluded(group, faceBody))
                    continue;
                const std::array<Vector3<T>, 4> corners = cell.faceCorners(place, face->low, face->high);
                Vector3<T> normal{};
                T faceDepth = 0;
                if (!m_detector.testCapsuleQuadrilateral(&shape.pointA, &shape.pointB, &shape.radius,
                                                         &corners[0], &corners[1], &corners[2], &corners[3],
                                                         &normal, &faceDepth) ||
                    body == nullptr || faceBody == nullptr ||
                    !respondToFace(primitive, state, *body, *faceBody, normal, faceDepth, face->speed, shape))
                    continue;
                reach.moveTo(shape, sphere);
                zGap = reach.gapZ(cell.tileZLeast, cell.tileZMost);
                lastValue = 0;
                apart = true;
                responded = true;
            }
        }
    }
    return responded;
}

template <typename T>
void GridStageSet<T>::assertListed(const char* functionName) const {
    if (m_endsInNull)
        failAssertion(ZOR_LOG_MODULE, functionName, "*it != NULL");
}

template <typename T>
void GridStageSet<T>::begin(GridStagesSeen& seen) {
    m_seen = &seen;
    const uint64 stages = count();
    uint64 cellCount = 0;
    for (uint64 index = 0; index < stages; ++index) {
        Layout& layout = m_layouts[index];
        if (layout.read != m_generation)
            read(layout);
        if (layout.usable)
            cellCount += uint64(layout.columns) * layout.rows;
    }
    Array<uint8>& bytes = seen.found;
    bytes.resize(0);
    const auto add = [&bytes](const auto& value) {
        bytes.append(reinterpret_cast<const uint8*>(&value), sizeof value);
    };
    bool same = false;
    if (cellCount <= settings::kComparedCells) {
        // Everything outOfReach reads of the stages.
        add(sizeof(T));
        add(stages);
        for (uint64 index = 0; index < stages; ++index) {
            const Layout& layout = m_layouts[index];
            add(layout.stage);
            add(layout.usable);
            add(layout.passOverTiles);
            if (!layout.usable || !layout.passOverTiles)
                continue;
            add(layout.columns);
            add(layout.rows);
            add(layout.width);
            add(layout.depth);
            add(layout.tileCount);
            bytes.append(reinterpret_cast<const uint8*>(layout.cells->data()),
                         uint64(layout.columns) * layout.rows * sizeof(uint32));
            for (uint64 tile = 0; tile < layout.tileCount; ++tile) {
                const TileHeights<T>& span = m_heights[layout.firstHeight + tile];
                add(span.any);
                add(span.any ? span.low : T(0));
                add(span.any ? span.high : T(0));
            }
        }
        same = seen.generation != 0 && bytes.size() == seen.bytes.size() &&
               std::memcmp(bytes.data(), seen.bytes.data(), bytes.size()) == 0;
    }
    if (!same) {
        seen.bytes.swap(seen.found);
        if (cellCount > settings::kComparedCells)
            seen.bytes.resize(0);
        seen.generation = ++seen.generations;
    }
    // What was just read holds at the generation begun.
    m_generation = seen.generation;
    m_listed = m_generation;
    for (uint64 index = 0; index < stages; ++index)
        m_layouts[index].read = m_generation;
}

template <typename T>
bool GridStageSet<T>::holdsCopiedBody(const CollisionPrimitives<T>& primitives) {
    // Looked through without listing the stages: a null entry ends the process only where the
    // stages are first used, as it always has.
    CollectionIterator it;
    CollectionIterator end;
    m_stages->beginConst(&it);
    m_stages->endConst(&end);
    for (; !(it == end); ++it) {
        if (*it == nullptr || !(*it)->isTypeOf(guids::kGridStage))
            continue;
        IObjectList* list = static_cast<IGridStage<T>*>(*it)->getRigidBodyAttributes();
        const uint32 entries = list != nullptr ? list->getCount() : 0;
        for (uint32 entry = 0; entry < entries; ++entry) {
            IObject* attribute = list->getData()[entry];
            if (attribute != nullptr && attribute->isTypeOf(guids::kRigidBody3DAttribute) &&
                primitives.isCopied(static_cast<const RigidBody3DAttribute<T>*>(attribute)))
                return true;
        }
    }
    return false;
}

template <typename T>
bool GridStageSet<T>::outOfReach(const WidenedBox& box, T radius) {
    // The reach of any shape inside the box, as the test of a tile's heights takes it.
    const double extent = larger(
        larger(larger(larger(larger(-box.low[0], -box.low[1]), -box.low[2]), box.high[0]), box.high[1]),
        box.high[2]);
    if (!std::isfinite(extent))
        return false;
    const double vertical = verticalReach(widenedRadius(double(radius)) + m_reach, extent);
    const uint64 stages = count();
    for (uint64 index = 0; index < stages; ++index) {
        Layout& layout = m_layouts[index];
        if (layout.read != m_generation)
            read(layout);
        if (!layout.usable)
            continue;
        // Only a stage whose tiles may be passed over whole (their look-ups report nothing),
        // with cells laid out the usual way.
        if (!layout.passOverTiles || !(layout.width > T(0)) || !(layout.depth > T(0)))
            return false;
        // The cells around the box, a little wider than the shape's own cells as the shape
        // works them out in its number type.
        const double slack = extent * settings::kCellAllowance + settings::kCellFloor;
        const double width = double(layout.width), depth = double(layout.depth);
        const uint32 firstColumn = clampedCell((box.low[0] - slack) / width, layout.columns);
        const uint32 lastColumn = clampedCell((box.high[0] + slack) / width, layout.columns);
        const uint32 firstRow = clampedCell(-(box.high[2] + slack) / depth, layout.rows);
        const uint32 lastRow = clampedCell(-(box.low[2] - slack) / depth, layout.rows);
        const TileHeights<T>* heights = m_heights.data() + layout.firstHeight;
        const Array<uint32>& cells = *layout.cells;
        for (uint32 row = firstRow; row <= lastRow; ++row)
            for (uint32 column = firstColumn; column <= lastColumn; ++column) {
                const uint32 value = cells[row * layout.columns + column];
                if (value == 0 || value > layout.tileCount || !heights[value - 1].any)
                    continue;
                const TileHeights<T>& span = heights[value - 1];
                if (!(double(span.low) - box.high[1] > vertical || box.low[1] - double(span.high) > vertical))
                    return false;
            }
    }
    return true;
}

#define ZOR_GRID_STAGE_COLLISIONS(T)                                                                         \
    template Collision3DAttribute<T>* getGridStageCollision3D<T>(IGridStage<T>&, uint32);                    \
    template RigidBody3DAttribute<T>* getGridStageRigidBody3D<T>(IGridStage<T>&, uint32);                    \
    template class GridStageSet<T>;
ZOR_GRID_STAGE_COLLISIONS(float)
ZOR_GRID_STAGE_COLLISIONS(double)
#undef ZOR_GRID_STAGE_COLLISIONS

} // namespace zor
