#include "views/StandardBoneDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "rigging/StandardBoneDialogModel.h"
#include "views/DialogButtons.h"

CStandardBoneDialog::CStandardBoneDialog(CStandardBoneDialogModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle(QStringLiteral("定型ボーン追加"));
    list_ = new QListWidget(this);
    for (const CStandardBoneDialogModel::ROW& row : model_.rows) {
        auto* item = new QListWidgetItem(QString::fromStdU16String(row.name), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(row.checked ? Qt::Checked : Qt::Unchecked);
    }

    const OK_CANCEL buttons = MakeOkCancel(this);
    ok_ = buttons.ok;
    ok_->setEnabled(model_.IsOkEnabled());

    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        if (row < 0 || row >= static_cast<int>(model_.rows.size()))
            return;
        model_.rows[static_cast<size_t>(row)].checked = item->checkState() == Qt::Checked;
        ok_->setEnabled(model_.IsOkEnabled());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons.box);
    resize(260, 420);
}
