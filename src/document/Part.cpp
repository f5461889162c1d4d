#include "document/Part.h"

#include <utility>

#include "document/DotDocument.h"

CPart::CPart(CDotDocument* owner, int partId, std::u16string partName)
    : document(owner), name(std::move(partName)), id(partId) {}

CPart::~CPart() = default;

void CPart::SetIkParent(CPart* part) {
    ikParent = part;
    ikParentId = part ? part->id : 0;
}

void CPart::SetLinkedPart(CPart* part) {
    linkedPart = part;
    linkedPartId = part ? part->id : 0;
}

int CPart::GetIndex() const {
    if (parent)
        return parent->IndexOfChild(this);
    if (document)
        return document->IndexOfChild(this);
    return -1;
}

bool CPart::IsAncestorOf(const CPart* other) const {
    for (const CPart* p = other ? other->parent : nullptr; p; p = p->parent)
        if (p == this)
            return true;
    return false;
}

int CPart::InsertChild(int index, std::unique_ptr<CPart> part) {
    CPart* inserted = part.get();
    const int at = CPartParent::InsertChild(index, std::move(part));
    inserted->parent = this;
    return at;
}

std::unique_ptr<CPart> CPart::RemoveChild(int index) {
    std::unique_ptr<CPart> part = CPartParent::RemoveChild(index);
    part->parent = nullptr;
    return part;
}
