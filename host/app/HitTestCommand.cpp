// zor_host hittest SCENE X Y [--engine 2d|tester] [--svg FILE], or SCENE --points FILE: the 2D
// scene file SCENE is built as the host's scene, and the module's PhysicsEngine2D (or its
// TesterEngine) says which element lies under each point. One line per point; the picture shows
// the scene with the points and what they hit.

#include "common/object/Identifiers.h"
#include "common/variables/VariableType.h"
#include "host/app/HostCommands.h"
#include "host/core/HostFactory.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentFile.h"
#include "host/io/DocumentLimits.h"
#include "host/io/Utf8Check.h"
#include "host/scene2d/Scene2DFile.h"
#include "host/scene2d/Scene2DPicture.h"
// The module's classes, for the slots of their operations; every call below goes through the
// objects' own tables.
#include "physics/attributes/HitTestEvent.h"
#include "physics/hittest/PhysicsEngine2D.h"
#include "physics/hittest/TesterEngine.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

namespace zor {
namespace {

struct HitTestRequest {
    String scenePath;
    std::vector<Vector2<double>> points;
    bool tester = false;
    String svgPath;
    String pointsPath;
    /// Unusual values of the scene are refused rather than questioned.
    bool strict = false;
};

bool fail(const char* format, const char* detail = "") {
    std::fprintf(stderr, "zor_host hittest: ");
    std::fprintf(stderr, format, detail);
    std::fprintf(stderr, "\n");
    return false;
}

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

// A point per line; '#' starts a comment and blank lines are skipped. Refusals are reported as
// a document's: one line in the log, the same on the console.
bool readPointsFile(const String& path, std::vector<Vector2<double>>& points) {
    std::string text;
    if (!host::readDocumentText(path, text)) {
        host::reportDocumentFailure(path);
        return false;
    }
    const auto refuse = [&](uint64 line, const std::string& expected, const std::string& found) {
        host::logDocumentFailure("zor::runHitTestCommand", path, "line " + std::to_string(line),
                                 "expected %s, found %s", expected.c_str(), found.c_str());
        host::reportDocumentFailure(path);
        return false;
    };
    uint64 number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        Vector2<double> point;
        if (line.find('\0') != std::string::npos || !parsePoint(line.c_str(), point))
            return refuse(number, "X and Y, two finite numbers",
                          "\"" + line.substr(0, 40) + (line.size() > 40 ? "...\"" : "\""));
        if (points.size() >= host::kMostPoints)
            return refuse(number, std::to_string(host::kMostPoints) + " points at most", "more");
        points.push_back(point);
    }
    return !points.empty() || refuse(number, "a point", "none");
}

bool parseRequest(const List<String>& operands, HitTestRequest& request) {
    std::vector<String> words;
    for (const String& operand : operands)
        words.push_back(operand);
    if (words.empty())
        return fail("%s", "expected SCENE X Y or SCENE --points FILE");
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
                return fail("unknown option %s", host::printableText(word.c_str()).c_str());
            coordinates.push_back(word);
            continue;
        }
        if (++i == words.size())
            return fail("%s needs a value", word.c_str());
        if (word == "--engine") {
            if (!(words[i] == "2d") && !(words[i] == "tester"))
                return fail("--engine is 2d or tester, not %s",
                            host::printableText(words[i].c_str()).c_str());
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
            return fail("%s", "X and Y must be finite numbers");
        request.points.push_back(point);
    } else if (!coordinates.empty()) {
        return fail("%s", "expected two coordinates, X and Y");
    }
    return !request.points.empty() || !request.pointsPath.isEmpty() ||
           fail("%s", "expected X Y or --points FILE");
}

std::string quotedName(const IObject* object) {
    return object == nullptr ? "none" : "\"" + host::printableText(object->getName().c_str()) + "\"";
}

// Tests every point with `engine` on `scene`; prints a line per point and collects the marks.
template <typename Engine, typename T>
void hitTestPoints(Engine* engine, Scene2D<T>* scene, const std::vector<Vector2<double>>& points,
                   std::vector<HitMark>& marks) {
    // The engines only hold their resources handler; a plain host object serves.
    IObject* resources = HostObject::create();
    engine->setResourcesHandler(resources);
    engine->setCurrentScene(scene);
    for (const Vector2<double>& point : points) {
        HitTestEvent* event = nullptr;
        if constexpr (std::is_same_v<T, float>)
            event = engine->performHitTestToSceneFloat(
                Vector2<float>{static_cast<float>(point.x), static_cast<float>(point.y)});
        else
            event = engine->performHitTestToSceneDouble(point);
        HitMark mark{point.x, point.y};
        if (event == nullptr) {
            std::printf("%.9g %.9g: no hit\n", point.x, point.y);
        } else {
            const String& text = event->getEventString();
            mark.element = event->getElement();
            mark.separatorIndex = event->getSeparatorIndex();
            mark.horizontalSeparator = text == "DockingLayoutHSeparator";
            mark.separatorHit = mark.element->isTypeOf(guids::kDockingLayout) &&
                                (mark.horizontalSeparator || text == "DockingLayoutVSeparator");
            std::printf("%.9g %.9g: %s event \"%s\" target %s separator %u passive %s\n", point.x, point.y,
                        quotedName(event->getElement()).c_str(), text.c_str(),
                        quotedName(event->getTarget()).c_str(), event->getSeparatorIndex(),
                        event->isPassive() ? "true" : "false");
            event->destroy();
        }
        marks.push_back(mark);
    }
    engine->setCurrentScene(nullptr);
    engine->setResourcesHandler(nullptr);
    resources->release();
}

template <typename T>
int run(Scene2D<T>* scene, IObject* engine, const HitTestRequest& request) {
    std::vector<HitMark> marks;
    if (request.tester)
        hitTestPoints(static_cast<TesterEngine*>(engine), scene, request.points, marks);
    else
        hitTestPoints(static_cast<PhysicsEngine2D*>(engine), scene, request.points, marks);
    if (request.svgPath.isEmpty())
        return 0;
    if (!host::writeDocumentText(request.svgPath, drawScene2D(*scene, marks))) {
        host::reportDocumentFailure(request.svgPath, "cannot be written");
        return 1;
    }
    if (hostVerbosity() != HostVerbosity::Quiet)
        std::printf("Picture: %s\n", request.svgPath.c_str());
    return 0;
}

} // namespace

int runHitTestCommand(const List<String>& operands) {
    HitTestRequest request;
    if (!parseRequest(operands, request))
        return 2;
    if (!request.pointsPath.isEmpty() && !readPointsFile(request.pointsPath, request.points))
        return 1;
    IScene2D* scene = readScene2DFile(request.scenePath, request.strict);
    if (scene == nullptr) {
        host::reportDocumentFailure(request.scenePath);
        return 1;
    }
    const char* engineName = request.tester ? "TesterEngine" : "PhysicsEngine2D";
    IObject* engine = host::createObjectByTypeName(String(engineName));
    if (engine == nullptr) {
        scene->release();
        fail("the module has no %s", engineName);
        return 1;
    }
    std::printf("%s: %s scene, %s\n", request.scenePath.c_str(), scene->getTemplateTypeName().c_str(),
                engineName);
    const int exitCode = scene->getTemplateType() == VariableTypeDouble
                             ? run(static_cast<Scene2D<double>*>(scene), engine, request)
                             : run(static_cast<Scene2D<float>*>(scene), engine, request);
    engine->release();
    scene->release();
    return exitCode;
}

} // namespace zor
