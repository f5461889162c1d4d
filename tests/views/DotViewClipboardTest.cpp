// Selections and the clipboard in the dot view as a person uses them: cut
// is one undo step, unusable clipboard data changes nothing, divide keeps
// the selection, a block moved off the grid and back keeps its cells, and
// pictures travel both ways between the editor and another program (xclip).

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "DotViewFixture.h"
#include "document/DotClipboard.h"
#include "resources/CommandIds.h"
#include "views/ClipboardFormats.h"

namespace {

// The PNG bytes of image.
QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

uint32_t Crc32(const char* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= uint8_t(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG whose header claims width × height (its checksum correct), followed
// by the data of a 1 × 1 picture.
QByteArray PngClaiming(uint32_t width, uint32_t height) {
    QByteArray bytes = Png(QImage(1, 1, QImage::Format_ARGB32));
    auto put = [&bytes](int at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(value >> (24 - 8 * i));
    };
    put(16, width); // IHDR data starts at byte 16
    put(20, height);
    put(29, Crc32(bytes.constData() + 12, 17)); // over the type and the data
    return bytes;
}

void SetClipboard(const QString& type, const QByteArray& data) {
    auto* mime = new QMimeData;
    mime->setData(type, data);
    QApplication::clipboard()->setMimeData(mime);
    Settle();
}

// Waits for a process while the event loop runs (the editor must answer
// the other program's clipboard requests meanwhile).
bool RunWithEvents(QProcess& process, int milliseconds = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (process.state() != QProcess::NotRunning && timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        process.waitForFinished(5);
    }
    return process.state() == QProcess::NotRunning && process.exitCode() == 0;
}

} // namespace

class DotViewClipboardTest : public DotViewTest {
protected:
    // Draws colour 5 at (2, 2) and (3, 2) and colour 6 at (2, 3), then
    // selects (1, 1)–(4, 4).
    void DrawAndSelect() {
        Document().currentColor = {5, 0};
        Drag({{2, 2}, {3, 2}});
        Document().currentColor = {6, 0};
        Click({2, 3});
        Router().Execute(ID_TOOL_SELECT);
        Drag({{1, 1}, {4, 4}});
        ASSERT_EQ(view->Slice().selection, (DotRect{1, 1, 5, 5}));
    }
};

TEST_F(DotViewClipboardTest, CutIsOneUndoStepAndPutsAllThreeFormats) {
    DrawAndSelect();
    const size_t before = Commands();
    Router().Execute(ID_EDIT_CUT);
    ASSERT_EQ(Commands(), before + 1);
    EXPECT_EQ(LastLabel(), "切り取り");
    EXPECT_EQ(DotAt(2, 2), 0);
    EXPECT_TRUE(view->Slice().selection.IsEmpty());
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    for (const QString& type : {DotImageMimeType, PngMimeType, BitmapMimeType})
        EXPECT_TRUE(mime->hasFormat(type)) << type.toStdString();
    const auto block = DecodeDotBlock(
        std::span(reinterpret_cast<const uint8_t*>(mime->data(DotImageMimeType).constData()),
                  size_t(mime->data(DotImageMimeType).size())));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->GetDot(1, 1), 5);
    EXPECT_EQ(block->GetDot(1, 2), 6);

    Router().Execute(ID_EDIT_UNDO);
    EXPECT_EQ(DotAt(2, 2), 5);
    // Paste brings the block back at (0, 0), selected, as one step.
    Router().Execute(ID_EDIT_PASTE);
    EXPECT_EQ(LastLabel(), "貼り付け");
    EXPECT_EQ(view->Slice().selection, (DotRect{0, 0, 4, 4}));
    EXPECT_EQ(DotAt(1, 1), 5);
    EXPECT_EQ(view->CurrentToolId(), ID_TOOL_SELECT);
}

TEST_F(DotViewClipboardTest, PasteWithNothingUsableChangesNothing) {
    DrawAndSelect();
    const size_t before = Commands();
    const CDotImage working = view->Slice().working;
    const DotRect selection = view->Slice().selection;
    const QByteArray bmp("BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0", 18); // cut in the header
    const std::pair<QString, QByteArray> payloads[] = {
        {DotImageMimeType, QByteArray("\xC8\xC8\x01\x02", 4)}, // 200 × 200 promised
        {DotImageMimeType, QByteArray("\x00\x00", 2)},         // 0 × 0
        {PngMimeType, QByteArray("\x89PNG\r\n\x1a\n garbage")},
        {PngMimeType, PngClaiming(100000, 100000)},
        {PngMimeType, Png(QImage())},
        {BitmapMimeType, bmp},
    };
    for (const auto& [type, data] : payloads) {
        SetClipboard(type, data);
        view->Paste();
        EXPECT_EQ(Commands(), before) << type.toStdString();
        EXPECT_EQ(view->Slice().working, working);
        EXPECT_EQ(view->Slice().selection, selection);
    }
    // Text only: the command is disabled and changes nothing either.
    QApplication::clipboard()->setText(QStringLiteral("ドット"));
    Settle();
    EXPECT_FALSE(Router().Action(ID_EDIT_PASTE)->isEnabled());
    Router().Execute(ID_EDIT_PASTE);
    EXPECT_EQ(Commands(), before);
}

TEST_F(DotViewClipboardTest, PicturesPasteCutTo32WithTransparentPixelsEmpty) {
    QImage picture(40, 10, QImage::Format_ARGB32);
    picture.fill(qRgba(255, 0, 0, 255));
    picture.setPixel(3, 0, qRgba(0, 0, 0, 0));
    SetClipboard(PngMimeType, Png(picture));
    Router().Execute(ID_EDIT_PASTE);
    EXPECT_EQ(view->Slice().selection, (DotRect{0, 0, 32, 10}));
    EXPECT_EQ(DotAt(3, 0), 0);
    EXPECT_EQ(DotAt(31, 9), Document().FindNearestColor(MakeColorRef(255, 0, 0)));
}

TEST_F(DotViewClipboardTest, TransformsTurnTheSelectionAsOneStepEach) {
    DrawAndSelect();
    QTest::keyClick(view, Qt::Key_Escape);
    Drag({{2, 2}, {4, 3}}); // 3 × 2
    const size_t before = Commands();
    Router().Execute(ID_DOT_ROTATE_RIGHT);
    EXPECT_EQ(view->Slice().selection, (DotRect{2, 2, 4, 5}));
    EXPECT_EQ(LastLabel(), "回転");
    EXPECT_EQ(Commands(), before + 1);
    EXPECT_EQ(DotAt(3, 2), 5); // the old top-left went to the top-right
    Router().Execute(ID_DOT_FLIP_HORIZONTAL);
    EXPECT_EQ(LastLabel(), "反転");
    // Without a selection the transforms are disabled.
    QTest::keyClick(view, Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(Router().Action(ID_DOT_ROTATE_LEFT)->isEnabled());
    EXPECT_FALSE(Router().Action(ID_EDIT_COPY)->isEnabled());
    EXPECT_TRUE(Router().Action(ID_EDIT_SELECT_ALL)->isEnabled());
    Router().Execute(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(view->Slice().selection, (DotRect{0, 0, 32, 32}));
    EXPECT_TRUE(view->hasFocus());
}

TEST_F(DotViewClipboardTest, MovingABlockOffTheGridAndBackKeepsItsCells) {
    DrawAndSelect();
    // Drag the selection by its cell (2, 2) far to the left of the grid.
    Press(Centre(2, 2));
    Move({-200, Centre(2, 2).y()});
    Release({-200, Centre(2, 2).y()});
    Settle();
    EXPECT_EQ(LastLabel(), "移動");
    EXPECT_LT(view->Slice().selection.right, 1);
    EXPECT_EQ(DotAt(2, 2), 0);
    // And back, one cell right of where it was.
    const QRectF shown = view->SelectionRect();
    Press(QPointF(shown.right() - 5, shown.top() + 5));
    Move(Centre(4, 4));
    Release(Centre(4, 4));
    Settle();
    ASSERT_GE(view->Slice().selection.left, 0);
    int fives = 0, sixes = 0;
    for (int b = 0; b < 32; ++b)
        for (int a = 0; a < 32; ++a)
            fives += DotAt(a, b) == 5, sixes += DotAt(a, b) == 6;
    EXPECT_EQ(fives, 2);
    EXPECT_EQ(sixes, 1);
}

TEST_F(DotViewClipboardTest, DivideMovesTheCellsIntoANewPartAndKeepsTheSelection) {
    DrawAndSelect();
    CPart* source = Document().currentPart;
    const int children = source->GetChildCount();
    Router().Execute(ID_DOT_DIVIDE);
    Settle();
    EXPECT_EQ(source->GetChildCount(), children + 1);
    EXPECT_NE(view->Part(), source);
    EXPECT_EQ(view->Slice().selection, (DotRect{1, 1, 5, 5}));
    EXPECT_EQ(view->Slice().Compose(0).GetDot(2, 2), 5);
    EXPECT_EQ(dynamic_cast<CDotPart*>(source)->GetDot(2, 29, 16), 0);
}

TEST_F(DotViewClipboardTest, PicturesTravelBothWaysWithAnotherProgram) {
    const QString xclip = QStandardPaths::findExecutable(QStringLiteral("xclip"));
    if (xclip.isEmpty())
        GTEST_SKIP() << "xclip is not installed (scripts/bootstrap installs it)";
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("in.png"));
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(0, 0, 255, 255));
    picture.setPixel(1, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(2, 0, qRgba(255, 255, 0, 255));
    ASSERT_TRUE(picture.save(file, "PNG"));

    // Another program owns the clipboard with a PNG: it pastes as dots.
    QApplication::clipboard()->clear();
    Settle();
    QProcess owner;
    owner.start(xclip, {"-selection", "clipboard", "-t", "image/png", "-i", file});
    ASSERT_TRUE(owner.waitForStarted());
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000 &&
           (QApplication::clipboard()->ownsClipboard() ||
            !QApplication::clipboard()->mimeData()->hasFormat(PngMimeType)))
        QTest::qWait(50);
    view->Paste();
    EXPECT_EQ(view->Slice().selection, (DotRect{0, 0, 3, 1}));
    EXPECT_EQ(DotAt(0, 0), Document().FindNearestColor(MakeColorRef(0, 0, 255)));
    EXPECT_EQ(DotAt(1, 0), 0);
    EXPECT_EQ(DotAt(2, 0), Document().FindNearestColor(MakeColorRef(255, 255, 0)));

    // Our copy read by the other program as PNG and as BMP.
    Router().Execute(ID_EDIT_COPY);
    Settle();
    owner.kill();
    owner.waitForFinished();
    for (const char* type : {"image/png", "image/bmp"}) {
        QProcess reader;
        reader.start(xclip, {"-selection", "clipboard", "-o", "-t", type});
        ASSERT_TRUE(RunWithEvents(reader)) << type;
        const QImage read = QImage::fromData(reader.readAllStandardOutput());
        ASSERT_FALSE(read.isNull()) << type;
        ASSERT_EQ(read.size(), QSize(3, 1)) << type;
        const CDotColor& nearest = Document().GetColor(DotAt(0, 0));
        EXPECT_EQ(QColor(read.pixel(0, 0)).red(), RedOf(nearest.color)) << type;
        EXPECT_EQ(QColor(read.pixel(0, 0)).blue(), BlueOf(nearest.color)) << type;
        EXPECT_EQ(qRed(read.pixel(1, 0)) + qGreen(read.pixel(1, 0)) + qBlue(read.pixel(1, 0)), 0)
            << type;
    }
}
