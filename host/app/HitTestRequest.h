#pragma once

#include "common/containers/List.h"
#include "common/containers/String.h"
#include "common/variables/Vector.h"

#include <string>
#include <string_view>
#include <vector>

namespace zor {

/// What `zor_host hittest SCENE X Y | SCENE --points FILE [options]` asks for.
struct HitTestRequest {
    String scenePath;
    std::vector<Vector2<double>> points;
    bool tester = false;
    String svgPath;
    String pointsPath;
    /// Unusual values of the scene are refused rather than questioned.
    bool strict = false;
};

/// Reads the hittest command's operands. False with one line in `error` (operands quoted
/// printable) when they are not SCENE with one point or a points file, or an option is unknown,
/// lacks its value or has an invalid one.
bool parseHitTestRequest(const List<String>& operands, HitTestRequest& request, std::string& error);

/// Appends the points of a points file's text: "X Y" or "X, Y" per line, '#' starts a comment,
/// blank lines are skipped. False after one document failure line naming `fileName` and the line
/// (see DocumentFailure.h) when a line is not two finite numbers, there are more than kMostPoints
/// or none.
bool parsePoints(const String& fileName, std::string_view text, std::vector<Vector2<double>>& points);

} // namespace zor
