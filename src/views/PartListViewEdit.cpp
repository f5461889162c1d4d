// The part list's commands: renaming a part in place, and cutting, copying,
// pasting and deleting whole parts.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <algorithm>
#include <cmath>
#include <exception>

#include "document/DotClipboard.h"
#include "document/DotDocument.h"
#include "document/EditorPrompt.h"
#include "document/PartReferences.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "views/ClipboardFormats.h"
#include "views/PartListEdit.h"
#include "views/PartListView.h"

std::span<const CCommandHandler<CPartListView>> CPartListView::Handlers() {
    using Handler = CCommandHandler<CPartListView>;
    // Keys reach run without the menu's check: each run checks again.
    constexpr auto needsPart = [](const CPartListView& view, unsigned, CCommandState& state) {
        state.enabled = view.document_.currentPart != nullptr;
    };
    static constexpr Handler handlers[] = {
        {.id = ID_PART_RENAME,
         .run =
             [](CPartListView& view, unsigned) {
                 if (!view.IsEditing())
                     view.BeginRename(view.model_.Selected());
             },
         .update = needsPart},
        {.id = ID_EDIT_COPY,
         .run = [](CPartListView& view, unsigned) { view.Copy(); },
         .update = needsPart},
        {.id = ID_EDIT_CUT,
         .run = [](CPartListView& view, unsigned) { view.Cut(); },
         .update = needsPart},
        {.id = ID_EDIT_CLEAR,
         .run = [](CPartListView& view, unsigned) { view.Delete(IDS_DELETE); },
         .update = needsPart},
    };
    return handlers;
}

bool CPartListView::OnCommand(unsigned id) {
    // While a name is edited, the edit commands act on its text.
    if (IsEditing() && edit_->TakesCommand(id)) {
        edit_->RunCommand(id);
        return true;
    }
    // The current part has its own commands (invert, rate, bones, physics).
    if (document_.currentPart && document_.currentPart->OnCommand(id))
        return true;
    return RunCommand(Handlers(), *this, id);
}

bool CPartListView::OnUpdateCommand(unsigned id, CCommandState& state) {
    if (IsEditing() && edit_->TakesCommand(id)) {
        state.enabled = edit_->CommandEnabled(id);
        return true;
    }
    if (document_.currentPart && document_.currentPart->OnUpdateCommand(id, state))
        return true;
    return UpdateCommand(Handlers(), *this, id, state);
}

// --- Clipboard and delete ----------------------------------------------------

void CPartListView::Copy() {
    const auto* part = dynamic_cast<const CDotPart*>(document_.currentPart);
    if (!part)
        return;
    const std::vector<uint8_t> bytes = WritePartPayload(*part);
    auto* mime = new QMimeData;
    mime->setData(PartMimeType,
                  QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    QApplication::clipboard()->setMimeData(mime);
}

void CPartListView::Cut() {
    if (!document_.currentPart)
        return;
    Copy();
    Delete(IDS_CUT);
}

void CPartListView::Delete(unsigned labelId) {
    if (!document_.currentPart)
        return;
    model_.DeleteSelected(LoadString(labelId));
    Changed();
}

void CPartListView::Paste() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(PartMimeType))
        return;
    const QByteArray bytes = mime->data(PartMimeType);
    // Throws for anything that is not a whole part record; the document is
    // untouched until the part is complete.
    std::unique_ptr<CDotPart> part = ReadPartPayload(
        {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())}, document_);
    PastePart(document_, std::move(part), this);
    model_.Rebuild();
    Changed();
}

// --- Rename in place ---------------------------------------------------------

void CPartListView::BeginRename(int row) {
    renameTimer_.stop();
    if (row < 0 || row >= model_.RowCount())
        return;
    editPart_ = model_.Rows()[size_t(row)].part;
    PlaceEditor();
    edit_->Begin(QString::fromStdU16String(editPart_->name));
}

void CPartListView::PlaceEditor() {
    const int row = editPart_ ? model_.RowOf(editPart_) : -1;
    if (row < 0)
        return;
    const PartRect name = model_.NameRect(row, viewport()->width());
    const int height = std::max(PartRowHeight, edit_->minimumSizeHint().height());
    const int top = int(std::lround((name.top + name.bottom - height) / 2));
    edit_->setGeometry(int(name.left), top, std::max(int(name.right - name.left), 24), height);
}

void CPartListView::CloseEditor() {
    editPart_ = nullptr;
    if (edit_->isHidden())
        return;
    if (edit_->hasFocus())
        setFocus(Qt::OtherFocusReason);
    edit_->hide();
}

void CPartListView::EndRename() {
    CPart* part = editPart_;
    // Closed meanwhile, or shown again for another try.
    if (!part || edit_->isVisible())
        return;
    if (!IsInTree(document_, *part)) {
        CloseEditor();
        return;
    }
    const std::u16string name = edit_->text().toStdU16String();
    RenameResult result = RenameResult::Unchanged;
    try {
        result = RenamePart(*part, name, GetEditorPrompt(), this);
    } catch (const std::exception& error) {
        emit StatusTextChanged(0, QString::fromUtf8(error.what()));
    }
    // A taken name was told in a message box: the user corrects it or
    // presses Esc. An empty name just keeps the old one.
    if (result == RenameResult::Refused && !name.empty() && editPart_ == part &&
        IsInTree(document_, *part)) {
        PlaceEditor();
        edit_->Reopen();
        return;
    }
    editPart_ = nullptr;
    viewport()->update();
}
