#include "rigging/StandardBoneDialogModel.h"

#include <algorithm>
#include <utility>

#include "document/AddPartCommand.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "document/StandardBones.h"

namespace {}

std::vector<const CPart::TEMPLATE*> GetMissingStandardRows(const CDotDocument& document) {
    std::vector<const CPart::TEMPLATE*> missing;
    for (const CPart::TEMPLATE& row : document.GetTemplates()) {
        if (row.name == 0)
            break;
        if (!document.FindPartByName(LoadString(static_cast<unsigned>(row.name))))
            missing.push_back(&row);
    }
    return missing;
}

std::unique_ptr<CAddPartCommand>
MakeStandardBoneCommand(CDotDocument& document, std::span<const CPart::TEMPLATE* const> rows) {
    if (rows.empty())
        return nullptr;
    auto command = std::make_unique<CAddPartCommand>(document, LoadString(IDS_NEW_PART));
    for (STANDARD_PART& made : MakeStandardParts(document, rows))
        command->AddElement(made.parent, -1, std::move(made.part));
    return command;
}

CStandardBoneDialogModel::CStandardBoneDialogModel(CDotDocument& owner) : document(&owner) {
    for (const CPart::TEMPLATE* row : GetMissingStandardRows(owner))
        rows.push_back({row, LoadString(static_cast<unsigned>(row->name))});
}

bool CStandardBoneDialogModel::IsOkEnabled() const {
    return std::any_of(rows.begin(), rows.end(), [](const ROW& row) { return row.checked; });
}

std::vector<const CPart::TEMPLATE*> CStandardBoneDialogModel::GetCheckedRows() const {
    std::vector<const CPart::TEMPLATE*> checked;
    for (const ROW& row : rows)
        if (row.checked)
            checked.push_back(row.row);
    return checked;
}

bool CStandardBoneDialogModel::Apply() const {
    std::unique_ptr<CAddPartCommand> command = MakeStandardBoneCommand(*document, GetCheckedRows());
    if (!command)
        return false;
    document->Execute(std::move(command));
    return true;
}
