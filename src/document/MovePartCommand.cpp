#include "document/MovePartCommand.h"

#include <stdexcept>
#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "resources/StringTable.h"

namespace {

constexpr unsigned StringMove = 133; // 移動

CPartParent& Holder(CDotDocument& document, CPart* parent) {
    if (parent)
        return *parent;
    return document;
}

// Moves the part from (fromParent, fromIndex) to toIndex under toParent and
// returns the index where it landed.
int Relocate(CDotDocument& document, CPart& part, CPart* fromParent, int fromIndex, CPart* toParent,
             int toIndex) {
    CPartParent& from = Holder(document, fromParent);
    if (from.GetChild(fromIndex) != &part)
        throw std::logic_error("move: the part is not where it was recorded");
    std::unique_ptr<CPart> moving = from.RemoveChild(fromIndex);
    return Holder(document, toParent).InsertChild(toIndex, std::move(moving));
}

} // namespace

CMovePartCommand::CMovePartCommand(CDotDocument& owner, CPart& moved, CPart* toParent, int toIndex,
                                   std::u16string label)
    : CCommand(label.empty() ? LoadString(StringMove) : std::move(label)), document(&owner),
      part(&moved), oldParent(moved.parent), oldIndex(moved.GetIndex()), newParent(toParent),
      newIndex(toIndex) {
    if (oldIndex < 0)
        throw std::invalid_argument("move: the part is not in the tree");
    if (toParent && (toParent == &moved || moved.IsAncestorOf(toParent)))
        throw std::invalid_argument("move: a part cannot go below itself");
}

void CMovePartCommand::Do(CDocumentObserver* view) {
    newIndex = Relocate(*document, *part, oldParent, oldIndex, newParent, newIndex);
    document->UpdateAllPlacements();
    NotifyChange(*document, view, Notice<HINT_PARTS>(part));
}

void CMovePartCommand::Undo() {
    oldIndex = Relocate(*document, *part, newParent, newIndex, oldParent, oldIndex);
    document->UpdateAllPlacements();
    NotifyChange(*document, nullptr, Notice<HINT_PARTS>(part));
}
