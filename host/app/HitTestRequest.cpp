#include "host/app/HitTestRequest.h"

#include "host/io/DocumentFailure.h"
#include "host/io/DocumentLimits.h"
#include "host/io/Utf8Check.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace zor {
namespace {

// A finite number that is the whole of `text`.
bool parseCoordinate(const char* text, double& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return end != text && *end == '\0' && errno == 0 && std::isfinite(value);
}

// Reads "X Y" (or "X, Y") from `text`, with nothing but spaces after it.
bool parsePoint(const char* text, Vector2<double>& point) {
    char* end = nullptr;
    point.x = std::strtod(text, &end);
    if (end == text)
        return false;
    text = end;
    while (*text == ' ' || *text == '\t' || *text == ',')
        ++text;
    point.y = std::strtod(text, &end);
    if (end == text || !std::isfinite(point.x) || !std::isfinite(point.y))
        return false;
    for (text = end; *text == ' ' || *text == '\t' || *text == '\r' || *text == '\n';)
        ++text;
    return *text == '\0';
}

bool refuse(std::string& error, std::string message) {
    error = std::move(message);
    return false;
}

} // namespace

bool parseHitTestRequest(const List<String>& operands, HitTestRequest& request, std::string& error) {
    std::vector<String> words;
    for (const String& operand : operands)
        words.push_back(operand);
    if (words.empty())
        return refuse(error, "expected SCENE X Y or SCENE --points FILE");
    request.scenePath = words[0];
    std::vector<String> coordinates;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const String& word = words[i];
        const bool takesValue = word == "--engine" || word == "--svg" || word == "--points";
        if (word == "--strict") {
            request.strict = true;
            continue;
        }
        if (!takesValue) {
            if (word.c_str()[0] == '-' &&
                (word.length() < 2 || word.c_str()[1] < '0' || word.c_str()[1] > '9'))
                return refuse(error, "unknown option " + host::printableText(word.c_str()));
            coordinates.push_back(word);
            continue;
        }
        if (++i == words.size())
            return refuse(error, std::string(word.c_str()) + " needs a value");
        if (word == "--engine") {
            if (!(words[i] == "2d") && !(words[i] == "tester"))
                return refuse(error,
                              "--engine is 2d or tester, not " + host::printableText(words[i].c_str()));
            request.tester = words[i] == "tester";
        } else if (word == "--svg") {
            request.svgPath = words[i];
        } else {
            request.pointsPath = words[i];
        }
    }
    if (coordinates.size() == 2) {
        Vector2<double> point;
        if (!parseCoordinate(coordinates[0].c_str(), point.x) ||
            !parseCoordinate(coordinates[1].c_str(), point.y))
            return refuse(error, "X and Y must be finite numbers");
        request.points.push_back(point);
    } else if (!coordinates.empty()) {
        return refuse(error, "expected two coordinates, X and Y");
    }
    return !request.points.empty() || !request.pointsPath.isEmpty() ||
           refuse(error, "expected X Y or --points FILE");
}

bool parsePoints(const String& fileName, std::string_view text, std::vector<Vector2<double>>& points) {
    const auto refuseLine = [&](uint64 line, const std::string& expected, const std::string& found) {
        host::logDocumentFailure("zor::runHitTestCommand", fileName, "line " + std::to_string(line),
                                 "expected %s, found %s", expected.c_str(), found.c_str());
        return false;
    };
    uint64 number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line(text.substr(start, end - start));
        start = end + 1;
        ++number;
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        Vector2<double> point;
        if (line.find('\0') != std::string::npos || !parsePoint(line.c_str(), point))
            return refuseLine(number, "X and Y, two finite numbers",
                              "\"" + line.substr(0, 40) + (line.size() > 40 ? "...\"" : "\""));
        if (points.size() >= host::kMostPoints)
            return refuseLine(number, std::to_string(host::kMostPoints) + " points at most", "more");
        points.push_back(point);
    }
    return !points.empty() || refuseLine(number, "a point", "none");
}

} // namespace zor
