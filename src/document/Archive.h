#pragma once
// Little-endian binary streams: the writer and reader behind the document
// file, the part and dot clipboard payloads, and the model file.
//
// Strings use the framework string form of the document file: the tag
// FF FE FF, then the length L in UTF-16 code units (one byte when L < 255;
// FF and a u16 when L < 0xFFFE; FF, FFFF and a u32 otherwise), then L
// UTF-16LE code units. The reader also takes the untagged form (the same
// length encoding without the tag), whose L bytes are code page 932 text.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Raised by every reader of outside data on anything it cannot accept: the
// message says what was wrong and where.
class CArchiveException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Memory ran out while reading or writing a file: still a std::bad_alloc for
// those who handle that, but its message names the file.
class CFileMemoryError : public std::bad_alloc {
public:
    explicit CFileMemoryError(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Appends little-endian values to a growing byte buffer, or, given a sink,
// to a buffer of a fixed size that is handed to the sink whenever the next
// value would not fit (and by Flush), so a large file never has to be held
// whole.
class CArchiveWriter {
public:
    // Takes the bytes written since the last time it was called.
    using SINK = std::function<void(std::span<const uint8_t>)>;

    CArchiveWriter() = default;
    // Hands the bytes on to sink in pieces of at most bufferSize bytes (more
    // only for a single write larger than that); Flush hands on the rest.
    // Whatever the sink throws leaves the writing call.
    CArchiveWriter(SINK sink, size_t bufferSize);

    void WriteU8(uint8_t v) { *Extend(1) = v; }
    void WriteBool(bool v) { WriteU8(v ? 1 : 0); }
    void WriteU16(uint16_t v) { Store16(Extend(2), v); }
    void WriteU32(uint32_t v) { Store32(Extend(4), v); }
    void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
    void WriteF32(float v) { WriteU32(std::bit_cast<uint32_t>(v)); }
    void WriteBytes(std::span<const uint8_t> data);
    void WriteBytes(const void* data, size_t size);
    // Fixed-width field: the bytes, cut to width or padded with fill bytes.
    void WriteFixed(std::string_view bytes, size_t width, uint8_t fill = 0);
    // The tagged UTF-16 string form.
    void WriteString(std::u16string_view text);

    // Room for size more bytes at the end, for the caller to fill in place
    // before its next call on the writer: a record stored whole costs one
    // check instead of one per value. With a sink, the bytes before it may
    // be handed on first.
    uint8_t* Extend(size_t size) {
        if (capacity_ - used_ < size)
            MakeRoom(size);
        uint8_t* at = bytes_.data() + used_;
        used_ += size;
        return at;
    }

    // Little-endian stores into room that Extend gave.
    static uint8_t* Store16(uint8_t* at, uint16_t v) {
        at[0] = static_cast<uint8_t>(v);
        at[1] = static_cast<uint8_t>(v >> 8);
        return at + 2;
    }
    static uint8_t* Store32(uint8_t* at, uint32_t v) {
        at[0] = static_cast<uint8_t>(v);
        at[1] = static_cast<uint8_t>(v >> 8);
        at[2] = static_cast<uint8_t>(v >> 16);
        at[3] = static_cast<uint8_t>(v >> 24);
        return at + 4;
    }
    static uint8_t* StoreF32(uint8_t* at, float v) {
        return Store32(at, std::bit_cast<uint32_t>(v));
    }

    // Makes room for size more bytes, so that writing them allocates nothing
    // (nothing to do with a sink: its buffer is allocated once).
    void Reserve(size_t size);
    // Hands the bytes not yet handed on to the sink; nothing without one.
    void Flush();

    // The bytes not yet handed to a sink (all of them without one).
    const std::vector<uint8_t>& Bytes() {
        Trim();
        return bytes_;
    }
    std::vector<uint8_t> Take() {
        Trim();
        capacity_ = used_ = 0;
        return std::move(bytes_);
    }
    size_t Size() const { return used_; }

private:
    // Hands the buffer on (with a sink) or grows it, so that size more bytes
    // fit.
    void MakeRoom(size_t size);
    // Drops the room beyond the bytes written.
    void Trim() {
        bytes_.resize(used_);
        capacity_ = used_;
    }

    // bytes_[0, used_) are written; bytes_ holds capacity_ bytes in all, the
    // rest being room for the next values.
    std::vector<uint8_t> bytes_;
    size_t used_ = 0;
    size_t capacity_ = 0;
    SINK sink_;
    size_t limit_ = std::numeric_limits<size_t>::max();
};

// Reads little-endian values from a block of memory it does not own. Every
// read checks the bytes left first and throws CArchiveException when the
// data ends early; nothing is allocated for a length before the bytes behind
// it are known to exist.
class CArchiveReader {
public:
    explicit CArchiveReader(std::span<const uint8_t> data) : data_(data) {}

    uint8_t ReadU8();
    bool ReadBool() { return ReadU8() != 0; }
    uint16_t ReadU16();
    uint32_t ReadU32();
    int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
    float ReadF32();
    void ReadBytes(void* out, size_t size);
    std::span<const uint8_t> ReadSpan(size_t size);
    void Skip(size_t size) { ReadSpan(size); }
    // Either string form (tagged UTF-16 or untagged code page 932).
    std::u16string ReadString();

    size_t Position() const { return pos_; }
    size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ == data_.size(); }
    // Throws unless at least size bytes are left; what names the value.
    void Require(size_t size, const char* what) const;

private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

// Reads a whole regular file into memory; throws CArchiveException naming the
// file and the reason. Folders, devices, pipes and sockets are refused before
// anything is read. maxSize bounds the allocation.
std::vector<uint8_t> ReadFileBytes(const std::string& path, size_t maxSize = size_t(1) << 30);

// Writes a file atomically: the bytes go to a temporary file in the same
// folder, which is flushed and then renamed over the target, so a failed save
// never destroys the previous file (CStagedFile, StagedFile.h: a symbolic link
// is followed and the file's permissions kept). Throws CArchiveException
// naming the file and the reason.
void WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

// Writes a file atomically as above, its bytes made by produce, which hands
// them on in pieces through the sink it is given. When produce throws, the
// temporary file is removed and the exception passes on unchanged.
void StreamFileAtomically(const std::string& path,
                          const std::function<void(const CArchiveWriter::SINK&)>& produce);
