// The model preview's scene on real documents: which parts are shown, the
// draw order and outline colours, markers, the slice box, modes and cameras,
// and what each update hint rebuilds.

#include <cmath>

#include <gtest/gtest.h>

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/UpdateNotice.h"
#include "scene/PreviewScene.h"
#include "support/TestDocument.h"

namespace {

class PreviewSceneTest : public testing::Test {
protected:
    // Two parts: the body (current) and an arm hung at the right edge of the
    // body's grid, each with a few dots.
    void SetUp() override {
        body = &AddPart(document, nullptr, u"体");
        arm = &AddPart(document, body, u"左腕");
        arm->bonePosition = {64, 32, 32};
        FillBox(*body, 0, 1, 0, 0, 0, 0, 1);
        FillBox(*arm, 0, 0, 0, 0, 0, 2, 2);
        document.currentPart = body;
        document.UpdateAllPlacements();
        scene.InitialUpdate();
    }

    // The dots drawn of a part: 0 when it is not shown.
    uint32_t DrawnCount(const CPart* part) const {
        for (const SHOWN_PART& shown : scene.Shown())
            if (shown.resource->part == part)
                return shown.resource->mesh.Total();
        return 0;
    }

    CDotDocument document;
    COrbitCamera camera;
    CPreviewScene scene{document, camera};
    CDotPart* body = nullptr;
    CDotPart* arm = nullptr;
};

} // namespace

TEST_F(PreviewSceneTest, WholeModelShowsEveryPartWithRedOutlinesOnlyOnTheCurrentOne) {
    ASSERT_EQ(2u, scene.Shown().size());
    EXPECT_EQ(5u, scene.TotalDots());
    EXPECT_EQ(2u, scene.RedDots());
    EXPECT_TRUE(scene.Shown()[0].red);
    EXPECT_FALSE(scene.Shown()[1].red);
    // Black outlines are drawn first, the red ones last.
    EXPECT_EQ((std::vector<size_t>{1, 0}), scene.EdgeOrder());
    // The arm hangs half a grid (8 units at dot size 0.5) right of the
    // body's joint, so its first cell starts where the body's joint is.
    const Float3 corner = TransformCoord({0, 0, 0}, scene.Shown()[1].model);
    EXPECT_NEAR(0.0f, corner.x, 1e-5f);
    EXPECT_NEAR(document.modelOffset[1] - 8.0f, corner.y, 1e-5f);

    scene.SetWholeModel(false);
    ASSERT_EQ(1u, scene.Shown().size()) << "part mode shows the current part alone";
    EXPECT_EQ(body, scene.Shown()[0].resource->part);
    EXPECT_EQ(0u, scene.RedDots()) << "no red outlines in part mode";
    const Float3 own = TransformCoord({0, 0, 0}, scene.Shown()[0].model);
    EXPECT_NEAR(-8.0f, own.x, 1e-5f) << "the joint point is the origin";
}

TEST_F(PreviewSceneTest, TranslucentColoursAreDrawnAfterAllOpaqueOnes) {
    document.colors[0].SetMaterial(true);
    document.colors[0].SetAlpha(0.5f); // index 1, used by the body
    scene.OnUpdate(Notice<HINT_PALETTE>());
    std::vector<int> colours;
    for (const FACE_DRAW& draw : scene.FaceDraws())
        if (colours.empty() || colours.back() != draw.color)
            colours.push_back(draw.color);
    EXPECT_EQ((std::vector<int>{2, 1}), colours);
}

TEST_F(PreviewSceneTest, HiddenPartsShowOnlyAloneInPartMode) {
    arm->boneKind = BONE_HIDDEN;
    scene.OnUpdate(Notice<HINT_BONE>(arm));
    EXPECT_EQ(0u, DrawnCount(arm));
    document.currentPart = arm;
    scene.OnUpdate(Notice<HINT_SELECT_PART>(arm));
    scene.SetWholeModel(false);
    EXPECT_EQ(3u, DrawnCount(arm));
}

TEST_F(PreviewSceneTest, AnEditRebuildsOnlyThePartItTouched) {
    const uint64_t bodyBefore = scene.Resources()[0]->generation;
    const uint64_t armBefore = scene.Resources()[1]->generation;
    FillBox(*arm, 5, 5, 5, 5, 5, 5, 3);
    const unsigned update = scene.OnUpdate(Notice<HINT_DOTS>(arm));
    EXPECT_TRUE(update & CPreviewScene::UPDATE_GEOMETRY);
    EXPECT_EQ(bodyBefore, scene.Resources()[0]->generation);
    EXPECT_NE(armBefore, scene.Resources()[1]->generation);
    EXPECT_EQ(4u, DrawnCount(arm));
}

TEST_F(PreviewSceneTest, PartModeFollowsTheCurrentPartWithoutASelectHint) {
    scene.SetWholeModel(false);
    camera.Rotate(10, 0);
    // Deleting or adding a part changes the current part and sends only
    // HINT_PARTS.
    document.currentPart = arm;
    const unsigned update = scene.OnUpdate(Notice<HINT_PARTS>());
    EXPECT_TRUE(update & CPreviewScene::UPDATE_CAMERA);
    ASSERT_EQ(1u, scene.Shown().size());
    EXPECT_EQ(arm, scene.Shown()[0].resource->part);
    EXPECT_EQ(0.0f, camera.yaw) << "a part seen the first time gets the default camera";
}

TEST_F(PreviewSceneTest, ModesRememberTheirOwnCameras) {
    camera.Rotate(25, 5);
    camera.Wheel(240);
    const CAMERA whole = camera.Get();
    scene.SetWholeModel(false);
    EXPECT_EQ(COrbitCamera::DefaultDistance, camera.distance);
    camera.Pan(3, 4);
    scene.SetWholeModel(true);
    EXPECT_EQ(whole.target, camera.target);
    EXPECT_EQ(whole.yaw, camera.yaw);
    EXPECT_EQ(whole.distance, camera.distance);
    scene.InitialUpdate();
    EXPECT_EQ(COrbitCamera::DefaultDistance, camera.distance)
        << "a new document forgets the cameras";
}

TEST_F(PreviewSceneTest, MarkersFollowModeAndMarkedPart) {
    ASSERT_EQ(2u, scene.BoneItems().size());
    document.markedPart = body;
    scene.OnUpdate(Notice<HINT_MARKED_PART>(body));
    ASSERT_EQ(2u, scene.BoneItems().size());
    EXPECT_EQ(arm, scene.BoneItems()[0].part);
    EXPECT_EQ(body, scene.BoneItems()[1].part) << "the marked part's marker lies on top";
    EXPECT_EQ(1, scene.BoneItems()[1].row);
    EXPECT_EQ(0, scene.BoneItems()[0].row);
    EXPECT_EQ(BONE_MOVE, scene.BoneItems()[0].column);
    // Part mode: the part's own joint at the origin and its child's joint
    // in its frame, also when the part is turned.
    body->angle = {0.0f, 1.5707964f, 0.0f};
    document.UpdateAllPlacements();
    scene.OnUpdate(Notice<HINT_BONE>(body));
    scene.SetWholeModel(false);
    ASSERT_EQ(2u, scene.BoneItems().size());
    const Float3 child =
        scene.BoneItems()[1].part == arm ? scene.BoneItems()[1].point : scene.BoneItems()[0].point;
    EXPECT_NEAR(8.0f, child.x, 1e-4f);
    EXPECT_NEAR(0.0f, child.z, 1e-4f);
}

TEST_F(PreviewSceneTest, SliceBoxCoversTheEditedSlice) {
    body->cursor = {16, 16, 3};
    scene.OnUpdate(Notice<HINT_FACE>());
    scene.SetWholeModel(false);
    ASSERT_TRUE(scene.SliceBox());
    const auto& box = *scene.SliceBox();
    // Front face, depth 3: the whole x–y square at z from dot 3 to dot 4.
    const Float3 expected[8] = {{-8, -8, -6.5f}, {8, -8, -6.5f}, {8, 8, -6.5f}, {-8, 8, -6.5f},
                                {-8, -8, -6},    {8, -8, -6},    {8, 8, -6},    {-8, 8, -6}};
    for (size_t k = 0; k < 8; ++k) {
        EXPECT_NEAR(expected[k].x, box[k].x, 1e-5f) << k;
        EXPECT_NEAR(-expected[k].y, box[k].y, 1e-5f) << k << " (rows run down the front face)";
        EXPECT_NEAR(expected[k].z, box[k].z, 1e-5f) << k;
    }
    // Seen from the back, depth 3 is grid z 28.
    body->face = &FaceOrientation::Back;
    body->cursor = {16, 16, 28};
    scene.OnUpdate(Notice<HINT_FACE>());
    EXPECT_NEAR(6.0f, std::min((*scene.SliceBox())[0].z, (*scene.SliceBox())[4].z), 1e-5f);
    EXPECT_NEAR(6.5f, std::max((*scene.SliceBox())[0].z, (*scene.SliceBox())[4].z), 1e-5f);
    document.currentPart = nullptr;
    scene.OnUpdate(Notice<HINT_SELECT_PART>());
    EXPECT_FALSE(scene.SliceBox()) << "no current part, no box";
}

TEST(PreviewSceneNewDocumentTest, TheStandardSkeletonShowsNineteenMarkersAtTheOrigin) {
    CDotDocument document;
    document.OnNewDocument();
    COrbitCamera camera;
    CPreviewScene scene(document, camera);
    scene.InitialUpdate();
    EXPECT_EQ(0u, scene.TotalDots());
    ASSERT_EQ(19u, scene.BoneItems().size());
    for (const BONE_ITEM& item : scene.BoneItems())
        EXPECT_EQ((Float3{0, 0, 0}), item.point);
    const BONE_ITEM* centre = nullptr;
    for (const BONE_ITEM& item : scene.BoneItems())
        if (item.part->name == u"センター")
            centre = &item;
    ASSERT_TRUE(centre);
    EXPECT_EQ(BONE_MOVE, centre->column);
}
