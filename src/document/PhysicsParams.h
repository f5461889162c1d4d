#pragma once
// The physics records a part may carry: a rigid body and a joint to its
// parent's rigid body.

#include <array>
#include <bit>
#include <cstdint>

// ±9 degrees (±π/20), the default rotation limits of a joint.
inline constexpr float JointRotationLimit = std::bit_cast<float>(uint32_t{0x3E20D97C});

struct RIGID_BODY_PARAMS {
    float mass = 1.0f;
    float linearDamping = 0.5f;
    float angularDamping = 0.5f;
    float restitution = 0.0f;
    float friction = 0.5f;

    // Whether every value equals the defaults (float comparison).
    bool IsDefault() const { return *this == RIGID_BODY_PARAMS{}; }
    bool operator==(const RIGID_BODY_PARAMS&) const = default;
};

struct JOINT_PARAMS {
    std::array<float, 3> positionMin{0.0f, 0.0f, 0.0f};
    std::array<float, 3> positionMax{0.0f, 0.0f, 0.0f};
    std::array<float, 3> rotationMin{-JointRotationLimit, -JointRotationLimit, -JointRotationLimit};
    std::array<float, 3> rotationMax{JointRotationLimit, JointRotationLimit, JointRotationLimit};
    std::array<float, 3> springPosition{0.0f, 0.0f, 0.0f};
    std::array<float, 3> springRotation{0.0f, 0.0f, 0.0f};

    // Whether every value equals the defaults (float comparison).
    bool IsDefault() const { return *this == JOINT_PARAMS{}; }
    bool operator==(const JOINT_PARAMS&) const = default;
};

static_assert(sizeof(RIGID_BODY_PARAMS) == 5 * sizeof(float));
static_assert(sizeof(JOINT_PARAMS) == 18 * sizeof(float));
