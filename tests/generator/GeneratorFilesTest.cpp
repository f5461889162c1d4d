// What generation writes when things go wrong: a model beyond the format's
// limits, a texture that cannot be saved, a model file that cannot be
// written.

#include "generator/GeneratorTestUtil.h"

#include "generator/PMDLimits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// 4,096 separate dots: 98,304 vertices, since separate cubes share nothing.
void SpreadDots(CDotPart& part) {
    for (int z = 0; z < 32; z += 2)
        for (int y = 0; y < 32; y += 2)
            for (int x = 0; x < 32; x += 2)
                part.SetDot(x, y, z, 2);
}

} // namespace

TEST(GeneratorFiles, AModelBeyondTheVertexLimitIsRefusedBeforeAnythingIsWritten) {
    CTempFolder folder("files");
    const std::string pmd = folder.File("big.pmd");
    std::ofstream(pmd) << "previous";
    CDotDocument document;
    SpreadDots(AddPart(document, nullptr, u"粒"));
    try {
        CGenerator(document, pmd).Generate();
        FAIL() << "no error";
    } catch (const CModelLimitError& e) {
        EXPECT_EQ(e.Count(), 98304u);
        EXPECT_EQ(e.Maximum(), 65535u);
        EXPECT_STREQ(e.what(), "the model has 98,304 vertices, 32,769 more than the 65,535 a PMD file can hold");
    }
    EXPECT_EQ(FileText(pmd), "previous");
    EXPECT_FALSE(fs::exists(folder.File("big.png")));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);

    // Far beyond the limit the build stops counting instead of using memory.
    for (const char16_t* name : {u"粒2", u"粒3"})
        SpreadDots(AddPart(document, nullptr, name));
    try {
        CGenerator(document, pmd).Generate();
        FAIL() << "no error";
    } catch (const CGeneratorError& e) {
        EXPECT_STREQ(e.what(), "the model has more than 262,140 vertices, far more than the 65,535 a PMD file can hold");
    }
    EXPECT_EQ(FileText(pmd), "previous");
}

TEST(GeneratorFiles, ATextureThatCannotBeSavedIsReportedAndTheModelStillWritten) {
    CTempFolder folder("files");
    CDotDocument document;
    AddPart(document, nullptr, u"本体").SetDot(0, 0, 0, 8);
    // A folder where the image should go: it cannot be replaced by a file.
    fs::create_directory(folder.File("m.png"));
    GENERATED g = GenerateFile(document, folder.File("m.pmd"));

    EXPECT_FALSE(g.result.textureError.empty());
    EXPECT_NE(g.result.textureError.find(folder.File("m.png")), std::string::npos) << g.result.textureError;
    EXPECT_EQ(g.result.texturePath, folder.File("m.png"));
    EXPECT_EQ(g.file.vertices.size(), 24u);
    EXPECT_EQ(PMDText(g.file.materials.at(0).texture), u"m.png");
    EXPECT_TRUE(fs::is_directory(folder.File("m.png")));
}

TEST(GeneratorFiles, AModelFileThatCannotBeWrittenRaisesAndLeavesNoFile) {
    CTempFolder folder("files");
    CDotDocument document;
    MakeAllMaterials(document);
    AddPart(document, nullptr, u"本体").SetDot(0, 0, 0, 2);
    const std::string pmd = folder.File("missing/m.pmd");
    EXPECT_THROW(CGenerator(document, pmd).Generate(), CArchiveException);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 0);

    // Over an existing file, the new model replaces it whole.
    const std::string existing = folder.File("m.pmd");
    std::ofstream(existing) << "previous";
    GENERATED g = GenerateFile(document, existing);
    EXPECT_EQ(g.file.vertices.size(), 24u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(GeneratorFiles, TheTextureIsNamedAfterTheModelWhateverItsExtension) {
    CTempFolder folder("files");
    CDotDocument document;
    AddPart(document, nullptr, u"本体").SetDot(0, 0, 0, 8);
    GENERATED g = GenerateFile(document, folder.File("人形.v2.model"));
    EXPECT_EQ(g.result.texturePath, folder.File("人形.v2.png"));
    EXPECT_TRUE(fs::exists(folder.File("人形.v2.png")));
    EXPECT_EQ(PMDText(g.file.name), u"人形.v2");
    EXPECT_EQ(PMDText(g.file.materials.at(0).texture), u"人形.v2.png");
}
