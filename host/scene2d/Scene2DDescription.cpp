#include "host/scene2d/Scene2DDescription.h"

#include "common/log/Log.h"

#include <cmath>

namespace zor {
namespace {

constexpr const char* kReadFunction = "zor::host::readScene2D";

IVariableReader* variablesOf(IObject* reader) {
    return static_cast<IVariableReader*>(reader);
}

bool refuse(const IObject& object, const char* variable, const char* expected) {
    zor_log(ZOR_LOG_MODULE, false, LogLevelError, kReadFunction, "%s \"%s\": %s must be %s",
            object.getTypeName().c_str(), object.getName().c_str(), variable, expected);
    return false;
}

// A finite number; an absent one keeps its value.
bool readNumber(IVariableReader* reader, const IObject& object, const char* name, double& value) {
    bool found = false;
    if (!reader->readDouble(String(name), found, value, 0))
        return false;
    return std::isfinite(value) || refuse(object, name, "a finite number");
}

// The node `name` with the numbers `first` and `second` (x and y unless named otherwise).
bool readPair(IVariableReader* reader, const IObject& object, const char* name, double& first, double& second,
              const char* firstName = "x", const char* secondName = "y") {
    bool found = false;
    if (!reader->enterNode(String(name), found))
        return false;
    if (!found)
        return true;
    const bool read =
        readNumber(reader, object, firstName, first) && readNumber(reader, object, secondName, second);
    reader->leaveNode();
    return read;
}

bool readFlag(IVariableReader* reader, const char* name, bool& value) {
    bool found = false;
    uint8 byte = value ? 1 : 0;
    if (!reader->readBool(String(name), found, byte, 0))
        return false;
    value = byte != 0;
    return true;
}

bool readName(IVariableReader* reader, IObject& object) {
    bool found = false;
    String name;
    if (!reader->readString(String("name"), found, name, 0))
        return false;
    object.setName(name);
    return true;
}

bool readRectangle(IVariableReader* reader, const IObject& object, Rect<double>& rectangle) {
    bool found = false;
    if (!reader->enterNode(String("rectangle"), found))
        return false;
    if (!found)
        return true;
    const bool read = readNumber(reader, object, "x", rectangle.x) &&
                      readNumber(reader, object, "y", rectangle.y) &&
                      readNumber(reader, object, "width", rectangle.width) &&
                      readNumber(reader, object, "height", rectangle.height);
    reader->leaveNode();
    if (!read)
        return false;
    return (rectangle.width >= 0 && rectangle.height >= 0) ||
           refuse(object, "rectangle", "of a size that is not negative");
}

} // namespace

const String& SceneDescription::getTypeName() const {
    static const String typeName("Scene2D");
    return typeName;
}

bool SceneDescription::read(IObject* reader) {
    IVariableReader* variables = variablesOf(reader);
    bool found = false;
    String numberType("float");
    if (!readName(variables, *this) || !variables->readString(String("numberType"), found, numberType, 0))
        return false;
    isDouble = numberType == "double";
    return isDouble || numberType == "float" || refuse(*this, "numberType", "\"float\" or \"double\"");
}

const String& ElementDescription::getTypeName() const {
    return elementTypeName(kind);
}

bool ElementDescription::read(IObject* reader) {
    IVariableReader* variables = variablesOf(reader);
    if (!readName(variables, *this) || !readRectangle(variables, *this, rectangle) ||
        !readPair(variables, *this, "translation", transform.translation.x, transform.translation.y) ||
        !readNumber(variables, *this, "rotation", transform.rotationDegrees) ||
        !readPair(variables, *this, "scale", transform.scale.x, transform.scale.y) ||
        !readNumber(variables, *this, "contentScale", contentScale) ||
        !readNumber(variables, *this, "separatorThickness", separatorThickness) ||
        !readFlag(variables, "hitTestVisible", state.hitTestVisible) ||
        !readFlag(variables, "pointerActive", state.pointerActive) ||
        !readFlag(variables, "keyboardActive", state.keyboardActive))
        return false;
    return separatorThickness >= 0 || refuse(*this, "separatorThickness", "not negative");
}

const String& SeparatorDescription::getTypeName() const {
    static const String horizontalName("HorizontalSeparator");
    static const String verticalName("VerticalSeparator");
    return horizontal ? horizontalName : verticalName;
}

bool SeparatorDescription::read(IObject* reader) {
    IVariableReader* variables = variablesOf(reader);
    bool found = false;
    uint32 readIndex = 0;
    if (!readName(variables, *this) || !readNumber(variables, *this, "position", position) ||
        !readNumber(variables, *this, "start", start) || !readNumber(variables, *this, "length", length) ||
        !variables->readUInt32(String("activeBits"), found, activeBits, 0))
        return false;
    if (activeBits > 3)
        return refuse(*this, "activeBits", "0, 1, 2 or 3");
    if (!variables->readUInt32(String("index"), found, readIndex, 0))
        return false;
    if (found && readIndex > kDockingSeparatorIndexMask)
        return refuse(*this, "index", "below 2^30");
    if (found)
        index = readIndex;
    return true;
}

} // namespace zor
