#include "document/PartNameCommand.h"

#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {}

CPartNameCommand::CPartNameCommand(CDotDocument& owner, CPart& renamed, std::u16string to,
                                   std::u16string label)
    : CCommand(label.empty() ? LoadString(IDS_RENAME) : std::move(label)), document(&owner),
      part(&renamed), oldName(renamed.name), newName(std::move(to)) {}

void CPartNameCommand::Do(CDocumentObserver* view) {
    part->name = newName;
    NotifyChange(*document, view, Notice<HINT_PART_NAME>(part));
}

void CPartNameCommand::Undo() {
    part->name = oldName;
    NotifyChange(*document, nullptr, Notice<HINT_PART_NAME>(part));
}
