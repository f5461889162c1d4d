#include "document/PartListModel.h"

#include <algorithm>
#include <cmath>

#include "document/TreeDocument.h"

namespace {

// Drop depths beyond this are as good as this: no tree is that deep.
constexpr int FarDepth = 1 << 20;

} // namespace

CPartListModel::CPartListModel(CTreeDocument& document, CDocumentObserver* view)
    : document_(document), view_(view) {}

CPart* CPartListModel::SelectedPart() const {
    return selected_ >= 0 && selected_ < RowCount() ? rows_[size_t(selected_)].part : nullptr;
}

int CPartListModel::MaxOrigin() const { return std::max(0, RowCount() - page_); }

int CPartListModel::RowOf(const CPart* part) const {
    if (!part)
        return -1;
    const auto it = std::find_if(rows_.begin(), rows_.end(),
                                 [part](const PartRow& row) { return row.part == part; });
    return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

// --- Rows and scrolling ------------------------------------------------------

void CPartListModel::Reset() {
    selected_ = 0;
    origin_ = 0;
    wheel_.Reset();
    Cancel();
    Rebuild();
}

void CPartListModel::Rebuild() {
    const int before = selected_;
    rows_ = BuildPartRows(document_);
    if (const int current = RowOf(document_.currentPart); current >= 0)
        selected_ = current;
    selected_ = std::min(selected_, RowCount() - 1);
    ClampOrigin();
    if (selected_ != before && selected_ >= 0)
        EnsureVisible(selected_);
    // A drag over rows that changed under it has lost its meaning.
    Cancel();
}

void CPartListModel::SetViewHeight(double height) {
    const double rows = std::isfinite(height) ? 1 + std::trunc((height - 17) / PartRowHeight) : 1;
    page_ = static_cast<int>(std::clamp(rows, 1.0, 1e7));
    ClampOrigin();
}

void CPartListModel::ClampOrigin() { origin_ = std::clamp(origin_, 0, MaxOrigin()); }

bool CPartListModel::SetOrigin(int origin) {
    const int before = origin_;
    origin_ = std::clamp(origin, 0, MaxOrigin());
    return origin_ != before;
}

bool CPartListModel::Wheel(int delta) {
    const int64_t notches = wheel_.Add(delta);
    if (notches == 0)
        return false;
    // A notch forward (positive) scrolls back towards the first row.
    const int64_t target = std::clamp<int64_t>(int64_t{origin_} - notches, 0, MaxOrigin());
    return SetOrigin(static_cast<int>(target));
}

bool CPartListModel::EnsureVisible(int row) {
    int origin = origin_;
    if (row < origin)
        origin = row;
    else if (row >= origin + page_)
        origin = row - page_ + 1;
    return SetOrigin(origin);
}

// --- Selection ---------------------------------------------------------------

bool CPartListModel::SelectRow(int row) {
    if (rows_.empty())
        return false;
    row = std::clamp(row, 0, RowCount() - 1);
    bool changed = false;
    if (row != selected_) {
        selected_ = row;
        SelectPart(document_, rows_[size_t(row)].part, view_);
        changed = true;
    }
    return EnsureVisible(row) || changed;
}

bool CPartListModel::FollowCurrentPart() {
    const int row = RowOf(document_.currentPart);
    if (row < 0)
        return false;
    const bool changed = row != selected_;
    selected_ = row;
    return EnsureVisible(row) || changed;
}

int CPartListModel::StepTarget(Step step) const {
    switch (step) {
    case Step::Up: return selected_ - 1;
    case Step::Down: return selected_ + 1;
    case Step::PageUp: return selected_ - page_;
    case Step::PageDown: return selected_ + page_;
    case Step::Home: return 0;
    case Step::End: return RowCount() - 1;
    }
    return selected_;
}

// --- Geometry ----------------------------------------------------------------

int CPartListModel::RowAt(double y) const {
    if (!std::isfinite(y))
        return -1;
    const double row = origin_ + std::floor(y / PartRowHeight);
    return static_cast<int>(std::clamp(row, -1.0, double(RowCount())));
}

PartRect CPartListModel::IconRect(int row) const {
    const double left = double(rows_[size_t(row)].depth) * PartIndent;
    const double top = RowTop(row);
    return {left, top + 1, left + PartIndent, top + PartRowHeight - 1};
}

PartRect CPartListModel::NameRect(int row, double viewWidth) const {
    const double left = double(rows_[size_t(row)].depth + 1) * PartIndent;
    const double top = RowTop(row);
    return {left, top, std::max(left, viewWidth), top + PartRowHeight};
}

bool CPartListModel::ShowsMoveCursor(double x, double y) const {
    const int row = RowAt(y);
    return row >= 0 && row < RowCount() && rows_[size_t(row)].depth > 0 &&
           IconRect(row).Contains(x, y);
}

// --- Pointer -----------------------------------------------------------------

PartDrop CPartListModel::Drop() const {
    if (drag_ != Drag::Moving)
        return {};
    return ComputePartDrop(rows_, SelectedPart(), dropRow_, dropDepth_);
}

bool CPartListModel::Press(double x, double y) {
    const int row = RowAt(y);
    if (row < 0 || row >= RowCount())
        return false;
    if (IconRect(row).Contains(x, y)) {
        drag_ = Drag::Moving;
        dropRow_ = row;
        dropDepth_ = rows_[size_t(row)].depth;
        pendingRename_ = -1;
    } else {
        drag_ = Drag::Selecting;
        pendingRename_ = row == selected_ ? row : -1;
    }
    SelectRow(row);
    return true;
}

bool CPartListModel::DragTo(double x, double y) {
    switch (drag_) {
    case Drag::None: return false;
    case Drag::Selecting: {
        const bool changed = SelectRow(RowAt(y));
        if (selected_ != pendingRename_)
            pendingRename_ = -1;
        return changed;
    }
    case Drag::Moving: {
        const int row = std::clamp(RowAt(y), 0, RowCount());
        const double column = std::isfinite(x) ? std::trunc(x / PartIndent) : 0.0;
        const int depth = static_cast<int>(std::clamp(column, 0.0, double(FarDepth)));
        const bool changed = row != dropRow_ || depth != dropDepth_;
        dropRow_ = row;
        dropDepth_ = depth;
        return changed;
    }
    }
    return false;
}

int CPartListModel::Release() {
    const Drag drag = drag_;
    const PartDrop drop = Drop();
    const int rename = pendingRename_;
    Cancel();
    if (drag == Drag::Moving) {
        CPart* part = SelectedPart();
        if (drop.allowed && part && MovePart(*part, drop.parent, drop.index, view_))
            Rebuild();
        return -1;
    }
    return drag == Drag::Selecting && rename >= 0 && rename == selected_ ? rename : -1;
}

void CPartListModel::Cancel() {
    drag_ = Drag::None;
    pendingRename_ = -1;
    dropRow_ = -1;
    dropDepth_ = -1;
}

bool CPartListModel::RightPress(double y) { return SelectRow(RowAt(y)); }

// --- Edits -------------------------------------------------------------------

void CPartListModel::DeleteSelected(const std::u16string& label) {
    CPart* part = document_.currentPart;
    if (!part)
        return;
    const int found = RowOf(part);
    const int row = found >= 0 ? found : selected_;
    DeletePart(*part, label);
    // The deletion made the former parent current; the list keeps its place
    // instead: the row that moved up into it, or the new last row.
    Rebuild();
    selected_ = std::min(row, RowCount() - 1);
    SelectPart(document_, SelectedPart(), view_);
    if (selected_ >= 0)
        EnsureVisible(selected_);
}
