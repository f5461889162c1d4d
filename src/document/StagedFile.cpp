// Reading and writing whole files: the staged writer, the cleaning of stale
// temporaries, and the file functions of Archive.h built on them.

#include "document/StagedFile.h"

#include "document/Archive.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ErrnoText(const std::string& path, const char* doing, int error) {
    return path + ": " + doing + ": " + std::strerror(error);
}

// Links are followed at most this many times, as the kernel does.
constexpr int MaxLinkHops = 40;

// path with every symbolic link at its end followed; the links need not point
// to anything that exists yet.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string link(static_cast<size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<size_t>(n) >= link.size())
            return current; // changed meanwhile: let the write report it
        link.resize(static_cast<size_t>(n));
        const std::filesystem::path target(link);
        current = target.is_absolute()
                      ? link
                      : (std::filesystem::path(current).parent_path() / target).string();
    }
    throw CArchiveException(ErrnoText(path, "cannot follow the link", ELOOP));
}

std::string FolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "not a regular file";
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

void RequireWritableTarget(const std::string& path) {
    struct stat info {};
    if (::stat(FollowLinks(path).c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        throw CArchiveException(path + ": cannot be replaced: it is " + KindOf(info.st_mode));
}

CStagedFile::CStagedFile(const std::string& path, std::span<const uint8_t> bytes)
    : CStagedFile(path, [bytes](const CArchiveWriter::SINK& sink) { sink(bytes); }) {}

CStagedFile::CStagedFile(const std::string& path,
                         const std::function<void(const CArchiveWriter::SINK&)>& produce)
    : CStagedFile(path) {
    try {
        produce(Sink());
    } catch (...) {
        Discard();
        throw;
    }
    Finish();
}

CStagedFile::CStagedFile(const std::string& path) : path_(path), target_(FollowLinks(path)) {
    RequireWritableTarget(target_);
    std::string temp =
        FolderOf(target_) + "/" + TemporaryFilePrefix + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw CArchiveException(ErrnoText(path, "cannot create a file in its folder", errno));
    temp_ = temp;
    fd_ = fd;
    // mkstemp makes the file readable by the owner only: give it the
    // permissions of the file it replaces, or those of an ordinary new file.
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0) {
        ::fchmod(fd, existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
}

void CStagedFile::Discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temp_.empty())
        ::unlink(temp_.c_str());
    temp_.clear();
}

void CStagedFile::Fail(int error) {
    Discard();
    throw CArchiveException(ErrnoText(path_, "cannot write", error));
}

void CStagedFile::Append(std::span<const uint8_t> bytes) {
    if (fd_ < 0)
        Fail(EBADF);
    // A file that comes in many pieces has the writeback of what it holds so
    // far started every so often (a hint; Finish's fsync is what waits), so
    // that the disk works while the rest is produced and fsync finds less to
    // do. A file given whole is left to fsync alone. Every start sends
    // requests to the disk, and their completions interrupt whichever core
    // takes them, the builder's too: a megabyte at a time keeps those few
    // while most of a large file is still on its way before the flush.
    constexpr uint64_t writebackStep = uint64_t(1) << 20;
    if (size_ - handed_ >= writebackStep)
        StartWriteback();
    if (!WriteAll(fd_, bytes))
        Fail(errno);
    size_ += bytes.size();
}

void CStagedFile::StartWriteback() {
    if (fd_ < 0 || size_ == handed_)
        return;
    ::sync_file_range(fd_, static_cast<off_t>(handed_), static_cast<off_t>(size_ - handed_),
                      SYNC_FILE_RANGE_WRITE);
    handed_ = size_;
}

CArchiveWriter::SINK CStagedFile::Sink() {
    return [this](std::span<const uint8_t> bytes) { Append(bytes); };
}

void CStagedFile::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
    if (fd_ < 0)
        Fail(EBADF);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail(errno);
        done += static_cast<size_t>(n);
    }
}

void CStagedFile::Finish() {
    if (fd_ < 0)
        Fail(EBADF);
    if (::fsync(fd_) != 0)
        Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        Fail(errno);
}

CStagedFile::~CStagedFile() { Discard(); }

CReplacedFile& CReplacedFile::operator=(CReplacedFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void CReplacedFile::Close() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
}

CReplacedFile CStagedFile::CommitHoldingReplaced() {
    // A path-only descriptor: it keeps the file without reading it, so it
    // needs no permission to read and opens nothing but the file itself.
    CReplacedFile replaced(::open(target_.c_str(), O_PATH | O_CLOEXEC));
    Commit();
    return replaced;
}

void CStagedFile::Commit() {
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp_.c_str());
        temp_.clear();
        throw CArchiveException(ErrnoText(path_, "cannot replace", error));
    }
    temp_.clear();
}

void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    const size_t prefix = std::strlen(TemporaryFilePrefix);
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strncmp(name, TemporaryFilePrefix, prefix) != 0)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name + prefix, &end, 10);
        if (end == name + prefix || *end != '-' || std::strlen(end) != 7)
            continue;
        // Still being written by a running process (possibly this one).
        if (pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH))
            continue;
        ::unlinkat(::dirfd(dir), name, 0);
    }
    ::closedir(dir);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path, size_t maxSize) {
    // Opened without waiting, so that a pipe named like a document cannot
    // block; anything but a regular file is refused before reading.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw CArchiveException(ErrnoText(path, "cannot open", errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const mode_t mode = info.st_mode;
        ::close(fd);
        throw CArchiveException(path + ": cannot open: it is " + KindOf(mode));
    }
    if (static_cast<uint64_t>(info.st_size) > maxSize) {
        ::close(fd);
        throw CArchiveException(path + ": file is larger than " + std::to_string(maxSize) +
                                " bytes");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // One allocation of the file's size: growing step by step would, near the
    // limit, hold half again as much, more than a 32-bit process may have.
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw CArchiveException(ErrnoText(path, "cannot read", error));
        }
        if (n == 0)
            break;
        // The file may grow while it is read.
        if (bytes.size() + static_cast<size_t>(n) > maxSize) {
            ::close(fd);
            throw CArchiveException(path + ": file is larger than " + std::to_string(maxSize) +
                                    " bytes");
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return bytes;
}

void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    CStagedFile file(path, bytes);
    file.Commit();
}

void StreamFileAtomically(const std::string& path,
                          const std::function<void(const CArchiveWriter::SINK&)>& produce) {
    CStagedFile file(path, produce);
    file.Commit();
}
