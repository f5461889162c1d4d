#include "generator/CornerLattice.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

bool CornersStayApart(float dotEdge, const std::array<int, 3>& joint,
                      const ROTATION_MATRIX& rotation, const VEC3& offset) {
    // A corner's part-local coordinate is (2 * dot - joint) * dotEdge / 2:
    // exact up to one rounding while 2 * dot - joint is a whole float.
    int jointSize = 0;
    for (int j : joint) {
        if (j < -(1 << 20) || j > (1 << 20))
            return false;
        jointSize = std::max(jointSize, std::abs(j));
    }
    const float edge = std::fabs(dotEdge);
    // Normals of faces this small or this large would underflow or overflow
    // in their squared length.
    if (!(edge >= 1e-6f && edge <= 1e6f))
        return false;
    // Distances kept: the columns are unit vectors at right angles, to well
    // within what the bound below needs.
    const float m[3][3] = {{rotation.m11, rotation.m12, rotation.m13},
                           {rotation.m21, rotation.m22, rotation.m23},
                           {rotation.m31, rotation.m32, rotation.m33}};
    for (int a = 0; a < 3; ++a)
        for (int b = a; b < 3; ++b) {
            const double dot =
                double(m[0][a]) * m[0][b] + double(m[1][a]) * m[1][b] + double(m[2][a]) * m[2][b];
            if (!(std::fabs(dot - (a == b ? 1.0 : 0.0)) <= 1e-3))
                return false;
        }
    // Two distinct lattice points are at least one dot edge apart, so some
    // coordinate of theirs differs by more than half an edge once rotated.
    // Rounding moves a coordinate by at most about five units in the last
    // place of the largest number in its sum: the edge must stay far above
    // that (here 2^-14 of it, some fifty times the bound).
    const double local = (2.0 * (CCornerLattice::SIDE - 1) + jointSize) * edge / 2.0;
    double largest = 0;
    for (int a = 0; a < 3; ++a) {
        const double size = local * (std::fabs(m[0][a]) + std::fabs(m[1][a]) + std::fabs(m[2][a])) +
                            std::fabs(double(offset[static_cast<size_t>(a)]));
        if (!std::isfinite(size))
            return false;
        largest = std::max(largest, size);
    }
    return double(edge) * 16384.0 >= largest;
}

void CCornerLattice::Reserve(size_t capacity) {
    if (capacity > MAX_CAPACITY)
        throw std::length_error("more model vertices than a corner lattice can hold");
    heads_.assign(size_t(SIDE) * SIDE * SIDE, 0);
    // Written before they are read, and only as far as the model grows.
    links_ = std::make_unique_for_overwrite<uint32_t[]>(capacity);
    capacity_ = capacity;
    first_ = 0;
}

void CCornerLattice::Overflow() {
    throw std::length_error("more model vertices than the corner lattice was sized for");
}
