#include "views/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

OK_CANCEL MakeOkCancel(QDialog* dialog) {
    OK_CANCEL row;
    row.box = new QDialogButtonBox(dialog);
    row.ok = row.box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    row.ok->setDefault(true);
    row.cancel = row.box->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    // accept() is virtual: dialogs that check their fields override it.
    QObject::connect(row.box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(row.box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return row;
}
