#include "views/PhysicsDialog.h"

#include <QDialogButtonBox>
#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/PhysicsEditing.h"
#include "views/DialogButtons.h"
#include "views/PhysicsDetailDialogs.h"

CPhysicsDialog::CPhysicsDialog(CPhysicsDialogModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle(QStringLiteral("物理演算"));
    rigidBody_ = new QCheckBox(QStringLiteral("剛体(&R)"), this);
    applyToChildren_ = new QCheckBox(QStringLiteral("子部品にも適用(&C)"), this);
    rigidBodyDetails_ = new QPushButton(QStringLiteral("剛体の詳細..."), this);
    joint_ = new QCheckBox(QStringLiteral("ジョイント(&J)"), this);
    jointDetails_ = new QPushButton(QStringLiteral("ジョイントの詳細..."), this);
    rigidBodyDetails_->setAutoDefault(false);
    jointDetails_->setAutoDefault(false);

    rigidBody_->setChecked(model_.rigidBodyCheck);
    applyToChildren_->setChecked(model_.applyToChildrenCheck);
    joint_->setChecked(model_.jointCheck);

    connect(rigidBody_, &QCheckBox::toggled, this, [this](bool checked) {
        model_.rigidBodyCheck = checked;
        UpdateEnabled();
    });
    connect(applyToChildren_, &QCheckBox::toggled, this,
            [this](bool checked) { model_.applyToChildrenCheck = checked; });
    connect(joint_, &QCheckBox::toggled, this, [this](bool checked) {
        model_.jointCheck = checked;
        UpdateEnabled();
    });
    connect(rigidBodyDetails_, &QPushButton::clicked, this, &CPhysicsDialog::EditRigidBody);
    connect(jointDetails_, &QPushButton::clicked, this, &CPhysicsDialog::EditJoint);

    const OK_CANCEL buttons = MakeOkCancel(this);
    ok_ = buttons.ok;
    cancel_ = buttons.cancel;

    auto* grid = new QGridLayout;
    grid->addWidget(rigidBody_, 0, 0);
    grid->addWidget(rigidBodyDetails_, 0, 1);
    grid->addWidget(applyToChildren_, 1, 0);
    grid->addWidget(joint_, 2, 0);
    grid->addWidget(jointDetails_, 2, 1);
    grid->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons.box);
    UpdateEnabled();
}

void CPhysicsDialog::UpdateEnabled() {
    applyToChildren_->setEnabled(model_.IsApplyToChildrenEnabled());
    rigidBodyDetails_->setEnabled(model_.IsRigidBodyDetailsEnabled());
    joint_->setEnabled(model_.IsJointCheckEnabled());
    jointDetails_->setEnabled(model_.IsJointDetailsEnabled());
}

void CPhysicsDialog::EditRigidBody() {
    CRigidBodyDialog dialog(model_.rigidBody, this);
    if (dialog.exec() == QDialog::Accepted)
        model_.rigidBody = dialog.Value();
}

void CPhysicsDialog::EditJoint() {
    CJointDialog dialog(model_.joint, this);
    if (dialog.exec() == QDialog::Accepted)
        model_.joint = dialog.Value();
}
