#include "host/detector/CollisionGeometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>

namespace zor::collision {
namespace {

using detail::kTouching;

/// A point or direction in double. Its coordinates are not set by default: Vec{} is zero.
struct Vec {
    double x, y, z;

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

    template <int Axis>
    double at() const {
        return Axis == 0 ? x : Axis == 1 ? y : z;
    }
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

/// The most corners a face may have.
constexpr std::size_t kMaxCorners = 16;

/// Faces across the x, y or z axis (grid floors, ceilings and walls) are told by that axis, 0, 1
/// or 2; every other face by kAnyAxis.
constexpr int kAnyAxis = 3;

// Coordinates up to this size keep every product of two differences of them finite.
constexpr double kModerate = 0x1p400;
// Heights from this size up keep their squares clear of the subnormal range.
constexpr double kClearOfSubnormals = 0x1p-400;

/// True when every coordinate of `v` is moderate: the sum of their sizes, rounded, is never below
/// any of them.
bool moderate(const Vec& v) {
    return std::abs(v.x) + std::abs(v.y) + std::abs(v.z) <= kModerate;
}

/// A convex face in double: its corners and its unit front normal. Triangles and quadrilaterals
/// keep their corner count in their type; Face<kMaxCorners> holds any count up to that.
template <std::size_t Capacity>
struct Face {
    Vec corners[Capacity];
    Vec normal;
    std::size_t count;
    int axis; // see axisAcross

    std::size_t size() const { return Capacity == kMaxCorners ? count : Capacity; }

    /// The edge from corner i to the next.
    Vec edge(std::size_t i) const { return corners[i + 1 < size() ? i + 1 : 0] - corners[i]; }
};

template <typename Test, std::size_t... I>
bool everyIndex(Test& test, std::index_sequence<I...>) {
    return (test(I) && ...);
}

/// True when `test(i)` holds for every corner index i of the face, tried in order up to the
/// first that fails; written out in full for the faces of a fixed count.
template <std::size_t Capacity, typename Test>
bool everyCorner(const Face<Capacity>& face, Test&& test) {
    if constexpr (Capacity == kMaxCorners) {
        for (std::size_t i = 0; i < face.count; ++i) {
            if (!test(i))
                return false;
        }
        return true;
    } else {
        return everyIndex(test, std::make_index_sequence<Capacity>{});
    }
}

/// True when `point` (on the face's plane) lies inside the face or on its border. Across an
/// axis, with a point at most a few times kModerate in size, only the component of each cross
/// product along the axis counts: the other two are finite and meet zeros of the normal, and
/// the normal's own component, over 0.5 in size, does not round a product with it to zero, so
/// the dot product has the sign of that component times it.
template <int Axis = kAnyAxis, std::size_t Capacity>
bool contains(const Face<Capacity>& face, const Vec& point) {
    if constexpr (Axis == kAnyAxis) {
        return everyCorner(face, [&](std::size_t i) {
            return !(dot(cross(face.edge(i), point - face.corners[i]), face.normal) < 0);
        });
    } else {
        constexpr int u = (Axis + 1) % 3, w = (Axis + 2) % 3;
        const bool front = face.normal.template at<Axis>() > 0;
        return everyCorner(face, [&](std::size_t i) {
            const Vec &from = face.corners[i], &to = face.corners[i + 1 < face.size() ? i + 1 : 0];
            const double across = (to.at<u>() - from.at<u>()) * (point.at<w>() - from.at<w>()) -
                                  (to.at<w>() - from.at<w>()) * (point.at<u>() - from.at<u>());
            return !(front ? across < 0 : across > 0);
        });
    }
}

/// The contact of a capsule whose axis comes closest to a face, `best` apart, at `onAxis` and
/// `onFace`; none when that is not within the radius.
bool contactAt(double best, const Vec& onAxis, const Vec& onFace, double radius, const Vec& faceNormal,
               Vec& normal, double& depth) {
    if (best >= radius)
        return false;
    normal = best > kTouching ? (onAxis - onFace) * (1 / best) : faceNormal;
    depth = radius - best;
    return true;
}

/// Capsule a-b against a face; the normal points from the face towards the capsule. Kept out of
/// line, which leaves the registers to the sphere tests beside it.
template <std::size_t Capacity>
[[gnu::noinline]] bool capsuleAgainstFace(Vec a, Vec b, double radius, const Face<Capacity>& face,
                                          Vec& normal, double& depth) {
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
    if (lowest <= 0 && contains(face, sa <= sb ? a : b)) {
        // The axis passes through the face: push its lowest end out to the radius.
        normal = face.normal;
        depth = radius - lowest;
        return true;
    }
    double best = std::numeric_limits<double>::infinity();
    Vec onAxis{}, onFace{};
    for (const Vec& end : {a, b}) {
        const double height = dot(end - origin, face.normal);
        const Vec projected = end - face.normal * height;
        if (height < best && contains(face, projected)) {
            best = height;
            onAxis = end;
            onFace = projected;
        }
    }
    for (std::size_t i = 0; i < face.size(); ++i) {
        const Vec& from = face.corners[i];
        const Vec& to = face.corners[(i + 1) % face.size()];
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
    return contactAt(best, onAxis, onFace, radius, face.normal, normal, depth);
}

/// capsuleAgainstFace for a capsule whose ends are the same point: the same arithmetic without
/// the steps that only repeat it. Both ends stand at the same height, so the axis is never cut
/// at the face and the second end finds nothing the first has not; and since the axis has no
/// length, the closest point of an edge is the projection of the centre onto it, clamped, as
/// closestParameters finds it (its point on the axis, a + (b - a) * 0, is the centre with -0
/// turned into +0). A centre that is not finite finds no edge point closer than infinity on
/// either path.
///
/// Across an axis (the centre moderate, so its projection stays within a few times that size)
/// the corners are tested as `contains` describes, and the edges need no look once the
/// projection is found inside, the height then being the distance to beat. The edges run in
/// the face's plane, so along the axis the centre lies as far from any edge point as from the
/// first corner, d; the height is d times the normal's component there, at most 1 in size,
/// plus zeros. The squared distance to an edge point adds the rounded square of d to other
/// squares, so it is never below it, and in binary floating point the rounded root of the
/// rounded square of d is |d| itself while that square stays clear of the subnormals. As
/// rounding keeps order, the edge's distance is never below the height: it cannot win. A
/// height of zero cannot be beaten either.
template <int Axis, std::size_t Capacity>
bool sphereAgainstFace(const Vec& centre, double radius, const Face<Capacity>& face, Vec& normal,
                       double& depth) {
    const double height = dot(centre - face.corners[0], face.normal);
    if (height < 0 || height >= radius)
        return false;
    if (height <= 0 && contains<Axis>(face, centre)) {
        normal = face.normal;
        depth = radius - height;
        return true;
    }
    double best = std::numeric_limits<double>::infinity();
    const Vec projected = centre - face.normal * height;
    const bool inside = height < best && contains<Axis>(face, projected);
    if (inside && Axis != kAnyAxis && (height == 0 || height >= kClearOfSubnormals))
        return contactAt(height, centre, projected, radius, face.normal, normal, depth);
    Vec onAxis{}, onFace{};
    if (inside) {
        best = height;
        onAxis = centre;
        onFace = projected;
    }
    const Vec axisPoint = centre + Vec{};
    everyCorner(face, [&](std::size_t i) {
        const Vec& from = face.corners[i];
        const Vec edge = face.edge(i);
        const double e = dot(edge, edge), f = dot(edge, centre - from);
        const double t = e == 0 ? 0.0 : std::clamp(f / e, 0.0, 1.0);
        const Vec edgePoint = from + edge * t;
        const double distance = length(axisPoint - edgePoint);
        if (distance < best) {
            best = distance;
            onAxis = axisPoint;
            onFace = edgePoint;
        }
        return true;
    });
    return contactAt(best, onAxis, onFace, radius, face.normal, normal, depth);
}

/// True when the two points have the same bits: a capsule of no length.
bool samePoint(const Vec& a, const Vec& b) {
    return std::bit_cast<uint64>(a.x) == std::bit_cast<uint64>(b.x) &&
           std::bit_cast<uint64>(a.y) == std::bit_cast<uint64>(b.y) &&
           std::bit_cast<uint64>(a.z) == std::bit_cast<uint64>(b.z);
}

/// Capsule a-b against a face, through the sphere tests when its ends are the same point. Written
/// into its caller, as makeFace is: the face then stays in the caller's frame.
template <std::size_t Capacity>
[[gnu::always_inline]] inline bool capsuleOrSphereAgainstFace(const Vec& a, const Vec& b, double radius,
                                                              const Face<Capacity>& face, Vec& normal,
                                                              double& depth) {
    if (!samePoint(a, b))
        return capsuleAgainstFace(a, b, radius, face, normal, depth);
    switch (face.axis == kAnyAxis || !moderate(a) ? kAnyAxis : face.axis) {
    case 0:
        return sphereAgainstFace<0>(a, radius, face, normal, depth);
    case 1:
        return sphereAgainstFace<1>(a, radius, face, normal, depth);
    case 2:
        return sphereAgainstFace<2>(a, radius, face, normal, depth);
    default:
        return sphereAgainstFace<kAnyAxis>(a, radius, face, normal, depth);
    }
}

/// The axis the face lies across: its normal's other two components are zero and its own
/// over 0.5 and at most 1 in size, and its corners, all moderate, share that coordinate.
template <int Axis, std::size_t Capacity>
int axisAcross(const Face<Capacity>& face) {
    const double size = std::abs(face.normal.template at<Axis>()),
                 across = face.corners[0].template at<Axis>();
    if (!(size > 0.5 && size <= 1))
        return kAnyAxis;
    constexpr int u = (Axis + 1) % 3, w = (Axis + 2) % 3;
    double sum = std::abs(across);
    const bool shared = everyCorner(face, [&](std::size_t i) {
        const Vec& corner = face.corners[i];
        sum += std::abs(corner.at<u>()) + std::abs(corner.at<w>());
        return corner.at<Axis>() == across;
    });
    return shared && sum <= kModerate ? Axis : kAnyAxis;
}

/// Completes a face whose first `count` corners are set; false for a face without area. Written
/// into its caller.
template <std::size_t Capacity>
[[gnu::always_inline]] inline bool makeFace(Face<Capacity>& face, std::size_t count) {
    if (count < 3)
        return false;
    face.count = count;
    const Vec* corners = face.corners;
    const Vec normal = cross(corners[1] - corners[0], corners[2] - corners[0]);
    const double size = length(normal);
    if (!(size > 0) || !std::isfinite(size))
        return false;
    face.normal = normal * (1 / size);
    const Vec& n = face.normal;
    face.axis = n.x == 0 && n.z == 0   ? axisAcross<1>(face)
                : n.y == 0 && n.z == 0 ? axisAcross<0>(face)
                : n.x == 0 && n.y == 0 ? axisAcross<2>(face)
                                       : kAnyAxis;
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
bool capsuleCapsule(const Vector3<T>& a1, const Vector3<T>& b1, T radius1, const Vector3<T>& a2,
                    const Vector3<T>& b2, T radius2, Contact<T>& contact) {
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

template <typename T>
bool detail::touchingSpheres(const Vector3<T>& centre1, const Vector3<T>& centre2, double depthFound,
                             Vector3<T>& normal, T& depth) {
    const Vec p1 = Vec::of(centre1), p2 = Vec::of(centre2);
    normal = separatingFallback(p1, p1, p2, p2).as<T>();
    depth = T(depthFound);
    return true;
}

template <typename T>
bool capsuleFace(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>* corners,
                 std::size_t cornerCount, Contact<T>& contact) {
    if (cornerCount > kMaxCorners)
        return false;
    Face<kMaxCorners> face;
    for (std::size_t i = 0; i < cornerCount; ++i)
        face.corners[i] = Vec::of(corners[i]);
    Vec normal;
    double depth;
    if (!makeFace(face, cornerCount) ||
        !capsuleOrSphereAgainstFace(Vec::of(a), Vec::of(b), double(radius), face, normal, depth))
        return false;
    return report(normal, depth, contact);
}

template <typename T>
bool detail::capsuleQuadrilateralByFace(const Vector3<T>& a, const Vector3<T>& b, T radius,
                                        const Vector3<T>& corner0, const Vector3<T>& corner1,
                                        const Vector3<T>& corner2, const Vector3<T>& corner3,
                                        Vector3<T>& normal, T& depth) {
    Face<4> face;
    face.corners[0] = Vec::of(corner0);
    face.corners[1] = Vec::of(corner1);
    face.corners[2] = Vec::of(corner2);
    face.corners[3] = Vec::of(corner3);
    Vec direction;
    double found;
    if (!makeFace(face, 4) ||
        !capsuleOrSphereAgainstFace(Vec::of(a), Vec::of(b), double(radius), face, direction, found))
        return false;
    normal = direction.as<T>();
    depth = T(found);
    return true;
}

template <typename T>
bool capsuleMesh(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>* vertices,
                 std::size_t vertexCount, const uint32* indices, std::size_t indexCount,
                 Contact<T>& contact) {
    const Vec pa = Vec::of(a), pb = Vec::of(b);
    double deepest = 0;
    Vec deepestNormal{};
    for (std::size_t i = 0; i + 2 < indexCount; i += 3) {
        if (indices[i] >= vertexCount || indices[i + 1] >= vertexCount || indices[i + 2] >= vertexCount)
            continue;
        Face<3> face;
        face.corners[0] = Vec::of(vertices[indices[i]]);
        face.corners[1] = Vec::of(vertices[indices[i + 1]]);
        face.corners[2] = Vec::of(vertices[indices[i + 2]]);
        Vec normal;
        double depth;
        if (makeFace(face, 3) && capsuleOrSphereAgainstFace(pa, pb, double(radius), face, normal, depth) &&
            depth > deepest) {
            deepest = depth;
            deepestNormal = normal;
        }
    }
    // The faces push the capsule out; seen from the capsule the mesh lies the other way.
    return deepest > 0 && report(deepestNormal * -1.0, deepest, contact);
}

#define ZOR_COLLISION_GEOMETRY(T)                                                                            \
    template bool detail::touchingSpheres<T>(const Vector3<T>&, const Vector3<T>&, double, Vector3<T>&, T&); \
    template bool capsuleCapsule<T>(const Vector3<T>&, const Vector3<T>&, T, const Vector3<T>&,              \
                                    const Vector3<T>&, T, Contact<T>&);                                      \
    template bool capsuleFace<T>(const Vector3<T>&, const Vector3<T>&, T, const Vector3<T>*, std::size_t,    \
                                 Contact<T>&);                                                               \
    template bool detail::capsuleQuadrilateralByFace<T>(                                                     \
        const Vector3<T>&, const Vector3<T>&, T, const Vector3<T>&, const Vector3<T>&, const Vector3<T>&,    \
        const Vector3<T>&, Vector3<T>&, T&);                                                                 \
    template bool capsuleMesh<T>(const Vector3<T>&, const Vector3<T>&, T, const Vector3<T>*, std::size_t,    \
                                 const uint32*, std::size_t, Contact<T>&);
ZOR_COLLISION_GEOMETRY(float)
ZOR_COLLISION_GEOMETRY(double)
#undef ZOR_COLLISION_GEOMETRY

} // namespace zor::collision
