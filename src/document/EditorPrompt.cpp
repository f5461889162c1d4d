#include "document/EditorPrompt.h"

namespace {

class CSilentPrompt : public CEditorPrompt {
public:
    void ShowMessage(const std::u16string&) override {}
    bool AskOkCancel(const std::u16string&) override { return false; }
};

CSilentPrompt silentPrompt;
CEditorPrompt* currentPrompt = nullptr;

} // namespace

CEditorPrompt& GetEditorPrompt() { return currentPrompt ? *currentPrompt : silentPrompt; }

void SetEditorPrompt(CEditorPrompt* prompt) { currentPrompt = prompt; }
