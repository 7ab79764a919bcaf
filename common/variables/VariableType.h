#pragma once

#include "common/Types.h"

namespace zor {

/// Codes of the kinds of value a variable can hold, shared with the host.
enum VariableType : int32 {
    VariableTypeBool = 1,
    VariableTypeInt8 = 2,
    VariableTypeUInt8 = 3,
    VariableTypeInt16 = 4,
    VariableTypeUInt16 = 5,
    VariableTypeInt32 = 6,
    VariableTypeUInt32 = 7,
    VariableTypeInt64 = 8,
    VariableTypeUInt64 = 9,
    VariableTypeFloat = 10,
    VariableTypeDouble = 11,
    VariableTypeString = 12,
    VariableTypeVector2Int32 = 14,
    VariableTypeVector2Int64 = 16,
    VariableTypeVector2Float = 17,
    VariableTypeVector2Double = 18,
    VariableTypeVector3Float = 23,
    VariableTypeVector3Double = 24,
    VariableTypeVector4Float = 29,
    VariableTypeVector4Double = 30,
    VariableTypeMatrix3x3Float = 31,
    VariableTypeMatrix3x3Double = 32,
    VariableTypeMatrix4x4Float = 33,
    VariableTypeMatrix4x4Double = 34,
    VariableTypeExtPositionXFloat = 35,
    VariableTypeExtPositionXDouble = 36,
    VariableTypeExtPositionYFloat = 37,
    VariableTypeExtPositionYDouble = 38,
    VariableTypeExtPositionZFloat = 39,
    VariableTypeExtPositionZDouble = 40,
    VariableTypeExtDimensionWidthFloat = 41,
    VariableTypeExtDimensionWidthDouble = 42,
    VariableTypeExtDimensionHeightFloat = 43,
    VariableTypeExtDimensionHeightDouble = 44,
    VariableTypeExtDimensionDepthFloat = 45,
    VariableTypeExtDimensionDepthDouble = 46,
    VariableTypeExtVector2Int32 = 47,
    VariableTypeExtVector2Int64 = 48,
    VariableTypeExtVector2Float = 49,
    VariableTypeExtVector2Double = 50,
    VariableTypeExtVector3Float = 51,
    VariableTypeExtVector3Double = 52,
    VariableTypeRectSizeInt32 = 53,
    VariableTypeRectSizeInt64 = 54,
    VariableTypeRectSizeFloat = 55,
    VariableTypeRectSizeDouble = 56,
    VariableTypeRectInt32 = 57,
    VariableTypeRectInt64 = 58,
    VariableTypeRectFloat = 59,
    VariableTypeRectDouble = 60,
    VariableTypeBoxSizeFloat = 61,
    VariableTypeBoxSizeDouble = 62,
    VariableTypeBoxFloat = 63,
    VariableTypeBoxDouble = 64,
    VariableTypeExtRectInt32 = 65,
    VariableTypeExtRectInt64 = 66,
    VariableTypeExtRectFloat = 67,
    VariableTypeExtRectDouble = 68,
    VariableTypeExtBoxFloat = 69,
    VariableTypeExtBoxDouble = 70,
    VariableTypeColorRGBFloat = 71,
    VariableTypeColorRGBDouble = 72,
    VariableTypeColorRGBAFloat = 73,
    VariableTypeColorRGBADouble = 74,
    VariableTypeGUID = 75,
    VariableTypeObjectGUIDReference = 76,
    /// The variable holds a `String*` (no name).
    VariableTypeStringReference = 77,
    /// The variable holds an `IObject*` (no name).
    VariableTypeObjectReference = 78,
    /// A 32-bit integer written like VariableTypeInt32 (no name).
    VariableTypeInt32Alias = 81,
};

/// The name of a variable type code ("Vector3<float>"), or "Unknown" for a code without one.
const char* getVariableTypeName(int32 type);

} // namespace zor
