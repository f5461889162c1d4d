#pragma once
// What the part list shows and how it answers the pointer and the keys,
// without any toolkit: the rows, the selected row, the scroll origin and page,
// the row geometry in device-independent pixels (DIPs), and the drag that
// selects rows or moves a part by its icon. The view paints the rows and
// passes its input here; every change of the document goes through the undo
// list.
//
// The selected row's part is the document's current part: choosing a row
// makes its part current and tells the other views (HINT_SELECT_PART).

#include <cstdint>
#include <string>
#include <vector>

#include "document/PartOperations.h"
#include "document/PartRows.h"
#include "document/WheelNotches.h"

class CDocumentObserver;
class CTreeDocument;

// Row geometry: rows are PartRowHeight DIPs high; each level of depth indents
// by PartIndent, which is also the side of the icon square.
inline constexpr int PartRowHeight = 18;
inline constexpr int PartIndent = 16;

struct PartRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(double x, double y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
};

class CPartListModel {
public:
    enum class Drag {
        None,      // no button held
        Selecting, // the left button was pressed on a name: rows follow the pointer
        Moving,    // the left button was pressed on an icon: the part is dragged
    };
    enum class Step { Up, Down, PageUp, PageDown, Home, End };

    // view is the part list: the hints it causes skip it.
    CPartListModel(CTreeDocument& document, CDocumentObserver* view);

    const std::vector<PartRow>& Rows() const { return rows_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The selected row, −1 when the list is empty.
    int Selected() const { return selected_; }
    // The selected row's part, null when none.
    CPart* SelectedPart() const;
    int Origin() const { return origin_; }
    int Page() const { return page_; }
    // The largest origin: rows − page, at least 0.
    int MaxOrigin() const;

    // A new or opened document: the first row selected, the origin at the
    // top, no drag, then Rebuild.
    void Reset();
    // The rows anew from the tree. The row of the current part becomes the
    // selected row (the selection stays where it was when no row holds it),
    // clamped to the last row; the origin is clamped, and moves to show the
    // selected row when that is another row than before.
    void Rebuild();
    // Icons, marks and frames anew, the rows staying as they are.
    void RefreshLooks() { RefreshRowLooks(rows_, document_); }

    // The page for a view height in DIPs: 1 + trunc((height − 17) / 18), at
    // least 1. Clamps the origin.
    void SetViewHeight(double height);
    // Sets the origin, clamped to 0 … MaxOrigin(); returns whether it moved.
    bool SetOrigin(int origin);
    // Wheel deltas (120 a notch): a notch back scrolls one row up. Returns
    // whether the origin moved.
    bool Wheel(int delta);
    // Moves the origin so that row is shown; returns whether it moved.
    bool EnsureVisible(int row);

    // Selects row (clamped to the rows). When that is another row, its part
    // becomes the document's current part and the other views are told; then
    // the row is scrolled into view. Returns whether anything changed.
    bool SelectRow(int row);
    // The row holding the document's current part becomes the selected row
    // and is shown (another view chose the part); nothing happens when no
    // row holds it. Returns whether anything changed.
    bool FollowCurrentPart();
    // The row a key moves the selection to.
    int StepTarget(Step step) const;
    // The row of part, −1 when none.
    int RowOf(const CPart* part) const;

    // --- Geometry (DIPs in the view) ---------------------------------------
    // The row under y: −1 above the first row, RowCount() at or below the end.
    int RowAt(double y) const;
    double RowTop(int row) const { return double(row - origin_) * PartRowHeight; }
    PartRect IconRect(int row) const;
    // The name's rectangle reaches to the view's right edge.
    PartRect NameRect(int row, double viewWidth) const;
    // Whether the move cursor shows with no button held: over the icon of a
    // part below the top level.
    bool ShowsMoveCursor(double x, double y) const;

    // --- Pointer -----------------------------------------------------------
    Drag DragMode() const { return drag_; }
    // The drop marker while moving: the row whose top edge it marks and the
    // depth of its vertical bar; −1 when not moving.
    int DropRow() const { return dropRow_; }
    int DropDepth() const { return dropDepth_; }
    // Where the dragged part would land, and whether it may.
    PartDrop Drop() const;
    // The row whose name a release starts to rename, −1 when none.
    int PendingRename() const { return pendingRename_; }

    // Left press: nothing below the last row (returns false). On a row's
    // icon the part starts moving; elsewhere on the row a drag selects, and
    // a press on the row already selected may become a rename. The row is
    // selected. Returns whether a drag began.
    bool Press(double x, double y);
    // Pointer moves with the left button held; returns whether what is shown
    // changed.
    bool DragTo(double x, double y);
    // Left release. Moving: the part moves where the marker shows when the
    // drop is allowed, as one undo step. Returns the row to rename now, −1
    // for none.
    int Release();
    // The drag ends without a move (the pointer was taken away).
    void Cancel();
    // A right press: the row under the pointer is selected, the first when
    // above the rows and the last when below them.
    bool RightPress(double y);

    // --- Edits -------------------------------------------------------------
    // Deletes the selected part with its subtree as one undo step named
    // label. Afterwards the row at the same place (or the last row) is
    // selected and its part is current, and the other views are told.
    void DeleteSelected(const std::u16string& label);

private:
    void ClampOrigin();

    CTreeDocument& document_;
    CDocumentObserver* view_;
    std::vector<PartRow> rows_;
    int selected_ = -1;
    int origin_ = 0;
    int page_ = 1;
    CWheelNotches wheel_;
    Drag drag_ = Drag::None;
    int pendingRename_ = -1;
    int dropRow_ = -1;
    int dropDepth_ = -1;
};
