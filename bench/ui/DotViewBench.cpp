// Event-to-paint time of a pencil stroke in the dot view, on the sample
// figure in the full main window (every pane present). Each iteration sends
// one pointer move onto a cell the stroke changes and runs the event loop
// until the view has painted; between strokes (untimed) the preview redraws
// what the last stroke committed. The baseline schedules a repaint of the
// whole view the same way, and the last one repaints it synchronously. Run
// it under a display, e.g.
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/bench/kubrell_ui_bench

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "app/Kubrell.h"
#include "app/MainFrame.h"
#include "app/SettingsProfile.h"
#include "views/DotView.h"
#include "document/DotDocument.h"

namespace {

CMainFrame* frame = nullptr;

QPointF Centre(int column, int row) { return {column * 19.0 + 9.5, row * 19.0 + 9.5}; }

void Send(QEvent::Type type, const QPointF& at, Qt::MouseButtons held) {
    QWidget* viewport = frame->DotView()->viewport();
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

// Sends a move to at with the left button held and runs the loop until the
// view painted (or 1 s went by); returns the seconds from the event to the
// end of the paint.
double MoveAndWaitForPaint(const QPointF& at) {
    bool painted = false;
    const QMetaObject::Connection connection =
        QObject::connect(frame->DotView(), &CDotView::Painted, [&painted] { painted = true; });
    QElapsedTimer timer;
    timer.start();
    Send(QEvent::MouseMove, at, Qt::LeftButton);
    while (!painted && timer.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    const double seconds = timer.nsecsElapsed() * 1e-9;
    QObject::disconnect(connection);
    return seconds;
}

void BM_StrokeCellEventToPaint(benchmark::State& state) {
    CDotView* view = frame->DotView();
    int cell = 0;
    // A new colour for every stroke, also across repetitions, so that every
    // move changes its cell.
    static int colour = 0;
    auto begin = [&] {
        colour = colour % 30 + 1;
        view->Document().currentColor[0] = colour;
        Send(QEvent::MouseButtonPress, Centre(0, 0), Qt::LeftButton);
    };
    auto end = [&] {
        Send(QEvent::MouseButtonRelease, Centre(0, 0), Qt::NoButton);
        // The other panes redraw the committed stroke before the next one.
        QTest::qWait(50);
    };
    // Whether a move onto the cell under at changes it (a cell that holds
    // the stroke's colour already is not repainted).
    auto changes = [&](const QPointF& at) {
        const DotPoint target = view->CellAt(at);
        const CDotImage& working = view->Slice().working;
        return target.x >= 0 && target.y >= 0 && target.x < working.GetWidth() &&
               target.y < working.GetHeight() && working.GetDot(target.x, target.y) != colour;
    };
    begin();
    for (auto _ : state) {
        // Each move lands on a cell the stroke changes.
        do {
            if (++cell >= 32 * 20) {
                state.PauseTiming();
                end();
                state.ResumeTiming();
                cell = 1;
                begin();
            }
        } while (!changes(Centre(cell % 32, cell / 32)));
        state.SetIterationTime(MoveAndWaitForPaint(Centre(cell % 32, cell / 32)));
    }
    end();
}

// Baseline: a repaint of the whole view scheduled with update(), from the
// call to the end of the paint, without any pointer event.
void BM_BaselineWholeViewUpdateToPaint(benchmark::State& state) {
    CDotView* view = frame->DotView();
    for (auto _ : state) {
        bool painted = false;
        const QMetaObject::Connection connection =
            QObject::connect(view, &CDotView::Painted, [&painted] { painted = true; });
        QElapsedTimer timer;
        timer.start();
        view->viewport()->update();
        while (!painted && timer.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        state.SetIterationTime(timer.nsecsElapsed() * 1e-9);
        QObject::disconnect(connection);
    }
}

void BM_FullRepaintNow(benchmark::State& state) {
    QWidget* viewport = frame->DotView()->viewport();
    for (auto _ : state)
        viewport->repaint();
}

BENCHMARK(BM_BaselineWholeViewUpdateToPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);
BENCHMARK(BM_StrokeCellEventToPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5);
BENCHMARK(BM_FullRepaintNow)->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    CKubrell app(argc, argv);
    CMainFrame window(app.Profile());
    if (!window.OpenDocumentFile(QStringLiteral(KUBRELL_FIGURE)))
        return 1;
    window.resize(1400, 900);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QApplication::setActiveWindow(&window);
    window.DotView()->setFocus();
    QTest::qWait(100);
    frame = &window;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window.Document().SetModifiedFlag(false);
    return 0;
}
