// Takes a picture of the editor's main window with a document open, to look
// at the views without a desktop (run it under xvfb-run):
//
//     editor_screenshot DOCUMENT.kbrl OUT.png [WIDTH HEIGHT]
//
// The settings go to a temporary folder, so the user's own stay untouched.
// The picture is taken once the editor has settled and the preview shows
// its smooth (multisampled) still frame.

#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/Kubrell.h"
#include "app/MainFrame.h"
#include "preview/ModelView.h"
#include "preview/PreviewPane.h"

namespace {

// Whether the preview (if there is one) shows its smooth frame.
bool PreviewStill(CMainFrame& frame) {
    const auto* pane = qobject_cast<CPreviewPane*>(frame.ModelView());
    const CModelView* view = pane ? pane->ModelView() : nullptr;
    return !view || !view->IsReady() || (view->SmoothFrames() > 0 && !view->SmoothPending());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: editor_screenshot DOCUMENT.kbrl OUT.png [WIDTH HEIGHT]\n");
        return 1;
    }
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    const QString out = QString::fromLocal8Bit(argv[2]);
    const int width = argc == 5 ? std::atoi(argv[3]) : 1280;
    const int height = argc == 5 ? std::atoi(argv[4]) : 860;
    // The application sees only the document argument.
    int appArgc = 2;
    char* appArgv[] = {argv[0], argv[1], nullptr};
    CKubrell app(appArgc, appArgv);
    if (!app.InitInstance())
        return 1;
    app.MainFrame()->resize(width, height);
    int status = 1;
    // After a moment to settle, looks every 50 ms (for ten seconds at the
    // most) whether the preview's smooth frame is shown.
    int looks = 0;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!PreviewStill(*app.MainFrame()) && ++looks < 200)
            return;
        poll.stop();
        // Read back from the display, not rendered by the widgets: the
        // preview is a native window of its own, which a widget grab
        // leaves out.
        QWidget* frame = app.MainFrame();
        const QPixmap picture = frame->screen()->grabWindow(frame->winId());
        status = picture.save(out) ? 0 : 1;
        app.quit();
    });
    QTimer::singleShot(1500, &poll, qOverload<>(&QTimer::start));
    app.exec();
    if (status != 0)
        std::fprintf(stderr, "editor_screenshot: cannot write %s\n", argv[2]);
    return status;
}
