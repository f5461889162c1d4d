#pragma once
// The document base: the undo list with its undo and redo commands, the
// modified flag and the views that observe the document.

#include <memory>
#include <string>
#include <vector>

#include "document/Command.h"
#include "document/CommandTarget.h"
#include "document/DocumentObserver.h"
#include "document/Undoable.h"

class CUndoableDocument : public CCommandTarget, public CUndoable {
public:
    CUndoableDocument();
    ~CUndoableDocument() override;

    // Runs command->Do(view), then drops the redo tail, appends the command
    // and moves the position past it. When Do throws, the command is destroyed,
    // the list is unchanged and the exception is passed on.
    void Execute(std::unique_ptr<CCommand> command, CDocumentObserver* view = nullptr);
    // Undoes the command before the position; does nothing when none.
    void Undo();
    // Redoes the command at the position; does nothing when none.
    void Redo();
    // Deletes every command and sets the position to 0.
    void Clear();

    // Menu texts of the undo and redo items: the item text with " - " and the
    // command's label inserted before the first tab when there is something
    // to undo (redo), the plain item text otherwise.
    std::u16string GetUndoMenuText() const;
    std::u16string GetRedoMenuText() const;
    // Inserts " - label" before the first tab of text (nothing when text has
    // no tab).
    static std::u16string InsertLabel(const std::u16string& text, const std::u16string& label);

    // Handles the undo and redo commands.
    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;

    void SetModifiedFlag(bool modified = true) { modified_ = modified; }
    bool IsModified() const { return modified_; }

    // Observers are not owned; an observer removes itself before it dies.
    void AddObserver(CDocumentObserver* observer);
    void RemoveObserver(CDocumentObserver* observer);
    // Sends notice to every observer except sender.
    void UpdateAllViews(CDocumentObserver* sender, const CUpdateNotice& notice);

private:
    bool modified_ = false;
    std::vector<CDocumentObserver*> observers_;
};
