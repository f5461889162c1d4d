#pragma once
// Setting an optional owned record (a part's rigid body or joint) to a value
// or to absent.

#include <memory>

// Copies *value into the existing record, creates one when there is none, or
// removes it when value is null.
template <class T>
void AssignRecord(std::unique_ptr<T>& slot, const T* value) {
    if (!value)
        slot.reset();
    else if (slot)
        *slot = *value;
    else
        slot = std::make_unique<T>(*value);
}

// An owned copy of *value, or null.
template <class T>
std::unique_ptr<T> CopyRecord(const T* value) {
    return value ? std::make_unique<T>(*value) : nullptr;
}
