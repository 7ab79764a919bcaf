#include "host/path/PathCommandObjects.h"

#include "common/application/ApplicationData.h"
#include "common/path/Path2DCommand.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"

#include <cstring>

namespace zor::host {

namespace {

using Kind = PathStep::Kind;

struct KindName {
    Kind kind;
    const char* name;
};

constexpr KindName kKindNames[] = {{Kind::MoveTo, "MoveToPath2DCommand"},
                                   {Kind::LineTo, "LineToPath2DCommand"},
                                   {Kind::CurveTo, "CurveToPath2DCommand"},
                                   {Kind::Smooth, "SmoothPath2DCommand"},
                                   {Kind::QuadCurveTo, "QuadCurveToPath2DCommand"},
                                   {Kind::QuadSmooth, "QuadSmoothPath2DCommand"},
                                   {Kind::Arc, "ArcPath2DCommand"},
                                   {Kind::Close, "ClosePath2DCommand"}};

// The variable names of a command's points, in member order.
const char* const* pointNames(Kind kind) {
    static const char* const position[] = {"position"};
    static const char* const curve[] = {"p1", "p2", "p3"};
    static const char* const smooth[] = {"p2", "p3"};
    static const char* const endArc[] = {"endArc"};
    switch (kind) {
    case Kind::CurveTo:
    case Kind::QuadCurveTo:
        return curve;
    case Kind::Smooth:
    case Kind::QuadSmooth:
        return smooth;
    case Kind::Arc:
        return endArc;
    default:
        return position;
    }
}

// The command's kind and precision from its type name; false for any other name.
bool parseTypeName(const String& typeName, Kind& kind, bool& doublePrecision) {
    for (const KindName& entry : kKindNames)
        for (const bool isDouble : {false, true})
            if (typeName == pathCommandTypeName(entry.kind, isDouble)) {
                kind = entry.kind;
                doublePrecision = isDouble;
                return true;
            }
    return false;
}

// Member access through the command's own references, so that the host needs no knowledge of
// the layout: the same calls serve float and double commands.
class MemberAccess {
public:
    MemberAccess(RefCountedData* command, bool doublePrecision, std::string& error)
        : m_command(command), m_double(doublePrecision), m_error(error) {}

    bool set(const std::string& path, double value) {
        VariableReference* reference = referenceTo(path);
        const bool changed = reference != nullptr && reference->changeValueDouble(value);
        return finish(reference, changed, path);
    }
    bool set(const std::string& path, uint8 value) {
        VariableReference* reference = referenceTo(path);
        const bool changed = reference != nullptr && reference->changeValueUInt8(value);
        return finish(reference, changed, path);
    }
    bool get(const std::string& path, double& value) {
        VariableReference* reference = referenceTo(path);
        bool read = false;
        if (reference != nullptr &&
            reference->getType() == (m_double ? VariableTypeDouble : VariableTypeFloat)) {
            if (m_double) {
                std::memcpy(&value, reference->getValuePointer(), sizeof value);
            } else {
                float single = 0;
                std::memcpy(&single, reference->getValuePointer(), sizeof single);
                value = single;
            }
            read = true;
        }
        return finish(reference, read, path);
    }
    bool get(const std::string& path, uint8& value) {
        VariableReference* reference = referenceTo(path);
        const bool read = reference != nullptr && reference->getType() == VariableTypeUInt8;
        if (read)
            std::memcpy(&value, reference->getValuePointer(), sizeof value);
        return finish(reference, read, path);
    }

    /// Sets every member of a command of `kind` from `step`.
    bool setAll(Kind kind, const PathStep& step) {
        if (kind == Kind::Arc && !(set("radius.x", step.radius.x) && set("radius.y", step.radius.y) &&
                                   set("rotation", step.rotation) && set("largeArc", step.largeArc) &&
                                   set("clockwise", step.clockwise)))
            return false;
        for (int i = 0; i < pointCount(kind); ++i) {
            // The packed point is copied out member by member, never bound by reference.
            const ExtVector2<double> point = step.points[i];
            const std::string name = pointNames(kind)[i];
            if (!(set(name + ".x", double(point.x)) && set(name + ".y", double(point.y)) &&
                  set(name + ".xAnchor", uint8(point.xAnchor)) &&
                  set(name + ".yAnchor", uint8(point.yAnchor))))
                return false;
        }
        return true;
    }

    /// Gets every member of a command of `kind` into `step`.
    bool getAll(Kind kind, PathStep& step) {
        if (kind == Kind::Arc && !(get("radius.x", step.radius.x) && get("radius.y", step.radius.y) &&
                                   get("rotation", step.rotation) && get("largeArc", step.largeArc) &&
                                   get("clockwise", step.clockwise)))
            return false;
        for (int i = 0; i < pointCount(kind); ++i) {
            double x = 0, y = 0;
            uint8 xAnchor = 0, yAnchor = 0;
            const std::string name = pointNames(kind)[i];
            if (!(get(name + ".x", x) && get(name + ".y", y) && get(name + ".xAnchor", xAnchor) &&
                  get(name + ".yAnchor", yAnchor)))
                return false;
            step.points[i] = {x, y, xAnchor, yAnchor};
        }
        return true;
    }

private:
    VariableReference* referenceTo(const std::string& path) {
        const String name(path.c_str());
        if (m_double)
            return static_cast<Path2DCommand<double>*>(m_command)->getVariableReference(name);
        return static_cast<Path2DCommand<float>*>(m_command)->getVariableReference(name);
    }

    bool finish(VariableReference* reference, bool done, const std::string& path) {
        if (reference != nullptr)
            reference->destroy();
        if (!done)
            m_error = "the command has no number at \"" + path + "\"";
        return done;
    }

    RefCountedData* m_command;
    bool m_double;
    std::string& m_error;
};

} // namespace

String pathCommandTypeName(PathStep::Kind kind, bool doublePrecision) {
    for (const KindName& entry : kKindNames)
        if (entry.kind == kind)
            return String::formatted("%s{%s}", entry.name, doublePrecision ? "double" : "float");
    return String();
}

RefCountedData* createPathCommand(const String& typeName) {
    Kind kind;
    bool doublePrecision = false;
    ApplicationData* record = applicationData();
    const bool root = typeName == "Path2DCommand{float}" || typeName == "Path2DCommand{double}";
    if (record == nullptr || !(root || parseTypeName(typeName, kind, doublePrecision)))
        return nullptr;
    VariableAllocator allocate = nullptr;
    {
        ScopedReadWriteLock lock(record->m_variableAllocatorsLock, ScopedReadWriteLock::Shared);
        const auto found = record->m_variableAllocators.find(typeName);
        if (found != record->m_variableAllocators.end())
            allocate = found->m_second;
    }
    return allocate != nullptr ? allocate() : nullptr;
}

RefCountedData* createPathCommand(const PathStep& step, bool doublePrecision, std::string& error) {
    const String typeName = pathCommandTypeName(step.kind, doublePrecision);
    RefCountedData* command = createPathCommand(typeName);
    if (command == nullptr) {
        error = std::string("no allocator is registered for \"") + typeName.c_str() + "\"";
        return nullptr;
    }
    MemberAccess members(command, doublePrecision, error);
    if (!members.setAll(step.kind, step)) {
        command->release();
        return nullptr;
    }
    return command;
}

bool readPathCommand(RefCountedData* command, const String& typeName, PathStep& step, std::string& error) {
    Kind kind;
    bool doublePrecision = false;
    if (!parseTypeName(typeName, kind, doublePrecision)) {
        error = std::string("\"") + typeName.c_str() + "\" is not a path command";
        return false;
    }
    PathStep read;
    read.kind = kind;
    MemberAccess members(command, doublePrecision, error);
    if (!members.getAll(kind, read))
        return false;
    step = read;
    return true;
}

} // namespace zor::host
