#pragma once

#include "host/core/HostObject.h"

namespace zor {
class RefCountedData;
}

namespace zor::host {

/// A path command of the module as an entry of an object document: the host object answers
/// with the command's type name and reads and writes through the command's own read and write,
/// so that a path file is a document of its commands in order. It holds one reference on the
/// command.
class PathCommandEntry : public HostObjectOf<IObject> {
public:
    ZOR_BLOCK_ALLOCATED

    /// Wraps `command` (made under `typeName`), taking over the caller's reference.
    PathCommandEntry(RefCountedData* command, const String& typeName);

    /// The entry for a new command of the registered class `typeName`, or null.
    static IObject* create(const String& typeName);

    ZOR_DELETING_DESTRUCTOR(PathCommandEntry)

    RefCountedData* command() const { return m_command; }
    bool isDouble() const { return m_double; }

    /// The command's type name ("LineToPath2DCommand{double}").
    const String& getTypeName() const override;
    /// The command's read (slot 8) with the host reader.
    bool read(IObject* reader) override;
    /// The command's write (slot 9) with the host writer.
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;

protected:
    ~PathCommandEntry();

private:
    RefCountedData* m_command;
    String m_typeName;
    bool m_double;
};

} // namespace zor::host
