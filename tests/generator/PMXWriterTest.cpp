// The PMX writer on hand-made models: index widths at their boundaries,
// weights, and the references it refuses before a byte reaches the file.

#include "document/Archive.h"
#include "document/TextCodec.h"
#include "generator/PMDLimits.h"
#include "generator/PMXWriter.h"
#include "support/PMXReader.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

// A model of count vertices with one triangle that uses the last one.
CPMDModel ModelWithVertices(size_t count) {
    CPMDModel model;
    model.AddBone(u"センター");
    for (size_t i = 0; i < count; ++i)
        model.vertices.emplace_back(PMDFloat3{float(i), 0, 0}, PMDFloat3{0, 1, 0}, PMDFloat2{}, 0);
    const auto last = static_cast<uint32_t>(count - 1);
    model.faces = {0, last / 2, last};
    model.materials.emplace_back().faceVertexCount = 3;
    return model;
}

PMXContents RoundTrip(const CPMDModel& model) { return ReadPMX(PMXBytes(model)); }

} // namespace

TEST(PMXWriter, IndexWidthsGrowWithTheCountsAndKeepEveryIndex) {
    // Vertex indices are unsigned at 1 and 2 bytes; the others signed, so
    // that −1 stays free for "none".
    EXPECT_EQ(PMXVertexIndexSize(256), 1);
    EXPECT_EQ(PMXVertexIndexSize(257), 2);
    EXPECT_EQ(PMXVertexIndexSize(65536), 2);
    EXPECT_EQ(PMXVertexIndexSize(65537), 4);
    EXPECT_EQ(PMXIndexSize(128), 1);
    EXPECT_EQ(PMXIndexSize(129), 2);
    EXPECT_EQ(PMXIndexSize(32768), 2);
    EXPECT_EQ(PMXIndexSize(32769), 4);

    for (size_t count : {size_t{256}, size_t{257}, size_t{65536}, size_t{70000}}) {
        SCOPED_TRACE(count);
        PMXContents file = RoundTrip(ModelWithVertices(count));
        EXPECT_EQ(file.settings[2], PMXVertexIndexSize(count));
        ASSERT_EQ(file.vertices.size(), count);
        const auto last = static_cast<uint32_t>(count - 1);
        EXPECT_EQ(file.faces, (std::vector<uint32_t>{0, last / 2, last}));
    }

    // 200 bones: two-byte bone indices, −1 parents and the last bone intact.
    CPMDModel model = ModelWithVertices(3);
    for (int i = 1; i < 200; ++i)
        model.AddBone(u"骨" + Utf8ToUtf16(std::to_string(i))).parent = i - 1;
    model.vertices[2].bone0 = 199;
    PMXContents file = RoundTrip(model);
    EXPECT_EQ(file.settings[5], 2);
    EXPECT_EQ(file.bones[0].parent, -1);
    EXPECT_EQ(file.bones[199].parent, 198);
    EXPECT_EQ(file.vertices[2].bone0, 199);
    EXPECT_EQ(file.bones[199].name, u"骨199");
}

TEST(PMXWriter, WeightsEdgesAndHeader) {
    CPMDModel model = ModelWithVertices(3);
    model.AddBone(u"腕");
    model.vertices[0].bone1 = 1;
    model.vertices[0].weight = 30; // two bones
    model.vertices[1].bone1 = 1;
    model.vertices[1].weight = 0;  // all of bone1
    model.vertices[2].edge = true; // PMD: no edge here
    model.name = u"人形🎎";
    model.comment = u"説明";
    const std::vector<uint8_t> bytes = PMXBytes(model);
    ASSERT_GE(bytes.size(), 17u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "PMX ");
    PMXContents file = ReadPMX(bytes);
    EXPECT_EQ(file.version, 2.0f);
    EXPECT_EQ(file.settings[0], 0); // UTF-16LE
    EXPECT_EQ(file.settings[1], 0); // no additional UVs
    EXPECT_EQ(file.name, model.name);
    EXPECT_EQ(file.comment, u"説明");

    EXPECT_EQ(file.vertices[0].deform, 1);
    EXPECT_EQ(file.vertices[0].bone0, 0);
    EXPECT_EQ(file.vertices[0].bone1, 1);
    EXPECT_FLOAT_EQ(file.vertices[0].weight, 0.3f);
    EXPECT_EQ(file.vertices[1].deform, 0);
    EXPECT_EQ(file.vertices[1].bone0, 1);
    EXPECT_EQ(file.vertices[2].deform, 0);
    EXPECT_EQ(file.vertices[0].edgeScale, 1.0f);
    EXPECT_EQ(file.vertices[2].edgeScale, 0.0f);
}

TEST(PMXWriter, ReferencesToMissingRecordsAreRefusedAndTheFileKept) {
    CTempFolder folder("pmx-writer");
    const std::string path = folder.File("m.pmx");
    std::ofstream(path) << "previous";
    auto expectRefused = [&](const CPMDModel& model, const char* what) {
        SCOPED_TRACE(what);
        EXPECT_ANY_THROW(WritePMXFile(model, path));
        std::ifstream in(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "previous");
    };
    CPMDModel model = ModelWithVertices(4);
    model.faces[2] = 4;
    expectRefused(model, "a face past the vertices");

    model = ModelWithVertices(4);
    model.vertices[1].bone0 = 1;
    expectRefused(model, "a vertex bone past the bones");

    model = ModelWithVertices(4);
    model.AddMorph(u"目", CModelMorph::TYPE_OTHER).vertices.push_back({-1, {}});
    expectRefused(model, "a morph on vertex -1");

    model = ModelWithVertices(4);
    model.AddBone(u"足ＩＫ");
    model.AddIK(1, 0, 4, 1.0f);
    model.AddIK(1, 0, 4, 1.0f);
    expectRefused(model, "two IK records on one bone");

    model = ModelWithVertices(4);
    model.materials[0].faceVertexCount = 6;
    expectRefused(model, "material face counts that do not add up");

    model = ModelWithVertices(4);
    model.AddJoint(u"関節").bodyA = 0; // there is no body
    expectRefused(model, "a joint on a missing body");

    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}
