#pragma once
// What the standard bone dialog ("定型ボーン追加") offers and adds: the rows of
// the standard bone table whose names the document does not use, and one
// "新規部品" step that adds the checked ones as new standard parts.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "document/Part.h"

class CAddPartCommand;
class CDotDocument;

// The table rows, in order, whose name no part of the document has.
std::vector<const CPart::TEMPLATE*> GetMissingStandardRows(const CDotDocument& document);

// One add command labelled "新規部品" with a new standard part per row, in
// order, each appended under its parent: the part of the parent's name in the
// document, else among the new parts, else the top level. Ids are free across
// the tree and the new parts; IK parents resolve the same way. Null when rows
// is empty. The document is not changed until the command runs.
std::unique_ptr<CAddPartCommand>
MakeStandardBoneCommand(CDotDocument& document, std::span<const CPart::TEMPLATE* const> rows);

// The dialog's state: the offered rows, taken when it opens, and their checks.
class CStandardBoneDialogModel {
public:
    explicit CStandardBoneDialogModel(CDotDocument& document);

    struct ROW {
        const CPart::TEMPLATE* row;
        std::u16string name; // the text the list shows
        bool checked = false;
    };

    CDotDocument* document; // not owned
    std::vector<ROW> rows;

    // OK is enabled while at least one row is checked.
    bool IsOkEnabled() const;
    // The checked rows from top to bottom.
    std::vector<const CPart::TEMPLATE*> GetCheckedRows() const;
    // OK: executes the command for the checked rows with no initiating view;
    // returns whether there was anything to add.
    bool Apply() const;
};
