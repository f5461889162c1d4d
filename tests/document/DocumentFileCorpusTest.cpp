// Replays the fuzzing corpus kept in tests/data/fuzz through the reader:
// every file either opens or fails with a CArchiveException.

#include <filesystem>

#include <gtest/gtest.h>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"

TEST(DocumentFileCorpus, EveryFileOpensOrFailsCleanly) {
    const std::filesystem::path folder = std::filesystem::path(KUBRELL_TEST_DATA) / "fuzz";
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    int files = 0;
    int opened = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        SCOPED_TRACE(entry.path().string());
        const std::vector<uint8_t> bytes = ReadFileBytes(entry.path().string());
        CDotDocument document;
        try {
            ReadDocumentFile(bytes, document);
            ++opened;
            // What opened can be written and opens again the same.
            CDotDocument again;
            ReadDocumentFile(WriteDocumentFile(document), again);
            EXPECT_EQ(document.CollectParts().size(), again.CollectParts().size());
        } catch (const CArchiveException&) {
        }
    }
    EXPECT_GT(files, 0);
    EXPECT_GT(opened, 0);
}
