#pragma once
// The part list's in-place editor for a part's name. Enter ends the edit,
// Esc puts the name back first; losing the focus ends it too. The list hears
// of the end through EditEnded (connect it queued: the list acts once the
// focus change is complete) and decides what the text means.

#include <QLineEdit>

class CPartListEdit : public QLineEdit {
    Q_OBJECT
public:
    // list gets the focus back when Enter or Esc ends the edit.
    CPartListEdit(QWidget* list, QWidget* parent);

    // Shows the editor with text, all of it selected, and gives it the focus.
    void Begin(const QString& text);
    // Shows the editor again as it was (after a refused name).
    void Reopen();
    // The text when editing began.
    QString SavedText() const { return saved_; }

    // Whether the editor takes a command now (cut, copy, paste, delete,
    // undo, redo and select all act on its text while it is open), and the
    // state and running of those commands.
    bool TakesCommand(unsigned id) const;
    bool CommandEnabled(unsigned id) const;
    void RunCommand(unsigned id);

signals:
    void EditEnded();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void End();

    QWidget* list_;
    QString saved_;
};
