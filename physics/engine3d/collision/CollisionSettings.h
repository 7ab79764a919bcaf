#pragma once

#include "common/Types.h"

// The tuning constants of the collision stage's speed-ups, in one place. None of them changes a
// result: the allowances only ever widen what may touch, and the margins and budgets decide how
// much work is kept from one stage to the next. docs/engine3d.md gives the invariants they serve
// and the tests that hold each one. Lengths are in the scene's length unit; "relative" values
// are parts of the quantity named.
namespace zor::settings {

// Rounding allowances: how much wider than its radius (and the detector's declared reach) a shape
// is taken to reach, so that the detector's own rounding never finds a contact the bounds rule out.

/// Part of a radius added to it: the detector works in the scene's number type, float included,
/// whose rounding is a few parts in 1e7 of the radius.
inline constexpr double kRadiusAllowance = 1e-6;
/// Length added to every radius: covers radii of 0 and shapes far smaller than their coordinates.
inline constexpr double kRadiusFloor = 1e-6;
/// Part of the largest coordinate in size added as well: the rounding of differences of far-out
/// coordinates grows with them (a few parts in 1e16 in double; float shapes are compared in
/// double after they are converted, exactly).
inline constexpr double kMagnitudeAllowance = 1e-12;
/// Beyond this coordinate in size the detector's squares and products of coordinates overflow
/// (in double, near 1e308) and its answers no longer follow the shapes' distances: a shape that far
/// out reaches every other.
inline constexpr double kLargestBoundedMagnitude = 1e150;
/// Part of the largest coordinate of a grid stage's faces added to it: the cells' edges are worked
/// out in the scene's number type, float included, and no face may lie beyond the size taken for
/// them, or the two grid-stage tests would reach differently.
inline constexpr double kFaceExtentAllowance = 1e-6;
/// Part of a vertical reach added to it, and the length added after: the vertical test of a
/// tile's heights runs before the exact test and must never be the stricter.
inline constexpr double kVerticalAllowance = 1e-6;
inline constexpr double kVerticalFloor = 1e-9;
/// Part of the smallest reach that bounds the reach of any box (see ShapeReach::bound): the
/// rounding of the few steps between them stays below 2e-12.
inline constexpr double kReachBoundAllowance = 1e-9;
/// Below this radius (with its allowances) every box is measured: the bounds assume the rounding
/// stays relative, which it does not among subnormal numbers.
inline constexpr double kSmallestBoundedReach = 1e-300;
/// The cells around a fat box tested for "far from every tile" are this part of the box's largest
/// coordinate, and this length, wider than the shape's own: the shape works its cells out in its
/// number type.
inline constexpr double kCellAllowance = 1e-6;
inline constexpr double kCellFloor = 1e-6;

// Fat boxes and balls: how far a primitive may move before its pairs are found again.

/// Part of a box's largest width added on each side: piled bodies are pushed by a small part of
/// their size in a pass, and a quarter keeps most bodies that land on a pile at speed inside.
inline constexpr double kFatMargin = 0.25;
/// The same for a sphere's fat ball, as a part of its diameter: a ball has no corners, and a
/// smaller margin keeps a pile's diagonal neighbours apart.
inline constexpr double kFatBallMargin = 0.15;
/// A sphere that left its fat ball in the last kRestlessStages stages (falling, thrown) gets this
/// wider margin, and leaves it less often.
inline constexpr double kRestlessBallMargin = 0.4;
inline constexpr uint64 kRestlessStages = 30;
/// How much larger than the sphere it was made for a ball a fat ball holds without reckoning
/// anew: a float sphere's radius, worked out each stage from its world matrix, may come out a
/// few units in the last place larger.
inline constexpr double kBallRadiusAllowance = 1e-5;
/// Part of a fat ball's radius its sphere's margin for rounding may grow by as it moves inside
/// (twice kMagnitudeAllowance).
inline constexpr double kBallMoveAllowance = 2e-12;
/// Part of the room a ball may stray in held back for the rounding of the squared distance.
inline constexpr double kRoomAllowance = 1e-9;

// Budgets of the broad phase's caches.

/// Grid gathers kept for loose primitives, per primitive.
inline constexpr uint64 kGatherPoolPerPrimitive = 8;
/// Loose primitives allowed before the grid is built again: kLooseBase and a kLooseShare part
/// of all, enough that a hard impact builds it again only a few times.
inline constexpr uint64 kLooseBase = 64;
inline constexpr uint64 kLooseShare = 2;
/// Loose primitives a new stage may start with, at most kKeptLooseBase and a kKeptLooseShare
/// part of all; the balance of carrying them against building again (see keptLooseLimit) divides
/// the product of all and those leaving by kKeptLooseCost, the cost of a build in carried walks.
inline constexpr uint64 kKeptLooseBase = 16;
inline constexpr uint64 kKeptLooseShare = 16;
inline constexpr double kKeptLooseCost = 24;
/// Spheres with the wide margin that have come to rest a new stage may start with: kCalmedBase
/// and a kCalmedShare part of all.
inline constexpr uint64 kCalmedBase = 16;
inline constexpr uint64 kCalmedShare = 16;

// The pair grid.

/// Boxes wider than this many median widths are kept apart from the grid.
inline constexpr double kLargeFactor = 4;
/// Entries the pair lists may hold per box on average; piled bodies of one size need about ten.
inline constexpr uint64 kListBudgetPerBox = 32;
/// Cells a gathering box may span, per cell of the reach, before the grid is passed over for a
/// walk of every box.
inline constexpr int64 kMaxGatheredCells = 64;
/// Cells per reach when the block gets a bucket per cell: in a pile, half-width cells look at two
/// fifths fewer boxes per gather than cells as wide as the reach; thinner ones cost more in rows
/// to walk than they save in boxes.
inline constexpr int64 kFineCellsBelow = 2;
/// Part of the widest box added to the grid's reach and to its cells, so that the low corners of
/// overlapping boxes stay within reach whatever the rounding.
inline constexpr double kGridReachAllowance = 1e-6;
/// Part of two balls' radii added to their reach, so that rounding never parts balls that touch.
inline constexpr double kBallPairAllowance = 1e-9;

// Grid stages.

/// Beyond this many cells in all the stages, and kComparedCellsPerShape for each shape tested
/// against them, they are not compared from one stage to the next to keep the "far from every
/// tile" verdicts: the comparison (a few bytes a cell) would cost more than it saves (a verdict
/// worked out again for every shape, which reads the cells around it).
inline constexpr uint64 kComparedCells = uint64(1) << 16;
inline constexpr uint64 kComparedCellsPerShape = 16;

} // namespace zor::settings
