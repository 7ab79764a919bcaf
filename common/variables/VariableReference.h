#pragma once

#include "common/memory/MemoryBlock.h"
#include "common/variables/Box.h"
#include "common/variables/Color.h"
#include "common/variables/ExtendedTypes.h"
#include "common/variables/Matrix.h"
#include "common/variables/Rect.h"
#include "common/variables/Vector.h"

namespace zor {

class IObject;
class String;
struct GUID_t;

#pragma pack(push, 1)

/// A typed reference to one member of an object, through which the host stores a new value
/// into it. Each changeValue operation converts its argument to the member's type where a
/// conversion exists; otherwise it logs a warning, leaves the member alone and returns false.
/// The reference owns nothing: the member must outlive it. It ends through destroy (slot 69).
class VariableReference {
public:
    ZOR_BLOCK_ALLOCATED

    /// Refers to the value at `value`, whose variable type code is `type`.
    VariableReference(int32 type, void* value) : m_type(static_cast<uint32>(type)), m_value(value) {}

    /// Slot 0.
    virtual bool changeValueBool(bool value);
    /// Slot 1.
    virtual bool changeValueUInt8(uint8 value);
    /// Slot 2.
    virtual bool changeValueInt8(int8 value);
    /// Slot 3.
    virtual bool changeValueUInt16(uint16 value);
    /// Slot 4.
    virtual bool changeValueInt16(int16 value);
    /// Slot 5.
    virtual bool changeValueUInt32(uint32 value);
    /// Slot 6.
    virtual bool changeValueInt32(int32 value);
    /// Slot 7.
    virtual bool changeValueUInt64(uint64 value);
    /// Slot 8.
    virtual bool changeValueInt64(int64 value);
    /// Slot 9.
    virtual bool changeValueFloat(float value);
    /// Slot 10.
    virtual bool changeValueDouble(double value);
    /// Slot 11: String assignment into a String member.
    virtual bool changeValueString(const String& value);
    /// Slot 12.
    virtual bool changeValueVector2Int32(const Vector2<int32>& value);
    /// Slot 13.
    virtual bool changeValueVector2Int64(const Vector2<int64>& value);
    /// Slot 14.
    virtual bool changeValueVector2Float(const Vector2<float>& value);
    /// Slot 15.
    virtual bool changeValueVector3Float(const Vector3<float>& value);
    /// Slot 16.
    virtual bool changeValueVector4Float(const Vector4<float>& value);
    /// Slot 17.
    virtual bool changeValueVector2Double(const Vector2<double>& value);
    /// Slot 18.
    virtual bool changeValueVector3Double(const Vector3<double>& value);
    /// Slot 19.
    virtual bool changeValueVector4Double(const Vector4<double>& value);
    /// Slot 20.
    virtual bool changeValueMatrix3x3Float(const Matrix3x3<float>& value);
    /// Slot 21.
    virtual bool changeValueMatrix4x4Float(const Matrix4x4<float>& value);
    /// Slot 22.
    virtual bool changeValueMatrix3x3Double(const Matrix3x3<double>& value);
    /// Slot 23.
    virtual bool changeValueMatrix4x4Double(const Matrix4x4<double>& value);
    /// Slot 24.
    virtual bool changeValueExtPositionXFloat(const ExtPositionX<float>& value);
    /// Slot 25.
    virtual bool changeValueExtPositionXDouble(const ExtPositionX<double>& value);
    /// Slot 26.
    virtual bool changeValueExtPositionYFloat(const ExtPositionY<float>& value);
    /// Slot 27.
    virtual bool changeValueExtPositionYDouble(const ExtPositionY<double>& value);
    /// Slot 28.
    virtual bool changeValueExtPositionZFloat(const ExtPositionZ<float>& value);
    /// Slot 29.
    virtual bool changeValueExtPositionZDouble(const ExtPositionZ<double>& value);
    /// Slot 30.
    virtual bool changeValueExtDimensionWidthFloat(const ExtDimensionWidth<float>& value);
    /// Slot 31.
    virtual bool changeValueExtDimensionWidthDouble(const ExtDimensionWidth<double>& value);
    /// Slot 32.
    virtual bool changeValueExtDimensionHeightFloat(const ExtDimensionHeight<float>& value);
    /// Slot 33.
    virtual bool changeValueExtDimensionHeightDouble(const ExtDimensionHeight<double>& value);
    /// Slot 34.
    virtual bool changeValueExtDimensionDepthFloat(const ExtDimensionDepth<float>& value);
    /// Slot 35.
    virtual bool changeValueExtDimensionDepthDouble(const ExtDimensionDepth<double>& value);
    /// Slot 36.
    virtual bool changeValueExtVector2Int32(const ExtVector2<int32>& value);
    /// Slot 37.
    virtual bool changeValueExtVector2Int64(const ExtVector2<int64>& value);
    /// Slot 38.
    virtual bool changeValueExtVector2Float(const ExtVector2<float>& value);
    /// Slot 39.
    virtual bool changeValueExtVector3Float(const ExtVector3<float>& value);
    /// Slot 40.
    virtual bool changeValueExtVector2Double(const ExtVector2<double>& value);
    /// Slot 41.
    virtual bool changeValueExtVector3Double(const ExtVector3<double>& value);
    /// Slot 42.
    virtual bool changeValueRectSizeInt32(const RectSize<int32>& value);
    /// Slot 43.
    virtual bool changeValueRectSizeInt64(const RectSize<int64>& value);
    /// Slot 44.
    virtual bool changeValueRectSizeFloat(const RectSize<float>& value);
    /// Slot 45.
    virtual bool changeValueRectSizeDouble(const RectSize<double>& value);
    /// Slot 46.
    virtual bool changeValueRectInt32(const Rect<int32>& value);
    /// Slot 47.
    virtual bool changeValueRectInt64(const Rect<int64>& value);
    /// Slot 48.
    virtual bool changeValueRectFloat(const Rect<float>& value);
    /// Slot 49.
    virtual bool changeValueRectDouble(const Rect<double>& value);
    /// Slot 50.
    virtual bool changeValueBoxSizeFloat(const BoxSize<float>& value);
    /// Slot 51.
    virtual bool changeValueBoxSizeDouble(const BoxSize<double>& value);
    /// Slot 52.
    virtual bool changeValueBoxFloat(const Box<float>& value);
    /// Slot 53.
    virtual bool changeValueBoxDouble(const Box<double>& value);
    /// Slot 54.
    virtual bool changeValueExtRectInt32(const ExtRect<int32>& value);
    /// Slot 55.
    virtual bool changeValueExtRectInt64(const ExtRect<int64>& value);
    /// Slot 56.
    virtual bool changeValueExtRectFloat(const ExtRect<float>& value);
    /// Slot 57.
    virtual bool changeValueExtRectDouble(const ExtRect<double>& value);
    /// Slot 58.
    virtual bool changeValueExtBoxFloat(const ExtBox<float>& value);
    /// Slot 59.
    virtual bool changeValueExtBoxDouble(const ExtBox<double>& value);
    /// Slot 60: into any of the four colour types.
    virtual bool changeValueColorRGBFloat(const ColorRGB<float>& value);
    /// Slot 61: into any of the four colour types.
    virtual bool changeValueColorRGBDouble(const ColorRGB<double>& value);
    /// Slot 62: into any of the four colour types.
    virtual bool changeValueColorRGBAFloat(const ColorRGBA<float>& value);
    /// Slot 63: into any of the four colour types.
    virtual bool changeValueColorRGBADouble(const ColorRGBA<double>& value);
    /// Slot 64.
    virtual bool changeValueGUID(const GUID_t& value);
    /// Slot 65: the member holds a String*; releases the old one and keeps `value` retained.
    virtual bool changeValueStringReference(String* value);
    /// Slot 66: the member holds an IObject*; releases the old one and keeps `value` retained,
    /// or a clone of it when `cloneObject` is true.
    virtual bool changeValueObjectReference(IObject* value, bool cloneObject);
    /// Slot 67: the member's variable type code.
    virtual int32 getType() const;
    /// Slot 68: the member's address.
    virtual void* getValuePointer() const;
    /// Slot 69: frees the reference (never the member).
    virtual void destroy();

protected:
    ~VariableReference() = default;

private:
    uint32 m_type;
    void* m_value;
};

#pragma pack(pop)

static_assert(sizeof(VariableReference) == 20);

} // namespace zor
