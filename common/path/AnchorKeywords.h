#pragma once

#include "common/Types.h"

// The anchor of a layout position says what its value is measured from. Each axis has sixteen
// named anchors (codes 0 to 15) and sixteen separators (codes 128 to 143); the keywords are the
// names that files carry. The horizontal axis names vertical separators and the vertical axis
// horizontal ones.

namespace zor {

class String;

/// Horizontal anchor codes ("LEFT" ... "PARENT_WIDTH_PERCENT_WITHOUT_WIDTH", "V_SEPARATOR_n").
enum HorizontalAnchor : uint8 {
    HorizontalAnchorLeft = 0,
    HorizontalAnchorRight = 1,
    HorizontalAnchorCenter = 2,
    HorizontalAnchorParentWidthPercent = 3,
    HorizontalAnchorAbsolute = 4,
    HorizontalAnchorRightMinusSize = 13,
    /// Separator n (1 to 16) has the code 127 + n.
    HorizontalAnchorVSeparator1 = 128,
    HorizontalAnchorVSeparator16 = 143,
};

/// Vertical anchor codes ("TOP" ... "PARENT_HEIGHT_PERCENT_WITHOUT_HEIGHT", "H_SEPARATOR_n").
enum VerticalAnchor : uint8 {
    VerticalAnchorTop = 0,
    VerticalAnchorBottom = 1,
    VerticalAnchorCenter = 2,
    VerticalAnchorParentHeightPercent = 3,
    VerticalAnchorAbsolute = 4,
    VerticalAnchorBottomMinusHeight = 13,
    /// Separator n (1 to 16) has the code 127 + n.
    VerticalAnchorHSeparator1 = 128,
    VerticalAnchorHSeparator16 = 143,
};

/// Converts a horizontal anchor: with `toCode` the exact keyword to its code, otherwise the
/// code to its keyword. False, and the output untouched, when there is no such keyword or code.
/// Any thread may call it; the keyword maps are filled on first use.
bool convertHorizontalAnchor(String& keyword, uint8& code, bool toCode);

/// Converts a vertical anchor, as convertHorizontalAnchor does.
bool convertVerticalAnchor(String& keyword, uint8& code, bool toCode);

} // namespace zor
