#pragma once

#include "common/framework/IElementGeometry.h"
#include "common/variables/Matrix.h"
#include "common/variables/Rect.h"
#include "host/scene2d/Transform2D.h"

namespace zor {

/// The geometry of a host 2D element: its rectangle and local transform as the scene file gives
/// them, the content scale of its separators, and the matrix to scene coordinates that the
/// scene computes when it unfolds its tree.
template <typename T>
class ElementGeometry : public IElementGeometry {
public:
    void deletingDestructor(uint32) override {}
    const void* getRectangle() const override { return &rectangle; }
    const void* getMatrix() const override { return &sceneMatrix; }
    const void* getScale() const override { return &contentScale; }

    Rect<T> rectangle{};
    Transform2D<T> transform{};
    T contentScale = 1;
    Matrix3x3<T> sceneMatrix{};
};

} // namespace zor
