#include "host/path/PathBounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zor::host {

namespace {

struct Point {
    double x = 0, y = 0;
};

constexpr double kTurn = 2 * std::numbers::pi;

// The parameters in (0, 1) where a + b t + c t² is zero.
int roots(double a, double b, double c, double (&t)[2]) {
    int count = 0;
    const auto keep = [&](double value) {
        if (value > 0 && value < 1)
            t[count++] = value;
    };
    if (std::fabs(c) < 1e-12 * (std::fabs(a) + std::fabs(b) + std::fabs(c))) {
        if (b != 0)
            keep(-a / b);
        return count;
    }
    const double discriminant = b * b - 4 * a * c;
    if (discriminant < 0)
        return 0;
    const double root = std::sqrt(discriminant);
    keep((-b + root) / (2 * c));
    keep((-b - root) / (2 * c));
    return count;
}

// Where a cubic Bézier curve turns back along x or y.
void addCubic(PathBounds& bounds, const Point (&p)[4]) {
    const auto at = [&](double t) {
        const double u = 1 - t;
        const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
        return Point{w[0] * p[0].x + w[1] * p[1].x + w[2] * p[2].x + w[3] * p[3].x,
                     w[0] * p[0].y + w[1] * p[1].y + w[2] * p[2].y + w[3] * p[3].y};
    };
    for (const bool alongX : {true, false}) {
        const auto of = [&](int i) { return alongX ? p[i].x : p[i].y; };
        // The derivative over 3: a (1-t)² + 2 b (1-t) t + c t², with a, b, c the legs.
        const double a = of(1) - of(0), b = of(2) - of(1), c = of(3) - of(2);
        double t[2];
        for (int i = 0, n = roots(a, 2 * (b - a), a - 2 * b + c, t); i < n; ++i) {
            const Point point = at(t[i]);
            bounds.add(point.x, point.y);
        }
    }
}

// A quadratic curve is the cubic with control points two thirds of the way to its one.
void addQuadratic(PathBounds& bounds, const Point& from, const Point& control, const Point& to) {
    const Point p[4] = {from,
                        {from.x + 2 * (control.x - from.x) / 3, from.y + 2 * (control.y - from.y) / 3},
                        {to.x + 2 * (control.x - to.x) / 3, to.y + 2 * (control.y - to.y) / 3},
                        to};
    addCubic(bounds, p);
}

// The arc's centre and angles by SVG's conversion from its end points, then its points where x
// or y turns back that lie within the sweep.
void addArc(PathBounds& bounds, const Point& from, const PathStep& step) {
    const Point to{step.points[0].x, step.points[0].y};
    double rx = std::fabs(step.radius.x), ry = std::fabs(step.radius.y);
    if ((from.x == to.x && from.y == to.y) || rx == 0 || ry == 0)
        return;
    const double phi = step.rotation * std::numbers::pi / 180, cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const double dx = (from.x - to.x) / 2, dy = (from.y - to.y) / 2;
    const double x1 = cosPhi * dx + sinPhi * dy, y1 = -sinPhi * dx + cosPhi * dy;
    const double reach = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (reach > 1)
        rx *= std::sqrt(reach), ry *= std::sqrt(reach);
    const double spread = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double factor = spread > 0 ? std::sqrt(std::max(0.0, (rx * rx * ry * ry - spread) / spread)) : 0;
    if ((step.largeArc != 0) == (step.clockwise != 0))
        factor = -factor;
    const double cx1 = factor * rx * y1 / ry, cy1 = -factor * ry * x1 / rx;
    const double cx = cosPhi * cx1 - sinPhi * cy1 + (from.x + to.x) / 2;
    const double cy = sinPhi * cx1 + cosPhi * cy1 + (from.y + to.y) / 2;
    const double start = std::atan2((y1 - cy1) / ry, (x1 - cx1) / rx);
    double sweep = std::atan2((-y1 - cy1) / ry, (-x1 - cx1) / rx) - start;
    if (step.clockwise != 0 && sweep < 0)
        sweep += kTurn;
    else if (step.clockwise == 0 && sweep > 0)
        sweep -= kTurn;
    const double xTurn = std::atan2(-ry * sinPhi, rx * cosPhi), yTurn = std::atan2(ry * cosPhi, rx * sinPhi);
    for (const double angle : {xTurn, xTurn + std::numbers::pi, yTurn, yTurn + std::numbers::pi}) {
        double along = std::fmod(sweep >= 0 ? angle - start : start - angle, kTurn);
        if (along < 0)
            along += kTurn;
        if (along > std::fabs(sweep))
            continue;
        const double c = std::cos(angle), s = std::sin(angle);
        bounds.add(cx + rx * cosPhi * c - ry * sinPhi * s, cy + rx * sinPhi * c + ry * cosPhi * s);
    }
}

} // namespace

void PathBounds::add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
}

PathBounds pathBounds(const PathSteps& steps) {
    using Kind = PathStep::Kind;
    PathBounds bounds;
    Point at{}, start{}, control{};
    Kind previous = Kind::MoveTo;
    for (const PathStep& step : steps) {
        if (step.kind == Kind::Close) {
            at = start;
            previous = step.kind;
            continue;
        }
        Point p[3];
        for (int i = 0; i < pointCount(step.kind); ++i)
            p[i] = {step.points[i].x, step.points[i].y};
        // A smooth curve's first control point mirrors the previous curve's last one, or is the
        // current point after anything else.
        const bool followsCubic = previous == Kind::CurveTo || previous == Kind::Smooth;
        const bool followsQuadratic = previous == Kind::QuadCurveTo || previous == Kind::QuadSmooth;
        const Point mirrored{2 * at.x - control.x, 2 * at.y - control.y};
        const Point end = p[pointCount(step.kind) - 1];
        switch (step.kind) {
        case Kind::CurveTo:
            addCubic(bounds, {at, p[0], p[1], p[2]});
            control = p[1];
            break;
        case Kind::Smooth:
            addCubic(bounds, {at, followsCubic ? mirrored : at, p[0], p[1]});
            control = p[0];
            break;
        case Kind::QuadCurveTo:
            addQuadratic(bounds, at, p[0], p[1]);
            control = p[0];
            break;
        case Kind::QuadSmooth:
            control = followsQuadratic ? mirrored : at;
            addQuadratic(bounds, at, control, p[0]);
            break;
        case Kind::Arc:
            addArc(bounds, at, step);
            break;
        default:
            break;
        }
        bounds.add(end.x, end.y);
        at = end;
        if (step.kind == Kind::MoveTo)
            start = at;
        previous = step.kind;
    }
    return bounds;
}

} // namespace zor::host
