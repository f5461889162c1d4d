#include "views/ToolCursors.h"

#include <QPainter>
#include <QPixmap>
#include <map>

#include "app/CommandIcons.h"

namespace {

constexpr int Side = 32;
constexpr int Hot = 7; // hot spot: the centre of the cross-hair

QCursor PaintCursor(unsigned toolId) {
    const QIcon icon = CommandIcon(toolId);
    if (icon.isNull())
        return QCursor(Qt::ArrowCursor);
    QPixmap picture(Side, Side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // A black cross-hair with a white rim, seen on any cell colour.
    for (const auto& [color, width] :
         {std::pair{QColor(Qt::white), 3}, std::pair{QColor(Qt::black), 1}}) {
        painter.setPen(QPen(color, width));
        painter.drawLine(Hot - 6, Hot, Hot - 2, Hot);
        painter.drawLine(Hot + 2, Hot, Hot + 6, Hot);
        painter.drawLine(Hot, Hot - 6, Hot, Hot - 2);
        painter.drawLine(Hot, Hot + 2, Hot, Hot + 6);
    }
    // The tool's picture on a white card, down and right of the hot spot.
    const QRect card(Hot + 5, Hot + 5, 19, 19);
    painter.fillRect(card, QColor(255, 255, 255, 230));
    painter.setPen(QColor(0x30, 0x30, 0x30));
    painter.drawRect(card.adjusted(0, 0, -1, -1));
    painter.drawPixmap(card.adjusted(1, 1, -1, -1), icon.pixmap(24, 24));
    painter.end();
    return QCursor(picture, Hot, Hot);
}

} // namespace

QCursor ToolCursor(unsigned toolId) {
    static std::map<unsigned, QCursor> cache;
    auto found = cache.find(toolId);
    if (found == cache.end())
        found = cache.emplace(toolId, PaintCursor(toolId)).first;
    return found->second;
}
