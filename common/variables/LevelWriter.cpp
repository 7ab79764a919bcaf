#include "common/variables/LevelWriter.h"

#include "common/framework/IAttributeReserved.h"
#include "common/framework/IVariableWriter.h"
#include "common/variables/VectorVariables.h"

namespace zor {

namespace {
// Untyped own variables are elements of their node, not attributes of it.
constexpr uint8 kElement = 0;
} // namespace

LevelWriter::LevelWriter(IObject* writer, uint8 skipOwn, uint8 typedMode, uint64 context)
    : m_writer(static_cast<IVariableWriter*>(writer)), m_skipOwn(skipOwn), m_typedMode(typedMode),
      m_context(context) {}

bool LevelWriter::writeLevels(IAttributeReserved* level, IObject* writer, uint8 typedMode, uint64 context) {
    if (static_cast<IVariableWriter*>(writer)->isSinglePass())
        return level->writeVariables(writer, false, typedMode, context);
    if (!level->writeVariables(writer, true, typedMode, context))
        return false;
    return level->writeVariables(writer, false, typedMode, context);
}

bool LevelWriter::takesOwnVariables() const {
    return m_typedMode || !m_skipOwn || m_writer->isSinglePass();
}

bool LevelWriter::writeBool(const String& name, const uint8& value) const {
    return m_typedMode ? m_writer->writeBoolTyped(name, &value, m_context)
                       : m_writer->writeBool(name, &value, kElement, 0);
}

bool LevelWriter::writeUInt32(const String& name, const uint32& value) const {
    return m_typedMode ? m_writer->writeUInt32Typed(name, &value, m_context)
                       : m_writer->writeUInt32(name, &value, kElement, 0, 0);
}

bool LevelWriter::writeReal(const String& name, const float& value) const {
    return m_typedMode ? m_writer->writeFloatTyped(name, &value, m_context)
                       : m_writer->writeFloat(name, &value, kElement, 0);
}

bool LevelWriter::writeReal(const String& name, const double& value) const {
    return m_typedMode ? m_writer->writeDoubleTyped(name, &value, m_context)
                       : m_writer->writeDouble(name, &value, kElement, 0);
}

bool LevelWriter::writeString(const String& name, const String& value) const {
    return m_typedMode ? m_writer->writeStringTyped(name, &value, m_context)
                       : m_writer->writeString(name, &value, kElement, 0);
}

bool LevelWriter::writeEnumeration(const String& name, const uint32& value,
                                   EnumerationConverter converter) const {
    const uint8 byte = static_cast<uint8>(value);
    return m_typedMode ? m_writer->writeUInt8Typed(name, &byte, m_context)
                       : m_writer->writeEnumeration(name, &byte, 0, kElement, converter);
}

template <typename T>
bool LevelWriter::writeVector(const String& name, const Vector3<T>& value) const {
    return m_typedMode ? writeTypedVariable(m_writer, name, value, m_context)
                       : writeNodeVariable(m_writer, name, value);
}

template bool LevelWriter::writeVector(const String&, const Vector3<float>&) const;
template bool LevelWriter::writeVector(const String&, const Vector3<double>&) const;

} // namespace zor
