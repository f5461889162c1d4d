#pragma once
// A prompt for tests: records what it was shown and asked, answers as told.

#include <string>
#include <vector>

#include "document/EditorPrompt.h"

class CFakePrompt : public CEditorPrompt {
public:
    void ShowMessage(const std::u16string& text) override { messages.push_back(text); }
    bool AskOkCancel(const std::u16string& text) override {
        questions.push_back(text);
        return answer;
    }

    std::vector<std::u16string> messages;
    std::vector<std::u16string> questions;
    bool answer = true; // OK
};
