#pragma once
// What happens to the rest of the document when a subtree leaves the tree and
// comes back. While a part is outside the tree (taken out by a command that can
// still be undone) references to it count as none: the pointers of the parts in
// the tree are cleared (their ids stay) and put back when the part returns. The
// current and marked part never stay on a part outside the tree.

#include <vector>

class CPart;
class CPartParent;
class CTreeDocument;

// Whether part hangs in document's tree (its top-level ancestor is one of the
// document's parts), as opposed to a subtree a command holds outside it.
bool IsInTree(const CTreeDocument& document, const CPart& part);

// A reference (IK parent or linked part) cut because its target left the tree.
struct CutReference {
    CPart* holder; // the part in the tree that held the reference
    bool linked;   // true: linkedPart; false: ikParent
    CPart* target; // the part it pointed to
};

// For a subtree root that has just been taken out of document's tree: clears
// every IK parent and linked part of the parts still in the tree that points
// into the subtree and returns what it cleared. When the current part was in
// the subtree, formerParent (the holder it left; null for the top level)
// becomes current, or the first top-level part when it left the top level, or
// none. A marked part in the subtree becomes none.
std::vector<CutReference> DetachSubtree(CTreeDocument& document, const CPart& root,
                                        CPart* formerParent);
// The root's own IK parent and linked part where they point into its own
// subtree (itself included), recorded as it leaves the tree. Putting the root
// back resolves its references by id before its subtree is in the tree again,
// which finds none of these; RestoreReferences puts them back afterwards.
std::vector<CutReference> InnerReferences(CPart& root);
// Puts back the references DetachSubtree cut, where the holder still has no
// target and still names the target's id.
void RestoreReferences(const std::vector<CutReference>& references);
