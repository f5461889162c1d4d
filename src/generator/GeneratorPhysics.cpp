// Rigid bodies and joints of CGenerator.

#include "generator/Generator.h"

#include "document/DotPart.h"
#include "document/TextCodec.h"

#include <unordered_map>

namespace {

constexpr uint32_t COLLISION_GROUPS = 16;

} // namespace

bool CGenerator::IsJointed(int partIndex) const {
    const CDotPart& part = *parts[static_cast<size_t>(partIndex)].part;
    return part.HasJoint() && part.CanHaveJoint();
}

void CGenerator::CreateRigidBodies() {
    // Each top-level part starts a new collision group; a part without a body
    // of its own opens a new group for its subtree. Visited in pre-order (an
    // explicit stack keeps deep trees off the call stack); the group counter
    // advances in visiting order.
    collisionGroup = 0;
    auto advance = [this] { collisionGroup = (collisionGroup + 1) % COLLISION_GROUPS; };
    struct VISIT {
        int part;
        uint32_t group;
    };
    std::vector<VISIT> stack;
    std::vector<int> children;
    for (size_t top = 0; top < parts.size(); top = static_cast<size_t>(parts[top].subtreeEnd)) {
        stack.push_back({static_cast<int>(top), collisionGroup});
        advance();
        while (!stack.empty()) {
            const VISIT visit = stack.back();
            stack.pop_back();
            const PART_INFO& info = parts[static_cast<size_t>(visit.part)];
            uint32_t group = visit.group;
            // The children in order: each starts right after the previous
            // one's subtree.
            children.clear();
            for (int c = visit.part + 1; c < info.subtreeEnd;
                 c = parts[static_cast<size_t>(c)].subtreeEnd)
                children.push_back(c);
            if (info.part->HasRigidBody()) {
                CreateBody(visit.part, static_cast<int>(group), false);
            } else {
                group = collisionGroup;
                advance();
                for (int c : children)
                    if (IsJointed(c)) {
                        CreateBody(visit.part, static_cast<int>(group), true);
                        break;
                    }
            }
            for (auto c = children.rbegin(); c != children.rend(); ++c)
                stack.push_back({*c, group});
        }
    }
}

void CGenerator::CreateBody(int partIndex, int group, bool forced) {
    const PART_INFO& info = parts[static_cast<size_t>(partIndex)];
    const CDotPart& part = *info.part;
    if (!forced && !part.HasDots())
        return;
    const BODY_BOX box = FitBodyBox(part.Grid(), info.dotEdge, part.parentPosition);
    CRigidBody& body = model.AddRigidBody(part.name, group);
    body.shape = CRigidBody::SHAPE_BOX;
    body.size = {box.size[0], box.size[1], box.size[2]};
    VEC3 position = Transform(box.centre, info.rotation, {0.0f, 0.0f, 0.0f});
    body.bone = BoneOf(partIndex);
    if (info.ownerIndex != partIndex) {
        const auto& own = part.worldPosition;
        const auto& owner = parts[static_cast<size_t>(info.ownerIndex)].part->worldPosition;
        for (size_t a = 0; a < 3; ++a)
            position[a] += own[a] - owner[a];
    }
    body.position = {position[0], position[1], position[2]};
    const VEC3 rotation = BodyRotation(info.rotation);
    body.rotation = {rotation[0], rotation[1], rotation[2]};
    const RIGID_BODY_PARAMS params = part.rigidBody ? *part.rigidBody : RIGID_BODY_PARAMS{};
    body.mass = params.mass;
    body.linearDamping = params.linearDamping;
    body.angularDamping = params.angularDamping;
    body.restitution = params.restitution;
    body.friction = params.friction;
    body.mode = IsJointed(partIndex) ? CRigidBody::MODE_PHYSICS_BONE_POSITION
                                     : CRigidBody::MODE_FOLLOW_BONE;
}

void CGenerator::CreateJoints() {
    // Each body name's first index.
    std::unordered_map<std::u16string, int32_t> bodyIndex;
    for (size_t i = 0; i < model.rigidBodies.size(); ++i)
        bodyIndex.try_emplace(model.rigidBodies[i].name, static_cast<int32_t>(i));
    auto findBody = [&](const std::u16string& name) {
        const auto found = bodyIndex.find(name);
        return found == bodyIndex.end() ? int32_t{-1} : found->second;
    };
    for (size_t i = 0; i < parts.size(); ++i) {
        if (!IsJointed(static_cast<int>(i)))
            continue;
        const PART_INFO& info = parts[i];
        const CDotPart& part = *info.part;
        const int32_t bodyA = findBody(part.parent->name);
        const int32_t bodyB = findBody(part.name);
        // Loaders refuse a joint to no body: leave it out and say so.
        if (bodyA < 0 || bodyB < 0) {
            notes.push_back(
                "the joint of part \"" + Utf16ToUtf8(part.name) + "\" is left out: " +
                (bodyB < 0 ? "the part" : "its parent \"" + Utf16ToUtf8(part.parent->name) + "\"") +
                " has no rigid body in the model (a part without dots gets none)");
            continue;
        }
        CJoint& joint = model.AddJoint(part.name);
        joint.position = {info.position[0], info.position[1], info.position[2]};
        joint.rotation = {0.0f, 0.0f, 0.0f};
        joint.bodyA = bodyA;
        joint.bodyB = bodyB;
        const JOINT_PARAMS& params = *part.joint;
        auto set = [](PMDFloat3& to, const std::array<float, 3>& from) {
            to = {from[0], from[1], from[2]};
        };
        set(joint.positionMin, params.positionMin);
        set(joint.positionMax, params.positionMax);
        set(joint.rotationMin, params.rotationMin);
        set(joint.rotationMax, params.rotationMax);
        set(joint.springPosition, params.springPosition);
        set(joint.springRotation, params.springRotation);
    }
}
