#pragma once

#include "common/containers/NameTable.h"
#include "common/containers/String.h"
#include "common/framework/IVariableReader.h"
#include "common/framework/IVariableWriter.h"
#include "common/path/ExtVector2Variables.h"
#include "common/path/Path2DCommand.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"

#include <array>
#include <cstring>
#include <type_traits>

namespace zor {

/// The ten operations of a path command class, written once for every class from its list of
/// members. `Derived` declares:
///   - `kTypeName`, the type name without its "{float}" part;
///   - `kMemberNames`, the variable names of its members in order (a std::array);
///   - `forEachMember(self, visit)`, which calls `visit` on each member in that order.
/// Members are points (ExtVector2<T>), a radius (Vector2<T>), an angle (T) or flags (uint8).
template <typename Derived, typename T, uint8 CommandType>
class Path2DCommandOf : public Path2DCommand<T> {
public:
    void deletingDestructor(uint32 flags) override {
        Derived* self = static_cast<Derived*>(this);
        self->Derived::~Derived();
        if (flags & 1u)
            Derived::operator delete(self);
    }

    RefCountedData* create() const override { return new Derived(static_cast<const Derived&>(*this)); }

    void reset() override {
        Derived::forEachMember(self(), [](auto& member) { member = {}; });
    }

    const String& getTypeName() const override {
        static const String name = String::formatted("%s{%s}", Derived::kTypeName, scalarName());
        return name;
    }

    uint8 getCommandType() const override { return CommandType; }

    VariableReference* getVariableReference(const String& path) override {
        static const HashMap<String, uint32>* const memberIndex =
            makeIndexMap(static_cast<uint32>(Derived::kMemberNames.size()), Derived::kMemberNames.data());
        const char* text = path.c_str();
        const char* dot = std::strchr(text, '.');
        const String head = dot != nullptr ? String(text, static_cast<std::size_t>(dot - text)) : path;
        const String rest = dot != nullptr ? String(dot + 1) : String();
        const auto found = memberIndex->find(head);
        if (found == memberIndex->end())
            return nullptr;
        VariableReference* reference = nullptr;
        uint32 index = 0;
        Derived::forEachMember(self(), [&](auto& member) {
            if (index++ == found->m_second)
                reference = referenceTo(member, rest);
        });
        return reference;
    }

    bool read(IVariableReader* reader) override {
        reset();
        bool allRead = true;
        uint32 index = 0;
        Derived::forEachMember(self(), [&](auto& member) {
            allRead = allRead && readMember(reader, memberName(index), member);
            ++index;
        });
        return allRead;
    }

    bool write(IVariableWriter* writer, bool typedMode, uint64 context) override {
        const bool singlePass = writer->isSinglePass();
        if (!writeMembers(writer, !singlePass, typedMode, context))
            return false;
        if (singlePass)
            return true;
        return writeMembers(writer, false, typedMode, context);
    }

private:
    Derived& self() { return static_cast<Derived&>(*this); }
    const Derived& self() const { return static_cast<const Derived&>(*this); }

    static const char* scalarName() { return std::is_same_v<T, float> ? "float" : "double"; }
    static constexpr bool kFloat = std::is_same_v<T, float>;

    // The member names as the reader and writer get them, built once per class.
    static const String& memberName(uint32 index) {
        static const auto names = [] {
            std::array<String, Derived::kMemberNames.size()> strings;
            for (std::size_t i = 0; i < strings.size(); ++i)
                strings[i] = String(Derived::kMemberNames[i]);
            return strings;
        }();
        return names[index];
    }

    // A whole member with an empty rest; inside a point or the radius with the rest; scalars
    // have nothing inside.
    static VariableReference* referenceTo(ExtVector2<T>& point, const String& rest) {
        if (rest.isEmpty())
            return new VariableReference(kFloat ? VariableTypeExtVector2Float : VariableTypeExtVector2Double,
                                         &point);
        return getComponentReference(point, rest);
    }
    static VariableReference* referenceTo(Vector2<T>& radius, const String& rest) {
        if (rest.isEmpty())
            return new VariableReference(kFloat ? VariableTypeVector2Float : VariableTypeVector2Double,
                                         &radius);
        return zor::getVariableReference(radius, rest);
    }
    static VariableReference* referenceTo(T& angle, const String& rest) {
        return rest.isEmpty() ? new VariableReference(kFloat ? VariableTypeFloat : VariableTypeDouble, &angle)
                              : nullptr;
    }
    static VariableReference* referenceTo(uint8& flag, const String& rest) {
        return rest.isEmpty() ? new VariableReference(VariableTypeUInt8, &flag) : nullptr;
    }

    // Points and the radius are nodes; an absent node leaves the member at 0.
    template <typename Vector>
    static bool readMember(IVariableReader* reader, const String& name, Vector& vector) {
        bool found = false;
        if (!reader->enterNode(name, found))
            return false;
        if (!found)
            return true;
        if (!readComponents(vector, reader))
            return false;
        reader->leaveNode();
        return true;
    }
    static bool readMember(IVariableReader* reader, const String& name, T& angle) {
        bool found = false;
        if constexpr (kFloat)
            return reader->readFloat(name, found, angle, 0);
        else
            return reader->readDouble(name, found, angle, 0);
    }
    static bool readMember(IVariableReader* reader, const String& name, uint8& flag) {
        bool found = false;
        return reader->readBool(name, found, flag, 0);
    }

    // Points and the radius go out as nodes in the second pass; scalars as attributes of the
    // command in the first. Typed members go out in every pass.
    template <typename Vector>
    static bool writeMember(IVariableWriter* writer, const String& name, const Vector& vector, bool skipOwn,
                            bool typedMode, uint64 context) {
        if (typedMode)
            return writeTypedVariable(writer, name, vector, context);
        if (writer->isSinglePass() || !skipOwn)
            return writeNodeVariable(writer, name, vector);
        return true;
    }
    static bool writeMember(IVariableWriter* writer, const String& name, const T& angle, bool skipOwn,
                            bool typedMode, uint64 context) {
        if (typedMode) {
            if constexpr (kFloat)
                return writer->writeFloatTyped(name, &angle, context);
            else
                return writer->writeDoubleTyped(name, &angle, context);
        }
        if (!writer->isSinglePass() && !skipOwn)
            return true;
        if constexpr (kFloat)
            return writer->writeFloat(name, &angle, 1, 0);
        else
            return writer->writeDouble(name, &angle, 1, 0);
    }
    static bool writeMember(IVariableWriter* writer, const String& name, const uint8& flag, bool skipOwn,
                            bool typedMode, uint64 context) {
        if (typedMode)
            return writer->writeBoolTyped(name, &flag, context);
        if (writer->isSinglePass() || skipOwn)
            return writer->writeBool(name, &flag, 1, 0);
        return true;
    }

    bool writeMembers(IVariableWriter* writer, bool skipOwn, bool typedMode, uint64 context) const {
        bool written = true;
        uint32 index = 0;
        Derived::forEachMember(self(), [&](const auto& member) {
            written = written && writeMember(writer, memberName(index), member, skipOwn, typedMode, context);
            ++index;
        });
        return written;
    }
};

} // namespace zor
