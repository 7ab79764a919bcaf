// What sets the tester engine apart from PhysicsEngine2D: clip regions in its own list, kind 1 as
// a clip end, and the separators of docking layouts.

#include "physics/hittest/TesterEngine.h"
#include "physics/hittest/PhysicsEngine2D.h"

#include "physics/hittest/HitTestSceneBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace zor {
namespace {

using T = double;

class TesterEngineTest : public test::HitTestSceneTest<T> {
protected:
    ~TesterEngineTest() override {
        m_tester->release();
        m_engine2D->release();
    }

    std::string tester(T x, T y) { return test::describeHit(m_tester->performHitTestToSceneDouble({x, y})); }
    std::string engine2D(T x, T y) {
        return test::describeHit(m_engine2D->performHitTestToSceneDouble({x, y}));
    }

    TesterEngine* m_tester = newEngine<TesterEngine>();
    PhysicsEngine2D* m_engine2D = newEngine<PhysicsEngine2D>();
};

// A background, and a scrolled clip region (50, 50)-(100, 100) whose content reaches from
// (25, 25) to (225, 225).
TEST_F(TesterEngineTest, ClipRegionsHideWhatLiesOutsideThem) {
    add("background", {0, 0, 300, 300});
    Element2D<T>* clip = m_scene->addElement(nullptr, ElementKind2D::ClipRegion, String("clip"));
    clip->geometry.rectangle = {0, 0, 50, 50};
    clip->geometry.transform.translation = {50, 50};
    Element2D<T>* content = add("content", {0, 0, 200, 200}, clip);
    content->geometry.transform.translation = {-25, -25};
    m_scene->unfold();

    const struct {
        T x, y;
        const char* tester;
        const char* engine2D;
    } points[] = {
        {75, 75, "content", "content"},        // inside the region
        {100, 100, "content", "content"},      // on its far corner
        {30, 30, "background", "content"},     // on the content, outside the region
        {200, 60, "background", "content"},    // the same, beside it
        {250, 250, "background", "background"} // past the content
    };
    for (const auto& p : points) {
        EXPECT_EQ(tester(p.x, p.y), p.tester) << p.x << ", " << p.y;
        EXPECT_EQ(engine2D(p.x, p.y), p.engine2D) << p.x << ", " << p.y;
    }

    // A clip region out of hit testing clips nothing: its records neither open nor close.
    clip->state.hitTestVisible = false;
    EXPECT_EQ(tester(30, 30), "content");

    // Nested: a region inside a region that misses the point keeps it hidden; after the inner
    // one closes, the outer one's flag is back.
    clip->state.hitTestVisible = true;
    Element2D<T>* inner = m_scene->addElement(clip, ElementKind2D::ClipRegion, String("inner"));
    inner->geometry.rectangle = {0, 0, 10, 10};
    add("innerContent", {0, 0, 300, 300}, inner);
    m_scene->unfold();
    EXPECT_EQ(tester(30, 30), "background");
    EXPECT_EQ(tester(75, 75), "content") << "hidden by the inner region, inside the outer one";
    EXPECT_EQ(tester(55, 55), "innerContent");
}

TEST_F(TesterEngineTest, KindOneClosesARegionForTheTesterAndIsAnElementForTheOtherEngine) {
    Element2D<T>* back = add("back", {0, 0, 100, 100});
    Element2D<T>* front = add("front", {0, 0, 100, 100});
    m_scene->unfold();
    const UnfoldedElement2D frontAsKind1{UnfoldedElementKindGroup, front, {}};
    test::listOf(m_scene->getUnfoldedElements()).pushBack(frontAsKind1);
    Array<UnfoldedElement2D>& clipMarked = test::listOf(m_scene->getClipMarkedElements());
    clipMarked.resize(0);
    clipMarked.pushBack(UnfoldedElement2D{UnfoldedElementKindElement, back, {}});
    clipMarked.pushBack(frontAsKind1);
    EXPECT_EQ(engine2D(50, 50), "front");
    // A clip end with no region open leaves the records before it visible.
    EXPECT_EQ(tester(50, 50), "back");

    // A region that misses the point, closed by kind 1 and by kind 7: hidden inside, visible after.
    clipMarked.resize(0);
    for (uint32 closing : {1u, 7u}) {
        clipMarked.pushBack(UnfoldedElement2D{UnfoldedElementKindElement, back, {}});
        clipMarked.pushBack(UnfoldedElement2D{closing, front, {}});
        clipMarked.pushBack(UnfoldedElement2D{UnfoldedElementKindElement, front, {}});
        clipMarked.pushBack(UnfoldedElement2D{UnfoldedElementKindClip, front, {}});
        front->geometry.sceneMatrix = Matrix3x3<T>{{1, 0, 0, 0, 1, 0, 500, 0, 1}};
        EXPECT_EQ(tester(50, 50), "back") << closing;
        clipMarked.resize(0);
    }
}

// A 300 x 200 layout at (10, 20) with rows at y = 50 and 80 and a column at x = 100, content
// scale 2 and separators 2 thick (4 once scaled).
TEST_F(TesterEngineTest, DockingLayoutsReportTheSeparatorUnderThePoint) {
    Element2D<T>* layout = test::addHitTestable(*m_scene, {}, "layout", Rect<T>{10, 20, 300, 200}, "layout",
                                                1, ElementKind2D::DockingLayout);
    layout->geometry.contentScale = 2;
    DockingLayout<T>& separators = *layout->separators();
    separators.thickness = 2;
    // A third row stays in the array's memory past its end, where a separator must not find it.
    separators.rows.setMode(ArrayModeGrowOnly, ArrayGrowthPowerOfTwo);
    separators.rows.pushBack(50);
    separators.rows.pushBack(80);
    separators.rows.pushBack(30);
    separators.rows.resize(2);
    separators.columns.pushBack(100);
    // Rows: the first runs over x 0..150 at row 0; the second at row 1 with one top bit only;
    // the third at a row that does not exist. The column runs over y 0..100.
    separators.horizontal.pushBack(DockingLayout<T>::separator(0, 150, 0));
    separators.horizontal.pushBack(DockingSeparator<T>{0, 150, 0x80000001u});
    separators.horizontal.pushBack(DockingLayout<T>::separator(0, 150, 2));
    separators.vertical.pushBack(DockingLayout<T>::separator(0, 100, 0));
    m_scene->unfold();

    // Scaled, the row 0 bar spans x 10..310 and y 118..122; the column bar x 208..212, y 20..220.
    const struct {
        T x, y;
        const char* expected;
    } points[] = {
        {50, 120, "layout/DockingLayoutHSeparator/0"},
        {310, 118, "layout/DockingLayoutHSeparator/0"}, // the bar's corner
        {210, 120, "layout/DockingLayoutHSeparator/0"}, // where the column crosses it
        {210, 60, "layout/DockingLayoutVSeparator/0"},
        {212, 220, "layout/DockingLayoutVSeparator/0"},
        {50, 60, ""},  // inside the layout, on no separator
        {50, 180, ""}, // row 1: one top bit only
        {50, 116, ""}, // just above the bar
        {50, 80, ""},  // where the row past the end would lie
    };
    for (const auto& p : points)
        EXPECT_EQ(tester(p.x, p.y), p.expected) << p.x << ", " << p.y;

    // The separator index is the record's position index; the other engine sees only the layout.
    separators.horizontal[1].packed = 0xC0000001u;
    EXPECT_EQ(tester(50, 180), "layout/DockingLayoutHSeparator/1");
    EXPECT_EQ(engine2D(50, 60), "layout/layout/0");
    EXPECT_EQ(layout->getReferenceCount(), 0u) << "no reference left behind by the misses";
}

} // namespace
} // namespace zor
