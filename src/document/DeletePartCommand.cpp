#include "document/DeletePartCommand.h"

#include <stdexcept>
#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"

namespace {

int IndexInTree(CPart& part) {
    const int index = part.GetIndex();
    if (index < 0)
        throw std::invalid_argument("delete: the part is not in the tree");
    return index;
}

} // namespace

CDeletePartCommand::CDeletePartCommand(CDotDocument& owner, CPart& part, std::u16string label)
    : CCommand(std::move(label)), document(&owner),
      element(owner, part.parent, IndexInTree(part), nullptr) {}

void CDeletePartCommand::Do(CDocumentObserver* view) {
    element.Undo();
    document->UpdateAllPlacements();
    NotifyChange(*document, view, Notice<HINT_PARTS>(GetPart()));
}

void CDeletePartCommand::Undo() {
    element.Do();
    document->UpdateAllPlacements();
    NotifyChange(*document, nullptr, Notice<HINT_PARTS>(GetPart()));
}

void CPart::Delete(const std::u16string& label) {
    if (!document || !IsInTree(*document, *this))
        return;
    document->Execute(std::make_unique<CDeletePartCommand>(*document, *this, label));
}
