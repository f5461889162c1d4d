// Random models written and parsed back: every record lands in its section
// with its values, whatever the counts.

#include "document/Archive.h"
#include "document/TextCodec.h"
#include "generator/PMDModel.h"
#include "support/PMDReader.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class RandomModel {
public:
    explicit RandomModel(unsigned seed) : rng_(seed) {}

    CPMDModel Make() {
        CPMDModel model;
        model.name = u"乱" + Name();
        size_t vertexCount = Count(300);
        for (size_t i = 0; i < vertexCount; ++i)
            model.vertices.emplace_back(Float3(), Float3(), PMDFloat2{Float(), Float()},
                                        Int(-1, 20));
        for (size_t i = Count(200) * 3; i > 0; --i)
            model.faces.push_back(static_cast<uint16_t>(Int(0, int(vertexCount))));
        for (size_t i = Count(5); i > 0; --i) {
            CModelMaterial& m = model.materials.emplace_back();
            m.diffuse = {Float(), Float(), Float(), Float()};
            m.ambient = {Float(), Float(), Float(), 1};
            m.specular = {Float(), Float(), Float(), 1};
            m.power = Float();
            m.edge = Int(0, 1) == 1;
            m.texture = Int(0, 1) ? u"dir/" + Name() + u".png" : u"";
            m.faceVertexCount = static_cast<uint32_t>(Int(0, 600));
        }
        for (size_t i = Count(20); i > 0; --i) {
            CModelBone& b = model.AddBone(Name());
            b.parent = Int(-1, 19);
            b.tail = Int(-1, 19);
            b.type = Int(0, 7);
            b.ikBone = Int(0, 19);
            b.position = Float3();
        }
        for (size_t i = Count(4); i > 0; --i) {
            CModelIK& ik = model.AddIK(Int(0, 19), Int(0, 19), Int(0, 100), Float());
            for (size_t k = Count(6); k > 0; --k)
                ik.chain.push_back(Int(0, 19));
        }
        for (size_t i = vertexCount ? Count(4) : 0; i > 0; --i) {
            CModelMorph& morph = model.AddMorph(Name(), Int(1, 4));
            for (size_t k = Count(10); k > 0; --k)
                morph.vertices.push_back({Int(0, int(vertexCount) - 1), Float3()});
        }
        for (size_t i = Count(3); i > 0; --i) {
            CModelBoneGroup& group = model.AddBoneGroup(Name());
            for (size_t k = Count(5); k > 0; --k)
                group.bones.push_back(Int(-1, 25));
        }
        for (size_t i = Count(4); i > 0; --i) {
            CRigidBody& body = model.AddRigidBody(Name(), Int(0, 15));
            body.bone = Int(-1, 19);
            body.shape = Int(0, 2);
            body.size = Float3();
            body.position = Float3();
            body.rotation = Float3();
            body.mass = Float();
            body.linearDamping = Float();
            body.angularDamping = Float();
            body.restitution = Float();
            body.friction = Float();
            body.mode = Int(0, 2);
        }
        for (size_t i = Count(3); i > 0; --i) {
            CJoint& joint = model.AddJoint(Name());
            joint.bodyA = Int(-1, 3);
            joint.bodyB = Int(-1, 3);
            for (PMDFloat3* v : {&joint.position, &joint.rotation, &joint.positionMin,
                                 &joint.positionMax, &joint.rotationMin, &joint.rotationMax,
                                 &joint.springPosition, &joint.springRotation})
                *v = Float3();
        }
        return model;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    size_t Count(int max) { return static_cast<size_t>(Int(0, max)); }
    float Float() { return std::uniform_real_distribution<float>(-100, 100)(rng_); }
    PMDFloat3 Float3() { return {Float(), Float(), Float()}; }
    std::u16string Name() {
        static const std::u16string letters = u"abcxyz頭腕足ボーン";
        std::u16string name;
        for (size_t i = Count(12); i > 0; --i)
            name += letters[Count(int(letters.size()) - 1)];
        return name;
    }

    std::mt19937 rng_;
};

PMDContents::Float3 F3(const PMDFloat3& v) { return {v.x, v.y, v.z}; }

// The text a field holds when its text fits.
std::u16string Fitted(std::u16string_view text, size_t width) {
    std::string bytes = Utf16ToCp932(text);
    bytes.resize(std::min(bytes.size(), width));
    return Cp932ToUtf16(bytes);
}

void ExpectSameModel(const CPMDModel& model, const PMDContents& file) {
    EXPECT_EQ(file.version, 1.0f);
    EXPECT_EQ(PMDText(file.name), Fitted(model.name, 20));
    ASSERT_EQ(file.vertices.size(), model.vertices.size());
    for (size_t i = 0; i < model.vertices.size(); ++i) {
        const CModelVertex& v = model.vertices[i];
        const PMDContents::VERTEX& r = file.vertices[i];
        EXPECT_EQ(r.position, F3(v.position));
        EXPECT_EQ(r.normal, F3(v.normal));
        EXPECT_EQ(r.uv, (std::array<float, 2>{v.uv.x, v.uv.y}));
        EXPECT_EQ(r.bone0, uint16_t(v.bone0));
        EXPECT_EQ(r.bone1, 0xFFFF);
        EXPECT_EQ(r.weight, 100);
    }
    EXPECT_EQ(std::vector<uint32_t>(file.faces.begin(), file.faces.end()), model.faces);
    ASSERT_EQ(file.materials.size(), model.materials.size());
    for (size_t i = 0; i < model.materials.size(); ++i) {
        const CModelMaterial& m = model.materials[i];
        const PMDContents::MATERIAL& r = file.materials[i];
        EXPECT_EQ(r.diffuse,
                  (std::array<float, 4>{m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a}));
        EXPECT_EQ(r.ambient, (PMDContents::Float3{m.ambient.r, m.ambient.g, m.ambient.b}));
        EXPECT_EQ(r.specular, (PMDContents::Float3{m.specular.r, m.specular.g, m.specular.b}));
        EXPECT_EQ(r.power, m.power);
        EXPECT_EQ(r.edge, m.edge ? 1 : 0);
        EXPECT_EQ(r.faceVertexCount, m.faceVertexCount);
        std::u16string_view texture(m.texture);
        EXPECT_EQ(PMDText(r.texture), Fitted(texture.substr(texture.empty() ? 0 : 4), 20));
    }
    ASSERT_EQ(file.bones.size(), size_t(model.BoneCount()));
    for (int i = 0; i < model.BoneCount(); ++i) {
        const CModelBone& b = model.Bone(i);
        const PMDContents::BONE& r = file.bones[size_t(i)];
        EXPECT_EQ(PMDText(r.name), Fitted(NameText(b.name), 20));
        EXPECT_EQ(r.parent, uint16_t(b.parent));
        EXPECT_EQ(r.tail, uint16_t(b.tail));
        EXPECT_EQ(r.type, b.type);
        EXPECT_EQ(r.ikBone, b.ikBone);
        EXPECT_EQ(r.position, F3(b.position));
    }
    ASSERT_EQ(file.iks.size(), model.iks.size());
    for (size_t i = 0; i < model.iks.size(); ++i) {
        EXPECT_EQ(file.iks[i].ikBone, model.iks[i].ikBone);
        EXPECT_EQ(file.iks[i].target, model.iks[i].target);
        EXPECT_EQ(file.iks[i].iterations, model.iks[i].iterations);
        EXPECT_EQ(file.iks[i].weight, model.iks[i].weight);
        EXPECT_EQ(std::vector<int32_t>(file.iks[i].chain.begin(), file.iks[i].chain.end()),
                  model.iks[i].chain);
    }
    // Applying a morph through the base list gives back its own vertices and offsets.
    ASSERT_EQ(file.morphs.size(), model.morphs.empty() ? 0 : model.morphs.size() + 1);
    for (size_t i = 0; i < model.morphs.size(); ++i) {
        const CModelMorph& m = model.morphs[i];
        const PMDContents::MORPH& r = file.morphs[i + 1];
        EXPECT_EQ(PMDText(r.name), Fitted(NameText(m.name), 20));
        EXPECT_EQ(r.type, m.type);
        ASSERT_EQ(r.vertices.size(), m.vertices.size());
        for (size_t k = 0; k < m.vertices.size(); ++k) {
            const auto& baseEntry = file.morphs[0].vertices.at(r.vertices[k].vertex);
            EXPECT_EQ(baseEntry.vertex, uint32_t(m.vertices[k].vertex));
            EXPECT_EQ(baseEntry.offset, F3(model.vertices[size_t(m.vertices[k].vertex)].position));
            EXPECT_EQ(r.vertices[k].offset, F3(m.vertices[k].offset));
        }
    }
    EXPECT_EQ(file.morphDisplay.size(), model.morphs.size());
    ASSERT_EQ(file.groupNames.size(), model.boneGroups.size());
    size_t entry = 0;
    for (size_t g = 0; g < model.boneGroups.size(); ++g) {
        EXPECT_EQ(PMDText(file.groupNames[g]), Fitted(model.boneGroups[g].name, 50));
        for (int32_t bone : model.boneGroups[g].bones) {
            ASSERT_LT(entry, file.groupEntries.size());
            bool known = bone >= 0 && bone < model.BoneCount();
            EXPECT_EQ(file.groupEntries[entry].bone, known ? bone : 0xFFFF);
            EXPECT_EQ(file.groupEntries[entry].group, g + 1);
            ++entry;
        }
    }
    EXPECT_EQ(entry, file.groupEntries.size());
    EXPECT_EQ(file.englishFlag, 0);
    ASSERT_EQ(file.rigidBodies.size(), model.rigidBodies.size());
    for (size_t i = 0; i < model.rigidBodies.size(); ++i) {
        const CRigidBody& b = model.rigidBodies[i];
        const PMDContents::RIGID_BODY& r = file.rigidBodies[i];
        EXPECT_EQ(PMDText(r.name), Fitted(b.name, 20));
        EXPECT_EQ(r.bone, uint16_t(b.bone));
        EXPECT_EQ(r.group, b.group);
        EXPECT_EQ(r.mask, b.mask);
        EXPECT_EQ(r.shape, b.shape);
        EXPECT_EQ(r.size, F3(b.size));
        EXPECT_EQ(r.position, F3(b.position));
        EXPECT_EQ(r.rotation, F3(b.rotation));
        EXPECT_EQ((std::array<float, 5>{r.mass, r.linearDamping, r.angularDamping, r.restitution,
                                        r.friction}),
                  (std::array<float, 5>{b.mass, b.linearDamping, b.angularDamping, b.restitution,
                                        b.friction}));
        EXPECT_EQ(r.mode, b.mode);
    }
    ASSERT_EQ(file.joints.size(), model.joints.size());
    for (size_t i = 0; i < model.joints.size(); ++i) {
        const CJoint& j = model.joints[i];
        const PMDContents::JOINT& r = file.joints[i];
        EXPECT_EQ(PMDText(r.name), Fitted(j.name, 20));
        EXPECT_EQ(r.bodyA, uint32_t(j.bodyA));
        EXPECT_EQ(r.bodyB, uint32_t(j.bodyB));
        EXPECT_EQ(r.position, F3(j.position));
        EXPECT_EQ(r.rotation, F3(j.rotation));
        EXPECT_EQ(r.positionMin, F3(j.positionMin));
        EXPECT_EQ(r.positionMax, F3(j.positionMax));
        EXPECT_EQ(r.rotationMin, F3(j.rotationMin));
        EXPECT_EQ(r.rotationMax, F3(j.rotationMax));
        EXPECT_EQ(r.springPosition, F3(j.springPosition));
        EXPECT_EQ(r.springRotation, F3(j.springRotation));
    }
}

} // namespace

TEST(PMDRoundTrip, RandomModelsReadBackRecordForRecord) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CPMDModel model = RandomModel(seed).Make();
        ExpectSameModel(model, ReadPMD(model.ToBytes()));
        if (::testing::Test::HasFailure())
            break;
    }
}

TEST(PMDRoundTrip, StreamedThroughAnyBufferTheBytesAreThoseOfTheWholeFile) {
    // Buffers smaller than a vertex, a vertex exactly, odd and large sizes:
    // every record must land whole whether or not it crosses a piece.
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const CPMDModel model = RandomModel(seed).Make();
        const std::vector<uint8_t> whole = model.ToBytes();
        for (size_t bufferSize :
             {size_t{1}, size_t{37}, size_t{38}, size_t{1000}, CPMDModel::FILE_BUFFER_SIZE}) {
            std::vector<uint8_t> streamed;
            CArchiveWriter archive(
                [&](std::span<const uint8_t> piece) {
                    streamed.insert(streamed.end(), piece.begin(), piece.end());
                },
                bufferSize);
            model.Write(archive);
            archive.Flush();
            ASSERT_EQ(streamed, whole) << bufferSize;
        }
    }
}

TEST(PMDRoundTrip, ReaderRefusesCutAndPaddedFiles) {
    CPMDModel model = RandomModel(7).Make();
    std::vector<uint8_t> bytes = model.ToBytes();
    ASSERT_NO_THROW(ReadPMD(bytes));
    for (size_t size = 0; size < bytes.size(); size += 1 + size / 64)
        EXPECT_THROW(ReadPMD(std::span(bytes).first(size)), CArchiveException) << size;
    bytes.push_back(0);
    EXPECT_THROW(ReadPMD(bytes), CArchiveException);
}
