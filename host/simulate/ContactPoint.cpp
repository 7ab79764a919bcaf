#include "host/simulate/ContactPoint.h"

#include <algorithm>
#include <cmath>

namespace zor::host {

namespace {

Point3 minus(const Point3& p, const Point3& q) {
    return {p[0] - q[0], p[1] - q[1], p[2] - q[2]};
}
Point3 along(const Point3& p, const Point3& d, double t) {
    return {p[0] + d[0] * t, p[1] + d[1] * t, p[2] + d[2] * t};
}
double dot(const Point3& p, const Point3& q) {
    return p[0] * q[0] + p[1] * q[1] + p[2] * q[2];
}

// The parameter (0 to 1) of the point of segment a + t·d nearest `point`.
double nearestOnSegment(const Point3& a, const Point3& d, const Point3& point) {
    const double length2 = dot(d, d);
    return length2 > 0 ? std::clamp(dot(minus(point, a), d) / length2, 0.0, 1.0) : 0.0;
}

// The parameter on the first segment of the closest points of two segments.
double nearestToSegment(const Point3& a, const Point3& d, const Point3& c, const Point3& e) {
    const double dd = dot(d, d), ee = dot(e, e), de = dot(d, e);
    const Point3 r = minus(a, c);
    if (ee <= 0)
        return nearestOnSegment(a, d, c);
    if (dd <= 0)
        return 0;
    const double denominator = dd * ee - de * de;
    // Parallel axes: any pair is as near; the middle of the first stands for them.
    double s = denominator > 1e-12 * dd * ee
                   ? std::clamp((de * dot(r, e) - ee * dot(r, d)) / denominator, 0.0, 1.0)
                   : 0.5;
    const double t = std::clamp((dot(r, e) + s * de) / ee, 0.0, 1.0);
    s = nearestOnSegment(a, d, along(c, e, t));
    return s;
}

} // namespace

Point3 contactPoint(const RoundShape& round, const Point3& normal, double depth, const RoundShape* other,
                    const Point3& otherCentre) {
    const Point3 axis = minus(round.b, round.a);
    double t = 0;
    if (other != nullptr)
        t = nearestToSegment(round.a, axis, other->a, minus(other->b, other->a));
    else if (const double reach = dot(axis, normal); std::abs(reach) > 1e-9 * std::sqrt(dot(axis, axis)))
        t = reach > 0 ? 1 : 0;
    else
        t = nearestOnSegment(round.a, axis, otherCentre);
    return along(along(round.a, axis, t), normal, round.radius - depth / 2);
}

} // namespace zor::host
