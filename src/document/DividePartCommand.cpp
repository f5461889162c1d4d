#include "document/DividePartCommand.h"

#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {}

CDividePartCommand::CDividePartCommand(CDotPart& source, std::unique_ptr<CPart> newPart)
    : CChangePartCommand(source, LoadString(IDS_DIVIDE)),
      element(*source.document, &source, -1, std::move(newPart)) {}

void CDividePartCommand::Do(CDocumentObserver* view) {
    CPart* divided = GetNewPart();
    ApplyAfter();
    element.Do();
    document->UpdateAllPlacements();
    document->currentPart = divided;
    document->UpdateAllViews(view, Notice<HINT_DOTS>(part));
    document->UpdateAllViews(view, Notice<HINT_PARTS>(divided));
}

void CDividePartCommand::Undo() {
    ApplyBefore();
    element.Undo();
    document->UpdateAllPlacements();
    document->currentPart = part;
    document->UpdateAllViews(nullptr, Notice<HINT_DOTS>(part));
    document->UpdateAllViews(nullptr, Notice<HINT_PARTS>());
}
