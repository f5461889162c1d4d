#pragma once
// The dot view's geometry and scroll arithmetic. Cells are CellPitch
// device-independent pixels (DIPs) square; each axis scrolls over the 32
// columns (rows) with an origin, the first cell shown, and a page, the number
// of cells that fit.

#include "document/WheelNotches.h"

constexpr int CellPitch = 19;
constexpr int ScrollCells = 32;
// Pointer cells are kept within this distance of the grid: no real screen
// reaches farther, and the tools' loops stay short whatever a pointer reports.
constexpr int FarCells = 1024;

// Cells that fit in extent DIPs: 1 + trunc((extent − 18) / 19), 1 to 32.
int ScrollPage(double extent);
// origin limited to 0 … 32 − page.
int ClampScroll(int origin, int page);
// The origin that shows cell when it lies before or beyond the page, clamped;
// origin itself when cell is already shown.
int EnsureVisibleOrigin(int cell, int origin, int page);
// The cell under a point dip DIPs from the view's edge: origin + trunc(dip /
// 19) (toward zero), kept within FarCells of the grid.
int CellAt(int origin, double dip);
// The DIP offset of a cell's leading edge.
inline double CellEdge(int cell, int origin) { return (cell - origin) * double(CellPitch); }

// Wheel notches turned into steps of the view, limited to the grid, so that
// a touchpad's small deltas scroll too and any delta is safe.
class CWheelSteps {
public:
    static constexpr int Notch = CWheelNotches::Notch;
    // Returns the whole notches now complete (negative for negative deltas).
    int Add(int delta);
    void Reset() { notches_.Reset(); }

private:
    CWheelNotches notches_;
};
