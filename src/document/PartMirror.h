#pragma once
// "反転(&I)": the left/right mirror image of a part, made as a new part on the
// other side or written over the part that already has the mirrored name.

#include <string>
#include <string_view>

class CDotPart;
class CEditorPrompt;
class CPart;

// name with a leading "左" replaced by "右" or a leading "右" by "左"; any
// other name unchanged.
std::u16string MirroredName(std::u16string_view name);

// Writes the mirror of source into target, which will hang under
// targetParent (null: the top level): bone kind, rate, morph, the angles with
// y and z negated, every dot at (31 − x, y, z) (the upper bits of the target's
// bytes stay), copies of the physics records, the joint points mirrored in x,
// and the joint points of the target's children that mirror the source's
// children.
void WriteMirror(const CDotPart& source, CDotPart& target, const CPart* targetParent);

// Makes the mirror image of source. When the mirrored name (a numbered name
// when the name has no side) belongs to a part, asks through prompt with "既存
// の %s に上書きします。" and on OK overwrites that part as one undo step; on
// Cancel nothing changes. Otherwise adds a new part under the mirrored parent
// (the source's own parent when that has no mirror). Returns the part written,
// null when the user cancelled.
CPart* InvertPart(CDotPart& source, CEditorPrompt& prompt);
