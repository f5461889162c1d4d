#pragma once
// An undoable change of the document.

#include <string>
#include <utility>

class CDocumentObserver;

class CCommand {
public:
    explicit CCommand(std::u16string name = {}) : name(std::move(name)) {}
    CCommand(const CCommand&) = delete;
    CCommand& operator=(const CCommand&) = delete;
    virtual ~CCommand() = default;

    // The undo label shown in the undo and redo menu items.
    std::u16string name;

    // Performs the change. view is the view that started it on the first run
    // (it has updated itself and is not notified) and null on redo. A Do that
    // throws must leave the document as it was.
    virtual void Do(CDocumentObserver* view) = 0;
    // Takes the change back.
    virtual void Undo() = 0;
};
