#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "document/TextCodec.h"
#include "resources/CommandIds.h"
#include "rigging/AngleUnits.h"
#include "rigging/PhysicsEditing.h"
#include "rigging/PhysicsPropertyCommand.h"
#include "support/EditFixture.h"

namespace {

class PhysicsEditTest : public EditTest {
protected:
    // 体 { 腕 { 手 }, 脚 }
    CDotPart* body = Add(1, u"体");
    CDotPart* arm = Add(2, u"腕", body);
    CDotPart* hand = Add(3, u"手", arm);
    CDotPart* leg = Add(4, u"脚", body);

    CCommandState State(unsigned id) {
        CCommandState state;
        EXPECT_TRUE(document.OnUpdateCommand(id, state)) << id;
        return state;
    }
    const Hint physics{Notice<HINT_PHYSICS>(&document)};
};

} // namespace

TEST_F(PhysicsEditTest, RigidBodyToggleAddsTheDefaultsAndTakesThemAway) {
    document.currentPart = arm;
    arm->joint = std::make_unique<JOINT_PARAMS>();
    EXPECT_TRUE(State(ID_PART_RIGID_BODY).enabled);
    EXPECT_FALSE(State(ID_PART_RIGID_BODY).checked);
    ExpectRoundTrip([&] { document.OnCommand(ID_PART_RIGID_BODY); }, {physics}, {physics});
    EXPECT_EQ(document.commands.back()->name, u"剛体");
    ASSERT_NE(arm->rigidBody, nullptr);
    EXPECT_EQ(*arm->rigidBody, (RIGID_BODY_PARAMS{1.0f, 0.5f, 0.5f, 0.0f, 0.5f}));
    EXPECT_NE(arm->joint, nullptr) << "the joint stays";
    EXPECT_TRUE(State(ID_PART_RIGID_BODY).checked);
    EXPECT_TRUE(State(ID_PART_JOINT).checked);

    ExpectRoundTrip([&] { document.OnCommand(ID_PART_RIGID_BODY); }, {physics}, {physics});
    EXPECT_EQ(arm->rigidBody, nullptr);
    EXPECT_NE(arm->joint, nullptr);
    EXPECT_FALSE(State(ID_PART_JOINT).checked) << "a joint without a rigid body";
}

TEST_F(PhysicsEditTest, JointToggleNeedsAParentAndABoneThatTurns) {
    document.currentPart = body;
    EXPECT_FALSE(State(ID_PART_JOINT).enabled) << "top level";
    EXPECT_TRUE(document.OnCommand(ID_PART_JOINT));
    EXPECT_TRUE(document.commands.empty()) << "disabled: nothing happens";
    document.currentPart = arm;
    for (int kind : {BONE_NONE, BONE_HIDDEN}) {
        arm->boneKind = kind;
        EXPECT_FALSE(State(ID_PART_JOINT).enabled) << kind;
    }
    arm->boneKind = BONE_ROTATE;
    EXPECT_TRUE(State(ID_PART_JOINT).enabled);

    ExpectRoundTrip([&] { document.OnCommand(ID_PART_JOINT); }, {physics}, {physics});
    EXPECT_EQ(document.commands.back()->name, u"ジョイント");
    ASSERT_NE(arm->joint, nullptr);
    EXPECT_EQ(arm->rigidBody, nullptr) << "the rigid body stays absent";
    EXPECT_FALSE(State(ID_PART_JOINT).checked) << "shown unchecked without a rigid body";
    EXPECT_EQ(std::bit_cast<uint32_t>(arm->joint->rotationMin[1]), 0xBE20D97Cu);
    EXPECT_EQ(std::bit_cast<uint32_t>(arm->joint->rotationMax[2]), 0x3E20D97Cu);
    EXPECT_EQ(arm->joint->positionMax, (std::array{0.0f, 0.0f, 0.0f}));
    document.OnCommand(ID_PART_JOINT);
    EXPECT_EQ(arm->joint, nullptr) << "the toggle looks only at the joint";
}

TEST_F(PhysicsEditTest, DialogOpensOnThePartAndEnablesByItsRules) {
    CPhysicsDialogModel model(*arm);
    EXPECT_FALSE(model.rigidBodyCheck);
    EXPECT_FALSE(model.jointCheck);
    EXPECT_FALSE(model.applyToChildrenCheck) << "only when the user asks";
    EXPECT_TRUE(model.IsApplyToChildrenEnabled());
    EXPECT_EQ(model.rigidBody, RIGID_BODY_PARAMS{});
    EXPECT_FALSE(model.IsRigidBodyDetailsEnabled());
    EXPECT_FALSE(model.IsJointCheckEnabled());
    model.rigidBodyCheck = true;
    EXPECT_TRUE(model.IsRigidBodyDetailsEnabled());
    EXPECT_TRUE(model.IsJointCheckEnabled());
    EXPECT_FALSE(model.IsJointDetailsEnabled());
    model.jointCheck = true;
    EXPECT_TRUE(model.IsJointDetailsEnabled());

    CPhysicsDialogModel leaf(*hand);
    EXPECT_FALSE(leaf.applyToChildrenCheck);
    EXPECT_FALSE(leaf.IsApplyToChildrenEnabled());
    leaf.rigidBodyCheck = true;
    EXPECT_FALSE(CPhysicsDialogModel(*body).IsJointCheckEnabled());

    hand->rigidBody = std::make_unique<RIGID_BODY_PARAMS>(RIGID_BODY_PARAMS{2, 0, 0, 0, 0});
    EXPECT_EQ(CPhysicsDialogModel(*hand).rigidBody.mass, 2.0f);
    EXPECT_TRUE(CPhysicsDialogModel(*hand).rigidBodyCheck);
}

TEST_F(PhysicsEditTest, DialogOkChangesOnlyWhatDiffers) {
    CPhysicsDialogModel model(*leg);
    EXPECT_EQ(model.MakeCommand(), nullptr) << "nothing changed";
    EXPECT_FALSE(model.Apply());

    leg->rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    CPhysicsDialogModel same(*leg);
    EXPECT_EQ(same.MakeCommand(), nullptr);
    same.rigidBody.friction = std::numeric_limits<float>::quiet_NaN();
    leg->rigidBody->friction = std::numeric_limits<float>::quiet_NaN();
    EXPECT_NE(same.MakeCommand(), nullptr) << "a NaN always differs";

    // A joint check that is on while disabled still counts.
    leg->boneKind = BONE_NONE;
    CPhysicsDialogModel joint(*leg);
    joint.rigidBody = *leg->rigidBody;
    joint.jointCheck = true;
    EXPECT_FALSE(joint.IsJointCheckEnabled());
    ExpectRoundTrip([&] { EXPECT_TRUE(joint.Apply()); }, {physics}, {physics});
    EXPECT_NE(leg->joint, nullptr);
    EXPECT_EQ(document.commands.back()->name, u"物理演算");
}

TEST_F(PhysicsEditTest, OkWithoutAChangeLeavesTheChildrensBodiesAlone) {
    // The part has no body, its children have: opened and confirmed as shown,
    // the dialog makes no undo step and removes nothing.
    hand->rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    leg->rigidBody = std::make_unique<RIGID_BODY_PARAMS>(RIGID_BODY_PARAMS{5, 0, 0, 0, 0});
    const size_t steps = document.commands.size();
    CPhysicsDialogModel model(*body);
    EXPECT_FALSE(model.Apply());
    EXPECT_EQ(document.commands.size(), steps);
    EXPECT_NE(hand->rigidBody, nullptr);
    EXPECT_EQ(leg->rigidBody->mass, 5.0f);
}

TEST_F(PhysicsEditTest, ApplyingToChildrenGivesThemTheRigidBodyButNotTheJoint) {
    arm->joint = std::make_unique<JOINT_PARAMS>();
    hand->joint = std::make_unique<JOINT_PARAMS>();
    hand->joint->springPosition = {1, 2, 3};
    leg->rigidBody = std::make_unique<RIGID_BODY_PARAMS>(RIGID_BODY_PARAMS{5, 0, 0, 0, 0});
    CPhysicsDialogModel model(*body);
    model.rigidBodyCheck = true;
    model.rigidBody.mass = 5.0f;
    model.rigidBody.linearDamping = 0.0f;
    model.rigidBody.angularDamping = 0.0f;
    model.rigidBody.friction = 0.0f;
    model.jointCheck = true; // the top-level part's own joint
    model.applyToChildrenCheck = true;
    auto command = model.MakeCommand();
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->elements.size(), 3u) << "体, 腕 and 手; 脚 has that rigid body already";

    ExpectRoundTrip([&] { document.Execute(std::move(command)); }, {physics}, {physics});
    EXPECT_EQ(*hand->rigidBody, *leg->rigidBody);
    EXPECT_EQ(hand->joint->springPosition, (std::array{1.0f, 2.0f, 3.0f}));
    EXPECT_NE(body->joint, nullptr);

    // Switched off with the children: every rigid body goes, joints stay.
    CPhysicsDialogModel off(*body);
    off.rigidBodyCheck = false;
    off.applyToChildrenCheck = true;
    EXPECT_TRUE(off.Apply());
    for (CDotPart* part : {body, arm, hand, leg})
        EXPECT_EQ(part->rigidBody, nullptr) << Utf16ToUtf8(part->name);
    EXPECT_NE(body->joint, nullptr);
    EXPECT_NE(hand->joint, nullptr);
    document.Undo();
    EXPECT_NE(hand->rigidBody, nullptr);
    EXPECT_EQ(leg->rigidBody->mass, 5.0f);
}

TEST_F(PhysicsEditTest, JointDialogShowsDegreesAxisByAxis) {
    JointDialogValues values = JointToDialog(JOINT_PARAMS{});
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(values[static_cast<size_t>(6 + axis * 2)], -9.0f) << axis;
        EXPECT_EQ(values[static_cast<size_t>(7 + axis * 2)], 9.0f) << axis;
    }
    for (size_t i : {0u, 1u, 2u, 3u, 4u, 5u, 12u, 13u, 14u, 15u, 16u, 17u})
        EXPECT_EQ(values[i], 0.0f) << i;

    values[0] = -1.0f; // move x lower
    values[3] = 2.0f;  // move y upper
    values[7] = 10.0f; // rotation x upper
    values[17] = 4.0f; // rotation spring z
    const JOINT_PARAMS joint = JointFromDialog(values);
    EXPECT_EQ(joint.positionMin[0], -1.0f);
    EXPECT_EQ(joint.positionMax[1], 2.0f);
    EXPECT_EQ(joint.rotationMax[0], 0.17453292f);
    EXPECT_EQ(joint.springRotation[2], 4.0f);

    // Values left as shown keep their stored radians.
    JOINT_PARAMS stored;
    stored.rotationMin[1] = -1.0227f;
    values = JointToDialog(stored);
    ASSERT_NE(ToRadians(values[8]), stored.rotationMin[1]);
    values[9] = 10.0f;
    const JOINT_PARAMS kept = JointFromDialog(values, stored);
    EXPECT_EQ(kept.rotationMin[1], stored.rotationMin[1]);
    EXPECT_EQ(kept.rotationMax[1], 0.17453292f);
}
