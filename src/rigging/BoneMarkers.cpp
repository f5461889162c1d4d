#include "rigging/BoneMarkers.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "rigging/ChangeBonePositionCommand.h"

namespace {

constexpr int HalfCells = 64;

// The parts with a marker in V's view: its children, then V.
std::vector<CDotPart*> MarkerCandidates(CDotPart& viewPart) {
    std::vector<CDotPart*> parts;
    for (auto it = viewPart.children.rbegin(); it != viewPart.children.rend(); ++it)
        parts.push_back(&dynamic_cast<CDotPart&>(**it));
    parts.push_back(&viewPart);
    return parts;
}

} // namespace

int Sel64(int entry, int v) {
    if (entry < 0)
        return HalfCells - v;
    return entry > 0 ? v : 0;
}

MarkerCoords ToMarkerView(const FaceOrientation& face, const std::array<int, 3>& point) {
    std::array<int, 3> view{};
    for (int column = 0; column < 3; ++column)
        view[column] = Sel64(face.m[0][column], point[0]) + Sel64(face.m[1][column], point[1]) +
                       Sel64(face.m[2][column], point[2]);
    return {view[0], view[1], view[2]};
}

std::array<int, 3> FromMarkerView(const FaceOrientation& face, const MarkerCoords& coords) {
    std::array<int, 3> point{};
    for (int row = 0; row < 3; ++row)
        point[row] = Sel64(face.m[row][0], coords.u) + Sel64(face.m[row][1], coords.w) +
                     Sel64(face.m[row][2], coords.t);
    return point;
}

const std::array<int, 3>& MarkerPoint(const CDotPart& viewPart, const CDotPart& part) {
    return &part == &viewPart ? viewPart.parentPosition : part.bonePosition;
}

MarkerCoords GetMarkerCoords(const BoneMarkerView& view, const CDotPart& part) {
    MarkerCoords coords = ToMarkerView(*view.part->face, MarkerPoint(*view.part, part));
    if (view.dragged == &part) {
        coords.u = view.dragU;
        coords.w = view.dragW;
    }
    return coords;
}

std::array<float, 2> MarkerCentre(const BoneMarkerView& view, int u, int w) {
    return {static_cast<float>(u - 2 * view.scrollColumn) * MarkerCellPitch * 0.5f,
            static_cast<float>(w - 2 * view.scrollRow) * MarkerCellPitch * 0.5f};
}

MarkerRect GetMarkerRect(const BoneMarkerView& view, const CDotPart& part) {
    const MarkerCoords coords = GetMarkerCoords(view, part);
    const auto [x, y] = MarkerCentre(view, coords.u, coords.w);
    return {x - MarkerHalfSize, y - MarkerHalfSize, x + MarkerHalfSize, y + MarkerHalfSize};
}

std::vector<MarkerDraw> GetMarkerDrawList(const BoneMarkerView& view, const CPart* marked) {
    std::vector<MarkerDraw> list;
    if (!view.part)
        return list;
    CDotPart* markedHere = nullptr;
    for (CDotPart* part : MarkerCandidates(*view.part)) {
        if (part == marked)
            markedHere = part;
        else
            list.push_back({part, false});
    }
    // The candidates run from the last child to V; drawing runs from V.
    std::reverse(list.begin(), list.end());
    if (markedHere)
        list.push_back({markedHere, true});
    return list;
}

std::vector<CDotPart*> GetMarkersAt(const BoneMarkerView& view, float x, float y) {
    std::vector<CDotPart*> hits;
    if (!view.part)
        return hits;
    for (CDotPart* part : MarkerCandidates(*view.part))
        if (GetMarkerRect(view, *part).Contains(x, y))
            hits.push_back(part);
    return hits;
}

CDotPart* PickMarker(const std::vector<CDotPart*>& hits, const CPart* marked) {
    if (hits.empty())
        return nullptr;
    const auto found = std::find(hits.begin(), hits.end(), marked);
    if (found != hits.end() && found + 1 != hits.end())
        return *(found + 1);
    return hits.front();
}

std::u16string GetMarkerTooltip(const std::vector<CDotPart*>& hits, const CPart* marked) {
    std::u16string text;
    const CDotPart* picked = PickMarker(hits, marked);
    if (!picked)
        return text;
    text = picked->name;
    for (const CDotPart* part : hits) {
        if (part != picked) {
            text += u"\r\n";
            text += part->name;
        }
    }
    return text;
}

bool MarkPart(CTreeDocument& document, CPart* part, CDocumentObserver* sender) {
    if (document.markedPart == part)
        return false;
    document.markedPart = part;
    document.UpdateAllViews(sender, Notice<HINT_MARKED_PART>(part));
    return true;
}

std::array<int, 2> DragCoords(const BoneMarkerView& view, float x, float y) {
    const auto coordinate = [](int scroll, float position) {
        const float value =
            static_cast<float>(2 * scroll) + std::trunc(2.0f * position / MarkerCellPitch);
        if (std::isnan(value))
            return 0;
        return static_cast<int>(std::clamp(value, 0.0f, static_cast<float>(HalfCells)));
    };
    return {coordinate(view.scrollColumn, x), coordinate(view.scrollRow, y)};
}

bool CommitMarkerDrag(CDotPart& viewPart, CDotPart& part, int u, int w, CDocumentObserver* sender) {
    const FaceOrientation& face = *viewPart.face;
    const std::array<int, 3>& stored = MarkerPoint(viewPart, part);
    const MarkerCoords coords{u, w, ToMarkerView(face, stored).t};
    const std::array<int, 3> moved = FromMarkerView(face, coords);
    if (moved == stored)
        return false;
    std::unique_ptr<CCommand> command;
    if (&part == &viewPart)
        command = std::make_unique<CChangeParentPositionCommand>(part, moved);
    else
        command = std::make_unique<CChangeBonePositionCommand>(part, moved);
    viewPart.document->Execute(std::move(command), sender);
    return true;
}
