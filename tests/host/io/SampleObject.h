#pragma once

#include "common/framework/IVariableReader.h"
#include "common/framework/IVariableWriter.h"
#include "common/variables/Vector.h"
#include "host/core/HostObject.h"

namespace zor::test {

/// A host object with one variable of every kind the readers and writers carry, read and
/// written the way the module's attributes do it (two passes, vectors as nodes or typed values).
class SampleObject : public HostObjectOf<IObject> {
public:
    ZOR_BLOCK_ALLOCATED
    ZOR_DELETING_DESTRUCTOR(SampleObject)

    static IObject* create(const String& typeName) {
        return typeName == "SampleObject" ? new SampleObject() : nullptr;
    }

    /// "OFF", "ON" and "AUTO" for 0, 1 and 2.
    static bool convertMode(String& name, uint8& value, bool toValue) {
        static const char* const kNames[] = {"OFF", "ON", "AUTO"};
        for (uint8 i = 0; i < 3; ++i) {
            if (toValue ? name == kNames[i] : value == i) {
                if (toValue)
                    value = i;
                else
                    name = String(kNames[i]);
                return true;
            }
        }
        return false;
    }

    const String& getTypeName() const override {
        static const String typeName("SampleObject");
        return typeName;
    }

    void reset() override {
        position = {};
        scale = 1;
        mass = 1;
        visible = 0;
        mode = 0;
        count = 0;
        label.clear();
    }

    bool read(IObject* object) override {
        auto* reader = static_cast<IVariableReader*>(object);
        reset();
        bool found = false;
        if (!reader->enterNode(String("position"), found))
            return false;
        if (found) {
            if (!reader->readFloat(String("x"), found, position.x, 0) ||
                !reader->readFloat(String("y"), found, position.y, 0) ||
                !reader->readFloat(String("z"), found, position.z, 0))
                return false;
            reader->leaveNode();
        }
        return reader->readFloat(String("scale"), found, scale, 0) &&
               reader->readDouble(String("mass"), found, mass, 0) &&
               reader->readBool(String("visible"), found, visible, 0) &&
               reader->readEnumeration(String("mode"), found, mode, &convertMode) &&
               reader->readUInt32(String("count"), found, count, 0) &&
               reader->readString(String("label"), found, label, 0);
    }

    bool write(IObject* object, uint8 typedMode, uint64 context) override {
        auto* writer = static_cast<IVariableWriter*>(object);
        if (writer->isSinglePass())
            return writeVariables(writer, false, typedMode != 0, context);
        return writeVariables(writer, true, typedMode != 0, context) &&
               writeVariables(writer, false, typedMode != 0, context);
    }

    Vector3<float> position;
    float scale = 1;
    double mass = 1;
    uint8 visible = 0;
    uint8 mode = 0;
    uint32 count = 0;
    String label;

protected:
    ~SampleObject() = default;

private:
    bool writeComponents(IVariableWriter* writer, bool skipOwn, bool typedMode, uint64 context) {
        const char* const names[] = {"x", "y", "z"};
        const float* components[] = {&position.x, &position.y, &position.z};
        for (int i = 0; i < 3; ++i) {
            if (typedMode) {
                if (!writer->writeFloatTyped(String(names[i]), components[i], context))
                    return false;
            } else if (writer->isSinglePass() || skipOwn) {
                if (!writer->writeFloat(String(names[i]), components[i], 1, 0))
                    return false;
            }
        }
        return true;
    }

    bool writePosition(IVariableWriter* writer, bool typedMode, uint64 context) {
        const bool onePass = writer->isSinglePass();
        if (typedMode) {
            const String typeName("Vector3{float}");
            if (writer->beginTypedValue(typeName)) {
                if (writeComponents(writer, !onePass, true, context) && !onePass)
                    writeComponents(writer, false, true, context);
                writer->endTypedValue();
            }
            return writer->writeTypedValue(String("position"), 254, nullptr, typeName);
        }
        if (!writer->beginNode(String("position"), 0))
            return false;
        bool written = writeComponents(writer, !onePass, false, context);
        if (written && !onePass)
            written = writeComponents(writer, false, false, context);
        writer->endNode();
        return written;
    }

    bool writeVariables(IVariableWriter* writer, bool skipOwn, bool typedMode, uint64 context) {
        if (typedMode)
            return writePosition(writer, true, context) && writer->writeFloatTyped(String("scale"), &scale, context) &&
                   writer->writeDoubleTyped(String("mass"), &mass, context) &&
                   writer->writeBoolTyped(String("visible"), &visible, context) &&
                   writer->writeUInt8Typed(String("mode"), &mode, context) &&
                   writer->writeUInt32Typed(String("count"), &count, context) &&
                   writer->writeStringTyped(String("label"), &label, context);
        if (!writer->isSinglePass() && skipOwn)
            return true;
        return writePosition(writer, false, context) && writer->writeFloat(String("scale"), &scale, 0, 0) &&
               writer->writeDouble(String("mass"), &mass, 0, 0) && writer->writeBool(String("visible"), &visible, 0, 0) &&
               writer->writeEnumeration(String("mode"), &mode, 0, 0, &convertMode) &&
               writer->writeUInt32(String("count"), &count, 0, 0, 0) &&
               writer->writeString(String("label"), &label, 0, 0);
    }
};

} // namespace zor::test
