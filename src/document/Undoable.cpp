#include "document/Undoable.h"

CUndoable::CUndoable() = default;
CUndoable::~CUndoable() = default;

bool CUndoable::CanUndo() const { return position > 0; }

bool CUndoable::CanRedo() const { return position < static_cast<int>(commands.size()); }
