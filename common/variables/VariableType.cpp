#include "common/variables/VariableType.h"

namespace zor {
namespace {

// Indexed by code; null marks the codes without a name.
constexpr const char* kVariableTypeNames[] = {
    nullptr,
    "bool_t",
    "int8_t",
    "uint8_t",
    "int16_t",
    "uint16_t",
    "int32_t",
    "uint32_t",
    "int64_t",
    "uint64_t",
    "float",
    "double",
    "String",
    nullptr,
    "Vector2<int32_t>",
    nullptr,
    "Vector2<int64_t>",
    "Vector2<float>",
    "Vector2<double>",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "Vector3<float>",
    "Vector3<double>",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "Vector4<float>",
    "Vector4<double>",
    "Matrix3x3<float>",
    "Matrix3x3<double>",
    "Matrix4x4<float>",
    "Matrix4x4<double>",
    "ExtPositionX<float>",
    "ExtPositionX<double>",
    "ExtPositionY<float>",
    "ExtPositionY<double>",
    "ExtPositionZ<float>",
    "ExtPositionZ<double>",
    "ExtDimensionWidth<float>",
    "ExtDimensionWidth<double>",
    "ExtDimensionHeight<float>",
    "ExtDimensionHeight<double>",
    "ExtDimensionDepth<float>",
    "ExtDimensionDepth<double>",
    "ExtVector2<int32_t>",
    "ExtVector2<int64_t>",
    "ExtVector2<float>",
    "ExtVector2<double>",
    "ExtVector3<float>",
    "ExtVector3<double>",
    "RectSize<int32_t>",
    "RectSize<int64_t>",
    "RectSize<float>",
    "RectSize<double>",
    "Rect<int32_t>",
    "Rect<int64_t>",
    "Rect<float>",
    "Rect<double>",
    "BoxSize<float>",
    "BoxSize<double>",
    "Box<float>",
    "Box<double>",
    "ExtRect<int32_t>",
    "ExtRect<int64_t>",
    "ExtRect<float>",
    "ExtRect<double>",
    "ExtBox<float>",
    "ExtBox<double>",
    "ColorRGB<float>",
    "ColorRGB<double>",
    "ColorRGBA<float>",
    "ColorRGBA<double>",
    "GUID_t",
    "ObjectGUIDReference",
};
static_assert(sizeof kVariableTypeNames / sizeof kVariableTypeNames[0] ==
              VariableTypeObjectGUIDReference + 1);

} // namespace

const char* getVariableTypeName(int32 type) {
    constexpr int32 count = sizeof kVariableTypeNames / sizeof kVariableTypeNames[0];
    if (type < 0 || type >= count || kVariableTypeNames[type] == nullptr)
        return "Unknown";
    return kVariableTypeNames[type];
}

} // namespace zor
