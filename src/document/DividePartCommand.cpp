#include "document/DividePartCommand.h"

#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "resources/StringTable.h"

namespace {
constexpr unsigned StringDivide = 179; // 分割
}

CDividePartCommand::CDividePartCommand(CDotPart& source, std::unique_ptr<CPart> newPart)
    : CChangePartCommand(source, LoadString(StringDivide)),
      element(*source.document, &source, -1, std::move(newPart)) {}

void CDividePartCommand::Do(CDocumentObserver* view) {
    CPart* divided = GetNewPart();
    ApplyAfter();
    element.Do();
    document->UpdateAllPlacements();
    document->currentPart = divided;
    document->UpdateAllViews(view, HINT_DOTS, PartHint(part));
    document->UpdateAllViews(view, HINT_PARTS, PartHint(divided));
}

void CDividePartCommand::Undo() {
    ApplyBefore();
    element.Undo();
    document->UpdateAllPlacements();
    document->currentPart = part;
    document->UpdateAllViews(nullptr, HINT_DOTS, PartHint(part));
    document->UpdateAllViews(nullptr, HINT_PARTS, nullptr);
}
