// zor_host hittest SCENE X Y [--engine 2d|tester] [--svg FILE], or SCENE --points FILE: the 2D
// scene file SCENE is built as the host's scene, and the module's PhysicsEngine2D (or its
// TesterEngine) says which element lies under each point. One line per point; the picture shows
// the scene with the points and what they hit.

#include "common/object/Identifiers.h"
#include "common/variables/VariableType.h"
#include "host/app/HitTestRequest.h"
#include "host/app/HostCommands.h"
#include "host/core/HostFactory.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentFile.h"
#include "host/io/Utf8Check.h"
#include "host/scene2d/Scene2DFile.h"
#include "host/scene2d/Scene2DPicture.h"
// The module's classes, for the slots of their operations; every call below goes through the
// objects' own tables.
#include "physics/attributes/HitTestEvent.h"
#include "physics/hittest/PhysicsEngine2D.h"
#include "physics/hittest/TesterEngine.h"

#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

namespace zor {
namespace {

bool fail(const char* format, const char* detail = "") {
    std::fprintf(stderr, "zor_host hittest: ");
    std::fprintf(stderr, format, detail);
    std::fprintf(stderr, "\n");
    return false;
}

// Refusals are reported as a document's: one line in the log, the same on the console.
bool readPointsFile(const String& path, std::vector<Vector2<double>>& points) {
    std::string text;
    if (host::readDocumentText(path, text) && parsePoints(path, text, points))
        return true;
    host::reportDocumentFailure(path);
    return false;
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
    std::string error;
    if (!parseHitTestRequest(operands, request, error)) {
        fail("%s", error.c_str());
        return 2;
    }
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
