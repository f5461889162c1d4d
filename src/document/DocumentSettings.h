#pragma once
// The document-wide edits behind the menu commands and dialogs: palette
// entries, the material flags, the edge flag and the dot size. Each builds one
// command and executes it through the undo list.

#include <cstdint>
#include <memory>
#include <string>

class CDocumentObserver;
class CDotDocument;
class CPart;
class CSetColorCommand;

// Whether every one of the 31 palette entries is a material.
bool AreAllMaterials(const CDotDocument& document);
// Text of the "all materials" menu item: "全て材質(&M)" while some entry is
// not a material, "全てテクスチャ(&M)" while all are.
std::u16string GetAllMaterialMenuText(const CDotDocument& document);
// One change per palette index 1–31 keeping colour and alpha: the material
// flag becomes false when all entries are materials now, true otherwise.
std::unique_ptr<CSetColorCommand> MakeAllMaterialCommand(CDotDocument& document);
// Executes MakeAllMaterialCommand with no initiating view.
void ToggleAllMaterials(CDotDocument& document);

// Inverts the material flag of palette index 1–31, keeping colour and alpha;
// view is the palette view that asked. Other indices do nothing.
void ToggleMaterial(CDotDocument& document, int index, CDocumentObserver* view);

// Whether current colour which (0 = colour 1, 1 = colour 2) is a palette
// entry that the colour dialog can edit (1–31).
bool CanEditColor(const CDotDocument& document, int which);
// The colour dialog's OK: one change of palette index 1–31 to the given
// values, executed with no initiating view. Other indices do nothing.
void EditColor(CDotDocument& document, int index, uint32_t color, float alpha, bool material);

// Makes palette index index (0–31; 0 draws empty dots) the drawing colour of
// button which (0 = colour 1, 1 = colour 2) and tells every view with
// HINT_CURRENT_COLOR. Not an undoable change. Returns false, changing nothing,
// for an index or button out of range.
bool SetCurrentColor(CDotDocument& document, int which, int index);

// Inverts the edge flag as one undo step.
void ToggleEdge(CDotDocument& document);
// The dot size dialog's OK: always one undo step, also for an unchanged size.
// Throws std::invalid_argument when size is not a valid scale.
void SetDotSize(CDotDocument& document, float size);
// The rate dialog's OK on a part. Throws std::invalid_argument when rate is
// not a valid scale.
void SetPartRate(CPart& part, float rate);
