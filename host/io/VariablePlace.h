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
    /// The place of the object whose variables are being read.
    virtual std::string objectPlace() const = 0;

protected:
    ~VariablePlaces() = default;
};

/// Where a value stands: the document's file name and the place in it.
struct ValuePlace {
    std::string file;
    std::string place;
};

/// The place of the variable `name` that an object reads through `reader`; null `name`: the
/// place of the object itself. A reader of another kind gives "the document" and the name.
ValuePlace placeOfVariable(IObject& reader, const char* name);

/// Refuses a value an object has read but cannot use: one ERROR line
/// "FILE: PLACE: expected <expected>, found <found>" (see logDocumentFailure). False.
bool refuseValue(const ValuePlace& at, const std::string& expected, const std::string& found);

/// Questions a value that is legal but unusual: one WARN line in the log and the same line on
/// stderr, "FILE: PLACE: warning: expected <expected>, found <found>".
void warnValue(const ValuePlace& at, const std::string& expected, const std::string& found);

/// refuseValue at the place of the variable `name` of `reader`.
bool refuseVariable(IObject& reader, const char* name, const std::string& expected, const std::string& found);

} // namespace zor::host
