#include "host/app/HostCommands.h"

namespace zor {
namespace {

// One line per command, in the order the usage text lists them.
const HostCommand kCommands[] = {
    {"read", "FILE", "reads the objects of a .json or .xml file and prints them as JSON", 1, 1,
     &runReadCommand},
    {"convert", "IN OUT", "reads the objects of IN and writes them to OUT (.json or .xml each)", 2, 2,
     &runConvertCommand},
    {"path", "IN OUT",
     "converts a path file (.json or .xml) to an SVG picture, or SVG path data to a path file", 2, 2,
     &runPathCommand},
    {"simulate", "SCENE [--steps N] [--dt S] [--out DIR] [--strict]",
     "steps a 3D scene file; writes trajectories.csv, the final scene, picture.svg and replay.html to DIR", 1,
     8, &runSimulateCommand},
    {"hittest", "SCENE (X Y | --points FILE) [--engine 2d|tester] [--svg FILE] [--strict]",
     "prints the element of a 2D scene file under each point; the picture shows them", 3, 8,
     &runHitTestCommand},
};

} // namespace

const HostCommand* findHostCommand(const String& name) {
    for (const HostCommand& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

String hostCommandsUsage() {
    String usage("commands:\n");
    for (const HostCommand& command : kCommands) {
        String line;
        line.format("  %-25s  %s\n", (String(command.name) + String(" ") + String(command.operands)).c_str(),
                    command.summary);
        usage.pushBack(line);
    }
    return usage;
}

} // namespace zor
