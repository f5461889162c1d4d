#pragma once
// The user's edits of the part tree: new part, paste, delete, move, rename and
// divide. Each decides what the edit does, builds the command and executes it
// through the undo list; the views only collect the input.

#include <memory>
#include <span>
#include <string>

#include "document/DotHolder.h"
#include "document/PartRows.h"

class CDocumentObserver;
class CDotDocument;
class CDotPart;
class CEditorPrompt;
class CPart;
class CTreeDocument;

// Makes part (null: none) the document's current part and sends
// HINT_SELECT_PART with it to every view but sender (the view where the user
// chose it). A part that is not in the document's tree is refused: nothing
// changes and false is returned.
bool SelectPart(CTreeDocument& document, CPart* part, CDocumentObserver* sender);

// "新規部品(&N)": a new empty part named 部品1, 部品2, … (the first free
// name), with the smallest free id, appended under the current part (the top
// level when there is none) and made current. Returns the new part.
CPart* NewPart(CDotDocument& document);

// Pastes a part (with its subtree) that the clipboard layer has loaded:
// renumbers it after the largest id, makes its name unique, resolves its
// references and appends it under the current part (the top level when none)
// as one undo step "貼り付け". view is the part list. Returns the part now in
// the tree, null when loaded is null.
CPart* PastePart(CDotDocument& document, std::unique_ptr<CPart> loaded, CDocumentObserver* view);

// Deletes part with its subtree as one undo step labelled label (the part
// list passes "削除", cut passes "切り取り").
void DeletePart(CPart& part, const std::u16string& label);

// Whether part may move below newParent (null: the top level): not below
// itself or one of its descendants.
bool CanMovePart(const CPart& part, const CPart* newParent);
// Moves part so that it stands at newIndex under newParent (an index past the
// end appends). Executes a "移動" command with view as initiating view only
// when the place differs from the current one; returns whether it did.
bool MovePart(CPart& part, CPart* newParent, int newIndex, CDocumentObserver* view);

// Where a part dragged in the part list lands.
struct PartDrop {
    bool allowed = false;
    CPart* parent = nullptr; // null: the top level
    int index = 0;           // the index the part will have under parent
};
// The drop of dragged at row dropRow (0 … rows.size(), the row whose top edge
// the marker shows) and depth dropDepth: the new parent is the nearest row
// above with a smaller depth (the top level when none); the part goes after
// the nearest of the rows in between that has the smallest depth (first when
// none). Refused when the parent is the part itself or below it.
PartDrop ComputePartDrop(std::span<const PartRow> rows, const CPart* dragged, int dropRow,
                         int dropDepth);

enum class RenameResult {
    Unchanged, // the name is the part's own: nothing to do
    Refused,   // empty, or another part has it: no command
    Renamed,   // a "名前の変更" command was executed
};
// Renames part. A name some other part has is refused with the message "%s
// という部品は既にあります。" through prompt; an empty name is refused without
// a message. view is the part list.
RenameResult RenamePart(CPart& part, const std::u16string& name, CEditorPrompt& prompt,
                        CDocumentObserver* view);

// "分割(&D)": moves every dot of source inside selection (view cells of the
// source's face), at all 32 depths, into a new child part at the same grid
// positions, hung at the source's own joint point, as one undo step; the new
// part becomes current. Returns the new part, null when the selection covers
// no cell of the grid.
CPart* DividePart(CDotPart& source, const DotRect& selection);
