// kubrell-cli generate as a user runs it: the sample figure, --quiet, and the
// failures (a texture that cannot be written, a model over the format's
// limits, a missing document).

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"

namespace fs = std::filesystem;

namespace {

const fs::path Figure = fs::path(__FILE__).parent_path().parent_path().parent_path() / "examples" / "figure.kbrl";

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class GenerateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("kubrell-generate-test-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Runs kubrell-cli generate with the arguments; fills out and err.
    int Generate(const std::string& arguments) {
        const std::string command = std::string(KUBRELL_CLI) + " generate " + arguments + " >" +
                                    (folder / "out.txt").string() + " 2>" + (folder / "err.txt").string();
        const int raw = std::system(command.c_str());
        out = Slurp(folder / "out.txt");
        err = Slurp(folder / "err.txt");
        fs::remove(folder / "out.txt");
        fs::remove(folder / "err.txt");
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    fs::path folder;
    std::string out, err;
};

TEST_F(GenerateCommandTest, TheFigureGivesAModelATextureAndOneSummaryLine) {
    ASSERT_EQ(Generate(Figure.string() + " " + Path("figure.pmd")), 0) << err;
    EXPECT_EQ(err, "");
    const std::regex line(
        ".*figure\\.pmd: [1-9][0-9]* vertices, [1-9][0-9]* triangles, [0-9]+ materials, [0-9]+ bones, 2 IK, "
        "1 morphs, 2 rigid bodies, 1 joints, texture .*figure\\.png\n");
    EXPECT_TRUE(std::regex_match(out, line)) << out;
    EXPECT_EQ(Slurp(Path("figure.pmd")).substr(0, 3), "Pmd");
    EXPECT_EQ(Slurp(Path("figure.png")).substr(1, 3), "PNG");

    ASSERT_EQ(Generate("--quiet " + Figure.string() + " " + Path("quiet.pmd")), 0) << err;
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
    EXPECT_EQ(Slurp(Path("quiet.pmd")).size(), Slurp(Path("figure.pmd")).size());
}

TEST_F(GenerateCommandTest, ATextureThatCannotBeWrittenFailsAfterWritingTheModel) {
    fs::create_directory(Path("m.png"));
    EXPECT_EQ(Generate(Figure.string() + " " + Path("m.pmd")), 1);
    EXPECT_NE(out.find("texture"), std::string::npos) << out;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(Path("m.png")), std::string::npos) << err;
    EXPECT_EQ(Slurp(Path("m.pmd")).substr(0, 3), "Pmd");
}

TEST_F(GenerateCommandTest, TheExtensionOrFormatOptionChoosesPMX) {
    ASSERT_EQ(Generate(Figure.string() + " " + Path("figure.pmx")), 0) << err;
    EXPECT_NE(out.find("figure.pmx: "), std::string::npos) << out;
    EXPECT_EQ(Slurp(Path("figure.pmx")).substr(0, 4), "PMX ");
    EXPECT_EQ(Slurp(Path("figure.png")).substr(1, 3), "PNG");
    ASSERT_EQ(Generate(Figure.string() + " " + Path("upper.PMX")), 0) << err;
    EXPECT_EQ(Slurp(Path("upper.PMX")).substr(0, 4), "PMX ");

    ASSERT_EQ(Generate("--format pmx " + Figure.string() + " " + Path("a.model")), 0) << err;
    EXPECT_EQ(Slurp(Path("a.model")).substr(0, 4), "PMX ");
    ASSERT_EQ(Generate("--format pmd " + Figure.string() + " " + Path("b.pmx")), 0) << err;
    EXPECT_EQ(Slurp(Path("b.pmx")).substr(0, 3), "Pmd");

    EXPECT_NE(Generate("--format obj " + Figure.string() + " " + Path("c.obj")), 0);
    EXPECT_NE(err.find("obj"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(Path("c.obj")));
}

TEST_F(GenerateCommandTest, FailuresWriteNothing) {
    // A document over the vertex limit: 4,096 separate dots.
    CDotDocument document;
    auto part = document.CreatePart(1, u"粒");
    for (int z = 0; z < 32; z += 2)
        for (int y = 0; y < 32; y += 2)
            for (int x = 0; x < 32; x += 2)
                part->SetDot(x, y, z, 2);
    document.InsertChild(-1, std::move(part));
    SaveDocumentFile(document, Path("big.kbrl"));
    std::ofstream(Path("big.pmd")) << "previous";
    EXPECT_EQ(Generate(Path("big.kbrl") + " " + Path("big.pmd")), 1);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find("98,304 vertices"), std::string::npos) << err;
    EXPECT_NE(err.find(Path("big.pmd")), std::string::npos) << err;
    EXPECT_EQ(Slurp(Path("big.pmd")), "previous");
    EXPECT_FALSE(fs::exists(Path("big.png")));

    EXPECT_EQ(Generate(Path("missing.kbrl") + " " + Path("none.pmd")), 1);
    EXPECT_NE(err.find("missing.kbrl"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(Path("none.pmd")));
    EXPECT_FALSE(fs::exists(Path("none.png")));
}

} // namespace
