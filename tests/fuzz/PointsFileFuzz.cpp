#include "FuzzChecks.h"

#include "host/app/HitTestRequest.h"
#include "support/TestApplicationData.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace zor::test {

bool checkPointsInput(const std::uint8_t* data, std::size_t size) {
    TestApplicationData record;
    const String fileName("fuzz.points");
    std::vector<Vector2<double>> points;
    if (!parsePoints(fileName, std::string_view(reinterpret_cast<const char*>(data), size), points))
        return record.writtenTexts().size() == 1;
    std::string written;
    char line[64];
    for (const Vector2<double>& point : points) {
        std::snprintf(line, sizeof line, "%.17g, %.17g\n", point.x, point.y);
        written += line;
    }
    std::vector<Vector2<double>> reread;
    if (!parsePoints(fileName, written, reread) || reread.size() != points.size() ||
        !record.writtenTexts().empty())
        return false;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (!(reread[i].x == points[i].x && reread[i].y == points[i].y))
            return false;
    return true;
}

} // namespace zor::test
