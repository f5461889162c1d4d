#pragma once
// Answers the shell's questions from values a test sets, and records what
// was asked.

#include <QStringList>

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

    SaveAnswer saveAnswer = SaveAnswer::No;
    // Answers of the file choosers, in turn; an empty one cancels.
    QStringList files;
    std::optional<QColor> color;
    std::optional<float> dotSize;

    QStringList asked;
    std::vector<FILE_PROMPT> filePrompts;
    QStringList errors;
    QColor colorInitial;
    QString dotSizeCaption;
    float dotSizeInitial = 0.0f;

private:
    std::optional<QString> Next() {
        const QString answer = files.isEmpty() ? QString() : files.takeFirst();
        if (answer.isEmpty())
            return std::nullopt;
        return answer;
    }
};
