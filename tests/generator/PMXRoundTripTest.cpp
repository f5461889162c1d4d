// The same document generated as PMD and as PMX, both files parsed back and
// compared record by record: the PMX must hold the PMD's model, converted
// the way PMX readers expect it (absolute body positions, morph offsets from
// the vertex, IK blocks on the IK bones), with names whole.

#include "generator/GeneratorTestUtil.h"

#include "document/DocumentFile.h"
#include "document/TextCodec.h"
#include "generator/PMXWriter.h"
#include "support/PMXReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

using Float3 = std::array<float, 3>;

void ExpectNear3(const Float3& actual, const Float3& expected, const char* what) {
    for (size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(actual[k], expected[k], 1e-4f * (1.0f + std::abs(expected[k])))
            << what << " [" << k << "]";
}

int32_t Signed16(uint16_t index) { return static_cast<int16_t>(index); }

// The PMX name must equal the PMD one wherever the PMD field could hold it.
void ExpectSameName(const std::u16string& pmx, const std::string& pmdField) {
    const std::string bytes = Utf16ToCp932(pmx);
    const bool fits = bytes.size() <= pmdField.size() && Cp932ToUtf16(bytes) == pmx;
    if (fits) {
        EXPECT_EQ(pmx, PMDText(pmdField));
    }
}

void CompareVerticesAndMaterials(const PMDContents& pmd, const PMXContents& pmx) {
    ASSERT_EQ(pmx.vertices.size(), pmd.vertices.size());
    for (size_t i = 0; i < pmd.vertices.size(); ++i) {
        const auto& d = pmd.vertices[i];
        const auto& x = pmx.vertices[i];
        ASSERT_EQ(x.position, d.position) << "vertex " << i;
        ASSERT_EQ(x.normal, d.normal) << "vertex " << i;
        ASSERT_EQ(x.uv, d.uv) << "vertex " << i;
        ASSERT_EQ(x.deform, 0) << "vertex " << i; // every generated vertex has one bone
        ASSERT_EQ(x.bone0, Signed16(d.bone0)) << "vertex " << i;
        ASSERT_EQ(x.edgeScale, d.edge ? 0.0f : 1.0f) << "vertex " << i;
    }
    EXPECT_EQ(pmx.faces, std::vector<uint32_t>(pmd.faces.begin(), pmd.faces.end()));
    ASSERT_EQ(pmx.materials.size(), pmd.materials.size());
    for (size_t i = 0; i < pmd.materials.size(); ++i) {
        const auto& d = pmd.materials[i];
        const auto& x = pmx.materials[i];
        EXPECT_EQ(x.diffuse, d.diffuse);
        EXPECT_EQ(x.specular, d.specular);
        EXPECT_EQ(x.ambient, d.ambient);
        EXPECT_EQ(x.power, d.power);
        EXPECT_EQ(x.faceVertexCount, d.faceVertexCount);
        EXPECT_EQ((x.flags & 0x10) != 0, d.edge != 0) << "material " << i;
        EXPECT_EQ(x.edgeColour, (std::array<float, 4>{0, 0, 0, 1}));
        EXPECT_EQ(x.edgeSize, 1.0f);
        EXPECT_EQ(x.sharedToon, 1);
        EXPECT_EQ(x.toon, d.toonIndex);
        const std::u16string texture = PMDText(d.texture);
        if (texture.empty()) {
            EXPECT_EQ(x.texture, -1);
        } else {
            ASSERT_GE(x.texture, 0);
            EXPECT_EQ(pmx.textures.at(static_cast<size_t>(x.texture)), texture);
        }
    }
}

void CompareBones(const PMDContents& pmd, const PMXContents& pmx) {
    ASSERT_EQ(pmx.bones.size(), pmd.bones.size());
    for (size_t i = 0; i < pmd.bones.size(); ++i) {
        SCOPED_TRACE("bone " + std::to_string(i));
        const auto& d = pmd.bones[i];
        const auto& x = pmx.bones[i];
        ExpectSameName(x.name, d.name);
        EXPECT_EQ(x.position, d.position);
        EXPECT_EQ(x.parent, Signed16(d.parent));
        EXPECT_EQ(x.tail, d.tail == 0 ? -1 : Signed16(d.tail));
        EXPECT_EQ((x.flags & PMX_BONE_VISIBLE) != 0, d.type != CModelBone::TYPE_INVISIBLE);
        EXPECT_EQ((x.flags & PMX_BONE_MOVE) != 0,
                  d.type == CModelBone::TYPE_ROTATE_MOVE || d.type == CModelBone::TYPE_IK);
        EXPECT_TRUE(x.flags & PMX_BONE_ROTATE);
    }
    size_t ikBones = 0;
    for (const auto& bone : pmx.bones)
        ikBones += (bone.flags & PMX_BONE_IK) ? 1 : 0;
    EXPECT_EQ(ikBones, pmd.iks.size());
    for (const auto& ik : pmd.iks) {
        const auto& x = pmx.bones.at(ik.ikBone);
        SCOPED_TRACE("IK " + Utf16ToUtf8(x.name));
        ASSERT_TRUE(x.flags & PMX_BONE_IK);
        EXPECT_EQ(x.ikTarget, ik.target);
        EXPECT_EQ(x.ikLoops, ik.iterations);
        EXPECT_FLOAT_EQ(x.ikLimit, 4 * ik.weight);
        ASSERT_EQ(x.ikLinks.size(), ik.chain.size());
        for (size_t k = 0; k < ik.chain.size(); ++k) {
            const auto& link = x.ikLinks[k];
            EXPECT_EQ(link.bone, ik.chain[k]);
            const bool knee = pmx.bones.at(static_cast<size_t>(link.bone)).name.find(u"ひざ") !=
                              std::u16string::npos;
            EXPECT_EQ(link.limited, knee);
            if (knee) {
                ExpectNear3(link.min, {-3.14159265f, 0, 0}, "knee min");
                ExpectNear3(link.max, {-0.00872664626f, 0, 0}, "knee max");
            }
        }
    }
}

void CompareMorphsAndFrames(const PMDContents& pmd, const PMXContents& pmx) {
    const size_t morphs = pmd.morphs.empty() ? 0 : pmd.morphs.size() - 1;
    ASSERT_EQ(pmx.morphs.size(), morphs);
    for (size_t m = 0; m < morphs; ++m) {
        const auto& d = pmd.morphs[m + 1];
        const auto& x = pmx.morphs[m];
        ExpectSameName(x.name, d.name);
        EXPECT_EQ(x.panel, d.type);
        ASSERT_EQ(x.offsets.size(), d.vertices.size());
        for (size_t k = 0; k < d.vertices.size(); ++k) {
            // PMD: a place in the base list and an offset from the base position.
            const auto& base = pmd.morphs[0].vertices.at(d.vertices[k].vertex);
            ASSERT_EQ(x.offsets[k].vertex, base.vertex);
            const Float3& at = pmx.vertices.at(base.vertex).position;
            const Float3& o = d.vertices[k].offset;
            ExpectNear3(x.offsets[k].offset,
                        {base.offset[0] + o[0] - at[0], base.offset[1] + o[1] - at[1],
                         base.offset[2] + o[2] - at[2]},
                        "morph offset");
        }
    }
    ASSERT_EQ(pmx.frames.size(), pmd.groupNames.size() + 2);
    EXPECT_EQ(pmx.frames[0].name, u"Root");
    EXPECT_EQ(pmx.frames[0].special, 1);
    if (!pmx.bones.empty()) {
        ASSERT_EQ(pmx.frames[0].entries.size(), 1u);
        EXPECT_EQ(pmx.frames[0].entries[0].index, 0);
    }
    EXPECT_EQ(pmx.frames[1].name, u"表情");
    ASSERT_EQ(pmx.frames[1].entries.size(), morphs);
    for (size_t m = 0; m < morphs; ++m) {
        EXPECT_EQ(pmx.frames[1].entries[m].kind, 1);
        EXPECT_EQ(pmx.frames[1].entries[m].index, static_cast<int32_t>(m));
    }
    for (size_t g = 0; g < pmd.groupNames.size(); ++g) {
        const auto& frame = pmx.frames[g + 2];
        EXPECT_EQ(frame.name, PMDText(pmd.groupNames[g]));
        std::vector<int32_t> expected, actual;
        for (const auto& entry : pmd.groupEntries)
            if (entry.group == g + 1)
                expected.push_back(entry.bone);
        for (const auto& entry : frame.entries)
            actual.push_back(entry.index);
        EXPECT_EQ(actual, expected) << "frame " << g;
    }
}

void ComparePhysics(const PMDContents& pmd, const PMXContents& pmx) {
    ASSERT_EQ(pmx.rigidBodies.size(), pmd.rigidBodies.size());
    for (size_t i = 0; i < pmd.rigidBodies.size(); ++i) {
        SCOPED_TRACE("body " + std::to_string(i));
        const auto& d = pmd.rigidBodies[i];
        const auto& x = pmx.rigidBodies[i];
        ExpectSameName(x.name, d.name);
        EXPECT_EQ(x.bone, Signed16(d.bone));
        EXPECT_EQ(x.group, d.group);
        EXPECT_EQ(x.mask, d.mask);
        EXPECT_EQ(x.shape, d.shape);
        EXPECT_EQ(x.size, d.size);
        EXPECT_EQ(x.rotation, d.rotation);
        EXPECT_EQ(x.mode, d.mode);
        EXPECT_EQ(
            (std::array{x.mass, x.linearDamping, x.angularDamping, x.restitution, x.friction}),
            (std::array{d.mass, d.linearDamping, d.angularDamping, d.restitution, d.friction}));
        // PMD places a body relative to its bone, PMX in model space.
        Float3 at{};
        if (x.bone >= 0)
            at = pmx.bones.at(static_cast<size_t>(x.bone)).position;
        ExpectNear3(x.position,
                    {d.position[0] + at[0], d.position[1] + at[1], d.position[2] + at[2]},
                    "position");
    }
    ASSERT_EQ(pmx.joints.size(), pmd.joints.size());
    for (size_t i = 0; i < pmd.joints.size(); ++i) {
        const auto& d = pmd.joints[i];
        const auto& x = pmx.joints[i];
        ExpectSameName(x.name, d.name);
        EXPECT_EQ(x.bodyA, static_cast<int32_t>(d.bodyA));
        EXPECT_EQ(x.bodyB, static_cast<int32_t>(d.bodyB));
        EXPECT_EQ((std::array{x.position, x.rotation, x.positionMin, x.positionMax, x.rotationMin,
                              x.rotationMax, x.springPosition, x.springRotation}),
                  (std::array{d.position, d.rotation, d.positionMin, d.positionMax, d.rotationMin,
                              d.rotationMax, d.springPosition, d.springRotation}));
    }
}

void ComparePMXWithPMD(const PMDContents& pmd, const PMXContents& pmx) {
    ExpectSameName(pmx.name, pmd.name);
    CompareVerticesAndMaterials(pmd, pmx);
    CompareBones(pmd, pmx);
    CompareMorphsAndFrames(pmd, pmx);
    ComparePhysics(pmd, pmx);
}

struct BOTH {
    PMDContents pmd;
    PMXContents pmx;
};

// Generates document into folder as model.pmd and model.pmx and reads both.
BOTH GenerateBoth(CDotDocument& document, const CTempFolder& folder) {
    BOTH both;
    both.pmd = GenerateFile(document, folder.File("model.pmd")).file;
    CGenerator(document, folder.File("model.pmx")).Generate();
    both.pmx = ReadPMX(ReadFileBytes(folder.File("model.pmx")));
    return both;
}

// Documents with everything the generator turns into records: rotated and
// scaled parts of every kind, IK chains (with knees), morphs with and
// without linked parts, rigid bodies and joints, and names PMD cannot hold.
class RandomRiggedDocument {
public:
    explicit RandomRiggedDocument(unsigned seed) : random_(seed) {}

    void Fill(CDotDocument& document) {
        for (int i = 1; i <= 6; ++i)
            document.GetColor(i).SetMaterial(Chance(0.5));
        static const char16_t* const names[] = {u"腰",
                                                u"左ひざ",
                                                u"右ひざ",
                                                u"左足首",
                                                u"頭😀",
                                                u"café",
                                                u"とても長い名前の部品ですよね本当に",
                                                u"腕",
                                                u"手",
                                                u"尾"};
        std::vector<CDotPart*> made;
        const int count = 2 + Int(8);
        for (int n = 0; n < count; ++n) {
            CPart* parent = made.empty() || Chance(0.2)
                                ? nullptr
                                : made[static_cast<size_t>(Int(static_cast<int>(made.size())))];
            const int kind =
                Pick({BONE_MOVE, BONE_ROTATE, BONE_ROTATE, BONE_ROTATE, BONE_NONE, BONE_HIDDEN});
            CDotPart& part = AddPart(document, parent, names[n], kind);
            part.rate = Pick({1.0f, 0.5f, 2.0f});
            part.angle = {Angle(), Angle(), Angle()};
            part.parentPosition = {Int(65), Int(65), Int(65)};
            part.bonePosition = {Int(65), Int(65), Int(65)};
            const int side = 2 + Int(5);
            const int at = Int(32 - side);
            for (int z = 0; z < side; ++z)
                for (int y = 0; y < side; ++y)
                    for (int x = 0; x < side; ++x)
                        if (Chance(0.4))
                            part.SetDot(at + x, at + y, at + z, 1 + Int(6));
            if (Chance(0.3))
                part.ikName = std::u16string(names[n]) + u"ＩＫ";
            part.ikRange = Int(4);
            part.morph = Chance(0.25) ? 1 : 0;
            if (part.morph && !made.empty() && Chance(0.5))
                part.SetLinkedPart(made[static_cast<size_t>(Int(static_cast<int>(made.size())))]);
            if (Chance(0.5)) {
                part.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
                part.rigidBody->mass = 0.5f + static_cast<float>(Int(10));
            }
            if (Chance(0.5)) {
                part.joint = std::make_unique<JOINT_PARAMS>();
                part.joint->springRotation = {1.0f, 2.0f, static_cast<float>(Int(50))};
            }
            made.push_back(&part);
        }
        document.UpdateAllPlacements();
    }

private:
    int Int(int below) { return static_cast<int>(random_() % static_cast<unsigned>(below)); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    float Angle() {
        return Chance(0.5) ? 0.0f : static_cast<float>(Int(360) - 180) * 0.0174532924f;
    }
    template <typename T>
    T Pick(std::initializer_list<T> values) {
        return *(values.begin() + Int(static_cast<int>(values.size())));
    }

    std::mt19937 random_;
};

} // namespace

TEST(PMXRoundTrip, TheSampleFigureAgreesWithItsPMD) {
    CTempFolder folder("pmx-figure");
    CDotDocument document;
    LoadDocumentFile((std::filesystem::path(KUBRELL_TEST_DATA).parent_path().parent_path() /
                      "examples" / "figure.kbrl")
                         .string(),
                     document);
    BOTH both = GenerateBoth(document, folder);
    ASSERT_FALSE(both.pmd.iks.empty());
    ASSERT_FALSE(both.pmd.rigidBodies.empty());
    ComparePMXWithPMD(both.pmd, both.pmx);
    // The figure's names all fit PMD, so every one must be there.
    for (size_t i = 0; i < both.pmd.bones.size(); ++i)
        EXPECT_EQ(both.pmx.bones[i].name, PMDText(both.pmd.bones[i].name));
    EXPECT_EQ(both.pmx.name, u"model");
    EXPECT_EQ(both.pmx.textures, std::vector<std::u16string>{u"model.png"});
}

TEST(PMXRoundTrip, RandomRiggedDocumentsAgreeWithTheirPMD) {
    int generated = 0;
    struct {
        size_t iks = 0, kneeLinks = 0, morphs = 0, bodies = 0, joints = 0;
    } seen;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CTempFolder folder("pmx-random");
        CDotDocument document;
        RandomRiggedDocument(seed).Fill(document);
        BOTH both;
        try {
            both = GenerateBoth(document, folder);
        } catch (const CGeneratorError&) {
            continue; // an IK that needs a bone its part does not have
        }
        ++generated;
        ComparePMXWithPMD(both.pmd, both.pmx);
        if (HasFailure())
            break;
        seen.iks += both.pmd.iks.size();
        seen.morphs += both.pmx.morphs.size();
        seen.bodies += both.pmd.rigidBodies.size();
        seen.joints += both.pmd.joints.size();
        for (const auto& bone : both.pmx.bones)
            for (const auto& link : bone.ikLinks)
                seen.kneeLinks += link.limited ? 1 : 0;
    }
    // The documents exercise every kind of record.
    EXPECT_GE(generated, 30);
    EXPECT_GT(seen.iks, 10u);
    EXPECT_GT(seen.kneeLinks, 0u);
    EXPECT_GT(seen.morphs, 10u);
    EXPECT_GT(seen.bodies, 10u);
    EXPECT_GT(seen.joints, 5u);
}

TEST(PMXRoundTrip, NamesOutsideCodePage932AndLongNamesSurviveWhole) {
    CTempFolder folder("pmx-names");
    CDotDocument document;
    MakeAllMaterials(document);
    const std::u16string emoji = u"頭😀";
    const std::u16string latin = u"café";
    const std::u16string longName = u"とても長い名前の部品ですよね本当に";
    CDotPart& root = AddPart(document, nullptr, longName);
    root.SetDot(0, 0, 0, 2);
    AddPart(document, &root, emoji).SetDot(1, 1, 1, 2);
    CDotPart& morph = AddPart(document, &root, latin);
    morph.SetDot(5, 5, 5, 2);
    morph.morph = 1;
    morph.rigidBody = std::make_unique<RIGID_BODY_PARAMS>();
    document.UpdateAllPlacements();
    BOTH both = GenerateBoth(document, folder);
    ComparePMXWithPMD(both.pmd, both.pmx);

    ASSERT_EQ(both.pmx.bones.size(), 3u);
    EXPECT_EQ(both.pmx.bones[0].name, longName);
    EXPECT_EQ(both.pmx.bones[1].name, emoji);
    EXPECT_EQ(both.pmx.bones[2].name, latin);
    EXPECT_EQ(both.pmx.morphs.at(0).name, latin);
    EXPECT_EQ(both.pmx.rigidBodies.at(0).name, latin);
    // What PMD made of them: cut at 20 bytes, and '?' for what code page 932 lacks.
    EXPECT_EQ(PMDText(both.pmd.bones[0].name).size(), 10u);
    EXPECT_NE(PMDText(both.pmd.bones[1].name), emoji);
}
