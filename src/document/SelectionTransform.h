#pragma once
// The five turns and flips of a selected block, as 2 × 2 signed permutation
// matrices: the cell at column j, row i of a w × h block goes to column
// s(m11, j, w) + s(m12, i, h) and row s(m21, j, w) + s(m22, i, h) of the new
// block, where s(m, v, n) is n − 1 − v for m < 0, 0 for m = 0 and v for m > 0.

#include <span>

#include "document/DotHolder.h"

struct SelectionTransform {
    int m11, m12, m21, m22;
    unsigned commandId; // the menu command
    unsigned nameId;    // string id of the undo name

    // The block turned or flipped.
    CDotImage Apply(const CDotHolder& block) const;
    // The size of the result for a width × height block.
    DotSize ResultSize(int width, int height) const;

    static const SelectionTransform RotateRight; // clockwise on the screen
    static const SelectionTransform RotateLeft;
    static const SelectionTransform Rotate180;
    static const SelectionTransform FlipHorizontal; // left and right swap
    static const SelectionTransform FlipVertical;   // top and bottom swap

    static std::span<const SelectionTransform* const> All();
    // The transform of a command, null for any other command.
    static const SelectionTransform* FromCommand(unsigned id);
};
