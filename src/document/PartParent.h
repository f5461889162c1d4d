#pragma once
// The ordered, owning list of child parts shared by parts and the document.

#include <memory>
#include <vector>

class CPart;

class CPartParent {
public:
    CPartParent();
    CPartParent(const CPartParent&) = delete;
    CPartParent& operator=(const CPartParent&) = delete;
    virtual ~CPartParent();

    // Owned children in order; destroying the holder destroys them all.
    std::vector<std::unique_ptr<CPart>> children;

    // Whether any part held here, or below, uses palette index index.
    virtual bool IsUsingColor(int index) const;
    // Inserts part at index when 0 ≤ index < count, otherwise appends;
    // returns the index where the part now stands.
    virtual int InsertChild(int index, std::unique_ptr<CPart> part);
    // Removes and returns the child at index; throws std::out_of_range for an
    // invalid index.
    virtual std::unique_ptr<CPart> RemoveChild(int index);

    int GetChildCount() const { return static_cast<int>(children.size()); }
    // The child at index, null when index is out of range.
    CPart* GetChild(int index) const;
    // Index of child among the children, −1 when it is not one of them.
    int IndexOfChild(const CPart* child) const;
};
