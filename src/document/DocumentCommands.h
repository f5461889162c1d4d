#pragma once
// The document's own commands that need no dialog: "全て材質(&M)", "エッジ(&E)"
// and "新規部品(&N)". The document offers them after the current part and the
// undo list; the commands that open a dialog are the editor's.

#include "document/CommandTarget.h"

class CDotDocument;

// Run or describe command id; return whether it is one of these.
bool OnDocumentEditCommand(CDotDocument& document, unsigned id);
bool OnUpdateDocumentEditCommand(const CDotDocument& document, unsigned id, CCommandState& state);
