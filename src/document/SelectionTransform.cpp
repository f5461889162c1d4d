#include "document/SelectionTransform.h"

#include <array>
#include <cstdlib>

#include "resources/CommandIds.h"

namespace {
constexpr unsigned StringRotate = 141; // 回転
constexpr unsigned StringFlip = 142;   // 反転

int Select(int m, int v, int n) { return m < 0 ? n - 1 - v : (m == 0 ? 0 : v); }
} // namespace

const SelectionTransform SelectionTransform::RotateRight{0,           -1, 1, 0, ID_DOT_ROTATE_RIGHT,
                                                         StringRotate};
const SelectionTransform SelectionTransform::RotateLeft{0,           1, -1, 0, ID_DOT_ROTATE_LEFT,
                                                        StringRotate};
const SelectionTransform SelectionTransform::Rotate180{-1,          0, 0, -1, ID_DOT_ROTATE_180,
                                                       StringRotate};
const SelectionTransform SelectionTransform::FlipHorizontal{
    -1, 0, 0, 1, ID_DOT_FLIP_HORIZONTAL, StringFlip};
const SelectionTransform SelectionTransform::FlipVertical{1,         0, 0, -1, ID_DOT_FLIP_VERTICAL,
                                                          StringFlip};

std::span<const SelectionTransform* const> SelectionTransform::All() {
    static const std::array<const SelectionTransform*, 5> all{&RotateRight, &RotateLeft, &Rotate180,
                                                              &FlipHorizontal, &FlipVertical};
    return all;
}

const SelectionTransform* SelectionTransform::FromCommand(unsigned id) {
    for (const SelectionTransform* transform : All())
        if (transform->commandId == id)
            return transform;
    return nullptr;
}

DotSize SelectionTransform::ResultSize(int width, int height) const {
    return {std::abs(width * m11 + height * m21), std::abs(height * m22 + width * m12)};
}

CDotImage SelectionTransform::Apply(const CDotHolder& block) const {
    const int w = block.GetWidth(), h = block.GetHeight();
    const DotSize size = ResultSize(w, h);
    CDotImage result(size.width, size.height);
    for (int i = 0; i < h; ++i)
        for (int j = 0; j < w; ++j)
            result.SetDot(Select(m11, j, w) + Select(m12, i, h),
                          Select(m21, j, w) + Select(m22, i, h), block.GetDot(j, i));
    return result;
}
