#pragma once

#include "common/framework/IElementLayer.h"
#include "host/core/HostObject.h"
#include "host/scene3d/HostCollection.h"

namespace zor {

/// A layer of a host scene: the scene's elements in the order the engines walk them.
class ElementLayer : public HostObjectOf<IElementLayer> {
public:
    ElementLayer() : m_elements(new HostCollection()) {}
    ZOR_DELETING_DESTRUCTOR(ElementLayer)

    IObjectCollection* getElements() override { return m_elements; }
    /// The collection, for the host to fill.
    HostCollection& elements() { return *m_elements; }

protected:
    ~ElementLayer() { m_elements->release(); }

private:
    HostCollection* m_elements;
};

} // namespace zor
