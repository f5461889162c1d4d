// The orbit camera and its matrices, the camera memory and the marker
// projection: what the mouse gestures do to the picture.

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "scene/MarkerLayout.h"
#include "scene/OrbitCamera.h"

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

// Normalised device coordinates of a model point under the camera.
Float3 Screen(const COrbitCamera& camera, const Float3& p, float aspect = 1.0f) {
    return TransformCoord(p, camera.World() * camera.View() * camera.Projection(aspect));
}

} // namespace

TEST(MatrixTest, InverseUndoesAPerspectiveCameraTransform) {
    COrbitCamera camera;
    camera.Rotate(37, -12);
    camera.target = {1.5f, -2.0f, 3.0f};
    const Matrix4 m = camera.World() * camera.View() * camera.Projection(1.6f);
    const Matrix4 product = m * m.Inverse();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(i == j ? 1.0f : 0.0f, product.m[i][j], 1e-4f) << i << "," << j;
    EXPECT_EQ(Matrix4::Identity().m, Matrix4{{}}.Inverse().m)
        << "a singular matrix gives the identity";
}

TEST(CameraTest, DefaultViewShowsTheFigureFacingTheViewerUnmirrored) {
    const COrbitCamera camera;
    const Float3 centre = Screen(camera, COrbitCamera::DefaultTarget);
    EXPECT_NEAR(0.0f, centre.x, 1e-6f);
    EXPECT_NEAR(0.0f, centre.y, 1e-6f);
    // The figure's left (+x) is on the right of the screen, up is up, and its
    // front (−z) is nearer than its back.
    EXPECT_GT(Screen(camera, {1, 10, 0}).x, 0.0f);
    EXPECT_GT(Screen(camera, {0, 11, 0}).y, 0.0f);
    EXPECT_LT(Screen(camera, {0, 10, -1}).z, Screen(camera, {0, 10, 1}).z);
    // Depth runs over OpenGL's range: −1 on the near plane, +1 on the far one.
    EXPECT_NEAR(-1.0f, Screen(camera, {0, 10, 1.0f - camera.distance}).z, 1e-5f);
    EXPECT_NEAR(1.0f, Screen(camera, {0, 10, 1000.0f - camera.distance}).z, 1e-3f);
}

TEST(CameraTest, NinetyPixelsOfDragTurnNinetyDegrees) {
    COrbitCamera camera;
    camera.roll = 0.3f;
    camera.Rotate(90, 0);
    EXPECT_NEAR(Pi / 2, camera.yaw, 1e-6f);
    EXPECT_EQ(0.0f, camera.pitch);
    EXPECT_EQ(0.0f, camera.roll) << "any rotation drag resets the roll";
    // The model turns with the pointer: its front comes round to the right,
    // its left side turns away.
    const Matrix4 world = camera.World();
    const Float3 front = TransformCoord({0, 10, -1}, world);
    const Float3 left = TransformCoord({1, 10, 0}, world);
    EXPECT_NEAR(1.0f, front.x, 1e-6f);
    EXPECT_NEAR(0.0f, front.z, 1e-6f);
    EXPECT_NEAR(1.0f, left.z, 1e-6f);
    camera.Rotate(0, 90);
    EXPECT_NEAR(Pi / 2, camera.pitch, 1e-6f);
}

TEST(CameraTest, PanSlidesTheModelWithThePointer) {
    COrbitCamera camera;
    camera.Rotate(30, 20);
    const Float3 before = camera.target;
    camera.Pan(10, 5);
    // The old target is now 0.4 right and 0.2 down in the view.
    const Float3 seen = TransformCoord(before, camera.World() * camera.View());
    EXPECT_NEAR(0.4f, seen.x, 1e-4f);
    EXPECT_NEAR(-0.2f, seen.y, 1e-4f);
    EXPECT_NEAR(camera.distance, seen.z, 1e-4f);
}

TEST(CameraTest, WheelAddsUpSmallStepsAndResetRestoresTheDefaults) {
    COrbitCamera camera;
    EXPECT_TRUE(camera.Wheel(-360));
    EXPECT_EQ(56.0f, camera.distance) << "three notches toward the user";
    EXPECT_TRUE(camera.Wheel(120));
    EXPECT_EQ(54.0f, camera.distance);
    // A touchpad sends small deltas: four of 40 make one notch and a third.
    EXPECT_FALSE(camera.Wheel(40));
    EXPECT_FALSE(camera.Wheel(40));
    EXPECT_TRUE(camera.Wheel(40));
    EXPECT_FALSE(camera.Wheel(40));
    EXPECT_EQ(52.0f, camera.distance);
    camera.Rotate(5, 7);
    camera.Pan(3, 3);
    camera.Reset();
    EXPECT_EQ(COrbitCamera::DefaultTarget, camera.target);
    EXPECT_EQ(50.0f, camera.distance);
    EXPECT_EQ(0.0f, camera.pitch + camera.yaw + camera.roll);
    EXPECT_FALSE(camera.Wheel(100)) << "reset also drops a half-made notch";
}

TEST(CameraTest, PresetsKeepTargetAndDistance) {
    COrbitCamera camera;
    camera.target = {1, 2, 3};
    camera.distance = 20;
    camera.roll = 1;
    camera.SetAngles(0.0f, Pi);
    EXPECT_EQ((Float3{1, 2, 3}), camera.target);
    EXPECT_EQ(20.0f, camera.distance);
    EXPECT_EQ(Pi, camera.yaw);
    EXPECT_EQ(0.0f, camera.roll);
}

TEST(CameraTest, MemoryRestoresEachSubjectsCameraExactly) {
    COrbitCamera camera;
    CCameraMemory memory;
    const int part = 0;
    memory.Select(camera, nullptr);
    camera.Rotate(12, 34);
    camera.Pan(5, 6);
    const CAMERA whole = camera.Get();
    memory.Select(camera, &part);
    EXPECT_EQ(COrbitCamera::DefaultTarget, camera.target)
        << "a part seen the first time starts afresh";
    camera.Wheel(240);
    memory.Select(camera, nullptr);
    EXPECT_EQ(whole.target, camera.target);
    EXPECT_EQ(whole.pitch, camera.pitch);
    EXPECT_EQ(whole.yaw, camera.yaw);
    memory.Select(camera, &part);
    EXPECT_EQ(46.0f, camera.distance);
    memory.Clear();
    EXPECT_FALSE(memory.Has(&part));
}

TEST(MarkerLayoutTest, MarkersAreCentredOnTheirJointAndHiddenBehindTheEye) {
    COrbitCamera camera;
    const Matrix4 m = camera.World() * camera.View() * camera.Projection(2.0f);
    const MARKER_RECT centre = ProjectMarker(COrbitCamera::DefaultTarget, m, 200, 100, 16, 16);
    EXPECT_EQ(92.0f, centre.left);
    EXPECT_EQ(42.0f, centre.top);
    EXPECT_EQ(108.0f, centre.right);
    EXPECT_EQ(58.0f, centre.bottom);
    const MARKER_RECT left = ProjectMarker({3, 10, 0}, m, 200, 100, 16, 16);
    EXPECT_GT(left.left, centre.left);
    // Behind the eye (z < −50) and between the eye and the near plane.
    for (float z : {-60.0f, -49.5f}) {
        const MARKER_RECT r = ProjectMarker({0, 10, z}, m, 200, 100, 16, 16);
        EXPECT_FALSE(r.right > r.left) << z;
    }
}

TEST(MarkerLayoutTest, QuadsCoverTheirSheetCellAndSkipEmptySquares) {
    const std::vector<MARKER_RECT> rects{
        {0, 0, 16, 16, 1, 1}, {5, 5, 5, 21, 0, 0}, {144, 64, 160, 80, 3, 0}};
    const SPRITE_QUADS quads = BuildSpriteQuads(rects, 160, 80, 4, 2);
    ASSERT_EQ(8u * 5, quads.vertices.size());
    const float first[5] = {-1, 1, 0, 0.25f, 0.5f};
    const float last[5] = {0.8f, -1, 0, 0.75f, 0.5f};
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_NEAR(first[k], quads.vertices[k], 1e-6f) << k;
        EXPECT_NEAR(last[k], quads.vertices[quads.vertices.size() - 5 + k], 1e-6f) << k;
    }
    EXPECT_EQ((std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7}), quads.indices);
}
