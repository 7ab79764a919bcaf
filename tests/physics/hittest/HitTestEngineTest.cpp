// What both hit-testing engines share, for float and double scenes: the refusals, the walk from
// the last record, transparent and passive elements, the event's contents and references.
// And what sets the tester engine apart: clip regions in its own list, kind 1 as a clip end, and
// the separators of docking layouts.

#include "physics/attributes/HitTestEvent.h"

#include "common/containers/String.h"
#include "host/project/HostPhysicsAttribute.h"
#include "host/scene2d/Scene2D.h"
#include "physics/attributes/HitTestAttribute.h"
#include "physics/hittest/PhysicsEngine2D.h"
#include "physics/hittest/TesterEngine.h"

#include "support/ExitOutput.h"
#include "support/LogLines.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>

// The scene and engine helpers of these tests.
namespace zor::test {

/// Adds an element of `kind` (a button unless given) with a hit-test attribute to `scene` (under
/// `parent`, the root when null).
template <typename T>
Element2D<T>* addHitTestable(Scene2D<T>& scene, Element2D<T>* parent, const char* name, Rect<T> rectangle,
                             const char* eventString = "", uint32 eventParent = 1,
                             ElementKind2D kind = ElementKind2D::Button) {
    Element2D<T>* element = scene.addElement(parent, kind, String(name));
    element->geometry.rectangle = rectangle;
    auto* attribute = new HitTestAttribute();
    attribute->setEventString(String(eventString));
    attribute->setEventParent(eventParent);
    element->setHitTestAttribute(attribute);
    attribute->release();
    return element;
}

/// "element name" or "element name/event string/separator index" of a hit, "" for none; the
/// event is destroyed.
inline std::string describeHit(HitTestEvent* event) {
    if (event == nullptr)
        return "";
    std::string text = event->getElement()->getName().c_str();
    if (event->getSeparatorIndex() != 0 || !event->getEventString().isEmpty())
        text += "/" + std::string(event->getEventString().c_str()) + "/" +
                std::to_string(event->getSeparatorIndex());
    event->destroy();
    return text;
}

/// The records of a scene list, to be rewritten by a test: `holder` is what the scene's
/// getUnfoldedElements or getClipMarkedElements hands out.
inline Array<UnfoldedElement2D>& listOf(IObject* holder) {
    return *static_cast<Array<UnfoldedElement2D>*>(holder->getUserData());
}

/// A scene of number type T and a resources handler for the engines a test puts on it, with a
/// host record that makes the hit-test attributes.
template <typename T>
class HitTestSceneTest : public ::testing::Test {
protected:
    ~HitTestSceneTest() override {
        m_scene->release();
        m_handler->release();
    }

    /// A new engine of class Engine hit-testing the scene; the test releases it.
    template <typename Engine>
    Engine* newEngine() {
        auto* engine = static_cast<Engine*>(Engine::allocateObject());
        engine->setResourcesHandler(m_handler);
        engine->setCurrentScene(m_scene);
        return engine;
    }
    Element2D<T>* add(const char* name, Rect<T> rectangle, Element2D<T>* parent = nullptr) {
        return addHitTestable(*m_scene, parent, name, rectangle);
    }

    TestApplicationData m_record{&HostObject::create, &HostPhysicsAttribute::create};
    Scene2D<T>* m_scene = new Scene2D<T>();
    IObject* m_handler = HostObject::create();
};

} // namespace zor::test

namespace zor {
namespace {

template <typename EngineClass, typename Number>
struct Config {
    using Engine = EngineClass;
    using T = Number;
};

template <typename C>
class HitTestEngineTest : public test::HitTestSceneTest<typename C::T> {
protected:
    using Engine = typename C::Engine;
    using T = typename C::T;
    using Base = test::HitTestSceneTest<T>;
    using Base::m_scene;

    HitTestEngineTest() { m_scene->setName(String("scene")); }
    ~HitTestEngineTest() override { m_engine->release(); }

    /// The engine's event for the point, or null.
    HitTestEvent* hit(T x, T y) {
        if (!m_frozen)
            m_scene->unfold();
        if constexpr (std::is_same_v<T, float>)
            return m_engine->performHitTestToSceneFloat(Vector2<float>{x, y});
        else
            return m_engine->performHitTestToSceneDouble(Vector2<double>{x, y});
    }
    /// The name of the element hit at the point ("" for none).
    std::string hitName(T x, T y) { return test::describeHit(hit(x, y)); }
    /// The hit test's name in the log lines.
    static std::string hitTestFunction() {
        return std::string(std::is_same_v<Engine, TesterEngine> ? "zor::TesterEngine"
                                                                : "zor::PhysicsEngine2D") +
               "::performHitTestToScene" + (std::is_same_v<T, float> ? "Float" : "Double");
    }
    /// Set when a test has placed the elements itself: the hit tests do not unfold the scene.
    bool m_frozen = false;
    Engine* m_engine = Base::template newEngine<Engine>();
};

using Configs = ::testing::Types<Config<PhysicsEngine2D, float>, Config<PhysicsEngine2D, double>,
                                 Config<TesterEngine, float>, Config<TesterEngine, double>>;
TYPED_TEST_SUITE(HitTestEngineTest, Configs);

TYPED_TEST(HitTestEngineTest, RefusesWithoutHandlerSceneOrASceneOfItsNumberType) {
    constexpr bool isFloat = std::is_same_v<typename TypeParam::T, float>;
    const std::string function = this->hitTestFunction();
    this->add("button", {0, 0, 10, 10});
    this->m_record.clearCaptured();

    this->m_engine->setResourcesHandler(nullptr);
    EXPECT_EQ(this->hit(5, 5), nullptr);
    this->m_engine->setResourcesHandler(this->m_handler);
    this->m_engine->setCurrentScene(nullptr);
    EXPECT_EQ(this->hit(5, 5), nullptr);
    // The other number type's scene: a float point on a double scene and the other way round.
    using Other = std::conditional_t<isFloat, double, float>;
    auto* other = new Scene2D<Other>();
    this->m_engine->setCurrentScene(other);
    EXPECT_EQ(this->hit(5, 5), nullptr);
    char address[32];
    std::snprintf(
        address, sizeof address, "%016llX",
        static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(static_cast<IScene2D*>(other))));
    this->m_engine->setCurrentScene(nullptr);
    other->release();

    const std::vector<std::string> expected = {
        test::physicsWarning(function,
                             "Physics engine doesn't have a resources handler. Cannot do anything."),
        test::physicsWarning(function, isFloat ? "Current scene is NULL. Cannot do anything."
                                               : "Scene is NULL. Cannot do anything."),
        test::physicsWarning(function, "Current scene:0x" + std::string(address) + " class variable type:" +
                                           (isFloat ? "0xB is not compatible with point float type"
                                                    : "0xA is not compatible with point double type"))};
    EXPECT_EQ(test::logLines(this->m_record), expected);
}

TYPED_TEST(HitTestEngineTest, LaterRecordsWinEdgesHitAndEmptyScenesMissQuietly) {
    using T = typename TypeParam::T;
    EXPECT_EQ(this->hitName(0, 0), "") << "no records";
    this->add("first", {0, 0, 100, 50});
    this->add("second", {50, 0, 100, 50});
    this->m_record.clearCaptured();
    EXPECT_EQ(this->hitName(75, 25), "second");
    EXPECT_EQ(this->hitName(25, 25), "first");
    EXPECT_EQ(this->hitName(150, 50), "second") << "the far corner is inside";
    EXPECT_EQ(this->hitName(0, 0), "first");
    EXPECT_EQ(this->hitName(std::nextafter(T(150), T(200)), 25), "");
    EXPECT_EQ(this->hitName(25, std::nextafter(T(0), T(-1))), "");
    EXPECT_TRUE(this->m_record.writtenTexts().empty());
}

// A class of its own that passes the hit-test attribute's type test.
class DerivedHitTestAttribute final : public HitTestAttribute {
public:
    ZOR_DELETING_DESTRUCTOR(DerivedHitTestAttribute)
    const GUID_t* getGUID() const override { return &kGuid; }

private:
    static constexpr GUID_t kGuid{"12345678-9abc-def0-0102-030405060708"};
};

TYPED_TEST(HitTestEngineTest, TransparentElementsLetTheWalkGoOn) {
    this->add("behind", {0, 0, 100, 100});
    Element2D<typename TypeParam::T>* front = this->add("front", {0, 0, 100, 100});
    front->state.hitTestVisible = false;
    EXPECT_EQ(this->hitName(50, 50), "behind") << "state 11 false";
    front->state.hitTestVisible = true;
    front->setHitTestAttribute(nullptr);
    EXPECT_EQ(this->hitName(50, 50), "behind") << "no attribute";
    // Only the hit-test attribute's own class counts, not another object at index 0.
    IObject* other = HostObject::create();
    front->setHitTestAttribute(other);
    other->release();
    EXPECT_EQ(this->hitName(50, 50), "behind") << "another class";
    auto* derived = new DerivedHitTestAttribute();
    front->setHitTestAttribute(derived);
    derived->release();
    EXPECT_EQ(this->hitName(50, 50), "behind") << "a derived class";
    front->setHitTestAttribute(nullptr);
    front->setHitTestAttribute(this->m_scene->findElement(String("behind"))->getPhysicsAttribute(0));
    EXPECT_EQ(this->hitName(50, 50), "front");
}

TYPED_TEST(HitTestEngineTest, APassiveHitHidesWhatLiesBehind) {
    this->add("button", {0, 0, 100, 100});
    Element2D<typename TypeParam::T>* overlay = this->add("overlay", {0, 0, 100, 100});
    overlay->state.pointerActive = false;
    EXPECT_EQ(this->hit(50, 50), nullptr);
    overlay->state.keyboardActive = true;
    HitTestEvent* event = this->hit(50, 50);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(std::string(event->getElement()->getName().c_str()), "overlay");
    EXPECT_FALSE(event->isPassive());
    event->destroy();
}

TYPED_TEST(HitTestEngineTest, TheEventHoldsTheElementTheTargetAndACopyOfTheText) {
    using T = typename TypeParam::T;
    Element2D<T>* window = this->m_scene->addElement(nullptr, ElementKind2D::Panel, String("window"));
    Element2D<T>* frame = this->m_scene->addElement(window, ElementKind2D::Decorator, String("frame"));
    Element2D<T>* button =
        test::addHitTestable(*this->m_scene, frame, "button", Rect<T>{0, 0, 10, 10}, "clicked");
    auto* attribute = static_cast<EventAttribute*>(button->getPhysicsAttribute(0));

    // Event parent: the element itself, a plain parent, or past a decorator to its parent.
    const struct {
        uint32 eventParent;
        IObject* target;
    } cases[] = {{0, button}, {1, window}, {2, window}, {3, &this->m_scene->root()}, {4, nullptr}};
    for (const auto& c : cases) {
        attribute->setEventParent(c.eventParent);
        const uint32 counts[] = {button->getReferenceCount(), window->getReferenceCount(),
                                 frame->getReferenceCount()};
        HitTestEvent* event = this->hit(5, 5);
        ASSERT_NE(event, nullptr);
        EXPECT_EQ(event->getTarget(), c.target) << "event parent " << c.eventParent;
        EXPECT_EQ(event->getElement(), button);
        EXPECT_EQ(event->getSeparatorIndex(), 0u);
        // One reference each on the element and the target; none left on the decorator.
        EXPECT_EQ(button->getReferenceCount(), counts[0] + 1 + (c.target == button));
        EXPECT_EQ(window->getReferenceCount(), counts[1] + (c.target == window));
        EXPECT_EQ(frame->getReferenceCount(), counts[2]);
        attribute->setEventString(String("changed"));
        EXPECT_EQ(std::string(event->getEventString().c_str()), "clicked");
        attribute->setEventString(String("clicked"));
        event->destroy();
        EXPECT_EQ(button->getReferenceCount(), counts[0]);
        EXPECT_EQ(window->getReferenceCount(), counts[1]);
    }
}

TYPED_TEST(HitTestEngineTest, AnElementRecordWithoutAnElementEndsTheProcess) {
    const std::string function = this->hitTestFunction();
    this->m_frozen = true;
    const UnfoldedElement2D empty{UnfoldedElementKindElement, nullptr, {}};
    test::listOf(this->m_scene->getUnfoldedElements()).pushBack(empty);
    test::listOf(this->m_scene->getClipMarkedElements()).pushBack(empty);
    const std::string output = test::outputOfExit([this] {
        test::PrintingRecord record{&HostObject::create};
        this->hit(0, 0);
    });
    EXPECT_NE(
        output.find("ERROR zor_physics.dll " + function + " - assert(unfoldedElement.m_element != NULL)\r\n"),
        std::string::npos)
        << output;
}

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
