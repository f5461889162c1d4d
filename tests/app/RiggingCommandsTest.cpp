// The rigging commands of the part menu with their dialogs: when they are
// offered, and what a confirmed or cancelled dialog leaves in the document.

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "../views/DialogTestUtil.h"
#include "FrameFixture.h"
#include "resources/CommandIds.h"
#include "rigging/BoneDialogModel.h"
#include "document/PhysicsEditing.h"
#include "rigging/StandardBoneDialogModel.h"
#include "views/BoneDialog.h"
#include "views/PhysicsDetailDialogs.h"
#include "views/PhysicsDialog.h"
#include "views/StandardBoneDialog.h"

namespace {

CPart* Find(CDotDocument& document, const char16_t* name) { return document.FindPartByName(name); }

} // namespace

TEST_F(FrameTest, RiggingDialogCommandsNeedACurrentPartButStandardBones) {
    CurrentPart();
    for (unsigned id : {ID_PART_BONE, ID_PART_PHYSICS, ID_PART_STANDARD_BONES})
        EXPECT_TRUE(Router().QueryState(id).enabled) << id;
    Document().currentPart = nullptr;
    EXPECT_FALSE(Router().QueryState(ID_PART_BONE).enabled);
    EXPECT_FALSE(Router().QueryState(ID_PART_PHYSICS).enabled);
    EXPECT_TRUE(Router().QueryState(ID_PART_STANDARD_BONES).enabled);

    // Without a part the two part dialogs do not open.
    Router().Execute(ID_PART_BONE);
    Router().Execute(ID_PART_PHYSICS);
    EXPECT_EQ(prompts.rigDialogsShown, 0);
}

TEST_F(FrameTest, BoneDialogOkIsOneStepThatKeepsUntouchedAngles) {
    CPart& part = CurrentPart();
    part.angle = {0.3f, -2.5e-7f, 7.0f};
    const std::array<float, 3> before = part.angle;
    const std::u16string name = part.name;
    prompts.boneAnswer = [](CBoneDialogModel& model) {
        CBoneDialog dialog(model);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };
    Router().Execute(ID_PART_BONE);
    EXPECT_EQ(Document().position, 1);
    EXPECT_EQ(Router().Action(ID_EDIT_UNDO)->text(), "元に戻す(&U) - ボーン編集\tCtrl+Z");
    for (size_t axis = 0; axis < 3; ++axis)
        EXPECT_EQ(std::bit_cast<uint32_t>(part.angle[axis]), std::bit_cast<uint32_t>(before[axis]));
    EXPECT_EQ(part.name, name);

    // A rename through the dialog, undone in one step.
    prompts.boneAnswer = [](CBoneDialogModel& model) {
        CBoneDialog dialog(model);
        dialog.NameEdit()->setText("新しい名前");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };
    Router().Execute(ID_PART_BONE);
    EXPECT_EQ(part.name, u"新しい名前");
    Router().Execute(ID_EDIT_UNDO);
    EXPECT_EQ(part.name, name);

    // Cancel changes nothing.
    const int position = Document().position;
    prompts.boneAnswer = nullptr;
    Router().Execute(ID_PART_BONE);
    EXPECT_EQ(Document().position, position);
}

TEST_F(FrameTest, StandardBoneDialogAddsExactlyTheCheckedPartsAsOneStep) {
    // A new document has the whole skeleton: nothing to offer.
    QStringList offered;
    bool okEnabled = true;
    prompts.standardBoneAnswer = [&](CStandardBoneDialogModel& model) {
        CStandardBoneDialog dialog(model);
        offered.clear();
        for (int i = 0; i < dialog.List()->count(); ++i)
            offered.append(dialog.List()->item(i)->text());
        okEnabled = dialog.OkButton()->isEnabled();
        return false;
    };
    Router().Execute(ID_PART_STANDARD_BONES);
    EXPECT_TRUE(offered.isEmpty());
    EXPECT_FALSE(okEnabled);

    // Renamed parts free their standard names.
    Find(Document(), u"左腕")->name = u"L腕";
    Find(Document(), u"左ひじ")->name = u"Lひじ";
    Find(Document(), u"右ひじ")->name = u"Rひじ";
    const size_t partCount = Document().CollectParts().size();
    prompts.standardBoneAnswer = [&](CStandardBoneDialogModel& model) {
        CStandardBoneDialog dialog(model);
        offered.clear();
        for (int i = 0; i < dialog.List()->count(); ++i)
            offered.append(dialog.List()->item(i)->text());
        EXPECT_FALSE(dialog.OkButton()->isEnabled());
        // Check 左ひじ and 左腕, leave 右ひじ.
        dialog.List()->item(offered.indexOf("左ひじ"))->setCheckState(Qt::Checked);
        EXPECT_TRUE(dialog.OkButton()->isEnabled());
        dialog.List()->item(offered.indexOf("左腕"))->setCheckState(Qt::Checked);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };
    Router().Execute(ID_PART_STANDARD_BONES);
    EXPECT_EQ(offered.size(), 3);
    EXPECT_TRUE(offered.contains("右ひじ"));
    EXPECT_EQ(Document().CollectParts().size(), partCount + 2);
    CPart* elbow = Find(Document(), u"左ひじ");
    ASSERT_NE(elbow, nullptr);
    EXPECT_EQ(elbow->parent, Find(Document(), u"左腕")) << "nested under the new arm";
    EXPECT_EQ(Find(Document(), u"右ひじ"), nullptr);
    EXPECT_EQ(Document().position, 1);
    EXPECT_EQ(Router().Action(ID_EDIT_UNDO)->text(), "元に戻す(&U) - 新規部品\tCtrl+Z");

    Router().Execute(ID_EDIT_UNDO);
    EXPECT_EQ(Document().CollectParts().size(), partCount);
    EXPECT_EQ(Find(Document(), u"左腕"), nullptr);
}

TEST_F(FrameTest, PhysicsDialogOkWithoutChangesAddsNoStepAndCancelDropsDetails) {
    auto& part = dynamic_cast<CDotPart&>(CurrentPart());
    prompts.physicsAnswer = [](CPhysicsDialogModel& model) {
        CPhysicsDialog dialog(model);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };
    Router().Execute(ID_PART_PHYSICS);
    EXPECT_EQ(prompts.rigDialogsShown, 1);
    EXPECT_EQ(Document().position, 0);

    // The rigid body check and a changed detail, then cancel: nothing stays.
    bool confirm = false;
    prompts.physicsAnswer = [&confirm](CPhysicsDialogModel& model) {
        CPhysicsDialog dialog(model);
        dialog.RigidBodyBox()->click();
        OnNextModal([](QWidget* modal) {
            auto* details = static_cast<CRigidBodyDialog*>(modal);
            details->Edit(0)->setText("4");
            details->accept();
        });
        dialog.RigidBodyDetailsButton()->click();
        QTest::mouseClick(confirm ? dialog.OkButton() : dialog.CancelButton(), Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };
    Router().Execute(ID_PART_PHYSICS);
    EXPECT_FALSE(part.HasRigidBody());
    EXPECT_EQ(Document().position, 0);

    // The same confirmed: one "物理演算" step.
    confirm = true;
    Router().Execute(ID_PART_PHYSICS);
    ASSERT_TRUE(part.HasRigidBody());
    EXPECT_EQ(part.rigidBody->mass, 4.0f);
    EXPECT_EQ(Router().Action(ID_EDIT_UNDO)->text(), "元に戻す(&U) - 物理演算\tCtrl+Z");
}
