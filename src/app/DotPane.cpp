#include "app/DotPane.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

CDotPane::CDotPane(QWidget* paletteView, QWidget* dotView, QWidget* parent)
    : QWidget(parent), palette_(paletteView), dotView_(dotView) {
    palette_->setParent(this);
    dotView_->setParent(this);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(0, 0);
}

int CDotPane::PaletteHeight(int scrollBarHeight, int dpi) {
    return scrollBarHeight + dpi * 38 / 96;
}

void CDotPane::Arrange() {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int top = PaletteHeight(scrollBar, logicalDpiY());
    palette_->setGeometry(0, 0, width(), top);
    const int below = top + BorderHeight;
    dotView_->setGeometry(0, below, width(), std::max(0, height() - below));
}

void CDotPane::resizeEvent(QResizeEvent*) { Arrange(); }

void CDotPane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
}

void CDotPane::focusInEvent(QFocusEvent*) {
    dotView_->setFocus(Qt::OtherFocusReason);
    emit DotViewActivated();
}
