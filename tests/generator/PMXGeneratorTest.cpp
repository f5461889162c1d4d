// Generation into PMX: the format comes from the extension or the caller,
// models far beyond the PMD vertex limit are written whole, and a failed
// generation leaves the previous file as it was.

#include "generator/GeneratorTestUtil.h"

#include "generator/PMDLimits.h"
#include "support/PMXReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// 4,096 separate dots, 24 vertices each, in a part of its own.
void AddSpreadPart(CDotDocument& document, std::u16string name) {
    CDotPart& part = AddPart(document, nullptr, std::move(name));
    for (int z = 0; z < 32; z += 2)
        for (int y = 0; y < 32; y += 2)
            for (int x = 0; x < 32; x += 2)
                part.SetDot(x, y, z, 2);
}

size_t Entries(const fs::path& folder) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

TEST(PMXGenerator, TheFormatFollowsTheExtensionUnlessGiven) {
    EXPECT_EQ(ModelFormatOfPath("a/b.pmx"), ModelFormat::PMX);
    EXPECT_EQ(ModelFormatOfPath("B.PmX"), ModelFormat::PMX);
    EXPECT_EQ(ModelFormatOfPath("b.pmd"), ModelFormat::PMD);
    EXPECT_EQ(ModelFormatOfPath("pmx"), ModelFormat::PMD);
    EXPECT_EQ(ModelFormatOfPath("b.pmx.bak"), ModelFormat::PMD);

    CTempFolder folder("pmx-format");
    CDotDocument document;
    MakeAllMaterials(document);
    AddPart(document, nullptr, u"本体").SetDot(0, 0, 0, 2);
    CGenerator(document, folder.File("a.pmx")).Generate();
    CGenerator(document, folder.File("b.pmx"), ModelFormat::PMD).Generate();
    CGenerator(document, folder.File("c.bin"), ModelFormat::PMX).Generate();
    EXPECT_EQ(FileText(folder.File("a.pmx")).substr(0, 4), "PMX ");
    EXPECT_EQ(FileText(folder.File("b.pmx")).substr(0, 3), "Pmd");
    EXPECT_EQ(ReadPMX(ReadFileBytes(folder.File("c.bin"))).vertices.size(), 24u);
}

TEST(PMXGenerator, AModelRefusedAsPMDForItsVertexCountIsWrittenAsPMX) {
    CTempFolder folder("pmx-large");
    CDotDocument document;
    MakeAllMaterials(document);
    AddSpreadPart(document, u"粒");
    // 100 more separate dots: 100,704 vertices in all.
    CDotPart& more = AddPart(document, nullptr, u"粒二");
    for (int n = 0; n < 100; ++n)
        more.SetDot(n % 10 * 2, n / 10 * 2, 0, 3);

    try {
        CGenerator(document, folder.File("big.pmd")).Generate();
        FAIL() << "no error";
    } catch (const CModelLimitError& e) {
        EXPECT_STREQ(
            e.what(),
            "the model has 100,704 vertices, 35,169 more than the 65,535 a PMD file can hold");
    }
    EXPECT_EQ(Entries(folder.Path()), 0u);

    CGenerator generator(document, folder.File("big.pmx"));
    const CGenerator::RESULT result = generator.Generate();
    EXPECT_EQ(result.vertices, 100704u);
    const PMXContents file = ReadPMX(ReadFileBytes(folder.File("big.pmx")));
    EXPECT_EQ(file.settings[2], 4); // four-byte vertex indices
    ASSERT_EQ(file.vertices.size(), 100704u);
    const CPMDModel& model = generator.Model();
    ASSERT_EQ(file.faces.size(), model.faces.size());
    EXPECT_TRUE(std::equal(file.faces.begin(), file.faces.end(), model.faces.begin()));
    EXPECT_EQ(*std::max_element(file.faces.begin(), file.faces.end()), 100703u);
    for (size_t i = 0; i < model.vertices.size(); i += 997) {
        const PMDFloat3& p = model.vertices[i].position;
        EXPECT_EQ(file.vertices[i].position, (std::array{p.x, p.y, p.z})) << "vertex " << i;
    }
    EXPECT_EQ(Entries(folder.Path()), 1u); // no texture: every colour is a material
}

TEST(PMXGenerator, PMXHasNoCapAtFourTimesThePMDLimit) {
    CTempFolder folder("pmx-huge");
    CDotDocument document;
    MakeAllMaterials(document);
    for (const char16_t* name : {u"一", u"二", u"三"})
        AddSpreadPart(document, name);
    EXPECT_THROW(CGenerator(document, folder.File("huge.pmd")).Generate(), CGeneratorError);
    EXPECT_EQ(CGenerator(document, folder.File("huge.pmx")).Generate().vertices, 3u * 98304);
}

TEST(PMXGenerator, AFailedGenerationKeepsThePreviousFileAndLeavesNoOther) {
    CTempFolder folder("pmx-fail");
    CDotDocument document;
    MakeAllMaterials(document);
    CDotPart& body = AddPart(document, nullptr, u"本体");
    body.SetDot(0, 0, 0, 2);
    const std::string pmx = folder.File("m.pmx");

    // A folder that does not exist: nothing is left behind.
    EXPECT_THROW(CGenerator(document, folder.File("missing/m.pmx")).Generate(), CArchiveException);
    EXPECT_EQ(Entries(folder.Path()), 0u);

    // An IK on a part without a bone of its own is refused before writing.
    std::ofstream(pmx) << "previous";
    CDotPart& child = AddPart(document, &body, u"飾り", BONE_NONE);
    child.ikName = u"飾りＩＫ";
    EXPECT_THROW(CGenerator(document, pmx).Generate(), CGeneratorError);
    EXPECT_EQ(FileText(pmx), "previous");

    // Once it can be built, the new model replaces the old file whole.
    child.ikName.clear();
    CGenerator(document, pmx).Generate();
    EXPECT_EQ(ReadPMX(ReadFileBytes(pmx)).vertices.size(), 24u);
    EXPECT_EQ(Entries(folder.Path()), 1u);
}
