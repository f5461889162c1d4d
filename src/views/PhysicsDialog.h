#pragma once
// The physics dialog ("物理演算") of one part: the rigid body and joint
// checks, "子部品にも適用" and the buttons to the detail dialogs. Bound to a
// CPhysicsDialogModel, which holds the working records and the enable rules;
// the detail dialogs edit only those working records, so nothing reaches the
// part unless the caller applies the model after OK.

#include <QDialog>

class CPhysicsDialogModel;
class QCheckBox;
class QPushButton;

class CPhysicsDialog : public QDialog {
    Q_OBJECT
public:
    CPhysicsDialog(CPhysicsDialogModel& model, QWidget* parent = nullptr);

    QCheckBox* RigidBodyBox() const { return rigidBody_; }
    QCheckBox* ApplyToChildrenBox() const { return applyToChildren_; }
    QCheckBox* JointBox() const { return joint_; }
    QPushButton* RigidBodyDetailsButton() const { return rigidBodyDetails_; }
    QPushButton* JointDetailsButton() const { return jointDetails_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // "剛体の詳細..." and "ジョイントの詳細...": the detail dialog on the
    // working record; OK there writes back into the working record.
    void EditRigidBody();
    void EditJoint();

private:
    void UpdateEnabled();

    CPhysicsDialogModel& model_;
    QCheckBox* rigidBody_;
    QCheckBox* applyToChildren_;
    QPushButton* rigidBodyDetails_;
    QCheckBox* joint_;
    QPushButton* jointDetails_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
