#include "FuzzChecks.h"

#include "host/io/DocumentObjects.h"
#include "host/io/JsonObjectStream.h"
#include "host/io/SampleObject.h"
#include "host/path/PathCommandEntry.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene2d/Scene2DFile.h"
#include "host/scene3d/SceneCheck.h"
#include "host/scene3d/SceneFile.h"
#include "physics/module/ObjectAllocators.h"
#include "support/TestApplicationData.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zor::test {

using host::releaseObjects;

namespace {

// The log lines other than warnings: a scene's unusual values are questioned with a warning
// line each, whether the document is then accepted or not. The level follows the first "] " of
// a line ("... [ pid:tid ] WARN  ..."); the text of the document may hold the same letters later.
std::vector<std::string> failureLines(const TestApplicationData& record) {
    std::vector<std::string> lines;
    for (const std::string& line : record.writtenTexts()) {
        const std::size_t level = line.find("] ");
        if (level == std::string::npos || line.compare(level + 2, 5, "WARN ") != 0)
            lines.push_back(line);
    }
    return lines;
}

bool checkObjects(TestApplicationData& record, host::DocumentFormat format, const std::uint8_t* data,
                  std::size_t size, host::ObjectCreator create, const host::ObjectCheck& check = {}) {
    const String fileName(format == host::DocumentFormat::Json ? "fuzz.json" : "fuzz.xml");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    List<IObject*> objects;
    if (!host::readObjects(format, fileName, text, create, objects, check))
        return objects.isEmpty() && failureLines(record).size() == 1;
    if (!failureLines(record).empty())
        return false;

    // What was read goes back out. XML can refuse text that came in as character references
    // (control characters), with its one line; JSON takes everything it reads.
    std::string written;
    const bool writes = host::writeObjects(format, fileName, objects, false, written);
    releaseObjects(objects);
    if (!writes)
        return format == host::DocumentFormat::Xml && failureLines(record).size() == 1;

    std::string rewritten;
    const bool same = host::readObjects(format, fileName, written, create, objects, check) &&
                      host::writeObjects(format, fileName, objects, false, rewritten) && rewritten == written;
    releaseObjects(objects);
    return same && failureLines(record).empty();
}

// The failure line of a read without its time and thread: from the file's name on.
std::string failureText(const TestApplicationData& record, const String& fileName) {
    std::string text;
    for (const std::string& line : failureLines(record))
        text += line.substr(std::min(line.find(fileName.c_str()), line.size()));
    return text;
}

// zor_host simulate streams JSON scenes: the streamed read accepts what the whole-document read
// accepts, with the same objects, and refuses the rest with the same line.
bool streamAgrees(TestApplicationData& record, const std::uint8_t* data, std::size_t size) {
    const String fileName("fuzz.json");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string results[2];
    for (int streamed = 0; streamed < 2; ++streamed) {
        record.clearCaptured();
        host::SceneCheck check(false);
        List<IObject*> objects;
        const bool read = streamed ? host::streamJsonObjects(fileName, text, &host::createSceneObject,
                                                             objects, std::ref(check))
                                   : host::readObjects(host::DocumentFormat::Json, fileName, text,
                                                       &host::createSceneObject, objects, std::ref(check));
        std::string written;
        if (read)
            host::writeObjects(host::DocumentFormat::Json, fileName, objects, false, written);
        releaseObjects(objects);
        results[streamed] = (read ? "read: " + written : "refused: ") + failureText(record, fileName);
    }
    return results[0] == results[1];
}

} // namespace

bool checkDocumentInput(host::DocumentFormat format, DocumentObjects objects, const std::uint8_t* data,
                        std::size_t size) {
    if (objects == DocumentObjects::Samples) {
        TestApplicationData record;
        return checkObjects(record, format, data, size, &SampleObject::create);
    }
    // The scene files' attributes come from the module's classes in the host's factory, and the
    // scenes pass the checks zor_host reads them with.
    TestApplicationData record(&HostObject::create, &HostPhysicsAttribute::create);
    registerObjectAllocators();
    host::SceneCheck sceneCheck(false);
    switch (objects) {
    case DocumentObjects::Scene3D:
        return checkObjects(record, format, data, size, &host::createSceneObject, std::ref(sceneCheck)) &&
               (format == host::DocumentFormat::Xml || streamAgrees(record, data, size));
    case DocumentObjects::Scene2D:
        return checkObjects(
            record, format, data, size, &createScene2DFileObject,
            [](IObject& object, IObject& reader) { return checkScene2DObject(object, reader, false); });
    default:
        return checkObjects(record, format, data, size, &host::PathCommandEntry::create);
    }
}

} // namespace zor::test
