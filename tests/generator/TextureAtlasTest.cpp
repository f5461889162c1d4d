#include "generator/TextureAtlas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using PLACE = CTextureAtlas::PLACE;

// The placement rule applied cell by cell, to compare the atlas against.
struct LITERAL_ATLAS {
    std::vector<std::array<bool, 32>> used;

    PLACE Place(int width, int height) const {
        for (size_t r = 0; r < used.size(); ++r)
            for (int c = 0; c + width < 32; ++c) {
                bool free = true;
                for (int i = 0; i < height && free; ++i)
                    for (int j = 0; j < width && free; ++j)
                        if (r + i < used.size() && used[r + i][static_cast<size_t>(c + j)])
                            free = false;
                if (free)
                    return {c, static_cast<int>(r)};
            }
        return {0, static_cast<int>(used.size())};
    }

    void Fill(PLACE at, int width, int height) {
        for (int j = 0; j < width; ++j)
            for (int i = 0; i < height; ++i) {
                size_t row = static_cast<size_t>(at.row + i);
                if (row >= used.size())
                    used.resize(row + 1);
                used[row][static_cast<size_t>(at.column + j)] = true;
            }
    }
};

PLACE PlaceAndPaint(CTextureAtlas& atlas, int width, int height, uint32_t colour = 0x123456) {
    PLACE at = atlas.Place(width, height);
    for (int j = 0; j < width; ++j)
        for (int i = 0; i < height; ++i)
            atlas.Paint(at.row + i, at.column + j, colour);
    return at;
}

// The same, painting a row of the region at a time.
PLACE PlaceAndPaintRows(CTextureAtlas& atlas, int width, int height, uint32_t colour) {
    PLACE at = atlas.Place(width, height);
    for (int i = 0; i < height; ++i) {
        uint32_t* cells = atlas.PaintRow(at.row + i, at.column, width);
        std::fill(cells, cells + width, colour);
    }
    return at;
}

void ExpectPlace(PLACE actual, int column, int row) {
    EXPECT_EQ(actual.column, column);
    EXPECT_EQ(actual.row, row);
}

} // namespace

TEST(TextureAtlas, FirstFitNeverEndsARegionInTheLastColumn) {
    CTextureAtlas atlas;
    ExpectPlace(PlaceAndPaint(atlas, 3, 2), 0, 0);
    EXPECT_EQ(atlas.RowCount(), 2);
    // 30 wide would need c + 30 < 32 with c ≥ 3: impossible in rows 0 and 1.
    ExpectPlace(PlaceAndPaint(atlas, 30, 1), 0, 2);
    ExpectPlace(PlaceAndPaint(atlas, 1, 1), 3, 0);
    ExpectPlace(PlaceAndPaint(atlas, 1, 3), 30, 0);
    EXPECT_EQ(atlas.RowCount(), 3);

    // Rows below the last one count as free: a tall region starts in an
    // existing row and makes the rows it reaches.
    CTextureAtlas tall;
    ExpectPlace(PlaceAndPaint(tall, 1, 1), 0, 0);
    ExpectPlace(PlaceAndPaint(tall, 1, 3), 1, 0);
    EXPECT_EQ(tall.RowCount(), 3);

    CTextureAtlas lastColumn;
    ExpectPlace(PlaceAndPaint(lastColumn, 31, 1), 0, 0);
    // Column 31 of row 0 is free but never offered.
    ExpectPlace(PlaceAndPaint(lastColumn, 1, 1), 0, 1);
}

TEST(TextureAtlas, FullWidthRegionsAlwaysOpenANewRow) {
    CTextureAtlas atlas;
    ExpectPlace(PlaceAndPaint(atlas, 32, 1), 0, 0);
    ExpectPlace(PlaceAndPaint(atlas, 1, 1), 0, 1);
    ExpectPlace(PlaceAndPaint(atlas, 32, 2), 0, 2);
    EXPECT_EQ(atlas.Rows()[2].used, 0xFFFFFFFFu);
    ExpectPlace(PlaceAndPaint(atlas, 2, 1), 1, 1);
}

TEST(TextureAtlas, MatchesTheCellByCellRuleOnRandomRegions) {
    std::mt19937 random(4711);
    for (int round = 0; round < 40; ++round) {
        // Painted cell by cell and row by row: the same places and cells.
        CTextureAtlas atlas, byRows;
        LITERAL_ATLAS literal;
        for (int n = 0; n < 300; ++n) {
            // Mostly small regions, now and then a wide or a tall one.
            int width = 1 + static_cast<int>(random() % (random() % 4 == 0 ? 32 : 6));
            int height = 1 + static_cast<int>(random() % (random() % 4 == 0 ? 32 : 4));
            const uint32_t colour = static_cast<uint32_t>(random()) & 0xFFFFFF;
            PLACE expected = literal.Place(width, height);
            PLACE actual = PlaceAndPaint(atlas, width, height, colour);
            ASSERT_EQ(actual.column, expected.column) << "round " << round << " region " << n;
            ASSERT_EQ(actual.row, expected.row) << "round " << round << " region " << n;
            PLACE rowWise = PlaceAndPaintRows(byRows, width, height, colour);
            ASSERT_EQ(rowWise.column, expected.column) << "round " << round << " region " << n;
            ASSERT_EQ(rowWise.row, expected.row) << "round " << round << " region " << n;
            literal.Fill(expected, width, height);
        }
        ASSERT_EQ(byRows.RowCount(), atlas.RowCount());
        for (int r = 0; r < atlas.RowCount(); ++r) {
            EXPECT_EQ(byRows.Rows()[r].used, atlas.Rows()[r].used) << "row " << r;
            EXPECT_EQ(byRows.Rows()[r].colours, atlas.Rows()[r].colours) << "row " << r;
        }
    }
}

TEST(TextureAtlas, ImageHeightIsAPowerOfTwoRowsOf16Pixels) {
    CTextureAtlas atlas;
    EXPECT_EQ(atlas.ImageHeight(), 16);
    const std::pair<int, int> cases[] = {{1, 16}, {2, 32}, {3, 64}, {4, 64}, {16, 256}, {17, 512}};
    for (auto [rows, height] : cases) {
        CTextureAtlas grown;
        grown.Paint(rows - 1, 0, 1);
        EXPECT_EQ(grown.ImageHeight(), height) << rows << " rows";
    }
}

TEST(TextureAtlas, RendersCellsAsSquaresInRgbOrder) {
    CTextureAtlas atlas;
    atlas.Paint(0, 0, 0x0000FF);    // red
    atlas.Paint(1, 31, 0x00FF8040); // blue-ish: r 0x40, g 0x80, b 0xFF
    std::vector<uint8_t> rgb = atlas.RenderRgb();
    ASSERT_EQ(rgb.size(), size_t(512) * 32 * 3);
    auto pixel = [&](int x, int y) {
        size_t at = (static_cast<size_t>(y) * 512 + static_cast<size_t>(x)) * 3;
        return std::array<int, 3>{rgb[at], rgb[at + 1], rgb[at + 2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(pixel(15, 15), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(pixel(16, 0), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(pixel(496, 16), (std::array<int, 3>{0x40, 0x80, 0xFF}));
    EXPECT_EQ(pixel(511, 31), (std::array<int, 3>{0x40, 0x80, 0xFF}));
    EXPECT_EQ(pixel(495, 31), (std::array<int, 3>{0, 0, 0}));
}

TEST(TextureAtlas, PixelRowsRepeatEachCellsColourAcrossItsSixteenPixels) {
    // Random colours, their unused top byte set too, in every column; and
    // rows before, past and at the end of the atlas, which are black.
    std::mt19937 random(16);
    CTextureAtlas atlas;
    for (int c = 0; c < 32; c += 1 + static_cast<int>(random() % 2))
        atlas.Paint(1, c, static_cast<uint32_t>(random()));
    for (int row : {-1, 0, 1, 2, 1000}) {
        SCOPED_TRACE(row);
        std::vector<uint8_t> pixels(512 * 3, 0xAB);
        atlas.FillPixelRow(row, pixels.data());
        for (int x = 0; x < 512; ++x) {
            const uint32_t colour = row == 1 ? atlas.Rows()[1].colours[x / 16] : 0;
            for (int k = 0; k < 3; ++k)
                ASSERT_EQ(pixels[x * 3 + k], static_cast<uint8_t>(colour >> (8 * k)))
                    << "pixel " << x << " byte " << k;
        }
    }
}

TEST(TextureAtlas, CallsARowARepeatOnlyWhenItsPixelsAreTheRowAbove) {
    // Rows 0 and 1 alike, 2 one cell different, 3 like 2; the image's rows
    // past the end are black.
    CTextureAtlas atlas;
    for (int row = 0; row < 4; ++row)
        for (int c = 0; c < 32; ++c)
            atlas.Paint(row, c, static_cast<uint32_t>(c * 0x010203));
    atlas.Paint(2, 31, 0x123456);
    atlas.Paint(3, 31, 0x123456);
    auto pixels = [&](int row) {
        std::vector<uint8_t> out(512 * 3);
        atlas.FillPixelRow(row, out.data());
        return out;
    };
    for (int row = -1; row <= 7; ++row) {
        const bool repeats = atlas.RepeatsRowAbove(row);
        EXPECT_EQ(repeats, row == 1 || row == 3 || row >= 5) << "row " << row;
        if (repeats) {
            EXPECT_EQ(pixels(row), pixels(row - 1)) << "row " << row;
        }
    }
}

TEST(TextureAtlas, CornerCoordinatesSitInsideTheRegion) {
    auto uv = CTextureAtlas::CornerCoordinates({4, 2}, 3, 2);
    EXPECT_FLOAT_EQ(uv[0].u, 4.0f);
    EXPECT_FLOAT_EQ(uv[0].v, 2.0f);
    EXPECT_FLOAT_EQ(uv[1].u, 7.0f - 0.05625f);
    EXPECT_FLOAT_EQ(uv[1].v, 2.0f);
    EXPECT_FLOAT_EQ(uv[2].u, 7.0f - 0.05625f);
    EXPECT_FLOAT_EQ(uv[2].v, 4.0f - 0.05625f);
    EXPECT_FLOAT_EQ(uv[3].u, 4.0f);
    EXPECT_FLOAT_EQ(uv[3].v, 4.0f - 0.05625f);

    // In pixels: half a pixel in from the left and top edges, 0.4 pixel in
    // from the right and bottom edges.
    auto topLeft = CTextureAtlas::Rescale(uv[0], 64);
    auto bottomRight = CTextureAtlas::Rescale(uv[2], 64);
    EXPECT_FLOAT_EQ(topLeft.u * 512, 64.5f);
    EXPECT_FLOAT_EQ(topLeft.v * 64, 32.5f);
    EXPECT_NEAR(bottomRight.u * 512, 112.0f - 0.4f, 1e-4);
    EXPECT_NEAR(bottomRight.v * 64, 64.0f - 0.4f, 1e-4);
    // Untextured corners (0, 0) land on the first pixel's centre.
    auto origin = CTextureAtlas::Rescale({0, 0}, 16);
    EXPECT_FLOAT_EQ(origin.u, 0.5f / 512);
    EXPECT_FLOAT_EQ(origin.v, 0.5f / 16);
}
