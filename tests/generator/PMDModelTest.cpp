#include "generator/PMDModel.h"

#include <gtest/gtest.h>

TEST(NameIds, EqualTextsShareOneIdentifierThatConvertsBack) {
    NameId center = ToNameId(u"センター");
    EXPECT_EQ(ToNameId(u"センター"), center);
    EXPECT_EQ(NameText(center), u"センター");
    NameId other = ToNameId(u"name ids: a text no other test uses");
    EXPECT_NE(other, center);
    EXPECT_EQ(NameText(other), u"name ids: a text no other test uses");
    EXPECT_EQ(ToNameId(u""), NameId::Empty);
    EXPECT_EQ(NameText(NameId::Empty), u"");
    EXPECT_FALSE(FindNameId(u"name ids: never entered"));
    EXPECT_THROW(NameText(static_cast<NameId>(0xFFFFFFF0u)), std::out_of_range);
}

TEST(PMDModel, FindBoneReturnsTheFirstBoneOfThatName) {
    CPMDModel model;
    EXPECT_EQ(model.FindBone(u"a"), -1);
    model.AddBone(u"a");
    model.AddBone(u"左足首");
    model.AddBone(u"a");
    model.AddBone(u"");
    EXPECT_EQ(model.FindBone(u"a"), 0);
    EXPECT_EQ(model.FindBone(u"左足首"), 1);
    EXPECT_EQ(model.FindBone(u""), 3);
    EXPECT_EQ(model.FindBone(u"右足首"), -1);
    EXPECT_EQ(model.FindBone(u"find bone: never entered"), -1);
    // Another model's bones are not found here.
    CPMDModel other;
    other.AddBone(u"find bone: other model");
    EXPECT_EQ(model.FindBone(u"find bone: other model"), -1);
    EXPECT_EQ(model.BoneCount(), 4);
    EXPECT_THROW(model.Bone(4), std::out_of_range);
    EXPECT_THROW(model.Bone(-1), std::out_of_range);
}

TEST(PMDModel, ReferencesToAddedRecordsStayValid) {
    CPMDModel model;
    CModelBone& first = model.AddBone(u"first");
    CRigidBody& body = model.AddRigidBody(u"body", 0);
    for (int i = 0; i < 1000; ++i) {
        model.AddBone(u"more");
        model.AddRigidBody(u"more", 0);
    }
    first.type = CModelBone::TYPE_INVISIBLE;
    body.mass = 2;
    EXPECT_EQ(model.Bone(0).type, CModelBone::TYPE_INVISIBLE);
    EXPECT_EQ(model.rigidBodies[0].mass, 2);
}

TEST(PMDModel, RecordsStartWithTheFormatsDefaults) {
    CModelMaterial material;
    EXPECT_EQ(material.diffuse, (PMDColor{1, 1, 1, 1}));
    EXPECT_EQ(material.power, 1);
    EXPECT_TRUE(material.edge);
    EXPECT_EQ(material.toonIndex, 0);

    CModelVertex vertex({1, 2, 3}, {0, 1, 0}, {0.5f, 0.5f}, 4);
    EXPECT_EQ(vertex.bone0, 4);
    EXPECT_EQ(vertex.bone1, -1);
    EXPECT_EQ(vertex.weight, 100);
    EXPECT_FALSE(vertex.edge);

    CPMDModel model;
    CModelBone& bone = model.AddBone(u"b");
    EXPECT_EQ(bone.parent, -1);
    EXPECT_EQ(bone.tail, 0);
    EXPECT_EQ(bone.type, CModelBone::TYPE_ROTATE_MOVE);

    // A body collides with every group but its own.
    EXPECT_EQ(model.AddRigidBody(u"r", 3).mask, 0xFFF7);
    EXPECT_EQ(model.AddRigidBody(u"r", 0).mask, 0xFFFE);
    EXPECT_EQ(model.AddRigidBody(u"r", 15).mask, 0x7FFF);
    EXPECT_EQ(model.rigidBodies[0].mode, CRigidBody::MODE_PHYSICS);
    EXPECT_EQ(model.rigidBodies[0].bone, -1);
}
