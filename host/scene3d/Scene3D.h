#pragma once

#include "common/framework/IScene3D.h"
#include "common/framework/ViewRecord.h"
#include "host/core/HostObject.h"
#include "host/scene3d/Camera.h"
#include "host/scene3d/Element3D.h"
#include "host/scene3d/ElementLayer.h"
#include "host/scene3d/GridStage.h"
#include "host/scene3d/SceneGeneration.h"

namespace zor {

/// A host 3D scene of number type T: its elements (a hierarchy, walked parents first), the
/// gravity, a camera, and the view record that it keeps up to date for the engines. It declares
/// its generation (ISceneGeneration) and raises it when elements, grid stages or physics
/// attributes are added; code that changes an attribute's variables or a mesh of the scene
/// between steps calls raiseGeneration.
template <typename T>
class Scene3D : public HostObjectOf<IScene3D> {
public:
    Scene3D();
    ZOR_DELETING_DESTRUCTOR(Scene3D)

    /// The scene for a scene file's type name ("Scene3D{float}" or "Scene3D{double}"), or null.
    static Scene3D* create(const String& typeName);

    /// "Scene3D{float}" or "Scene3D{double}".
    const String& getTypeName() const override;
    /// Takes elements of its own number type, which join the walk with their descendants, and
    /// grid stages of that type whose tiles name only attributes they have.
    bool addChild(IObject* child) override;
    /// The gravity and the camera.
    bool read(IObject* reader) override;
    bool write(IObject* writer, uint8 typedMode, uint64 context) override;

    /// "float" or "double".
    const String& getTemplateTypeName() const override;
    /// 10 or 11.
    int32 getTemplateType() const override;
    uint32 getTemplateTypeSize() const override { return sizeof(T); }
    /// A 3D scene; a host object.
    bool isTypeOf(const GUID_t& guid) const override;
    /// The scene, or for guids::kSceneGeneration its generation while it declares one.
    IObject* castTo(const GUID_t& guid) override;

    IElementLayer* getElementLayer(uint32 index) override { return index == 0 ? m_layer : nullptr; }
    /// The grid stages, or null while the scene has none.
    IObjectCollection* getGridStages() override { return m_gridStages; }
    double getGravity() const override { return m_gravity; }
    IObject* getViewHolder() override { return m_viewHolder; }

    /// Adds `element` (a reference is taken) under `parent`, or at the top for null; a parent
    /// must have been added before its children.
    void addElement(Element3D<T>* element, Element3D<T>* parent = nullptr);
    /// The scene's elements in walking order (an item pushed here raises no generation).
    HostCollection& elements() { return m_layer->elements(); }
    /// Adds a grid stage (a reference is taken).
    void addGridStage(IObject* stage);
    void setGravity(double gravity) { m_gravity = gravity; }
    /// Tells the engines that something the generation covers has changed (see ISceneGeneration).
    void raiseGeneration() { m_generation->raise(); }
    /// Whether castTo hands out the generation (at first it does): a scene that does not declare
    /// it is read whole at every step.
    void declareGeneration(bool declares) { m_declaresGeneration = declares; }
    Camera<T>& camera() { return m_camera; }
    const ViewRecord<T>& view() const { return m_view; }
    /// Brings world matrices, the unfolded entries and the camera's P and V up to date, as the
    /// engines expect them before a collision stage.
    void updateView();

protected:
    ~Scene3D();

private:
    bool addStageChild(GridStage<T>* stage);
    /// Appends `element` and its element descendants to the walk, parents first.
    void join(IObject* element);

    ElementLayer* m_layer;
    HostCollection* m_gridStages = nullptr;
    IObject* m_viewHolder;
    SceneGeneration* m_generation;
    bool m_declaresGeneration = true;
    double m_gravity = 0;
    Camera<T> m_camera;
    ViewRecord<T> m_view;
};

extern template class Scene3D<float>;
extern template class Scene3D<double>;

} // namespace zor
