#pragma once
// The part list: the whole part tree as an indented list, one 18-DIP row per
// part with its bone marker, its physics frame and its name. Clicking a row
// makes its part current; a click on the selected row or F2 renames it in
// place; dragging a part's icon moves the part in the tree; cut, copy, paste
// and delete act on whole parts.
//
// The rows, the selection, the scroll arithmetic and the drag live in the
// core (CPartListModel); this view paints them and passes its input on. It
// asks the frame for everything beyond itself by signal: status texts,
// commands and the context menu.

#include <QAbstractScrollArea>
#include <QImage>
#include <QTimer>
#include <span>

#include "document/CommandTarget.h"
#include "document/DocumentObserver.h"
#include "document/PartListModel.h"
#include "views/PasteTarget.h"

class CDotDocument;
class CPartListEdit;

class CPartListView : public QAbstractScrollArea,
                      public CCommandTarget,
                      public CDocumentObserver,
                      public CPasteTarget {
    Q_OBJECT
public:
    explicit CPartListView(CDotDocument& document, QWidget* parent = nullptr);
    ~CPartListView() override;

    const CPartListModel& Model() const { return model_; }
    CPartListEdit* Editor() const { return edit_; }
    // Whether a rename is open in the editor.
    bool IsEditing() const;

    // Opens the editor over row's name.
    void BeginRename(int row);
    // Puts the current part on the clipboard as a part.
    void Copy();
    // Copies the current part, then deletes it as "切り取り".
    void Cut();
    // Deletes the current part with its subtree as one undo step.
    void Delete(unsigned labelId);
    // Appends the part on the clipboard under the current part; throws for a
    // payload that is not a part.
    void Paste() override;

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;
    void OnUpdate(CDocumentObserver* sender, const CUpdateNotice& notice) override;

signals:
    // Text for status-bar pane 0 (a move that could not be made).
    void StatusTextChanged(int pane, const QString& text);
    // Asks the frame to run a command (Enter and a double-click open the
    // bone dialog, Delete deletes).
    void CommandRequested(unsigned id);
    // Asks the frame for the context menu at a global point.
    void ContextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Pointer { Arrow, Move, Refused };

    // After the rows, the selection or the origin changed: the scroll bar,
    // the editor's place and a repaint.
    void Changed();
    void SyncScrollBar();
    void PlaceEditor();
    void EndRename();
    void CloseEditor();
    void CancelDrag();
    void SetPointer(Pointer pointer);
    void DrawRows(QPainter& painter);
    const QImage& Markers();
    // The view's own commands: rename, copy, cut and delete.
    static std::span<const CCommandHandler<CPartListView>> Handlers();

    CDotDocument& document_;
    CPartListModel model_;
    CPartListEdit* edit_ = nullptr;
    CPart* editPart_ = nullptr; // the part being renamed
    QTimer renameTimer_;        // a rename waits to see whether a double-click follows
    int renameRow_ = -1;
    QImage markers_; // the bone-marker sheet at the screen's pixel density
    Pointer pointer_ = Pointer::Arrow;
    bool syncing_ = false;
};
