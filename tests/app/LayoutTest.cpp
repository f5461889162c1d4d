// The window layout kept in the settings: splitter widths, placement and
// show state, first start without settings, and the dot pane's own layout.

#include <QSplitter>
#include <QStyle>
#include <QTest>

#include "FrameFixture.h"
#include "app/DotPane.h"
#include "document/Profile.h"

namespace {

int Setting(const char16_t* section, const char16_t* key, int missing = -12345) {
    return AppProfile().GetInt(section, key, missing);
}

void ShowAndWait(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

} // namespace

TEST_F(FrameTest, FirstStartUsesTheDefaultWidths) {
    ShowAndWait(*frame);
    const QList<int> sizes = frame->Splitter()->sizes();
    ASSERT_EQ(sizes.size(), 3);
    EXPECT_EQ(sizes[0], 100);
    EXPECT_EQ(sizes[1], 600);
    EXPECT_GT(sizes[2], 0);
    // The model column takes a change of the window's width.
    frame->resize(frame->width() + 80, frame->height());
    QTest::qWait(50);
    EXPECT_EQ(frame->Splitter()->sizes()[0], 100);
    EXPECT_EQ(frame->Splitter()->sizes()[1], 600);
}

TEST_F(FrameTest, LayoutIsWrittenAtCloseAndRestoredAtTheNextStart) {
    ShowAndWait(*frame);
    frame->setGeometry(40, 50, 1100, 700);
    QTest::qWait(50);
    frame->Splitter()->setSizes({150, 520, 1100 - 670});
    const QList<int> sizes = frame->Splitter()->sizes();
    ASSERT_TRUE(frame->close());

    EXPECT_EQ(Setting(u"Workspace", u"ListWidth"), sizes[0]);
    EXPECT_EQ(Setting(u"Workspace", u"HorizontalSplitter"), sizes[1]);
    EXPECT_EQ(Setting(u"Window", u"cx"), 1100);
    EXPECT_EQ(Setting(u"Window", u"cy"), 700);
    EXPECT_EQ(Setting(u"Window", u"show"), SHOW_NORMAL);

    CMainFrame next(AppProfile(), &prompts);
    EXPECT_EQ(next.geometry().size(), QSize(1100, 700));
    EXPECT_EQ(next.ChooseShowCommand(SHOW_NORMAL), SHOW_NORMAL);
    ShowAndWait(next);
    EXPECT_EQ(next.Splitter()->sizes()[0], sizes[0]);
    EXPECT_EQ(next.Splitter()->sizes()[1], sizes[1]);
    next.close();
}

TEST_F(FrameTest, WidthsBelowOneFallBackToTheDefaults) {
    AppProfile().WriteInt(u"Workspace", u"HorizontalSplitter", 0);
    AppProfile().WriteInt(u"Workspace", u"ListWidth", -5);
    AppProfile().WriteInt(u"Window", u"cx", 0);
    AppProfile().WriteInt(u"Window", u"cy", 300);
    CMainFrame next(AppProfile(), &prompts);
    next.resize(1200, 800);
    ShowAndWait(next);
    EXPECT_EQ(next.Splitter()->sizes()[0], 100);
    EXPECT_EQ(next.Splitter()->sizes()[1], 600);
    // A stored size that is not positive leaves the default placement.
    EXPECT_EQ(next.geometry().size(), QSize(1200, 800));
    next.close();
}

TEST_F(FrameTest, MaximisedWindowReopensMaximisedUnlessTheLauncherChose) {
    ShowAndWait(*frame);
    frame->showMaximized();
    QTest::qWait(100);
    ASSERT_TRUE(frame->close());
    EXPECT_EQ(Setting(u"Window", u"show"), SHOW_MAXIMIZED);

    CMainFrame next(AppProfile(), &prompts);
    EXPECT_EQ(next.ChooseShowCommand(SHOW_NORMAL), SHOW_MAXIMIZED);
    EXPECT_EQ(next.ChooseShowCommand(SHOW_PLAIN), SHOW_MAXIMIZED);
    for (int requested : {SHOW_MINIMIZED, SHOW_MAXIMIZED, SHOW_MINIMIZE, SHOW_MIN_NO_ACTIVE})
        EXPECT_EQ(next.ChooseShowCommand(requested), requested);
    next.ShowWindow(SHOW_NORMAL);
    EXPECT_TRUE(next.isMaximized());
    next.close();
}

TEST_F(FrameTest, FirstStartWithoutStoredShowStateUsesTheRequest) {
    EXPECT_EQ(frame->ChooseShowCommand(SHOW_PLAIN), SHOW_PLAIN);
    EXPECT_EQ(frame->ChooseShowCommand(SHOW_MINIMIZED), SHOW_MINIMIZED);
}

TEST(DotPaneTest, PaletteHeightIsScrollBarPlus38AtTheDisplayDpi) {
    EXPECT_EQ(CDotPane::PaletteHeight(17, 96), 55);
    EXPECT_EQ(CDotPane::PaletteHeight(17, 144), 74);
    EXPECT_EQ(CDotPane::PaletteHeight(16, 120), 63); // 47.5 truncated
}

TEST(DotPaneTest, PaletteSpansTheTopAndTheDotViewTakesTheRest) {
    auto* palette = new QWidget;
    auto* dots = new QWidget;
    dots->setFocusPolicy(Qt::StrongFocus);
    CDotPane pane(palette, dots);
    pane.resize(400, 300);
    pane.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    const int top = CDotPane::PaletteHeight(
        pane.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &pane), pane.logicalDpiY());
    EXPECT_EQ(palette->geometry(), QRect(0, 0, 400, top));
    EXPECT_EQ(dots->geometry(),
              QRect(0, top + CDotPane::BorderHeight, 400, 300 - top - CDotPane::BorderHeight));

    pane.activateWindow();
    pane.setFocus();
    QTest::qWait(20);
    EXPECT_TRUE(dots->hasFocus());
}
