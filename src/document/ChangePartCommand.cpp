#include "document/ChangePartCommand.h"

#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"

CChangePartCommand::CChangePartCommand(CDotPart& changed, std::u16string label)
    : CCompositeCommand(std::move(label)), document(changed.document), part(&changed),
      before(GridDots), after(GridDots) {
    part->CopyDots(before);
}

void CChangePartCommand::ApplyAfter() {
    if (afterCurrent) {
        part->CopyDots(after);
    } else {
        part->SetDots(after);
        afterCurrent = true;
    }
    DoElements();
    document->SetModifiedFlag();
}

void CChangePartCommand::ApplyBefore() {
    UndoElements();
    if (afterCurrent) {
        part->SetDots(before);
        afterCurrent = false;
    }
    document->SetModifiedFlag();
}

void CChangePartCommand::Do(CDocumentObserver* view) {
    ApplyAfter();
    document->UpdateAllViews(view, Notice<HINT_DOTS>(part));
}

void CChangePartCommand::Undo() {
    ApplyBefore();
    document->UpdateAllViews(nullptr, Notice<HINT_DOTS>(part));
}
