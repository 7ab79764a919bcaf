#include "common/variables/LevelReader.h"

#include "common/framework/IVariableReader.h"
#include "common/variables/VectorVariables.h"

namespace zor {

LevelReader::LevelReader(IObject* reader) : m_reader(static_cast<IVariableReader*>(reader)) {}

// The found flags are the reader's business: an absent variable keeps the value it had.

bool LevelReader::readBool(const String& name, uint8& value) const {
    bool found = false;
    return m_reader->readBool(name, found, value, 0);
}

bool LevelReader::readUInt32(const String& name, uint32& value) const {
    bool found = false;
    return m_reader->readUInt32(name, found, value, 0);
}

bool LevelReader::readReal(const String& name, float& value) const {
    bool found = false;
    return m_reader->readFloat(name, found, value, 0);
}

bool LevelReader::readReal(const String& name, double& value) const {
    bool found = false;
    return m_reader->readDouble(name, found, value, 0);
}

bool LevelReader::readString(const String& name, String& value) const {
    bool found = false;
    return m_reader->readString(name, found, value, 0);
}

bool LevelReader::readEnumeration(const String& name, uint32& value, EnumerationConverter converter) const {
    bool found = false;
    uint8 byte = static_cast<uint8>(value);
    if (!m_reader->readEnumeration(name, found, byte, converter))
        return false;
    value = byte;
    return true;
}

template <typename T>
bool LevelReader::readVector(const String& name, Vector3<T>& value) const {
    bool found = false;
    if (!m_reader->enterNode(name, found))
        return false;
    if (!found)
        return true;
    if (!readComponents(value, m_reader))
        return false;
    m_reader->leaveNode();
    return true;
}

template bool LevelReader::readVector(const String&, Vector3<float>&) const;
template bool LevelReader::readVector(const String&, Vector3<double>&) const;

} // namespace zor
