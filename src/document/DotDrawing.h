#pragma once
// The drawing algorithms of the dot view's tools, on any block of dot values:
// the exact integer line, rectangles dragged from an anchor, outlines and
// filled rectangles, and the 4-connected flood fill. Cells outside the block
// are never written.

#include <functional>

#include "document/DotHolder.h"

// Writes value at (x, y) when the cell lies inside image; returns whether the
// value there changed.
bool SetCell(CDotHolder& image, int x, int y, int value);

// Calls plot for every cell of the line between from and to, in order of the
// longer axis. The cells do not depend on which end is given first; equal
// ends give one cell.
void PlotLine(DotPoint from, DotPoint to, const std::function<void(int, int)>& plot);
// Draws the line into image (cells outside it are skipped).
void DrawLine(CDotHolder& image, DotPoint from, DotPoint to, int value);

// The cells covered by a drag from anchor to cell (both inclusive, in any
// order), intersected with (0, 0, bounds).
DotRect RangeRect(DotPoint anchor, DotPoint cell, DotSize bounds);
// The border cells of rect (one cell wide), clipped to image.
void DrawOutline(CDotHolder& image, const DotRect& rect, int value);
// Every cell of rect, clipped to image.
void DrawFilledRect(CDotHolder& image, const DotRect& rect, int value);

// Replaces the 4-connected region of equal values that holds start with value
// (diagonal neighbours do not join a region). Uses its own stack, so any block
// size is safe. Returns whether a cell changed: false when start lies outside
// image or already holds value.
bool FloodFill(CDotHolder& image, DotPoint start, int value);
