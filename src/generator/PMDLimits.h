#pragma once
// What a PMD file can hold, and the error raised for a model that exceeds it.
// The counts and indices of the format have fixed widths; a model beyond
// them would be written as a corrupt file, so it is refused instead.

#include <cstddef>
#include <stdexcept>
#include <string>

// Faces index vertices with 16 bits.
inline constexpr size_t kPMDMaxVertices = 65535;
// Bone and IK counts and bone indices are 16-bit.
inline constexpr size_t kPMDMaxBones = 65535;
inline constexpr size_t kPMDMaxIKs = 65535;
inline constexpr size_t kPMDMaxIKIterations = 65535;
// The chain length of an IK record is one byte.
inline constexpr size_t kPMDMaxIKChain = 255;
// The morph display list counts its entries, every morph, in one byte.
inline constexpr size_t kPMDMaxMorphs = 255;
// Bone groups are counted and numbered in one byte.
inline constexpr size_t kPMDMaxBoneGroups = 255;

// A count that does not fit the format. The message names what was counted,
// the count and the limit, for example "the model has 70,000 vertices, 4,465
// more than the 65,535 a PMD file can hold".
class CModelLimitError : public std::runtime_error {
public:
    // subject: what holds the items ("the model"); items: what was counted
    // ("vertices"); format: the file format whose limit it is ("PMD", "PMX").
    CModelLimitError(const std::string& subject, const std::string& items, size_t count,
                     size_t maximum, const std::string& format = "PMD");

    const std::string& Items() const { return items_; }
    const std::string& Format() const { return format_; }
    size_t Count() const { return count_; }
    size_t Maximum() const { return maximum_; }

private:
    std::string items_;
    std::string format_;
    size_t count_;
    size_t maximum_;
};

// A count with thousands separators: 70000 → "70,000".
std::string FormatCount(size_t count);
