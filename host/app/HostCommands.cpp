#include "host/app/HostCommands.h"

namespace zor {
namespace {

HostVerbosity g_verbosity = HostVerbosity::Normal;

// One line per command, in the order the usage text lists them.
const HostCommand kCommands[] = {
    {"read", "FILE", "reads the objects of a .json or .xml file and prints them as JSON", "", 1, 1,
     &runReadCommand},
    {"convert", "IN OUT", "reads the objects of IN and writes them to OUT (.json or .xml each)", "", 2, 2,
     &runConvertCommand},
    {"path", "IN OUT",
     "converts a path file (.json or .xml) to an SVG picture, or SVG path data to a path file", "", 2, 2,
     &runPathCommand},
    {"simulate", "SCENE [options]",
     "steps a 3D scene file and writes what happened, as it happens, to a folder",
     "  --steps N            steps to run, 1 to 1000000000 (default 200)\n"
     "  --dt S               the length of a step, above 0 and up to 1e6 (default 0.02)\n"
     "  --out DIR            the output folder, created before the first step (default SCENE_run,\n"
     "                       after the scene file's name, in the current folder)\n"
     "  --record-every N     record every Nth step, and the last (default 1)\n"
     "  --outputs LIST       what to write besides summary.json, from csv (trajectories.csv),\n"
     "                       final (the final scene), svg (picture.svg) and replay (replay.html),\n"
     "                       separated by commas (default csv,final,svg,replay)\n"
     "  --strict             refuse a scene with unusual values rather than warn about them\n",
     1, 12, &runSimulateCommand},
    {"hittest", "SCENE (X Y | --points FILE) [options]",
     "prints the element of a 2D scene file under each point; the picture shows them",
     "  --points FILE        points to test, two numbers a line (instead of X Y)\n"
     "  --engine 2d|tester   PhysicsEngine2D or TesterEngine (default 2d)\n"
     "  --svg FILE           also draw the scene, the points and what they hit (default: no picture)\n"
     "  --strict             refuse a scene with unusual values rather than warn about them\n",
     3, 8, &runHitTestCommand},
    {"generate", "pile|wide-pile|rain N OUT",
     "writes a 3D scene of N spheres falling into a walled box to OUT (.json or .xml)",
     "  pile                 the box 18 cells across: the pile grows taller with N\n"
     "  wide-pile            a box as wide as three layers of N take\n"
     "  rain                 the wide pile's box, the spheres dropped from four units apart\n",
     3, 3, &runGenerateCommand},
};

} // namespace

HostVerbosity hostVerbosity() {
    return g_verbosity;
}

void setHostVerbosity(HostVerbosity verbosity) {
    g_verbosity = verbosity;
}

const HostCommand* findHostCommand(const String& name) {
    for (const HostCommand& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

String hostCommandsUsage() {
    String usage("commands (zor_host help COMMAND for its options):\n");
    for (const HostCommand& command : kCommands) {
        String line;
        line.format("  %-8s  %s\n", command.name, command.summary);
        usage.pushBack(line);
    }
    return usage;
}

String hostCommandHelp(const HostCommand& command) {
    String help;
    help.format("usage: zor_host [options] %s %s\n  %s\n", command.name, command.operands, command.summary);
    if (*command.options != '\0') {
        help.pushBackUTF8String("options:\n");
        help.pushBackUTF8String(command.options);
    }
    help.pushBackUTF8String(hostExitCodes());
    return help;
}

const char* hostExitCodes() {
    return "exit status:\n"
           "  0  done\n"
           "  1  refused: a file that cannot be read or written, a scene the engine cannot step, or a\n"
           "     physics module that refused to start\n"
           "  2  a command-line error\n"
           "  3  the physics module could not be loaded\n"
           "  4  the host cannot start (its own folder unknown, or the log folder cannot be written)\n"
           "  5  simulate stopped early: a body's position or speed stopped being finite (the outputs\n"
           "     up to that step are written)\n";
}

} // namespace zor
