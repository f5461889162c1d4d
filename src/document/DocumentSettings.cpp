#include "document/DocumentSettings.h"

#include <algorithm>

#include "document/DotDocument.h"
#include "document/DotSizeCommand.h"
#include "document/EdgeCommand.h"
#include "document/PartRateCommand.h"
#include "document/SetColorCommand.h"
#include "resources/StringTable.h"
#include "document/UpdateHints.h"

namespace {
constexpr unsigned StringAllMaterial = 151; // 全て材質(&M)
constexpr unsigned StringAllTexture = 159;  // 全てテクスチャ(&M)

bool IsPaletteIndex(int index) { return index >= 1 && index <= PaletteSize; }
} // namespace

bool AreAllMaterials(const CDotDocument& document) {
    return std::all_of(document.colors.begin(), document.colors.end(),
                       [](const CDotColor& entry) { return entry.material; });
}

std::u16string GetAllMaterialMenuText(const CDotDocument& document) {
    return LoadString(AreAllMaterials(document) ? StringAllTexture : StringAllMaterial);
}

std::unique_ptr<CSetColorCommand> MakeAllMaterialCommand(CDotDocument& document) {
    const bool material = !AreAllMaterials(document);
    auto command = std::make_unique<CSetColorCommand>(document);
    for (int index = 1; index <= PaletteSize; ++index) {
        const CDotColor& entry = document.GetColor(index);
        command->AddChange(index, entry.color, entry.alpha, material);
    }
    return command;
}

void ToggleAllMaterials(CDotDocument& document) {
    document.Execute(MakeAllMaterialCommand(document));
}

void ToggleMaterial(CDotDocument& document, int index, CDocumentObserver* view) {
    if (!IsPaletteIndex(index))
        return;
    const CDotColor& entry = document.GetColor(index);
    auto command = std::make_unique<CSetColorCommand>(document);
    command->AddChange(index, entry.color, entry.alpha, !entry.material);
    document.Execute(std::move(command), view);
}

bool CanEditColor(const CDotDocument& document, int which) {
    if (which < 0 || which > 1)
        return false;
    return IsPaletteIndex(document.currentColor[static_cast<size_t>(which)]);
}

void EditColor(CDotDocument& document, int index, uint32_t color, float alpha, bool material) {
    if (!IsPaletteIndex(index))
        return;
    auto command = std::make_unique<CSetColorCommand>(document);
    command->AddChange(index, color, alpha, material);
    document.Execute(std::move(command));
}

void ToggleEdge(CDotDocument& document) {
    document.Execute(std::make_unique<CEdgeCommand>(document));
}

void SetDotSize(CDotDocument& document, float size) {
    document.Execute(std::make_unique<CDotSizeCommand>(document, size));
}

void SetPartRate(CPart& part, float rate) {
    part.document->Execute(std::make_unique<CPartRateCommand>(part, rate));
}

bool SetCurrentColor(CDotDocument& document, int which, int index) {
    if (which < 0 || which > 1 || index < 0 || index > PaletteSize)
        return false;
    document.currentColor[static_cast<size_t>(which)] = index;
    document.UpdateAllViews(nullptr, Notice<HINT_CURRENT_COLOR>());
    return true;
}
