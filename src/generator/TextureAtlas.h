#pragma once
// The texture atlas of a generated model: rows of 32 cells, one cell per dot
// of a textured face, growing downward one row at a time. Regions are placed
// first fit; the image is 512 pixels wide with 16 × 16 pixels per cell.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class CTextureAtlas {
public:
    static constexpr int COLUMNS = 32;
    static constexpr int CELL_PIXELS = 16;
    static constexpr int IMAGE_WIDTH = COLUMNS * CELL_PIXELS;
    // Texture coordinates of a region's right and bottom corners stop this
    // many cells short of the edge, so they sample inside the region.
    static constexpr float INSET = 0.05625f;

    // One atlas row: the colour of each cell (COLORREF order, red in the
    // lowest byte; 0 until painted) and which cells are used (bit c for
    // column c).
    struct CTextureRow {
        std::array<uint32_t, COLUMNS> colours{};
        uint32_t used = 0;
    };

    struct PLACE {
        int column;
        int row;
    };

    struct UV {
        float u;
        float v;
    };

    // Places a region of width × height cells (both ≥ 1) and returns its
    // top-left cell: the first window, lowest row then lowest column, whose
    // cells are all free, among start rows that exist and start columns c
    // with c + width < 32 (so a region never ends in the last column of an
    // existing row); rows below the last one count as free. Without such a
    // window (always when width ≥ 32) the region goes to column 0 of the row
    // after the last one. Placing marks nothing: Paint does.
    PLACE Place(int width, int height);

    // Makes room for rows rows at once: an atlas grown one row at a time
    // moves its rows to fresh memory at every doubling, which on a tall
    // image costs more than placing its regions.
    void Reserve(size_t rows);

    // Gives the cell its colour and marks it used, appending empty rows until
    // the row exists. row ≥ 0, 0 ≤ column < 32.
    void Paint(int row, int column, uint32_t colour);
    // Marks width cells of a row from column on used, appending empty rows
    // until the row exists, and returns the first of their colours for the
    // caller to fill in: a region painted a row at a time. row ≥ 0,
    // column ≥ 0, width ≥ 1, column + width ≤ 32.
    uint32_t* PaintRow(int row, int column, int width);

    const std::vector<CTextureRow>& Rows() const { return rows_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }

    // Height of the image in pixels: 16 × the smallest power of two that is
    // at least the row count (16 for no row or one row).
    int ImageHeight() const;

    // One pixel row of the cells of atlas row row (IMAGE_WIDTH × 3 bytes, red,
    // green, blue); every pixel row of the atlas row's 16 is the same. Rows
    // past the last one, and cells never painted, are black.
    void FillPixelRow(int row, uint8_t* pixels) const;
    // Whether atlas row row (1 or more) has the cells of the row above it,
    // so FillPixelRow gives the same pixels: a quick test that may miss
    // equal rows (the row just past the last one) but never calls unequal
    // ones equal.
    bool RepeatsRowAbove(int row) const {
        if (row < 1 || row == RowCount())
            return false;
        if (row > RowCount())
            return true; // both past the last row: black
        return rows_[static_cast<size_t>(row)].colours ==
               rows_[static_cast<size_t>(row) - 1].colours;
    }

    // The image, row by row from the top, three bytes (red, green, blue) per
    // pixel, IMAGE_WIDTH × ImageHeight(); cells never painted are black.
    std::vector<uint8_t> RenderRgb() const;

    // Texture coordinates in cell units of the corners A, B, C, D of a face
    // whose region of width × height cells starts at place: A is the
    // region's top-left, B top-right, C bottom-right, D bottom-left.
    static std::array<UV, 4> CornerCoordinates(PLACE place, int width, int height);

    // Turns cell-unit coordinates into image coordinates (0 to 1) for an
    // image of imageHeight pixels, moving them half a pixel into the cell.
    // Inline: every textured vertex of a model goes through it.
    static UV Rescale(UV cellUnits, int imageHeight) {
        return {(cellUnits.u * CELL_PIXELS + 0.5f) / static_cast<float>(IMAGE_WIDTH),
                (cellUnits.v * CELL_PIXELS + 0.5f) / static_cast<float>(imageHeight)};
    }

private:
    // Start columns c (bit c) with c + width < 32 at which width cells of
    // the row are free.
    static uint32_t FreeStarts(uint32_t used, int width);

    std::vector<CTextureRow> rows_;
    // runBound_[r]: no run of free cells among columns 0 to 30 of row r is
    // longer than this, as learnt from a width that found no start there
    // (-1 when nothing is known since the row last changed).
    std::vector<int> runBound_;
    // firstRow_[w]: every row above it has no run of w free cells. Rows only
    // fill up, so this only moves down.
    std::array<int, COLUMNS> firstRow_{};
};
