#include "document/DotSlice.h"

#include <algorithm>

#include "document/DotCommand.h"
#include "document/SelectionTransform.h"
#include "document/DotPart.h"
#include "document/UndoableDocument.h"

namespace {

DotRect ClipToSlice(const DotRect& rect) {
    return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, SliceSide),
            std::min(rect.bottom, SliceSide)};
}

} // namespace

CDotSlice::CDotSlice()
    : working(SliceSide, SliceSide), committed(SliceSide, SliceSide), behind(SliceSide, SliceSide) {
}

void CDotSlice::Reload(const CDotPart* part) {
    working.Resize(SliceSide, SliceSide);
    behind.Resize(SliceSide, SliceSide);
    if (part) {
        const FaceOrientation& face = *part->face;
        const int depth = part->GetDepth();
        for (int b = 0; b < SliceSide; ++b) {
            for (int a = 0; a < SliceSide; ++a) {
                const GridCell cell = face.ToGrid(a, b, depth);
                working.SetDot(a, b, part->GetDot(cell[0], cell[1], cell[2]));
                if (depth + 1 < SliceSide) {
                    const GridCell back = face.ToGrid(a, b, depth + 1);
                    behind.SetDot(a, b, part->GetDot(back[0], back[1], back[2]));
                }
            }
        }
    }
    committed.Copy(working);
}

void CDotSlice::Lift(const DotRect& rect, int key) {
    const DotRect clipped = ClipToSlice(rect);
    Stamp(key);
    if (clipped.IsEmpty()) {
        selection = {};
        return;
    }
    selection = clipped;
    floatingOrigin = {clipped.left, clipped.top};
    floating.Resize(clipped.Width(), clipped.Height());
    // Cells that are not lifted hold the key, so they stay transparent.
    floating.Fill({0, 0, clipped.Width(), clipped.Height()}, key);
    floating.Blit(working, floatingOrigin, {0, 0}, {clipped.Width(), clipped.Height()}, key);
    working.Fill(clipped, key);
}

void CDotSlice::Stamp(int key) {
    if (HasFloating()) {
        working.Blit(floating, {0, 0}, floatingOrigin, {floating.GetWidth(), floating.GetHeight()},
                     key);
    }
    floating.Resize(0, 0);
}

void CDotSlice::ClearSelection(int key) {
    Stamp(key);
    selection = {};
}

void CDotSlice::DeleteSelection(int key) {
    floating.Resize(0, 0);
    const DotRect clipped = ClipToSlice(selection);
    if (!clipped.IsEmpty())
        working.Fill(clipped, key);
    selection = {};
}

void CDotSlice::Float(const CDotImage& block, int key) {
    floating.Resize(block.GetWidth(), block.GetHeight());
    floating.Fill({0, 0, block.GetWidth(), block.GetHeight()}, key);
    floating.Blit(block, {0, 0}, {0, 0}, {block.GetWidth(), block.GetHeight()}, key);
    floatingOrigin = {0, 0};
    selection = {0, 0, block.GetWidth(), block.GetHeight()};
}

void CDotSlice::Transform(const SelectionTransform& transform) {
    if (!HasFloating())
        return;
    floating = transform.Apply(floating);
    selection = {selection.left, selection.top, selection.left + floating.GetWidth(),
                 selection.top + floating.GetHeight()};
}

CDotImage CDotSlice::SelectedCells() const {
    const DotSize size{selection.Width(), selection.Height()};
    CDotImage cells(std::max(size.width, 0), std::max(size.height, 0));
    cells.Blit(working, {selection.left, selection.top}, {0, 0}, size, 0);
    if (HasFloating())
        cells.Blit(floating, {0, 0}, {0, 0}, size, 0);
    return cells;
}

CDotImage CDotSlice::Compose(int skipValue) const {
    CDotImage composed(working);
    if (HasFloating()) {
        composed.Blit(floating, {0, 0}, floatingOrigin, {floating.GetWidth(), floating.GetHeight()},
                      skipValue);
    }
    return composed;
}

std::unique_ptr<CDotCommand> CDotSlice::MakeCommand(CDotPart& part, std::u16string name,
                                                    int skipValue) const {
    const CDotImage composed = Compose(skipValue);
    auto command = std::make_unique<CDotCommand>(part, std::move(name));
    const FaceOrientation& face = *part.face;
    const int depth = part.GetDepth();
    for (int b = 0; b < SliceSide; ++b) {
        for (int a = 0; a < SliceSide; ++a) {
            const int before = committed.GetDot(a, b);
            const int after = composed.GetDot(a, b);
            if (before == after)
                continue;
            const GridCell cell = face.ToGrid(a, b, depth);
            command->AddOperation(cell[0], cell[1], cell[2], before, after);
        }
    }
    if (command->IsEmpty())
        return nullptr;
    return command;
}

bool CDotSlice::Commit(CDotPart& part, std::u16string name, int skipValue,
                       CUndoableDocument& document, CDocumentObserver* sender) {
    std::unique_ptr<CDotCommand> command = MakeCommand(part, std::move(name), skipValue);
    if (!command)
        return false;
    // Taken only after Execute succeeded: a failed command leaves the
    // differences in place for the next commit.
    CDotImage composed = Compose(skipValue);
    document.Execute(std::move(command), sender);
    committed = std::move(composed);
    return true;
}
