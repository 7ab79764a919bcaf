#pragma once

#include "common/containers/String.h"
#include "common/object/IObject.h"

#include <string>

namespace zor::host {

/// What the host's readers of variables (JSON and XML) tell of the document they read, so that
/// an object can refuse or question a value it has read with the value's place.
class VariablePlaces {
public:
    /// The document's file name.
    virtual const String& documentName() const = 0;
    /// The place of the variable `name` of the node being read, as the reader's own refusals
    /// give it (a JSON pointer, or "line L, column C: <name>").
    virtual std::string variablePlace(const String& name) const = 0;

protected:
    ~VariablePlaces() = default;
};

/// Refuses the variable `name` that an object has read through `reader` but cannot use: one
/// ERROR line "FILE: PLACE: expected <expected>, found <found>" (see logDocumentFailure). False.
bool refuseVariable(IObject* reader, const char* name, const std::string& expected, const std::string& found);

/// Questions a value that is legal but unusual: one WARN line in the log and the same line on
/// stderr, "FILE: PLACE: warning: expected <expected>, found <found>".
void warnVariable(IObject* reader, const char* name, const std::string& expected, const std::string& found);

} // namespace zor::host
