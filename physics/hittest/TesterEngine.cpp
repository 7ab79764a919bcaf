#include "physics/hittest/TesterEngine.h"

#include "common/containers/String.h"
#include "common/framework/DockingSeparator.h"
#include "common/framework/IDockingLayout.h"
#include "common/framework/IElement.h"
#include "common/framework/IElementGeometry.h"
#include "common/framework/IElementState.h"
#include "common/framework/IScene2D.h"
#include "common/log/Log.h"
#include "common/object/Identifiers.h"
#include "common/variables/Matrix.h"
#include "common/variables/Rect.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/hittest/ElementHit.h"
#include "physics/math/MatrixRoutines.h"

namespace zor {
namespace {

// The position index of the first separator, in array order, whose bar contains `point`, or -1.
// `positions` and `separators` are the layout's arrays; `barOf` gives a separator's bar. Only
// separators with both top bits set and a position index inside the positions take part.
template <typename T, typename BarOf>
int64 separatorUnder(const Vector2<T>& point, const Matrix3x3<T>& matrix, const void* positions,
                     const void* separators, BarOf barOf) {
    const auto* positionArray = static_cast<const Array<T>*>(positions);
    const auto* separatorArray = static_cast<const Array<DockingSeparator<T>>*>(separators);
    const uint64 positionCount = positionArray->size();
    const DockingSeparator<T>* separator = separatorArray->data();
    for (uint64 i = separatorArray->size(); i > 0; --i, ++separator) {
        const uint32 index = separator->packed & kDockingSeparatorIndexMask;
        if ((separator->packed & kDockingSeparatorActiveBits) != kDockingSeparatorActiveBits ||
            index >= positionCount)
            continue;
        if (isPointInTransformedRect(point, barOf(*separator, positionArray->data()[index]), matrix))
            return index;
    }
    return -1;
}

const String& horizontalSeparatorEvent() {
    static const String name("DockingLayoutHSeparator");
    return name;
}

const String& verticalSeparatorEvent() {
    static const String name("DockingLayoutVSeparator");
    return name;
}

} // namespace

IObject* TesterEngine::allocateObject() {
    auto* engine = new TesterEngine();
    engine->initObjectInterface();
    engine->m_reserved = new TesterEngineReserved(engine);
    return engine;
}

TesterEngine::TesterEngine() = default;

TesterEngine::~TesterEngine() {
    m_reserved->destroy();
}

const String& TesterEngine::getTypeName() const {
    static const String typeName("TesterEngine");
    return typeName;
}

const GUID_t* TesterEngine::getGUID() const {
    return &guids::kTesterEngine;
}

bool TesterEngine::isTypeOf(const GUID_t& guid) const {
    return isTypeOfClass(guid, guids::kTesterEngine);
}

IObject* TesterEngine::castTo(const GUID_t& guid) {
    return castToClass(guid, guids::kTesterEngine);
}

HitTestEvent* TesterEngine::performHitTestToSceneFloat(Vector2<float> point) {
    return performHitTestToScene(point, "zor::TesterEngine::performHitTestToSceneFloat");
}

HitTestEvent* TesterEngine::performHitTestToSceneDouble(Vector2<double> point) {
    return performHitTestToScene(point, "zor::TesterEngine::performHitTestToSceneDouble");
}

TesterEngineReserved* TesterEngine::getTesterEngineReserved() {
    return m_reserved;
}

template <typename T>
HitTestEvent* TesterEngine::performHitTestToScene(const Vector2<T>& point, const char* functionName) {
    IScene2D* scene = sceneToHitTest<T>(functionName);
    if (scene == nullptr)
        return nullptr;
    const Array<UnfoldedElement2D>& records = unfoldedRecords(scene->getClipMarkedElements());
    // Walking from the back, a kind-3 record opens a clip region and the next record of another
    // kind closes it. `pointInClip` is false inside a region that does not contain the point,
    // and the flags of the enclosing regions wait on the stack.
    bool pointInClip = true;
    Array<uint8> savedFlags;
    for (uint64 i = records.size(); i-- > 0;) {
        const UnfoldedElement2D& unfoldedElement = records[i];
        if (unfoldedElement.kind == UnfoldedElementKindElement) {
            if (!pointInClip)
                continue;
            zor_assert_in(ZOR_LOG_MODULE, functionName, unfoldedElement.m_element != NULL);
            if (HitTestEvent* event = performHitTestToElement(point, unfoldedElement.m_element))
                return reportedEvent(event);
            continue;
        }
        zor_assert_in(ZOR_LOG_MODULE, functionName, unfoldedElement.m_element != NULL);
        IElement* clipElement = unfoldedElement.m_element;
        if (!clipElement->getState()->isHitTestVisible())
            continue;
        if (unfoldedElement.kind == UnfoldedElementKindClip) {
            savedFlags.pushBack(pointInClip);
            if (pointInClip) {
                const IElementGeometry* geometry = clipElement->getGeometry();
                pointInClip =
                    isPointInTransformedRect(point, *static_cast<const Rect<T>*>(geometry->getRectangle()),
                                             *static_cast<const Matrix3x3<T>*>(geometry->getMatrix()));
            }
        } else if (savedFlags.isEmpty()) {
            // A region closes that the walk never opened: the records before it lie outside every
            // region met so far, so nothing hides them.
            pointInClip = true;
        } else {
            pointInClip = savedFlags.popBack() != 0;
        }
    }
    return nullptr;
}

template <typename T>
HitTestEvent* TesterEngine::performHitTestToElement(const Vector2<T>& point, IElement* p_sceneElement) {
    zor_assert_in(ZOR_LOG_MODULE, "zor::TesterEngine::performHitTestToElement", p_sceneElement != NULL);
    ElementHit hit;
    if (!findElementHit(point, p_sceneElement, hit))
        return nullptr;
    if (*p_sceneElement->getGUID() != guids::kDockingLayout)
        return createHitTestEvent(hit, hit.attribute->getEventString(), 0);
    return performHitTestToSeparators(point, hit);
}

template HitTestEvent* TesterEngine::performHitTestToElement<float>(const Vector2<float>&, IElement*);
template HitTestEvent* TesterEngine::performHitTestToElement<double>(const Vector2<double>&, IElement*);

template <typename T>
HitTestEvent* TesterEngine::performHitTestToSeparators(const Vector2<T>& point, ElementHit& hit) {
    // Separators lie in the layout's own coordinates, scaled, from its rectangle's corner, each
    // a bar of the scaled thickness centred on its position.
    const T scale = *static_cast<const T*>(hit.geometry->getScale());
    const T thickness = scale * *static_cast<const T*>(hit.element->getSeparatorThickness());
    const T halfThickness = thickness * static_cast<T>(0.5);
    const auto& corner = *static_cast<const Rect<T>*>(hit.geometry->getRectangle());
    const auto& matrix = *static_cast<const Matrix3x3<T>*>(hit.geometry->getMatrix());
    const IDockingLayout* layout = hit.element->getDockingLayout();

    // Horizontal separators first: where two cross, the horizontal one is reported.
    const int64 row = separatorUnder(
        point, matrix, layout->getHorizontalPositions(), layout->getHorizontalSeparators(),
        [&](const DockingSeparator<T>& separator, T position) {
            return Rect<T>{scale * separator.start + corner.x, scale * position + corner.y - halfThickness,
                           scale * separator.length, thickness};
        });
    if (row >= 0)
        return createHitTestEvent(hit, horizontalSeparatorEvent(), static_cast<uint32>(row));
    const int64 column = separatorUnder(
        point, matrix, layout->getVerticalPositions(), layout->getVerticalSeparators(),
        [&](const DockingSeparator<T>& separator, T position) {
            return Rect<T>{scale * position + corner.x - halfThickness, scale * separator.start + corner.y,
                           thickness, scale * separator.length};
        });
    if (column >= 0)
        return createHitTestEvent(hit, verticalSeparatorEvent(), static_cast<uint32>(column));

    // The layout itself never yields an event.
    releaseTarget(hit);
    return nullptr;
}

} // namespace zor
