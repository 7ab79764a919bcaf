#pragma once

#include "common/containers/String.h"
#include "common/framework/IVariableReader.h"
#include "common/variables/Rect.h"
#include "host/core/HostObject.h"
#include "host/scene2d/Element2D.h"

namespace zor {

// The objects of a 2D scene file, as the host's document readers make them: each reads its own
// variables (slot 19), writes them back (slot 20) and holds its children. They keep numbers as
// double, since the scene's number type is known only once the file is read; a scene of either
// type is built from them. A read refuses values a scene cannot use (non-finite numbers,
// negative sizes, an unknown number type) with one ERROR line naming the value's place.

/// The scene itself: "numberType" ("float" or "double", default "float"); its children are the
/// top elements.
class SceneDescription : public HostObject {
public:
    ZOR_DELETING_DESTRUCTOR(SceneDescription)
    /// "Scene2D".
    const String& getTypeName() const override;
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;

    bool isDouble = false;
};

/// An element: "name"; the nodes "rectangle" (x, y, width, height), "translation" and "scale"
/// (x, y); "rotation" in degrees; "contentScale"; the flags "hitTestVisible", "pointerActive"
/// and "keyboardActive"; for docking layouts "separatorThickness". Its children are elements,
/// separators and at most one hit-test attribute.
class ElementDescription : public HostObject {
public:
    explicit ElementDescription(ElementKind2D kind) : kind(kind) {}

    ZOR_DELETING_DESTRUCTOR(ElementDescription)

    /// The element kind's type name ("Panel", "Button", ...).
    const String& getTypeName() const override;
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;

    ElementKind2D kind;
    Rect<double> rectangle{};
    Transform2D<double> transform{};
    double contentScale = 1;
    double separatorThickness = 4;
    ElementState state;
};

/// A separator of a docking layout: "position" (y of a horizontal one, x of a vertical one),
/// "start" and "length" along it; "activeBits" (0 to 3, default 3: the two top bits of its
/// record) and "index" (default: its own position's) let a file write records the hit tests
/// must ignore.
class SeparatorDescription : public HostObject {
public:
    explicit SeparatorDescription(bool horizontal) : horizontal(horizontal) {}

    ZOR_DELETING_DESTRUCTOR(SeparatorDescription)

    /// "HorizontalSeparator" or "VerticalSeparator".
    const String& getTypeName() const override;
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;

    bool horizontal;
    double position = 0;
    double start = 0;
    double length = 0;
    uint32 activeBits = 3;
    /// The position index its record names; -1: its own position's.
    int64 index = -1;
};

} // namespace zor
