#pragma once
// A part's physics as one value: an optional rigid body and an optional joint.

#include <memory>

#include "document/PhysicsParams.h"

class CDotPart;

class CPhysicsProperty {
public:
    CPhysicsProperty() = default;
    // Copies of the records given (null: absent).
    CPhysicsProperty(const RIGID_BODY_PARAMS* rigidBody, const JOINT_PARAMS* joint);
    CPhysicsProperty(const CPhysicsProperty& other);
    CPhysicsProperty& operator=(const CPhysicsProperty& other);
    CPhysicsProperty(CPhysicsProperty&&) noexcept = default;
    CPhysicsProperty& operator=(CPhysicsProperty&&) noexcept = default;

    std::unique_ptr<RIGID_BODY_PARAMS> rigidBody; // null: absent
    std::unique_ptr<JOINT_PARAMS> joint;          // null: absent

    // Copies of the part's records.
    static CPhysicsProperty Of(const CDotPart& part);
    // Gives the part these records: copied into a record it has, created, or
    // removed when absent here.
    void ApplyTo(CDotPart& part) const;
};

// Whether two optional records differ: one is present and the other not, or
// any value compares unequal (so a NaN always differs).
bool RigidBodyDiffers(const RIGID_BODY_PARAMS* a, const RIGID_BODY_PARAMS* b);
bool JointDiffers(const JOINT_PARAMS* a, const JOINT_PARAMS* b);
