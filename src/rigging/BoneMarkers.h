#pragma once
// The bone markers of the dot view: where the joint points of the shown part
// and of its children appear, which marker a click picks, the tooltip, and
// what releasing a dragged marker changes. The view draws and tracks the
// mouse; everything it decides comes from here.

#include <array>
#include <string>
#include <vector>

class CDocumentObserver;
class CDotPart;
class CPart;
class CTreeDocument;
struct FaceOrientation;

// Edge of a dot view cell in DIPs.
inline constexpr float MarkerCellPitch = 19.0f;
// Half the edge of a marker square in DIPs.
inline constexpr float MarkerHalfSize = 8.0f;

// A joint point seen from a face, in half cells (0–64): view column u, view
// row w and depth t.
struct MarkerCoords {
    int u;
    int w;
    int t;
    bool operator==(const MarkerCoords&) const = default;
};

// One coordinate through a matrix entry: 64 − v for −1, v for 1, 0 for 0.
int Sel64(int entry, int v);
MarkerCoords ToMarkerView(const FaceOrientation& face, const std::array<int, 3>& point);
std::array<int, 3> FromMarkerView(const FaceOrientation& face, const MarkerCoords& coords);

// Marker square: a point is on it when left ≤ x < right and top ≤ y ≤ bottom.
struct MarkerRect {
    float left;
    float top;
    float right;
    float bottom;
    bool Contains(float x, float y) const {
        return x >= left && x < right && y >= top && y <= bottom;
    }
};

// The dot view's side of the markers: the part shown, the scroll origin and
// a drag in progress.
struct BoneMarkerView {
    CDotPart* part = nullptr; // the view's part V; no markers when null
    int scrollColumn = 0;
    int scrollRow = 0;
    const CPart* dragged = nullptr; // the part whose marker is being dragged
    int dragU = 0;                  // its live position (half cells)
    int dragW = 0;
};

// The joint point a part's marker shows: V's parentPosition for V itself, a
// child's bonePosition (in V's grid) for a child.
const std::array<int, 3>& MarkerPoint(const CDotPart& viewPart, const CDotPart& part);
// The marker's (u, w, t) as shown: the live position while it is dragged.
MarkerCoords GetMarkerCoords(const BoneMarkerView& view, const CDotPart& part);
// Centre of the marker at (u, w) in DIPs, and its square.
std::array<float, 2> MarkerCentre(const BoneMarkerView& view, int u, int w);
MarkerRect GetMarkerRect(const BoneMarkerView& view, const CDotPart& part);

// One marker to draw, in drawing order.
struct MarkerDraw {
    CDotPart* part;
    bool highlighted;
};
// V's marker, then its children's in order, the marked part (when it has a
// marker here) last and highlighted, so it lies on top.
std::vector<MarkerDraw> GetMarkerDrawList(const BoneMarkerView& view, const CPart* marked);

// The parts whose markers contain (x, y), children from the last to the first,
// then V.
std::vector<CDotPart*> GetMarkersAt(const BoneMarkerView& view, float x, float y);
// The part a click picks among hits: the one after the marked part, or the
// first when the marked part is not among them or is the last; null when
// there are none. Repeated clicks so step through overlapping markers.
CDotPart* PickMarker(const std::vector<CDotPart*>& hits, const CPart* marked);
// Names of the hits one per line ("\r\n"), the picked part first, then the
// others in hit order; empty without hits.
std::u16string GetMarkerTooltip(const std::vector<CDotPart*>& hits, const CPart* marked);

// Makes part the marked part; when it changes, sends HINT_MARKED_PART with it
// to every view but sender. Returns whether it changed.
bool MarkPart(CTreeDocument& document, CPart* part, CDocumentObserver* sender);

// The live (u, w) of a drag with the marker centre at (x, y) DIPs (the
// pointer plus the offset taken at the start), each clamped to 0–64.
std::array<int, 2> DragCoords(const BoneMarkerView& view, float x, float y);
// Releases a drag of part's marker at (u, w): the point keeps its depth under
// V's face and takes (u, w). When it differs from the stored point, executes
// CChangeParentPositionCommand (part is V) or CChangeBonePositionCommand (a
// child) with sender as initiating view and returns true.
bool CommitMarkerDrag(CDotPart& viewPart, CDotPart& part, int u, int w, CDocumentObserver* sender);
