#include "client/controls/demo/DemoPictures.h"

#include <QPainter>

namespace demo {
namespace {

void DrawCross(QPainter& painter, const QRectF& cell, double arm) {
    painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = cell.center();
    painter.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
    painter.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));
}

}  // namespace

QPixmap CloseImage(QColor field, QSize size) {
    QPixmap picture(size);
    picture.fill(field);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawCross(painter, QRectF(QPointF(0, 0), size), 4.0);
    return picture;
}

QPixmap CrossStrip(const QVector<QColor>& cells, QSize cell) {
    QPixmap strip(cell.width() * int(cells.size()), cell.height());
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < cells.size(); ++i) {
        const QRectF r(i * cell.width(), 0, cell.width(), cell.height());
        painter.fillRect(r, cells[i]);
        DrawCross(painter, r, cell.width() / 5.0);
    }
    return strip;
}

QPixmap DiscStrip(const QVector<QColor>& cells, QColor disc, QSize cell) {
    QPixmap strip(cell.width() * int(cells.size()), cell.height());
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < cells.size(); ++i) {
        const QRectF r(i * cell.width(), 0, cell.width(), cell.height());
        painter.fillRect(r, cells[i]);
        painter.setPen(Qt::NoPen);
        painter.setBrush(disc);
        const double radius = cell.height() / 4.0;
        painter.drawEllipse(r.center(), radius, radius);
    }
    return strip;
}

}  // namespace demo
