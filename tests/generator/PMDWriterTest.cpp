// Byte-exact checks of the PMD writer: whole files of small models with the
// expected bytes written out by hand, the text field rule, the morph section
// and bone groups.

#include "document/Archive.h"
#include "generator/PMDModel.h"
#include "support/PMDReader.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

// Little-endian IEEE single floats.
#define F_0 0x00, 0x00, 0x00, 0x00
#define F_1 0x00, 0x00, 0x80, 0x3F
#define F_2 0x00, 0x00, 0x00, 0x40
#define F_4 0x00, 0x00, 0x80, 0x40
#define F_HALF 0x00, 0x00, 0x00, 0x3F
#define F_QUARTER 0x00, 0x00, 0x80, 0x3E
#define F_MINUS_1 0x00, 0x00, 0x80, 0xBF
#define F_015 0x9A, 0x99, 0x19, 0x3E
#define F_MINUS_015 0x9A, 0x99, 0x19, 0xBE

struct ByteList {
    std::vector<uint8_t> bytes;

    ByteList& Add(std::initializer_list<uint8_t> list) {
        bytes.insert(bytes.end(), list);
        return *this;
    }
    ByteList& Zeros(size_t count) {
        bytes.insert(bytes.end(), count, 0);
        return *this;
    }
    // Bytes of text, zero-padded to width.
    ByteList& Text(std::string_view text, size_t width) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return Zeros(width - text.size());
    }
    ByteList& ToonNames() {
        for (int i = 1; i <= 10; ++i)
            Text("toon" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".bmp", 100);
        return *this;
    }
};

// Reports the first differing byte rather than two dumps of a thousand bytes.
void ExpectSameBytes(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected) {
    size_t n = std::min(actual.size(), expected.size());
    for (size_t i = 0; i < n; ++i)
        if (actual[i] != expected[i]) {
            ADD_FAILURE() << "first difference at byte " << i << ": " << int(actual[i])
                          << " written, " << int(expected[i]) << " expected";
            return;
        }
    EXPECT_EQ(actual.size(), expected.size());
}

std::string Field(std::string_view bytes, size_t width) {
    std::string field(bytes);
    field.resize(width, '\0');
    return field;
}

} // namespace

TEST(PMDWriter, EmptyModelIsHeaderZeroCountsAndToonNames) {
    CPMDModel model;
    model.name = u"figure";
    ByteList expected;
    expected.Add({'P', 'm', 'd', F_1}).Text("figure", 20).Zeros(256);
    expected.Add({0, 0, 0, 0});    // vertices
    expected.Add({0, 0, 0, 0});    // face indices
    expected.Add({0, 0, 0, 0});    // materials
    expected.Add({0, 0});          // bones
    expected.Add({0, 0});          // IK
    expected.Add({0, 0, 0});       // no morphs, empty display list
    expected.Add({0, 0, 0, 0, 0}); // no groups, no group entries
    expected.Add({0}).ToonNames(); // English flag, toon names
    expected.Add({0, 0, 0, 0});    // rigid bodies
    expected.Add({0, 0, 0, 0});    // joints
    ASSERT_EQ(expected.bytes.size(), 1316u);
    ExpectSameBytes(model.ToBytes(), expected.bytes);
}

TEST(PMDWriter, OneRecordOfEachKind) {
    CPMDModel model;
    model.name = u"m";
    model.vertices.emplace_back(PMDFloat3{1, 2, -1}, PMDFloat3{0, 0.5f, 0}, PMDFloat2{0.25f, 1}, 1);
    model.faces = {0, 0, 0};
    CModelMaterial& material = model.materials.emplace_back();
    material.diffuse = {0.5f, 0.25f, 1, 0.5f};
    material.power = 4;
    material.specular = {0, 0, 0, 1};
    material.ambient = {2, 2, 2, 1};
    material.texture = u"/tmp/out/figure.png";
    material.faceVertexCount = 3;
    model.AddBone(u"センター").position = {0, 1, 0};
    CModelBone& ikBone = model.AddBone(u"ik");
    ikBone.parent = 0;
    ikBone.type = CModelBone::TYPE_IK;
    model.AddIK(1, 0, 40, 0.5f).chain = {1, 0};
    model.AddMorph(u"m1", CModelMorph::TYPE_OTHER).vertices.push_back({0, {0, -1, 0}});
    model.AddBoneGroup(u"IK").bones = {1, 5};
    CRigidBody& body = model.AddRigidBody(u"rb", 3);
    body.bone = 0;
    body.shape = CRigidBody::SHAPE_BOX;
    body.size = {1, 2, 0.5f};
    body.position = {0, 1, 0};
    body.mass = 1;
    body.linearDamping = body.angularDamping = body.friction = 0.5f;
    body.mode = CRigidBody::MODE_PHYSICS_BONE_POSITION;
    CJoint& joint = model.AddJoint(u"j");
    joint.bodyB = -1;
    joint.position = {0, 1, 0};
    joint.springPosition = {1, 1, 1};

    ByteList expected;
    expected.Add({'P', 'm', 'd', F_1}).Text("m", 20).Zeros(256);
    // Vertex: position, normal, uv, bone0 1, bone1 none, weight 100, no edge.
    expected.Add({1, 0, 0, 0});
    expected.Add({F_1, F_2, F_MINUS_1, F_0, F_HALF, F_0, F_QUARTER, F_1, 1, 0, 0xFF, 0xFF, 100, 0});
    expected.Add({3, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    // Material: diffuse rgb, alpha, power, specular rgb, ambient rgb, toon 0,
    // edge 1, 3 face indices, the texture's file name only.
    expected.Add({1, 0, 0, 0});
    expected.Add(
        {F_HALF, F_QUARTER, F_1, F_HALF, F_4, F_0, F_0, F_0, F_2, F_2, F_2, 0, 1, 3, 0, 0, 0});
    expected.Text("figure.png", 20);
    // Bones: name, parent, tail, type, IK parent, position.
    expected.Add({2, 0});
    expected.Text("\x83\x5A\x83\x93\x83\x5E\x81\x5B", 20); // センター
    expected.Add({0xFF, 0xFF, 0, 0, 1, 0, 0, F_0, F_1, F_0});
    expected.Text("ik", 20).Add({0, 0, 0, 0, 2, 0, 0, F_0, F_0, F_0});
    // IK: bone 1 pulls bone 0, chain of 2, 40 iterations, weight 0.5.
    expected.Add({1, 0, 1, 0, 0, 0, 2, 40, 0, F_HALF, 1, 0, 0, 0});
    // Morphs: two with the base; the base holds vertex 0 at its position, the
    // morph refers to base entry 0; then the display list (1 entry: morph 1).
    expected.Add({2, 0}).Text("base", 20).Add({1, 0, 0, 0, 0, 0, 0, 0, 0, F_1, F_2, F_MINUS_1});
    expected.Text("m1", 20).Add({1, 0, 0, 0, 4, 0, 0, 0, 0, F_0, F_MINUS_1, F_0});
    expected.Add({1, 1, 0});
    // Bone groups: one name; two entries, the second a bone the model lacks.
    expected.Add({1}).Text("IK", 50);
    expected.Add({2, 0, 0, 0, 1, 0, 1, 0xFF, 0xFF, 1});
    expected.Add({0}).ToonNames();
    // Rigid body in group 3: the mask clears bit 3.
    expected.Add({1, 0, 0, 0}).Text("rb", 20);
    expected.Add({0, 0, 3, 0xF7, 0xFF, 1, F_1, F_2, F_HALF, F_0, F_1, F_0, F_0, F_0, F_0});
    expected.Add({F_1, F_HALF, F_HALF, F_0, F_HALF, 2});
    // Joint: bodies 0 and none, position, rotation, limits, springs.
    expected.Add({1, 0, 0, 0}).Text("j", 20);
    expected.Add({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, F_0, F_1, F_0}).Zeros(36);
    expected.Add({F_MINUS_015, F_MINUS_015, F_MINUS_015, F_015, F_015, F_015});
    expected.Add({F_1, F_1, F_1}).Zeros(12);

    ExpectSameBytes(model.ToBytes(), expected.bytes);
}

TEST(PMDWriter, TextFieldsAreZeroPaddedOrCutToTheFieldWidth) {
    CPMDModel model;
    const std::u16string se10 = u"セセセセセセセセセセ"; // 20 bytes in code page 932
    model.name = u"a" + se10;                            // 21 bytes
    model.AddBone(u"センター");
    model.AddBone(u"abcdefghijklmnopqrst");        // exactly 20 bytes
    model.AddBone(u"abcdefghijklmnopqrstuvwxy");   // longer
    model.AddBone(std::u16string(u"ab\0cd", 5));   // a C string ends at its zero
    model.AddBone(u"a\u00E9b");                    // not in code page 932
    model.AddBoneGroup(std::u16string(30, u'あ')); // 60 bytes into 50
    model.materials.emplace_back().texture = u"C:\\models\\tex.png";
    model.materials.emplace_back().sphere = u"dir/sphere.bmp";
    model.materials.emplace_back();
    model.materials.emplace_back().texture = u"/x/abcdefghijklmnopqrstuvwxyz.png";
    model.toonTextures[9] = u"/usr/share/toon/mine.bmp";

    PMDContents file = ReadPMD(model.ToBytes());
    // The cut falls after the lead byte of the tenth "セ", keeping no terminator.
    std::string se9;
    for (int i = 0; i < 9; ++i)
        se9 += "\x83\x5A";
    EXPECT_EQ(file.name, "a" + se9 + "\x83");
    EXPECT_EQ(file.bones[0].name, Field("\x83\x5A\x83\x93\x83\x5E\x81\x5B", 20));
    EXPECT_EQ(file.bones[1].name, "abcdefghijklmnopqrst");
    EXPECT_EQ(file.bones[2].name, "abcdefghijklmnopqrst");
    EXPECT_EQ(file.bones[3].name, Field("ab", 20));
    EXPECT_EQ(file.bones[4].name, Field("a?b", 20));
    std::string a25;
    for (int i = 0; i < 25; ++i)
        a25 += "\x82\xA0";
    EXPECT_EQ(file.groupNames[0], a25);
    EXPECT_EQ(file.materials[0].texture, Field("tex.png", 20));
    EXPECT_EQ(file.materials[1].texture, Field("sphere.bmp", 20));
    EXPECT_EQ(file.materials[2].texture, Field("", 20));
    EXPECT_EQ(file.materials[3].texture, "abcdefghijklmnopqrst");
    EXPECT_EQ(file.toonTextures[0], Field("toon01.bmp", 100));
    EXPECT_EQ(file.toonTextures[9], Field("mine.bmp", 100));
}

TEST(PMDWriter, BaseMorphListsEveryMovedVertexOnceInFirstUseOrder) {
    CPMDModel model;
    for (int i = 0; i < 10; ++i)
        model.vertices.emplace_back(PMDFloat3{float(i), float(-i), 0.5f}, PMDFloat3{}, PMDFloat2{},
                                    0);

    // One morph moving vertices 7 and 3.
    model.AddMorph(u"目", CModelMorph::TYPE_EYE).vertices = {{7, {1, 0, 0}}, {3, {0, 1, 0}}};
    PMDContents one = ReadPMD(model.ToBytes());
    ASSERT_EQ(one.morphs.size(), 2u);
    EXPECT_EQ(PMDText(one.morphs[0].name), u"base");
    EXPECT_EQ(one.morphs[0].type, 0);
    ASSERT_EQ(one.morphs[0].vertices.size(), 2u);
    EXPECT_EQ(one.morphs[0].vertices[0].vertex, 7u);
    EXPECT_EQ(one.morphs[0].vertices[0].offset, (PMDContents::Float3{7, -7, 0.5f}));
    EXPECT_EQ(one.morphs[0].vertices[1].vertex, 3u);
    EXPECT_EQ(one.morphs[0].vertices[1].offset, (PMDContents::Float3{3, -3, 0.5f}));
    EXPECT_EQ(PMDText(one.morphs[1].name), u"目");
    EXPECT_EQ(one.morphs[1].type, 2);
    ASSERT_EQ(one.morphs[1].vertices.size(), 2u);
    EXPECT_EQ(one.morphs[1].vertices[0].vertex, 0u);
    EXPECT_EQ(one.morphs[1].vertices[0].offset, (PMDContents::Float3{1, 0, 0}));
    EXPECT_EQ(one.morphs[1].vertices[1].vertex, 1u);
    EXPECT_EQ(one.morphs[1].vertices[1].offset, (PMDContents::Float3{0, 1, 0}));
    EXPECT_EQ(one.morphDisplay, (std::vector<uint16_t>{1}));

    // A second morph reusing vertices, one of them twice, and adding vertex 9.
    model.AddMorph(u"m2", CModelMorph::TYPE_OTHER).vertices = {{3, {}}, {9, {}}, {7, {}}, {9, {}}};
    PMDContents two = ReadPMD(model.ToBytes());
    ASSERT_EQ(two.morphs.size(), 3u);
    std::vector<uint32_t> base, second;
    for (const auto& v : two.morphs[0].vertices)
        base.push_back(v.vertex);
    for (const auto& v : two.morphs[2].vertices)
        second.push_back(v.vertex);
    EXPECT_EQ(base, (std::vector<uint32_t>{7, 3, 9}));
    EXPECT_EQ(second, (std::vector<uint32_t>{1, 2, 0, 2}));
    EXPECT_EQ(two.morphDisplay, (std::vector<uint16_t>{1, 2}));
}

TEST(PMDWriter, MorphMovingAMissingVertexWritesNothing) {
    CPMDModel model;
    model.vertices.resize(3);
    model.AddMorph(u"m", CModelMorph::TYPE_OTHER).vertices = {{0, {}}, {3, {}}};
    CArchiveWriter archive;
    EXPECT_THROW(model.Write(archive), std::out_of_range);
    EXPECT_EQ(archive.Size(), 0u);
    model.morphs[0].vertices[1].vertex = -1;
    EXPECT_THROW(model.Write(archive), std::out_of_range);
}

TEST(PMDWriter, BoneGroupEntriesNumberGroupsFromOne) {
    CPMDModel model;
    model.AddBone(u"a");
    model.AddBone(u"b");
    model.AddBoneGroup(u"IK").bones = {1};
    model.AddBoneGroup(u"ボーン").bones = {0, -1, 2, 1};
    PMDContents file = ReadPMD(model.ToBytes());
    ASSERT_EQ(file.groupNames.size(), 2u);
    EXPECT_EQ(PMDText(file.groupNames[1]), u"ボーン");
    std::vector<std::pair<int, int>> entries;
    for (const auto& e : file.groupEntries)
        entries.emplace_back(e.bone, e.group);
    EXPECT_EQ(entries,
              (std::vector<std::pair<int, int>>{{1, 1}, {0, 2}, {0xFFFF, 2}, {0xFFFF, 2}, {1, 2}}));
}
