#include "host/io/VariablePlace.h"

#include "common/log/Log.h"
#include "host/io/DocumentFailure.h"
#include "host/io/Utf8Check.h"

#include <cstdio>

namespace zor::host {

ValuePlace placeOfVariable(IObject& reader, const char* name) {
    const auto* places = dynamic_cast<const VariablePlaces*>(&reader);
    if (places == nullptr)
        return {"the document", name != nullptr ? name : "an object"};
    return {places->documentName().c_str(),
            name != nullptr ? places->variablePlace(String(name)) : places->objectPlace()};
}

bool refuseValue(const ValuePlace& at, const std::string& expected, const std::string& found) {
    logDocumentFailure("zor::host::refuseValue", String(at.file.c_str()), at.place, "expected %s, found %s",
                       expected.c_str(), found.c_str());
    return false;
}

void warnValue(const ValuePlace& at, const std::string& expected, const std::string& found) {
    const std::string line = printableText(at.file) + ": " + printableText(at.place) +
                             ": warning: expected " + printableText(expected) + ", found " +
                             printableText(found);
    zor_log(ZOR_LOG_MODULE, false, LogLevelWarn, "zor::host::warnValue", "%s", line.c_str());
    std::fprintf(stderr, "%s\n", line.c_str());
}

bool refuseVariable(IObject& reader, const char* name, const std::string& expected,
                    const std::string& found) {
    return refuseValue(placeOfVariable(reader, name), expected, found);
}

} // namespace zor::host
