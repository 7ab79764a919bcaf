#include "host/io/VariablePlace.h"

#include "common/log/Log.h"
#include "host/io/DocumentFailure.h"
#include "host/io/Utf8Check.h"

#include <cstdio>

namespace zor::host {
namespace {

// The file and place of `name`; a reader of another kind has only the variable's name.
void placeOf(IObject* reader, const char* name, std::string& file, std::string& place) {
    const auto* places = dynamic_cast<const VariablePlaces*>(reader);
    file = places != nullptr ? places->documentName().c_str() : "the document";
    place = places != nullptr ? places->variablePlace(String(name)) : name;
}

} // namespace

bool refuseVariable(IObject* reader, const char* name, const std::string& expected,
                    const std::string& found) {
    std::string file;
    std::string place;
    placeOf(reader, name, file, place);
    logDocumentFailure("zor::host::refuseVariable", String(file.c_str()), place, "expected %s, found %s",
                       expected.c_str(), found.c_str());
    return false;
}

void warnVariable(IObject* reader, const char* name, const std::string& expected, const std::string& found) {
    std::string file;
    std::string place;
    placeOf(reader, name, file, place);
    const std::string line = printableText(file) + ": " + printableText(place) + ": warning: expected " +
                             printableText(expected) + ", found " + printableText(found);
    zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, "zor::host::warnVariable", "%s", line.c_str());
    std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace zor::host
