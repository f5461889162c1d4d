#include "document/DotSizeCommand.h"

#include <cmath>
#include <stdexcept>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {}

bool IsValidScale(float value) { return std::isfinite(value) && value > 0.0f; }

CDotSizeCommand::CDotSizeCommand(CDotDocument& owner, float size)
    : CCommand(LoadString(IDS_DOT_SIZE)), document(&owner), newSize(size), oldSize(owner.dotSize) {
    if (!IsValidScale(size))
        throw std::invalid_argument("dot size must be a finite number above 0");
}

void CDotSizeCommand::Do(CDocumentObserver* view) {
    document->dotSize = newSize;
    document->UpdateAllPlacements();
    NotifyChange(*document, view, Notice<HINT_DOT_SIZE>());
}

void CDotSizeCommand::Undo() {
    document->dotSize = oldSize;
    document->UpdateAllPlacements();
    NotifyChange(*document, nullptr, Notice<HINT_DOT_SIZE>());
}
