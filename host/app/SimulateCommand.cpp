// zor_host simulate SCENE [options]: steps a 3D scene file with the module's PhysicsEngine3D and
// writes what happened as it happens: trajectories.csv, the final scene in the scene file's
// format, picture.svg, replay.html and summary.json.

#include "common/object/Identifiers.h"
#include "common/platform/Platform.h"
#include "host/app/HostCommands.h"
#include "host/core/HostFactory.h"
#include "host/io/MarkupText.h"
#include "host/io/ObjectDocument.h"
#include "host/io/Utf8Check.h"
#include "host/scene3d/SceneFile.h"
#include "host/simulate/RunProgress.h"
#include "host/simulate/RunRecords.h"
#include "host/simulate/RunSummary.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zor {

namespace {

// More steps than a person waits for; longer runs are several runs, each from the last one's
// final scene.
constexpr uint64 kMostSteps = 1000000000;

struct SimulateOptions {
    String scene;
    host::SimulationSettings settings;
    host::RecordSettings records;
    bool finalScene = true;
    String outputDirectory;
    /// Unusual values of the scene are refused rather than questioned.
    bool strict = false;
};

bool fail(const std::string& message) {
    std::fprintf(stderr, "zor_host simulate: %s\n", message.c_str());
    return false;
}

bool parseCount(const String& text, uint64 most, uint64& out) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.isEmpty() || *end != '\0' || errno != 0 || text.c_str()[0] == '-' || value == 0 || value > most)
        return false;
    out = value;
    return true;
}

bool parseStep(const String& text, double& out) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.isEmpty() || *end != '\0' || !(value > 0) || value > 1e6)
        return false;
    out = value;
    return true;
}

// "csv,final,svg,replay" or any of them.
bool parseOutputs(const String& text, SimulateOptions& options) {
    options.records.csv = options.records.svg = options.records.replay = options.finalScene = false;
    std::string list(text.c_str());
    for (std::size_t at = 0; at <= list.size();) {
        std::size_t comma = list.find(',', at);
        if (comma == std::string::npos)
            comma = list.size();
        const std::string name = list.substr(at, comma - at);
        bool* selected = name == "csv"      ? &options.records.csv
                         : name == "final"  ? &options.finalScene
                         : name == "svg"    ? &options.records.svg
                         : name == "replay" ? &options.records.replay
                                            : nullptr;
        if (selected == nullptr)
            return fail("--outputs takes csv, final, svg and replay separated by commas, not " +
                        host::printableText(list));
        *selected = true;
        at = comma + 1;
    }
    return true;
}

// The scene file's name without folder and extension.
std::string baseName(const String& path) {
    std::string name(path.c_str());
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool parseOptions(const List<String>& operands, SimulateOptions& options) {
    auto it = operands.begin();
    options.scene = *it;
    for (++it; it != operands.end(); ++it) {
        const String option = *it;
        if (option == "--strict") {
            options.strict = true;
            continue;
        }
        const bool known = option == "--steps" || option == "--dt" || option == "--out" ||
                           option == "--record-every" || option == "--outputs";
        if (!known)
            return fail(std::string("unknown option ") + host::printableText(option.c_str()));
        if (++it == operands.end())
            return fail(std::string(option.c_str()) + " needs a value");
        const String& value = *it;
        const std::string shown = host::printableText(value.c_str());
        if (option == "--steps" && !parseCount(value, kMostSteps, options.settings.steps))
            return fail("--steps takes a whole number from 1 to " + std::to_string(kMostSteps) + ", not " +
                        shown);
        if (option == "--record-every" && !parseCount(value, kMostSteps, options.records.every))
            return fail("--record-every takes a positive whole number, not " + shown);
        if (option == "--dt" && !parseStep(value, options.settings.deltaT))
            return fail("--dt takes a positive number of time units up to 1e6, not " + shown);
        if (option == "--out")
            options.outputDirectory = value;
        if (option == "--outputs" && !parseOutputs(value, options))
            return false;
    }
    if (options.outputDirectory.isEmpty())
        options.outputDirectory = String((baseName(options.scene) + "_run").c_str());
    return true;
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

    const std::string title = host::printableText(baseName(options.scene)) + ": " +
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
    if (!parseOptions(operands, options))
        return kExitUsage;
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
