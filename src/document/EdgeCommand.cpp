#include "document/EdgeCommand.h"

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {}

CEdgeCommand::CEdgeCommand(CDotDocument& owner)
    : CCommand(LoadString(IDS_EDGE)), document(&owner) {}

void CEdgeCommand::Do(CDocumentObserver* view) {
    document->edge = !document->edge;
    NotifyChange(*document, view, Notice<HINT_EDGE>());
}

void CEdgeCommand::Undo() {
    document->edge = !document->edge;
    NotifyChange(*document, nullptr, Notice<HINT_EDGE>());
}
