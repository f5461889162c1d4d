#include "views/PartListEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>

#include "resources/CommandIds.h"

CPartListEdit::CPartListEdit(QWidget* list, QWidget* parent) : QLineEdit(parent), list_(list) {
    setObjectName(QStringLiteral("PartListEdit"));
    QFont small = font();
    small.setPointSize(9);
    setFont(small);
    hide();
}

void CPartListEdit::Begin(const QString& text) {
    saved_ = text;
    setText(text);
    Reopen();
}

void CPartListEdit::Reopen() {
    selectAll();
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void CPartListEdit::End() {
    // Enter gives the focus back, which ends the edit already.
    if (isHidden())
        return;
    hide();
    emit EditEnded();
}

void CPartListEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape: setText(saved_); [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
        list_->setFocus(Qt::OtherFocusReason);
        End();
        event->accept();
        return;
    default: QLineEdit::keyPressEvent(event);
    }
}

void CPartListEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The editor's own context menu takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason)
        End();
}

bool CPartListEdit::TakesCommand(unsigned id) const {
    if (isHidden())
        return false;
    switch (id) {
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
    case ID_EDIT_CLEAR:
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
    case ID_EDIT_SELECT_ALL: return true;
    default: return false;
    }
}

bool CPartListEdit::CommandEnabled(unsigned id) const {
    switch (id) {
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_CLEAR: return hasSelectedText();
    case ID_EDIT_PASTE: {
        const QMimeData* mime = QApplication::clipboard()->mimeData();
        return mime && mime->hasText();
    }
    case ID_EDIT_UNDO: return isUndoAvailable();
    case ID_EDIT_SELECT_ALL: return !text().isEmpty();
    default: return false; // redo: the document's redo must not run meanwhile
    }
}

void CPartListEdit::RunCommand(unsigned id) {
    if (!CommandEnabled(id))
        return;
    switch (id) {
    case ID_EDIT_CUT: cut(); break;
    case ID_EDIT_COPY: copy(); break;
    case ID_EDIT_PASTE: paste(); break;
    case ID_EDIT_CLEAR: del(); break;
    case ID_EDIT_UNDO: undo(); break;
    case ID_EDIT_SELECT_ALL: selectAll(); break;
    default: break;
    }
}
