#pragma once

#include "common/framework/IElementState.h"

namespace zor {

/// The state flags of a host 2D element. By default an element takes part in hit testing and
/// reacts to the pointer; one that reacts to neither pointer nor keyboard is passive.
class ElementState : public IElementState {
public:
    void deletingDestructor(uint32) override {}
    bool isPointerActive() const override { return pointerActive; }
    bool isHitTestVisible() const override { return hitTestVisible; }
    bool isKeyboardActive() const override { return keyboardActive; }

    bool pointerActive = true;
    bool hitTestVisible = true;
    bool keyboardActive = false;
};

} // namespace zor
