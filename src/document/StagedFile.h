#pragma once
// Files written in two steps: the bytes go to a temporary file beside the
// target, and only a complete, flushed temporary is renamed over it. Several
// files staged first and committed together change only once all of them are
// complete, so a failure leaves every earlier file as it was.
//
// Temporary names are short and do not depend on the target's name, so that
// every name the file system accepts can be written: ".kubrell-PID-XXXXXX",
// PID being the writing process. A temporary left by a process that died (a
// kill, a power cut) is removed by RemoveStaleTemporaries.

#include "document/Archive.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

// The prefix of every temporary file name.
inline constexpr const char* TemporaryFilePrefix = ".kubrell-";

// The file a commit replaced, held open after its name went to the new one.
// A file without a name is released (its blocks freed, and on a disk that
// is told about freed blocks, discarded) when its last descriptor closes:
// for a large model that is most of what replacing it costs, about a
// millisecond for 2.5 MB, paid inside the rename when nothing holds it. A
// caller with a thread that is waiting anyway lets that thread close it.
class CReplacedFile {
public:
    CReplacedFile() = default;
    explicit CReplacedFile(int fd) : fd_(fd) {}
    ~CReplacedFile() { Close(); }
    CReplacedFile(CReplacedFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    CReplacedFile& operator=(CReplacedFile&& other) noexcept;
    CReplacedFile(const CReplacedFile&) = delete;
    CReplacedFile& operator=(const CReplacedFile&) = delete;

    // Whether a replaced file is held (there was one, and it could be).
    bool Held() const { return fd_ >= 0; }
    // Lets go of it now; nothing when none is held.
    void Close();

private:
    int fd_ = -1;
};

class CStagedFile {
public:
    // Writes bytes to a new temporary file in the folder of path's final
    // target (a symbolic link is followed, so the file it points to is the one
    // replaced), with the target's permissions when it exists. Throws
    // CArchiveException naming path when the target is not a regular file or
    // the bytes cannot be written; nothing is left behind then.
    CStagedFile(const std::string& path, std::span<const uint8_t> bytes);
    // The same, the bytes made by produce, which hands them on in pieces
    // through the sink it is given; what produce throws passes on unchanged,
    // nothing left behind.
    CStagedFile(const std::string& path,
                const std::function<void(const CArchiveWriter::SINK&)>& produce);
    // An empty temporary for path, filled by Append and WriteAt and closed
    // by Finish before Commit; the checks and errors are those above. One
    // thread at a time may use it.
    explicit CStagedFile(const std::string& path);
    // Removes the temporary unless it was committed.
    ~CStagedFile();
    CStagedFile(const CStagedFile&) = delete;
    CStagedFile& operator=(const CStagedFile&) = delete;

    // Appends bytes at the end of the temporary. Throws CArchiveException
    // naming the path when they cannot be written; the temporary is removed
    // then, and every later call throws.
    void Append(std::span<const uint8_t> bytes);
    // Append as a sink for a CArchiveWriter.
    CArchiveWriter::SINK Sink();
    // Starts writing what was appended to the disk without waiting, so that
    // Finish has less to wait for.
    void StartWriteback();
    // Overwrites bytes already appended, from offset on; throws as Append.
    void WriteAt(uint64_t offset, std::span<const uint8_t> bytes);
    // Flushes the bytes to the disk and closes the temporary; throws as
    // Append. The constructors that take the bytes do this themselves.
    void Finish();

    // Renames the temporary over the target. Throws CArchiveException naming
    // the path; the temporary is removed then.
    void Commit();
    // Commit, holding on to the file the rename replaces: the rename then
    // only renames, and the old file's storage goes when the result closes
    // it. Nothing is held when there was no file, or it could not be held
    // (its storage then goes in the rename, as with Commit). Throws as Commit.
    CReplacedFile CommitHoldingReplaced();

    const std::string& Target() const { return target_; }
    const std::string& TemporaryPath() const { return temp_; }

private:
    // Closes and removes the temporary (nothing when it is gone).
    void Discard();
    // Discards the temporary, then throws the write error.
    [[noreturn]] void Fail(int error);

    std::string path_;    // as the caller named it, for messages
    std::string target_;  // path with symbolic links followed
    std::string temp_;    // empty once committed or removed
    int fd_ = -1;         // open until Finish
    uint64_t size_ = 0;   // bytes appended
    uint64_t handed_ = 0; // bytes whose writeback was started
};

// Refuses a path that names something other than a regular file (or a link to
// one) or nothing: a folder, a device, a pipe or a socket. Throws
// CArchiveException naming the path.
void RequireWritableTarget(const std::string& path);

// Removes the temporaries in folder that were left by processes no longer
// running. Errors are ignored: a stale temporary is only clutter.
void RemoveStaleTemporaries(const std::string& folder);
