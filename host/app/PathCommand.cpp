// zor_host path IN OUT: converts between path files (.json or .xml: documents of path command
// objects, made through the module's registered classes) and SVG. A path file becomes an SVG
// picture (OUT, .svg) and its path data is printed; SVG path data (a picture's <path> elements,
// or path data alone in any other file) becomes a path file of double-precision commands.

#include "common/platform/Platform.h"
#include "host/app/HostCommands.h"
#include "host/io/ObjectDocument.h"
#include "host/path/PathCommandEntry.h"
#include "host/path/PathCommandObjects.h"
#include "host/path/SvgPathData.h"
#include "host/path/SvgPicture.h"

#include <cstdio>
#include <regex>
#include <string>

namespace zor {

namespace {

bool hasExtension(const String& path, const char* extension) {
    const std::string name = path.c_str();
    const std::string suffix = extension;
    if (name.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - suffix.size() + i])) != suffix[i])
            return false;
    return true;
}

bool readText(const String& path, std::string& text) {
    std::FILE* file = platform::openFile(path, "rb");
    if (file == nullptr)
        return false;
    char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, count);
    const bool read = std::ferror(file) == 0;
    std::fclose(file);
    return read;
}

bool writeText(const String& path, const std::string& text) {
    std::FILE* file = platform::openFile(path, "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

int fail(const String& file, const std::string& why) {
    std::fprintf(stderr, "zor_host path: %s: %s\n", file.c_str(), why.c_str());
    return 1;
}

// The path's commands as steps; commands without an SVG form (the root class) are refused.
bool stepsOf(const List<IObject*>& entries, host::PathSteps& steps, std::string& error) {
    uint64 index = 0;
    bool anchored = false;
    for (IObject* object : entries) {
        auto* entry = dynamic_cast<host::PathCommandEntry*>(object);
        host::PathStep step;
        if (entry == nullptr || !host::readPathCommand(entry->command(), entry->getTypeName(), step, error)) {
            error = "command " + std::to_string(index) + " (" + object->getTypeName().c_str() +
                    ") has no SVG form";
            return false;
        }
        for (int i = 0; i < host::pointCount(step.kind); ++i)
            anchored = anchored || step.points[i].xAnchor != 0 || step.points[i].yAnchor != 0;
        steps.push_back(step);
        ++index;
    }
    if (anchored)
        std::fprintf(stderr,
                     "zor_host path: anchors other than LEFT and TOP have no SVG form and are left out\n");
    return true;
}

int pathFileToSvg(const String& input, const String& output) {
    if (!hasExtension(output, ".svg"))
        return fail(output, "a path file becomes an SVG picture: expected the extension .svg");
    List<IObject*> entries;
    if (!host::readObjectFile(input, &host::PathCommandEntry::create, entries))
        return fail(input, "could not be read as a path file (the log says why; --echo shows it here)");
    host::PathSteps steps;
    std::string error;
    const bool converted = stepsOf(entries, steps, error);
    for (IObject* entry : entries)
        entry->release();
    if (!converted)
        return fail(input, error);
    if (!writeText(output, host::svgPicture(steps)))
        return fail(output, "could not be written");
    std::printf("%s\n", host::formatSvgPathData(steps).c_str());
    return 0;
}

// The path data of every <path> element of a picture, in order; false when there is none.
bool pathDataOfPicture(const std::string& picture, std::vector<std::string>& data) {
    static const std::regex pathElement(R"re(<path\b[^>]*?\sd\s*=\s*(?:"([^"]*)"|'([^']*)'))re");
    for (auto match = std::sregex_iterator(picture.begin(), picture.end(), pathElement);
         match != std::sregex_iterator(); ++match)
        data.push_back((*match)[1].matched ? (*match)[1].str() : (*match)[2].str());
    return !data.empty();
}

int svgToPathFile(const String& input, const String& output) {
    std::string text;
    if (!readText(input, text))
        return fail(input, "could not be read");
    std::vector<std::string> data;
    if (!hasExtension(input, ".svg"))
        data.push_back(text);
    else if (!pathDataOfPicture(text, data))
        return fail(input, "the picture has no <path> element with path data");
    host::PathSteps steps;
    for (std::size_t i = 0; i < data.size(); ++i) {
        host::PathSteps read;
        std::string error;
        if (!host::parseSvgPathData(data[i], read, error))
            return fail(input, "malformed path data" +
                                   (data.size() > 1 ? " in <path> " + std::to_string(i + 1) : std::string()) +
                                   ", " + error);
        steps.insert(steps.end(), read.begin(), read.end());
    }
    List<IObject*> entries;
    std::string error;
    for (const host::PathStep& step : steps) {
        RefCountedData* command = host::createPathCommand(step, true, error);
        if (command == nullptr)
            break;
        entries.pushBack(new host::PathCommandEntry(command, host::pathCommandTypeName(step.kind, true)));
    }
    const bool complete = entries.size() == steps.size();
    const bool written = complete && host::writeObjectFile(output, entries, false);
    for (IObject* entry : entries)
        entry->release();
    if (!complete)
        return fail(input, error);
    if (!written)
        return fail(output, "could not be written (the log says why; --echo shows it here)");
    std::printf("Converted %llu command%s from %s to %s\n", static_cast<unsigned long long>(steps.size()),
                steps.size() == 1 ? "" : "s", input.c_str(), output.c_str());
    return 0;
}

} // namespace

int runPathCommand(const List<String>& operands) {
    const String& input = operands.front();
    const String& output = operands.back();
    host::DocumentFormat format;
    if (host::documentFormatOf(input, format))
        return pathFileToSvg(input, output);
    if (host::documentFormatOf(output, format))
        return svgToPathFile(input, output);
    return fail(input, "one of IN and OUT must be a path file (.json or .xml)");
}

} // namespace zor
