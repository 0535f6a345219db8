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

// A strip of cells side by side, each filled with its colour and then drawn on by `mark`.
template <typename Mark>
QPixmap Strip(const QVector<QColor>& cells, QSize cell, Mark mark) {
    QPixmap strip(cell.width() * int(cells.size()), cell.height());
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < cells.size(); ++i) {
        const QRectF r(i * cell.width(), 0, cell.width(), cell.height());
        painter.fillRect(r, cells[i]);
        mark(painter, r);
    }
    return strip;
}

QPixmap CrossStrip(const QVector<QColor>& cells, QSize cell) {
    return Strip(cells, cell, [&](QPainter& painter, const QRectF& r) {
        DrawCross(painter, r, cell.width() / 5.0);
    });
}

QPixmap DiscStrip(const QVector<QColor>& cells, QColor disc, QSize cell) {
    return Strip(cells, cell, [&](QPainter& painter, const QRectF& r) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(disc);
        const double radius = cell.height() / 4.0;
        painter.drawEllipse(r.center(), radius, radius);
    });
}

}  // namespace demo
