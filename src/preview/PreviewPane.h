#pragma once
// The right-hand pane: the model preview when OpenGL 3.3 can be had, or else
// a message saying why there is no preview. Either way the rest of the
// editor works; the pane only shows.

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

    // Whether an OpenGL 3.3 core context can be made and used here; reason
    // says why not.
    static bool ProbeOpenGL(QString& reason);

    QSize sizeHint() const override { return {100, 38}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

private:
    void ShowMessage(const QString& reason);

    CModelView* modelView_ = nullptr;
    QLabel* message_ = nullptr;
    QStackedLayout* stack_ = nullptr;
};
