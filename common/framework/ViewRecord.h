#pragma once

#include "common/containers/Array.h"
#include "common/variables/Matrix.h"

namespace zor {

class IElement;

#pragma pack(push, 1)
/// One element of a host 3D scene flattened into its world: what it is, whom it belongs to and
/// where it is. Kinds 0 and 1 are scene elements.
template <typename T>
struct UnfoldedEntry3D {
    uint32 kind;
    /// The element that moves for this one when it is hit, or null.
    IElement* owner;
    IElement* m_element;
    uint64 spare;
    /// Local to world, a Matrix4x4 row by row (row-vector convention); kept as plain numbers so
    /// that the packed record has no constructor to run at an unaligned place.
    T world[16];
};
#pragma pack(pop)

static_assert(sizeof(UnfoldedEntry3D<float>) == 28 + 64 && sizeof(UnfoldedEntry3D<double>) == 28 + 128);

/// A host 3D scene's view: its elements unfolded into world coordinates, then the camera's
/// projection P and view V (row by row, row-vector convention: a point goes through V, then P).
template <typename T>
struct ViewRecord {
    Array<UnfoldedEntry3D<T>> unfoldedEntries;
    Matrix4x4<T> projection;
    Matrix4x4<T> view;
};

static_assert(sizeof(ViewRecord<float>) == sizeof(Array<UnfoldedEntry3D<float>>) + 2 * 64);
static_assert(sizeof(ViewRecord<double>) == sizeof(Array<UnfoldedEntry3D<double>>) + 2 * 128);

} // namespace zor
