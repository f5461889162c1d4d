#pragma once
// Everything the shell asks the user: the save question, file choosers,
// messages, the colour chooser, the dot-size dialog and the rigging dialogs.
// The editor shows real dialogs (CDialogPrompts); tests put in a fake that
// answers from a script.

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

#include "document/EditorPrompt.h"
#include "views/DotColorDialog.h"

class CBoneDialogModel;
class CPhysicsDialogModel;
class CStandardBoneDialogModel;
class QWidget;

enum class SaveAnswer { Yes, No, Cancel };

// A file chooser request.
struct FILE_PROMPT {
    QString title;
    QString initialPath;    // folder, or folder and proposed file name
    QStringList filters;    // Qt filter strings
    int selectedFilter = 0; // the one preselected
    QString defaultSuffix;  // added to a chosen name without extension (save only)
    // Save only, when not empty: the suffix of each filter, which replaces
    // defaultSuffix while that filter is chosen ("" for none).
    QStringList filterSuffixes;
};

// Also what the core's operations ask (CEditorPrompt: a refused name, the
// overwrite question of invert part).
// path with ".suffix" added when its file name has no extension (what a
// save dialog with that default suffix gives).
QString WithDefaultSuffix(const QString& path, const QString& suffix);

class CShellPrompts : public CEditorPrompt {
public:
    // "Save the changes to name?" with Yes, No and Cancel.
    virtual SaveAnswer AskSaveChanges(const QString& documentName) = 0;
    // A file to open, or nothing when the user cancels.
    virtual std::optional<QString> ChooseOpenFile(const FILE_PROMPT& prompt) = 0;
    // A file to write (the chooser asks before replacing one), or nothing.
    virtual std::optional<QString> ChooseSaveFile(const FILE_PROMPT& prompt) = 0;
    // A message box with an OK button and the error icon.
    virtual void ShowError(const QString& text) = 0;
    // The colour chooser, or nothing when cancelled.
    virtual std::optional<QColor> ChooseColor(const QColor& initial) = 0;
    // The dot-size dialog (also the rate dialog when caption is not empty):
    // the confirmed value, always greater than 0, or nothing.
    virtual std::optional<float> EditDotSize(const QString& caption, float value) = 0;
    // The colour dialog of a palette entry: the confirmed values, or nothing.
    virtual std::optional<PALETTE_COLOR> EditPaletteColor(const PALETTE_COLOR& value) = 0;
    // The rigging dialogs, each bound to its model: true after OK, with the
    // model holding what was confirmed; false when cancelled. The caller
    // applies the model.
    virtual bool EditBone(CBoneDialogModel& model) = 0;
    virtual bool ChooseStandardBones(CStandardBoneDialogModel& model) = 0;
    virtual bool EditPhysics(CPhysicsDialogModel& model) = 0;
};

// The real dialogs, owned by the given window.
class CDialogPrompts : public CShellPrompts {
public:
    explicit CDialogPrompts(QWidget* owner) : owner_(owner) {}

    SaveAnswer AskSaveChanges(const QString& documentName) override;
    std::optional<QString> ChooseOpenFile(const FILE_PROMPT& prompt) override;
    std::optional<QString> ChooseSaveFile(const FILE_PROMPT& prompt) override;
    void ShowError(const QString& text) override;
    std::optional<QColor> ChooseColor(const QColor& initial) override;
    std::optional<float> EditDotSize(const QString& caption, float value) override;
    std::optional<PALETTE_COLOR> EditPaletteColor(const PALETTE_COLOR& value) override;
    bool EditBone(CBoneDialogModel& model) override;
    bool ChooseStandardBones(CStandardBoneDialogModel& model) override;
    bool EditPhysics(CPhysicsDialogModel& model) override;
    void ShowMessage(const std::u16string& text) override;
    bool AskOkCancel(const std::u16string& text) override;

private:
    QWidget* owner_;
};
