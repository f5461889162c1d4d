#include <gtest/gtest.h>

#include "rigging/BoneMarkerDrag.h"
#include "support/EditFixture.h"

namespace {

// Seen from the front: u = x, w = 64 − y; a half cell is 9.5 DIPs.
class BoneMarkerDragTest : public EditTest {
protected:
    CDotPart* shown = Add(1, u"腕");
    CDotPart* child = Add(2, u"手", shown);
    BoneMarkerView markers;

    BoneMarkerDragTest() {
        child->bonePosition = {20, 40, 10}; // (u, w) = (20, 24): centre (190, 228)
        markers.part = shown;
    }
};

} // namespace

TEST_F(BoneMarkerDragTest, TheMarkerKeepsItsDistanceFromThePointer) {
    // Grabbed 5 DIPs right of and 3 below the centre: no jump at the start.
    CBoneMarkerDrag drag(markers, *child, 195.0f, 231.0f);
    EXPECT_EQ(markers.dragged, child);
    EXPECT_EQ(markers.dragU, 20);
    EXPECT_EQ(markers.dragW, 24);
    EXPECT_FALSE(drag.Move(196.0f, 232.0f)) << "within the same half cell";
    EXPECT_TRUE(drag.Move(195.0f + 19.0f, 231.0f - 9.5f));
    EXPECT_EQ(markers.dragU, 22);
    EXPECT_EQ(markers.dragW, 23);
    // Scrolled by one cell during the drag, the same pointer is two half
    // cells further.
    markers.scrollColumn = 1;
    EXPECT_TRUE(drag.Move(195.0f + 19.0f, 231.0f - 9.5f));
    EXPECT_EQ(markers.dragU, 24);
}

TEST_F(BoneMarkerDragTest, TheLivePositionStaysOnTheGrid) {
    CBoneMarkerDrag drag(markers, *child, 190.0f, 228.0f);
    drag.Move(-500.0f, 5000.0f);
    EXPECT_EQ(markers.dragU, 0);
    EXPECT_EQ(markers.dragW, 64);
    drag.Move(1e30f, -1e30f);
    EXPECT_EQ(markers.dragU, 64);
    EXPECT_EQ(markers.dragW, 0);
    ASSERT_TRUE(drag.End(1e30f, -1e30f, &view));
    EXPECT_EQ(child->bonePosition, (std::array{64, 64, 10})) << "the depth is kept";
}

TEST_F(BoneMarkerDragTest, OnlyAMovedReleaseIsAnUndoStep) {
    {
        CBoneMarkerDrag drag(markers, *child, 190.0f, 228.0f);
        drag.Move(300.0f, 300.0f);
        EXPECT_FALSE(drag.End(191.0f, 229.0f, &view)) << "back at the start";
        EXPECT_EQ(markers.dragged, nullptr);
    }
    EXPECT_TRUE(document.commands.empty());

    {
        CBoneMarkerDrag drag(markers, *child, 190.0f, 228.0f);
        drag.Move(300.0f, 300.0f);
        drag.Cancel();
        EXPECT_EQ(markers.dragged, nullptr);
        EXPECT_FALSE(drag.End(300.0f, 300.0f, &view)) << "a cancelled drag is over";
    }
    {
        CBoneMarkerDrag abandoned(markers, *child, 190.0f, 228.0f);
        abandoned.Move(300.0f, 300.0f);
    }
    EXPECT_EQ(markers.dragged, nullptr) << "a drag that goes away is cancelled";
    EXPECT_TRUE(document.commands.empty());
    EXPECT_EQ(child->bonePosition, (std::array{20, 40, 10}));

    // The shown part's own marker moves its parent position.
    CBoneMarkerDrag own(markers, *shown, 304.0f, 304.0f);
    EXPECT_TRUE(own.End(304.0f - 19.0f, 304.0f, &view));
    EXPECT_EQ(shown->parentPosition, (std::array{30, 32, 32}));
    ASSERT_EQ(document.commands.size(), 1u);
    EXPECT_EQ(document.commands.back()->name, u"ボーン移動");
}
