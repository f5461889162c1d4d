#include "app/ShellPrompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/DotSizeDialog.h"
#include "views/BoneDialog.h"
#include "views/PhysicsDialog.h"
#include "views/StandardBoneDialog.h"

namespace {

const QString AppTitle = QStringLiteral("Kubrell");

std::optional<QString> RunFileDialog(QWidget* owner, const FILE_PROMPT& prompt, bool save) {
    QFileDialog dialog(owner, prompt.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(prompt.filters);
    if (prompt.selectedFilter > 0 && prompt.selectedFilter < prompt.filters.size())
        dialog.selectNameFilter(prompt.filters[prompt.selectedFilter]);
    if (save) {
        dialog.setDefaultSuffix(prompt.defaultSuffix);
        // A name typed without extension gets the one of the chosen type.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&](const QString& filter) {
                             const qsizetype index = prompt.filters.indexOf(filter);
                             if (index >= 0 && index < prompt.filterSuffixes.size())
                                 dialog.setDefaultSuffix(prompt.filterSuffixes[index]);
                         });
    }
    const QFileInfo initial(prompt.initialPath);
    if (initial.isDir()) {
        dialog.setDirectory(prompt.initialPath);
    } else if (!prompt.initialPath.isEmpty()) {
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

} // namespace

QString WithDefaultSuffix(const QString& path, const QString& suffix) {
    if (suffix.isEmpty() || path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + suffix;
}

SaveAnswer CDialogPrompts::AskSaveChanges(const QString& documentName) {
    QMessageBox box(QMessageBox::Warning, AppTitle,
                    QStringLiteral("%1 への変更を保存しますか?").arg(documentName),
                    QMessageBox::NoButton, owner_);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return SaveAnswer::Yes;
    if (box.clickedButton() == no)
        return SaveAnswer::No;
    return SaveAnswer::Cancel;
}

std::optional<QString> CDialogPrompts::ChooseOpenFile(const FILE_PROMPT& prompt) {
    return RunFileDialog(owner_, prompt, false);
}

std::optional<QString> CDialogPrompts::ChooseSaveFile(const FILE_PROMPT& prompt) {
    return RunFileDialog(owner_, prompt, true);
}

void CDialogPrompts::ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, AppTitle, text, QMessageBox::NoButton, owner_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

std::optional<QColor> CDialogPrompts::ChooseColor(const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, owner_, QStringLiteral("色の設定"));
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<float> CDialogPrompts::EditDotSize(const QString& caption, float value) {
    CDotSizeDialog dialog(caption, value, owner_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Value();
}

std::optional<PALETTE_COLOR> CDialogPrompts::EditPaletteColor(const PALETTE_COLOR& value) {
    CDotColorDialog dialog(value, owner_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Value();
}

bool CDialogPrompts::EditBone(CBoneDialogModel& model) {
    CBoneDialog dialog(model, owner_);
    return dialog.exec() == QDialog::Accepted;
}

bool CDialogPrompts::ChooseStandardBones(CStandardBoneDialogModel& model) {
    CStandardBoneDialog dialog(model, owner_);
    return dialog.exec() == QDialog::Accepted;
}

bool CDialogPrompts::EditPhysics(CPhysicsDialogModel& model) {
    CPhysicsDialog dialog(model, owner_);
    return dialog.exec() == QDialog::Accepted;
}

void CDialogPrompts::ShowMessage(const std::u16string& text) {
    QMessageBox box(QMessageBox::Information, AppTitle, QString::fromStdU16String(text),
                    QMessageBox::NoButton, owner_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool CDialogPrompts::AskOkCancel(const std::u16string& text) {
    QMessageBox box(QMessageBox::Warning, AppTitle, QString::fromStdU16String(text),
                    QMessageBox::NoButton, owner_);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}
