#include "host/scene2d/Scene2D.h"

#include "common/object/Identifiers.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

// "name:kind" for each record of a list.
std::string describe(const Array<UnfoldedElement2D>& list) {
    std::string text;
    for (const UnfoldedElement2D& record : list)
        text += std::string(text.empty() ? "" : " ") + record.m_element->getName().c_str() + ":" +
                std::to_string(record.kind);
    return text;
}

TEST(Scene2D, UnfoldsTheTreeInDrawingOrderWithClipMarksAroundClippedChildren) {
    auto* scene = new Scene2D<float>();
    Element2D<float>* panel = scene->addElement(nullptr, ElementKind2D::Panel, String("panel"));
    Element2D<float>* clip = scene->addElement(panel, ElementKind2D::ClipRegion, String("clip"));
    scene->addElement(clip, ElementKind2D::Image, String("image"));
    scene->addElement(clip, ElementKind2D::Button, String("button"));
    scene->addElement(panel, ElementKind2D::ClipRegion, String("empty"));
    scene->addElement(nullptr, ElementKind2D::Image, String("overlay"));
    scene->unfold();

    EXPECT_EQ(describe(scene->unfoldedElements()), "panel:1 clip:1 image:0 button:0 empty:0 overlay:0");
    EXPECT_EQ(describe(scene->clipMarkedElements()),
              "panel:0 clip:0 clip:1 image:0 button:0 clip:3 empty:0 overlay:0");
    // The holders hand out the same lists.
    EXPECT_EQ(scene->getUnfoldedElements()->getUserData(), &scene->unfoldedElements());
    EXPECT_EQ(scene->getClipMarkedElements()->getUserData(), &scene->clipMarkedElements());
    EXPECT_EQ(scene->getTemplateType(), 10);
    EXPECT_EQ(scene->findElement(String("button"))->getName(), "button");
    EXPECT_EQ(scene->findElement(String("missing")), nullptr);
    scene->release();
}

TEST(Scene2D, SceneMatricesScaleThenRotateThenTranslateAndApplyTheParentsAfter) {
    auto* scene = new Scene2D<double>();
    Element2D<double>* parent = scene->addElement(nullptr, ElementKind2D::Panel, String("parent"));
    parent->geometry.transform.translation = {100, 50};
    parent->geometry.transform.rotationDegrees = 90;
    Element2D<double>* child = scene->addElement(parent, ElementKind2D::Button, String("child"));
    child->geometry.transform.translation = {10, 0};
    child->geometry.transform.scale = {2, 3};
    scene->unfold();

    // Local (1, 1): scaled (2, 3), moved (12, 3) in the parent, turned a quarter (-3, 12), moved
    // (97, 62) in the scene.
    EXPECT_EQ(parent->geometry.sceneMatrix, (Matrix3x3<double>{{0, 1, 0, -1, 0, 0, 100, 50, 1}}));
    EXPECT_EQ(child->geometry.sceneMatrix, (Matrix3x3<double>{{0, 2, 0, -3, 0, 0, 100, 60, 1}}));
    const Matrix3x3<double>& m = child->geometry.sceneMatrix;
    EXPECT_EQ(1 * m[0] + 1 * m[3] + m[6], 97);
    EXPECT_EQ(1 * m[1] + 1 * m[4] + m[7], 62);
    scene->release();
}

// Ancestors, with the reference each hands out, are the hit-test engines' to show (the event's
// target, HitTestEngineTest).
TEST(Scene2D, ElementsAnswerForTheirKindsClass) {
    auto* scene = new Scene2D<float>();
    Element2D<float>* layout = scene->addElement(nullptr, ElementKind2D::DockingLayout, String("layout"));
    Element2D<float>* frame = scene->addElement(layout, ElementKind2D::Decorator, String("frame"));
    Element2D<float>* image = scene->addElement(frame, ElementKind2D::Image, String("image"));
    EXPECT_EQ(*layout->getGUID(), guids::kDockingLayout);
    EXPECT_NE(layout->getDockingLayout(), nullptr);
    EXPECT_EQ(*frame->getGUID(), guids::kHitTestPassThroughElement);
    EXPECT_EQ(frame->getDockingLayout(), nullptr);
    EXPECT_EQ(*image->getGUID(), guids::kHostElement2D);
    EXPECT_TRUE(layout->isTypeOf(guids::kHostElement2D) && image->isTypeOf(guids::kHostObject));
    EXPECT_FALSE(image->isTypeOf(guids::kDockingLayout));
    EXPECT_EQ(std::string(frame->getTypeName().c_str()), "Decorator");
    scene->release();
}

} // namespace
} // namespace zor
