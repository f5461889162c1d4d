// The hostile documents kept in tests/data/hostile are exactly what the test
// code makes (run with KUBRELL_WRITE_HOSTILE_DATA=1 to write them again), and
// the reader's mends of old and damaged files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "support/HostileDocuments.h"
#include "support/TestDocument.h"

namespace {

const std::filesystem::path HostileFolder = std::filesystem::path(KUBRELL_TEST_DATA) / "hostile";

TEST(HostileData, TheFilesAreWhatTheTestCodeMakes) {
    const bool write = std::getenv("KUBRELL_WRITE_HOSTILE_DATA") != nullptr;
    size_t files = 0;
    for (const HOSTILE_DOCUMENT& document : hostile::AllHostileDocuments()) {
        const std::string path = (HostileFolder / document.name).string();
        if (write) {
            std::filesystem::create_directories(HostileFolder);
            WriteFileAtomically(path, document.bytes);
        }
        EXPECT_EQ(ReadFileBytes(path), document.bytes) << document.name;
        ++files;
    }
    size_t kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(HostileFolder))
        kept += entry.path().extension() == ".kbrl" ? 1 : 0;
    EXPECT_EQ(kept, files) << "a file in " << HostileFolder << " that no test makes";
}

TEST(HostileData, ConvertingAnOldFileKeepsScaledJointPointsOnTheGrid) {
    CDotDocument document;
    CDotPart& body = AddPart(document, nullptr, u"体");
    CDotPart& arm = AddPart(document, &body, u"腕");
    arm.rate = 2.0f;
    arm.bonePosition = {40, 32, 32};
    CDotPart& hand = AddPart(document, &body, u"手");
    hand.rate = 10.0f;
    hand.bonePosition = {59, 32, 30}; // 32 + 27 × 10 = 302, 32 − 2 × 10 = 12
    std::vector<uint8_t> bytes = WriteDocumentFile(document);
    bytes[0] = 784 & 0xFF; // the layout is the same from 769 on
    bytes[1] = 784 >> 8;

    CDotDocument read;
    std::vector<std::string> notes;
    ReadDocumentFile(bytes, read, &notes);
    EXPECT_EQ(static_cast<CDotPart&>(*read.FindPartByName(u"腕")).bonePosition,
              (std::array{48, 32, 32}));
    EXPECT_EQ(static_cast<CDotPart&>(*read.FindPartByName(u"手")).bonePosition,
              (std::array{64, 32, 12}));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("\"手\""), std::string::npos) << notes[0];
    EXPECT_NE(notes[0].find("302"), std::string::npos) << notes[0];
    // Saved again, the point stays where the reader put it.
    CDotDocument again;
    ReadDocumentFile(WriteDocumentFile(read), again);
    EXPECT_EQ(static_cast<CDotPart&>(*again.FindPartByName(u"手")).bonePosition,
              (std::array{64, 32, 12}));
}

} // namespace
