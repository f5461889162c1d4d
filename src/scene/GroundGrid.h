#pragma once
// The ground grid under the model: grey lines every 5 units from −50 to 50
// in x and z, and the three axes from the origin (red +x, green +y, blue −z).
// The grid leaves out the half-lines the axes cover.

#include <vector>

// A line vertex: position x, y, z and colour r, g, b, a.
struct LINE_VERTEX {
    float x, y, z;
    float r, g, b, a;
};

// A line list of 90 vertices: 42 grid lines, then the three axes.
std::vector<LINE_VERTEX> BuildGroundGrid();
