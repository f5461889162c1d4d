// The model preview as the user sees it: pixels read back from the
// framebuffer (multisampling off, samples taken away from edges), the
// mouse gestures and the preview commands.

#include <QTest>
#include <gtest/gtest.h>

#include "app/FrameFixture.h"
#include "document/DotColor.h"
#include "views/DotView.h"
#include "document/UpdateNotice.h"
#include "preview/ModelView.h"
#include "preview/PreviewPane.h"
#include "resources/CommandIds.h"
#include "support/TestDocument.h"

namespace {

constexpr int Width = 400;
constexpr int Height = 300;

int Distance(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// A preview of its own document, shown at a fixed size.
class ModelViewTest : public testing::Test {
protected:
    void SetUp() override {
        CGLView::SetDefaultSamples(0);
        document.background = MakeColorRef(255, 255, 255);
    }

    void Show() {
        view = std::make_unique<CModelView>(document);
        view->resize(Width, Height);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        image = view->GrabFrame();
        ASSERT_TRUE(view->IsReady());
    }

    void Regrab() { image = view->GrabFrame(); }

    // The pixel where a model-space point appears.
    QPoint Pixel(const Float3& p) const {
        const Float3 n = TransformCoord(p, view->World() * view->View() * view->Projection());
        return {static_cast<int>((n.x + 1.0f) * 0.5f * Width),
                static_cast<int>((1.0f - n.y) * 0.5f * Height)};
    }
    QColor At(const Float3& p) const { return image.pixelColor(Pixel(p)); }
    // Whether some pixel within one of where p appears has the colour.
    bool Near(const Float3& p, QColor colour, int tolerance = 24) const {
        const QPoint c = Pixel(p);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (Distance(image.pixelColor(c + QPoint(dx, dy)), colour) <= tolerance)
                    return true;
        return false;
    }

    // One part whose joint is the origin, with a large dot edge so that
    // a single cube covers many pixels; no current part (no slice box, no
    // red outlines).
    CDotPart& BigPart(std::u16string name = u"体") {
        CDotPart& part = AddPart(document, nullptr, std::move(name));
        document.dotSize = 4.0f;
        document.UpdateAllPlacements();
        return part;
    }

    CDotDocument document;
    std::unique_ptr<CModelView> view;
    QImage image;
};

} // namespace

TEST_F(ModelViewTest, GridAndAxesHaveTheirColours) {
    Show();
    EXPECT_TRUE(Near({12, 0, 0}, QColor(255, 0, 0))) << "red axis to +x";
    EXPECT_TRUE(Near({0, 5, 0}, QColor(0, 255, 0))) << "green axis up";
    EXPECT_TRUE(Near({0, 0, -5}, QColor(0, 0, 255))) << "blue axis to -z";
    EXPECT_TRUE(Near({-10, 0, 12.5f}, QColor(191, 191, 191))) << "grey grid line x = -10";
    EXPECT_FALSE(Near({-10, 0, 0}, QColor(255, 0, 0))) << "no red axis to -x";
    EXPECT_EQ(QColor(255, 255, 255), At({-12.5f, 0, 12.5f})) << "background between lines";
}

TEST_F(ModelViewTest, ADotIsACubeInItsColourWithBlackEdges) {
    CDotPart& part = BigPart();
    part.SetDot(16, 16, 16, 5); // red, corner at the joint (the origin)
    Show();
    const QColor red(255, 0, 0);
    EXPECT_EQ(red, At({2, 2, 0})) << "front face";
    EXPECT_TRUE(Near({2, 4, 0}, QColor(0, 0, 0), 30)) << "top edge";
    EXPECT_TRUE(Near({4, 2, 0}, QColor(0, 0, 0), 30)) << "right edge";
    EXPECT_EQ(QColor(255, 255, 255), At({2, 6, 0})) << "nothing above the cube";
}

// A slab of one colour is drawn as merged faces: every cube of it is
// filled and still outlined, and a lone cube of another colour beside it
// (another rectangle size, later in the buffer) keeps its own place.
TEST_F(ModelViewTest, MergedFacesStillShowEveryCubeAndItsEdges) {
    CDotPart& part = BigPart();
    for (int x = 16; x <= 17; ++x)
        for (int y = 16; y <= 17; ++y)
            part.SetDot(x, y, 16, 5); // red, 2 × 2 cubes from the origin
    part.SetDot(19, 16, 16, 2);       // blue, 12 units right
    Show();
    const QColor red(255, 0, 0), black(0, 0, 0), white(255, 255, 255);
    for (float x : {2.0f, 6.0f})
        for (float y : {2.0f, 6.0f})
            EXPECT_EQ(red, At({x, y, 0})) << "cube at " << x << ", " << y;
    for (const Float3& edge : {Float3{4, 2, 0}, Float3{4, 6, 0}, Float3{2, 4, 0}, Float3{6, 4, 0}})
        EXPECT_TRUE(Near(edge, black, 30))
            << "edge inside the slab at " << edge.x << ", " << edge.y;
    EXPECT_EQ(QColor(0, 0, 255), At({14, 2, 0})) << "the lone cube";
    EXPECT_EQ(white, At({10, 2, 0})) << "nothing between them";
    EXPECT_EQ(white, At({4, 10, 0})) << "nothing above the slab";
}

TEST_F(ModelViewTest, TranslucentCubesBlendOnceAndAfterOpaqueOnes) {
    CDotPart& part = BigPart();
    document.GetColor(2).SetMaterial(true); // blue, drawn first by index
    document.GetColor(2).SetAlpha(0.5f);
    part.SetDot(16, 16, 16, 2); // translucent in front
    part.SetDot(16, 16, 17, 5); // red behind it
    part.SetDot(18, 16, 16, 2); // translucent alone, 8 units right
    Show();
    const QColor overRed = At({2, 2, 0});
    EXPECT_LE(Distance(overRed, QColor(127, 0, 128)), 12)
        << "blue over red: " << overRed.name().toStdString();
    const QColor alone = At({10, 2, 0});
    EXPECT_LE(Distance(alone, QColor(127, 127, 255)), 12)
        << "blue over white, blended once: " << alone.name().toStdString();
    // The widget is composed onto the window by its alpha: it stays opaque.
    EXPECT_EQ(255, overRed.alpha());
    EXPECT_EQ(255, alone.alpha());
}

TEST_F(ModelViewTest, PartModeShowsOnlyTheCurrentPart) {
    CDotPart& body = BigPart();
    CDotPart& arm = AddPart(document, &body, u"左腕");
    arm.bonePosition = {36, 32, 32}; // 2 dots (8 units) to the right
    document.UpdateAllPlacements();
    body.SetDot(16, 16, 16, 5);
    arm.SetDot(16, 16, 16, 3);
    document.currentPart = &arm;
    Show();
    // The arm is current: the faint slice box lies over it.
    EXPECT_LE(Distance(QColor(0, 255, 0), At({10, 2, 0})), 20) << "the arm in the whole model";
    EXPECT_LE(Distance(QColor(255, 0, 0), At({2, 2, 0})), 40)
        << "the body, under the arm's slice box";
    view->OnCommand(ID_PREVIEW_PART);
    Regrab();
    EXPECT_LE(Distance(QColor(0, 255, 0), At({2, 2, 0})), 20)
        << "the arm alone, its joint at the origin";
    int red = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            red += Distance(image.pixelColor(x, y), QColor(255, 0, 0)) < 30;
    EXPECT_EQ(0, red) << "no trace of the body";
}

// The figure faces the viewer: its left arm (+x) shows on the right of the
// screen. Counted over the picture, without the view's own projection.
TEST_F(ModelViewTest, TheFigureIsNotMirrored) {
    CDotPart& body = BigPart();
    body.SetDot(17, 16, 16, 5); // red on the figure's left (+x)
    body.SetDot(14, 16, 16, 2); // blue on its right (-x)
    Show();
    double redX = 0, blueX = 0;
    int reds = 0, blues = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (Distance(c, QColor(255, 0, 0)) < 20)
                redX += x, ++reds;
            if (Distance(c, QColor(0, 0, 255)) < 20)
                blueX += x, ++blues;
        }
    ASSERT_GT(reds, 100);
    ASSERT_GT(blues, 100);
    EXPECT_GT(redX / reds, Width / 2.0);
    EXPECT_LT(blueX / blues, Width / 2.0);
}

// Counts the context-menu requests that reach a widget (which could open a
// menu).
class CMenuCounter : public QObject {
public:
    CMenuCounter() { qApp->installEventFilter(this); }
    ~CMenuCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* target, QEvent* event) override {
        count += event->type() == QEvent::ContextMenu && target->isWidgetType();
        return false;
    }
    int count = 0;
};

TEST_F(ModelViewTest, MouseTurnsPansZoomsAndResets) {
    Show();
    CMenuCounter menus;
    QTest::mousePress(view.get(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(view.get(), QPoint(190, 100));
    QTest::mouseRelease(view.get(), Qt::RightButton, {}, QPoint(190, 100));
    EXPECT_EQ(0, menus.count) << "the right button opens no menu";
    EXPECT_NEAR(1.5707964f, view->Camera().yaw, 1e-4f);
    QTest::mousePress(view.get(), Qt::MiddleButton, {}, QPoint(100, 100));
    QTest::mouseMove(view.get(), QPoint(110, 100));
    QTest::mouseRelease(view.get(), Qt::MiddleButton, {}, QPoint(110, 100));
    EXPECT_NE(COrbitCamera::DefaultTarget, view->Camera().target);
    QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -360),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.get(), &wheel);
    EXPECT_EQ(56.0f, view->Camera().distance);
    QTest::mouseDClick(view.get(), Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_EQ(COrbitCamera::DefaultTarget, view->Camera().target);
    EXPECT_EQ(50.0f, view->Camera().distance);
    EXPECT_EQ(0.0f, view->Camera().yaw);
}

// Frames caused by a change go straight to the window, single-sampled;
// once the view is still, one multisampled frame follows by itself, and
// both show the picture.
TEST_F(ModelViewTest, ChangesAreDrawnFastAndOneSmoothFrameFollows) {
    CGLView::SetDefaultSamples(16);
    CDotPart& part = BigPart();
    part.SetDot(16, 16, 16, 5);
    Show();
    const QColor red(255, 0, 0);
    EXPECT_EQ(red, At({2, 2, 0}));
    const int samples = view->Samples();
    EXPECT_GT(samples, 1) << "a grabbed frame is smooth";
    const auto still = [&] {
        return QTest::qWaitFor([&] { return !view->SmoothPending(); }, 10000);
    };
    // Sent straight to the view: QTest's mouse functions run the event
    // loop, which may draw a frame before the test does.
    const auto drag = [&](QEvent::Type type, int x, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(x, 100), view->mapToGlobal(QPointF(x, 100)),
                          Qt::RightButton, held, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &event);
    };

    // The picture of a frame during a drag and of the smooth one after it.
    drag(QEvent::MouseButtonPress, 100, Qt::RightButton);
    drag(QEvent::MouseMove, 101, Qt::RightButton);
    EXPECT_TRUE(view->PaintNow());
    image = view->grabFramebuffer();
    EXPECT_EQ(0, view->Samples()) << "a frame during the drag";
    EXPECT_EQ(red, At({2, 2, 0}));
    drag(QEvent::MouseButtonRelease, 101, Qt::NoButton);
    ASSERT_TRUE(still());
    image = view->grabFramebuffer();
    EXPECT_EQ(samples, view->Samples());
    EXPECT_EQ(red, At({2, 2, 0})) << "the smooth frame after it";

    // Each change, drawn by the view's own repaints: fast frames, then
    // exactly one smooth frame.
    const auto answered = [&](const char* change, const auto& make) {
        const int fast = view->Frames() - view->SmoothFrames();
        const int smooth = view->SmoothFrames();
        make();
        ASSERT_TRUE(still()) << change;
        EXPECT_LT(fast, view->Frames() - view->SmoothFrames()) << change;
        EXPECT_EQ(smooth + 1, view->SmoothFrames()) << change;
        EXPECT_EQ(samples, view->Samples()) << change;
        QTest::qWait(3 * static_cast<int>(CFramePolicy::SmoothDelay.count()));
        EXPECT_EQ(smooth + 1, view->SmoothFrames()) << change << ": only one";
    };
    answered("a drag", [&] {
        drag(QEvent::MouseButtonPress, 100, Qt::RightButton);
        drag(QEvent::MouseMove, 104, Qt::RightButton);
        drag(QEvent::MouseButtonRelease, 104, Qt::NoButton);
    });
    answered("a wheel zoom", [&] {
        QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.get(), &wheel);
    });
    answered("an edit", [&] {
        part.SetDot(15, 16, 16, 5);
        view->OnUpdate(nullptr, Notice<HINT_DOTS>(&part));
    });
    answered("a resize", [&] {
        // The window system reports the new size later.
        view->resize(Width + 20, Height);
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->SmoothPending(); }, 10000));
    });
    EXPECT_TRUE(view->PaintNow());
    EXPECT_EQ(samples, view->Samples()) << "a repaint with nothing changed";
    CGLView::SetDefaultSamples(0);
}

TEST_F(ModelViewTest, BackgroundComesFromTheDocument) {
    Show();
    document.background = MakeColorRef(10, 20, 30);
    view->OnUpdate(nullptr, Notice<HINT_BACKGROUND>());
    Regrab();
    EXPECT_EQ(QColor(10, 20, 30), At({-12.5f, 0, 12.5f}));
}

// The preview in the editor: its commands through the frame's routing.
class PreviewFrameTest : public FrameTest {};

TEST_F(PreviewFrameTest, ModeCommandsAndKeypadPresetsReachThePreview) {
    auto* pane = qobject_cast<CPreviewPane*>(frame->ModelView());
    ASSERT_TRUE(pane);
    CModelView* view = pane->ModelView();
    ASSERT_TRUE(view) << pane->Message().toStdString();
    CurrentPart();
    EXPECT_TRUE(Router().QueryState(ID_PREVIEW_MODEL).checked);
    EXPECT_TRUE(Router().Execute(ID_PREVIEW_PART));
    EXPECT_FALSE(view->Scene().IsWholeModel());
    EXPECT_TRUE(Router().QueryState(ID_PREVIEW_PART).checked);
    view->Camera().distance = 30.0f;
    EXPECT_TRUE(Router().Execute(ID_CAMERA_BACK));
    EXPECT_NEAR(3.14159274f, view->Camera().yaw, 1e-6f);
    EXPECT_EQ(30.0f, view->Camera().distance);
    EXPECT_TRUE(Router().Execute(ID_PREVIEW_MODEL));
    EXPECT_EQ(0.0f, view->Camera().yaw) << "the whole model's own camera";
}

// Takes one command and counts its runs.
class CCopyProbe : public CCommandTarget {
public:
    bool OnCommand(unsigned id) override { return id == ID_EDIT_COPY && ++runs; }
    int runs = 0;
};

// The preview is a native window inside a container, which takes key
// events away from the widgets: a click still gives the preview the
// keyboard focus, the editor offers commands to it first, and the main
// window's shortcuts work from inside it.
TEST_F(PreviewFrameTest, ThePreviewTakesTheFocusAndTheShortcutsStillWork) {
    auto* pane = qobject_cast<CPreviewPane*>(frame->ModelView());
    ASSERT_TRUE(pane);
    CModelView* view = pane->ModelView();
    ASSERT_TRUE(view) << pane->Message().toStdString();
    CurrentPart();
    frame->resize(1000, 700);
    ShowActive(*frame);
    frame->DotView()->setFocus();
    ASSERT_FALSE(pane->HasViewFocus());

    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(20, 20));
    Settle();
    EXPECT_TRUE(pane->HasViewFocus());
    EXPECT_EQ(QApplication::activeWindow(), frame.get());

    QTest::keyClick(view, Qt::Key_8, Qt::KeypadModifier);
    EXPECT_NEAR(3.14159274f, view->Camera().yaw, 1e-6f) << "keypad 8: from behind";
    QTest::keyClick(view, Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(0.0f, view->Camera().yaw) << "keypad 2: from the front";
    QTest::keyClick(view, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(Router().Action(ID_VIEW_BACK)->isChecked()) << "a dot-view shortcut";

    QTest::mouseClick(view, Qt::RightButton, {}, QPoint(30, 30));
    EXPECT_EQ(nullptr, QApplication::activePopupWidget()) << "no menu on the right button";

    CCopyProbe dots, model;
    frame->SetViewTargets({nullptr, &dots, &model, nullptr, nullptr});
    EXPECT_TRUE(Router().Execute(ID_EDIT_COPY));
    EXPECT_EQ(1, model.runs) << "the focused preview comes first";
    EXPECT_EQ(0, dots.runs);
    frame->SetViewTargets({});

    // A click elsewhere takes the focus, and the keys, back from the window.
    QTest::mouseClick(frame->DotView()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    Settle();
    EXPECT_FALSE(pane->HasViewFocus());
    EXPECT_TRUE(frame->DotView()->hasFocus());
}
