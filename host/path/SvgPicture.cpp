#include "host/path/SvgPicture.h"

#include "host/path/PathBounds.h"
#include "host/path/SvgPathData.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zor::host {

namespace {

constexpr double kPictureSize = 512;

std::string number(double value) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

} // namespace

std::string svgPicture(const PathSteps& steps) {
    PathBounds bounds = pathBounds(steps);
    if (bounds.isEmpty())
        bounds = {0, 0, 1, 1};
    // The view box of points near the ends of the number range is cut to where its size stays
    // finite; what lies beyond is outside the picture.
    constexpr double kReach = 1e300;
    bounds = {std::clamp(bounds.left, -kReach, kReach), std::clamp(bounds.top, -kReach, kReach),
              std::clamp(bounds.right, -kReach, kReach), std::clamp(bounds.bottom, -kReach, kReach)};
    // A margin of 5 % of the larger side (or 1 for a path that is a single point).
    const double side = std::max(bounds.right - bounds.left, bounds.bottom - bounds.top);
    const double margin = side > 0 ? side * 0.05 : 1;
    const double left = bounds.left - margin, top = bounds.top - margin;
    const double width = bounds.right - bounds.left + 2 * margin,
                 height = bounds.bottom - bounds.top + 2 * margin;
    const double scale = kPictureSize / std::max(width, height);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + number(left) + " " + number(top) + " " +
           number(width) + " " + number(height) + "\" width=\"" + number(std::round(width * scale)) +
           "\" height=\"" + number(std::round(height * scale)) + "\">\n  <path d=\"" +
           formatSvgPathData(steps) + "\" fill=\"none\" stroke=\"black\" stroke-width=\"" +
           number(std::max(width, height) / 200) + "\" stroke-linejoin=\"round\"/>\n</svg>\n";
}

} // namespace zor::host
