#pragma once

#include "common/containers/Array.h"
#include "common/framework/IScene2D.h"
#include "common/framework/UnfoldedElement2D.h"
#include "host/core/HostObject.h"
#include "host/scene2d/Element2D.h"

namespace zor {

/// A host 2D scene of number type T: a tree of elements under an unnamed root, and the two
/// unfolded lists that the hit tests read, in drawing order (parents before their children).
/// Call unfold after changing the tree or a transform.
template <typename T>
class Scene2D : public HostObjectOf<IScene2D> {
public:
    Scene2D();

    ZOR_DELETING_DESTRUCTOR(Scene2D)
    /// "Scene2D".
    const String& getTypeName() const override;
    const String& getTemplateTypeName() const override;
    int32 getTemplateType() const override;
    uint32 getTemplateTypeSize() const override;
    const GUID_t* getGUID() const override;
    bool isTypeOf(const GUID_t& guid) const override;
    IObject* castTo(const GUID_t& guid) override;
    IObject* getClipMarkedElements() override { return m_clipMarkedHolder; }
    IObject* getUnfoldedElements() override { return m_unfoldedHolder; }

    /// The root: the parent of the top elements, itself neither drawn nor listed.
    Element2D<T>& root() { return *m_root; }
    /// A new element, the last child of `parent` (of the root when null); the scene keeps it.
    Element2D<T>* addElement(Element2D<T>* parent, ElementKind2D kind, const String& name);
    /// The first element named `name`, depth first, or null.
    Element2D<T>* findElement(const String& name) const;

    /// Computes every element's matrix to scene coordinates and rebuilds both lists. The plain
    /// list has a record per element: kind 1 for an element with children, else 0. The
    /// clip-marked list has a record of kind 0 per element, and around the children of a clip
    /// region a kind-1 record before them and a kind-3 record after them.
    void unfold();

    const Array<UnfoldedElement2D>& unfoldedElements() const { return m_unfolded; }
    const Array<UnfoldedElement2D>& clipMarkedElements() const { return m_clipMarked; }

protected:
    /// Releases the tree and the holders.
    ~Scene2D();

private:
    void unfold(Element2D<T>& element, const Matrix3x3<T>& parentMatrix);

    Element2D<T>* m_root;
    Array<UnfoldedElement2D> m_unfolded;
    Array<UnfoldedElement2D> m_clipMarked;
    IObject* m_unfoldedHolder;
    IObject* m_clipMarkedHolder;
};

extern template class Scene2D<float>;
extern template class Scene2D<double>;

} // namespace zor
