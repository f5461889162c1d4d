#pragma once
// The last two steps every command takes after it changed the model: mark the
// document modified and tell the views with one update hint.

#include "document/Part.h"
#include "document/UndoableDocument.h"
#include "document/UpdateHints.h"

// Sets the modified flag and sends hint with object to every view but sender.
inline void NotifyChange(CUndoableDocument& document, CDocumentObserver* sender, int hint,
                         void* object = nullptr) {
    document.SetModifiedFlag();
    document.UpdateAllViews(sender, hint, object);
}

class CDotDocument;

// The hint object that stands for the document (HINT_PHYSICS): the
// CDotDocument address.
inline void* DocumentHint(CDotDocument* document) { return document; }

// The hint object that stands for a part: always the CPart address, so views
// can compare it with the parts they hold whatever class they see them as.
inline void* PartHint(CPart* part) { return part; }
