// Files past the size limit, including sizes that do not fit 32 bits: the
// same clear error on every build, before anything is read or allocated.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "document/Archive.h"
#include "document/DocumentFile.h"
#include "document/DotDocument.h"
#include "support/TestDocument.h"

namespace {

// A sparse file of the given size: no disk space, nothing to read.
std::string SparseFile(const CTempFolder& folder, uintmax_t size) {
    const std::string path = folder.File("big-" + std::to_string(size) + ".kbrl");
    std::ofstream(path, std::ios::binary).put('\0');
    std::filesystem::resize_file(path, size);
    return path;
}

std::string ReadError(const std::string& path, size_t maxSize) {
    try {
        ReadFileBytes(path, maxSize);
    } catch (const CArchiveException& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(LargeFile, RefusedBySizeBeforeReading) {
    CTempFolder folder("large");
    // Just over the default limit, over 2 GiB (a 32-bit file offset) and
    // over 4 GiB (a 32-bit size).
    for (uintmax_t size :
         {(uintmax_t{1} << 30) + 1, (uintmax_t{1} << 31) + 1, (uintmax_t{1} << 32) + 1}) {
        const std::string path = SparseFile(folder, size);
        EXPECT_EQ(path + ": file is larger than 1073741824 bytes",
                  ReadError(path, size_t{1} << 30));

        CDotDocument document;
        document.OnNewDocument();
        document.dotSize = 0.25f;
        EXPECT_THROW(LoadDocumentFile(path, document), CArchiveException);
        EXPECT_EQ(0.25f, document.dotSize);
        std::filesystem::remove(path);
    }
}
