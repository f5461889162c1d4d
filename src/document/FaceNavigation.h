#pragma once
// Which slice of a part the dot view shows: the part's face and depth. These
// are not undoable; a change tells the views with HINT_FACE.

class CDocumentObserver;
class CDotPart;
struct FaceOrientation;

// Shows part from face; sends HINT_FACE (to every view but sender) when the
// face changed. The cursor stays, so the depth becomes the cursor's depth seen
// from the new face. Returns whether the face changed.
bool SetPartFace(CDotPart& part, const FaceOrientation& face, CDocumentObserver* sender = nullptr);
// Moves the part's cursor to depth (0–31; other values do nothing) keeping its
// view column and row; sends HINT_FACE when the cursor changed.
bool SetPartDepth(CDotPart& part, int depth, CDocumentObserver* sender = nullptr);

// "奥へ(&S)" is enabled below depth 31, "手前へ(&A)" above depth 0.
bool CanGoDeeper(const CDotPart& part);
bool CanGoNearer(const CDotPart& part);
// One slice deeper or nearer, within 0–31; returns whether the depth changed.
bool GoDeeper(CDotPart& part, CDocumentObserver* sender = nullptr);
bool GoNearer(CDotPart& part, CDocumentObserver* sender = nullptr);
