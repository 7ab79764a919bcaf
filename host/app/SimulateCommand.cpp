// zor_host simulate SCENE [--steps N] [--dt S] [--out DIR]: steps a 3D scene file with the
// module's PhysicsEngine3D and writes what happened: trajectories.csv, the final scene in the
// scene file's format, picture.svg and replay.html.

#include "common/object/Identifiers.h"
#include "host/app/HostCommands.h"
#include "host/core/HostFactory.h"
#include "host/io/ObjectDocument.h"
#include "host/scene3d/SceneFile.h"
#include "host/simulate/Simulation.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace zor {

namespace {

struct SimulateOptions {
    String scene;
    host::SimulationSettings settings;
    String outputDirectory;
    /// Unusual values of the scene are refused rather than questioned.
    bool strict = false;
};

bool parseCount(const String& text, uint64& out) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.isEmpty() || *end != '\0' || errno != 0 || text.c_str()[0] == '-' || value == 0)
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
        if (++it == operands.end()) {
            std::fprintf(stderr, "zor_host simulate: %s needs a value\n", option.c_str());
            return false;
        }
        const String& value = *it;
        bool valid = true;
        if (option == "--steps")
            valid = parseCount(value, options.settings.steps);
        else if (option == "--dt")
            valid = parseStep(value, options.settings.deltaT);
        else if (option == "--out")
            options.outputDirectory = value;
        else {
            std::fprintf(stderr, "zor_host simulate: unknown option %s\n", option.c_str());
            return false;
        }
        if (!valid) {
            std::fprintf(stderr, "zor_host simulate: %s takes a positive %s, not %s\n", option.c_str(),
                         option == "--steps" ? "whole number" : "number of time units", value.c_str());
            return false;
        }
    }
    if (options.outputDirectory.isEmpty())
        options.outputDirectory = String((baseName(options.scene) + "_run").c_str());
    return true;
}

// A path from UTF-8 text, whatever the system's code page.
std::filesystem::path pathOf(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream file(pathOf(path), std::ios::binary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    return !file.fail();
}

bool createFolder(const String& path) {
    std::error_code error;
    std::filesystem::create_directories(pathOf(path.c_str()), error);
    return !error;
}

// Prints a line at every tenth of a long run.
std::function<void(uint64)> progressLine(uint64 steps) {
    if (steps < 10000)
        return nullptr;
    return [steps](uint64 step) {
        if (step % (steps / 10) == 0)
            std::printf("  step %llu of %llu\n", static_cast<unsigned long long>(step),
                        static_cast<unsigned long long>(steps));
    };
}

template <typename T>
bool simulate(IPhysicsEngine3D& engine, IObject* scene, const SimulateOptions& options,
              host::Trajectory& trajectory) {
    return host::runSimulation(engine, *static_cast<Scene3D<T>*>(scene), options.settings, trajectory,
                               progressLine(options.settings.steps));
}

// Writes the four results; false after saying which could not be written.
bool writeResults(const SimulateOptions& options, IObject* scene, const host::Trajectory& trajectory) {
    const std::string folder = std::string(options.outputDirectory.c_str()) + "/";
    const std::string title = baseName(options.scene) + ": " + std::to_string(options.settings.steps) +
                              " steps of " + host::numberText(options.settings.deltaT);
    host::DocumentFormat format = host::DocumentFormat::Json;
    host::documentFormatOf(options.scene, format);
    const std::string finalScene =
        folder + "final" + (format == host::DocumentFormat::Json ? ".json" : ".xml");
    List<IObject*> objects;
    objects.pushBack(scene);
    const struct {
        std::string path;
        bool written;
    } results[] = {
        {folder + "trajectories.csv",
         writeText(folder + "trajectories.csv", host::trajectoryCsv(trajectory))},
        {finalScene, host::writeObjectFile(String(finalScene.c_str()), objects, false)},
        {folder + "picture.svg", writeText(folder + "picture.svg", host::trajectorySvg(trajectory, title))},
        {folder + "replay.html", writeText(folder + "replay.html", host::replayPage(trajectory, title))}};
    bool all = true;
    for (const auto& result : results) {
        std::printf("  %s %s\n", result.written ? "wrote" : "could not write", result.path.c_str());
        all = all && result.written;
    }
    return all;
}

} // namespace

int runSimulateCommand(const List<String>& operands) {
    SimulateOptions options;
    if (!parseOptions(operands, options))
        return 2;
    String error;
    IObject* scene = host::readSceneFile(options.scene, error, options.strict);
    if (scene == nullptr) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    IObject* created = host::createObjectByTypeName(String("PhysicsEngine3D"));
    if (created == nullptr || !created->isTypeOf(guids::kPhysicsEngine3D)) {
        std::fprintf(stderr, "zor_host simulate: the module has no PhysicsEngine3D\n");
        if (created != nullptr)
            created->release();
        scene->release();
        return 1;
    }
    // The factory made the module's engine, which implements this interface.
    auto* engine = static_cast<IPhysicsEngine3D*>(created);
    auto* resources = new HostObject();
    engine->setResourcesHandler(resources);
    resources->release();

    host::Trajectory trajectory;
    std::printf("Simulating %s: %llu steps of %s\n", options.scene.c_str(),
                static_cast<unsigned long long>(options.settings.steps),
                host::numberText(options.settings.deltaT).c_str());
    const bool ran = scene->getTemplateType() == 10 ? simulate<float>(*engine, scene, options, trajectory)
                                                    : simulate<double>(*engine, scene, options, trajectory);
    engine->release();
    int exitCode = 1;
    if (!ran)
        std::fprintf(stderr, "zor_host simulate: the engine refused a step (the log says why)\n");
    else if (!createFolder(options.outputDirectory))
        std::fprintf(stderr, "zor_host simulate: cannot create %s\n", options.outputDirectory.c_str());
    else if (writeResults(options, scene, trajectory)) {
        std::printf("Picture: %s/picture.svg (open %s/replay.html to watch the run)\n",
                    options.outputDirectory.c_str(), options.outputDirectory.c_str());
        exitCode = 0;
    }
    scene->release();
    return exitCode;
}

} // namespace zor
