#pragma once

#include <cmath>
#include <cstdint>

namespace zor::host {

// The sphere piles that the benchmarks step and `zor_host generate` writes: spheres of radius
// 0.5 dropped into a walled box, restitution and friction 0.5 everywhere. They start on a
// lattice one unit apart, layer over layer, each a little off the lattice so that the pile
// tumbles instead of stacking. The box keeps 18 cells across, so the pile grows taller with N;
// the wide pile's box is as wide as three layers take, so the work per body stays the same at
// any N.

/// The spheres' radius, and the restitution and friction of spheres and walls.
inline constexpr double kPileRadius = 0.5;
inline constexpr double kPileRestitution = 0.5;
inline constexpr double kPileFriction = 0.5;
/// The cells across the inside of the narrow box: it holds x in [1, 19] and z in [-19, -1].
inline constexpr int kPileInside = 18;
/// The walls' height: no pile climbs over them.
inline constexpr double kPileWallHeight = 100;
/// The layers of the wide pile.
inline constexpr int kWidePileLayers = 3;

/// The cells across the inside of the box of the pile of `count`: 18, or for the wide pile as
/// many as hold the pile in three layers.
inline int pileInside(std::int64_t count, bool wide) {
    return wide ? int(std::ceil(std::sqrt(double(count) / kWidePileLayers))) : kPileInside;
}

/// Where sphere `i` starts in a box `inside` cells across: the lattice point of its layer,
/// nudged by its index, `layerHeight` above the layer below. The box holds x in
/// [1, inside + 1] and z in [-(inside + 1), -1]; the grid stage is inside + 2 cells across.
inline void pileStart(std::int64_t i, int inside, double& x, double& y, double& z, double layerHeight = 1.1) {
    const std::int64_t perLayer = std::int64_t(inside) * inside;
    const std::int64_t layer = i / perLayer, cell = i % perLayer;
    const double nudge = 0.05 * double((i * 7919) % 11 - 5) / 5.0;
    x = 1.5 + double(cell % inside) + nudge;
    z = -(1.5 + double(cell / inside)) - nudge;
    y = kPileRadius + 0.1 + layerHeight * double(layer);
}

/// The cell value of the pile's grid stage at `column`, `row`: 1 + the walls it has, bit s for a
/// wall on side s (0 faces +x on the left border, 1 faces -z on the near border, 2 faces -x on
/// the right one, 3 faces +z on the far one). Tile v (1 to 16) has a floor and the walls of v - 1.
inline std::uint32_t pileCell(int column, int row, int inside) {
    const int last = inside + 1;
    return 1u + (column == 0 ? 1u : 0u) + (row == 0 ? 2u : 0u) + (column == last ? 4u : 0u) +
           (row == last ? 8u : 0u);
}

} // namespace zor::host
