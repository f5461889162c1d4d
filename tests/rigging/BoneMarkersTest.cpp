#include <gtest/gtest.h>

#include "rigging/BoneMarkers.h"
#include "support/EditFixture.h"

namespace {

class BoneMarkersTest : public EditTest {
protected:
    CDotPart* shown = Add(1, u"腕");
    CDotPart* first = Add(2, u"ひじ", shown);
    CDotPart* second = Add(3, u"手", shown);
    CDotPart* elsewhere = Add(4, u"頭");
    BoneMarkerView markers;

    BoneMarkersTest() {
        // Seen from the front: u = x, w = 64 − y, t = z.
        first->bonePosition = {20, 40, 10};
        second->bonePosition = {20, 40, 10};
        markers.part = shown;
    }
};

} // namespace

TEST_F(BoneMarkersTest, MarkersSitOnTheJointPointsSeenFromTheFace) {
    EXPECT_EQ(ToMarkerView(FaceOrientation::Front, first->bonePosition),
              (MarkerCoords{20, 24, 10}));
    EXPECT_EQ(ToMarkerView(FaceOrientation::Right, first->bonePosition),
              (MarkerCoords{10, 24, 44}));
    for (const FaceOrientation* face : FaceOrientation::All()) {
        const std::array point{3, 50, 64};
        EXPECT_EQ(FromMarkerView(*face, ToMarkerView(*face, point)), point);
    }
    const MarkerRect rect = GetMarkerRect(markers, *first);
    EXPECT_EQ(rect.left, 182.0f); // 20 × 9.5 − 8
    EXPECT_EQ(rect.top, 220.0f);  // 24 × 9.5 − 8
    EXPECT_TRUE(rect.Contains(182.0f, 220.0f));
    EXPECT_FALSE(rect.Contains(198.0f, 228.0f)) << "the right edge is outside";
    EXPECT_TRUE(rect.Contains(190.0f, 236.0f)) << "the bottom edge is inside";
    markers.scrollColumn = 2;
    EXPECT_EQ(GetMarkerRect(markers, *first).left, 144.0f);
    // The part itself shows its own joint point, in its own grid.
    markers.scrollColumn = 0;
    EXPECT_EQ(GetMarkerRect(markers, *shown).left, 296.0f);
    // A marker being dragged shows at its live position.
    markers.dragged = second;
    markers.dragU = 0;
    markers.dragW = 64;
    EXPECT_EQ(GetMarkerRect(markers, *second).top, 600.0f);
    EXPECT_EQ(GetMarkerRect(markers, *first).top, 220.0f);
}

TEST_F(BoneMarkersTest, ClicksStepThroughOverlappingMarkers) {
    shown->parentPosition = {20, 40, 0}; // the part's own marker on the same spot
    const std::vector<CDotPart*> hits = GetMarkersAt(markers, 190.0f, 228.0f);
    ASSERT_EQ(hits, (std::vector<CDotPart*>{second, first, shown}));
    EXPECT_EQ(PickMarker(hits, nullptr), second) << "the later child first";
    EXPECT_EQ(PickMarker(hits, elsewhere), second);
    EXPECT_EQ(PickMarker(hits, second), first);
    EXPECT_EQ(PickMarker(hits, first), shown);
    EXPECT_EQ(PickMarker(hits, shown), second);
    EXPECT_EQ(PickMarker({}, shown), nullptr);
    EXPECT_TRUE(GetMarkersAt(markers, 0.0f, 0.0f).empty());

    EXPECT_EQ(GetMarkerTooltip(hits, nullptr), u"手\r\nひじ\r\n腕");
    EXPECT_EQ(GetMarkerTooltip(hits, second), u"ひじ\r\n手\r\n腕");
    EXPECT_EQ(GetMarkerTooltip({}, nullptr), u"");
}

TEST_F(BoneMarkersTest, TheMarkedPartIsDrawnLastAndHighlighted) {
    auto order = [&](const CPart* marked) {
        std::vector<std::pair<CDotPart*, bool>> list;
        for (const MarkerDraw& draw : GetMarkerDrawList(markers, marked))
            list.emplace_back(draw.part, draw.highlighted);
        return list;
    };
    using List = std::vector<std::pair<CDotPart*, bool>>;
    EXPECT_EQ(order(nullptr), (List{{shown, false}, {first, false}, {second, false}}));
    EXPECT_EQ(order(elsewhere), (List{{shown, false}, {first, false}, {second, false}}));
    EXPECT_EQ(order(first), (List{{shown, false}, {second, false}, {first, true}}));
    EXPECT_EQ(order(shown), (List{{first, false}, {second, false}, {shown, true}}));
    markers.part = nullptr;
    EXPECT_TRUE(order(first).empty());
}

TEST_F(BoneMarkersTest, MarkingAPartTellsTheOtherViewsOnce) {
    EXPECT_TRUE(MarkPart(document, first, &view));
    EXPECT_EQ(document.markedPart, first);
    EXPECT_EQ(other.updates, (std::vector<Update>{{&view, Notice<HINT_MARKED_PART>(first)}}));
    EXPECT_TRUE(view.updates.empty());
    EXPECT_FALSE(MarkPart(document, first, &view));
    EXPECT_EQ(other.updates.size(), 1u);
    EXPECT_FALSE(document.IsModified());
}

TEST_F(BoneMarkersTest, DragsStayOnTheGridAndCommitOnlyAChangedPoint) {
    EXPECT_EQ(DragCoords(markers, 190.0f, 228.0f), (std::array{20, 24}));
    EXPECT_EQ(DragCoords(markers, -50.0f, 10000.0f), (std::array{0, 64}));
    markers.scrollRow = 3;
    EXPECT_EQ(DragCoords(markers, 9.4f, 9.5f), (std::array{0, 7}));

    EXPECT_FALSE(CommitMarkerDrag(*shown, *first, 20, 24, &view)) << "released where it started";
    EXPECT_TRUE(document.commands.empty());

    ExpectRoundTrip([&] { EXPECT_TRUE(CommitMarkerDrag(*shown, *first, 22, 30, &view)); },
                    {{Notice<HINT_BONE_POSITION>(first)}}, {{Notice<HINT_BONE_POSITION>(first)}},
                    &view);
    EXPECT_EQ(first->bonePosition, (std::array{22, 34, 10})) << "the depth stays";
    EXPECT_EQ(second->bonePosition, (std::array{20, 40, 10}));

    // Seen from the right the depth is x, which stays.
    shown->face = &FaceOrientation::Right;
    EXPECT_TRUE(CommitMarkerDrag(*shown, *second, 12, 30, &view));
    EXPECT_EQ(second->bonePosition, (std::array{20, 34, 12}));

    // The part's own marker moves its parentPosition.
    EXPECT_TRUE(CommitMarkerDrag(*shown, *shown, 0, 0, &view));
    EXPECT_EQ(shown->parentPosition, (std::array{32, 64, 0}));
    EXPECT_EQ(shown->bonePosition, (std::array{32, 32, 32}));
    EXPECT_EQ(document.commands.back()->name, u"ボーン移動");
}
