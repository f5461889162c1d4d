#include "views/DotColorDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr uint32_t ColorRef(int r, int g, int b) {
    return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b) << 16;
}

} // namespace

CDotColorDialog::CDotColorDialog(const PALETTE_COLOR& value, QWidget* parent)
    : QDialog(parent), value_(value) {
    setWindowTitle(QStringLiteral("色の設定"));
    auto* form = new QFormLayout;
    const QString labels[3] = {QStringLiteral("&R:"), QStringLiteral("&G:"), QStringLiteral("&B:")};
    for (int i = 0; i < 3; ++i) {
        channels_[i] = new QLineEdit(this);
        form->addRow(labels[i], channels_[i]);
    }
    alpha_ = new QLineEdit(this);
    form->addRow(QStringLiteral("&A:"), alpha_);

    material_ = new QCheckBox(QStringLiteral("材質(&M)"), this);
    auto* browse = new QPushButton(QStringLiteral("参照..."), this);
    connect(browse, &QPushButton::clicked, this, &CDotColorDialog::Browse);
    connect(material_, &QCheckBox::toggled, alpha_, &QLineEdit::setEnabled);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDotColorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(material_);
    row->addStretch();
    row->addWidget(browse);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(row);
    layout->addWidget(buttons);
    Fill(value);
}

void CDotColorDialog::Fill(const PALETTE_COLOR& value) {
    const int channels[3] = {static_cast<int>(value.color & 0xFF),
                             static_cast<int>(value.color >> 8 & 0xFF),
                             static_cast<int>(value.color >> 16 & 0xFF)};
    for (int i = 0; i < 3; ++i)
        channels_[i]->setText(QString::number(channels[i]));
    alpha_->setText(QString::number(value.alpha, 'g', 6));
    material_->setChecked(value.material);
    alpha_->setEnabled(value.material);
}

std::optional<PALETTE_COLOR> CDotColorDialog::ReadControls(QString* problem) const {
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        channels[i] = channels_[i]->text().trimmed().toInt(&ok);
        if (!ok || channels[i] < 0 || channels[i] > 255) {
            if (problem)
                *problem = QStringLiteral("0 から 255 までの整数を入力してください。");
            channels_[i]->setFocus();
            return std::nullopt;
        }
    }
    bool ok = false;
    const double alpha = QLocale::c().toDouble(alpha_->text().trimmed(), &ok);
    if (!ok || !(alpha >= 0.0 && alpha <= 1.0)) {
        if (problem)
            *problem = QStringLiteral("0 から 1 までの数値を入力してください。");
        if (alpha_->isEnabled())
            alpha_->setFocus();
        return std::nullopt;
    }
    return PALETTE_COLOR{ColorRef(channels[0], channels[1], channels[2]), static_cast<float>(alpha),
                         material_->isChecked()};
}

void CDotColorDialog::Browse() {
    QString problem;
    const std::optional<PALETTE_COLOR> current = ReadControls(&problem);
    if (!current) {
        QMessageBox::warning(this, windowTitle(), problem);
        return;
    }
    const QColor initial(current->color & 0xFF, current->color >> 8 & 0xFF,
                         current->color >> 16 & 0xFF);
    const QColor chosen = QColorDialog::getColor(initial, this, QStringLiteral("色の設定"));
    if (!chosen.isValid())
        return;
    Fill(
        {ColorRef(chosen.red(), chosen.green(), chosen.blue()), current->alpha, current->material});
}

void CDotColorDialog::accept() {
    QString problem;
    const std::optional<PALETTE_COLOR> value = ReadControls(&problem);
    if (!value) {
        QMessageBox::warning(this, windowTitle(), problem);
        return;
    }
    value_ = *value;
    QDialog::accept();
}
