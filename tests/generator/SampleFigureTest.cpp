// The sample figure (examples/figure.kbrl) generates into a model that
// stands on the ground with the standard rig and everything the example
// promises: textures, materials with a translucent one last, a blink morph,
// and a ponytail with a rigid body jointed to the head's.

#include "generator/GeneratorTestUtil.h"

#include "document/DocumentFile.h"
#include "document/TextCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

const std::filesystem::path Figure =
    std::filesystem::path(KUBRELL_TEST_DATA).parent_path().parent_path() / "examples" /
    "figure.kbrl";

int BoneIndex(const PMDContents& file, const std::u16string& name) {
    for (size_t i = 0; i < file.bones.size(); ++i)
        if (PMDText(file.bones[i].name) == name)
            return static_cast<int>(i);
    ADD_FAILURE() << "no bone " << Utf16ToUtf8(name);
    return -1;
}

} // namespace

TEST(SampleFigure, GeneratesAStandingRiggedModel) {
    CTempFolder folder("figure");
    CDotDocument document;
    LoadDocumentFile(Figure.string(), document);
    GENERATED g = GenerateFile(document, folder.File("figure.pmd"));
    const PMDContents& file = g.file;

    // Standing: the soles on the ground, the head at the top, left and right
    // alike.
    float low[3] = {1e9f, 1e9f, 1e9f}, high[3] = {-1e9f, -1e9f, -1e9f};
    for (const auto& v : file.vertices)
        for (size_t k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], v.position[k]);
            high[k] = std::max(high[k], v.position[k]);
        }
    EXPECT_FLOAT_EQ(low[1], 0.0f);
    EXPECT_FLOAT_EQ(high[1], 19.5f);
    EXPECT_NEAR(low[0], -high[0], 1e-4);

    // The standard rig: 19 standard bones, the ponytail, two IK bones; the
    // head's bone-less eye parts add none.
    EXPECT_EQ(file.bones.size(), 22u);
    const int head = BoneIndex(file, u"頭");
    const int tail = BoneIndex(file, u"ポニーテール");
    EXPECT_EQ(file.bones[static_cast<size_t>(tail)].parent, head);
    EXPECT_EQ(file.bones[static_cast<size_t>(BoneIndex(file, u"左ひじ"))].parent,
              BoneIndex(file, u"左腕"));
    ASSERT_EQ(file.iks.size(), 2u);
    for (const auto& ik : file.iks) {
        EXPECT_EQ(ik.iterations, 40);
        EXPECT_FLOAT_EQ(ik.weight, 0.5f);
        EXPECT_EQ(ik.chain.size(), 2u);
        // The IK bone sits on its ankle.
        EXPECT_EQ(file.bones[ik.ikBone].position, file.bones[ik.target].position);
    }
    // The arms hang out and down from the shoulders.
    const auto& arm = file.bones[static_cast<size_t>(BoneIndex(file, u"左腕"))].position;
    const auto& elbow = file.bones[static_cast<size_t>(BoneIndex(file, u"左ひじ"))].position;
    EXPECT_GT(elbow[0], arm[0]);
    EXPECT_LT(elbow[1], arm[1]);

    // Textured colours, three opaque materials, the translucent glasses last.
    ASSERT_EQ(file.materials.size(), 5u);
    EXPECT_EQ(PMDText(file.materials[0].texture), u"figure.png");
    EXPECT_FLOAT_EQ(file.materials[4].diffuse[3], 0.5f);
    for (size_t m = 0; m < 5; ++m)
        EXPECT_GT(file.materials[m].faceVertexCount, 0u) << m;

    ASSERT_EQ(file.morphs.size(), 2u);
    EXPECT_EQ(PMDText(file.morphs[1].name), u"まばたき");

    ASSERT_EQ(file.rigidBodies.size(), 2u);
    EXPECT_EQ(PMDText(file.rigidBodies[0].name), u"頭");
    EXPECT_EQ(file.rigidBodies[0].mode, 0);
    EXPECT_EQ(PMDText(file.rigidBodies[1].name), u"ポニーテール");
    EXPECT_EQ(file.rigidBodies[1].mode, 2);
    EXPECT_EQ(file.rigidBodies[1].bone, tail);
    ASSERT_EQ(file.joints.size(), 1u);
    EXPECT_EQ(file.joints[0].bodyA, 0u);
    EXPECT_EQ(file.joints[0].bodyB, 1u);
}
