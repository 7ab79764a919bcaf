#include "host/scene2d/Scene2DDescription.h"

#include "host/io/NumberText.h"
#include "host/io/VariablePlace.h"
#include "host/scene3d/SceneVariables.h"

namespace zor {
namespace {

IVariableReader* variablesOf(IObject* reader) {
    return static_cast<IVariableReader*>(reader);
}

// An absent number keeps its value; the readers refuse what is not finite.
bool readNumber(IVariableReader* reader, const char* name, double& value) {
    bool found = false;
    return reader->readDouble(String(name), found, value, 0);
}

// The node `name` with the numbers `first` and `second` (x and y unless named otherwise).
bool readPair(IVariableReader* reader, const char* name, double& first, double& second) {
    bool found = false;
    if (!reader->enterNode(String(name), found))
        return false;
    if (!found)
        return true;
    const bool read = readNumber(reader, "x", first) && readNumber(reader, "y", second);
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

bool readRectangle(IVariableReader* reader, Rect<double>& rectangle) {
    bool found = false;
    if (!reader->enterNode(String("rectangle"), found))
        return false;
    if (!found)
        return true;
    bool read = readNumber(reader, "x", rectangle.x) && readNumber(reader, "y", rectangle.y) &&
                readNumber(reader, "width", rectangle.width) &&
                readNumber(reader, "height", rectangle.height);
    if (read && rectangle.width < 0)
        read =
            host::refuseVariable(*reader, "width", "a width of 0 or more", host::numberText(rectangle.width));
    if (read && rectangle.height < 0)
        read = host::refuseVariable(*reader, "height", "a height of 0 or more",
                                    host::numberText(rectangle.height));
    reader->leaveNode();
    return read;
}

bool writePair(const host::VariablePass& pass, const char* name, double x, double y) {
    return pass.node(name,
                     [&](const host::VariablePass& own) { return own.number("x", x) && own.number("y", y); });
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
    if (!host::readName(variables, *this) ||
        !variables->readString(String("numberType"), found, numberType, 0))
        return false;
    isDouble = numberType == "double";
    return isDouble || numberType == "float" ||
           host::refuseVariable(*reader, "numberType", "\"float\" or \"double\"",
                                std::string("\"") + numberType.c_str() + "\"");
}

bool SceneDescription::write(IObject* writer, uint8 typedMode, uint64 context) {
    return host::writeInPasses(writer, typedMode, context, [this](const host::VariablePass& pass) {
        return pass.text("name", getName()) && pass.text("numberType", String(isDouble ? "double" : "float"));
    });
}

const String& ElementDescription::getTypeName() const {
    return elementTypeName(kind);
}

bool ElementDescription::read(IObject* reader) {
    IVariableReader* variables = variablesOf(reader);
    if (!host::readName(variables, *this) || !readRectangle(variables, rectangle) ||
        !readPair(variables, "translation", transform.translation.x, transform.translation.y) ||
        !readNumber(variables, "rotation", transform.rotationDegrees) ||
        !readPair(variables, "scale", transform.scale.x, transform.scale.y) ||
        !readNumber(variables, "contentScale", contentScale) ||
        !readNumber(variables, "separatorThickness", separatorThickness) ||
        !readFlag(variables, "hitTestVisible", state.hitTestVisible) ||
        !readFlag(variables, "pointerActive", state.pointerActive) ||
        !readFlag(variables, "keyboardActive", state.keyboardActive))
        return false;
    return separatorThickness >= 0 ||
           host::refuseVariable(*reader, "separatorThickness", "a thickness of 0 or more",
                                host::numberText(separatorThickness));
}

bool ElementDescription::write(IObject* writer, uint8 typedMode, uint64 context) {
    return host::writeInPasses(writer, typedMode, context, [this](const host::VariablePass& pass) {
        const uint8 flags[3] = {state.hitTestVisible, state.pointerActive, state.keyboardActive};
        return pass.text("name", getName()) &&
               pass.node("rectangle",
                         [this](const host::VariablePass& own) {
                             return own.number("x", rectangle.x) && own.number("y", rectangle.y) &&
                                    own.number("width", rectangle.width) &&
                                    own.number("height", rectangle.height);
                         }) &&
               writePair(pass, "translation", transform.translation.x, transform.translation.y) &&
               pass.number("rotation", transform.rotationDegrees) &&
               writePair(pass, "scale", transform.scale.x, transform.scale.y) &&
               pass.number("contentScale", contentScale) &&
               (kind != ElementKind2D::DockingLayout ||
                pass.number("separatorThickness", separatorThickness)) &&
               pass.flag("hitTestVisible", flags[0]) && pass.flag("pointerActive", flags[1]) &&
               pass.flag("keyboardActive", flags[2]);
    });
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
    if (!host::readName(variables, *this) || !readNumber(variables, "position", position) ||
        !readNumber(variables, "start", start) || !readNumber(variables, "length", length) ||
        !variables->readUInt32(String("activeBits"), found, activeBits, 0))
        return false;
    if (activeBits > 3)
        return host::refuseVariable(*reader, "activeBits", "0, 1, 2 or 3", std::to_string(activeBits));
    if (!variables->readUInt32(String("index"), found, readIndex, 0))
        return false;
    if (found && readIndex > kDockingSeparatorIndexMask)
        return host::refuseVariable(*reader, "index", "an index below 2^30", std::to_string(readIndex));
    if (found)
        index = readIndex;
    return true;
}

bool SeparatorDescription::write(IObject* writer, uint8 typedMode, uint64 context) {
    return host::writeInPasses(writer, typedMode, context, [this](const host::VariablePass& pass) {
        const uint32 ownIndex = index >= 0 ? static_cast<uint32>(index) : 0;
        return pass.text("name", getName()) && pass.number("position", position) &&
               pass.number("start", start) && pass.number("length", length) &&
               pass.count("activeBits", activeBits) && (index < 0 || pass.count("index", ownIndex));
    });
}

} // namespace zor
