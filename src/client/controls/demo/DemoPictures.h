#pragma once
// Pictures of the demonstration, drawn in code: the sign-in window's close image (48 x 19, a
// white cross on three reds) and picture strips for iButton.

#include <QColor>
#include <QPixmap>
#include <QVector>

namespace demo {

// A white cross (×) on a field of `field`.
QPixmap CloseImage(QColor field, QSize size = QSize(48, 19));
// A strip of cells side by side, each a white cross on the given colour.
QPixmap CrossStrip(const QVector<QColor>& cells, QSize cell = QSize(30, 30));
// A strip of cells with a centred disc on each colour (a toggle's looks).
QPixmap DiscStrip(const QVector<QColor>& cells, QColor disc, QSize cell = QSize(30, 30));

}  // namespace demo
