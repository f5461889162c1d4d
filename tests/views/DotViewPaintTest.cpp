// What the dot view paints, read back from its pixels: filled cells in their
// palette colour, the checkerboard of empty cells with the deeper dot as a
// centred square, the black grid and the selection border. With
// KUBRELL_SHOT_DIR set it also saves pictures of the sample figure from
// several faces and depths there.

#include <QImage>
#include <QSplitter>

#include "DotViewFixture.h"
#include "app/DotPane.h"
#include "document/FaceNavigation.h"
#include "resources/CommandIds.h"
#include "views/CellPainter.h"

namespace {

QImage Grab(CDotView* view) {
    view->viewport()->repaint();
    return view->viewport()->grab().toImage();
}

QColor At(const QImage& image, double x, double y) { return image.pixelColor(int(x), int(y)); }

} // namespace

TEST_F(DotViewTest, CellsShowTheirColourTheCheckerboardAndTheDotBehind) {
    Document().currentColor[0] = 5;
    Click({1, 1});
    Part().SetDot(3, 31 - 1, 17, 9); // one slice deeper, under view cell (3, 1)
    Document().UpdateAllViews(nullptr, Notice<HINT_DOTS>(&Part()));
    const QImage image = Grab(view);
    const CCellPainter cells(Document());

    EXPECT_EQ(At(image, 19 + 9, 19 + 9), cells.ColorOf(5));
    // An empty cell: grey and light grey pixels next to each other.
    const QColor a = At(image, 2 * 19 + 2, 19 + 2), b = At(image, 2 * 19 + 3, 19 + 2);
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == QColor(128, 128, 128) && b == QColor(192, 192, 192)) ||
                (a == QColor(192, 192, 192) && b == QColor(128, 128, 128)));
    // The deeper dot: its colour in the middle third only.
    EXPECT_EQ(At(image, 3 * 19 + 9, 19 + 9), cells.ColorOf(9));
    EXPECT_NE(At(image, 3 * 19 + 3, 19 + 3), cells.ColorOf(9));
    // The grid: a black line on each cell's last pixel row and column.
    EXPECT_EQ(At(image, 2 * 19 + 9, 2 * 19 - 1), QColor(Qt::black));
    EXPECT_EQ(At(image, 3 * 19 - 1, 2 * 19 + 9), QColor(Qt::black));

    // The selection border is the highlight colour over the cells.
    Router().Execute(ID_TOOL_SELECT);
    Drag({{5, 5}, {8, 8}});
    const QImage selected = Grab(view);
    EXPECT_NE(At(selected, 5 * 19 + 1, 5 * 19 + 9), At(image, 5 * 19 + 1, 5 * 19 + 9));
    EXPECT_EQ(At(selected, 6 * 19 + 9, 6 * 19 + 9), At(image, 6 * 19 + 9, 6 * 19 + 9));
}

TEST_F(DotViewTest, NoPartPaintsOnlyTheBackground) {
    Document().currentPart = nullptr;
    Document().UpdateAllViews(nullptr, Notice<HINT_PARTS>());
    const QImage image = Grab(view);
    EXPECT_EQ(At(image, 9, 9), view->palette().color(QPalette::Button));
    EXPECT_EQ(At(image, 19 * 5 - 1, 19 * 5 - 1), view->palette().color(QPalette::Button));
}

TEST_F(DotViewTest, SampleFigurePictures) {
    const QString folder = qEnvironmentVariable("KUBRELL_SHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set KUBRELL_SHOT_DIR to save the pictures";
    ASSERT_TRUE(
        frame->OpenDocumentFile(QStringLiteral(KUBRELL_TEST_DATA "/../../examples/figure.kbrl")));
    // The part with the most dots.
    CDotPart* richest = nullptr;
    for (CPart* part : Document().CollectParts()) {
        auto* dots = dynamic_cast<CDotPart*>(part);
        if (dots && (!richest || dots->CountDots() > richest->CountDots()))
            richest = dots;
    }
    ASSERT_NE(richest, nullptr);
    Document().currentPart = richest;
    Document().UpdateAllViews(nullptr, Notice<HINT_SELECT_PART>(richest));
    frame->resize(1500, 950);
    Settle();
    QTest::qWait(100);
    struct SHOT {
        const char* name;
        unsigned face;
        int depth;
    };
    const SHOT shots[] = {{"front-16", ID_VIEW_FRONT, 16},
                          {"front-12", ID_VIEW_FRONT, 12},
                          {"left-16", ID_VIEW_LEFT, 16},
                          {"top-10", ID_VIEW_TOP, 10},
                          {"back-20", ID_VIEW_BACK, 20}};
    for (const SHOT& shot : shots) {
        Router().Execute(shot.face);
        SetPartDepth(Part(), shot.depth);
        Settle();
        QTest::qWait(50);
        ASSERT_TRUE(frame->DotPane()->grab().save(folder + "/" + shot.name + ".png"));
    }
}
