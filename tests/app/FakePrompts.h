#pragma once
// Answers the shell's questions from values a test sets, and records what
// was asked.

#include <QStringList>
#include <functional>

#include "app/ShellPrompts.h"

class CFakePrompts : public CShellPrompts {
public:
    SaveAnswer AskSaveChanges(const QString& documentName) override {
        asked.append(documentName);
        return saveAnswer;
    }
    std::optional<QString> ChooseOpenFile(const FILE_PROMPT& prompt) override {
        filePrompts.push_back(prompt);
        return Next();
    }
    std::optional<QString> ChooseSaveFile(const FILE_PROMPT& prompt) override {
        filePrompts.push_back(prompt);
        return Next();
    }
    void ShowError(const QString& text) override { errors.append(text); }
    std::optional<QColor> ChooseColor(const QColor& initial) override {
        colorInitial = initial;
        return color;
    }
    std::optional<float> EditDotSize(const QString& caption, float value) override {
        dotSizeCaption = caption;
        dotSizeInitial = value;
        return dotSize;
    }

    std::optional<PALETTE_COLOR> EditPaletteColor(const PALETTE_COLOR& value) override {
        paletteInitial = value;
        return paletteColor;
    }

    // The rigging dialogs: the test's answer edits the model and says
    // whether OK was pressed; without an answer the dialog is cancelled.
    bool EditBone(CBoneDialogModel& model) override {
        ++rigDialogsShown;
        return boneAnswer && boneAnswer(model);
    }
    bool ChooseStandardBones(CStandardBoneDialogModel& model) override {
        ++rigDialogsShown;
        return standardBoneAnswer && standardBoneAnswer(model);
    }
    bool EditPhysics(CPhysicsDialogModel& model) override {
        ++rigDialogsShown;
        return physicsAnswer && physicsAnswer(model);
    }

    void ShowMessage(const std::u16string& text) override {
        messages.append(QString::fromStdU16String(text));
    }
    bool AskOkCancel(const std::u16string& text) override {
        messages.append(QString::fromStdU16String(text));
        return okCancelAnswer;
    }

    SaveAnswer saveAnswer = SaveAnswer::No;
    bool okCancelAnswer = false;
    // Answers of the file choosers, in turn; an empty one cancels.
    QStringList files;
    std::optional<QColor> color;
    std::optional<float> dotSize;
    std::optional<PALETTE_COLOR> paletteColor;
    std::function<bool(CBoneDialogModel&)> boneAnswer;
    std::function<bool(CStandardBoneDialogModel&)> standardBoneAnswer;
    std::function<bool(CPhysicsDialogModel&)> physicsAnswer;

    QStringList asked;
    std::vector<FILE_PROMPT> filePrompts;
    QStringList errors;
    QStringList messages; // of ShowMessage and AskOkCancel
    QColor colorInitial;
    QString dotSizeCaption;
    float dotSizeInitial = 0.0f;
    std::optional<PALETTE_COLOR> paletteInitial;
    int rigDialogsShown = 0;

private:
    std::optional<QString> Next() {
        const QString answer = files.isEmpty() ? QString() : files.takeFirst();
        if (answer.isEmpty())
            return std::nullopt;
        return answer;
    }
};
