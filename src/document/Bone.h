#pragma once
// A part's bone settings as one value: what the bone dialog edits and the bone
// command swaps.

#include <array>
#include <cstdint>
#include <string>

#include "document/Part.h"

struct CPart::BONE {
    std::u16string name;
    int32_t boneKind = BONE_MOVE;
    int32_t morph = 0;
    CPart* linkedPart = nullptr;
    std::array<float, 3> angle{0.0f, 0.0f, 0.0f}; // radians
    int32_t ikRange = 0;
    std::u16string ikName;
    CPart* ikParent = nullptr;

    bool operator==(const BONE&) const = default;
};

// The part's bone settings now.
CPart::BONE GetBone(const CPart& part);
// Sets the part's bone settings; each reference sets its pointer and its id
// together (0 for none).
void ApplyBone(CPart& part, const CPart::BONE& bone);
