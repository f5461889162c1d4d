#include "document/DotHolder.h"

#include <gtest/gtest.h>

#include "document/Archive.h"

namespace {

CDotImage Numbered(int width, int height) {
    CDotImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetDot(x, y, 1 + x + y * width);
    return image;
}

} // namespace

TEST(DotImage, StorageFollowsTheSize) {
    CDotImage image(0, 5);
    EXPECT_FALSE(image.HasStorage());
    image.Resize(3, 2);
    ASSERT_TRUE(image.HasStorage());
    EXPECT_EQ(image.GetDot(2, 1), 0);
    image.SetDot(2, 1, 7);
    EXPECT_EQ(image.Data()[2 + 1 * 3], 7); // row by row
    image.Resize(-1, 4);
    EXPECT_FALSE(image.HasStorage());
    EXPECT_EQ(image.GetWidth(), -1);
}

TEST(DotImage, CopyTakesSizeAndValues) {
    const CDotImage source = Numbered(3, 2);
    CDotImage copy(10, 10);
    copy.Copy(source);
    EXPECT_EQ(copy, source);
    copy.SetDot(0, 0, 31);
    EXPECT_EQ(source.GetDot(0, 0), 1); // a deep copy
    copy.Copy(copy);                   // copying itself changes nothing
    EXPECT_EQ(copy.GetDot(0, 0), 31);
    CDotImage empty;
    copy.Copy(empty);
    EXPECT_FALSE(copy.HasStorage());
}

TEST(DotImage, WriteAndReadBytes) {
    CDotImage empty(0, 5);
    CArchiveWriter w;
    empty.Write(w);
    EXPECT_EQ(w.Bytes(), (std::vector<uint8_t>{0x00, 0x05}));

    CDotImage image = Numbered(2, 2);
    image.SetDot(1, 1, 0x85); // full values, scratch bit included
    CArchiveWriter w2;
    image.Write(w2);
    EXPECT_EQ(w2.Bytes(), (std::vector<uint8_t>{2, 2, 1, 2, 3, 0x85}));
    CArchiveReader r(w2.Bytes());
    const auto back = CDotImage::Read(r);
    EXPECT_EQ(*back, image);
    EXPECT_TRUE(r.AtEnd());
}

TEST(DotImage, ReadRefusesShortDataAndWriteRefusesLargeSizes) {
    const uint8_t shortData[] = {3, 3, 1, 2, 3};
    CArchiveReader r(shortData);
    EXPECT_THROW(CDotImage::Read(r), CArchiveException);
    const uint8_t noSize[] = {3};
    CArchiveReader r2(noSize);
    EXPECT_THROW(CDotImage::Read(r2), CArchiveException);

    CDotImage wide(256, 1);
    CArchiveWriter w;
    EXPECT_THROW(wide.Write(w), std::invalid_argument);
    EXPECT_EQ(w.Size(), 0u);
}

TEST(DotHolder, BlitClipsTheDestination) {
    CDotImage target(4, 4);
    const CDotImage source = Numbered(3, 3);
    target.Blit(source, {0, 0}, {2, 3}, {3, 3}, -1);
    // Only (2,3) and (3,3) lie inside the target.
    EXPECT_EQ(target.GetDot(2, 3), 1);
    EXPECT_EQ(target.GetDot(3, 3), 2);
    int written = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            written += target.GetDot(x, y) != 0;
    EXPECT_EQ(written, 2);
    // Negative destinations are clipped too.
    CDotImage other(2, 2);
    other.Blit(source, {0, 0}, {-1, -1}, {3, 3}, -1);
    EXPECT_EQ(other.GetDot(0, 0), 5);
    EXPECT_EQ(other.GetDot(1, 1), 9);
}

TEST(DotHolder, BlitReadsZeroOutsideTheSourceUnlessSkipped) {
    const CDotImage source = Numbered(2, 2);
    CDotImage target(3, 3);
    target.Fill({0, 0, 3, 3}, 7);
    target.Blit(source, {1, 1}, {0, 0}, {3, 3}, -1);
    EXPECT_EQ(target.GetDot(0, 0), 4); // source (1, 1)
    EXPECT_EQ(target.GetDot(1, 0), 0); // source (2, 1) is outside
    EXPECT_EQ(target.GetDot(2, 2), 0);

    target.Fill({0, 0, 3, 3}, 7);
    target.Blit(source, {1, 1}, {0, 0}, {3, 3}, 0); // 0 is transparent
    EXPECT_EQ(target.GetDot(0, 0), 4);
    EXPECT_EQ(target.GetDot(1, 0), 7);
    EXPECT_EQ(target.GetDot(2, 2), 7);
}

TEST(DotHolder, BlitSkipsTheSkipValue) {
    CDotImage source(2, 1);
    source.SetDot(0, 0, 3);
    source.SetDot(1, 0, 5);
    CDotImage target(2, 1);
    target.Fill({0, 0, 2, 1}, 9);
    target.Blit(source, {0, 0}, {0, 0}, {2, 1}, 5);
    EXPECT_EQ(target.GetDot(0, 0), 3);
    EXPECT_EQ(target.GetDot(1, 0), 9);
}

TEST(DotHolder, FillCoversTheHalfOpenRectangle) {
    CDotImage image(4, 4);
    image.Fill({1, 1, 3, 2}, 6);
    EXPECT_EQ(image.GetDot(1, 1), 6);
    EXPECT_EQ(image.GetDot(2, 1), 6);
    EXPECT_EQ(image.GetDot(3, 1), 0);
    EXPECT_EQ(image.GetDot(1, 2), 0);
    EXPECT_EQ(image.GetDot(0, 1), 0);
}
