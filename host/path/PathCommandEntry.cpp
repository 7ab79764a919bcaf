#include "host/path/PathCommandEntry.h"

#include "common/framework/IVariableReader.h"
#include "common/framework/IVariableWriter.h"
#include "common/path/Path2DCommand.h"
#include "host/path/PathCommandObjects.h"

#include <cstring>

namespace zor::host {

namespace {

// The command seen as the class of its precision; its operations are the same slots for both.
template <typename Operation>
auto withCommand(RefCountedData* command, bool isDouble, Operation operation) {
    if (isDouble)
        return operation(static_cast<Path2DCommand<double>*>(command));
    return operation(static_cast<Path2DCommand<float>*>(command));
}

} // namespace

PathCommandEntry::PathCommandEntry(RefCountedData* command, const String& typeName)
    : m_command(command), m_typeName(typeName),
      m_double(std::strstr(typeName.c_str(), "{double}") != nullptr) {}

PathCommandEntry::~PathCommandEntry() {
    m_command->release();
}

IObject* PathCommandEntry::create(const String& typeName) {
    RefCountedData* command = createPathCommand(typeName);
    return command != nullptr ? new PathCommandEntry(command, typeName) : nullptr;
}

const String& PathCommandEntry::getTypeName() const {
    return m_typeName;
}

bool PathCommandEntry::read(IObject* reader) {
    auto* variables = dynamic_cast<IVariableReader*>(reader);
    return variables != nullptr &&
           withCommand(m_command, m_double, [&](auto* command) { return command->read(variables); });
}

bool PathCommandEntry::write(IObject* writer, uint8 typedMode, uint64 context) {
    auto* variables = dynamic_cast<IVariableWriter*>(writer);
    return variables != nullptr && withCommand(m_command, m_double, [&](auto* command) {
               return command->write(variables, typedMode != 0, context);
           });
}

} // namespace zor::host
