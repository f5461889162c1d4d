#include "document/FaceOrientation.h"

#include "resources/CommandIds.h"

namespace {

// One coordinate picked through a matrix entry: v for 1, 31 − v for −1,
// nothing for 0.
int Select(int entry, int v) {
    if (entry < 0)
        return 31 - v;
    return entry > 0 ? v : 0;
}

} // namespace

const FaceOrientation FaceOrientation::Front{{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}, ID_VIEW_FRONT};
const FaceOrientation FaceOrientation::Back{{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}, ID_VIEW_BACK};
const FaceOrientation FaceOrientation::Left{{{0, 0, 1}, {0, -1, 0}, {-1, 0, 0}}, ID_VIEW_LEFT};
const FaceOrientation FaceOrientation::Right{{{0, 0, -1}, {0, -1, 0}, {1, 0, 0}}, ID_VIEW_RIGHT};
const FaceOrientation FaceOrientation::Top{{{1, 0, 0}, {0, 0, -1}, {0, -1, 0}}, ID_VIEW_TOP};
const FaceOrientation FaceOrientation::Bottom{{{1, 0, 0}, {0, 0, 1}, {0, 1, 0}}, ID_VIEW_BOTTOM};

GridCell FaceOrientation::ToGrid(int a, int b, int c) const {
    GridCell cell{};
    for (int row = 0; row < 3; ++row)
        cell[row] = Select(m[row][0], a) + Select(m[row][1], b) + Select(m[row][2], c);
    return cell;
}

ViewCell FaceOrientation::ToView(int x, int y, int z) const {
    ViewCell cell{};
    for (int column = 0; column < 3; ++column)
        cell[column] = Select(m[0][column], x) + Select(m[1][column], y) + Select(m[2][column], z);
    return cell;
}

std::span<const FaceOrientation* const> FaceOrientation::All() {
    static const FaceOrientation* const faces[] = {&Front, &Back, &Left, &Right, &Top, &Bottom};
    return faces;
}

const FaceOrientation* FaceOrientation::FromCommand(unsigned id) {
    for (const FaceOrientation* face : All())
        if (face->commandId == id)
            return face;
    return nullptr;
}
