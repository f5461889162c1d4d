#include "views/PhysicsDetailDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "document/PhysicsEditing.h"
#include "views/DialogButtons.h"
#include "views/FloatFields.h"

namespace {

std::array<float, 5> ToArray(const RIGID_BODY_PARAMS& value) {
    return {value.mass, value.linearDamping, value.angularDamping, value.restitution,
            value.friction};
}

// Joint edits: row "移動" or "回転" of the limits, x, y, z each as lower "-"
// upper.
void AddLimitRow(QGridLayout* grid, int row, const QString& title, QLineEdit* const* edits) {
    grid->addWidget(new QLabel(title), row, 0);
    const QString axes[3] = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    for (int axis = 0; axis < 3; ++axis) {
        grid->addWidget(new QLabel(axes[axis]), row, 1 + axis * 4, Qt::AlignRight);
        grid->addWidget(edits[axis * 2], row, 2 + axis * 4);
        grid->addWidget(new QLabel(QStringLiteral("-")), row, 3 + axis * 4);
        grid->addWidget(edits[axis * 2 + 1], row, 4 + axis * 4);
    }
}

// Spring edits: row "移動" or "回転", x, y, z.
void AddSpringRow(QGridLayout* grid, int row, const QString& title, QLineEdit* const* edits) {
    grid->addWidget(new QLabel(title), row, 0);
    const QString axes[3] = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    for (int axis = 0; axis < 3; ++axis) {
        grid->addWidget(new QLabel(axes[axis]), row, 1 + axis * 2, Qt::AlignRight);
        grid->addWidget(edits[axis], row, 2 + axis * 2);
    }
}

} // namespace

CRigidBodyDialog::CRigidBodyDialog(const RIGID_BODY_PARAMS& value, QWidget* parent)
    : QDialog(parent), value_(value) {
    setWindowTitle(QStringLiteral("剛体"));
    auto* form = new QFormLayout;
    const QString labels[5] = {QStringLiteral("質量:"), QStringLiteral("移動減衰:"),
                               QStringLiteral("回転減衰:"), QStringLiteral("反発力:"),
                               QStringLiteral("摩擦力:")};
    const std::array<float, 5> values = ToArray(value);
    for (size_t i = 0; i < edits_.size(); ++i) {
        edits_[i] = new QLineEdit(this);
        ShowFloat(edits_[i], values[i]);
        form->addRow(labels[i], edits_[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MakeOkCancel(this).box);
}

void CRigidBodyDialog::accept() {
    std::array<float, 5> values{};
    if (!ReadFloatFields(this, edits_, values))
        return;
    value_ = {values[0], values[1], values[2], values[3], values[4]};
    QDialog::accept();
}

CJointDialog::CJointDialog(const JOINT_PARAMS& value, QWidget* parent)
    : QDialog(parent), shown_(value), value_(value) {
    setWindowTitle(QStringLiteral("ジョイント"));
    const JointDialogValues values = JointToDialog(value);
    for (size_t i = 0; i < edits_.size(); ++i) {
        edits_[i] = new QLineEdit(this);
        edits_[i]->setFixedWidth(72);
        ShowFloat(edits_[i], values[i]);
    }

    auto* limits = new QGroupBox(QStringLiteral("制限(&R)"), this);
    auto* limitGrid = new QGridLayout(limits);
    AddLimitRow(limitGrid, 0, QStringLiteral("移動"), &edits_[0]);
    AddLimitRow(limitGrid, 1, QStringLiteral("回転"), &edits_[6]);
    limitGrid->setColumnStretch(13, 1);

    auto* springs = new QGroupBox(QStringLiteral("ばね(&S)"), this);
    auto* springGrid = new QGridLayout(springs);
    AddSpringRow(springGrid, 0, QStringLiteral("移動"), &edits_[12]);
    AddSpringRow(springGrid, 1, QStringLiteral("回転"), &edits_[15]);
    springGrid->setColumnStretch(7, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(limits);
    layout->addWidget(springs);
    layout->addWidget(MakeOkCancel(this).box);
}

void CJointDialog::accept() {
    JointDialogValues values{};
    if (!ReadFloatFields(this, edits_, values))
        return;
    value_ = JointFromDialog(values, shown_);
    QDialog::accept();
}
