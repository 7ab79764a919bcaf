#include "common/path/ExtVector2Variables.h"

#include "common/containers/NameTable.h"
#include "common/framework/IVariableReader.h"
#include "common/path/AnchorKeywords.h"
#include "common/variables/VariableReference.h"
#include "common/variables/VariableType.h"
#include "common/variables/VectorWriting.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace zor {

namespace {

const String& anchorName(int index) {
    static const String names[2] = {String("xAnchor"), String("yAnchor")};
    return names[index];
}

template <typename T>
Vector2<T> positionOf(const ExtVector2<T>& vector) {
    return {vector.x, vector.y};
}

bool readAnchor(IVariableReader* reader, const String& name, EnumerationConverter converter, uint8& anchor) {
    bool found = false;
    uint8 code = 0;
    if (!reader->readEnumeration(name, found, code, converter))
        return false;
    anchor = code;
    return true;
}

// Anchors are written untyped as keywords, as attributes of the enclosing node (the flag 1).
bool writeAnchor(IVariableWriter* writer, const String& name, uint8 anchor, EnumerationConverter converter,
                 bool skipOwn, bool typedMode, uint64 context) {
    if (typedMode)
        return writer->writeUInt8Typed(name, &anchor, context);
    if (writer->isSinglePass() || skipOwn)
        return writer->writeEnumeration(name, &anchor, 0, 1, converter);
    return true;
}

} // namespace

template <>
const String& vectorTypeName<ExtVector2<float>>() {
    static const String name("ExtVector2{float}");
    return name;
}

template <>
const String& vectorTypeName<ExtVector2<double>>() {
    static const String name("ExtVector2{double}");
    return name;
}

template <typename T>
VariableReference* getComponentReference(ExtVector2<T>& vector, const String& path) {
    static const HashMap<String, uint32>* const anchorIndex = [] {
        const char* const names[] = {"xAnchor", "yAnchor"};
        return makeIndexMap(2, names);
    }();
    const char* text = path.c_str();
    const char* dot = std::strchr(text, '.');
    const String head = dot != nullptr ? String(text, static_cast<std::size_t>(dot - text)) : path;
    if (const auto found = anchorIndex->find(head); found != anchorIndex->end()) {
        if (dot != nullptr && dot[1] != '\0')
            return nullptr;
        return new VariableReference(VariableTypeUInt8,
                                     found->m_second == 0 ? &vector.xAnchor : &vector.yAnchor);
    }
    const int32 component = vector2ComponentIndex(path);
    if (component < 0)
        return nullptr;
    constexpr int32 type = std::is_same_v<T, float> ? VariableTypeFloat : VariableTypeDouble;
    // The packed components are reached by their offsets; the reference stores byte-wise.
    const std::size_t offset = component == 0 ? offsetof(ExtVector2<T>, x) : offsetof(ExtVector2<T>, y);
    return new VariableReference(type, reinterpret_cast<uint8*>(&vector) + offset);
}

template <typename T>
bool readComponents(ExtVector2<T>& vector, IVariableReader* reader) {
    Vector2<T> position = positionOf(vector);
    const bool read = readComponents(position, reader);
    // Components read before a failure keep their new values.
    vector.x = position.x;
    vector.y = position.y;
    return read && readAnchor(reader, anchorName(0), &convertHorizontalAnchor, vector.xAnchor) &&
           readAnchor(reader, anchorName(1), &convertVerticalAnchor, vector.yAnchor);
}

template <typename T>
bool writeComponents(const ExtVector2<T>& vector, IVariableWriter* writer, bool skipOwn, bool typedMode,
                     uint64 context) {
    return writeComponents(positionOf(vector), writer, skipOwn, typedMode, context) &&
           writeAnchor(writer, anchorName(0), vector.xAnchor, &convertHorizontalAnchor, skipOwn, typedMode,
                       context) &&
           writeAnchor(writer, anchorName(1), vector.yAnchor, &convertVerticalAnchor, skipOwn, typedMode,
                       context);
}

template <typename T>
bool write(const ExtVector2<T>& vector, IVariableWriter* writer, bool typedMode, uint64 context) {
    return vector_writing::inPasses(vector, writer, typedMode, context);
}

template <typename T>
bool writeTypedVariable(IVariableWriter* writer, const String& name, const ExtVector2<T>& vector,
                        uint64 context) {
    return vector_writing::asTypedVariable(writer, name, vector, context);
}

template <typename T>
bool writeNodeVariable(IVariableWriter* writer, const String& name, const ExtVector2<T>& vector) {
    return vector_writing::asNodeVariable(writer, name, vector);
}

#define ZOR_EXT_VECTOR2_VARIABLES(T)                                                                         \
    template VariableReference* getComponentReference(ExtVector2<T>&, const String&);                        \
    template bool readComponents(ExtVector2<T>&, IVariableReader*);                                          \
    template bool writeComponents(const ExtVector2<T>&, IVariableWriter*, bool, bool, uint64);               \
    template bool write(const ExtVector2<T>&, IVariableWriter*, bool, uint64);                               \
    template bool writeTypedVariable(IVariableWriter*, const String&, const ExtVector2<T>&, uint64);         \
    template bool writeNodeVariable(IVariableWriter*, const String&, const ExtVector2<T>&);

ZOR_EXT_VECTOR2_VARIABLES(float)
ZOR_EXT_VECTOR2_VARIABLES(double)

#undef ZOR_EXT_VECTOR2_VARIABLES

} // namespace zor
