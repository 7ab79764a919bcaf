#include "common/variables/VariableReference.h"

#include "common/containers/String.h"
#include "common/log/Log.h"
#include "common/object/Guid.h"
#include "common/object/IObject.h"
#include "common/variables/VariableType.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace zor {
namespace {

// Conversions follow what x86 code does with these values; C++ leaves several of them
// undefined, so each case is spelled out.

constexpr double kTwoTo63 = 9223372036854775808.0;

// Truncation toward zero; NaN and values outside the range give the lowest value (the
// processor's "integer indefinite").
int32 truncateToInt32(double value) {
    if (value > -2147483649.0 && value < 2147483648.0)
        return static_cast<int32>(value);
    return std::numeric_limits<int32>::min();
}

int64 truncateToInt64(double value) {
    if (value >= -kTwoTo63 && value < kTwoTo63)
        return static_cast<int64>(value);
    return std::numeric_limits<int64>::min();
}

// The unsigned 64-bit conversion takes 2^63 off large values and puts it back afterwards.
uint64 truncateToUInt64(double value) {
    if (value >= kTwoTo63)
        return static_cast<uint64>(truncateToInt64(value - kTwoTo63)) + (uint64{1} << 63);
    return static_cast<uint64>(truncateToInt64(value));
}

// double to float, rounding to nearest even; overflow gives an infinity and a NaN keeps its
// sign and the top of its payload, quieted.
float narrowToFloat(double value) {
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    if (std::isnan(value)) {
        uint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        const uint32 narrowed = static_cast<uint32>(bits >> 32 & 0x80000000u) | 0x7FC00000u |
                                static_cast<uint32>(bits >> 29 & 0x003FFFFFu);
        float result;
        std::memcpy(&result, &narrowed, sizeof result);
        return result;
    }
    if (value >= -kFloatMax && value <= kFloatMax)
        return static_cast<float>(value);
    // Beyond the largest float: values below the midpoint to 2^128 round down to it.
    constexpr double kOverflowThreshold = 340282356779733661637539395458142568448.0; // 2^128 - 2^103
    const float largest = std::fabs(value) < kOverflowThreshold ? std::numeric_limits<float>::max()
                                                                : std::numeric_limits<float>::infinity();
    return value < 0 ? -largest : largest;
}

template <typename Source>
constexpr bool kIsReal = std::is_floating_point_v<Source>;

template <typename Source>
uint8 toBool(Source value) {
    return value != 0 ? 1 : 0; // a NaN is not zero
}

// Integer targets: integers keep their low-order bits (sign- or zero-extended when widened);
// reals are truncated into a 32-bit intermediate for the narrow targets and a 64-bit one for
// uint32_t and int64_t.
template <typename Target, typename Source>
Target toInteger(Source value) {
    if constexpr (std::is_same_v<Source, bool>) {
        return static_cast<Target>(value ? 1 : 0);
    } else if constexpr (!kIsReal<Source>) {
        return static_cast<Target>(value);
    } else if constexpr (std::is_same_v<Target, uint64>) {
        return truncateToUInt64(static_cast<double>(value));
    } else if constexpr (std::is_same_v<Target, uint32> || std::is_same_v<Target, int64>) {
        return static_cast<Target>(truncateToInt64(static_cast<double>(value)));
    } else {
        return static_cast<Target>(truncateToInt32(static_cast<double>(value)));
    }
}

template <typename Source>
float toFloat(Source value) {
    if constexpr (std::is_same_v<Source, bool>)
        return value ? 1.0f : 0.0f;
    else if constexpr (std::is_same_v<Source, double>)
        return narrowToFloat(value);
    else
        return static_cast<float>(value);
}

template <typename Source>
double toDouble(Source value) {
    if constexpr (std::is_same_v<Source, bool>)
        return value ? 1.0 : 0.0;
    else
        return static_cast<double>(value);
}

// Members may sit unaligned inside packed host records, so every store is a byte copy.
template <typename T>
void store(void* target, const T& value) {
    std::memcpy(target, &value, sizeof value);
}

bool refuse(uint32 type, const char* function, const char* message) {
    zor_log("common", false, LogLevelWarn, function, message, getVariableTypeName(static_cast<int32>(type)));
    return false;
}

template <typename Source>
bool changeScalar(uint32 type, void* target, Source value, const char* function, const char* message) {
    switch (type) {
    case VariableTypeBool:
        store(target, toBool(value));
        return true;
    case VariableTypeInt8:
        store(target, toInteger<int8>(value));
        return true;
    case VariableTypeUInt8:
        store(target, toInteger<uint8>(value));
        return true;
    case VariableTypeInt16:
        store(target, toInteger<int16>(value));
        return true;
    case VariableTypeUInt16:
        store(target, toInteger<uint16>(value));
        return true;
    case VariableTypeInt32:
    case VariableTypeInt32Alias:
        store(target, toInteger<int32>(value));
        return true;
    case VariableTypeUInt32:
        store(target, toInteger<uint32>(value));
        return true;
    case VariableTypeInt64:
        store(target, toInteger<int64>(value));
        return true;
    case VariableTypeUInt64:
        store(target, toInteger<uint64>(value));
        return true;
    case VariableTypeFloat:
        store(target, toFloat(value));
        return true;
    case VariableTypeDouble:
        store(target, toDouble(value));
        return true;
    default:
        return refuse(type, function, message);
    }
}

// Structured values go only into a member of exactly their own type. Storing a member into
// itself changes nothing.
template <typename T>
bool changeExact(uint32 type, void* target, int32 accepted, const T& value, const char* function,
                 const char* message) {
    if (type != static_cast<uint32>(accepted))
        return refuse(type, function, message);
    if (target != &value)
        store(target, value);
    return true;
}

template <typename Target, typename Source>
Target toComponent(Source value) {
    if constexpr (std::is_same_v<Target, float>)
        return toFloat(value);
    else
        return static_cast<Target>(value);
}

template <typename Target, typename Source>
Target convertColor(const Source& source) {
    Target result;
    result.r = toComponent<decltype(result.r)>(source.r);
    result.g = toComponent<decltype(result.g)>(source.g);
    result.b = toComponent<decltype(result.b)>(source.b);
    if constexpr (requires { result.a; }) {
        if constexpr (requires { source.a; })
            result.a = toComponent<decltype(result.a)>(source.a);
        else
            result.a = 1;
    }
    return result;
}

// Colours convert between their four forms: components widen or narrow, an RGB source gives
// an alpha of 1 and an RGBA source loses its alpha in an RGB member. The converted value is
// complete before it is stored, so a member stored into itself keeps its value.
template <typename Source>
bool changeColor(uint32 type, void* target, const Source& value, const char* function, const char* message) {
    switch (type) {
    case VariableTypeColorRGBFloat:
        store(target, convertColor<ColorRGB<float>>(value));
        return true;
    case VariableTypeColorRGBDouble:
        store(target, convertColor<ColorRGB<double>>(value));
        return true;
    case VariableTypeColorRGBAFloat:
        store(target, convertColor<ColorRGBA<float>>(value));
        return true;
    case VariableTypeColorRGBADouble:
        store(target, convertColor<ColorRGBA<double>>(value));
        return true;
    default:
        return refuse(type, function, message);
    }
}

} // namespace

#define ZOR_CHANGE_SCALAR(operation, Type, sourceName)                                                       \
    bool VariableReference::operation(Type value) {                                                          \
        return changeScalar(m_type, m_value, value, "zor::VariableReference::" #operation,                   \
                            "Unable to convert " sourceName " to type:%s");                                  \
    }

ZOR_CHANGE_SCALAR(changeValueBool, bool, "bool_t")
ZOR_CHANGE_SCALAR(changeValueUInt8, uint8, "uint8_t")
ZOR_CHANGE_SCALAR(changeValueInt8, int8, "int8_t")
ZOR_CHANGE_SCALAR(changeValueUInt16, uint16, "uint16_t")
ZOR_CHANGE_SCALAR(changeValueInt16, int16, "int16_t")
ZOR_CHANGE_SCALAR(changeValueUInt32, uint32, "uint32_t")
ZOR_CHANGE_SCALAR(changeValueInt32, int32, "int32_t")
ZOR_CHANGE_SCALAR(changeValueUInt64, uint64, "uint64_t")
ZOR_CHANGE_SCALAR(changeValueInt64, int64, "int64_t")
ZOR_CHANGE_SCALAR(changeValueFloat, float, "float")
ZOR_CHANGE_SCALAR(changeValueDouble, double, "double")

#undef ZOR_CHANGE_SCALAR

bool VariableReference::changeValueString(const String& value) {
    if (m_type != VariableTypeString)
        return refuse(m_type, "zor::VariableReference::changeValueString",
                      "Unable to convert String to type:%s");
    auto* target = static_cast<String*>(m_value);
    if (target != &value)
        *target = value;
    return true;
}

#define ZOR_CHANGE_EXACT(operation, Type, code, sourceName)                                                  \
    bool VariableReference::operation(const Type& value) {                                                   \
        return changeExact(m_type, m_value, code, value, "zor::VariableReference::" #operation,              \
                           "Unable to convert " sourceName " to type:%s");                                   \
    }

ZOR_CHANGE_EXACT(changeValueVector2Int32, Vector2<int32>, VariableTypeVector2Int32, "Vector2<int32_t>")
ZOR_CHANGE_EXACT(changeValueVector2Int64, Vector2<int64>, VariableTypeVector2Int64, "Vector2<int64_t>")
ZOR_CHANGE_EXACT(changeValueVector2Float, Vector2<float>, VariableTypeVector2Float, "Vector2<float>")
ZOR_CHANGE_EXACT(changeValueVector3Float, Vector3<float>, VariableTypeVector3Float, "Vector3<float>")
ZOR_CHANGE_EXACT(changeValueVector4Float, Vector4<float>, VariableTypeVector4Float, "Vector4<float>")
ZOR_CHANGE_EXACT(changeValueVector2Double, Vector2<double>, VariableTypeVector2Double, "Vector2<double>")
ZOR_CHANGE_EXACT(changeValueVector3Double, Vector3<double>, VariableTypeVector3Double, "Vector3<double>")
ZOR_CHANGE_EXACT(changeValueVector4Double, Vector4<double>, VariableTypeVector4Double, "Vector4<double>")
ZOR_CHANGE_EXACT(changeValueMatrix3x3Float, Matrix3x3<float>, VariableTypeMatrix3x3Float, "Matrix3x3<float>")
ZOR_CHANGE_EXACT(changeValueMatrix4x4Float, Matrix4x4<float>, VariableTypeMatrix4x4Float, "Matrix4x4<float>")
ZOR_CHANGE_EXACT(changeValueMatrix3x3Double, Matrix3x3<double>, VariableTypeMatrix3x3Double,
                 "Matrix3x3<double>")
ZOR_CHANGE_EXACT(changeValueMatrix4x4Double, Matrix4x4<double>, VariableTypeMatrix4x4Double,
                 "Matrix4x4<double>")
// The framework's message for this one has two blanks before "to".
ZOR_CHANGE_EXACT(changeValueExtPositionXFloat, ExtPositionX<float>, VariableTypeExtPositionXFloat,
                 "ExtPositionX<float> ")
ZOR_CHANGE_EXACT(changeValueExtPositionXDouble, ExtPositionX<double>, VariableTypeExtPositionXDouble,
                 "ExtPositionX<double>")
ZOR_CHANGE_EXACT(changeValueExtPositionYFloat, ExtPositionY<float>, VariableTypeExtPositionYFloat,
                 "ExtPositionY<float>")
ZOR_CHANGE_EXACT(changeValueExtPositionYDouble, ExtPositionY<double>, VariableTypeExtPositionYDouble,
                 "ExtPositionY<double>")
ZOR_CHANGE_EXACT(changeValueExtPositionZFloat, ExtPositionZ<float>, VariableTypeExtPositionZFloat,
                 "ExtPositionZ<float>")
ZOR_CHANGE_EXACT(changeValueExtPositionZDouble, ExtPositionZ<double>, VariableTypeExtPositionZDouble,
                 "ExtPositionZ<double>")
ZOR_CHANGE_EXACT(changeValueExtDimensionWidthFloat, ExtDimensionWidth<float>,
                 VariableTypeExtDimensionWidthFloat, "ExtDimensionWidth<float>")
ZOR_CHANGE_EXACT(changeValueExtDimensionWidthDouble, ExtDimensionWidth<double>,
                 VariableTypeExtDimensionWidthDouble, "ExtDimensionWidth<double>")
ZOR_CHANGE_EXACT(changeValueExtDimensionHeightFloat, ExtDimensionHeight<float>,
                 VariableTypeExtDimensionHeightFloat, "ExtDimensionHeight<float>")
ZOR_CHANGE_EXACT(changeValueExtDimensionHeightDouble, ExtDimensionHeight<double>,
                 VariableTypeExtDimensionHeightDouble, "ExtDimensionHeight<double>")
ZOR_CHANGE_EXACT(changeValueExtDimensionDepthFloat, ExtDimensionDepth<float>,
                 VariableTypeExtDimensionDepthFloat, "ExtDimensionDepth<float>")
ZOR_CHANGE_EXACT(changeValueExtDimensionDepthDouble, ExtDimensionDepth<double>,
                 VariableTypeExtDimensionDepthDouble, "ExtDimensionDepth<double>")
ZOR_CHANGE_EXACT(changeValueExtVector2Int32, ExtVector2<int32>, VariableTypeExtVector2Int32,
                 "ExtVector2<int32_t>")
ZOR_CHANGE_EXACT(changeValueExtVector2Int64, ExtVector2<int64>, VariableTypeExtVector2Int64,
                 "ExtVector2<int64_t>")
ZOR_CHANGE_EXACT(changeValueExtVector2Float, ExtVector2<float>, VariableTypeExtVector2Float,
                 "ExtVector2<float>")
ZOR_CHANGE_EXACT(changeValueExtVector3Float, ExtVector3<float>, VariableTypeExtVector3Float,
                 "ExtVector3<float>")
ZOR_CHANGE_EXACT(changeValueExtVector2Double, ExtVector2<double>, VariableTypeExtVector2Double,
                 "ExtVector2<double>")
ZOR_CHANGE_EXACT(changeValueExtVector3Double, ExtVector3<double>, VariableTypeExtVector3Double,
                 "ExtVector3<double>")
ZOR_CHANGE_EXACT(changeValueRectSizeInt32, RectSize<int32>, VariableTypeRectSizeInt32, "RectSize<int32_t>")
ZOR_CHANGE_EXACT(changeValueRectSizeInt64, RectSize<int64>, VariableTypeRectSizeInt64, "RectSize<int64_t>")
ZOR_CHANGE_EXACT(changeValueRectSizeFloat, RectSize<float>, VariableTypeRectSizeFloat, "RectSize<float>")
ZOR_CHANGE_EXACT(changeValueRectSizeDouble, RectSize<double>, VariableTypeRectSizeDouble, "RectSize<double>")
ZOR_CHANGE_EXACT(changeValueRectInt32, Rect<int32>, VariableTypeRectInt32, "Rect<int32_t>")
ZOR_CHANGE_EXACT(changeValueRectInt64, Rect<int64>, VariableTypeRectInt64, "Rect<int64_t>")
ZOR_CHANGE_EXACT(changeValueRectFloat, Rect<float>, VariableTypeRectFloat, "Rect<float>")
ZOR_CHANGE_EXACT(changeValueRectDouble, Rect<double>, VariableTypeRectDouble, "Rect<double>")
ZOR_CHANGE_EXACT(changeValueBoxSizeFloat, BoxSize<float>, VariableTypeBoxSizeFloat, "BoxSize<float>")
ZOR_CHANGE_EXACT(changeValueBoxSizeDouble, BoxSize<double>, VariableTypeBoxSizeDouble, "BoxSize<double>")
ZOR_CHANGE_EXACT(changeValueBoxFloat, Box<float>, VariableTypeBoxFloat, "Box<float>")
ZOR_CHANGE_EXACT(changeValueBoxDouble, Box<double>, VariableTypeBoxDouble, "Box<double>")
ZOR_CHANGE_EXACT(changeValueExtRectInt32, ExtRect<int32>, VariableTypeExtRectInt32, "ExtRect<int32_t>")
ZOR_CHANGE_EXACT(changeValueExtRectInt64, ExtRect<int64>, VariableTypeExtRectInt64, "ExtRect<int64_t>")
ZOR_CHANGE_EXACT(changeValueExtRectFloat, ExtRect<float>, VariableTypeExtRectFloat, "ExtRect<float>")
ZOR_CHANGE_EXACT(changeValueExtRectDouble, ExtRect<double>, VariableTypeExtRectDouble, "ExtRect<double>")
ZOR_CHANGE_EXACT(changeValueExtBoxFloat, ExtBox<float>, VariableTypeExtBoxFloat, "ExtBox<float>")
ZOR_CHANGE_EXACT(changeValueExtBoxDouble, ExtBox<double>, VariableTypeExtBoxDouble, "ExtBox<double>")
ZOR_CHANGE_EXACT(changeValueGUID, GUID_t, VariableTypeGUID, "GUID_t")

#undef ZOR_CHANGE_EXACT

#define ZOR_CHANGE_COLOR(operation, Type, sourceName)                                                        \
    bool VariableReference::operation(const Type& value) {                                                   \
        return changeColor(m_type, m_value, value, "zor::VariableReference::" #operation,                    \
                           "Unable to convert " sourceName " to type:%s");                                   \
    }

ZOR_CHANGE_COLOR(changeValueColorRGBFloat, ColorRGB<float>, "ColorRGB<float>")
ZOR_CHANGE_COLOR(changeValueColorRGBDouble, ColorRGB<double>, "ColorRGB<double>")
ZOR_CHANGE_COLOR(changeValueColorRGBAFloat, ColorRGBA<float>, "ColorRGBA<float>")
ZOR_CHANGE_COLOR(changeValueColorRGBADouble, ColorRGBA<double>, "ColorRGBA<double>")

#undef ZOR_CHANGE_COLOR

bool VariableReference::changeValueStringReference(String* value) {
    if (m_type != VariableTypeStringReference)
        return refuse(m_type, "zor::VariableReference::changeValueStringReference",
                      "Unable to convert String * to type:%s");
    // The new string is retained before the old one is released, so that storing the string
    // the member already holds cannot end it in between.
    String* replacement = value != nullptr ? static_cast<String*>(value->retain()) : nullptr;
    String* previous;
    std::memcpy(&previous, m_value, sizeof previous);
    if (previous != nullptr)
        previous->release();
    store(m_value, replacement);
    return true;
}

bool VariableReference::changeValueObjectReference(IObject* value, bool cloneObject) {
    if (m_type != VariableTypeObjectReference)
        return refuse(m_type, "zor::VariableReference::changeValueObjectReference",
                      "Unable to convert IObject * to type:%s");
    IObject* replacement = nullptr;
    if (value != nullptr)
        replacement = cloneObject ? value->clone() : value->retain();
    IObject* previous;
    std::memcpy(&previous, m_value, sizeof previous);
    if (previous != nullptr)
        previous->release();
    store(m_value, replacement);
    return true;
}

int32 VariableReference::getType() const {
    return static_cast<int32>(m_type);
}

void* VariableReference::getValuePointer() const {
    return m_value;
}

void VariableReference::destroy() {
    this->VariableReference::~VariableReference();
    VariableReference::operator delete(this);
}

} // namespace zor
