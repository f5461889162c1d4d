// The clipboard payloads: the dot block, the bitmap with its file header
// (byte for byte), pictures turned into blocks, the part record with its
// subtree, and every kind of hostile payload refused without harm.

#include <gtest/gtest.h>

#include <cstring>

#include "document/Archive.h"
#include "document/DotClipboard.h"
#include "document/SelectionTransform.h"
#include "support/EditFixture.h"

namespace {

CDotImage Block(int width, int height) {
    CDotImage block(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            block.SetDot(x, y, (x + 3 * y) % 32);
    return block;
}

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

} // namespace

TEST(SelectionTransforms, FourRightTurnsGiveTheBlockBackAndEachTurnIsExact) {
    const CDotImage original = Block(3, 2);
    CDotImage turned = SelectionTransform::RotateRight.Apply(original);
    ASSERT_EQ(turned.GetWidth(), 2);
    ASSERT_EQ(turned.GetHeight(), 3);
    // Clockwise: the top-left cell goes to the top-right corner.
    EXPECT_EQ(turned.GetDot(1, 0), original.GetDot(0, 0));
    EXPECT_EQ(turned.GetDot(0, 0), original.GetDot(0, 1));
    for (int i = 0; i < 3; ++i)
        turned = SelectionTransform::RotateRight.Apply(turned);
    EXPECT_EQ(turned, original);

    EXPECT_EQ(SelectionTransform::RotateLeft.Apply(SelectionTransform::RotateRight.Apply(original)),
              original);
    const CDotImage half = SelectionTransform::Rotate180.Apply(original);
    EXPECT_EQ(half.GetDot(2, 1), original.GetDot(0, 0));
    EXPECT_EQ(SelectionTransform::FlipHorizontal.Apply(original).GetDot(2, 0),
              original.GetDot(0, 0));
    EXPECT_EQ(SelectionTransform::FlipVertical.Apply(original).GetDot(0, 1), original.GetDot(0, 0));
    EXPECT_EQ(
        SelectionTransform::FlipVertical.Apply(SelectionTransform::FlipHorizontal.Apply(original)),
        half);
    for (const SelectionTransform* transform : SelectionTransform::All())
        EXPECT_EQ(SelectionTransform::FromCommand(transform->commandId), transform);
    EXPECT_EQ(SelectionTransform::FromCommand(1), nullptr);
}

TEST(DotBlockPayload, RoundTripsAndRefusesShortOrEmptyData) {
    const CDotImage block = Block(5, 4);
    const std::vector<uint8_t> bytes = EncodeDotBlock(block);
    ASSERT_EQ(bytes.size(), 2u + 20u);
    EXPECT_EQ(bytes[0], 5);
    EXPECT_EQ(bytes[1], 4);
    EXPECT_EQ(bytes[2 + 1 * 5 + 2], block.GetDot(2, 1));
    EXPECT_EQ(DecodeDotBlock(bytes), block);

    // Size bytes that promise more than follows.
    const std::vector<uint8_t> lying{200, 200, 1, 2, 3};
    EXPECT_FALSE(DecodeDotBlock(lying));
    EXPECT_FALSE(DecodeDotBlock(std::vector<uint8_t>{7}));
    EXPECT_FALSE(DecodeDotBlock({}));
    // Values beyond the palette keep their index bits only.
    const auto masked = DecodeDotBlock(std::vector<uint8_t>{1, 1, 0xFF});
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->GetDot(0, 0), 31);
}

TEST(BitmapPayload, BytesAreExact) {
    CDotDocument document;
    document.GetColor(1).color = MakeColorRef(10, 20, 30);
    CDotImage block(2, 2);
    block.SetDot(0, 0, 1); // top-left
    const std::vector<uint8_t> bytes = EncodeBitmap(block, document);
    ASSERT_EQ(bytes.size(), 14u + 40u + 16u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(U32(bytes, 2), 70u);  // file size
    EXPECT_EQ(U32(bytes, 6), 0u);   // reserved
    EXPECT_EQ(U32(bytes, 10), 54u); // pixels start
    EXPECT_EQ(U32(bytes, 14), 40u);
    EXPECT_EQ(U32(bytes, 18), 2u);
    EXPECT_EQ(U32(bytes, 22), 2u);
    EXPECT_EQ(bytes[26], 1);
    EXPECT_EQ(bytes[27], 0);
    EXPECT_EQ(bytes[28], 32);
    for (size_t at = 30; at < 54; ++at)
        EXPECT_EQ(bytes[at], 0) << at;
    // Bottom row first: the top-left cell is the third pixel.
    const std::vector<uint8_t> pixels(bytes.begin() + 54, bytes.end());
    EXPECT_EQ(pixels, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 30, 20, 10, 0, 0, 0, 0, 0}));
}

TEST(PicturePaste, CutsTo32AndMapsToTheNearestColourWithAlphaZeroEmpty) {
    CDotDocument document;
    const uint32_t red = 0xFFFF0000;
    const CDotImage block = PictureToBlock(
        40, 10, true, [&](int x, int) { return x == 3 ? 0x00FF0000u : red; }, document);
    EXPECT_EQ(block.GetWidth(), 32);
    EXPECT_EQ(block.GetHeight(), 10);
    EXPECT_EQ(block.GetDot(3, 0), 0);
    EXPECT_EQ(block.GetDot(0, 0), document.FindNearestColor(MakeColorRef(255, 0, 0)));
    // Without alpha no pixel is empty.
    const CDotImage opaque = PictureToBlock(
        2, 2, false, [](int, int) { return 0u; }, document);
    EXPECT_NE(opaque.GetDot(1, 1), 0);
    // A picture of no pixels gives an empty block; a huge one reads 32 × 32.
    EXPECT_EQ(PictureToBlock(
                  0, 0, true, [](int, int) { return 0u; }, document)
                  .GetWidth(),
              0);
    int reads = 0;
    PictureToBlock(
        100000, 100000, true, [&](int, int) { return ++reads, 0u; }, document);
    EXPECT_EQ(reads, 32 * 32);
    // Block pixels go the other way: colour with alpha 255, empty is 0.
    CDotImage cells(2, 1);
    cells.SetDot(0, 0, 1);
    const std::vector<uint32_t> pixels = BlockPixels(cells, document);
    const uint32_t first = document.GetColor(1).color;
    EXPECT_EQ(pixels[0], 0xFF000000u | uint32_t(RedOf(first)) << 16 |
                             uint32_t(GreenOf(first)) << 8 | uint32_t(BlueOf(first)));
    EXPECT_EQ(pixels[1], 0u);
}

class PartPayloadTest : public EditTest {};

TEST_F(PartPayloadTest, RoundTripsWithItsSubtree) {
    CDotPart* arm = Add(3, u"腕");
    CDotPart* hand = Add(4, u"手", arm);
    arm->SetDot(1, 2, 3, 7);
    hand->SetDot(31, 31, 31, 2);
    hand->rate = 1.5f;
    const std::vector<uint8_t> bytes = WritePartPayload(*arm);
    std::unique_ptr<CDotPart> copy = ReadPartPayload(bytes, document);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->name, u"腕");
    EXPECT_EQ(copy->GetDot(1, 2, 3), 7);
    ASSERT_EQ(copy->GetChildCount(), 1);
    auto* child = dynamic_cast<CDotPart*>(copy->GetChild(0));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetDot(31, 31, 31), 2);
    EXPECT_EQ(child->rate, 1.5f);
    EXPECT_EQ(WritePartPayload(*copy), bytes);
}

TEST_F(PartPayloadTest, LyingCountsAndDeepNestingAreRefused) {
    CDotPart* arm = Add(3, u"腕");
    std::vector<uint8_t> bytes = WritePartPayload(*arm);
    // Truncated anywhere.
    for (size_t size : {size_t{0}, size_t{1}, bytes.size() / 2, bytes.size() - 1}) {
        EXPECT_THROW(ReadPartPayload(std::span(bytes).first(size), document), CArchiveException)
            << size;
    }
    // A child count of 65 535 with nothing behind it: the last u16 before the
    // linked id is the count.
    std::vector<uint8_t> lying = bytes;
    lying[lying.size() - 4] = 0xFF;
    lying[lying.size() - 3] = 0xFF;
    EXPECT_THROW(ReadPartPayload(lying, document), CArchiveException);

    // 10 000 levels, each record holding the next as its one child.
    const std::vector<uint8_t> head(bytes.begin(), bytes.end() - 4);
    std::vector<uint8_t> deep;
    for (int level = 0; level < 10000; ++level) {
        deep.insert(deep.end(), head.begin(), head.end());
        deep.insert(deep.end(), {1, 0});
    }
    deep.insert(deep.end(), head.begin(), head.end());
    deep.insert(deep.end(), {0, 0});
    for (int level = 0; level <= 10000; ++level)
        deep.insert(deep.end(), {0, 0});
    EXPECT_THROW(ReadPartPayload(deep, document), CArchiveException);
}
