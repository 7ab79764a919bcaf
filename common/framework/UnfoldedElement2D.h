#pragma once

#include "common/Types.h"

#include <cstddef>

namespace zor {

class IElement;

/// Kinds of the records of a 2D scene's unfolded lists. The lists are in drawing order and the
/// hit tests walk them from the back, so in the clip-marked list the record that closes a clip
/// region in drawing order (kind 3) is the first one of the region that a hit test meets.
enum UnfoldedElementKind : uint32 {
    /// An element.
    UnfoldedElementKindElement = 0,
    /// Plain list: an element whose children follow it. Clip-marked list: the opening of a clip
    /// region, before its children.
    UnfoldedElementKindGroup = 1,
    /// Clip-marked list: the closing of a clip region, after its children.
    UnfoldedElementKindClip = 3,
};

#pragma pack(push, 1)
/// One record of a 2D scene's unfolded lists, read in place by the hit tests.
struct UnfoldedElement2D {
    uint32 kind;
    IElement* m_element;
    /// The host's own use; the hit tests never read it.
    uint8 hostData[8];
};
#pragma pack(pop)

static_assert(sizeof(UnfoldedElement2D) == 20);
static_assert(offsetof(UnfoldedElement2D, m_element) == 4);

} // namespace zor
