#include "document/PartOperations.h"

#include <algorithm>
#include <utility>

#include "document/AddPartCommand.h"
#include "document/DividePartCommand.h"
#include "document/DotDocument.h"
#include "document/EditorPrompt.h"
#include "document/MovePartCommand.h"
#include "document/PartLimits.h"
#include "document/PartNameCommand.h"
#include "document/PartReferences.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

bool SelectPart(CTreeDocument& document, CPart* part, CDocumentObserver* sender) {
    if (part && (part->document != &document || !IsInTree(document, *part)))
        return false;
    document.currentPart = part;
    document.UpdateAllViews(sender, Notice<HINT_SELECT_PART>(part));
    return true;
}

CPart* NewPart(CDotDocument& document) {
    if (DepthOf(document.currentPart) + 1 > MaxPartDepth)
        throw CPartLimitError("a new part would be nested more than " +
                              std::to_string(MaxPartDepth) + " deep");
    std::unique_ptr<CPart> part =
        document.CreatePart(document.GetFreeId(), document.MakeUniqueName(LoadString(IDS_PART)));
    CPart* added = part.get();
    auto command = std::make_unique<CAddPartCommand>(document, LoadString(IDS_NEW_PART));
    command->AddElement(document.currentPart, -1, std::move(part));
    document.Execute(std::move(command));
    return added;
}

CPart* PastePart(CDotDocument& document, std::unique_ptr<CPart> loaded, CDocumentObserver* view) {
    if (!loaded)
        return nullptr;
    RequireDepthBelow(document.currentPart, *loaded);
    std::unique_ptr<CPart> part = document.PastePart(std::move(loaded));
    if (!part)
        return nullptr;
    CPart* added = part.get();
    auto command = std::make_unique<CAddPartCommand>(document, LoadString(IDS_PASTE));
    command->AddElement(document.currentPart, -1, std::move(part));
    document.Execute(std::move(command), view);
    return added;
}

void DeletePart(CPart& part, const std::u16string& label) { part.Delete(label); }

bool CanMovePart(const CPart& part, const CPart* newParent) {
    return !newParent || (newParent != &part && !part.IsAncestorOf(newParent));
}

bool MovePart(CPart& part, CPart* newParent, int newIndex, CDocumentObserver* view) {
    if (!CanMovePart(part, newParent))
        return false;
    if (newParent == part.parent) {
        // Taken out first, the part lands at newIndex, or last when newIndex
        // lies past the others.
        const int last =
            (newParent ? newParent->GetChildCount() : part.document->GetChildCount()) - 1;
        const int landing = newIndex >= 0 && newIndex < last ? newIndex : last;
        if (landing == part.GetIndex())
            return false;
    } else {
        RequireDepthBelow(newParent, part);
    }
    part.document->Execute(
        std::make_unique<CMovePartCommand>(*part.document, part, newParent, newIndex), view);
    return true;
}

PartDrop ComputePartDrop(std::span<const PartRow> rows, const CPart* dragged, int dropRow,
                         int dropDepth) {
    PartDrop drop;
    if (!dragged)
        return drop;
    const int end = std::clamp(dropRow, 0, static_cast<int>(rows.size()));
    int parentRow = -1;
    for (int row = end - 1; row >= 0; --row) {
        if (rows[static_cast<size_t>(row)].depth < dropDepth) {
            parentRow = row;
            break;
        }
    }
    drop.parent = parentRow >= 0 ? rows[static_cast<size_t>(parentRow)].part : nullptr;
    if (!CanMovePart(*dragged, drop.parent))
        return drop;
    drop.allowed = true;

    // The nearest of the skipped rows with the smallest depth is the sibling
    // the part goes after.
    const CPart* sibling = nullptr;
    int smallest = 0;
    for (int row = end - 1; row > parentRow; --row) {
        const PartRow& candidate = rows[static_cast<size_t>(row)];
        if (!sibling || candidate.depth < smallest) {
            sibling = candidate.part;
            smallest = candidate.depth;
        }
    }
    drop.index = sibling ? sibling->GetIndex() + 1 : 0;
    // The part leaves its old place before it lands: below its old index
    // within the same parent everything moves up by one.
    if (drop.parent == dragged->parent && dragged->GetIndex() < drop.index)
        --drop.index;
    return drop;
}

RenameResult RenamePart(CPart& part, const std::u16string& name, CEditorPrompt& prompt,
                        CDocumentObserver* view) {
    if (name == part.name)
        return RenameResult::Unchanged;
    if (name.empty())
        return RenameResult::Refused;
    CDotDocument& document = *part.document;
    if (document.FindPartByName(name)) {
        prompt.ShowMessage(FormatString(IDS_PART_EXISTS, {name}));
        return RenameResult::Refused;
    }
    document.Execute(std::make_unique<CPartNameCommand>(document, part, name), view);
    return RenameResult::Renamed;
}

CPart* DividePart(CDotPart& source, const DotRect& selection) {
    const DotRect cells{std::max(selection.left, 0), std::max(selection.top, 0),
                        std::min(selection.right, GridSide), std::min(selection.bottom, GridSide)};
    if (cells.IsEmpty())
        return nullptr;
    CDotDocument& document = *source.document;
    if (DepthOf(&source) + 1 > MaxPartDepth)
        throw CPartLimitError("a divided part would be nested more than " +
                              std::to_string(MaxPartDepth) + " deep");
    std::unique_ptr<CDotPart> divided =
        document.CreatePart(document.GetFreeId(), document.MakeUniqueName(source.name));
    CDotPart* added = divided.get();
    auto command = std::make_unique<CDividePartCommand>(source, std::move(divided));

    const FaceOrientation& face = *source.face;
    for (int depth = 0; depth < GridSide; ++depth) {
        for (int row = cells.top; row < cells.bottom; ++row) {
            for (int column = cells.left; column < cells.right; ++column) {
                const GridCell cell = face.ToGrid(column, row, depth);
                const int index = source.GetDot(cell[0], cell[1], cell[2]);
                source.SetDot(cell[0], cell[1], cell[2], 0);
                added->SetDot(cell[0], cell[1], cell[2], index);
            }
        }
    }
    added->bonePosition = source.parentPosition;
    added->parentPosition = source.parentPosition;
    document.Execute(std::move(command));
    return added;
}
