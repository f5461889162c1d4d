#pragma once
// The linear undo list: executed commands, oldest first, and a position.
// Commands before the position are done; from the position on they are undone
// and can be redone.

#include <memory>
#include <vector>

#include "document/Command.h"

class CUndoable {
public:
    CUndoable();
    CUndoable(const CUndoable&) = delete;
    CUndoable& operator=(const CUndoable&) = delete;
    virtual ~CUndoable();

    virtual bool CanUndo() const;
    virtual bool CanRedo() const;

    std::vector<std::unique_ptr<CCommand>> commands;
    int position = 0; // 0 ≤ position ≤ commands.size()
};
