#include "document/CompositeCommand.h"

void CCompositeCommand::Do(CDocumentObserver*) { DoElements(); }

void CCompositeCommand::Undo() { UndoElements(); }

void CCompositeCommand::DoElements() {
    size_t done = 0;
    try {
        for (; done < elements.size(); ++done)
            elements[done]->Do();
    } catch (...) {
        // Leave the document as it was: take back what has been done.
        while (done > 0)
            elements[--done]->Undo();
        throw;
    }
}

void CCompositeCommand::UndoElements() {
    for (size_t i = elements.size(); i > 0; --i)
        elements[i - 1]->Undo();
}
