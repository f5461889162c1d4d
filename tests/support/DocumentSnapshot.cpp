#include "support/DocumentSnapshot.h"

#include <bit>
#include <cstdint>
#include <sstream>

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/TextCodec.h"

namespace {

std::string Name(const CPart* part) { return part ? Utf16ToUtf8(part->name) : "-"; }

// Floats by their bits, so that −0 and 0 or two NaNs are told apart.
template <class Floats>
void PutFloats(std::ostringstream& out, const Floats& values) {
    for (float v : values)
        out << ' ' << std::hex << std::bit_cast<uint32_t>(v) << std::dec;
}

void PutGrid(std::ostringstream& out, const CDotPart& part) {
    if (!part.dots) {
        out << " grid=none";
        return;
    }
    // FNV-1a over every byte, upper bits included.
    uint64_t hash = 1469598103934665603ull;
    for (int i = 0; i < GridDots; ++i)
        hash = (hash ^ part.dots[i]) * 1099511628211ull;
    out << " grid=" << part.CountDots() << '/' << std::hex << hash << std::dec;
}

void Describe(std::ostringstream& out, const CPart& base, int depth) {
    const auto& part = dynamic_cast<const CDotPart&>(base);
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << Name(&part) << " id=" << part.id
        << " parent=" << Name(part.parent) << " kind=" << part.boneKind << " morph=" << part.morph
        << " link=" << Name(part.linkedPart) << '#' << part.linkedPartId
        << " ik=" << Utf16ToUtf8(part.ikName) << '/' << part.ikRange << '/' << Name(part.ikParent)
        << '#' << part.ikParentId << " angle";
    PutFloats(out, part.angle);
    out << " rate";
    PutFloats(out, std::array<float, 1>{part.rate});
    out << " bone=" << part.bonePosition[0] << ',' << part.bonePosition[1] << ','
        << part.bonePosition[2] << " at=" << part.parentPosition[0] << ',' << part.parentPosition[1]
        << ',' << part.parentPosition[2];
    out << " body";
    if (part.rigidBody)
        PutFloats(out, std::bit_cast<std::array<float, 5>>(*part.rigidBody));
    else
        out << " none";
    out << " joint";
    if (part.joint)
        PutFloats(out, std::bit_cast<std::array<float, 18>>(*part.joint));
    else
        out << " none";
    PutGrid(out, part);
    out << " world";
    PutFloats(out, part.worldPosition);
    PutFloats(out, part.worldRotation);
    out << '\n';
    for (const auto& child : part.children)
        Describe(out, *child, depth + 1);
}

} // namespace

std::string DescribeDocument(const CDotDocument& document, bool withCurrent) {
    std::ostringstream out;
    out << "dotSize";
    PutFloats(out, std::array<float, 1>{document.dotSize});
    out << " edge=" << document.edge;
    if (withCurrent)
        out << " current=" << Name(document.currentPart);
    out << " marked=" << Name(document.markedPart) << " offset";
    PutFloats(out, document.modelOffset);
    out << '\n';
    for (const CDotColor& entry : document.colors) {
        out << "color " << std::hex << entry.color << std::dec << " material=" << entry.material;
        PutFloats(out, std::array<float, 1>{entry.alpha});
        PutFloats(out, entry.diffuse);
        PutFloats(out, entry.ambient);
        PutFloats(out, entry.specular);
        out << '\n';
    }
    for (const auto& part : document.children)
        Describe(out, *part, 0);
    return out.str();
}

std::string DiffDescriptions(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected);
    std::istringstream b(actual);
    std::string out;
    std::string left;
    std::string right;
    for (;;) {
        const bool moreLeft = static_cast<bool>(std::getline(a, left));
        const bool moreRight = static_cast<bool>(std::getline(b, right));
        if (!moreLeft && !moreRight)
            return out;
        if (!moreLeft)
            left = "(none)";
        if (!moreRight)
            right = "(none)";
        if (left != right)
            out += "- " + left + "\n+ " + right + "\n";
    }
}
