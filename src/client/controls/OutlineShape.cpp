#include "client/controls/OutlineShape.h"

#include <QPainter>

OutlineShape::OutlineShape(QWidget* parent, const QColor& colour)
    : QWidget(parent), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void OutlineShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour_);
    const int w = width(), h = height();
    painter.drawRect(0, 0, w, 1);
    painter.drawRect(0, h - 1, w, 1);
    painter.drawRect(0, 0, 1, h);
    painter.drawRect(w - 1, 0, 1, h);
}
