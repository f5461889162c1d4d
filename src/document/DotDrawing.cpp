#include "document/DotDrawing.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

bool Inside(const CDotHolder& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.GetWidth() && y < image.GetHeight();
}

// -1 when a < b, +1 when a > b, 0 when equal.
int Direction(int a, int b) { return a < b ? -1 : (a > b ? 1 : 0); }

DotRect Clip(const CDotHolder& image, const DotRect& rect) {
    return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, image.GetWidth()),
            std::min(rect.bottom, image.GetHeight())};
}

} // namespace

bool SetCell(CDotHolder& image, int x, int y, int value) {
    if (!Inside(image, x, y) || image.GetDot(x, y) == value)
        return false;
    image.SetDot(x, y, value);
    return true;
}

void PlotLine(DotPoint from, DotPoint to, const std::function<void(int, int)>& plot) {
    const int width = std::abs(from.x - to.x) + 1;
    const int height = std::abs(from.y - to.y) + 1;
    const int xmin = std::min(from.x, to.x);
    const int ymin = std::min(from.y, to.y);
    // Walking from the minimum corner: the other axis rises when both run the
    // same way and falls from its far end otherwise.
    const bool sameWay = Direction(from.x, to.x) == Direction(from.y, to.y);
    // Walks the longer (major) axis from its minimum; the other axis starts at
    // its minimum and rises when both run the same way, else starts at its far
    // end and falls.
    auto walk = [&](int majorMin, int majorLength, int minorMin, int minorLength, bool steep) {
        const int step = sameWay ? 1 : -1;
        int minor = sameWay ? minorMin : minorMin + minorLength - 1;
        int err = majorLength - minorLength;
        for (int major = majorMin; major < majorMin + majorLength; ++major) {
            if (steep)
                plot(minor, major);
            else
                plot(major, minor);
            err -= minorLength;
            if (err < 0) {
                minor += step;
                err += majorLength;
            }
        }
    };
    if (width >= height)
        walk(xmin, width, ymin, height, false);
    else
        walk(ymin, height, xmin, width, true);
}

void DrawLine(CDotHolder& image, DotPoint from, DotPoint to, int value) {
    PlotLine(from, to, [&](int x, int y) { SetCell(image, x, y, value); });
}

DotRect RangeRect(DotPoint anchor, DotPoint cell, DotSize bounds) {
    DotRect rect{std::max(std::min(anchor.x, cell.x), 0), std::max(std::min(anchor.y, cell.y), 0),
                 std::min(std::max(anchor.x, cell.x) + 1, bounds.width),
                 std::min(std::max(anchor.y, cell.y) + 1, bounds.height)};
    if (rect.IsEmpty())
        return {};
    return rect;
}

void DrawOutline(CDotHolder& image, const DotRect& rect, int value) {
    if (rect.IsEmpty())
        return;
    for (int x = rect.left; x < rect.right; ++x) {
        SetCell(image, x, rect.top, value);
        SetCell(image, x, rect.bottom - 1, value);
    }
    for (int y = rect.top; y < rect.bottom; ++y) {
        SetCell(image, rect.left, y, value);
        SetCell(image, rect.right - 1, y, value);
    }
}

void DrawFilledRect(CDotHolder& image, const DotRect& rect, int value) {
    const DotRect clipped = Clip(image, rect);
    if (!clipped.IsEmpty())
        image.Fill(clipped, value);
}

bool FloodFill(CDotHolder& image, DotPoint start, int value) {
    if (!Inside(image, start.x, start.y))
        return false;
    const int target = image.GetDot(start.x, start.y);
    if (target == value)
        return false;
    // A cell is set when it is pushed, so each enters the stack at most once.
    std::vector<DotPoint> pending{start};
    image.SetDot(start.x, start.y, value);
    while (!pending.empty()) {
        const DotPoint cell = pending.back();
        pending.pop_back();
        const DotPoint neighbours[] = {
            {cell.x - 1, cell.y}, {cell.x + 1, cell.y}, {cell.x, cell.y - 1}, {cell.x, cell.y + 1}};
        for (const DotPoint& next : neighbours) {
            if (Inside(image, next.x, next.y) && image.GetDot(next.x, next.y) == target) {
                image.SetDot(next.x, next.y, value);
                pending.push_back(next);
            }
        }
    }
    return true;
}
