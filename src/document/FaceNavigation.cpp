#include "document/FaceNavigation.h"

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/UpdateHints.h"

namespace {

constexpr int LastDepth = GridSide - 1;

void NotifyFace(CDotPart& part, CDocumentObserver* sender) {
    if (part.document)
        part.document->UpdateAllViews(sender, Notice<HINT_FACE>());
}

} // namespace

bool SetPartFace(CDotPart& part, const FaceOrientation& face, CDocumentObserver* sender) {
    if (part.face == &face)
        return false;
    part.face = &face;
    NotifyFace(part, sender);
    return true;
}

bool SetPartDepth(CDotPart& part, int depth, CDocumentObserver* sender) {
    if (depth < 0 || depth > LastDepth || !part.SetDepth(depth))
        return false;
    NotifyFace(part, sender);
    return true;
}

bool CanGoDeeper(const CDotPart& part) { return part.GetDepth() < LastDepth; }

bool CanGoNearer(const CDotPart& part) { return part.GetDepth() > 0; }

bool GoDeeper(CDotPart& part, CDocumentObserver* sender) {
    return CanGoDeeper(part) && SetPartDepth(part, part.GetDepth() + 1, sender);
}

bool GoNearer(CDotPart& part, CDocumentObserver* sender) {
    return CanGoNearer(part) && SetPartDepth(part, part.GetDepth() - 1, sender);
}
