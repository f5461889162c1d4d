#pragma once
// What a core operation asks the user or tells them. The editor answers with
// message boxes; tests use a fake that records the texts and gives set answers.

#include <string>

class CEditorPrompt {
public:
    virtual ~CEditorPrompt() = default;
    // Shows text with an OK button (a refused name, for instance).
    virtual void ShowMessage(const std::u16string& text) = 0;
    // Asks text with OK and Cancel, warning icon, Cancel as the default
    // button; true when the user chose OK.
    virtual bool AskOkCancel(const std::u16string& text) = 0;
};

// The process-wide prompt: the one set with SetEditorPrompt, or one that shows
// nothing and answers every question with Cancel when none is set (so nothing
// is overwritten without someone having agreed). SetEditorPrompt(nullptr) goes
// back to it. The prompt is not owned and must outlive its use.
CEditorPrompt& GetEditorPrompt();
void SetEditorPrompt(CEditorPrompt* prompt);
