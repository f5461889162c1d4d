#pragma once
// The physics edits of the part menu: the "剛体(&G)" and "ジョイント(&J)"
// toggles with their menu states, and everything the physics dialogs decide.

#include <array>
#include <memory>

#include "document/PhysicsParams.h"

class CDotPart;
class CPhysicsPropertyCommand;

// "剛体(&G)": always enabled, checked while the part has a rigid body.
bool IsRigidBodyChecked(const CDotPart& part);
// Removes the part's rigid body or gives it the default one, as one undo step
// "剛体"; the joint stays.
void ToggleRigidBody(CDotPart& part);

// "ジョイント(&J)": enabled when the part has a parent and rotates or moves;
// checked while it has both a rigid body and a joint.
bool IsJointEnabled(const CDotPart& part);
bool IsJointChecked(const CDotPart& part);
// Removes the part's joint or gives it the default one, as one undo step
// "ジョイント"; the rigid body stays. Looks only at the joint, so a joint
// without a rigid body (shown unchecked) is removed.
void ToggleJoint(CDotPart& part);

// The state of the physics dialog ("物理演算") on one part.
class CPhysicsDialogModel {
public:
    // Checks from the part's records; "子部品にも適用" starts off, so that OK
    // without a change changes nothing below the part. Working records from
    // the part, or the defaults.
    explicit CPhysicsDialogModel(CDotPart& part);

    CDotPart* part; // not owned
    bool rigidBodyCheck;
    bool applyToChildrenCheck;
    bool jointCheck;
    RIGID_BODY_PARAMS rigidBody; // working copy; "剛体の詳細..." edits it
    JOINT_PARAMS joint;          // working copy; "ジョイントの詳細..." edits it

    bool IsApplyToChildrenEnabled() const;
    bool IsRigidBodyDetailsEnabled() const;
    bool IsJointCheckEnabled() const;
    bool IsJointDetailsEnabled() const;

    // OK: one "物理演算" command with an element for the part when its physics
    // differs from the dialog's, and, with "子部品にも適用", one for every
    // descendant whose rigid body differs (descendants keep their joints).
    // Null when nothing differs.
    std::unique_ptr<CPhysicsPropertyCommand> MakeCommand() const;
    // Executes MakeCommand with no initiating view; returns whether there was
    // anything to execute.
    bool Apply() const;
};

// The joint dialog ("ジョイント") shows the limits axis by axis (lower,
// upper): move x, y, z, then rotation x, y, z in degrees, then the move
// springs x, y, z and the rotation springs x, y, z — the order of its edits.
using JointDialogValues = std::array<float, 18>;
JointDialogValues JointToDialog(const JOINT_PARAMS& joint);
JOINT_PARAMS JointFromDialog(const JointDialogValues& values);
// The same for a dialog opened on shown: a value still as shown keeps the
// stored one, so confirming without a change does not round the radians.
JOINT_PARAMS JointFromDialog(const JointDialogValues& values, const JOINT_PARAMS& shown);
