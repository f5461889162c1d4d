#pragma once
// The dot view's picture of one part: the 32 × 32 slice shown at the part's
// face and depth while it is being edited (working), the same slice as last
// written into the part (committed), the slice one step deeper (behind, shown
// through empty cells) and a floating block lifted over the working slice.
//
// Committing compares the working slice, with the floating block composed
// over it, against the committed slice and turns every difference into one
// operation of a single CDotCommand. It is the only way the view changes dots.

#include <memory>
#include <string>

#include "document/DotHolder.h"

class CDocumentObserver;
class CDotCommand;
class CDotPart;
class CUndoableDocument;
struct SelectionTransform;

constexpr int SliceSide = 32;

class CDotSlice {
public:
    CDotSlice();

    CDotImage working;       // the slice as drawn so far
    CDotImage committed;     // the slice as last written into the part
    CDotImage behind;        // palette indices one slice deeper; zeros at depth 31
    CDotImage floating;      // lifted or pasted cells, 0 × 0 when none
    DotPoint floatingOrigin; // view cell of the floating block's top-left
    // The selected view cells; empty when none. While a selection exists its
    // top-left is the floating origin and its size the block's size.
    DotRect selection;

    // Reads the part's slice at its face and depth into working, committed and
    // behind. A null part empties all three. The floating block is kept.
    void Reload(const CDotPart* part);

    // Lifts the cells of rect (clipped to the slice) into the floating block,
    // leaving out cells equal to key, fills the hole with key and selects
    // rect. What Compose(key) shows does not change.
    void Lift(const DotRect& rect, int key);
    // Copies the floating block back into the working slice (cells equal to
    // key left out) and empties the block. The selection stays.
    void Stamp(int key);
    // Stamps and drops the selection.
    void ClearSelection(int key);

    // Drops the floating block unstamped, fills the selection (clipped to the
    // slice) with key and drops the selection.
    void DeleteSelection(int key);
    // Replaces the floating block by block, at (0, 0) and selected; cells of
    // block equal to key stay transparent.
    void Float(const CDotImage& block, int key);
    // Turns or flips the floating block; the selection keeps its top-left
    // and takes the new size.
    void Transform(const SelectionTransform& transform);
    // The selected cells as shown: the working slice under the selection
    // with the floating block over it, empty cells of either left out.
    CDotImage SelectedCells() const;

    bool HasFloating() const { return floating.GetWidth() > 0 && floating.GetHeight() > 0; }
    // The working slice with the floating block copied over it at its origin,
    // leaving out cells equal to skipValue (cells outside the slice drop).
    CDotImage Compose(int skipValue) const;

    // The differences between Compose(skipValue) and the committed slice as one
    // command on part (view cell (a, b) is the grid cell of (a, b, depth)),
    // null when nothing differs. Does not change the slice.
    std::unique_ptr<CDotCommand> MakeCommand(CDotPart& part, std::u16string name,
                                             int skipValue) const;
    // MakeCommand, then executes the command through document with sender as
    // the initiating view and takes the composed slice as committed. Returns
    // whether a command was executed.
    bool Commit(CDotPart& part, std::u16string name, int skipValue, CUndoableDocument& document,
                CDocumentObserver* sender);
};
