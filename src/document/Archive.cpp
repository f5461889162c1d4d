#include "document/Archive.h"

#include "document/TextCodec.h"

#include <algorithm>
#include <cstring>

CArchiveWriter::CArchiveWriter(SINK sink, size_t bufferSize)
    : sink_(std::move(sink)), limit_(std::max<size_t>(bufferSize, 1)) {}

void CArchiveWriter::Flush() {
    if (!sink_ || used_ == 0)
        return;
    sink_(std::span<const uint8_t>(bytes_.data(), used_));
    used_ = 0;
}

void CArchiveWriter::MakeRoom(size_t size) {
    // A sink's buffer is handed on once the next value would take it past
    // its size.
    if (sink_ && used_ + size > limit_)
        Flush();
    // The buffer grows by half again at least, so that many small writes
    // cost a constant time each; the room is zeroed once when it grows and
    // then only overwritten. A sink's buffer grows only up to its size (or
    // to a single value larger than that), so that a small file touches no
    // more memory than it needs.
    size_t wanted = std::max(used_ + size, bytes_.size() + bytes_.size() / 2);
    if (sink_)
        wanted = std::max(std::min(wanted, limit_), used_ + size);
    if (wanted > bytes_.size())
        bytes_.resize(wanted);
    capacity_ = sink_ ? std::min(bytes_.size(), std::max(limit_, used_ + size)) : bytes_.size();
}

void CArchiveWriter::Reserve(size_t size) {
    // A sink's buffer has its size from the start.
    if (!sink_ && capacity_ - used_ < size) {
        bytes_.resize(used_ + size);
        capacity_ = bytes_.size();
    }
}

void CArchiveWriter::WriteBytes(std::span<const uint8_t> data) {
    if (sink_ && data.size() >= limit_) {
        // Too large to be worth copying: straight to the sink, in order.
        Flush();
        sink_(data);
        return;
    }
    if (!data.empty())
        std::memcpy(Extend(data.size()), data.data(), data.size());
}

void CArchiveWriter::WriteBytes(const void* data, size_t size) {
    WriteBytes(std::span<const uint8_t>(static_cast<const uint8_t*>(data), size));
}

void CArchiveWriter::WriteFixed(std::string_view bytes, size_t width, uint8_t fill) {
    const size_t n = std::min(bytes.size(), width);
    uint8_t* at = Extend(width);
    if (n)
        std::memcpy(at, bytes.data(), n);
    if (width > n)
        std::memset(at + n, fill, width - n);
}

void CArchiveWriter::WriteString(std::u16string_view text) {
    WriteU8(0xFF);
    WriteU16(0xFFFE);
    size_t n = text.size();
    if (n < 0xFF) {
        WriteU8(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        WriteU8(0xFF);
        WriteU16(static_cast<uint16_t>(n));
    } else {
        // The longest form holds a 32-bit length; refuse to write a length
        // that would be cut short and corrupt everything after it.
        if (n > 0xFFFFFFFFu)
            throw CArchiveException("string of " + std::to_string(n) + " characters is too long");
        WriteU8(0xFF);
        WriteU16(0xFFFF);
        WriteU32(static_cast<uint32_t>(n));
    }
    for (char16_t c : text)
        WriteU16(c);
}

void CArchiveReader::Require(size_t size, const char* what) const {
    if (size > Remaining())
        throw CArchiveException("unexpected end of data at byte " + std::to_string(pos_) +
                                " reading " + what + " (" + std::to_string(size) +
                                " bytes needed, " + std::to_string(Remaining()) + " left)");
}

uint8_t CArchiveReader::ReadU8() {
    Require(1, "a byte");
    return data_[pos_++];
}

uint16_t CArchiveReader::ReadU16() {
    Require(2, "a 16-bit value");
    uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint32_t CArchiveReader::ReadU32() {
    Require(4, "a 32-bit value");
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | data_[pos_ + static_cast<size_t>(i)];
    pos_ += 4;
    return v;
}

float CArchiveReader::ReadF32() {
    uint32_t bits = ReadU32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void CArchiveReader::ReadBytes(void* out, size_t size) {
    auto span = ReadSpan(size);
    if (size)
        std::memcpy(out, span.data(), size);
}

std::span<const uint8_t> CArchiveReader::ReadSpan(size_t size) {
    Require(size, "a block of bytes");
    auto span = data_.subspan(pos_, size);
    pos_ += size;
    return span;
}

std::u16string CArchiveReader::ReadString() {
    // The length prefix; the tag FF FE FF (a 16-bit length of 0xFFFE after
    // the FF escape) marks UTF-16 text and is followed by the real length.
    bool unicode = false;
    uint64_t length = ReadU8();
    if (length == 0xFF) {
        length = ReadU16();
        if (length == 0xFFFE) {
            unicode = true;
            length = ReadU8();
            if (length == 0xFF)
                length = ReadU16();
        }
        if (length == 0xFFFF)
            length = ReadU32();
    }
    uint64_t bytes = unicode ? length * 2 : length;
    if (bytes > Remaining())
        throw CArchiveException("string of " + std::to_string(length) + " characters at byte " +
                                std::to_string(pos_) + " is longer than the " +
                                std::to_string(Remaining()) + " bytes left");
    auto span = ReadSpan(static_cast<size_t>(bytes));
    if (!unicode)
        return Cp932ToUtf16(
            std::string_view(reinterpret_cast<const char*>(span.data()), span.size()));
    std::u16string text(static_cast<size_t>(length), u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(span[2 * i] | (span[2 * i + 1] << 8));
    return text;
}

// ReadFileBytes and WriteFileAtomically are in StagedFile.cpp.
