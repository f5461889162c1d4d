#include "document/PartParent.h"

#include <stdexcept>
#include <string>

#include "document/Part.h"

CPartParent::CPartParent() = default;
CPartParent::~CPartParent() = default;

bool CPartParent::IsUsingColor(int index) const {
    for (const auto& child : children)
        if (child->IsUsingColor(index))
            return true;
    return false;
}

int CPartParent::InsertChild(int index, std::unique_ptr<CPart> part) {
    if (!part)
        throw std::invalid_argument("InsertChild: no part");
    if (index >= 0 && index < GetChildCount()) {
        children.insert(children.begin() + index, std::move(part));
        return index;
    }
    children.push_back(std::move(part));
    return GetChildCount() - 1;
}

std::unique_ptr<CPart> CPartParent::RemoveChild(int index) {
    if (index < 0 || index >= GetChildCount())
        throw std::out_of_range("RemoveChild: index " + std::to_string(index) + " out of range");
    std::unique_ptr<CPart> part = std::move(children[static_cast<size_t>(index)]);
    children.erase(children.begin() + index);
    return part;
}

CPart* CPartParent::GetChild(int index) const {
    if (index < 0 || index >= GetChildCount())
        return nullptr;
    return children[static_cast<size_t>(index)].get();
}

int CPartParent::IndexOfChild(const CPart* child) const {
    for (size_t i = 0; i < children.size(); ++i)
        if (children[i].get() == child)
            return static_cast<int>(i);
    return -1;
}
