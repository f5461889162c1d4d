#include "document/SetColorCommand.h"

#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {}

CSetColorCommand::CElement::CElement(CDotColor& target, uint32_t color, float alpha, bool material)
    : entry(&target), beforeColor(target.color), beforeMaterial(target.material ? 1 : 0),
      beforeAlpha(target.alpha), afterColor(color), afterMaterial(material ? 1 : 0),
      afterAlpha(alpha) {}

void CSetColorCommand::CElement::Apply(bool after) const {
    entry->SetMaterial((after ? afterMaterial : beforeMaterial) != 0);
    entry->SetColor(after ? afterColor : beforeColor);
    entry->SetAlpha(after ? afterAlpha : beforeAlpha);
}

CSetColorCommand::CSetColorCommand(CDotDocument& owner, std::u16string label)
    : CCommand(label.empty() ? LoadString(IDS_EDIT_COLOR) : std::move(label)), document(&owner) {}

void CSetColorCommand::AddChange(int index, uint32_t color, float alpha, bool material) {
    CDotColor& entry = document->GetColor(index);
    for (const auto& element : elements) {
        if (element->entry == &entry) {
            element->afterColor = color;
            element->afterAlpha = alpha;
            element->afterMaterial = material ? 1 : 0;
            return;
        }
    }
    elements.push_back(std::make_unique<CElement>(entry, color, alpha, material));
}

void CSetColorCommand::Do(CDocumentObserver* view) {
    for (const auto& element : elements)
        element->Apply(true);
    NotifyChange(*document, view, Notice<HINT_PALETTE>());
}

void CSetColorCommand::Undo() {
    for (const auto& element : elements)
        element->Apply(false);
    NotifyChange(*document, nullptr, Notice<HINT_PALETTE>());
}
