// A staged file filled piece by piece: appended, patched in place, flushed,
// then committed; a failed write leaves nothing behind.

#include "document/StagedFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

size_t FileCount(const CTempFolder& folder) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()));
}

} // namespace

TEST(StagedFile, PiecesAppendedAndPatchedReplaceTheTargetOnCommit) {
    CTempFolder folder("staged");
    const std::string path = folder.File("f.bin");
    std::ofstream(path) << "old";
    {
        CStagedFile file(path);
        file.Append(Bytes("....-body"));
        CArchiveWriter tail(file.Sink(), 4);
        tail.WriteBytes(Bytes("-tail"));
        tail.Flush();
        file.WriteAt(0, Bytes("head"));
        file.Finish();
        EXPECT_EQ(ReadFileBytes(path), Bytes("old")) << "not before the commit";
        file.Commit();
    }
    EXPECT_EQ(ReadFileBytes(path), Bytes("head-body-tail"));
    EXPECT_EQ(FileCount(folder), 1u);

    // Dropped before the commit: the temporary goes, the target stays.
    {
        CStagedFile file(path);
        file.Append(Bytes("never"));
    }
    EXPECT_EQ(ReadFileBytes(path), Bytes("head-body-tail"));
    EXPECT_EQ(FileCount(folder), 1u);
}

TEST(StagedFile, AWriteThatFailsRemovesTheTemporaryAndRefusesTheRest) {
    CTempFolder folder("staged");
    const std::string path = folder.File("f.bin");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4;
    CStagedFile file(path);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    try {
        file.Append(Bytes("too long"));
        ADD_FAILURE() << "no error";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(std::string(e.what()), path + ": cannot write: File too large");
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(FileCount(folder), 0u);
    EXPECT_THROW(file.Append(Bytes("x")), CArchiveException);
    EXPECT_THROW(file.Finish(), CArchiveException);
    EXPECT_EQ(FileCount(folder), 0u);
}

namespace {

size_t OpenDescriptors() {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

} // namespace

TEST(StagedFile, ACommitCanHoldTheReplacedFileUntilItIsClosed) {
    CTempFolder folder("staged");
    const std::string path = folder.File("f.bin");
    const size_t open = OpenDescriptors();

    // Nothing to replace: nothing held.
    {
        CStagedFile file(path, Bytes("first"));
        const CReplacedFile replaced = file.CommitHoldingReplaced();
        EXPECT_FALSE(replaced.Held());
    }
    EXPECT_EQ(ReadFileBytes(path), Bytes("first"));

    // The old file is held, not named, until the holder closes it.
    {
        CStagedFile file(path, Bytes("second"));
        CReplacedFile replaced = file.CommitHoldingReplaced();
        EXPECT_TRUE(replaced.Held());
        EXPECT_EQ(ReadFileBytes(path), Bytes("second"));
        EXPECT_EQ(OpenDescriptors(), open + 1);
        CReplacedFile moved = std::move(replaced);
        EXPECT_FALSE(replaced.Held());
        moved.Close();
        EXPECT_FALSE(moved.Held());
        EXPECT_EQ(OpenDescriptors(), open);
    }
    EXPECT_EQ(FileCount(folder), 1u);

    // A rename that fails (a folder took the target's place) throws as
    // Commit does, removes the temporary and lets go of what it held.
    const std::string late = folder.File("late.bin");
    {
        CStagedFile file(late, Bytes("never"));
        fs::create_directory(late);
        std::ofstream(late + "/inside") << "x";
        EXPECT_THROW(file.CommitHoldingReplaced(), CArchiveException);
    }
    EXPECT_EQ(OpenDescriptors(), open);
    EXPECT_TRUE(fs::is_directory(late));
    EXPECT_EQ(FileCount(folder), 2u);
}
