#include "host/detector/HostCollisionDetector.h"

#include "common/containers/Array.h"
#include "common/framework/IMesh.h"
#include "common/object/Identifiers.h"
#include "common/object/ObjectFactory.h"
#include "support/TestApplicationData.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

// A unit floor cell as two triangles.
class FloorMesh final : public IMesh {
public:
    FloorMesh() {
        for (uint32 index : {0u, 1u, 2u, 0u, 2u, 3u})
            m_triangles.pushBack(index);
    }
    void deletingDestructor(uint32) override {}
    uint64 getVertexCount() const override { return 4; }
    const Array<uint32>& getTriangleIndices() const override { return m_triangles; }

private:
    Array<uint32> m_triangles;
};

template <typename T>
class HostCollisionDetectorTest : public testing::Test {};
using NumberTypes = testing::Types<float, double>;
TYPED_TEST_SUITE(HostCollisionDetectorTest, NumberTypes);

// The factory gives the detector of the scene's number type; its tests answer through the
// pointers with the normal directions the engine expects.
TYPED_TEST(HostCollisionDetectorTest, IsCreatedByIdentifierAndAnswersThroughItsSlots) {
    using T = TypeParam;
    using V = Vector3<T>;
    test::TestApplicationData record(&HostObject::create);
    zor_addObjectAllocator<HostCollisionDetector<T>>();
    IObject* created =
        zor_createObjectFromGUIDAndTypeName(guids::kCollisionDetector, String(sizeof(T) == 4 ? "float" : "double"));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->getTemplateType(), sizeof(T) == 4 ? 10 : 11);
    auto* detector = static_cast<ICollisionDetector<T>*>(created->castTo(guids::kCollisionDetector));
    ASSERT_EQ(detector, created);

    const V floor[] = {{0, 0, -1}, {0, 0, 0}, {1, 0, 0}, {1, 0, -1}};
    const V centre{T(0.5), T(0.25), T(-0.5)}, far{T(0.5), T(3), T(-0.5)};
    const T radius = T(0.5);
    V normal{};
    T depth = 0;
    ASSERT_TRUE(detector->testCapsuleQuadrilateral(&centre, &centre, &radius, &floor[0], &floor[1], &floor[2],
                                                   &floor[3], &normal, &depth));
    EXPECT_EQ(normal, (V{0, 1, 0})) << "from the face towards the capsule";
    EXPECT_NEAR(depth, T(0.25), 1e-6);

    FloorMesh mesh;
    Array<V> vertices;
    for (const V& corner : floor)
        vertices.pushBack(corner);
    ASSERT_TRUE(detector->testSphereMesh(&centre, &radius, &mesh, &vertices, &normal, &depth));
    EXPECT_EQ(normal, (V{0, -1, 0})) << "from the sphere towards the mesh";
    normal = {};
    EXPECT_FALSE(detector->testCapsuleMesh(&far, &far, &radius, &mesh, &vertices, &normal, &depth));
    EXPECT_FALSE(detector->testCapsuleMesh(&centre, &centre, &radius, nullptr, &vertices, &normal, &depth));
    EXPECT_EQ(normal, V{}) << "outputs are left alone without contact";

    const V other{T(0.5), T(0.25), T(0.25)};
    ASSERT_TRUE(detector->testSphereSphere(&centre, &radius, &other, &radius, &normal, &depth));
    EXPECT_EQ(normal, (V{0, 0, 1}));
    created->release();
}

} // namespace
} // namespace zor
