// kubrell-cli generate as a user runs it: the sample figure, --quiet, and the
// failures (a texture that cannot be written, outputs that would overwrite the
// input, a model over the format's limits, a missing document).

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

const fs::path Figure =
    fs::path(KUBRELL_TEST_DATA).parent_path().parent_path() / "examples" / "figure.kbrl";

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class GenerateCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kubrell-generate-test-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Runs kubrell-cli generate with the arguments; fills out and err.
    int Generate(const std::string& arguments) {
        const std::string command = std::string(KUBRELL_CLI) + " generate " + arguments + " >" +
                                    (folder / "out.txt").string() + " 2>" +
                                    (folder / "err.txt").string();
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
    const std::regex line(".*figure\\.pmd: [1-9][0-9]* vertices, [1-9][0-9]* triangles, [0-9]+ "
                          "materials, [0-9]+ bones, 2 IK, "
                          "1 morphs, 2 rigid bodies, 1 joints, texture .*figure\\.png\n");
    EXPECT_TRUE(std::regex_match(out, line)) << out;
    EXPECT_EQ(Slurp(Path("figure.pmd")).substr(0, 3), "Pmd");
    EXPECT_EQ(Slurp(Path("figure.png")).substr(1, 3), "PNG");

    ASSERT_EQ(Generate("--quiet " + Figure.string() + " " + Path("quiet.pmd")), 0) << err;
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
    EXPECT_EQ(Slurp(Path("quiet.pmd")).size(), Slurp(Path("figure.pmd")).size());
}

TEST_F(GenerateCommandTest, ATextureThatCannotBeWrittenKeepsTheOldPair) {
    std::ofstream(Path("m.pmd")) << "old model";
    fs::create_directory(Path("m.png"));
    EXPECT_EQ(Generate(Figure.string() + " " + Path("m.pmd")), 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find(Path("m.png")), std::string::npos) << err;
    EXPECT_EQ(Slurp(Path("m.pmd")), "old model");

    // A folder where the model should go leaves no new texture behind.
    fs::create_directory(Path("d.pmd"));
    EXPECT_EQ(Generate(Figure.string() + " " + Path("d.pmd")), 1);
    EXPECT_NE(err.find(Path("d.pmd")), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(Path("d.png")));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
}

TEST_F(GenerateCommandTest, OutputsThatWouldOverwriteTheInputAreRefusedBeforeWriting) {
    const std::string figure = Slurp(Figure);
    auto copy = [&](const std::string& name) {
        std::ofstream(Path(name), std::ios::binary) << figure;
        return Path(name);
    };
    // The model is the document.
    const std::string b = copy("b.kbrl");
    EXPECT_EQ(Generate(b + " " + b), 1);
    EXPECT_NE(err.find("overwrite the document"), std::string::npos) << err;
    EXPECT_EQ(Slurp(b), figure);
    EXPECT_FALSE(fs::exists(Path("b.png")));
    // The texture is the document.
    const std::string d = copy("d.png");
    EXPECT_EQ(Generate(d + " " + Path("d.pmd")), 1);
    EXPECT_NE(err.find("overwrite the document"), std::string::npos) << err;
    EXPECT_EQ(Slurp(d), figure);
    EXPECT_FALSE(fs::exists(Path("d.pmd")));
    // The model is its own texture.
    const std::string c = copy("c.kbrl");
    EXPECT_EQ(Generate(c + " " + Path("c.png")), 1);
    EXPECT_NE(err.find("same file"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(Path("c.png")));
    // The same file under another name: a hard link, a symbolic link, a
    // detour through "..".
    fs::create_hard_link(b, Path("hard.pmd"));
    fs::create_symlink(b, Path("soft.pmd"));
    fs::create_directory(Path("sub"));
    for (const std::string& model : {Path("hard.pmd"), Path("soft.pmd"), Path("sub/../b.kbrl")}) {
        EXPECT_EQ(Generate(b + " " + model), 1) << model;
        EXPECT_NE(err.find("overwrite the document"), std::string::npos) << err;
    }
    EXPECT_EQ(Slurp(b), figure);
    EXPECT_FALSE(fs::exists(Path("hard.png")));
    EXPECT_FALSE(fs::exists(Path("soft.png")));
}

TEST_F(GenerateCommandTest, WhatWasMendedOrLeftOutIsToldAsNotes) {
    const fs::path hostile = fs::path(KUBRELL_TEST_DATA) / "hostile";
    ASSERT_EQ(Generate((hostile / "ik-cycle.kbrl").string() + " " + Path("c.pmd")), 0) << err;
    EXPECT_NE(err.find("ik-cycle.kbrl: note: the IK parent"), std::string::npos) << err;
    EXPECT_NE(err.find("circle"), std::string::npos) << err;
    ASSERT_EQ(Generate((hostile / "joint-without-body.kbrl").string() + " " + Path("j.pmd")), 0)
        << err;
    EXPECT_NE(err.find("j.pmd: note: the joint of part"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
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
