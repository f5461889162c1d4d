#pragma once
// The "OK" and "キャンセル" row of the editor's dialogs.

class QDialog;
class QDialogButtonBox;
class QPushButton;

struct OK_CANCEL {
    QDialogButtonBox* box;
    QPushButton* ok;     // the default button; runs the dialog's accept()
    QPushButton* cancel; // runs reject()
};

// Makes the row in dialog; the caller puts box into its layout.
OK_CANCEL MakeOkCancel(QDialog* dialog);
