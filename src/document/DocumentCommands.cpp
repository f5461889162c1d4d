#include "document/DocumentCommands.h"

#include "document/DocumentSettings.h"
#include "document/DotDocument.h"
#include "document/PartOperations.h"
#include "resources/CommandIds.h"

namespace {
using Handler = CCommandHandler<CDotDocument>;
constexpr Handler DocumentHandlers[] = {
    {.id = ID_ALL_MATERIAL,
     .run = [](CDotDocument& document, unsigned) { ToggleAllMaterials(document); },
     .update = [](const CDotDocument& document, unsigned,
                  CCommandState& state) { state.text = GetAllMaterialMenuText(document); }},
    {.id = ID_EDGE,
     .run = [](CDotDocument& document, unsigned) { ToggleEdge(document); },
     .update = [](const CDotDocument& document, unsigned,
                  CCommandState& state) { state.checked = document.edge; }},
    {.id = ID_PART_NEW, .run = [](CDotDocument& document, unsigned) { NewPart(document); }},
};
} // namespace

bool OnDocumentEditCommand(CDotDocument& document, unsigned id) {
    return RunCommand<CDotDocument>(DocumentHandlers, document, id);
}

bool OnUpdateDocumentEditCommand(const CDotDocument& document, unsigned id, CCommandState& state) {
    return UpdateCommand<CDotDocument>(DocumentHandlers, document, id, state);
}
