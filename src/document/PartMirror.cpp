#include "document/PartMirror.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "document/AddPartCommand.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/EditorPrompt.h"
#include "document/InvertPartCommand.h"
#include "document/OptionalRecord.h"
#include "document/PartLimits.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {

constexpr int HalfCells = 64;

// Mirrored joint points stay on the grid: the file keeps only 0–64 sensibly,
// and a point off the grid (possible with parents of different sizes) would
// put the part somewhere the user never saw.
int OnGrid(int halfCells) { return std::clamp(halfCells, 0, HalfCells); }

std::array<int, 3> MirrorPoint(const std::array<int, 3>& point) {
    return {OnGrid(HalfCells - point[0]), point[1], point[2]};
}

} // namespace

std::u16string MirroredName(std::u16string_view name) {
    const std::u16string left = LoadString(IDS_LEFT);
    const std::u16string right = LoadString(IDS_RIGHT);
    if (name.starts_with(left))
        return right + std::u16string(name.substr(left.size()));
    if (name.starts_with(right))
        return left + std::u16string(name.substr(right.size()));
    return std::u16string(name);
}

void WriteMirror(const CDotPart& source, CDotPart& target, const CPart* targetParent) {
    target.boneKind = source.boneKind;
    target.rate = source.rate;
    target.morph = source.morph;
    target.angle = {source.angle[0], -source.angle[1], -source.angle[2]};

    for (int z = 0; z < GridSide; ++z)
        for (int y = 0; y < GridSide; ++y)
            for (int x = 0; x < GridSide; ++x)
                target.SetDot(GridSide - 1 - x, y, z, source.GetDot(x, y, z));

    AssignRecord(target.rigidBody, source.rigidBody.get());
    AssignRecord(target.joint, source.joint.get());

    target.parentPosition = MirrorPoint(source.parentPosition);
    if (source.parent && targetParent) {
        const auto& sourceParent = dynamic_cast<const CDotPart&>(*source.parent);
        const auto& parent = dynamic_cast<const CDotPart&>(*targetParent);
        target.bonePosition = {OnGrid(sourceParent.parentPosition[0] + parent.parentPosition[0] -
                                      source.bonePosition[0]),
                               source.bonePosition[1], source.bonePosition[2]};
    }

    const CDotDocument& document = *source.document;
    for (const auto& child : source.children) {
        CPart* mirror = document.FindPartByName(MirroredName(child->name));
        if (mirror && mirror->parent == &target) {
            const auto& sourceChild = dynamic_cast<const CDotPart&>(*child);
            dynamic_cast<CDotPart&>(*mirror).bonePosition = MirrorPoint(sourceChild.bonePosition);
        }
    }
}

CPart* InvertPart(CDotPart& source, CEditorPrompt& prompt) {
    CDotDocument& document = *source.document;
    std::u16string name = MirroredName(source.name);
    if (name == source.name)
        name = document.MakeUniqueName(source.name);

    if (CPart* existing = document.FindPartByName(name)) {
        if (!prompt.AskOkCancel(FormatString(IDS_OVERWRITE, {name})))
            return nullptr;
        auto& target = dynamic_cast<CDotPart&>(*existing);
        auto command = std::make_unique<CInvertPartCommand>(target);
        WriteMirror(source, target, target.parent);
        document.Execute(std::move(command));
        return &target;
    }

    CPart* targetParent = nullptr;
    if (source.parent) {
        targetParent = document.FindPartByName(MirroredName(source.parent->name));
        if (!targetParent)
            targetParent = source.parent;
    }
    if (DepthOf(targetParent) + 1 > MaxPartDepth)
        throw CPartLimitError("a mirrored part would be nested more than " +
                              std::to_string(MaxPartDepth) + " deep");
    std::unique_ptr<CDotPart> target = document.CreatePart(document.GetFreeId(), name);
    WriteMirror(source, *target, targetParent);
    CPart* added = target.get();
    auto command = std::make_unique<CAddPartCommand>(document, LoadString(IDS_INVERT_PART));
    command->AddElement(targetParent, -1, std::move(target));
    document.Execute(std::move(command));
    return added;
}
