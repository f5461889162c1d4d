// Frame times of the model preview on the machine's OpenGL (run it under
// xvfb-run for Mesa's llvmpipe), the view at 1280 × 860 with the default
// multisampling:
//   Frame/<doc>        the frame after the camera turned by one pixel by
//                      code (markers re-projected; a fast frame, without
//                      multisampling), finished on the GPU: what the user
//                      waits for
//   SmoothFrame/<doc>  a repaint with nothing changed: the multisampled
//                      frame drawn once the view is still
//   DragFrame/<doc>    one frame while the right button drags the camera
//   EditFrame/<doc>    a dot edit of the largest part (hint 9): its mesh
//                      rebuilt and re-sent, then a frame
//   RebuildFrame/<doc> a whole rebuild (hint 0, every mesh re-sent), then a
//                      frame
// over the sample figure and the nineteen solid 32³ parts, and as the
// baseline of the same run a new document (grid, axes and nineteen markers,
// no dots): the machine is shared, so compare against it.

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "PreviewDocuments.h"
#include "document/UpdateNotice.h"
#include "preview/ModelView.h"

namespace {

// The preview with a way to draw one frame now and wait for it.
class CTimedView : public CModelView {
public:
    using CModelView::CModelView;
    void Frame() {
        if (!PaintNow())
            return;
        context()->functions()->glFinish();
        doneCurrent();
    }
    // Shows the view and waits (at most ten seconds) until the window
    // system has exposed it and its context exists: before that a frame
    // cannot be drawn.
    bool ShowAndWait() {
        show();
        QElapsedTimer waited;
        waited.start();
        while (!isValid() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return isValid();
    }
};

std::unique_ptr<CDotDocument> NewDocument() {
    auto document = std::make_unique<CDotDocument>();
    document->OnNewDocument();
    return document;
}

enum class Work { Frame, Smooth, Drag, Edit, Rebuild };

void SendMouse(QWindow& view, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, view.mapToGlobal(at), Qt::RightButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &event);
}

template <std::unique_ptr<CDotDocument> (*Make)(), Work work>
void Run(benchmark::State& state) {
    auto document = Make();
    CTimedView view(*document);
    view.resize(1280, 860);
    if (!view.ShowAndWait()) {
        state.SkipWithError("the window was not exposed");
        return;
    }
    view.Frame();
    if (!view.IsReady()) {
        state.SkipWithError("no OpenGL 3.3");
        return;
    }
    CDotPart* part = LargestPart(*document);
    if (work == Work::Drag)
        SendMouse(view, QEvent::MouseButtonPress, {100, 100}, Qt::RightButton);
    int step = 0;
    int samples = 0;
    for (auto _ : state) {
        switch (work) {
        case Work::Frame:
            view.Camera().Rotate(1, 0);
            view.CameraChanged();
            break;
        case Work::Smooth: break;
        case Work::Drag:
            SendMouse(view, QEvent::MouseMove, {100.0 + (++step & 1), 100}, Qt::RightButton);
            break;
        case Work::Edit: view.OnUpdate(nullptr, Notice<HINT_DOTS>(part)); break;
        case Work::Rebuild: view.OnUpdate(nullptr, Notice<HINT_INITIAL>()); break;
        }
        view.Frame();
        samples = view.Samples();
    }
    if (work == Work::Drag)
        SendMouse(view, QEvent::MouseButtonRelease, {100, 100}, Qt::NoButton);
    view.Frame();
    state.counters["dots"] = static_cast<double>(view.Scene().TotalDots());
    state.counters["samples"] = samples;
}

} // namespace

BENCHMARK(Run<NewDocument, Work::Frame>)->Name("Frame/Empty")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SampleFigure, Work::Frame>)->Name("Frame/Figure")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SolidSkeleton, Work::Frame>)->Name("Frame/Solid")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<NewDocument, Work::Smooth>)->Name("SmoothFrame/Empty")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SampleFigure, Work::Smooth>)
    ->Name("SmoothFrame/Figure")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SolidSkeleton, Work::Smooth>)
    ->Name("SmoothFrame/Solid")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SampleFigure, Work::Drag>)->Name("DragFrame/Figure")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SolidSkeleton, Work::Drag>)->Name("DragFrame/Solid")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SampleFigure, Work::Edit>)->Name("EditFrame/Figure")->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SampleFigure, Work::Rebuild>)
    ->Name("RebuildFrame/Figure")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Run<SolidSkeleton, Work::Rebuild>)
    ->Name("RebuildFrame/Solid")
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // KUBRELL_SAMPLES=0 measures without multisampling.
    if (const char* samples = std::getenv("KUBRELL_SAMPLES"))
        CGLView::SetDefaultSamples(std::atoi(samples));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
