#include "views/FloatFields.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QWidget>
#include <cassert>

#include "rigging/FloatText.h"

void ShowFloat(QLineEdit* edit, float value) {
    edit->setText(QString::fromStdString(FormatFloat(value)));
}

QString FloatFieldProblem(const QString& text) {
    FloatTextError error = FloatTextError::None;
    if (ParseFloat(text.toStdString(), &error))
        return QString();
    if (error == FloatTextError::OutOfRange)
        return QStringLiteral("扱える範囲を超えた数値です。\n"
                              "絶対値が 1e-45 から 3.4e+38 までの数値か 0 を入力してください。");
    return QStringLiteral("数値を入力してください。");
}

bool ReadFloatFields(QWidget* dialog, std::span<QLineEdit* const> edits, std::span<float> values) {
    assert(edits.size() == values.size());
    for (size_t i = 0; i < edits.size(); ++i) {
        const std::optional<float> value = ParseFloat(edits[i]->text().toStdString());
        if (!value) {
            const QString problem = FloatFieldProblem(edits[i]->text());
            edits[i]->setFocus();
            edits[i]->selectAll();
            QMessageBox::warning(dialog, dialog->windowTitle(), problem);
            return false;
        }
        values[i] = *value;
    }
    return true;
}
