#pragma once
// The last two steps every command takes after it changed the model: mark the
// document modified and tell the views with one update notice.

#include "document/UndoableDocument.h"
#include "document/UpdateNotice.h"

// Sets the modified flag and sends notice to every view but sender.
inline void NotifyChange(CUndoableDocument& document, CDocumentObserver* sender,
                         const CUpdateNotice& notice) {
    document.SetModifiedFlag();
    document.UpdateAllViews(sender, notice);
}
