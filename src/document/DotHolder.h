#pragma once
// Two-dimensional blocks of dot values: the interface shared by selections,
// clipboard blocks and the dot view's slices, and the owning image.

#include <cstdint>
#include <memory>

class CArchiveReader;
class CArchiveWriter;

struct DotPoint {
    int x = 0;
    int y = 0;
    bool operator==(const DotPoint&) const = default;
};

struct DotSize {
    int width = 0;
    int height = 0;
    bool operator==(const DotSize&) const = default;
};

// Half-open rectangle: left ≤ x < right, top ≤ y < bottom.
struct DotRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const DotRect&) const = default;
};

// Anything that holds a width × height block of dot values. Callers keep
// coordinates inside the block; GetDot and SetDot do not check them.
class CDotHolder {
public:
    virtual ~CDotHolder() = default;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual int GetDot(int x, int y) const = 0;
    virtual void SetDot(int x, int y, int value) = 0;

    // Copies a size-sized block from source at sourceOrigin to this holder at
    // destinationOrigin. Destination cells outside this holder are skipped;
    // source cells outside the source read as 0; a value equal to skipValue is
    // not written (pass a value outside 0–255 to write everything).
    void Blit(const CDotHolder& source, DotPoint sourceOrigin, DotPoint destinationOrigin,
              DotSize size, int skipValue);
    // Sets every cell of rect to value. The rectangle is not clipped.
    void Fill(const DotRect& rect, int value);
};

// An owned block of dot values, row by row (x + y × width). It has no storage
// while width × height ≤ 0.
class CDotImage : public CDotHolder {
public:
    CDotImage() = default;
    CDotImage(int width, int height);
    CDotImage(const CDotImage& other);
    CDotImage& operator=(const CDotImage& other);
    CDotImage(CDotImage&&) noexcept = default;
    CDotImage& operator=(CDotImage&&) noexcept = default;

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    int GetDot(int x, int y) const override { return dots_[x + y * width_]; }
    void SetDot(int x, int y, int value) override {
        dots_[x + y * width_] = static_cast<uint8_t>(value);
    }

    // Drops the dots and takes the new size; allocates zeroed storage when
    // width × height > 0.
    void Resize(int width, int height);
    // Becomes a copy of other (size and every value).
    void Copy(const CDotHolder& other);

    // u8 width, u8 height, then the rows top first, each x = 0 first. Throws
    // std::invalid_argument when a side is outside 0–255.
    void Write(CArchiveWriter& archive) const;
    // Reads what Write wrote; throws CArchiveException on short data.
    static std::unique_ptr<CDotImage> Read(CArchiveReader& archive);

    // The raw values, null when there is no storage.
    const uint8_t* Data() const { return dots_.get(); }
    uint8_t* Data() { return dots_.get(); }
    bool HasStorage() const { return dots_ != nullptr; }

    bool operator==(const CDotImage& other) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<uint8_t[]> dots_;
};
