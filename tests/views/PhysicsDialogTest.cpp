// The physics dialog and its two detail dialogs as a user works them: enable
// rules, degrees in the joint dialog, detail edits that reach the part only
// through OK of the physics dialog, and refused numbers.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "DialogTestUtil.h"
#include "document/AngleUnits.h"
#include "document/PhysicsEditing.h"
#include "document/PhysicsPropertyCommand.h"
#include "views/PhysicsDetailDialogs.h"
#include "views/PhysicsDialog.h"

namespace {

class PhysicsDialogTest : public testing::Test {
protected:
    // 体 { 腕 { 手 } }
    CDotDocument document;
    CDotPart& body = AppendPart(document, nullptr, u"体");
    CDotPart& arm = AppendPart(document, &body, u"腕");
    CDotPart& hand = AppendPart(document, &arm, u"手");
};

// Presses OK on the next modal dialog after letting edit change it.
void ConfirmNextDialog(std::function<void(QDialog*)> edit) {
    OnNextModal([edit](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "not a dialog";
            modal->close();
            return;
        }
        edit(dialog);
        dialog->accept();
    });
}

} // namespace

TEST_F(PhysicsDialogTest, ChecksAndButtonsFollowTheEnableRules) {
    CPhysicsDialogModel model(arm);
    CPhysicsDialog dialog(model);
    EXPECT_EQ(dialog.windowTitle(), "物理演算");
    EXPECT_FALSE(dialog.RigidBodyBox()->isChecked());
    EXPECT_TRUE(dialog.ApplyToChildrenBox()->isEnabled()) << "the arm has a hand";
    EXPECT_FALSE(dialog.RigidBodyDetailsButton()->isEnabled());
    EXPECT_FALSE(dialog.JointBox()->isEnabled());
    EXPECT_FALSE(dialog.JointDetailsButton()->isEnabled());

    dialog.RigidBodyBox()->click();
    EXPECT_TRUE(dialog.RigidBodyDetailsButton()->isEnabled());
    EXPECT_TRUE(dialog.JointBox()->isEnabled());
    EXPECT_FALSE(dialog.JointDetailsButton()->isEnabled());
    dialog.JointBox()->click();
    EXPECT_TRUE(dialog.JointDetailsButton()->isEnabled());
    // Taking the rigid body away disables the joint but keeps its check.
    dialog.RigidBodyBox()->click();
    EXPECT_FALSE(dialog.JointBox()->isEnabled());
    EXPECT_TRUE(dialog.JointBox()->isChecked());
    EXPECT_FALSE(dialog.JointDetailsButton()->isEnabled());

    // No children, no "子部品にも適用"; no parent, no joint.
    CPhysicsDialogModel leafModel(hand);
    EXPECT_FALSE(CPhysicsDialog(leafModel).ApplyToChildrenBox()->isEnabled());
    body.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    CPhysicsDialogModel topModel(body);
    CPhysicsDialog top(topModel);
    EXPECT_TRUE(top.RigidBodyDetailsButton()->isEnabled());
    EXPECT_FALSE(top.JointBox()->isEnabled());
}

TEST_F(PhysicsDialogTest, DetailDialogsEditOnlyTheWorkingRecords) {
    arm.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    arm.joint = std::make_unique<JOINT_PARAMS>();
    CPhysicsDialogModel model(arm);
    CPhysicsDialog dialog(model);

    QStringList shown;
    ConfirmNextDialog([&](QDialog* modal) {
        auto* rigid = qobject_cast<CRigidBodyDialog*>(modal);
        ASSERT_NE(rigid, nullptr);
        for (int i = 0; i < 5; ++i)
            shown.append(rigid->Edit(i)->text());
        rigid->Edit(0)->setText("2.5");
        rigid->Edit(3)->setText("-1"); // no range is enforced
    });
    dialog.RigidBodyDetailsButton()->click();
    EXPECT_EQ(shown, QStringList({"1", "0.5", "0.5", "0", "0.5"}));
    EXPECT_EQ(model.rigidBody.mass, 2.5f);
    EXPECT_EQ(model.rigidBody.restitution, -1.0f);

    shown.clear();
    ConfirmNextDialog([&](QDialog* modal) {
        auto* joint = qobject_cast<CJointDialog*>(modal);
        ASSERT_NE(joint, nullptr);
        for (int i = 0; i < 18; ++i)
            shown.append(joint->Edit(i)->text());
        joint->Edit(7)->setText("10"); // rotation x upper
        joint->Edit(12)->setText("3"); // move spring x
    });
    dialog.JointDetailsButton()->click();
    // Move limits, rotation limits in degrees (lower, upper per axis), springs.
    EXPECT_EQ(shown.mid(0, 12),
              QStringList({"0", "0", "0", "0", "0", "0", "-9", "9", "-9", "9", "-9", "9"}));
    EXPECT_EQ(model.joint.rotationMax[0], ToRadians(10.0f));
    EXPECT_EQ(model.joint.rotationMin[0], -JointRotationLimit) << "untouched: the same bits";
    EXPECT_EQ(model.joint.springPosition[0], 3.0f);

    // Nothing reached the part: cancelling the physics dialog drops it all.
    EXPECT_EQ(*arm.rigidBody, RIGID_BODY_PARAMS{});
    EXPECT_EQ(*arm.joint, JOINT_PARAMS{});
    EXPECT_TRUE(document.commands.empty());
}

TEST_F(PhysicsDialogTest, CancelledDetailDialogKeepsTheWorkingRecord) {
    arm.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    CPhysicsDialogModel model(arm);
    CPhysicsDialog dialog(model);
    OnNextModal([](QWidget* modal) {
        static_cast<CRigidBodyDialog*>(modal)->Edit(0)->setText("9");
        static_cast<QDialog*>(modal)->reject();
    });
    dialog.EditRigidBody();
    EXPECT_EQ(model.rigidBody.mass, 1.0f);
}

TEST_F(PhysicsDialogTest, UntouchedDetailsAndOkAddNoStep) {
    // Limits whose degrees need more than six digits to read back.
    arm.rigidBody =
        std::make_unique<RIGID_BODY_PARAMS>(RIGID_BODY_PARAMS{0.1f, 0.3f, 0.7f, 1e-9f, 2.0f});
    arm.joint = std::make_unique<JOINT_PARAMS>();
    arm.joint->rotationMin = {-0.3f, -0.123456789f, -3.0f};
    arm.joint->rotationMax = {0.3f, 1e-8f, 7.0f};
    arm.joint->positionMax = {0.1f, 0.2f, 0.3f};
    hand.rigidBody = std::make_unique<RIGID_BODY_PARAMS>(*arm.rigidBody);
    const RIGID_BODY_PARAMS rigidBefore = *arm.rigidBody;
    const JOINT_PARAMS jointBefore = *arm.joint;

    CPhysicsDialogModel model(arm);
    CPhysicsDialog dialog(model);
    ConfirmNextDialog([](QDialog*) {});
    dialog.EditRigidBody();
    ConfirmNextDialog([](QDialog*) {});
    dialog.EditJoint();
    EXPECT_EQ(model.rigidBody, rigidBefore);
    EXPECT_EQ(model.joint, jointBefore);
    EXPECT_EQ(model.MakeCommand(), nullptr);
}

TEST_F(PhysicsDialogTest, DetailNumbersThatAreNoFloatsAreRefused) {
    CRigidBodyDialog rigid(RIGID_BODY_PARAMS{});
    rigid.show();
    rigid.Edit(4)->setText("1e40");
    QString message;
    CloseNextMessage(&message);
    rigid.accept();
    EXPECT_NE(rigid.result(), QDialog::Accepted);
    EXPECT_TRUE(message.contains("範囲")) << message.toStdString();
    EXPECT_EQ(rigid.focusWidget(), rigid.Edit(4));
    EXPECT_EQ(rigid.Value(), RIGID_BODY_PARAMS{});

    CJointDialog joint(JOINT_PARAMS{});
    joint.show();
    joint.Edit(17)->setText("NaN");
    message.clear();
    CloseNextMessage(&message);
    joint.accept();
    EXPECT_NE(joint.result(), QDialog::Accepted);
    EXPECT_EQ(message, "数値を入力してください。");
    EXPECT_EQ(joint.focusWidget(), joint.Edit(17));
}
