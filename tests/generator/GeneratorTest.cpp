// Generation of geometry and materials, checked in the written file.

#include "generator/GeneratorTestUtil.h"

#include "support/PngReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace {

constexpr uint16_t NONE = 0xFFFF;

// The textured material and the material colours used in these tests.
constexpr uint32_t RED = MakeColorRef(255, 0, 0);
constexpr uint32_t GREEN = MakeColorRef(0, 255, 0);
constexpr uint32_t BLUE = MakeColorRef(0, 0, 255);

} // namespace

TEST(Generator, SingleDotGivesSixUnsharedFacesAndOneUnlistedBone) {
    CTempFolder folder("generator");
    CDotDocument document;
    CDotPart& part = AddPart(document, nullptr, u"本体", BONE_MOVE);
    part.SetDot(0, 0, 0, 8); // white, textured in the default palette
    GENERATED g = GenerateFile(document, folder.File("model.pmd"));

    EXPECT_EQ(g.file.vertices.size(), 24u); // normals differ, so no corner is shared
    EXPECT_EQ(g.file.faces.size(), 36u);
    EXPECT_EQ(g.result.triangles, 12u);
    EXPECT_EQ(PMDText(g.file.name), u"model");
    ASSERT_EQ(g.file.bones.size(), 1u);
    EXPECT_EQ(PMDText(g.file.bones[0].name), u"本体");
    EXPECT_EQ(g.file.bones[0].type, 1);
    EXPECT_EQ(g.file.bones[0].parent, NONE);
    EXPECT_EQ(g.file.bones[0].tail, 0);
    ASSERT_EQ(g.file.groupNames.size(), 2u);
    EXPECT_EQ(PMDText(g.file.groupNames[0]), u"IK");
    EXPECT_EQ(PMDText(g.file.groupNames[1]), u"ボーン");
    EXPECT_TRUE(g.file.groupEntries.empty());
    for (const auto& v : g.file.vertices) {
        EXPECT_EQ(v.bone0, 0);
        EXPECT_EQ(v.bone1, NONE);
        EXPECT_EQ(v.weight, 100);
        EXPECT_EQ(v.edge, 0);
        // A dot of edge 0.5 at the grid's corner, the joint point at the centre.
        for (float c : v.position)
            EXPECT_TRUE(c == -8.0f || c == -7.5f) << c;
        EXPECT_FLOAT_EQ(std::abs(v.normal[0]) + std::abs(v.normal[1]) + std::abs(v.normal[2]),
                        1.0f);
    }
    // One textured material carrying all six faces, each a cell of the atlas.
    ASSERT_EQ(g.file.materials.size(), 1u);
    EXPECT_EQ(g.file.materials[0].faceVertexCount, 36u);
    EXPECT_EQ(PMDText(g.file.materials[0].texture), u"model.png");
    EXPECT_EQ(g.result.texturePath, folder.File("model.png"));
    DECODED_PNG image = ReadPngFile(folder.File("model.png"));
    EXPECT_EQ(image.width, 512);
    EXPECT_EQ(image.height, 16);
    for (int cell = 0; cell < 8; ++cell)
        EXPECT_EQ(image.Pixel(cell * 16 + 8, 8), cell < 6 ? 0xFFFFFFu : 0u) << "cell " << cell;
}

TEST(Generator, CoplanarFacesOfTwoMaterialsShareTheirCommonCorners) {
    CTempFolder folder("generator");
    CDotDocument document;
    MakeMaterial(document, 2, RED);
    MakeMaterial(document, 3, GREEN);
    CDotPart& part = AddPart(document, nullptr, u"本体");
    part.SetDot(0, 0, 0, 2);
    part.SetDot(1, 0, 0, 3);
    GENERATED g = GenerateFile(document, folder.File("two.pmd"));

    // Ten visible faces; the four sides that run along x share two corners.
    EXPECT_EQ(g.file.vertices.size(), 10u * 4 - 4 * 2);
    // The textured material (other entries are still textured) comes first
    // and is empty; then the two colours in palette order.
    ASSERT_EQ(g.file.materials.size(), 3u);
    EXPECT_EQ(g.file.materials[0].faceVertexCount, 0u);
    EXPECT_EQ(g.file.materials[0].texture, std::string(20, '\0'));
    EXPECT_EQ(g.file.materials[1].faceVertexCount, 30u);
    EXPECT_EQ(g.file.materials[2].faceVertexCount, 30u);
    EXPECT_FLOAT_EQ(g.file.materials[1].diffuse[0], 1.0f);
    EXPECT_FLOAT_EQ(g.file.materials[2].diffuse[1], 1.0f);
    // Every vertex is used, by one material or by both.
    std::set<uint16_t> used(g.file.faces.begin(), g.file.faces.end());
    EXPECT_EQ(used.size(), g.file.vertices.size());
    std::set<uint16_t> red(g.file.faces.begin(), g.file.faces.begin() + 30);
    std::set<uint16_t> green(g.file.faces.begin() + 30, g.file.faces.end());
    std::vector<uint16_t> both;
    std::set_intersection(red.begin(), red.end(), green.begin(), green.end(),
                          std::back_inserter(both));
    EXPECT_EQ(both.size(), 8u);
    // An unused textured entry still gives a (black) texture image.
    DECODED_PNG image = ReadPngFile(folder.File("two.png"));
    EXPECT_EQ(image.height, 16);
    EXPECT_TRUE(std::all_of(image.rgb.begin(), image.rgb.end(), [](uint8_t b) { return b == 0; }));
}

TEST(Generator, MaterialsAreOpaqueFirstAndOnlyForUsedColours) {
    CTempFolder folder("generator");
    CDotDocument document;
    MakeAllMaterials(document);
    document.edge = false;
    MakeMaterial(document, 2, RED, 0.5f);
    MakeMaterial(document, 3, GREEN, 0.5f);
    MakeMaterial(document, 4, BLUE, 1.0f);
    MakeMaterial(document, 5, RED, 1.0f); // never drawn
    CDotPart& part = AddPart(document, nullptr, u"本体");
    part.SetDot(0, 0, 0, 2);
    part.SetDot(10, 0, 0, 3);
    part.SetDot(20, 0, 0, 4);
    GENERATED g = GenerateFile(document, folder.File("m.pmd"));

    ASSERT_EQ(g.file.materials.size(), 3u);
    const auto& first = g.file.materials[0];
    EXPECT_EQ(first.diffuse, (std::array<float, 4>{0, 0, 1, 1}));
    EXPECT_EQ(first.ambient, (PMDContents::Float3{0, 0, 0.3f}));
    EXPECT_EQ(first.specular, (PMDContents::Float3{0.1f, 0.1f, 0.1f}));
    EXPECT_FLOAT_EQ(first.power, 0.5f);
    EXPECT_EQ(first.toonIndex, 0);
    EXPECT_EQ(first.edge, 0);
    EXPECT_EQ(g.file.materials[1].diffuse, (std::array<float, 4>{1, 0, 0, 0.5f}));
    EXPECT_EQ(g.file.materials[2].diffuse, (std::array<float, 4>{0, 1, 0, 0.5f}));
    // No texture at all: no image, and every vertex keeps (0, 0).
    EXPECT_TRUE(g.result.texturePath.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.File("m.png")));
    for (const auto& v : g.file.vertices)
        EXPECT_EQ(v.uv, (std::array<float, 2>{0, 0}));
}

TEST(Generator, AColourUsedByOneDotAnywhereInTheGridIsAMaterial) {
    // Lone dots at the ends and edges of the runs of sixteen dots the
    // colour scan passes over when empty.
    for (size_t at : {size_t{0}, size_t{15}, size_t{16}, size_t{31}, size_t{GridDots - 1}}) {
        SCOPED_TRACE(at);
        CTempFolder folder("generator");
        CDotDocument document;
        MakeAllMaterials(document);
        MakeMaterial(document, 6, GREEN, 1.0f);
        std::vector<uint8_t> grid(GridDots, 0);
        grid[at] = 6;
        AddPart(document, nullptr, u"本体").SetDots(grid);
        GENERATED g = GenerateFile(document, folder.File("m.pmd"));
        ASSERT_EQ(g.file.materials.size(), 1u);
        EXPECT_EQ(g.file.materials[0].diffuse, (std::array<float, 4>{0, 1, 0, 1}));
    }
}

TEST(Generator, TexturedFacesPaintTheirDotsAndPointInsideTheirCells) {
    CTempFolder folder("generator");
    CDotDocument document;
    CDotPart& part = AddPart(document, nullptr, u"本体");
    // A slab 3 wide and 2 high; the front face shows (0,1) (1,1) (2,1) on
    // top and (0,0) (1,0) (2,0) below.
    const int colours[2][3] = {{2, 3, 4}, {5, 6, 7}}; // [y][x], all textured
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            part.SetDot(x, y, 0, colours[y][x]);
    GENERATED g = GenerateFile(document, folder.File("slab.pmd"));

    // The front face is the first region: cells (0..2, 0..1); the back
    // face the next three columns, mirrored.
    DECODED_PNG image = ReadPngFile(folder.File("slab.png"));
    ASSERT_EQ(image.height, 32);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column) {
            const uint32_t front = document.GetColor(colours[1 - row][column]).color;
            const uint32_t back = document.GetColor(colours[1 - row][2 - column]).color;
            EXPECT_EQ(image.Pixel(column * 16 + 8, row * 16 + 8), front) << row << "," << column;
            EXPECT_EQ(image.Pixel((column + 3) * 16 + 8, row * 16 + 8), back)
                << row << "," << column;
        }
    // The front face's top-left corner samples half a pixel into cell (0, 0)
    // and its bottom-right corner 0.4 pixel inside cell (2, 1).
    auto find = [&](PMDContents::Float3 position) {
        for (const auto& v : g.file.vertices)
            if (v.position == position && v.normal == PMDContents::Float3{0, 0, -1})
                return v.uv;
        ADD_FAILURE() << "no front vertex at " << position[0] << "," << position[1];
        return std::array<float, 2>{};
    };
    const auto topLeft = find({-8.0f, -7.0f, -8.0f});
    EXPECT_FLOAT_EQ(topLeft[0], 0.5f / 512);
    EXPECT_FLOAT_EQ(topLeft[1], 0.5f / 32);
    const auto bottomRight = find({-6.5f, -8.0f, -8.0f});
    EXPECT_NEAR(bottomRight[0] * 512, 48 - 0.4, 1e-4);
    EXPECT_NEAR(bottomRight[1] * 32, 32 - 0.4, 1e-4);
}

TEST(Generator, PartsWithoutOwnBonesUseTheirOwnersBone) {
    CTempFolder folder("generator");
    CDotDocument document;
    CDotPart& root = AddPart(document, nullptr, u"根", BONE_MOVE);
    CDotPart& none = AddPart(document, &root, u"なし", BONE_NONE);
    CDotPart& hidden = AddPart(document, &none, u"隠", BONE_HIDDEN);
    CDotPart& leaf = AddPart(document, &hidden, u"葉", BONE_ROTATE);
    CDotPart& empty = AddPart(document, &root, u"空", BONE_ROTATE);
    MakeMaterial(document, 2, RED);
    root.SetDot(0, 0, 0, 2);
    none.SetDot(0, 0, 0, 2);
    hidden.SetDot(5, 5, 5, 8); // never drawn: the part is left out
    leaf.SetDot(0, 0, 0, 8);
    (void)empty;
    GENERATED g = GenerateFile(document, folder.File("b.pmd"));

    ASSERT_EQ(g.file.bones.size(), 3u);
    EXPECT_EQ(PMDText(g.file.bones[0].name), u"根");
    EXPECT_EQ(PMDText(g.file.bones[1].name), u"葉");
    EXPECT_EQ(PMDText(g.file.bones[2].name), u"空");
    EXPECT_EQ(g.file.bones[1].parent, 0); // nearest rotating or moving ancestor
    EXPECT_EQ(g.file.bones[1].type, 0);
    EXPECT_EQ(g.file.bones[2].type, 7); // nothing drawn in it or below
    EXPECT_EQ(g.file.bones[0].tail, 0); // two children
    // The "ボーン" group lists neither the first bone nor invisible ones.
    ASSERT_EQ(g.file.groupEntries.size(), 1u);
    EXPECT_EQ(g.file.groupEntries[0].bone, 1);
    EXPECT_EQ(g.file.groupEntries[0].group, 2);
    // Root and the bone-less part draw the same cube in the same material
    // on bone 0, so the second shares every vertex of the first; the leaf
    // is on its own bone.
    int onRoot = 0, onLeaf = 0;
    for (const auto& v : g.file.vertices)
        (v.bone0 == 0 ? onRoot : onLeaf) += 1;
    EXPECT_EQ(onLeaf, 24);
    EXPECT_EQ(g.file.faces.size(), 3u * 36);
    EXPECT_EQ(onRoot, 24); // the coinciding cubes share every vertex
}

TEST(Generator, TailPointsAtTheOnlyChild) {
    CTempFolder folder("generator");
    CDotDocument document;
    CDotPart& root = AddPart(document, nullptr, u"根");
    CDotPart& child = AddPart(document, &root, u"子", BONE_ROTATE);
    AddPart(document, &child, u"孫", BONE_NONE);
    child.SetDot(1, 1, 1, 8);
    GENERATED g = GenerateFile(document, folder.File("t.pmd"));
    ASSERT_EQ(g.file.bones.size(), 2u);
    EXPECT_EQ(g.file.bones[0].tail, 1);
    EXPECT_EQ(g.file.bones[1].tail, NONE); // its only child has no bone
    EXPECT_EQ(g.file.bones[0].type, 1);
}
