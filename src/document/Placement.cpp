// Placement of the parts in model space. Every part hangs on its parent at a
// joint point: bonePosition is that point in the parent's grid and
// parentPosition the same point in the part's own grid, both in half dots.
// A part's worldPosition is its joint point in model space (before the
// document's modelOffset), its worldRotation the accumulated rest rotation.
// All arithmetic is 32-bit float.

#include <algorithm>

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/MathUtil.h"

namespace {

Float3 ToFloat3(const std::array<float, 4>& v) { return {v[0], v[1], v[2]}; }
Quaternion ToQuaternion(const std::array<float, 4>& q) { return {q[0], q[1], q[2], q[3]}; }

// The edge of one dot inside the parent's grid: the dot size times the rates
// of the parent and all its ancestors.
float ParentScale(const CPart& parent, float dotSize) {
    float scale = dotSize;
    for (const CPart* p = &parent; p; p = p->parent)
        scale *= p->rate;
    return scale;
}

} // namespace

float CDotPart::UpdatePlacement() {
    const Quaternion local = QuaternionFromRollPitchYaw(angle[0], angle[1], angle[2]);
    const auto* parentPart = dynamic_cast<const CDotPart*>(parent);
    if (!parentPart) {
        worldRotation = {local.x, local.y, local.z, local.w};
        worldPosition = {0.0f, 0.0f, 0.0f, 0.0f};
    } else {
        const float s = ParentScale(*parentPart, document ? document->dotSize : 0.5f);
        const Float3 offset{
            static_cast<float>(bonePosition[0] - parentPart->parentPosition[0]) * s * 0.5f,
            static_cast<float>(bonePosition[1] - parentPart->parentPosition[1]) * s * 0.5f,
            static_cast<float>(bonePosition[2] - parentPart->parentPosition[2]) * s * 0.5f,
        };
        const Quaternion parentRotation = ToQuaternion(parentPart->worldRotation);
        const Quaternion rotation = QuaternionMultiply(local, parentRotation);
        const Float3 position =
            ToFloat3(parentPart->worldPosition) + Rotate(offset, parentRotation);
        worldRotation = {rotation.x, rotation.y, rotation.z, rotation.w};
        worldPosition = {position.x, position.y, position.z, 0.0f};
    }
    float lowest = worldPosition[1];
    for (const auto& child : children)
        lowest = std::min(lowest, child->UpdatePlacement());
    return lowest;
}

void CDotDocument::UpdateAllPlacements() {
    float lowest = 0.0f;
    for (const auto& part : children)
        lowest = std::min(lowest, part->UpdatePlacement());
    const auto* first =
        children.empty() ? nullptr : dynamic_cast<const CDotPart*>(children.front().get());
    // 0 − lowest rather than −lowest, so that a model already standing at
    // height 0 gets +0 and not −0.
    const float lift = 0.0f - lowest;
    if (first)
        modelOffset = {first->worldPosition[0], lift, first->worldPosition[2], 0.0f};
    else
        modelOffset = {0.0f, lift, 0.0f, 0.0f};
}
