#pragma once
// The two detail dialogs of the physics dialog: "剛体" with the five rigid
// body values and "ジョイント" with the joint's limits and springs. Each
// edits a copy; the caller takes Value() after OK.

#include <QDialog>
#include <array>

#include "document/PhysicsParams.h"

class QLineEdit;

class CRigidBodyDialog : public QDialog {
    Q_OBJECT
public:
    CRigidBodyDialog(const RIGID_BODY_PARAMS& value, QWidget* parent = nullptr);

    // 質量, 移動減衰, 回転減衰, 反発力, 摩擦力: the order of the record.
    QLineEdit* Edit(int index) const { return edits_[static_cast<size_t>(index)]; }
    RIGID_BODY_PARAMS Value() const { return value_; }

    void accept() override;

private:
    RIGID_BODY_PARAMS value_;
    std::array<QLineEdit*, 5> edits_;
};

class CJointDialog : public QDialog {
    Q_OBJECT
public:
    CJointDialog(const JOINT_PARAMS& value, QWidget* parent = nullptr);

    // The edits in the order of JointDialogValues: move limits x, y, z as
    // (lower, upper), rotation limits likewise in degrees, move springs,
    // rotation springs.
    QLineEdit* Edit(int index) const { return edits_[static_cast<size_t>(index)]; }
    JOINT_PARAMS Value() const { return value_; }

    // Converts back with the record the dialog opened on, so values left as
    // shown keep their stored bits.
    void accept() override;

private:
    JOINT_PARAMS shown_;
    JOINT_PARAMS value_;
    std::array<QLineEdit*, 18> edits_;
};
