#pragma once
// The right-hand pane: the model preview when OpenGL 3.3 can be had, or else
// a message saying why there is no preview. Either way the rest of the
// editor works; the pane only shows.
//
// The preview is a native window inside a window container. The container
// takes the keyboard focus for it (a click on the preview moves the focus
// there), so the editor sees the pane as the focused view, and the
// window's shortcuts reach the main window from inside the preview too.

#include <QWidget>

class CDotDocument;
class CModelView;
class QLabel;
class QStackedLayout;

class CPreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit CPreviewPane(CDotDocument& document, QWidget* parent = nullptr);

    // The preview, null when OpenGL 3.3 was not available at start.
    CModelView* ModelView() const { return modelView_; }
    // The message shown instead of the preview, empty while it shows.
    QString Message() const;
    // Whether the keyboard focus is on the preview (its container or its
    // own window).
    bool HasViewFocus() const;

    // Whether an OpenGL 3.3 core context can be made and used here; reason
    // says why not.
    static bool ProbeOpenGL(QString& reason);

    QSize sizeHint() const override { return {100, 38}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

private:
    void ShowMessage(const QString& reason);

    CModelView* modelView_ = nullptr;
    QWidget* container_ = nullptr;
    QLabel* message_ = nullptr;
    QStackedLayout* stack_ = nullptr;
};
