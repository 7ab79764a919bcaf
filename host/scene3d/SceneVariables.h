#pragma once

#include "common/containers/String.h"
#include "common/framework/IVariableReader.h"
#include "common/framework/IVariableWriter.h"
#include "common/variables/VectorVariables.h"

namespace zor::host {

// How the host's scene objects read and write their variables: numbers of the scene's type,
// vectors as nodes of components, and the pass rule of the writers (with a two-pass writer an
// object's own variables go out in the second pass only, vector components in the first).

/// Reads the number `name` (float or double by T); an absent one keeps its value.
template <typename T>
bool readNumber(IVariableReader* reader, const char* name, T& value) {
    bool found = false;
    if constexpr (sizeof(T) == sizeof(float))
        return reader->readFloat(String(name), found, value, 0);
    else
        return reader->readDouble(String(name), found, value, 0);
}

/// Reads the whole number `name`; an absent one keeps its value.
inline bool readCount(IVariableReader* reader, const char* name, uint32& value) {
    bool found = false;
    return reader->readUInt32(String(name), found, value, 0);
}

/// Reads the variable "name" into `object`'s name; an absent one keeps it.
template <typename Object>
bool readName(IVariableReader* reader, Object& object) {
    bool found = false;
    String name;
    if (!reader->readString(String("name"), found, name, 0))
        return false;
    if (found)
        object.setName(name);
    return true;
}

/// Reads the vector node `name`; an absent one keeps its value.
template <typename T>
bool readVector(IVariableReader* reader, const char* name, Vector3<T>& value) {
    bool found = false;
    if (!reader->enterNode(String(name), found))
        return false;
    if (!found)
        return true;
    const bool read = readComponents(value, reader);
    reader->leaveNode();
    return read;
}

/// One pass of an object's variables: what `writeOwn` writes goes out in typed mode, with a
/// single-pass writer, or in the second pass of a two-pass writer.
struct VariablePass {
    IVariableWriter* writer;
    bool typedMode;
    bool writeOwn;
    uint64 context;

    template <typename T>
    bool number(const char* name, const T& value) const {
        if (typedMode) {
            if constexpr (sizeof(T) == sizeof(float))
                return writer->writeFloatTyped(String(name), &value, context);
            else
                return writer->writeDoubleTyped(String(name), &value, context);
        }
        if (!writeOwn)
            return true;
        if constexpr (sizeof(T) == sizeof(float))
            return writer->writeFloat(String(name), &value, 0, 0);
        else
            return writer->writeDouble(String(name), &value, 0, 0);
    }

    bool count(const char* name, const uint32& value) const {
        if (typedMode)
            return writer->writeUInt32Typed(String(name), &value, context);
        return !writeOwn || writer->writeUInt32(String(name), &value, 0, 0, 0);
    }

    bool flag(const char* name, const uint8& value) const {
        if (typedMode)
            return writer->writeBoolTyped(String(name), &value, context);
        return !writeOwn || writer->writeBool(String(name), &value, 0, 0);
    }

    bool text(const char* name, const String& value) const {
        if (typedMode)
            return writer->writeStringTyped(String(name), &value, context);
        return !writeOwn || writer->writeString(String(name), &value, 0, 0);
    }

    template <typename T>
    bool vector(const char* name, const Vector3<T>& value) const {
        if (typedMode)
            return writeTypedVariable(writer, String(name), value, context);
        return !writeOwn || writeNodeVariable(writer, String(name), value);
    }

    /// The node `name` with what `writeContent(pass)` writes into it; a node's variables go out
    /// together, in the pass that writes the object's own.
    template <typename WriteContent>
    bool node(const char* name, WriteContent writeContent) const {
        if (!typedMode && !writeOwn)
            return true;
        if (!writer->beginNode(String(name), 0))
            return false;
        const bool written = writeContent(VariablePass{writer, typedMode, true, context});
        writer->endNode();
        return written;
    }
};

/// An object's write: `writeVariables(pass)` once for a single-pass writer, twice (without,
/// then with its own variables) for a two-pass one.
template <typename WriteVariables>
bool writeInPasses(IObject* object, uint8 typedMode, uint64 context, WriteVariables writeVariables) {
    auto* writer = static_cast<IVariableWriter*>(object);
    if (writer->isSinglePass())
        return writeVariables(VariablePass{writer, typedMode != 0, true, context});
    return writeVariables(VariablePass{writer, typedMode != 0, false, context}) &&
           writeVariables(VariablePass{writer, typedMode != 0, true, context});
}

} // namespace zor::host
