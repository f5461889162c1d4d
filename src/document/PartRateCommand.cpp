#include "document/PartRateCommand.h"

#include <stdexcept>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "document/DotSizeCommand.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {}

CPartRateCommand::CPartRateCommand(CPart& target, float rate)
    : CCommand(LoadString(IDS_RATE)), part(&target), oldRate(target.rate), newRate(rate) {
    if (!IsValidScale(rate))
        throw std::invalid_argument("part rate must be a finite number above 0");
}

void CPartRateCommand::Do(CDocumentObserver* view) {
    part->rate = newRate;
    part->UpdatePlacement();
    NotifyChange(*part->document, view, Notice<HINT_PART_RATE>(part));
}

void CPartRateCommand::Undo() {
    part->rate = oldRate;
    part->UpdatePlacement();
    NotifyChange(*part->document, nullptr, Notice<HINT_PART_RATE>(part));
}
