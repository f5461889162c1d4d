#include "document/DotCommand.h"

#include <utility>

#include "document/ChangeNotice.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"

CDotCommand::CDotCommand(CDotPart& target, std::u16string label)
    : CCommand(std::move(label)), part(&target) {}

void CDotCommand::AddOperation(int x, int y, int z, int before, int after) {
    // A committed slice holds at most 1024 operations, so a linear search is
    // cheaper than keeping an index alive on the undo list.
    for (OPERATION& operation : operations) {
        if (operation.x == x && operation.y == y && operation.z == z) {
            operation.after = static_cast<uint8_t>(after);
            return;
        }
    }
    operations.push_back({static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(z),
                          static_cast<uint8_t>(before), static_cast<uint8_t>(after)});
}

void CDotCommand::Do(CDocumentObserver* view) {
    for (const OPERATION& operation : operations)
        part->SetDot(operation.x, operation.y, operation.z, operation.after);
    NotifyChange(*part->document, view, Notice<HINT_DOTS>(part));
}

void CDotCommand::Undo() {
    for (const OPERATION& operation : operations)
        part->SetDot(operation.x, operation.y, operation.z, operation.before);
    NotifyChange(*part->document, nullptr, Notice<HINT_DOTS>(part));
}
