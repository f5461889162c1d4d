#include "document/DotHolder.h"

#include <algorithm>
#include <stdexcept>

#include "document/Archive.h"

void CDotHolder::Blit(const CDotHolder& source, DotPoint sourceOrigin, DotPoint destinationOrigin,
                      DotSize size, int skipValue) {
    const int width = GetWidth();
    const int height = GetHeight();
    const int sourceWidth = source.GetWidth();
    const int sourceHeight = source.GetHeight();
    for (int r = 0; r < size.height; ++r) {
        const int dy = destinationOrigin.y + r;
        if (dy < 0 || dy >= height)
            continue;
        const int sy = sourceOrigin.y + r;
        for (int c = 0; c < size.width; ++c) {
            const int dx = destinationOrigin.x + c;
            if (dx < 0 || dx >= width)
                continue;
            const int sx = sourceOrigin.x + c;
            const bool inside = sx >= 0 && sx < sourceWidth && sy >= 0 && sy < sourceHeight;
            const int value = inside ? source.GetDot(sx, sy) : 0;
            if (value != skipValue)
                SetDot(dx, dy, value);
        }
    }
}

void CDotHolder::Fill(const DotRect& rect, int value) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            SetDot(x, y, value);
}

CDotImage::CDotImage(int width, int height) { Resize(width, height); }

CDotImage::CDotImage(const CDotImage& other) : CDotHolder() { Copy(other); }

CDotImage& CDotImage::operator=(const CDotImage& other) {
    if (this != &other)
        Copy(other);
    return *this;
}

void CDotImage::Resize(int width, int height) {
    dots_.reset();
    width_ = width;
    height_ = height;
    if (width > 0 && height > 0)
        dots_ =
            std::make_unique<uint8_t[]>(static_cast<size_t>(width) * static_cast<size_t>(height));
}

void CDotImage::Copy(const CDotHolder& other) {
    if (&other == this)
        return;
    const int width = other.GetWidth();
    const int height = other.GetHeight();
    Resize(width, height);
    if (!dots_)
        return;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetDot(x, y, other.GetDot(x, y));
}

void CDotImage::Write(CArchiveWriter& archive) const {
    if (width_ < 0 || width_ > 255 || height_ < 0 || height_ > 255)
        throw std::invalid_argument("dot image larger than 255 × 255 cannot be written");
    archive.WriteU8(static_cast<uint8_t>(width_));
    archive.WriteU8(static_cast<uint8_t>(height_));
    if (dots_)
        archive.WriteBytes(dots_.get(), static_cast<size_t>(width_) * static_cast<size_t>(height_));
}

std::unique_ptr<CDotImage> CDotImage::Read(CArchiveReader& archive) {
    const int width = archive.ReadU8();
    const int height = archive.ReadU8();
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    archive.Require(count, "dot image cells");
    auto image = std::make_unique<CDotImage>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetDot(x, y, archive.ReadU8());
    return image;
}

bool CDotImage::operator==(const CDotImage& other) const {
    if (width_ != other.width_ || height_ != other.height_)
        return false;
    if (!dots_ || !other.dots_)
        return dots_ == other.dots_;
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    return std::equal(dots_.get(), dots_.get() + count, other.dots_.get());
}
