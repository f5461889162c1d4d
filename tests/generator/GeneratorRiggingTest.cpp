// IK records and morphs of generated models.

#include "generator/GeneratorTestUtil.h"

#include "document/TextCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// A leg: hip → knee → ankle, with a hidden part between knee and ankle.
struct LEG {
    CDotDocument document;
    CDotPart* hip;
    CDotPart* knee;
    CDotPart* gap;
    CDotPart* ankle;

    explicit LEG(const std::u16string& ankleName) {
        CDotPart& root = AddPart(document, nullptr, u"センター");
        hip = &AddPart(document, &root, u"足", BONE_ROTATE);
        knee = &AddPart(document, hip, u"ひざ", BONE_ROTATE);
        gap = &AddPart(document, knee, u"すき間", BONE_HIDDEN);
        ankle = &AddPart(document, gap, ankleName, BONE_ROTATE);
        for (CDotPart* p : {&root, hip, knee, ankle})
            p->SetDot(0, 0, 0, 8);
    }
};

std::u16string BoneName(const PMDContents& file, size_t index) {
    return PMDText(file.bones.at(index).name);
}

} // namespace

TEST(GeneratorIK, AnklesGetFortyIterationsOthersFourPerLevel) {
    CTempFolder folder("ik");
    for (const std::u16string name : {u"左足首", u"右足首", u"足首"}) {
        LEG leg(name);
        leg.ankle->ikName = u"足ＩＫ";
        leg.ankle->ikRange = 3; // the hidden part, the knee and the hip
        leg.ankle->worldPosition = {1, 2, 3, 0};
        leg.document.modelOffset = {0, 10, 0, 0};
        GENERATED g = GenerateFile(leg.document, folder.File("leg.pmd"));

        ASSERT_EQ(g.file.iks.size(), 1u);
        const auto& ik = g.file.iks[0];
        const bool ankle = name != u"足首";
        EXPECT_EQ(ik.iterations, ankle ? 40 : 12) << Utf16ToUtf8(name);
        EXPECT_FLOAT_EQ(ik.weight, ankle ? 0.5f : 1.0f);
        // Bones: センター, 足, ひざ, the ankle, then the IK bone.
        ASSERT_EQ(g.file.bones.size(), 5u);
        EXPECT_EQ(ik.ikBone, 4);
        EXPECT_EQ(BoneName(g.file, 4), u"足ＩＫ");
        EXPECT_EQ(g.file.bones[4].type, 2);
        EXPECT_EQ(g.file.bones[4].parent, 0xFFFF);
        EXPECT_EQ(g.file.bones[4].position, (PMDContents::Float3{1, 12, 3}));
        EXPECT_EQ(ik.target, 3);
        // The hidden part counts as a level but is not linked.
        EXPECT_EQ(ik.chain, (std::vector<uint16_t>{2, 1}));
        for (int bone : {1, 2, 3})
            EXPECT_EQ(g.file.bones[static_cast<size_t>(bone)].type, 4) << bone;
        EXPECT_EQ(g.file.bones[0].type, 1);
        // The IK bone is listed in the "IK" group, before the "ボーン" entries.
        ASSERT_FALSE(g.file.groupEntries.empty());
        EXPECT_EQ(g.file.groupEntries[0].bone, 4);
        EXPECT_EQ(g.file.groupEntries[0].group, 1);
    }
}

TEST(GeneratorIK, EmptyRangeAndIKParents) {
    CTempFolder folder("ik");
    LEG leg(u"足首");
    leg.knee->ikName = u"ひざＩＫ";
    leg.ankle->ikName = u"足ＩＫ";
    leg.ankle->ikRange = 0;
    leg.ankle->ikParent = leg.knee; // has an IK name: its IK bone is the parent
    leg.hip->ikName = u"足元";
    leg.hip->ikRange = 1;
    leg.hip->ikParent = leg.hip->parent; // no IK name: its own bone
    GENERATED g = GenerateFile(leg.document, folder.File("leg.pmd"));

    // IK records in tree order: hip, knee, ankle.
    ASSERT_EQ(g.file.iks.size(), 3u);
    EXPECT_EQ(BoneName(g.file, g.file.iks[0].ikBone), u"足元");
    EXPECT_EQ(g.file.bones[g.file.iks[0].ikBone].parent, 0);
    EXPECT_EQ(g.file.iks[0].iterations, 4);
    EXPECT_EQ(g.file.iks[0].chain, (std::vector<uint16_t>{0}));
    EXPECT_EQ(g.file.iks[1].iterations, 0);
    EXPECT_TRUE(g.file.iks[1].chain.empty());
    const auto& ankle = g.file.iks[2];
    EXPECT_EQ(ankle.iterations, 0);
    EXPECT_TRUE(ankle.chain.empty());
    EXPECT_EQ(BoneName(g.file, g.file.bones[ankle.ikBone].parent), u"ひざＩＫ");
    // All three IK bones in the "IK" group, in creation order.
    ASSERT_GE(g.file.groupEntries.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(g.file.groupEntries[i].bone, g.file.iks[i].ikBone);
}

TEST(GeneratorIK, AMissingBoneIsAnErrorNamingThePartAndWritesNothing) {
    CTempFolder folder("ik");
    const std::string pmd = folder.File("leg.pmd");
    const std::string png = folder.File("leg.png");
    std::ofstream(pmd) << "previous model";

    // The target itself has no bone.
    LEG target(u"足首");
    target.ankle->boneKind = BONE_NONE;
    target.ankle->ikName = u"足ＩＫ";
    try {
        CGenerator(target.document, pmd).Generate();
        FAIL() << "no error";
    } catch (const CGeneratorError& e) {
        EXPECT_NE(std::string(e.what()).find("\"足首\""), std::string::npos) << e.what();
    }

    // A chain link has no bone.
    LEG chain(u"足首");
    chain.knee->boneKind = BONE_NONE;
    chain.ankle->ikName = u"足ＩＫ";
    chain.ankle->ikRange = 2;
    try {
        CGenerator(chain.document, pmd).Generate();
        FAIL() << "no error";
    } catch (const CGeneratorError& e) {
        EXPECT_NE(std::string(e.what()).find("\"ひざ\""), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("\"足首\""), std::string::npos) << e.what();
    }

    std::ifstream in(pmd);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "previous model");
    EXPECT_FALSE(std::filesystem::exists(png));
}

TEST(GeneratorMorph, AMorphPartFoldsIntoItsJointPoint) {
    CTempFolder folder("morph");
    CDotDocument document;
    MakeAllMaterials(document);
    CDotPart& root = AddPart(document, nullptr, u"顔");
    CDotPart& eye = AddPart(document, &root, u"目");
    CDotPart& lid = AddPart(document, &eye, u"まぶた"); // follows the eye's morph
    root.SetDot(0, 0, 0, 2);
    eye.SetDot(3, 0, 0, 3);
    lid.SetDot(6, 0, 0, 4);
    eye.morph = 1;
    eye.worldPosition = {0.25f, 1, -2, 0};
    document.modelOffset = {0, 1, 0, 0};
    GENERATED g = GenerateFile(document, folder.File("face.pmd"));

    // The base morph, then the eye's.
    ASSERT_EQ(g.file.morphs.size(), 2u);
    const auto& morph = g.file.morphs[1];
    EXPECT_EQ(PMDText(morph.name), u"目");
    EXPECT_EQ(morph.type, 4);
    const auto& base = g.file.morphs[0].vertices;
    ASSERT_EQ(morph.vertices.size(), 48u); // the eye's and the lid's cubes
    for (const auto& entry : morph.vertices) {
        const auto& vertex = g.file.vertices.at(base.at(entry.vertex).vertex);
        EXPECT_EQ(vertex.bone0, entry.vertex < 24 ? 1 : 2);
        // Applied fully, the morph moves the vertex onto the joint point.
        EXPECT_FLOAT_EQ(vertex.position[0] + entry.offset[0], 0.25f);
        EXPECT_FLOAT_EQ(vertex.position[1] + entry.offset[1], 2.0f);
        EXPECT_FLOAT_EQ(vertex.position[2] + entry.offset[2], -2.0f);
    }
    EXPECT_EQ(g.file.morphDisplay, (std::vector<uint16_t>{1}));
}

TEST(GeneratorMorph, ALinkedMorphShowsItsPartCollapsedAndFoldsTheLinkedPart) {
    CTempFolder folder("morph");
    CDotDocument document;
    MakeAllMaterials(document);
    CDotPart& root = AddPart(document, nullptr, u"顔");
    CDotPart& open = AddPart(document, &root, u"開いた口");
    CDotPart& closed = AddPart(document, &root, u"閉じた口");
    CDotPart& tooth = AddPart(document, &closed, u"歯");
    root.SetDot(0, 0, 0, 2);
    open.SetDot(3, 0, 0, 3);
    closed.SetDot(6, 0, 0, 4);
    tooth.SetDot(9, 0, 0, 5);
    open.morph = 1;
    open.linkedPart = &closed;
    open.worldPosition = {1, 1, 1, 0};
    closed.worldPosition = {-1, 0, 0, 0};
    GENERATED g = GenerateFile(document, folder.File("mouth.pmd"));

    // The open mouth's vertices sit on its joint point in the model.
    int collapsed = 0;
    for (const auto& v : g.file.vertices)
        if (v.bone0 == 1) {
            EXPECT_EQ(v.position, (PMDContents::Float3{1, 1, 1}));
            ++collapsed;
        }
    // Vertices are shared before they collapse, so all 24 stay apart.
    EXPECT_EQ(collapsed, 24);

    ASSERT_EQ(g.file.morphs.size(), 2u);
    const auto& base = g.file.morphs[0].vertices;
    const auto& morph = g.file.morphs[1].vertices;
    ASSERT_EQ(morph.size(), 24u + 48u);
    for (size_t i = 0; i < morph.size(); ++i) {
        const auto& vertex = g.file.vertices.at(base.at(morph[i].vertex).vertex);
        if (i < 24) {
            // Unfolding: the offset leads from the joint point back out.
            EXPECT_EQ(vertex.bone0, 1);
            EXPECT_NE(morph[i].offset, (PMDContents::Float3{0, 0, 0}));
        } else {
            // The closed mouth and its tooth fold into the closed mouth's joint.
            EXPECT_TRUE(vertex.bone0 == 2 || vertex.bone0 == 3);
            EXPECT_FLOAT_EQ(vertex.position[0] + morph[i].offset[0], -1.0f);
            EXPECT_FLOAT_EQ(vertex.position[1] + morph[i].offset[1], 0.0f);
        }
    }
    // The base morph holds each moved vertex once, at its position in the
    // model.
    EXPECT_EQ(base.size(), morph.size());
    for (const auto& entry : base)
        EXPECT_EQ(entry.offset, g.file.vertices.at(entry.vertex).position);
}
