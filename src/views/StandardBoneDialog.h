#pragma once
// The standard bone dialog ("定型ボーン追加"): a check list of the standard
// bones the document does not have yet. Bound to a CStandardBoneDialogModel;
// OK is enabled while at least one is checked, and the caller applies the
// model after OK.

#include <QDialog>

class CStandardBoneDialogModel;
class QListWidget;
class QPushButton;

class CStandardBoneDialog : public QDialog {
    Q_OBJECT
public:
    CStandardBoneDialog(CStandardBoneDialogModel& model, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    QPushButton* OkButton() const { return ok_; }

private:
    CStandardBoneDialogModel& model_;
    QListWidget* list_;
    QPushButton* ok_;
};
