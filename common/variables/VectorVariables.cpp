#include "common/variables/VectorVariables.h"

#include "common/containers/NameTable.h"
#include "common/framework/IVariableReader.h"
#include "common/framework/IVariableWriter.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"
#include "common/variables/VectorWriting.h"

#include <cstring>
#include <type_traits>

namespace zor {

namespace {

// The component names, built once per process and shared by every vector type.
const String& componentName(int index) {
    static const String names[3] = {String("x"), String("y"), String("z")};
    return names[index];
}

// A vector's components in order, as members, so that two and three components share one loop.
template <typename Vector>
struct Components;
template <typename T>
struct Components<Vector2<T>> {
    static constexpr T Vector2<T>::*members[] = {&Vector2<T>::x, &Vector2<T>::y};
};
template <typename T>
struct Components<Vector3<T>> {
    static constexpr T Vector3<T>::*members[] = {&Vector3<T>::x, &Vector3<T>::y, &Vector3<T>::z};
};

bool readValue(IVariableReader* reader, const String& name, float& value) {
    bool found = false;
    return reader->readFloat(name, found, value, 0);
}
bool readValue(IVariableReader* reader, const String& name, double& value) {
    bool found = false;
    return reader->readDouble(name, found, value, 0);
}

bool writeValue(IVariableWriter* writer, const String& name, const float& value) {
    return writer->writeFloat(name, &value, 1, 0);
}
bool writeValue(IVariableWriter* writer, const String& name, const double& value) {
    return writer->writeDouble(name, &value, 1, 0);
}

bool writeTypedValue(IVariableWriter* writer, const String& name, const float& value, uint64 context) {
    return writer->writeFloatTyped(name, &value, context);
}
bool writeTypedValue(IVariableWriter* writer, const String& name, const double& value, uint64 context) {
    return writer->writeDoubleTyped(name, &value, context);
}

template <typename T>
constexpr int32 scalarTypeCode() {
    return std::is_same_v<T, float> ? VariableTypeFloat : VariableTypeDouble;
}

template <typename Vector>
bool readAll(Vector& vector, IVariableReader* reader) {
    int index = 0;
    for (auto member : Components<Vector>::members)
        if (!readValue(reader, componentName(index++), vector.*member))
            return false;
    return true;
}

// Untyped components belong to the enclosing node: they go out with a single-pass writer, or
// in the first pass (skipOwn) of a two-pass one.
template <typename Vector>
bool writeAll(const Vector& vector, IVariableWriter* writer, bool skipOwn, bool typedMode, uint64 context) {
    int index = 0;
    for (auto member : Components<Vector>::members) {
        const String& name = componentName(index++);
        if (typedMode) {
            if (!writeTypedValue(writer, name, vector.*member, context))
                return false;
        } else if (writer->isSinglePass() || skipOwn) {
            if (!writeValue(writer, name, vector.*member))
                return false;
        }
    }
    return true;
}

} // namespace

template <typename Vector>
const String& vectorTypeName() {
    using T = std::remove_cvref_t<decltype(Vector::x)>;
    constexpr bool isFloat = std::is_same_v<T, float>;
    if constexpr (std::is_same_v<Vector, Vector2<T>>) {
        static const String name(isFloat ? "Vector2{float}" : "Vector2{double}");
        return name;
    } else {
        static const String name(isFloat ? "Vector3{float}" : "Vector3{double}");
        return name;
    }
}

template <typename T>
bool readComponents(Vector2<T>& vector, IVariableReader* reader) {
    return readAll(vector, reader);
}
template <typename T>
bool readComponents(Vector3<T>& vector, IVariableReader* reader) {
    return readAll(vector, reader);
}

template <typename T>
bool writeComponents(const Vector2<T>& vector, IVariableWriter* writer, bool skipOwn, bool typedMode,
                     uint64 context) {
    return writeAll(vector, writer, skipOwn, typedMode, context);
}
template <typename T>
bool writeComponents(const Vector3<T>& vector, IVariableWriter* writer, bool skipOwn, bool typedMode,
                     uint64 context) {
    return writeAll(vector, writer, skipOwn, typedMode, context);
}

template <typename T>
bool write(const Vector2<T>& vector, IVariableWriter* writer, bool typedMode, uint64 context) {
    return vector_writing::inPasses(vector, writer, typedMode, context);
}
template <typename T>
bool write(const Vector3<T>& vector, IVariableWriter* writer, bool typedMode, uint64 context) {
    return vector_writing::inPasses(vector, writer, typedMode, context);
}

template <typename T>
bool writeTypedVariable(IVariableWriter* writer, const String& name, const Vector2<T>& vector,
                        uint64 context) {
    return vector_writing::asTypedVariable(writer, name, vector, context);
}
template <typename T>
bool writeTypedVariable(IVariableWriter* writer, const String& name, const Vector3<T>& vector,
                        uint64 context) {
    return vector_writing::asTypedVariable(writer, name, vector, context);
}

template <typename T>
bool writeNodeVariable(IVariableWriter* writer, const String& name, const Vector2<T>& vector) {
    return vector_writing::asNodeVariable(writer, name, vector);
}
template <typename T>
bool writeNodeVariable(IVariableWriter* writer, const String& name, const Vector3<T>& vector) {
    return vector_writing::asNodeVariable(writer, name, vector);
}

int32 vector2ComponentIndex(const String& path) {
    static const HashMap<String, uint32>* const componentIndex = [] {
        const char* const names[] = {"x", "y"};
        return makeIndexMap(2, names);
    }();
    const char* text = path.c_str();
    const char* dot = std::strchr(text, '.');
    if (dot != nullptr && dot[1] != '\0')
        return -1; // a component has no members of its own
    const String head = dot != nullptr ? String(text, static_cast<std::size_t>(dot - text)) : path;
    const auto found = componentIndex->find(head);
    return found != componentIndex->end() ? static_cast<int32>(found->m_second) : -1;
}

template <typename T>
VariableReference* getVariableReference(Vector2<T>& vector, const String& path) {
    const int32 index = vector2ComponentIndex(path);
    if (index < 0)
        return nullptr;
    return new VariableReference(scalarTypeCode<T>(), &(vector.*Components<Vector2<T>>::members[index]));
}

#define ZOR_VECTOR_VARIABLES(T)                                                                              \
    template const String& vectorTypeName<Vector2<T>>();                                                     \
    template const String& vectorTypeName<Vector3<T>>();                                                     \
    template bool readComponents(Vector2<T>&, IVariableReader*);                                             \
    template bool readComponents(Vector3<T>&, IVariableReader*);                                             \
    template bool writeComponents(const Vector2<T>&, IVariableWriter*, bool, bool, uint64);                  \
    template bool writeComponents(const Vector3<T>&, IVariableWriter*, bool, bool, uint64);                  \
    template bool write(const Vector2<T>&, IVariableWriter*, bool, uint64);                                  \
    template bool write(const Vector3<T>&, IVariableWriter*, bool, uint64);                                  \
    template bool writeTypedVariable(IVariableWriter*, const String&, const Vector2<T>&, uint64);            \
    template bool writeTypedVariable(IVariableWriter*, const String&, const Vector3<T>&, uint64);            \
    template bool writeNodeVariable(IVariableWriter*, const String&, const Vector2<T>&);                     \
    template bool writeNodeVariable(IVariableWriter*, const String&, const Vector3<T>&);                     \
    template VariableReference* getVariableReference(Vector2<T>&, const String&);

ZOR_VECTOR_VARIABLES(float)
ZOR_VECTOR_VARIABLES(double)

#undef ZOR_VECTOR_VARIABLES

} // namespace zor
