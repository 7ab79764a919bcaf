// zor_host path IN OUT: converts between path files (.json or .xml: documents of path command
// objects, made through the module's registered classes) and SVG. A path file becomes an SVG
// picture (OUT, .svg) and its path data is printed; SVG path data (a picture's <path> elements,
// or path data alone in any other file) becomes a path file of double-precision commands.

#include "host/app/HostCommands.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentFile.h"
#include "host/io/DocumentLimits.h"
#include "host/io/ObjectDocument.h"
#include "host/path/PathCommandEntry.h"
#include "host/path/PathCommandObjects.h"
#include "host/path/SvgPathData.h"
#include "host/path/SvgPicture.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zor {

namespace {

constexpr const char* kFunction = "zor::runPathCommand";

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

// Refuses `file`: one line in the log, the same on the console.
int refuse(const String& file, const std::string& place, const std::string& message) {
    host::logDocumentFailure(kFunction, file, place, "%s", message.c_str());
    host::reportDocumentFailure(file);
    return 1;
}

// The path's commands as steps; commands without an SVG form (the root class) are refused.
bool stepsOf(const List<IObject*>& entries, host::PathSteps& steps, std::string& place, std::string& error) {
    uint64 index = 0;
    bool anchored = false;
    for (IObject* object : entries) {
        auto* entry = dynamic_cast<host::PathCommandEntry*>(object);
        host::PathStep step;
        if (entry == nullptr || !host::readPathCommand(entry->command(), entry->getTypeName(), step, error)) {
            place = "command " + std::to_string(index);
            error = std::string("expected a command that has an SVG form, found ") +
                    object->getTypeName().c_str();
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
        return refuse(output, "the file name",
                      "expected the extension .svg: a path file becomes an SVG picture");
    List<IObject*> entries;
    if (!host::readObjectFile(input, &host::PathCommandEntry::create, entries)) {
        host::reportDocumentFailure(input);
        return 1;
    }
    host::PathSteps steps;
    std::string place;
    std::string error;
    const bool converted = stepsOf(entries, steps, place, error);
    for (IObject* entry : entries)
        entry->release();
    if (!converted)
        return refuse(input, place, error);
    if (!host::writeDocumentText(output, host::svgPicture(steps))) {
        host::reportDocumentFailure(output, "cannot be written");
        return 1;
    }
    std::printf("%s\n", host::formatSvgPathData(steps).c_str());
    return 0;
}

// The path data of every <path> element of a picture, in order, with the offset of each.
// A plain scan rather than a regular expression: those recurse per character and overflow the
// stack on long attributes.
void pathDataOfPicture(std::string_view picture,
                       std::vector<std::pair<std::string_view, std::size_t>>& data) {
    for (std::size_t at = picture.find("<path"); at != std::string_view::npos;
         at = picture.find("<path", at)) {
        at += 5;
        if (at < picture.size() && std::string_view(" \t\r\n/>").find(picture[at]) == std::string_view::npos)
            continue;
        const std::size_t end = std::min(picture.find('>', at), picture.size());
        for (std::size_t d = at; d < end; ++d) {
            if (picture[d] != 'd' ||
                std::string_view(" \t\r\n").find(picture[d - 1]) == std::string_view::npos)
                continue;
            std::size_t value = d + 1;
            while (value < end && (picture[value] == ' ' || picture[value] == '\t' || picture[value] == '\n'))
                ++value;
            if (value >= end || picture[value] != '=')
                continue;
            for (++value;
                 value < end && std::string_view(" \t\r\n").find(picture[value]) != std::string_view::npos;)
                ++value;
            if (value >= end || (picture[value] != '"' && picture[value] != '\''))
                continue;
            const std::size_t close = picture.find(picture[value], value + 1);
            if (close == std::string_view::npos || close > end)
                break;
            data.emplace_back(picture.substr(value + 1, close - value - 1), value + 1);
            break;
        }
        at = end;
    }
}

int svgToPathFile(const String& input, const String& output) {
    std::string text;
    if (!host::readDocumentText(input, text)) {
        host::reportDocumentFailure(input);
        return 1;
    }
    std::vector<std::pair<std::string_view, std::size_t>> data;
    if (!hasExtension(input, ".svg"))
        data.emplace_back(text, 0);
    else
        pathDataOfPicture(text, data);
    if (data.empty())
        return refuse(input, "the picture", "expected a <path> element with path data, found none");
    host::PathSteps steps;
    for (std::size_t i = 0; i < data.size(); ++i) {
        host::PathSteps read;
        std::string error;
        if (!host::parseSvgPathData(data[i].first, read, error)) {
            // The parser counts columns in the path data; the place is counted in the file.
            const std::size_t column = error.rfind("column ", 0) == 0 ? std::stoul(error.substr(7)) : 1;
            const std::size_t colon = error.find(": ");
            return refuse(input,
                          host::textPlace(text, static_cast<std::ptrdiff_t>(data[i].second + column - 1)),
                          colon == std::string::npos ? error : error.substr(colon + 2));
        }
        if (steps.size() + read.size() > host::kMostPathCommands)
            return refuse(input, host::textPlace(text, static_cast<std::ptrdiff_t>(data[i].second)),
                          "expected " + std::to_string(host::kMostPathCommands) +
                              " commands at most, found more");
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
        return refuse(input, "command " + std::to_string(entries.size()), error);
    if (!written) {
        host::reportDocumentFailure(output, "cannot be written");
        return 1;
    }
    if (hostVerbosity() != HostVerbosity::Quiet)
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
    return refuse(input, "the file name", "expected one of IN and OUT to be a path file (.json or .xml)");
}

} // namespace zor
