#include "document/UndoableDocument.h"

#include <algorithm>

#include "resources/CommandIds.h"
#include "resources/StringTable.h"

namespace {
constexpr unsigned StringUndo = 900;
constexpr unsigned StringRedo = 901;
} // namespace

CUndoableDocument::CUndoableDocument() = default;
CUndoableDocument::~CUndoableDocument() = default;

void CUndoableDocument::Execute(std::unique_ptr<CCommand> command, CDocumentObserver* view) {
    // Do runs before the redo tail goes: a failing command changes nothing,
    // and it is destroyed with this frame when the exception passes.
    command->Do(view);
    // Drop the redo tail from the last command down to the position.
    while (static_cast<int>(commands.size()) > position)
        commands.pop_back();
    commands.push_back(std::move(command));
    position = static_cast<int>(commands.size());
}

void CUndoableDocument::Undo() {
    if (!CanUndo())
        return;
    --position;
    try {
        commands[static_cast<size_t>(position)]->Undo();
    } catch (...) {
        ++position;
        throw;
    }
}

void CUndoableDocument::Redo() {
    if (!CanRedo())
        return;
    commands[static_cast<size_t>(position)]->Do(nullptr);
    ++position;
}

void CUndoableDocument::Clear() {
    // Newest first, so a command can still rely on the ones before it.
    while (!commands.empty())
        commands.pop_back();
    position = 0;
}

std::u16string CUndoableDocument::InsertLabel(const std::u16string& text,
                                              const std::u16string& label) {
    const size_t tab = text.find(u'\t');
    if (tab == std::u16string::npos)
        return text;
    return text.substr(0, tab) + u" - " + label + text.substr(tab);
}

std::u16string CUndoableDocument::GetUndoMenuText() const {
    const std::u16string text = LoadString(StringUndo);
    if (!CanUndo())
        return text;
    return InsertLabel(text, commands[static_cast<size_t>(position) - 1]->name);
}

std::u16string CUndoableDocument::GetRedoMenuText() const {
    const std::u16string text = LoadString(StringRedo);
    if (!CanRedo())
        return text;
    return InsertLabel(text, commands[static_cast<size_t>(position)]->name);
}

namespace {
using Handler = CCommandHandler<CUndoableDocument>;
constexpr Handler UndoHandlers[] = {
    {.id = ID_EDIT_UNDO,
     .run = [](CUndoableDocument& document, unsigned) { document.Undo(); },
     .update =
         [](const CUndoableDocument& document, unsigned, CCommandState& state) {
             state.enabled = document.CanUndo();
             state.text = document.GetUndoMenuText();
         }},
    {.id = ID_EDIT_REDO,
     .run = [](CUndoableDocument& document, unsigned) { document.Redo(); },
     .update =
         [](const CUndoableDocument& document, unsigned, CCommandState& state) {
             state.enabled = document.CanRedo();
             state.text = document.GetRedoMenuText();
         }},
};
} // namespace

bool CUndoableDocument::OnCommand(unsigned id) {
    return RunCommand<CUndoableDocument>(UndoHandlers, *this, id);
}

bool CUndoableDocument::OnUpdateCommand(unsigned id, CCommandState& state) {
    return UpdateCommand<CUndoableDocument>(UndoHandlers, *this, id, state);
}

void CUndoableDocument::AddObserver(CDocumentObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void CUndoableDocument::RemoveObserver(CDocumentObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void CUndoableDocument::UpdateAllViews(CDocumentObserver* sender, const CUpdateNotice& notice) {
    // A copy: an observer may add or remove observers while it is notified.
    const std::vector<CDocumentObserver*> observers = observers_;
    for (CDocumentObserver* observer : observers) {
        if (observer == sender)
            continue;
        if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
            continue; // removed by an earlier observer
        observer->OnUpdate(sender, notice);
    }
}
