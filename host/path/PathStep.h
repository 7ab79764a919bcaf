#pragma once

#include "common/variables/ExtendedTypes.h"
#include "common/variables/Vector.h"

#include <vector>

namespace zor::host {

/// One command of a 2D path as the host converts it, in absolute coordinates and double
/// precision. The kinds and their points are those of the module's path command classes.
struct PathStep {
    enum class Kind : uint8 {
        MoveTo = 1,
        LineTo = 2,
        CurveTo = 3,
        Smooth = 4,
        QuadCurveTo = 5,
        QuadSmooth = 6,
        Arc = 7,
        Close = 255,
    };

    Kind kind = Kind::MoveTo;
    /// The command's points in member order: "position"; "p1", "p2", "p3"; "p2", "p3" of a
    /// smooth curve; "p1", "p2" of a quadratic one; "p2" of a smooth quadratic; "endArc".
    ExtVector2<double> points[3] = {};
    /// The arc's radii, rotation in degrees and flags.
    Vector2<double> radius;
    double rotation = 0;
    uint8 largeArc = 0;
    uint8 clockwise = 0;

    bool operator==(const PathStep&) const = default;
};

/// The number of points a command of `kind` has (0 to 3).
int pointCount(PathStep::Kind kind);

/// A path: its commands in order.
using PathSteps = std::vector<PathStep>;

} // namespace zor::host
