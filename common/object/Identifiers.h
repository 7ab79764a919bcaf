#pragma once

#include "common/object/Guid.h"

// The identifiers that the module and the reference host use, in one table. Class identifiers
// name the module's classes (float and double forms share one); interface identifiers name the
// host's object kinds, by which the module tells host objects apart. Identity is by value: every
// binary has its own copies, and only equality counts.

namespace zor::guids {

// Classes of the physics module.
inline constexpr GUID_t kHitTestAttribute{"26d5f972-8210-46d8-aaae-d3643cf3ac0f"};
inline constexpr GUID_t kCollision3DAttribute{"10a0d77f-71ad-41aa-8bd6-6b5da4df47b5"};
inline constexpr GUID_t kRigidBody3DAttribute{"511efde9-796d-4777-ac79-2caa755ff3cf"};
inline constexpr GUID_t kTesterEngine{"e28a5ebf-a1b5-4ec8-95b5-105a69012331"};
inline constexpr GUID_t kPhysicsEngine2D{"58acca28-3441-41eb-940c-dfa1c72b95cf"};
inline constexpr GUID_t kPhysicsEngine3D{"36c48e50-6e82-44b7-a832-af920aa0b834"};

// Host interfaces the module looks for.
/// A 3D scene element: only these are moved or collided.
inline constexpr GUID_t kElement3D{"cd5f30d4-d2fd-423f-b275-84904502ac43"};
/// An element class that is passed over when a hit-test event's target is chosen.
inline constexpr GUID_t kHitTestPassThroughElement{"7c2ab30e-e013-4e5b-888b-69aa468310f7"};
/// A docking-layout element.
inline constexpr GUID_t kDockingLayout{"15d98810-1284-48d8-905e-c82faaf8fe07"};
/// A 3D scene: the 3D engine refuses any other scene.
inline constexpr GUID_t kScene3D{"5a98a517-d78a-4b3e-8ac4-a74344640b7e"};
/// The collision detector, created through the factory with "float" or "double".
inline constexpr GUID_t kCollisionDetector{"b800576a-298c-4839-bc5b-3056ff6b68b7"};
/// What a collision detector declares about how far beyond touching it reports contacts
/// (ICollisionReach), asked of the detector through castTo.
inline constexpr GUID_t kCollisionReach{"e4961643-9bc9-436f-b8e9-9ad02dbbc3c7"};
/// What a 3D scene declares about its changes (ISceneGeneration), asked of the scene through
/// castTo.
inline constexpr GUID_t kSceneGeneration{"3b0f9e62-57d1-4c4a-9a8e-d21c6f70b5e4"};
inline constexpr GUID_t kSphereElement{"f443b590-cbd4-4209-906a-d5c47478fcc0"};
inline constexpr GUID_t kCapsuleElement{"dd579333-35b4-4bb3-8d87-8ec08368c4d5"};
inline constexpr GUID_t kMeshElement{"16eb9c10-d1d4-4a01-9081-d46367844848"};
/// An element that groups others.
inline constexpr GUID_t kGroupElement{"7710532b-6671-4167-aeb9-d9ec445de110"};
/// A grid stage: a tile-map element with floors, ceilings and walls.
inline constexpr GUID_t kGridStage{"c496bf45-9e32-4650-9fd1-506cd1131f82"};

// The reference host's own classes.
/// The host "Object", base of every host object.
inline constexpr GUID_t kHostObject{"7403efc9-e3f9-4ae3-ab4c-0767369d5807"};
/// The host "PhysicsAttribute" level below every physics attribute of the module.
inline constexpr GUID_t kHostPhysicsAttribute{"228aac12-71dc-403e-967b-42c32793ca0a"};
/// An element of the host's 2D scenes (panels, buttons, images, clip regions).
inline constexpr GUID_t kHostElement2D{"3f1c6a52-9d0e-4b7a-8e21-5c4d7b9a0e13"};
/// The host's 2D scene.
inline constexpr GUID_t kHostScene2D{"a86e0b3d-1f47-4c95-b2d8-6e9f30c5a721"};

} // namespace zor::guids
