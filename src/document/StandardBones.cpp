#include "document/StandardBones.h"

#include <algorithm>
#include <bit>
#include <string>

#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/PartLimits.h"
#include "resources/StringTable.h"

namespace {

// ±58.598816 degrees, the rest angles of the upper arms.
constexpr float LeftArmAngle = std::bit_cast<float>(uint32_t{0x426A6530});
constexpr float RightArmAngle = std::bit_cast<float>(uint32_t{0xC26A6530});

constexpr float RadiansPerDegree = 0.017453292f;

constexpr CPart::TEMPLATE Table[] = {
    // name parent movable angleZ    ikRange ikName ikParent
    {500, 0, 1, 0.0f, 0, 0, 0},            // センター
    {504, 500, 0, 0.0f, 0, 0, 0},          // 上半身
    {528, 504, 0, 0.0f, 0, 0, 0},          // 首
    {529, 528, 0, 0.0f, 0, 0, 0},          // 頭
    {550, 500, 0, 0.0f, 0, 0, 0},          // 下半身
    {554, 504, 0, 0.0f, 0, 0, 0},          // 左肩
    {510, 554, 0, LeftArmAngle, 0, 0, 0},  // 左腕
    {511, 510, 0, 0.0f, 0, 0, 0},          // 左ひじ
    {512, 511, 0, 0.0f, 0, 0, 0},          // 左手首
    {501, 550, 0, 0.0f, 0, 0, 0},          // 左足
    {509, 501, 0, 0.0f, 0, 0, 0},          // 左ひざ
    {555, 509, 0, 0.0f, 2, 556, 0},        // 左足首, IK 左足ＩＫ
    {557, 504, 0, 0.0f, 0, 0, 0},          // 右肩
    {530, 557, 0, RightArmAngle, 0, 0, 0}, // 右腕
    {531, 530, 0, 0.0f, 0, 0, 0},          // 右ひじ
    {532, 531, 0, 0.0f, 0, 0, 0},          // 右手首
    {502, 550, 0, 0.0f, 0, 0, 0},          // 右足
    {527, 502, 0, 0.0f, 0, 0, 0},          // 右ひざ
    {558, 527, 0, 0.0f, 2, 559, 0},        // 右足首, IK 右足ＩＫ
    {0, 0, 0, 0.0f, 0, 0, 0},
};

} // namespace

std::span<const CPart::TEMPLATE> StandardBoneTable() { return Table; }

CPart* FindStandardPart(const CDotDocument& document, int32_t nameId,
                        std::span<const STANDARD_PART> made) {
    if (nameId == 0)
        return nullptr;
    const std::u16string name = LoadString(static_cast<unsigned>(nameId));
    if (name.empty())
        return nullptr;
    if (CPart* part = document.FindPartByName(name))
        return part;
    for (const STANDARD_PART& candidate : made)
        if (candidate.part->name == name)
            return candidate.part.get();
    return nullptr;
}

std::vector<STANDARD_PART> MakeStandardParts(CDotDocument& document,
                                             std::span<const CPart::TEMPLATE* const> rows) {
    CPartIdAllocator ids(document);
    if (static_cast<int>(rows.size()) > ids.FreeCount())
        throw CPartLimitError(std::to_string(rows.size()) +
                              " standard parts need new ids, but only " +
                              std::to_string(ids.FreeCount()) + " ids are free");
    std::vector<STANDARD_PART> made;
    made.reserve(rows.size());
    for (const CPart::TEMPLATE* row : rows) {
        const int32_t id = ids.Take();
        std::unique_ptr<CDotPart> part =
            document.CreatePart(id, LoadString(static_cast<unsigned>(row->name)));
        part->boneKind = row->movable ? BONE_MOVE : BONE_ROTATE;
        part->angle = {0.0f, 0.0f, row->angleZ * RadiansPerDegree};
        part->ikRange = row->ikRange;
        part->ikName =
            row->ikName ? LoadString(static_cast<unsigned>(row->ikName)) : std::u16string();
        made.push_back({row, std::move(part), nullptr});
    }
    for (STANDARD_PART& item : made) {
        item.parent = FindStandardPart(document, item.row->parent, made);
        if (item.row->ikParent != 0)
            item.part->SetIkParent(FindStandardPart(document, item.row->ikParent, made));
    }
    // A row's parent is an existing part or a part made before it here.
    for (const STANDARD_PART& item : made) {
        int depth = 1;
        for (const CPart* parent = item.parent; parent;) {
            ++depth;
            const auto found =
                std::find_if(made.begin(), made.end(),
                             [parent](const STANDARD_PART& p) { return p.part.get() == parent; });
            if (found == made.end()) {
                depth += DepthOf(parent) - 1;
                break;
            }
            parent = found->parent;
        }
        if (depth > MaxPartDepth)
            throw CPartLimitError("a standard part would be nested " + std::to_string(depth) +
                                  " deep, more than the " + std::to_string(MaxPartDepth) +
                                  " a document can hold");
    }
    return made;
}

std::span<const CPart::TEMPLATE> CDotDocument::GetTemplates() const { return StandardBoneTable(); }

void CDotDocument::AddStandardSkeleton() {
    std::vector<const CPart::TEMPLATE*> rows;
    for (const CPart::TEMPLATE& row : GetTemplates()) {
        if (row.name == 0)
            break;
        if (!FindPartByName(LoadString(static_cast<unsigned>(row.name))))
            rows.push_back(&row);
    }
    for (STANDARD_PART& item : MakeStandardParts(*this, rows)) {
        CPartParent& holder = item.parent ? static_cast<CPartParent&>(*item.parent) : *this;
        holder.InsertChild(-1, std::move(item.part));
    }
}
