#include "views/PlaceholderView.h"

#include <QPainter>
#include <QPaintEvent>

CPlaceholderView::CPlaceholderView(const QString& role, QWidget* parent)
    : QWidget(parent), role_(role) {
    setObjectName(role);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void CPlaceholderView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect inner = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(hasFocus() ? QPalette::Highlight : QPalette::Mid));
    painter.drawRect(inner);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, role_);
}
