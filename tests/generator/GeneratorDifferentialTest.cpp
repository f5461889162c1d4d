// The generator against a literal build of the same documents: surfaces by
// the pairwise sweeps, and vertex sharing by searching all vertices for the
// first equal one. Both must give the same vertices, bit for bit, the same
// triangles per material and the same texture atlas.
//
// What this compares, exactly: the fast surface builder against the literal
// sweeps (SurfaceReference.cpp, written independently), and the vertex hash
// table against a linear search. Everything else on the literal side is the
// production code itself: atlas placement and painting (CTextureAtlas),
// texture layout and corner geometry (CBlock), RotationMatrix, Transform,
// TriangleNormal, the bone look-up (CPMDModel::FindBone) and the vertex
// equality (SameVertex). A fault in those is not caught here; their own
// tests (TextureAtlasTest, BlockTest, ModelGeometryTest, VertexTableTest)
// check them on their own.

#include "generator/GeneratorTestUtil.h"
#include "generator/SurfaceReference.h"
#include "support/LinearVertices.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <map>
#include <random>

namespace {

class RandomDocument {
public:
    // The parts' dots lie in boxes of smallestSide to smallestSide + 5 dots.
    explicit RandomDocument(unsigned seed, int smallestSide = 3)
        : random_(seed), smallestSide_(smallestSide) {}

    void Fill(CDotDocument& document) {
        document.dotSize = Pick({0.5f, 1.0f, 0.3f});
        document.modelOffset = {Pick({0.0f, -0.0f, 2.5f}), Pick({0.0f, -0.0f, 7.0f}),
                                Pick({0.0f, -0.0f}), 0};
        for (int i = 1; i <= 8; ++i) {
            CDotColor& colour = document.GetColor(i);
            colour.SetMaterial(Chance(0.4));
            colour.SetAlpha(Pick({1.0f, 0.5f}));
        }
        std::vector<CPart*> made;
        const int count = 1 + Int(4);
        for (int n = 0; n < count; ++n) {
            CPart* parent = made.empty() || Chance(0.3)
                                ? nullptr
                                : made[static_cast<size_t>(Int(static_cast<int>(made.size())))];
            const int kind = Pick({BONE_MOVE, BONE_ROTATE, BONE_ROTATE, BONE_NONE, BONE_HIDDEN});
            CDotPart& part =
                AddPart(document, parent, u"p" + std::u16string(1, char16_t(u'a' + n)), kind);
            part.rate = Pick({1.0f, 0.5f, 2.0f});
            part.parentPosition = {Int(65), Int(65), Int(65)};
            part.worldPosition = {Pick({0.0f, -0.0f, 1.5f}), Pick({0.0f, -3.25f}),
                                  Pick({0.0f, -0.0f}), 0};
            if (Chance(0.05))
                part.worldPosition[1] = std::numeric_limits<float>::quiet_NaN();
            if (Chance(0.5)) {
                // A rotation about a random axis.
                const float angle = static_cast<float>(Int(360)) * 0.0174532924f;
                float axis[3] = {static_cast<float>(Int(3)) - 1, static_cast<float>(Int(3)) - 1, 1};
                const float length =
                    std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
                const float s = std::sin(angle / 2) / length;
                part.worldRotation = {axis[0] * s, axis[1] * s, axis[2] * s, std::cos(angle / 2)};
            }
            const uint8_t* before =
                made.empty() ? nullptr : static_cast<CDotPart*>(made.back())->Grid();
            if (before && Chance(0.25)) {
                // The dots of the part before, every colour drawn from the
                // texture turned into the last such colour: the same blocks,
                // other texels.
                int last = 0;
                for (int i = 1; i <= 8; ++i)
                    if (!document.GetColor(i).material)
                        last = i;
                std::vector<uint8_t> dots(before, before + GridDots);
                for (uint8_t& dot : dots)
                    if ((dot & 0x1F) && !document.GetColor(dot & 0x1F).material)
                        dot = static_cast<uint8_t>(last);
                part.SetDots(dots);
                made.push_back(&part);
                continue;
            }
            // Dots in a small box, at a random density, in a few colours.
            const double density = Pick({0.05, 0.2, 0.5, 0.9});
            const int side = smallestSide_ + Int(6);
            const int colours = 1 + Int(4);
            const int at = Int(32 - side);
            for (int z = 0; z < side; ++z)
                for (int y = 0; y < side; ++y)
                    for (int x = 0; x < side; ++x)
                        if (Chance(density))
                            part.SetDot(at + x, at + y, z, 1 + Int(colours));
            made.push_back(&part);
        }
    }

private:
    int Int(int below) { return static_cast<int>(random_() % static_cast<unsigned>(below)); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    template <typename T>
    T Pick(std::initializer_list<T> values) {
        return *(values.begin() + Int(static_cast<int>(values.size())));
    }

    std::mt19937 random_;
    int smallestSide_;
};

// The face emission written out directly, with the linear vertex search.
struct LITERAL_MODEL {
    std::vector<VERTEX_KEY> vertices;
    std::map<const CDotColor*, std::vector<uint32_t>> indices;
    CTextureAtlas atlas;
};

LITERAL_MODEL BuildLiterally(const CDotDocument& document,
                             const std::vector<std::vector<uint8_t>>& grids,
                             const CPMDModel& model) {
    CBlock::COLOUR_TABLE table{};
    for (int i = 1; i <= PaletteSize; ++i)
        table[static_cast<size_t>(i)] =
            document.GetColor(i).material ? &document.GetColor(i) : &SharedTextureColour();
    LITERAL_MODEL literal;
    const std::vector<CPart*> parts = document.CollectParts();
    for (size_t p = 0; p < parts.size(); ++p) {
        auto& part = static_cast<CDotPart&>(*parts[p]);
        if (part.boneKind == BONE_HIDDEN)
            continue;
        auto boneless = [](const CPart* a) {
            return a->boneKind == BONE_NONE || a->boneKind == BONE_HIDDEN;
        };
        const CPart* owner = &part;
        if (boneless(owner) && owner->parent)
            for (owner = owner->parent; boneless(owner) && owner->parent;)
                owner = owner->parent;
        const int bone = model.FindBone(owner->name);
        float edge = document.dotSize;
        for (const CPart* a = &part; a; a = a->parent)
            edge *= a->rate;
        const VEC3 origin{part.worldPosition[0] + document.modelOffset[0],
                          part.worldPosition[1] + document.modelOffset[1],
                          part.worldPosition[2] + document.modelOffset[2]};
        const auto& q = part.worldRotation;
        const ROTATION_MATRIX m = RotationMatrix(q[0], q[1], q[2], q[3]);

        std::vector<uint8_t> grid = grids[p];
        for (const REFERENCE_BLOCK& block : BuildSurfacesLiterally(grid.data(), table))
            for (const auto& array : block.arrays)
                for (const auto& face : array) {
                    if (!face || face->hidden)
                        continue;
                    std::array<CTextureAtlas::UV, 4> uv{};
                    if (face->colour == &SharedTextureColour()) {
                        const auto layout = CBlock::GetTextureLayout(*face);
                        const auto place = literal.atlas.Place(layout.width, layout.height);
                        for (int j = 0; j < layout.width; ++j)
                            for (int i = 0; i < layout.height; ++i) {
                                const auto d = layout.DotAt(j, i);
                                const int index =
                                    grids[p][static_cast<size_t>(GridIndex(d[0], d[1], d[2]))] &
                                    0x1F;
                                literal.atlas.Paint(place.row + i, place.column + j,
                                                    document.GetColor(index).color);
                            }
                        uv = CTextureAtlas::CornerCoordinates(place, layout.width, layout.height);
                    }
                    const auto local = CBlock::GetCorners(*face, edge, part.parentPosition);
                    std::array<VEC3, 4> world;
                    for (size_t k = 0; k < 4; ++k)
                        world[k] = Transform(local[k], m, origin);
                    auto& indices = literal.indices[face->colour];
                    for (const auto& t :
                         {std::array<size_t, 3>{0, 1, 2}, std::array<size_t, 3>{0, 2, 3}}) {
                        const VEC3 normal = TriangleNormal(world[t[0]], world[t[1]], world[t[2]]);
                        for (size_t k : t)
                            indices.push_back(FindOrAddLinearly(
                                literal.vertices, {world[k], normal, {uv[k].u, uv[k].v}, bone}));
                    }
                }
    }
    return literal;
}

bool SameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

// Builds document both ways and checks they agree. Counts in textured and
// shared whether the document had a texture and shared some vertex.
void ExpectSameAsLiteral(CDotDocument& document, int& textured, int& shared) {
    std::vector<std::vector<uint8_t>> grids;
    for (CPart* part : document.CollectParts()) {
        const uint8_t* dots = static_cast<CDotPart*>(part)->Grid();
        grids.emplace_back(dots ? std::vector<uint8_t>(dots, dots + GridDots)
                                : std::vector<uint8_t>(GridDots));
    }

    CGenerator generator(document, "/nonexistent/x.pmd");
    generator.BuildSurfaces();
    generator.BuildModel();
    const CPMDModel& model = generator.Model();
    const LITERAL_MODEL literal = BuildLiterally(document, grids, model);

    // The generator makes its vertices with their final texture
    // coordinates; the literal build's are in atlas cells.
    const int height = generator.HasTexture() ? literal.atlas.ImageHeight() : 0;
    ASSERT_EQ(model.vertices.size(), literal.vertices.size());
    for (size_t v = 0; v < literal.vertices.size(); ++v) {
        const CModelVertex& fast = model.vertices[v];
        VERTEX_KEY slow = literal.vertices[v];
        if (height > 0) {
            const auto uv = CTextureAtlas::Rescale({slow.uv[0], slow.uv[1]}, height);
            slow.uv = {uv.u, uv.v};
        }
        const float fastValues[] = {fast.position.x, fast.position.y, fast.position.z,
                                    fast.normal.x,   fast.normal.y,   fast.normal.z,
                                    fast.uv.x,       fast.uv.y};
        const float slowValues[] = {slow.position[0], slow.position[1], slow.position[2],
                                    slow.normal[0],   slow.normal[1],   slow.normal[2],
                                    slow.uv[0],       slow.uv[1]};
        for (size_t k = 0; k < 8; ++k)
            ASSERT_TRUE(SameBits(fastValues[k], slowValues[k])) << "vertex " << v << " value " << k;
        ASSERT_EQ(fast.bone0, slow.bone) << "vertex " << v;
    }
    size_t corners = 0;
    for (const auto& material : generator.Materials()) {
        const auto found = literal.indices.find(material->colour);
        const std::vector<uint32_t> none;
        const auto start = model.faces.begin() + static_cast<std::ptrdiff_t>(material->first);
        const std::vector<uint32_t> indices(
            start, start + static_cast<std::ptrdiff_t>(material->next - material->first));
        ASSERT_EQ(indices, found == literal.indices.end() ? none : found->second);
        corners += indices.size();
    }
    ASSERT_EQ(generator.Atlas().RowCount(), literal.atlas.RowCount());
    for (int r = 0; r < literal.atlas.RowCount(); ++r) {
        ASSERT_EQ(generator.Atlas().Rows()[static_cast<size_t>(r)].used,
                  literal.atlas.Rows()[static_cast<size_t>(r)].used);
        ASSERT_EQ(generator.Atlas().Rows()[static_cast<size_t>(r)].colours,
                  literal.atlas.Rows()[static_cast<size_t>(r)].colours);
    }
    textured += literal.atlas.RowCount() > 0;
    shared += corners > literal.vertices.size();
}

// Random documents of the given seeds and smallest part side, built both
// ways; counts as ExpectSameAsLiteral does.
void ExpectRandomSameAsLiteral(unsigned seeds, int smallestSide, int& textured, int& shared) {
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CDotDocument document;
        RandomDocument(seed, smallestSide).Fill(document);
        ExpectSameAsLiteral(document, textured, shared);
        if (::testing::Test::HasFailure())
            return;
    }
}

} // namespace

TEST(GeneratorDifferential, SameVerticesTrianglesAndAtlasAsTheLiteralBuild) {
    int textured = 0, shared = 0;
    ExpectRandomSameAsLiteral(100, 3, textured, shared);
    // The random documents do exercise textures and sharing.
    EXPECT_GT(textured, 40) << textured;
    EXPECT_GT(shared, 70) << shared;
}

// Parts of thousands of faces, which share their vertices by lattice point
// (CornerLattice.h) unless their bone moves other parts too.
TEST(GeneratorDifferential, LargePartsShareVerticesAsTheLiteralBuild) {
    int textured = 0, shared = 0;
    ExpectRandomSameAsLiteral(4, 9, textured, shared);
    EXPECT_GT(textured, 1) << textured;
    EXPECT_GT(shared, 3) << shared;
}

// Parts whose corners can round onto each other, or whose rotation does not
// keep distances: vertex sharing must still find every equal vertex, not
// only those at the same corner of the part's grid.
TEST(GeneratorDifferential, CornersThatRoundTogetherAreSharedAsTheLiteralBuildSharesThem) {
    struct CASE {
        const char* what;
        float dotSize;
        float offset;
        std::array<float, 4> rotation;
    };
    const CASE cases[] = {
        {"far from the origin", 0.01f, 1.0e5f, {0, 0, 0, 1}},
        {"far and turned", 0.01f, 3.0e5f, {0, 0.38268343f, 0, 0.92387953f}},
        {"no size at all", 0.0f, 0.0f, {0, 0, 0, 1}},
        {"a tiny size", 1.0e-9f, 0.0f, {0, 0, 0, 1}},
        {"a rotation that squashes", 0.5f, 0.0f, {1, 1, 0, 0}},
        {"a rotation of zero length", 0.5f, 0.0f, {0, 0, 0, 0}},
    };
    int textured = 0, shared = 0;
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.what);
        CDotDocument document;
        RandomDocument(7, 9).Fill(document);
        document.dotSize = c.dotSize;
        document.modelOffset = {c.offset, c.offset, 0, 0};
        for (CPart* part : document.CollectParts())
            static_cast<CDotPart*>(part)->worldRotation = c.rotation;
        ExpectSameAsLiteral(document, textured, shared);
        if (HasFailure())
            return;
    }
}
