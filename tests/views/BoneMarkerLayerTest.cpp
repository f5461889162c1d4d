// The bone-marker sheet at the dot view's size, how its pieces are drawn,
// and the markers and tooltip of the dot view.

#include <QPainter>
#include <QSet>
#include <gtest/gtest.h>

#include "DialogTestUtil.h"
#include "document/Part.h"
#include "views/BoneMarkerSheet.h"
#include "views/BoneMarkerLayer.h"

namespace {

QImage Piece(int kind, bool highlighted) {
    return BoneMarkerSheet(16).copy(BoneMarkerCell(kind, highlighted ? 1 : 0, 16));
}

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

} // namespace

TEST(BoneMarkerSheetTest, EveryKindHasItsOwnPieceInBothRows) {
    EXPECT_EQ(BoneMarkerSheet(16).size(), QSize(64, 32));
    QSet<QString> seen;
    for (int kind = BONE_ROTATE; kind <= BONE_HIDDEN; ++kind) {
        for (bool highlighted : {false, true}) {
            const QImage piece = Piece(kind, highlighted);
            EXPECT_EQ(piece.size(), QSize(16, 16));
            EXPECT_GT(OpaquePixels(piece), 30) << kind << highlighted;
            const QByteArray bytes(reinterpret_cast<const char*>(piece.constBits()),
                                   piece.sizeInBytes());
            seen.insert(QString::fromLatin1(bytes.toHex()));
        }
    }
    EXPECT_EQ(seen.size(), 8) << "all eight pieces differ";
    // A kind from a damaged file still shows a marker.
    EXPECT_NE(BoneMarkerCell(17, 1, 16), QRect());
    EXPECT_NE(BoneMarkerCell(-1, 0, 16), QRect());
}

TEST(BoneMarkerSheetTest, EnlargedMarkersKeepTheirPixels) {
    QImage target(32, 32, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.setOpacity(0.3); // the marker ignores the caller's opacity
        DrawBoneMarker(painter, QRectF(0, 0, 32, 32), BONE_ROTATE, true);
    }
    const QImage piece = Piece(BONE_ROTATE, true);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(target.pixel(x, y), piece.pixel(x / 2, y / 2)) << x << "," << y;
}

// The markers as the dot view draws them, and its tooltip.
TEST(BoneMarkerLayerTest, TheMarkedPartIsDrawnOnTopAndNamedFirst) {
    CDotDocument document;
    CDotPart& shown = AppendPart(document, nullptr, u"腕");
    CDotPart& first = AppendPart(document, &shown, u"ひじ");
    CDotPart& second = AppendPart(document, &shown, u"手");
    second.boneKind = BONE_ROTATE;
    first.bonePosition = second.bonePosition = {4, 60, 0}; // (u, w) = (4, 4): centre (38, 38)
    BoneMarkerView view;
    view.part = &shown;

    const auto paint = [&](const CPart* marked) {
        QImage image(80, 80, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        PaintBoneMarkers(painter, view, marked);
        painter.end();
        return image.copy(30, 30, 16, 16); // the marker square
    };
    // Where the piece on top is opaque, nothing of the one below shows.
    const auto onTop = [](const QImage& painted, const QImage& piece) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (qAlpha(piece.pixel(x, y)) == 255 && painted.pixel(x, y) != piece.pixel(x, y))
                    return false;
        return true;
    };
    EXPECT_TRUE(onTop(paint(&first), Piece(BONE_MOVE, true)));
    EXPECT_TRUE(onTop(paint(&second), Piece(BONE_ROTATE, true)));
    EXPECT_TRUE(onTop(paint(nullptr), Piece(BONE_ROTATE, false))) << "the later child on top";
    EXPECT_FALSE(onTop(paint(nullptr), Piece(BONE_MOVE, false)));

    EXPECT_EQ(BoneMarkerTooltip(view, QPointF(38, 38), nullptr), "手\nひじ");
    EXPECT_EQ(BoneMarkerTooltip(view, QPointF(38, 38), &second), "ひじ\n手");
    EXPECT_EQ(BoneMarkerTooltip(view, QPointF(0, 70), nullptr), "");
}
