// The bone dialog as a user works it: what its controls show, which are
// enabled, what a confirmed dialog stores, and that an untouched OK keeps the
// stored angles bit for bit.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "DialogTestUtil.h"
#include "document/AngleUnits.h"
#include "rigging/BoneDialogModel.h"
#include "views/BoneDialog.h"

namespace {

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->itemText(i));
    return items;
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i)->text());
    return items;
}

class BoneDialogTest : public testing::Test {
protected:
    // 体 { 胸 { 首 { 頭 } }, 尾 (hidden) }, 髪
    CDotDocument document;
    CDotPart& body = AppendPart(document, nullptr, u"体");
    CDotPart& chest = AppendPart(document, &body, u"胸");
    CDotPart& neck = AppendPart(document, &chest, u"首");
    CDotPart& head = AppendPart(document, &neck, u"頭");
    CDotPart& tail = AppendPart(document, &body, u"尾");
    CDotPart& hair = AppendPart(document, nullptr, u"髪");

    BoneDialogTest() { tail.boneKind = BONE_HIDDEN; }
};

} // namespace

TEST_F(BoneDialogTest, ControlsShowThePartAndListOnlyWhatMayBeChosen) {
    neck.boneKind = BONE_ROTATE;
    neck.angle = {0.3f, 0.0f, -1.5f};
    neck.ikName = u"首IK";
    neck.ikRange = 2;
    neck.ikParent = &body;
    neck.morph = 1;
    neck.linkedPart = &hair;
    CBoneDialogModel model(neck);
    CBoneDialog dialog(model);

    EXPECT_EQ(dialog.windowTitle(), "ボーン編集");
    EXPECT_EQ(dialog.NameEdit()->text(), "首");
    EXPECT_TRUE(dialog.KindRadio(1)->isChecked()) << "回転可能 is the second radio";
    EXPECT_EQ(dialog.KindRadio(1)->text(), "回転可能(&R)");
    EXPECT_TRUE(dialog.MorphBox()->isChecked());
    // Not the part, its ancestors, its descendants or hidden parts.
    EXPECT_EQ(Items(dialog.LinkList()), QStringList({"", "髪"}));
    EXPECT_EQ(dialog.LinkList()->currentText(), "髪");
    // Degrees in their shortest exact form, not rounded to six digits.
    EXPECT_EQ(dialog.AngleEdit(0)->text(), "17.188734");
    EXPECT_EQ(dialog.AngleEdit(1)->text(), "0");
    EXPECT_EQ(dialog.IkNameEdit()->text(), "首IK");
    EXPECT_EQ(Items(dialog.IkRangeList()), QStringList({"胸", "体"}));
    EXPECT_EQ(dialog.IkRangeList()->currentRow(), 1);
    EXPECT_EQ(Items(dialog.IkParentList()), QStringList({"", "胸", "体"}));
    EXPECT_EQ(dialog.IkParentList()->currentIndex(), 2);
}

TEST_F(BoneDialogTest, ReferencesThatAreNotOfferedShowNoSelection) {
    head.ikRange = 7;        // more levels than there are ancestors
    head.ikParent = &hair;   // not an ancestor
    head.linkedPart = &body; // an ancestor
    CBoneDialogModel model(head);
    CBoneDialog dialog(model);
    EXPECT_TRUE(dialog.IkRangeList()->selectedItems().isEmpty());
    EXPECT_EQ(dialog.IkParentList()->currentIndex(), 0);
    EXPECT_EQ(dialog.LinkList()->currentIndex(), 0);
    EXPECT_EQ(model.MakeBone().ikRange, 0);
    EXPECT_EQ(model.MakeBone().ikParent, nullptr);
    EXPECT_EQ(model.MakeBone().linkedPart, nullptr);
}

TEST_F(BoneDialogTest, EnableRulesFollowTheEdits) {
    CBoneDialogModel model(chest);
    CBoneDialog dialog(model);
    // Morph off: no link; no IK name: no IK lists.
    EXPECT_FALSE(dialog.LinkList()->isEnabled());
    EXPECT_FALSE(dialog.IkRangeList()->isEnabled());
    EXPECT_FALSE(dialog.IkParentList()->isEnabled());
    EXPECT_TRUE(dialog.KindRadio(0)->isEnabled());

    dialog.MorphBox()->click();
    EXPECT_TRUE(dialog.LinkList()->isEnabled());
    QTest::keyClicks(dialog.IkNameEdit(), "I");
    EXPECT_TRUE(dialog.IkRangeList()->isEnabled());
    EXPECT_TRUE(dialog.IkParentList()->isEnabled());
    dialog.IkNameEdit()->clear();
    EXPECT_FALSE(dialog.IkRangeList()->isEnabled());

    // OK only for a name no other part has; the part's own name is fine.
    for (const char* taken : {"体", "頭", ""}) {
        dialog.NameEdit()->setText(QString::fromUtf8(taken));
        EXPECT_FALSE(dialog.OkButton()->isEnabled()) << taken;
    }
    dialog.NameEdit()->setText("胸");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.NameEdit()->setText("胸部");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());

    // A top-level part's kind cannot be chosen.
    CBoneDialogModel topModel(body);
    CBoneDialog top(topModel);
    for (int radio = 0; radio < 4; ++radio)
        EXPECT_FALSE(top.KindRadio(radio)->isEnabled()) << radio;
}

TEST_F(BoneDialogTest, ChoicesReachTheModelAndOkStoresThemAsOneStep) {
    CBoneDialogModel model(head);
    CBoneDialog dialog(model);
    dialog.NameEdit()->setText("顔");
    dialog.KindRadio(2)->click(); // ボーンなし
    dialog.MorphBox()->click();
    dialog.LinkList()->setCurrentIndex(1); // 髪
    dialog.AngleEdit(1)->setText("400");   // beyond a turn, kept as typed
    dialog.AngleEdit(2)->setText(" -90 ");
    dialog.IkNameEdit()->setText("顔IK");
    dialog.IkRangeList()->setCurrentRow(1);    // 胸
    dialog.IkParentList()->setCurrentIndex(3); // 体
    dialog.OkButton()->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(model.Apply());

    EXPECT_EQ(head.name, u"顔");
    EXPECT_EQ(head.boneKind, BONE_NONE);
    EXPECT_EQ(head.morph, 1);
    EXPECT_EQ(head.linkedPart, &hair);
    EXPECT_EQ(head.angle[0], 0.0f);
    EXPECT_EQ(head.angle[1], ToRadians(400.0f));
    EXPECT_EQ(head.angle[2], ToRadians(-90.0f));
    EXPECT_EQ(head.ikName, u"顔IK");
    EXPECT_EQ(head.ikRange, 2);
    EXPECT_EQ(head.ikParent, &body);
    EXPECT_EQ(document.commands.size(), 1u);
    EXPECT_EQ(document.commands.back()->name, u"ボーン編集");
}

TEST_F(BoneDialogTest, UntouchedOkKeepsEveryAngleBit) {
    // Values whose degrees need more than six digits to read back.
    const std::array<float, 3> odd{0.3f, -1.2345678e-7f, 7.0f};
    neck.angle = odd;
    CBoneDialogModel model(neck);
    CBoneDialog dialog(model);
    dialog.OkButton()->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    model.Apply();
    ASSERT_EQ(document.commands.size(), 1u) << "OK is a step even without a change";
    for (size_t axis = 0; axis < 3; ++axis)
        EXPECT_EQ(Bits(neck.angle[axis]), Bits(odd[axis])) << axis;

    // Retyping the shown text is no change either.
    CBoneDialogModel again(neck);
    CBoneDialog retyped(again);
    const QString shown = retyped.AngleEdit(0)->text();
    retyped.AngleEdit(0)->clear();
    QTest::keyClicks(retyped.AngleEdit(0), shown);
    retyped.OkButton()->click();
    again.Apply();
    EXPECT_EQ(Bits(neck.angle[0]), Bits(odd[0]));
}

TEST_F(BoneDialogTest, AnAngleThatIsNoNumberIsRefusedAtOk) {
    neck.angle = {0.25f, 0.5f, 0.75f};
    for (const char* bad : {"", "abc", "1.5x", "nan", "inf", "-inf", "1e39", "1e-60"}) {
        CBoneDialogModel model(neck);
        CBoneDialog dialog(model);
        dialog.show();
        dialog.AngleEdit(1)->setText(QString::fromUtf8(bad));
        QString message;
        CloseNextMessage(&message);
        dialog.OkButton()->click();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << bad;
        EXPECT_TRUE(dialog.isVisible()) << bad;
        EXPECT_FALSE(message.isEmpty()) << bad;
        EXPECT_EQ(dialog.focusWidget(), dialog.AngleEdit(1)) << bad;
        EXPECT_EQ(model.angleDegrees[1], ToDegrees(0.5f)) << bad;
    }
    EXPECT_TRUE(document.commands.empty());
}
