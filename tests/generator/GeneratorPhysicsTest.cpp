// Rigid bodies and joints of generated models.

#include "generator/GeneratorTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using Float3 = PMDContents::Float3;

void ExpectNear(const Float3& actual, const Float3& expected) {
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

} // namespace

TEST(GeneratorPhysics, EveryTopLevelPartStartsTheNextCollisionGroup) {
    CTempFolder folder("physics");
    CDotDocument document;
    MakeAllMaterials(document);
    for (int i = 0; i < 18; ++i) {
        CDotPart& part =
            AddPart(document, nullptr, u"部品" + std::u16string(1, char16_t(u'A' + i)));
        part.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
        if (i != 10) // a body without dots is left out, but still takes a group
            part.SetDot(0, 0, 0, 2);
    }
    GENERATED g = GenerateFile(document, folder.File("p.pmd"));

    ASSERT_EQ(g.file.rigidBodies.size(), 17u);
    for (size_t i = 0; i < 17; ++i) {
        const uint8_t group = static_cast<uint8_t>((i < 10 ? i : i + 1) % 16);
        EXPECT_EQ(g.file.rigidBodies[i].group, group) << i;
        EXPECT_EQ(g.file.rigidBodies[i].mask, 0xFFFF & ~(1 << group)) << i;
        EXPECT_EQ(g.file.rigidBodies[i].mode, 0);
    }
    EXPECT_EQ(g.file.rigidBodies[3].mask, 0xFFF7);
    EXPECT_EQ(g.file.rigidBodies[16].group, 1); // the 18th top-level part
    EXPECT_EQ(g.file.rigidBodies[15].group, 0); // the 17th wraps to group 0
}

TEST(GeneratorPhysics, AJointedChildGetsItsParentABodyAndAJoint) {
    CTempFolder folder("physics");
    CDotDocument document;
    MakeAllMaterials(document);
    CDotPart& first = AddPart(document, nullptr, u"前");
    CDotPart& root = AddPart(document, nullptr, u"根"); // no body, no dots
    CDotPart& tail = AddPart(document, &root, u"尾", BONE_ROTATE);
    first.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    first.SetDot(0, 0, 0, 2);
    FillBox(tail, 0, 3, 0, 1, 0, 0, 2);
    tail.rigidBody =
        std::make_unique<RIGID_BODY_PARAMS>(RIGID_BODY_PARAMS{2, 0.25f, 0.75f, 0.1f, 0.9f});
    tail.joint = std::make_unique<JOINT_PARAMS>();
    tail.joint->positionMin = {-1, -2, -3};
    tail.joint->springRotation = {4, 5, 6};
    tail.worldPosition = {0, 3, 0, 0};
    document.modelOffset = {0, 1, 0, 0};
    GENERATED g = GenerateFile(document, folder.File("p.pmd"));

    ASSERT_EQ(g.file.rigidBodies.size(), 3u);
    // The root's body is forced: it has no body of its own; it goes into the
    // group taken when the root was found without one.
    const auto& forced = g.file.rigidBodies[1];
    EXPECT_EQ(PMDText(forced.name), u"根");
    EXPECT_EQ(forced.group, 2);
    EXPECT_EQ(forced.size, (Float3{0, 0, 0}));
    EXPECT_EQ(forced.position, (Float3{0, 0, 0}));
    EXPECT_EQ(forced.mode, 0);
    EXPECT_FLOAT_EQ(forced.mass, 1.0f);
    EXPECT_FLOAT_EQ(forced.linearDamping, 0.5f);
    EXPECT_FLOAT_EQ(forced.friction, 0.5f);
    EXPECT_EQ(forced.bone, 1);

    const auto& body = g.file.rigidBodies[2];
    EXPECT_EQ(body.group, 2); // the children share the parent's group
    EXPECT_EQ(body.mode, 2);
    EXPECT_EQ(body.shape, 1);
    EXPECT_EQ(body.bone, 2);
    EXPECT_FLOAT_EQ(body.mass, 2.0f);
    EXPECT_FLOAT_EQ(body.angularDamping, 0.75f);
    EXPECT_FLOAT_EQ(body.restitution, 0.1f);
    // A 4 × 2 × 1 slab of 0.5 dots in the grid's corner.
    ExpectNear(body.size, {1.0f, 0.5f, 0.25f});
    ExpectNear(body.position, {-7.0f, -7.5f, -7.75f});
    ExpectNear(body.rotation, {0, 0, 0});

    ASSERT_EQ(g.file.joints.size(), 1u);
    const auto& joint = g.file.joints[0];
    EXPECT_EQ(PMDText(joint.name), u"尾");
    EXPECT_EQ(joint.bodyA, 1u);
    EXPECT_EQ(joint.bodyB, 2u);
    EXPECT_EQ(joint.position, (Float3{0, 4, 0}));
    EXPECT_EQ(joint.rotation, (Float3{0, 0, 0}));
    EXPECT_EQ(joint.positionMin, (Float3{-1, -2, -3}));
    EXPECT_EQ(joint.positionMax, (Float3{0, 0, 0}));
    EXPECT_FLOAT_EQ(joint.rotationMin[0], -0.15707964f);
    EXPECT_FLOAT_EQ(joint.rotationMax[2], 0.15707964f);
    EXPECT_EQ(joint.springRotation, (Float3{4, 5, 6}));
}

TEST(GeneratorPhysics, BodiesAreRotatedWithTheirPartAndFollowTheOwnersBone) {
    CTempFolder folder("physics");
    CDotDocument document;
    MakeAllMaterials(document);
    CDotPart& root = AddPart(document, nullptr, u"根");
    CDotPart& flap = AddPart(document, &root, u"ひれ", BONE_NONE);
    root.SetDot(0, 0, 0, 2);
    FillBox(flap, 16, 19, 16, 16, 16, 16, 2); // four dots along x from the centre
    flap.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    const float h = std::sqrt(0.5f);
    flap.worldRotation = {0, 0, h, h}; // a quarter turn about z
    flap.worldPosition = {2, 3, 4, 0};
    root.worldPosition = {0, 1, 0, 0};
    document.dotSize = 1.0f;
    GENERATED g = GenerateFile(document, folder.File("p.pmd"));

    ASSERT_EQ(g.file.rigidBodies.size(), 1u);
    const auto& body = g.file.rigidBodies[0];
    EXPECT_EQ(body.bone, 0); // the root's bone moves the bone-less part
    ExpectNear(body.size, {2.0f, 0.5f, 0.5f});
    // The centre (2, 0.5, 0.5) turned to (-0.5, 2, 0.5), then moved by the
    // part's joint point relative to its owner's.
    ExpectNear(body.position, {-0.5f + 2, 2 + 2, 0.5f + 4});
    ExpectNear(body.rotation, {0, 0, std::numbers::pi_v<float> / 2});
}
