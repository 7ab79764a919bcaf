// zor_host generate pile|wide-pile|rain N OUT: writes a scene of N spheres falling into a walled
// box, so that tests and benchmarks make their large scenes instead of keeping them.

#include "host/app/GeneratedScene.h"
#include "host/app/HostCommands.h"
#include "host/io/DocumentFailure.h"
#include "host/io/DocumentFile.h"
#include "host/io/ObjectDocument.h"
#include "host/io/Utf8Check.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace zor {

namespace {

// Ten times the largest scene the loader is made for.
constexpr unsigned long long kMostGenerated = 10000000;

int usage(const std::string& message) {
    std::fprintf(stderr, "zor_host generate: %s\n", message.c_str());
    return kExitUsage;
}

} // namespace

int runGenerateCommand(const List<String>& operands) {
    auto it = operands.begin();
    const String& kindWord = *it;
    const String& countText = *++it;
    const String& output = *++it;
    host::GeneratedKind kind;
    if (!host::generatedKindOf(kindWord.c_str(), kind))
        return usage("the scene is pile, wide-pile or rain, not " + host::printableText(kindWord.c_str()));
    char* end = nullptr;
    errno = 0;
    const unsigned long long count = std::strtoull(countText.c_str(), &end, 10);
    if (countText.isEmpty() || *end != '\0' || errno != 0 || countText.c_str()[0] == '-' || count == 0 ||
        count > kMostGenerated)
        return usage("N takes a whole number from 1 to " + std::to_string(kMostGenerated) + ", not " +
                     host::printableText(countText.c_str()));
    host::DocumentFormat format;
    if (!host::documentFormatOf(output, format))
        return usage("OUT takes the extension .json or .xml, not " + host::printableText(output.c_str()));
    std::FILE* file = host::openDocumentPart(output);
    if (file != nullptr)
        host::writeGeneratedScene(kind, count, format, file);
    if (file == nullptr || !host::finishDocumentPart(file, output)) {
        host::reportDocumentFailure(output, "cannot be written");
        return kExitRefused;
    }
    if (hostVerbosity() != HostVerbosity::Quiet)
        std::printf("Wrote %s: %llu sphere%s (%s)\n", output.c_str(), count, count == 1 ? "" : "s",
                    kindWord.c_str());
    return 0;
}

} // namespace zor
