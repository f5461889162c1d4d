#include "document/PhysicsEditing.h"

#include <functional>
#include <utility>

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "document/AngleUnits.h"
#include "document/PhysicsPropertyCommand.h"

namespace {

void ExecutePhysics(CDotPart& part, unsigned label, CPhysicsProperty value) {
    CDotDocument& document = *part.document;
    auto command = std::make_unique<CPhysicsPropertyCommand>(document, LoadString(label));
    command->AddElement(part, std::move(value));
    document.Execute(std::move(command));
}

bool RotatesOrMoves(const CDotPart& part) {
    return part.boneKind == BONE_ROTATE || part.boneKind == BONE_MOVE;
}

void ForEachDescendant(CPart& part, const std::function<void(CDotPart&)>& visit) {
    for (const auto& child : part.children) {
        visit(dynamic_cast<CDotPart&>(*child));
        ForEachDescendant(*child, visit);
    }
}

} // namespace

bool IsRigidBodyChecked(const CDotPart& part) { return part.HasRigidBody(); }

void ToggleRigidBody(CDotPart& part) {
    const RIGID_BODY_PARAMS defaults;
    CPhysicsProperty value(part.HasRigidBody() ? nullptr : &defaults, part.joint.get());
    ExecutePhysics(part, IDS_RIGID_BODY, std::move(value));
}

bool IsJointEnabled(const CDotPart& part) { return part.parent && RotatesOrMoves(part); }

bool IsJointChecked(const CDotPart& part) { return part.HasRigidBody() && part.HasJoint(); }

void ToggleJoint(CDotPart& part) {
    const JOINT_PARAMS defaults;
    CPhysicsProperty value(part.rigidBody.get(), part.HasJoint() ? nullptr : &defaults);
    ExecutePhysics(part, IDS_JOINT, std::move(value));
}

CPhysicsDialogModel::CPhysicsDialogModel(CDotPart& target)
    : part(&target), rigidBodyCheck(target.HasRigidBody()), applyToChildrenCheck(false),
      jointCheck(target.HasJoint()),
      rigidBody(target.rigidBody ? *target.rigidBody : RIGID_BODY_PARAMS{}),
      joint(target.joint ? *target.joint : JOINT_PARAMS{}) {}

bool CPhysicsDialogModel::IsApplyToChildrenEnabled() const { return part->GetChildCount() > 0; }

bool CPhysicsDialogModel::IsRigidBodyDetailsEnabled() const { return rigidBodyCheck; }

bool CPhysicsDialogModel::IsJointCheckEnabled() const {
    return rigidBodyCheck && IsJointEnabled(*part);
}

bool CPhysicsDialogModel::IsJointDetailsEnabled() const {
    return IsJointCheckEnabled() && jointCheck;
}

std::unique_ptr<CPhysicsPropertyCommand> CPhysicsDialogModel::MakeCommand() const {
    // The joint check counts as it stands, also while it is disabled.
    const RIGID_BODY_PARAMS* newRigidBody = rigidBodyCheck ? &rigidBody : nullptr;
    const JOINT_PARAMS* newJoint = jointCheck ? &joint : nullptr;
    auto command =
        std::make_unique<CPhysicsPropertyCommand>(*part->document, LoadString(IDS_PHYSICS));
    if (RigidBodyDiffers(part->rigidBody.get(), newRigidBody) ||
        JointDiffers(part->joint.get(), newJoint))
        command->AddElement(*part, CPhysicsProperty(newRigidBody, newJoint));
    if (applyToChildrenCheck) {
        ForEachDescendant(*part, [&](CDotPart& descendant) {
            if (RigidBodyDiffers(descendant.rigidBody.get(), newRigidBody))
                command->AddElement(descendant,
                                    CPhysicsProperty(newRigidBody, descendant.joint.get()));
        });
    }
    if (command->IsEmpty())
        return nullptr;
    return command;
}

bool CPhysicsDialogModel::Apply() const {
    std::unique_ptr<CPhysicsPropertyCommand> command = MakeCommand();
    if (!command)
        return false;
    part->document->Execute(std::move(command));
    return true;
}

JointDialogValues JointToDialog(const JOINT_PARAMS& joint) {
    JointDialogValues values{};
    for (size_t axis = 0; axis < 3; ++axis) {
        values[axis * 2] = joint.positionMin[axis];
        values[axis * 2 + 1] = joint.positionMax[axis];
        values[6 + axis * 2] = ToDegrees(joint.rotationMin[axis]);
        values[6 + axis * 2 + 1] = ToDegrees(joint.rotationMax[axis]);
        values[12 + axis] = joint.springPosition[axis];
        values[15 + axis] = joint.springRotation[axis];
    }
    return values;
}

JOINT_PARAMS JointFromDialog(const JointDialogValues& values) {
    JOINT_PARAMS joint;
    for (size_t axis = 0; axis < 3; ++axis) {
        joint.positionMin[axis] = values[axis * 2];
        joint.positionMax[axis] = values[axis * 2 + 1];
        joint.rotationMin[axis] = ToRadians(values[6 + axis * 2]);
        joint.rotationMax[axis] = ToRadians(values[6 + axis * 2 + 1]);
        joint.springPosition[axis] = values[12 + axis];
        joint.springRotation[axis] = values[15 + axis];
    }
    return joint;
}

JOINT_PARAMS JointFromDialog(const JointDialogValues& values, const JOINT_PARAMS& shown) {
    JOINT_PARAMS joint = JointFromDialog(values);
    const JointDialogValues opened = JointToDialog(shown);
    for (size_t axis = 0; axis < 3; ++axis) {
        if (values[6 + axis * 2] == opened[6 + axis * 2])
            joint.rotationMin[axis] = shown.rotationMin[axis];
        if (values[6 + axis * 2 + 1] == opened[6 + axis * 2 + 1])
            joint.rotationMax[axis] = shown.rotationMax[axis];
    }
    return joint;
}
