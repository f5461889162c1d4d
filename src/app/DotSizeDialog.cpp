#include "app/DotSizeDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

std::optional<float> ParseDotSize(const QString& text) {
    bool ok = false;
    const double number = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(number);
}

CDotSizeDialog::CDotSizeDialog(const QString& caption, float value, QWidget* parent)
    : QDialog(parent), value_(value) {
    setWindowTitle(caption.isEmpty() ? QStringLiteral("ドットの大きさ") : caption);

    auto* label = new QLabel(QStringLiteral("値(&V):"), this);
    edit_ = new QLineEdit(QString::number(value, 'g', 6), this);
    edit_->selectAll();
    label->setBuddy(edit_);
    message_ = new QLabel(this);
    message_->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(edit_, &QLineEdit::textChanged, this, &CDotSizeDialog::OnTextChanged);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(message_);
    layout->addWidget(buttons);
    setMinimumWidth(260);
    OnTextChanged(edit_->text());
}

bool CDotSizeDialog::IsOkEnabled() const { return ok_->isEnabled(); }

void CDotSizeDialog::OnTextChanged(const QString& text) {
    const std::optional<float> number = ParseDotSize(text);
    if (!number) {
        // Said beside the field instead of in a message box, so that clearing
        // the field while typing does not interrupt the user.
        message_->setText(QStringLiteral("数値を入力してください。"));
        ok_->setEnabled(false);
        return;
    }
    value_ = *number;
    message_->setText(*number > 0.0f ? QString()
                                     : QStringLiteral("0 より大きい値を入力してください。"));
    ok_->setEnabled(*number > 0.0f);
}
