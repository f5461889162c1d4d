#include "document/DocumentCommands.h"

#include "document/DocumentSettings.h"
#include "document/DotDocument.h"
#include "document/PartOperations.h"
#include "resources/CommandIds.h"

bool OnDocumentEditCommand(CDotDocument& document, unsigned id) {
    switch (id) {
    case ID_ALL_MATERIAL:
        ToggleAllMaterials(document);
        return true;
    case ID_EDGE:
        ToggleEdge(document);
        return true;
    case ID_PART_NEW:
        NewPart(document);
        return true;
    default:
        return false;
    }
}

bool OnUpdateDocumentEditCommand(const CDotDocument& document, unsigned id, CCommandState& state) {
    switch (id) {
    case ID_ALL_MATERIAL:
        state.enabled = true;
        state.text = GetAllMaterialMenuText(document);
        return true;
    case ID_EDGE:
        state.enabled = true;
        state.checked = document.edge;
        return true;
    case ID_PART_NEW:
        state.enabled = true;
        return true;
    default:
        return false;
    }
}
