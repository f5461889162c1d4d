// The archive writer handing its bytes to a sink in pieces, and files
// written atomically from such pieces.

#include "document/Archive.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <numeric>
#include <random>

namespace {

// Every kind of write, long enough to fill a small buffer many times over.
void WriteMixture(CArchiveWriter& w) {
    for (int i = 0; i < 300; ++i) {
        w.WriteU8(static_cast<uint8_t>(i));
        w.WriteU16(static_cast<uint16_t>(i * 257));
        w.WriteU32(0x01020304u * static_cast<uint32_t>(i));
        w.WriteF32(static_cast<float>(i) / 3);
        w.WriteFixed("name", 7, 0xEE);
        w.WriteString(u"部品");
    }
    std::vector<uint8_t> large(1000);
    std::iota(large.begin(), large.end(), uint8_t{0});
    w.WriteBytes(large); // larger than the buffer: goes straight through
    w.WriteU8(0x5A);
}

std::vector<uint8_t> Whole() {
    CArchiveWriter w;
    WriteMixture(w);
    return w.Take();
}

} // namespace

TEST(ArchiveSink, PiecesJoinToTheSameBytesAndStayNearTheBufferSize) {
    for (size_t bufferSize : {size_t{1}, size_t{7}, size_t{64}, size_t{100000}}) {
        SCOPED_TRACE(bufferSize);
        std::vector<uint8_t> joined;
        size_t pieces = 0, largest = 0;
        CArchiveWriter w(
            [&](std::span<const uint8_t> piece) {
                joined.insert(joined.end(), piece.begin(), piece.end());
                ++pieces;
                largest = std::max(largest, piece.size());
            },
            bufferSize);
        WriteMixture(w);
        EXPECT_LE(w.Size(), std::max<size_t>(bufferSize, 64)); // nothing piles up
        w.Flush();
        EXPECT_EQ(w.Size(), 0u);
        w.Flush(); // nothing left: no empty piece
        EXPECT_EQ(joined, Whole());
        if (bufferSize == 100000) {
            EXPECT_EQ(pieces, 1u);
        } else {
            EXPECT_GT(pieces, 10u);
            // Only the large block of bytes comes as one piece beyond a few
            // bytes over the buffer.
            EXPECT_TRUE(largest == 1000 || largest < bufferSize + 32) << largest;
        }
    }
}

TEST(ArchiveSink, StreamedFileHoldsEveryPieceAndAFailingProducerLeavesTheOldFile) {
    CTempFolder folder("stream");
    const std::string path = folder.File("out.bin");
    StreamFileAtomically(path, [](const CArchiveWriter::SINK& sink) {
        CArchiveWriter w(sink, 64);
        WriteMixture(w);
        w.Flush();
    });
    EXPECT_EQ(ReadFileBytes(path), Whole());

    // A producer that fails after some pieces were written: the exception
    // passes unchanged, the old file stays, and no temporary file is left.
    struct FAILURE {};
    EXPECT_THROW(StreamFileAtomically(path,
                                      [](const CArchiveWriter::SINK& sink) {
                                          sink(std::vector<uint8_t>(5000, 1));
                                          throw FAILURE{};
                                      }),
                 FAILURE);
    EXPECT_EQ(ReadFileBytes(path), Whole());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ArchiveSink, RoomFilledInPlaceLandsInOrderAndPiecesKeepToTheBuffer) {
    // Random mixtures of records filled in place and plain values; a record
    // larger than the buffer is the only piece allowed to exceed it.
    std::mt19937 random(5);
    for (size_t bufferSize : {size_t{1}, size_t{16}, size_t{38}, size_t{4096}}) {
        SCOPED_TRACE(bufferSize);
        std::vector<uint8_t> expected, joined;
        size_t oversized = 0;
        CArchiveWriter w(
            [&](std::span<const uint8_t> piece) {
                joined.insert(joined.end(), piece.begin(), piece.end());
                oversized += piece.size() > bufferSize ? 1 : 0;
            },
            bufferSize);
        size_t largeRecords = 0;
        for (int i = 0; i < 2000; ++i) {
            if (random() % 3 == 0) {
                w.WriteU32(static_cast<uint32_t>(i));
                largeRecords += 4 > bufferSize ? 1 : 0;
                for (int k = 0; k < 4; ++k)
                    expected.push_back(static_cast<uint8_t>(i >> (8 * k)));
                continue;
            }
            const size_t size = random() % 60;
            largeRecords += size > bufferSize ? 1 : 0;
            uint8_t* at = w.Extend(size);
            for (size_t k = 0; k < size; ++k) {
                at[k] = static_cast<uint8_t>(random());
                expected.push_back(at[k]);
            }
        }
        w.Flush();
        EXPECT_EQ(joined, expected);
        EXPECT_LE(oversized, largeRecords);
    }
}

TEST(ArchiveWriter, BytesSeenMidwayAreKeptAndWritingGoesOn) {
    CArchiveWriter w;
    w.Reserve(1000);
    w.WriteU16(0x0201);
    EXPECT_EQ(w.Bytes(), (std::vector<uint8_t>{1, 2})); // not the reserved room
    std::memcpy(w.Extend(3), "abc", 3);
    w.WriteFixed("xy", 4, 0xEE);
    EXPECT_EQ(w.Size(), 9u);
    EXPECT_EQ(w.Take(), (std::vector<uint8_t>{1, 2, 'a', 'b', 'c', 'x', 'y', 0xEE, 0xEE}));
    EXPECT_EQ(w.Size(), 0u);
    w.WriteU8(7); // a taken writer starts again empty
    EXPECT_EQ(w.Take(), (std::vector<uint8_t>{7}));
}

TEST(ArchiveSink, AFileOfManyMegabytesInManyPiecesLandsWhole) {
    // Long enough that its writeback is started while later pieces are
    // still coming; pieces of uneven sizes, so ranges never line up.
    CTempFolder folder("stream");
    const std::string path = folder.File("large.bin");
    std::vector<uint8_t> expected;
    StreamFileAtomically(path, [&](const CArchiveWriter::SINK& sink) {
        std::mt19937 random(9);
        for (int piece = 0; piece < 70; ++piece) {
            std::vector<uint8_t> bytes(40000 + random() % 50000);
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(random());
            expected.insert(expected.end(), bytes.begin(), bytes.end());
            sink(bytes);
        }
    });
    EXPECT_GT(expected.size(), size_t{3} << 20);
    EXPECT_EQ(ReadFileBytes(path), expected);
}
