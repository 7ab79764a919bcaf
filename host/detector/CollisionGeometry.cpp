#include "host/detector/CollisionGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zor::collision {
namespace {

// Distances below this count as touching: the direction between the closest points is then
// too short to give a normal, and a fallback direction is used instead.
constexpr double kTouching = 1e-12;

struct Vec {
    double x = 0, y = 0, z = 0;

    template <typename T>
    static Vec of(const Vector3<T>& v) {
        return {double(v.x), double(v.y), double(v.z)};
    }
    template <typename T>
    Vector3<T> as() const {
        return {T(x), T(y), T(z)};
    }
    Vec operator+(const Vec& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec operator-(const Vec& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec operator*(double k) const { return {x * k, y * k, z * k}; }
};

double dot(const Vec& a, const Vec& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double length(const Vec& v) {
    return std::sqrt(dot(v, v));
}

/// Parameters s, t in [0, 1] of the closest points p1 + s (q1 - p1) and p2 + t (q2 - p2) of two
/// segments; parallel segments take s = 0 and the t that goes with it.
void closestParameters(const Vec& p1, const Vec& q1, const Vec& p2, const Vec& q2, double& s, double& t) {
    const Vec d1 = q1 - p1, d2 = q2 - p2, r = p1 - p2;
    const double a = dot(d1, d1), e = dot(d2, d2), f = dot(d2, r);
    s = t = 0;
    if (a == 0 && e == 0)
        return;
    if (a == 0) {
        t = std::clamp(f / e, 0.0, 1.0);
        return;
    }
    const double c = dot(d1, r);
    if (e == 0) {
        s = std::clamp(-c / a, 0.0, 1.0);
        return;
    }
    const double b = dot(d1, d2), denominator = a * e - b * b;
    s = denominator > 1e-12 * a * e ? std::clamp((b * f - c * e) / denominator, 0.0, 1.0) : 0.0;
    t = (b * s + f) / e;
    if (t < 0) {
        t = 0;
        s = std::clamp(-c / a, 0.0, 1.0);
    } else if (t > 1) {
        t = 1;
        s = std::clamp((b - c) / a, 0.0, 1.0);
    }
}

/// A unit vector across two touching capsules: from the first centre to the second, else
/// across both axes, else across the first axis, else up.
Vec separatingFallback(const Vec& a1, const Vec& b1, const Vec& a2, const Vec& b2) {
    const Vec axis1 = b1 - a1, axis2 = b2 - a2;
    Vec candidates[] = {(a2 + b2) * 0.5 - (a1 + b1) * 0.5, cross(axis1, axis2),
                        cross(axis1, std::abs(axis1.x) < std::abs(axis1.y) ? Vec{1, 0, 0} : Vec{0, 1, 0})};
    for (const Vec& candidate : candidates) {
        const double size = length(candidate);
        if (size > kTouching)
            return candidate * (1 / size);
    }
    return {0, 1, 0};
}

/// The contact of two spheres whose centres are too close for a normal between them, kept out
/// of line: spheres rarely come that close.
template <typename T>
[[gnu::noinline]] bool touchingSpheres(const Vector3<T>& centre1, const Vector3<T>& centre2, double depthFound,
                                       Vector3<T>& normal, T& depth) {
    const Vec p1 = Vec::of(centre1), p2 = Vec::of(centre2);
    normal = separatingFallback(p1, p1, p2, p2).as<T>();
    depth = T(depthFound);
    return true;
}

/// A convex face in double, with its unit front normal.
struct Face {
    const Vec* corners;
    std::size_t count;
    Vec normal;

    /// True when `point` (on the face's plane) lies inside the face or on its border.
    bool contains(const Vec& point) const {
        for (std::size_t i = 0; i < count; ++i) {
            const Vec& from = corners[i];
            const Vec& to = corners[(i + 1) % count];
            if (dot(cross(to - from, point - from), normal) < 0)
                return false;
        }
        return true;
    }
};

/// Capsule a-b against a face; the normal points from the face towards the capsule.
bool capsuleAgainstFace(Vec a, Vec b, double radius, const Face& face, Vec& normal, double& depth) {
    const Vec& origin = face.corners[0];
    const double sa = dot(a - origin, face.normal), sb = dot(b - origin, face.normal);
    const double lowest = std::min(sa, sb);
    if ((sa < 0 && sb < 0) || lowest >= radius)
        return false; // wholly behind the face, or wholly beyond reach in front of it
    // Only the part of the axis in front of the face counts.
    if (sa < 0)
        a = a + (b - a) * (sa / (sa - sb));
    else if (sb < 0)
        b = b + (a - b) * (sb / (sb - sa));
    if (lowest <= 0 && face.contains(sa <= sb ? a : b)) {
        // The axis passes through the face: push its lowest end out to the radius.
        normal = face.normal;
        depth = radius - lowest;
        return true;
    }
    double best = std::numeric_limits<double>::infinity();
    Vec onAxis, onFace;
    for (const Vec& end : {a, b}) {
        const double height = dot(end - origin, face.normal);
        const Vec projected = end - face.normal * height;
        if (height < best && face.contains(projected)) {
            best = height;
            onAxis = end;
            onFace = projected;
        }
    }
    for (std::size_t i = 0; i < face.count; ++i) {
        const Vec& from = face.corners[i];
        const Vec& to = face.corners[(i + 1) % face.count];
        double s, t;
        closestParameters(a, b, from, to, s, t);
        const Vec axisPoint = a + (b - a) * s, edgePoint = from + (to - from) * t;
        const double distance = length(axisPoint - edgePoint);
        if (distance < best) {
            best = distance;
            onAxis = axisPoint;
            onFace = edgePoint;
        }
    }
    if (best >= radius)
        return false;
    normal = best > kTouching ? (onAxis - onFace) * (1 / best) : face.normal;
    depth = radius - best;
    return true;
}

/// Builds the face of `count` corners; false for a face without area.
bool makeFace(const Vec* corners, std::size_t count, Face& face) {
    if (count < 3)
        return false;
    const Vec normal = cross(corners[1] - corners[0], corners[2] - corners[0]);
    const double size = length(normal);
    if (!(size > 0) || !std::isfinite(size))
        return false;
    face = {corners, count, normal * (1 / size)};
    return true;
}

template <typename T>
bool report(const Vec& normal, double depth, Contact<T>& contact) {
    contact.normal = normal.as<T>();
    contact.depth = T(depth);
    return true;
}

} // namespace

template <typename T>
bool capsuleCapsule(const Vector3<T>& a1, const Vector3<T>& b1, T radius1, const Vector3<T>& a2, const Vector3<T>& b2,
                    T radius2, Contact<T>& contact) {
    const Vec p1 = Vec::of(a1), q1 = Vec::of(b1), p2 = Vec::of(a2), q2 = Vec::of(b2);
    double s, t;
    closestParameters(p1, q1, p2, q2, s, t);
    const Vec between = (p2 + (q2 - p2) * t) - (p1 + (q1 - p1) * s);
    const double distance = length(between), reach = double(radius1) + double(radius2);
    if (!(distance < reach))
        return false;
    const Vec normal = distance > kTouching ? between * (1 / distance) : separatingFallback(p1, q1, p2, q2);
    return report(normal, reach - distance, contact);
}

// Two capsules of no length, with capsuleCapsule's arithmetic: there the centres are
// p + (p - p) * 0, which turns -0 into +0. The difference of the centres differs from that of
// the turned ones at most in the sign of a zero, so the distance is the same, and adding zero
// to it gives theirs for the normal. A centre that is not finite gives an infinite or NaN
// distance here and no contact, as it does in capsuleCapsule.
template <typename T>
bool sphereSphere(const Vector3<T>& centre1, T radius1, const Vector3<T>& centre2, T radius2, Vector3<T>& normal,
                  T& depth) {
    const Vec between = Vec::of(centre2) - Vec::of(centre1);
    const double distance = length(between), reach = double(radius1) + double(radius2);
    if (!(distance < reach))
        return false;
    if (!(distance > kTouching))
        return touchingSpheres(centre1, centre2, reach - distance, normal, depth);
    normal = ((between + Vec{}) * (1 / distance)).as<T>();
    depth = T(reach - distance);
    return true;
}

template <typename T>
bool capsuleFace(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>* corners,
                 std::size_t cornerCount, Contact<T>& contact) {
    constexpr std::size_t kMaxCorners = 16;
    if (cornerCount > kMaxCorners)
        return false;
    Vec points[kMaxCorners];
    for (std::size_t i = 0; i < cornerCount; ++i)
        points[i] = Vec::of(corners[i]);
    Face face;
    Vec normal;
    double depth;
    if (!makeFace(points, cornerCount, face) ||
        !capsuleAgainstFace(Vec::of(a), Vec::of(b), double(radius), face, normal, depth))
        return false;
    return report(normal, depth, contact);
}

template <typename T>
bool capsuleMesh(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>* vertices, std::size_t vertexCount,
                 const uint32* indices, std::size_t indexCount, Contact<T>& contact) {
    const Vec pa = Vec::of(a), pb = Vec::of(b);
    double deepest = 0;
    Vec deepestNormal;
    for (std::size_t i = 0; i + 2 < indexCount; i += 3) {
        if (indices[i] >= vertexCount || indices[i + 1] >= vertexCount || indices[i + 2] >= vertexCount)
            continue;
        const Vec triangle[] = {Vec::of(vertices[indices[i]]), Vec::of(vertices[indices[i + 1]]),
                                Vec::of(vertices[indices[i + 2]])};
        Face face;
        Vec normal;
        double depth;
        if (makeFace(triangle, 3, face) && capsuleAgainstFace(pa, pb, double(radius), face, normal, depth) &&
            depth > deepest) {
            deepest = depth;
            deepestNormal = normal;
        }
    }
    // The faces push the capsule out; seen from the capsule the mesh lies the other way.
    return deepest > 0 && report(deepestNormal * -1.0, deepest, contact);
}

#define ZOR_COLLISION_GEOMETRY(T)                                                                            \
    template bool sphereSphere<T>(const Vector3<T>&, T, const Vector3<T>&, T, Vector3<T>&, T&);                \
    template bool capsuleCapsule<T>(const Vector3<T>&, const Vector3<T>&, T, const Vector3<T>&, const Vector3<T>&, \
                                    T, Contact<T>&);                                                           \
    template bool capsuleFace<T>(const Vector3<T>&, const Vector3<T>&, T, const Vector3<T>*, std::size_t,      \
                                 Contact<T>&);                                                                 \
    template bool capsuleMesh<T>(const Vector3<T>&, const Vector3<T>&, T, const Vector3<T>*, std::size_t,      \
                                 const uint32*, std::size_t, Contact<T>&);
ZOR_COLLISION_GEOMETRY(float)
ZOR_COLLISION_GEOMETRY(double)
#undef ZOR_COLLISION_GEOMETRY

} // namespace zor::collision
