#pragma once

#include "common/variables/Vector.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <limits>
#include <type_traits>

namespace zor::collision {

/// A contact between two shapes: a unit normal and how far the shapes overlap along it.
template <typename T>
struct Contact {
    Vector3<T> normal;
    T depth = 0;
};

// The host collision detector's geometry. Spheres are capsules whose two ends coincide; faces
// are one-sided: a face with corners c0, c1, c2, ... counter-clockwise seen from the front faces
// along (c1 - c0) x (c2 - c0), and only shapes in front of it (or sunk into it from the front)
// touch it. Every test answers false without contact, and on contact a unit normal and a
// positive depth; degenerate input (coincident centres, zero-length capsules, zero-area faces)
// gives a defined normal or no contact, never NaN. Work is done in double for both number types.

namespace detail {

/// Distances below this count as touching: the direction between the closest points is then
/// too short to give a normal, and a fallback direction is used instead.
inline constexpr double kTouching = 1e-12;

/// sphereSphere for centres too close for a normal between them: the fallback direction of
/// capsuleCapsule. Out of line: spheres rarely come that close.
template <typename T>
bool touchingSpheres(const Vector3<T>& centre1, const Vector3<T>& centre2, double depthFound,
                     Vector3<T>& normal, T& depth);

/// capsuleQuadrilateral through the general face test alone, without its shortcut for spheres
/// against rectangles across an axis; the two answer alike, to the bit.
template <typename T>
bool capsuleQuadrilateralByFace(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>& corner0,
                                const Vector3<T>& corner1, const Vector3<T>& corner2,
                                const Vector3<T>& corner3, Vector3<T>& normal, T& depth);

template <typename T>
bool sameBits(T a, T b) {
    using Bits = std::conditional_t<sizeof(T) == 4, uint32, uint64>;
    return std::bit_cast<Bits>(a) == std::bit_cast<Bits>(b);
}

/// Coordinate 0, 1 or 2 (x, y or z) of a point.
template <int Axis, typename V>
auto& coordinate(V& v) {
    if constexpr (Axis == 0)
        return v.x;
    else if constexpr (Axis == 1)
        return v.y;
    else
        return v.z;
}

/// The same in double.
template <int Axis, typename T>
double at(const Vector3<T>& v) {
    return double(coordinate<Axis>(v));
}

/// What the shortcut found: no contact, a contact, or that the general test must answer.
enum class Found { None, Contact, Unsure };

/// Coordinates up to this size keep any sum of the sizes of nine of them, rounded, within the
/// general test's moderate size of 2^400.
inline constexpr double kModerateEach = 0x1p396;

/// capsuleQuadrilateral for a sphere against a rectangle across `Axis` whose corners share that
/// coordinate (grid floors, ceilings and walls), in the case that settles nearly every call: the
/// centre in front within reach, over kTouching from the plane, and projecting into the
/// rectangle; Unsure otherwise, with the outputs left alone. The general test makes the face,
/// marks it with the axis and takes sphereAgainstFace<Axis> to contactAt; this is that arithmetic
/// on the values that can change the answer, the rest being zeros whose signs reach no output,
/// as noted step by step.
template <int Axis, typename T>
[[gnu::always_inline]] inline Found
sphereOverRectangle(const Vector3<T>& centre, T radius, const Vector3<T>& c0, const Vector3<T>& c1,
                    const Vector3<T>& c2, const Vector3<T>& c3, Vector3<T>& normal, T& depth) {
    constexpr int u = (Axis + 1) % 3, w = (Axis + 2) % 3;
    // Edge c0-c1 runs along u and c1-c2 along w, or the other way round; either way every
    // coordinate of a corner equals one of c0's or c2's. Equal values differ by a zero.
    const bool alongU = coordinate<w>(c0) == coordinate<w>(c1) && coordinate<u>(c1) == coordinate<u>(c2) &&
                        coordinate<w>(c2) == coordinate<w>(c3) && coordinate<u>(c3) == coordinate<u>(c0);
    if (!alongU && !(coordinate<u>(c0) == coordinate<u>(c1) && coordinate<w>(c1) == coordinate<w>(c2) &&
                     coordinate<u>(c2) == coordinate<u>(c3) && coordinate<w>(c3) == coordinate<w>(c0)))
        return Found::Unsure;
    // The contact normal's components off the axis are centre - projection times 1 / height:
    // +0, unless the centre's coordinate is -0 and the face normal's component -0 too.
    if (sameBits(coordinate<u>(centre), T(-0.0)) || sameBits(coordinate<w>(centre), T(-0.0)))
        return Found::Unsure;
    // Moderate corners and centre, as the general test asks for its faces across an axis, and
    // finite differences and products of two of them below.
    const double sizes = (std::abs(at<0>(c0)) + std::abs(at<1>(c0)) + std::abs(at<2>(c0))) +
                         (std::abs(at<u>(c2)) + std::abs(at<w>(c2))) +
                         (std::abs(at<0>(centre)) + std::abs(at<1>(centre)) + std::abs(at<2>(centre)));
    if (!(sizes <= kModerateEach))
        return Found::Unsure;
    // The cross product's component along the axis; the corners' differences along it are
    // zeros, so the other two are zeros, as are the unit normal's. Its size is the root of
    // n * n plus +0s, which is |n| while n * n is a normal number, and n * (1 / |n|) is then 1
    // or the number below it, within the range the general test asks of a face across an axis.
    const double n =
        (at<u>(c1) - at<u>(c0)) * (at<w>(c2) - at<w>(c0)) - (at<w>(c1) - at<w>(c0)) * (at<u>(c2) - at<u>(c0));
    const double square = n * n;
    if (!(square >= std::numeric_limits<double>::min() && square <= std::numeric_limits<double>::max()))
        return Found::Unsure;
    const double unit = n * (1 / std::abs(n));
    // The height adds zeros to this product, which leave it alone unless it is zero itself.
    const double height = (at<Axis>(centre) - at<Axis>(c0)) * unit;
    if (height < 0 || height >= double(radius))
        return Found::None;
    if (!(height > kTouching))
        return Found::Unsure;
    // Inside at the projection, whose coordinates off the axis are the centre's but for the
    // sign of a zero, which leaves every difference to a corner alone or makes it a zero. Along
    // an edge one of the two products has a difference of zero and is a zero: across is the
    // other, negated where it is subtracted, or a zero, which passes either way.
    const double pu = at<u>(centre), pw = at<w>(centre);
    double across[4];
    if (alongU) {
        across[0] = (at<u>(c1) - at<u>(c0)) * (pw - at<w>(c0));
        across[1] = -((at<w>(c2) - at<w>(c1)) * (pu - at<u>(c1)));
        across[2] = (at<u>(c3) - at<u>(c2)) * (pw - at<w>(c2));
        across[3] = -((at<w>(c0) - at<w>(c3)) * (pu - at<u>(c3)));
    } else {
        across[0] = -((at<w>(c1) - at<w>(c0)) * (pu - at<u>(c0)));
        across[1] = (at<u>(c2) - at<u>(c1)) * (pw - at<w>(c1));
        across[2] = -((at<w>(c3) - at<w>(c2)) * (pu - at<u>(c2)));
        across[3] = (at<u>(c0) - at<u>(c3)) * (pw - at<w>(c3));
    }
    const bool inside = unit > 0 ? !(across[0] < 0 || across[1] < 0 || across[2] < 0 || across[3] < 0)
                                 : !(across[0] > 0 || across[1] > 0 || across[2] > 0 || across[3] > 0);
    if (!inside)
        return Found::Unsure;
    const double projected = at<Axis>(centre) - unit * height, inverse = 1 / height;
    const T along = T((at<Axis>(centre) - projected) * inverse), deep = T(double(radius) - height);
    // Written after every input has been read: the outputs may be inputs too.
    coordinate<u>(normal) = T(0);
    coordinate<w>(normal) = T(0);
    coordinate<Axis>(normal) = along;
    depth = deep;
    return Found::Contact;
}

} // namespace detail

/// Sphere against sphere; the normal points from the first towards the second. `normal` and
/// `depth` are written on contact only, after every input has been read.
///
/// Two capsules of no length, with capsuleCapsule's arithmetic: there the centres are
/// p + (p - p) * 0, which turns -0 into +0. The difference of the centres differs from that of
/// the turned ones at most in the sign of a zero, so the distance is the same, and adding zero
/// to it gives theirs for the normal. A centre that is not finite gives an infinite or NaN
/// distance here and no contact, as it does in capsuleCapsule. Inline, as the detector calls it
/// for nearly every pair of spheres the engines find close.
template <typename T>
inline bool sphereSphere(const Vector3<T>& centre1, T radius1, const Vector3<T>& centre2, T radius2,
                         Vector3<T>& normal, T& depth) {
    const double x = double(centre2.x) - double(centre1.x), y = double(centre2.y) - double(centre1.y),
                 z = double(centre2.z) - double(centre1.z);
    const double distance = std::sqrt(x * x + y * y + z * z), reach = double(radius1) + double(radius2);
    if (!(distance < reach))
        return false;
    if (!(distance > detail::kTouching))
        return detail::touchingSpheres(centre1, centre2, reach - distance, normal, depth);
    const double inverse = 1 / distance;
    normal = {T((x + 0.0) * inverse), T((y + 0.0) * inverse), T((z + 0.0) * inverse)};
    depth = T(reach - distance);
    return true;
}

/// Capsule (segment a-b widened by the radius) against capsule; the normal points from the
/// first towards the second.
template <typename T>
bool capsuleCapsule(const Vector3<T>& a1, const Vector3<T>& b1, T radius1, const Vector3<T>& a2,
                    const Vector3<T>& b2, T radius2, Contact<T>& contact);

/// Capsule against a planar convex face of `cornerCount` corners (at least 3); the normal points
/// from the face towards the capsule.
template <typename T>
bool capsuleFace(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>* corners,
                 std::size_t cornerCount, Contact<T>& contact);

/// Capsule against the face of the four corners `corner0` to `corner3`: capsuleFace without the
/// corner array. `normal` and `depth` are written on contact only, after every input has been read.
/// Inline for its shortcut, as the detector calls it for every grid face near a sphere.
template <typename T>
[[gnu::always_inline]] inline bool capsuleQuadrilateral(const Vector3<T>& a, const Vector3<T>& b, T radius,
                                                        const Vector3<T>& corner0, const Vector3<T>& corner1,
                                                        const Vector3<T>& corner2, const Vector3<T>& corner3,
                                                        Vector3<T>& normal, T& depth) {
    using detail::Found, detail::sameBits, detail::sphereOverRectangle;
    if (sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z)) {
        // A sphere against a face across an axis, floors and ceilings first: grid stages have
        // the most of those.
        Found found = Found::Unsure;
        if (corner0.y == corner1.y && corner0.y == corner2.y && corner0.y == corner3.y)
            found = sphereOverRectangle<1>(a, radius, corner0, corner1, corner2, corner3, normal, depth);
        else if (corner0.x == corner1.x && corner0.x == corner2.x && corner0.x == corner3.x)
            found = sphereOverRectangle<0>(a, radius, corner0, corner1, corner2, corner3, normal, depth);
        else if (corner0.z == corner1.z && corner0.z == corner2.z && corner0.z == corner3.z)
            found = sphereOverRectangle<2>(a, radius, corner0, corner1, corner2, corner3, normal, depth);
        if (found != Found::Unsure)
            return found == Found::Contact;
    }
    return detail::capsuleQuadrilateralByFace(a, b, radius, corner0, corner1, corner2, corner3, normal,
                                              depth);
}

/// Capsule against a triangle mesh (three vertex indices per triangle); the deepest contact over
/// the triangles, its normal pointing from the capsule towards the mesh. Indices out of range
/// are passed over.
template <typename T>
bool capsuleMesh(const Vector3<T>& a, const Vector3<T>& b, T radius, const Vector3<T>* vertices,
                 std::size_t vertexCount, const uint32* indices, std::size_t indexCount, Contact<T>& contact);

} // namespace zor::collision
