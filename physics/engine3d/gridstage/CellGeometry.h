#pragma once

#include "common/Types.h"
#include "common/variables/Vector.h"
#include "physics/engine3d/collision/CollisionSettings.h"
#include "physics/engine3d/gridstage/GridStageCollisions.h"
#include "physics/engine3d/gridstage/TileFaces.h"
#include "physics/math/Vector3Math.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

// The geometry of a grid stage's cells as the grid-stage test sees it: which cells a shape's
// bounds overlap, the boxes and corners of a cell's faces, and how far a shape reaches.
namespace zor::gridstage {

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
inline double verticalReach(double widened, double extent) {
    return (widened + extent * settings::kMagnitudeAllowance) * (1 + settings::kVerticalAllowance) +
           settings::kVerticalFloor;
}

/// A radius with the margin every reach adds to it.
inline double widenedRadius(double radius) {
    return radius * (1 + settings::kRadiusAllowance) + settings::kRadiusFloor;
}

using v3::larger;

/// A sphere or capsule's reach: no detector finds a contact with a face whose box lies farther
/// than its radius from the shape (with a margin for rounding). Kept while the shape stays put.
template <typename T>
struct ShapeReach {
    Vector3<T> least;
    Vector3<T> most;
    /// The largest coordinate of the shape's ends and of the faces it is tested against, in size:
    /// the detector's rounding grows with any of them.
    double extent;
    /// The largest coordinate of those faces, in size, as the stage was read.
    double facesExtent;
    /// The radius with its margins, before the detector's rounding is added.
    double base;
    double vertical;
    /// Bounds of the reach a box is measured by, and their squares (see bound()).
    double leastReach, mostReach;
    double leastSquared, mostSquared;
    bool sphere;

    /// The reach of `shape` for a detector that reports contacts up to `beyond` past touching, on
    /// faces whose coordinates are at most `facesExtent` in size.
    [[gnu::always_inline]] ShapeReach(const CapsuleShape<T>& shape, double beyond, double facesExtent,
                                      bool knownSphere = false)
        : facesExtent(facesExtent), base(widenedRadius(double(shape.radius)) + beyond) {
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
        extent = larger(extent, facesExtent);
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

    /// `within` with the reach worked out for the box; `squared` is a sphere's squared distance,
    /// `boxExtent` the box's largest coordinate in size when it may exceed `extent`.
    bool measured(double x, double y, double z, double squared, double boxExtent = 0) const {
        // The detector's own rounding grows with the coordinates near the shape, and with the
        // face's own.
        const double magnitude = larger(extent, boxExtent) + larger(larger(x, y), z);
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
    /// it, and GridStageLeanTest holds the bounds of the lean test to it. The box's own coordinates
    /// count too: after a callback a tile may reach beyond the faces the reach was made for.
    bool reachesMeasured(const Vector3<T>& low, const Vector3<T>& high) const {
        const double x = gapX(low.x, high.x), y = gapY(low.y, high.y), z = gapZ(low.z, high.z);
        const double boxExtent = larger(larger(larger(std::fabs(double(low.x)), std::fabs(double(low.y))),
                                               larger(std::fabs(double(low.z)), std::fabs(double(high.x)))),
                                        larger(std::fabs(double(high.y)), std::fabs(double(high.z))));
        return measured(x, y, z, sphere ? x * x + y * y + z * z : 0.0, boxExtent);
    }
};

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
        return gridstage::faceCorners(place, x0, x1, z0, z1, low, high);
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

} // namespace zor::gridstage
