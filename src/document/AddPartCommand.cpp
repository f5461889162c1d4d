#include "document/AddPartCommand.h"

#include <stdexcept>
#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"

CAddPartCommand::CElement::CElement(CDotDocument& owner, CPart* holder, int at,
                                    std::unique_ptr<CPart> added)
    : document(&owner), parent(holder), index(at), part(std::move(added)) {
    target_ = part ? part.get() : Holder().GetChild(index);
    if (!target_)
        throw std::invalid_argument("add element: no part at index " + std::to_string(index));
}

CAddPartCommand::CElement::~CElement() = default;

CPartParent& CAddPartCommand::CElement::Holder() const {
    if (parent)
        return *parent;
    return *document;
}

void CAddPartCommand::CElement::Do() {
    if (!part)
        throw std::logic_error("add element: the part is in the tree already");
    document->ResolveReferences(*part);
    index = Holder().InsertChild(index, std::move(part));
    RestoreReferences(cut_);
    cut_.clear();
}

void CAddPartCommand::CElement::Undo() {
    if (part || Holder().GetChild(index) != target_)
        throw std::logic_error("add element: the part is not where it was put");
    part = Holder().RemoveChild(index);
    cut_ = DetachSubtree(*document, *target_, parent);
    for (const CutReference& inner : InnerReferences(*target_))
        cut_.push_back(inner);
}

CAddPartCommand::CAddPartCommand(CDotDocument& owner, std::u16string label)
    : CCompositeCommand(std::move(label)), document(&owner) {}

CAddPartCommand::CElement& CAddPartCommand::AddElement(CPart* parent, int index,
                                                       std::unique_ptr<CPart> part) {
    elements.push_back(std::make_unique<CElement>(*document, parent, index, std::move(part)));
    return static_cast<CElement&>(*elements.back());
}

void CAddPartCommand::Do(CDocumentObserver* view) {
    CPart* last = nullptr;
    if (!elements.empty())
        last = static_cast<CElement&>(*elements.back()).GetPart();
    previousCurrent_ = document->currentPart;
    DoElements();
    document->UpdateAllPlacements();
    document->SetModifiedFlag();
    if (last)
        document->currentPart = last;
    document->UpdateAllViews(view, Notice<HINT_PARTS>());
}

void CAddPartCommand::Undo() {
    CPart* current = document->currentPart;
    UndoElements();
    if (document->currentPart != current && previousCurrent_ &&
        IsInTree(*document, *previousCurrent_))
        document->currentPart = previousCurrent_;
    document->UpdateAllPlacements();
    NotifyChange(*document, nullptr, Notice<HINT_PARTS>());
}
