// zor_host simulate SCENE [options]: steps a 3D scene file with the module's PhysicsEngine3D and
// writes what happened as it happens: trajectories.csv, the final scene in the scene file's
// format, picture.svg, replay.html and summary.json.

#include "common/object/Identifiers.h"
#include "common/platform/Platform.h"
#include "host/app/HostCommands.h"
#include "host/app/SimulateOptions.h"
#include "host/core/HostFactory.h"
#include "host/io/MarkupText.h"
#include "host/io/ObjectDocument.h"
#include "host/io/Utf8Check.h"
#include "host/scene3d/SceneFile.h"
#include "host/simulate/RunProgress.h"
#include "host/simulate/RunRecords.h"
#include "host/simulate/RunSummary.h"

#include <cstdio>
#include <string>

namespace zor {

namespace {

bool fail(const std::string& message) {
    std::fprintf(stderr, "zor_host simulate: %s\n", message.c_str());
    return false;
}

template <typename T>
host::RunEnd simulate(IPhysicsEngine3D& engine, IObject* scene, const SimulateOptions& options,
                      host::RunObserver& observer) {
    return host::runSimulation(engine, *static_cast<Scene3D<T>*>(scene), options.settings, observer);
}

// The engine from the module's factory, with a resources handler; null after saying why.
IPhysicsEngine3D* createEngine() {
    IObject* created = host::createObjectByTypeName(String("PhysicsEngine3D"));
    if (created == nullptr || !created->isTypeOf(guids::kPhysicsEngine3D)) {
        fail("the module has no PhysicsEngine3D");
        if (created != nullptr)
            created->release();
        return nullptr;
    }
    // The factory made the module's engine, which implements this interface.
    auto* engine = static_cast<IPhysicsEngine3D*>(created);
    auto* resources = new HostObject();
    engine->setResourcesHandler(resources);
    resources->release();
    return engine;
}

// Runs the scene into the records; the exit code.
int run(const SimulateOptions& options, IObject* scene, IPhysicsEngine3D& engine, host::RunRecords& records) {
    const bool talk = hostVerbosity() != HostVerbosity::Quiet;
    if (talk)
        std::printf("Simulating %s: %llu steps of %s\n", host::printableText(options.scene.c_str()).c_str(),
                    static_cast<unsigned long long>(options.settings.steps),
                    host::numberText(options.settings.deltaT).c_str());
    host::RunSummary summary;
    host::RunProgress progress(stderr, options.settings.steps);
    std::vector<host::RunObserver*> observers = {&records, &summary};
    if (talk && platform::isTerminal(stderr))
        observers.push_back(&progress);
    host::RunObservers all(observers);
    const host::RunEnd end = scene->getTemplateType() == 10 ? simulate<float>(engine, scene, options, all)
                                                            : simulate<double>(engine, scene, options, all);
    std::string note;
    if (end.kind == host::RunEnd::Kind::EngineRefused)
        note = "the engine refused step " + std::to_string(end.lastStep + 1) + " (the log says why)";
    else if (end.kind == host::RunEnd::Kind::NotFinite)
        note = "stopped at " + end.reason + "; the outputs end at step " + std::to_string(end.lastStep);
    if (!note.empty())
        fail(host::printableText(note));

    const std::string title = host::printableText(sceneBaseName(options.scene)) + ": " +
                              std::to_string(end.lastStep) + " steps of " +
                              host::numberText(options.settings.deltaT);
    std::vector<std::string> written;
    std::string error;
    bool complete = records.write(title, note, summary.json(), written, error);
    // A scene that holds a value no file can hold is not written.
    if (complete && options.finalScene && end.kind == host::RunEnd::Kind::NotFinite)
        fail("the final scene is not written: it holds values that are not finite");
    else if (complete && options.finalScene) {
        host::DocumentFormat format = host::DocumentFormat::Json;
        host::documentFormatOf(options.scene, format);
        const std::string path =
            records.folder() + "final" + (format == host::DocumentFormat::Json ? ".json" : ".xml");
        List<IObject*> objects;
        objects.pushBack(scene);
        complete = host::writeObjectFile(String(path.c_str()), objects, false);
        if (complete)
            written.push_back(path);
        else
            error = "cannot write " + path + " (the log says why)";
    }
    if (!complete)
        fail(host::printableText(error));
    if (talk) {
        std::printf("%s", summary.text().c_str());
        for (const std::string& path : written)
            std::printf("  wrote %s\n", host::printableText(path).c_str());
        if (options.records.svg && complete)
            std::printf("Open %s to see the paths.\n",
                        host::printableText(records.folder() + "picture.svg").c_str());
        if (options.records.replay && complete)
            std::printf("Open %s to watch the run.\n",
                        host::printableText(records.folder() + "replay.html").c_str());
    }
    if (!complete || end.kind == host::RunEnd::Kind::EngineRefused)
        return 1;
    return end.kind == host::RunEnd::Kind::NotFinite ? kExitStopped : 0;
}

} // namespace

int runSimulateCommand(const List<String>& operands) {
    SimulateOptions options;
    std::string usageError;
    if (!parseSimulateOptions(operands, options, usageError)) {
        fail(usageError);
        return kExitUsage;
    }
    String error;
    IObject* scene = host::readSceneFile(options.scene, error, options.strict);
    if (scene == nullptr) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    host::RunRecords records(options.outputDirectory.c_str(), options.records);
    std::string folderError;
    if (!records.open(folderError)) {
        fail(host::printableText(folderError));
        scene->release();
        return 1;
    }
    IPhysicsEngine3D* engine = createEngine();
    const int exitCode = engine != nullptr ? run(options, scene, *engine, records) : 1;
    if (engine != nullptr)
        engine->release();
    scene->release();
    return exitCode;
}

} // namespace zor
