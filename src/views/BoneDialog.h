#pragma once
// The bone dialog ("ボーン編集") of one part: name, kind, morph and its link,
// rest angles in degrees, IK name, range and parent. Its controls are bound
// to a CBoneDialogModel, which decides what the lists offer and what is
// enabled; the caller applies the model after OK.

#include <QDialog>
#include <array>

class CBoneDialogModel;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class CBoneDialog : public QDialog {
    Q_OBJECT
public:
    CBoneDialog(CBoneDialogModel& model, QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return name_; }
    // 0 "移動可能(&M)", 1 "回転可能(&R)", 2 "ボーンなし(&N)", 3 "非表示(&H)".
    QRadioButton* KindRadio(int index) const;
    QCheckBox* MorphBox() const { return morph_; }
    QComboBox* LinkList() const { return link_; }
    QLineEdit* AngleEdit(int axis) const { return angles_[static_cast<size_t>(axis)]; }
    QLineEdit* IkNameEdit() const { return ikName_; }
    QListWidget* IkRangeList() const { return ikRange_; }
    QComboBox* IkParentList() const { return ikParent_; }
    QPushButton* OkButton() const { return ok_; }

    // Reads the angle texts into the model; refuses (stays open, the field
    // focused, a message shown) while one is not a number.
    void accept() override;

private:
    void BuildControls();
    void Fill();
    void UpdateEnabled();

    CBoneDialogModel& model_;
    QLineEdit* name_;
    QButtonGroup* kinds_;
    QCheckBox* morph_;
    QComboBox* link_;
    std::array<QLineEdit*, 3> angles_;
    QLineEdit* ikName_;
    QListWidget* ikRange_;
    QComboBox* ikParent_;
    QPushButton* ok_;
};
