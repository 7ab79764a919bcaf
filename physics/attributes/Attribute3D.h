#pragma once

#include "common/containers/String.h"
#include "common/variables/VariableType.h"

#include <type_traits>

namespace zor {

/// What the attribute classes of 3D scenes answer alike on top of their `Level`: T (float or
/// double), the number type of the scene, as their template type, and events handed to the host
/// level's listeners before the host level handles them.
template <typename T, typename Level>
class Attribute3D : public Level {
public:
    /// "float" or "double".
    const String& getTemplateTypeName() const override {
        return std::is_same_v<T, float> ? String::floatTypeName() : String::doubleTypeName();
    }
    int32 getTemplateType() const override {
        return std::is_same_v<T, float> ? VariableTypeFloat : VariableTypeDouble;
    }
    uint32 getTemplateTypeSize() const override { return sizeof(T); }
    bool handleEvent(IObject* event, IObject* sender) override {
        return this->handleEventThroughHost(event, sender);
    }

protected:
    Attribute3D() = default;
    ~Attribute3D() = default;
};

} // namespace zor
