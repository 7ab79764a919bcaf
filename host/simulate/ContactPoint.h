#pragma once

#include <array>

namespace zor::host {

using Point3 = std::array<double, 3>;

/// A sphere or a capsule in world coordinates: the two ends of its axis (the same point for a
/// sphere) and its radius.
struct RoundShape {
    Point3 a;
    Point3 b;
    double radius;
};

/// Where the host places a contact that the engine reported for `round` against another shape,
/// with `normal` the unit normal from `round` towards the other shape and `depth` the overlap:
/// midway through the overlap, at the point of the round shape's axis nearest the other shape.
/// That point is the axis point closest to `other`'s axis when the other shape is round too;
/// otherwise the end that reaches farthest along the normal, or, for an axis that lies across
/// the normal, the axis point nearest `otherCentre` (a face's or a mesh's centre).
Point3 contactPoint(const RoundShape& round, const Point3& normal, double depth, const RoundShape* other,
                    const Point3& otherCentre);

} // namespace zor::host
