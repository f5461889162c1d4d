#pragma once
// The dot view's tool cursors: 32 × 32 pictures painted in code, each a
// cross-hair at the hot spot with the tool's own picture beside it.

#include <QCursor>

// The cursor of a tool command (ID_TOOL_…); the arrow for any other number.
QCursor ToolCursor(unsigned toolId);
