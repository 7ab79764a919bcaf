#pragma once

#include "host/path/PathStep.h"

#include <cmath>

namespace zor::host {

/// The smallest rectangle that holds a path as SVG draws it: curves and arcs by their true
/// extent, not by their control points. Empty (left > right) for a path that draws no point.
struct PathBounds {
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;

    /// Widens the bounds to hold (x, y); points that are not finite are passed over.
    void add(double x, double y);
    bool isEmpty() const { return !(left <= right && top <= bottom); }
};

/// The bounds of `steps`, with smooth curves' control points reflected and arcs placed as SVG
/// places them (radii grown until the arc spans its ends).
PathBounds pathBounds(const PathSteps& steps);

} // namespace zor::host
