#pragma once

#include "common/framework/IVariableWriter.h"
#include "common/variables/LevelReader.h"
#include "common/variables/LevelWriter.h"
#include "host/core/HostObject.h"

namespace zor::test {

/// A host object with one variable of every kind the readers and writers carry, read and
/// written level by level as the module's attributes are.
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

    bool read(IObject* reader) override {
        reset();
        const LevelReader in(reader);
        return in.readVector(String("position"), position) && in.readReal(String("scale"), scale) &&
               in.readReal(String("mass"), mass) && in.readBool(String("visible"), visible) &&
               in.readEnumeration(String("mode"), mode, &convertMode) &&
               in.readUInt32(String("count"), count) && in.readString(String("label"), label);
    }

    bool write(IObject* writer, uint8 typedMode, uint64 context) override {
        if (static_cast<IVariableWriter*>(writer)->isSinglePass())
            return writeVariables(writer, false, typedMode, context);
        return writeVariables(writer, true, typedMode, context) &&
               writeVariables(writer, false, typedMode, context);
    }

    Vector3<float> position;
    float scale = 1;
    double mass = 1;
    uint8 visible = 0;
    uint32 mode = 0;
    uint32 count = 0;
    String label;

protected:
    ~SampleObject() = default;

private:
    bool writeVariables(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context) {
        const LevelWriter out(writer, skipOwn, typedMode, context);
        return !out.takesOwnVariables() ||
               (out.writeVector(String("position"), position) && out.writeReal(String("scale"), scale) &&
                out.writeReal(String("mass"), mass) && out.writeBool(String("visible"), visible) &&
                out.writeEnumeration(String("mode"), mode, &convertMode) &&
                out.writeUInt32(String("count"), count) && out.writeString(String("label"), label));
    }
};

} // namespace zor::test
