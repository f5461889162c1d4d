// What generation writes when things go wrong: a model beyond the format's
// limits, a texture or model file that cannot be written (the old pair
// stays), temporaries left by a killed run, names at the file system's limit.

#include "generator/GeneratorTestUtil.h"

#include "document/DocumentFile.h"
#include "generator/PMDLimits.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Whether generating document into path throws CArchiveException while no
// file of the process may grow beyond limit bytes (a disk that fills up).
bool FailsWithFilesLimitedTo(rlim_t limit, CDotDocument& document, const std::string& path) {
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return false;
    const auto previous = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = limit;
    bool threw = false;
    if (setrlimit(RLIMIT_FSIZE, &limited) == 0) {
        try {
            CGenerator(document, path).Generate();
        } catch (const CArchiveException&) {
            threw = true;
        }
        setrlimit(RLIMIT_FSIZE, &saved);
    }
    signal(SIGXFSZ, previous);
    return threw;
}

// Generates document into STEM.pmd over an old pair STEM.pmd and STEM.png
// while files may not grow beyond limit bytes: the generation fails and the
// old pair stays.
void ExpectFullDiskKeepsOldPair(const CTempFolder& folder, CDotDocument& document,
                                const std::string& stem, rlim_t limit) {
    const std::string pmd = folder.File(stem + ".pmd"), png = folder.File(stem + ".png");
    std::ofstream(pmd) << "old model";
    std::ofstream(png) << "old texture";
    EXPECT_TRUE(FailsWithFilesLimitedTo(limit, document, pmd));
    EXPECT_EQ(FileText(pmd), "old model");
    EXPECT_EQ(FileText(png), "old texture");
}

size_t FileCount(const CTempFolder& folder) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()));
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
        EXPECT_STREQ(
            e.what(),
            "the model has 98,304 vertices, 32,769 more than the 65,535 a PMD file can hold");
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
        EXPECT_STREQ(e.what(), "the model has more than 262,140 vertices, far more than the 65,535 "
                               "a PMD file can hold");
    }
    EXPECT_EQ(FileText(pmd), "previous");
}

TEST(GeneratorFiles, WhenEitherFileCannotBeWrittenTheOldPairStays) {
    CTempFolder folder("files");
    CDotDocument document;
    AddPart(document, nullptr, u"本体").SetDot(0, 0, 0, 8);
    std::ofstream(folder.File("m.pmd")) << "old model";
    // A folder where the image should go: it cannot be replaced by a file.
    fs::create_directory(folder.File("m.png"));
    EXPECT_THROW(CGenerator(document, folder.File("m.pmd")).Generate(), CArchiveException);
    EXPECT_EQ(FileText(folder.File("m.pmd")), "old model");
    EXPECT_TRUE(fs::is_directory(folder.File("m.png")));

    // A folder where the model should go: no new texture is left behind.
    fs::create_directory(folder.File("d.pmd"));
    EXPECT_THROW(CGenerator(document, folder.File("d.pmd")).Generate(), CArchiveException);
    EXPECT_FALSE(fs::exists(folder.File("d.png")));

    // A full disk part-way through the model, after the texture was staged.
    // The texture is a few hundred bytes, the model more.
    ExpectFullDiskKeepsOldPair(folder, document, "f", 1000);
    EXPECT_EQ(FileCount(folder), 5u) << "no temporary left";
}

TEST(GeneratorFiles, ATextureThatFailsWhileTheModelIsWrittenLeavesTheOldPair) {
    // A solid textured part: a large image for a small model, so that a full
    // disk stops the texture (written beside the model on a second thread)
    // and not the model.
    CTempFolder folder("files");
    CDotDocument document;
    AddPart(document, nullptr, u"塊").SetDots(std::vector<uint8_t>(GridDots, 8));
    const GENERATED sizes = GenerateFile(document, folder.File("sizes.pmd"));
    const auto modelSize = fs::file_size(folder.File("sizes.pmd"));
    const auto textureSize = fs::file_size(sizes.result.texturePath);
    ASSERT_LT(2 * modelSize, textureSize);

    ExpectFullDiskKeepsOldPair(folder, document, "t", (modelSize + textureSize) / 2);
    EXPECT_EQ(FileCount(folder), 4u) << "no temporary left";
}

TEST(GeneratorFiles, StagesRunOneByOneWriteWhatGenerateWrites) {
    // Texture coordinates are rescaled once and the image encoded once,
    // whether EncodeTexture runs before WriteFiles (even twice) or not.
    CTempFolder folder("files");
    CDotDocument document;
    AddPart(document, nullptr, u"本体").SetDot(0, 0, 0, 8);
    AddPart(document, nullptr, u"腕").SetDot(3, 1, 2, 9);
    const std::string pmd = folder.File("m.pmd"), png = folder.File("m.png");
    CGenerator(document, pmd).Generate();
    const std::vector<uint8_t> model = ReadFileBytes(pmd), texture = ReadFileBytes(png);
    CGenerator staged(document, pmd);
    staged.BuildSurfaces();
    staged.BuildModel();
    staged.EncodeTexture();
    staged.EncodeTexture();
    staged.WriteFiles();
    EXPECT_EQ(ReadFileBytes(pmd), model);
    EXPECT_EQ(ReadFileBytes(png), texture);
}

TEST(GeneratorFiles, StaleTemporariesOfDeadWritersAreRemovedOthersKept) {
    CTempFolder folder("files");
    // A writer that was killed: a process that has ended.
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    ASSERT_GT(dead, 0);
    waitpid(dead, nullptr, 0);
    const std::string stale = folder.File(".kubrell-" + std::to_string(dead) + "-a1B2c3");
    const std::string live = folder.File(".kubrell-" + std::to_string(getpid()) + "-a1B2c3");
    const std::string unrelated = folder.File(".kubrell-notes");
    for (const std::string& path : {stale, live, unrelated})
        std::ofstream(path) << "x";
    CDotDocument document;
    AddPart(document, nullptr, u"本体").SetDot(0, 0, 0, 8);
    GenerateFile(document, folder.File("m.pmd"));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live)) << "a generation running now";
    EXPECT_TRUE(fs::exists(unrelated)) << "not a name the writer makes";
}

TEST(GeneratorFiles, TheLongestNamesTheFileSystemTakesCanBeWritten) {
    CTempFolder folder("files");
    CDotDocument document;
    AddPart(document, nullptr, u"本体").SetDot(0, 0, 0, 8);
    const std::string stem(251, 'm'); // 255 bytes with ".pmd" and with ".png"
    GENERATED g = GenerateFile(document, folder.File(stem + ".pmd"));
    EXPECT_EQ(g.file.vertices.size(), 24u);
    EXPECT_TRUE(fs::exists(folder.File(stem + ".png")));
    SaveDocumentFile(document, folder.File(stem + ".kbr"));
    EXPECT_TRUE(fs::exists(folder.File(stem + ".kbr")));
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

namespace {

// Enough separate dots in two parts for the model file to be written while
// the model is built (thousands of faces), in a textured colour (8) and a
// material one (2): 2 × 1,024 dots, 49,152 vertices. Both parts have the
// given rate.
void AddManyDots(CDotDocument& document, float rate = 1) {
    document.GetColor(2).SetMaterial(true);
    CDotPart& first = AddPart(document, nullptr, u"粒");
    CDotPart& second = AddPart(document, &first, u"砂");
    first.rate = second.rate = rate;
    for (int n = 0; n < 1024; ++n) {
        const int x = n % 16 * 2, y = n / 16 % 16 * 2, z = n / 256 * 2;
        first.SetDot(x, y, z, 8);
        second.SetDot(x, y, z, n % 3 ? 8 : 2);
    }
}

// The message of the CArchiveException generating document into path raises.
std::string WriteError(CDotDocument& document, const std::string& path) {
    try {
        CGenerator(document, path).Generate();
    } catch (const CArchiveException& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(GeneratorFiles, AModelWrittenWhileBuiltFailsAsOneWrittenAfterwards) {
    // Each failure gives the message a small model (written after the build)
    // gives, and leaves no temporary of the model or of its texture.
    CTempFolder folder("files");
    CDotDocument many, one;
    AddManyDots(many);
    AddPart(one, nullptr, u"本体").SetDot(0, 0, 0, 8);

    const std::string missing = folder.File("missing/m.pmd");
    EXPECT_EQ(WriteError(many, missing), WriteError(one, missing));
    fs::create_directory(folder.File("d.pmd"));
    EXPECT_EQ(WriteError(many, folder.File("d.pmd")), WriteError(one, folder.File("d.pmd")));
    EXPECT_FALSE(fs::exists(folder.File("d.png")));

    std::ofstream(folder.File("t.pmd")) << "old model";
    fs::create_directory(folder.File("t.png"));
    EXPECT_EQ(WriteError(many, folder.File("t.pmd")), WriteError(one, folder.File("t.pmd")));
    EXPECT_EQ(FileText(folder.File("t.pmd")), "old model");
    EXPECT_EQ(FileCount(folder), 3u) << "no temporary left";

    // The disk fills up part-way through the vertices (the model is about
    // 1.9 MB), then part-way through the rest of the file.
    ExpectFullDiskKeepsOldPair(folder, many, "f", 100000);
    ExpectFullDiskKeepsOldPair(folder, many, "g", 1900000);
    EXPECT_EQ(FileCount(folder), 7u) << "no temporary left";
}

TEST(GeneratorFiles, AModelRefusedWhileItsFileIsWrittenLeavesNoTemporary) {
    CTempFolder folder("files");
    const std::string pmd = folder.File("m.pmd");
    std::ofstream(pmd) << "previous";

    // Past the vertex limit: the stream is given up before the vertices
    // outgrow the room reserved for them, and the usual error follows.
    CDotDocument big;
    big.GetColor(2).SetMaterial(true);
    SpreadDots(AddPart(big, nullptr, u"粒"));
    AddManyDots(big);
    EXPECT_THROW(CGenerator(big, pmd).Generate(), CModelLimitError);
    EXPECT_EQ(FileCount(folder), 1u);

    // Vertices that are not finite (the second part's dots are 1e38 wide)
    // are found after they were written.
    CDotDocument huge;
    AddManyDots(huge, 1e19f);
    try {
        CGenerator(huge, pmd).Generate();
        ADD_FAILURE() << "no error";
    } catch (const CGeneratorError& e) {
        EXPECT_NE(std::string(e.what()).find("its vertices are not finite"), std::string::npos)
            << e.what();
    }
    EXPECT_EQ(FileText(pmd), "previous");
    EXPECT_EQ(FileCount(folder), 1u);

    // A build that is dropped before its files are written.
    CDotDocument many;
    AddManyDots(many);
    {
        CGenerator dropped(many, pmd);
        dropped.BuildSurfaces();
        dropped.BuildModel();
    }
    EXPECT_EQ(FileCount(folder), 1u);
}

TEST(GeneratorFiles, AModelWrittenWhileBuiltIsWrittenWhicheverStagesRun) {
    CTempFolder folder("files");
    CDotDocument many;
    AddManyDots(many);
    const std::string pmd = folder.File("m.pmd"), png = folder.File("m.png");
    const GENERATED whole = GenerateFile(many, pmd);
    EXPECT_EQ(whole.file.vertices.size(), 49152u);
    const std::vector<uint8_t> model = ReadFileBytes(pmd), texture = ReadFileBytes(png);

    // The same model serialised in memory after the build, streamed over
    // the first: the old model, let go of on the stream's thread, is closed
    // by the time the generator is gone, and a second name of it keeps it
    // whole.
    const std::string kept = folder.File("kept.pmd");
    fs::create_hard_link(pmd, kept);
    const auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto open = openDescriptors();
    {
        CGenerator built(many, pmd);
        built.BuildSurfaces();
        built.BuildModel();
        built.EncodeTexture();
        EXPECT_EQ(built.Model().ToBytes(), model);
        built.EncodeTexture();
        built.WriteFiles();
    }
    EXPECT_EQ(openDescriptors(), open);
    EXPECT_EQ(ReadFileBytes(pmd), model);
    EXPECT_EQ(ReadFileBytes(png), texture);
    EXPECT_EQ(ReadFileBytes(kept), model);
    EXPECT_EQ(FileCount(folder), 3u);
}
