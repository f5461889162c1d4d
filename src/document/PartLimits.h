#pragma once
// The limits the document file sets on the part tree, kept by every edit so
// that whatever the editor saves opens again: ids are stored in 16 bits, and
// the reader refuses parts nested deeper than MaxPartDepth.
//
// New ids also never take an id that a part of the tree still names as its IK
// parent or linked part: such an id belongs to a part that was deleted and may
// come back through undo, and a new part with it would take over the link
// after a reload or after the holder is put back.

#include <stdexcept>
#include <vector>

class CPart;
class CTreeDocument;

// The largest id a part can have: ids are stored as u16, and 0 means none.
constexpr int MaxPartId = 65535;

// Parts may be nested at most this deep (a top-level part has depth 1); the
// reader refuses deeper files, so that nothing that walks the tree recursively
// can run out of stack.
constexpr int MaxPartDepth = 1000;

// A file may give dots to at most this many parts: each grid takes 32 KiB in
// memory however few dots it holds, so a small file of many sparse grids
// would otherwise take gigabytes to open. 4,096 grids are 128 MiB.
constexpr int MaxPartsWithDots = 4096;

// Counts the grids a reader keeps and refuses the one past MaxPartsWithDots
// (CArchiveException).
class CGridBudget {
public:
    void Take();

private:
    int taken_ = 0;
};

// An edit refused because the tree would pass one of the limits; the message
// says which. Nothing has been changed when it is raised.
class CPartLimitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Hands out ids 1–MaxPartId that no part in the tree has and that no part in
// the tree names as a reference (nor one handed out before by this allocator).
class CPartIdAllocator {
public:
    explicit CPartIdAllocator(const CTreeDocument& document);

    // The first free id after `after`, wrapping round to 1 after MaxPartId.
    // Throws CPartLimitError when every id is taken.
    int Take(int after = 0);
    // How many ids are still free.
    int FreeCount() const { return free_; }

private:
    std::vector<bool> used_; // indexed by id, 0 … MaxPartId
    int free_ = MaxPartId;
};

// The depth of part in its tree (1 at the top level); 0 for null.
int DepthOf(const CPart* part);
// The number of levels of part's subtree (1 for a part without children).
int SubtreeHeight(const CPart& part);
// Throws CPartLimitError unless part's subtree fits below newParent (null: the
// top level) within MaxPartDepth.
void RequireDepthBelow(const CPart* newParent, const CPart& part);
// The number of parts in part's subtree, itself included.
int SubtreeSize(const CPart& part);
