#pragma once

#include "common/memory/RefCountedData.h"

namespace zor {

class IVariableReader;
class IVariableWriter;
class String;
class VariableReference;

/// The root of the 2D path commands: a reference-counted value with a command type and named
/// members that the host reads, writes and addresses by path. This root has no members (type 0);
/// each command class appends its own, packed. T is float or double.
template <typename T>
class Path2DCommand : public RefCountedData {
public:
    ZOR_DELETING_DESTRUCTOR(Path2DCommand)
    /// Slot 1: a new command of the same class holding a copy of this one's members.
    RefCountedData* create() const override;
    /// Slot 4: every member to 0.
    virtual void reset();
    /// Slot 5: "Path2DCommand{float}", "MoveToPath2DCommand{double}", ...
    virtual const String& getTypeName() const;
    /// Slot 6: 1 move, 2 line, 3 curve, 4 smooth, 5 quadratic, 6 quadratic smooth, 7 arc, 255 close.
    virtual uint8 getCommandType() const;
    /// Slot 7: a new reference to the member named by `path` ("p2", "p2.xAnchor", "radius.y"),
    /// or null when there is no such member.
    virtual VariableReference* getVariableReference(const String& path);
    /// Slot 8: resets, then reads the members; false at the first refused read.
    virtual bool read(IVariableReader* reader);
    /// Slot 9: writes the members in as many passes as the writer takes: scalars as attributes
    /// of the command in the first, points and radius as nodes in the second.
    virtual bool write(IVariableWriter* writer, bool typedMode, uint64 context);
};

static_assert(sizeof(Path2DCommand<float>) == 24 && sizeof(Path2DCommand<double>) == 24);

extern template class Path2DCommand<float>;
extern template class Path2DCommand<double>;

} // namespace zor
