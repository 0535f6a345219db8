#include "PreviewArt.h"

#include "Paint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace art {

namespace {

constexpr qreal kW = kPreviewSize.width();
constexpr qreal kH = kPreviewSize.height();

void startPreview(QPainter& p, QImage& image) {
    image = canvas(kPreviewSize.width(), kPreviewSize.height(), Qt::white);
    p.begin(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
}

void fillBackground(QPainter& p, std::initializer_list<std::pair<qreal, QColor>> stops,
                    bool diagonal = false) {
    QLinearGradient g(QPointF(0, 0), diagonal ? QPointF(kW, kH) : QPointF(0, kH));
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    p.fillRect(QRectF(0, 0, kW, kH), g);
}

}  // namespace

QImage drawPreviewSoon() {
    QImage image;
    QPainter p;
    startPreview(p, image);
    QRandomGenerator rng(9);
    fillBackground(p, {{0, QColor(255, 243, 248)}, {1, QColor(255, 222, 234)}}, true);
    drawBokeh(p, QRectF(0, 0, kW, kH), 10, 10, 30, QColor(255, 255, 255, 110), rng);

    p.setPen(QPen(QColor(232, 84, 128, 130), 1.6, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(10, 10, kW - 20, kH - 20), 12, 12);

    const QFont big = font(kSans, 34, QFont::Bold);
    const QString text = QStringLiteral("敬请期待");
    QPainterPath path;
    const qreal width = QFontMetricsF(big).horizontalAdvance(text);
    path.addText(QPointF((kW - width) / 2, 86), big, text);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawPath(path.translated(0, 2));
    QLinearGradient fill(QPointF(0, 54), QPointF(0, 88));
    fill.setColorAt(0, QColor(255, 112, 150));
    fill.setColorAt(1, QColor(206, 40, 96));
    p.setBrush(fill);
    p.drawPath(path);

    p.setFont(font(kSans, 12));
    p.setPen(QColor(190, 80, 120));
    p.drawText(QRectF(0, 96, kW, 18), Qt::AlignCenter, QStringLiteral("更多浪漫风格  正在路上"));
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(232, 84, 128, 90 + i * 60));
        p.drawEllipse(QPointF(kW / 2 - 12 + i * 12, 124), 2.6, 2.6);
    }
    drawGlossyHeart(p, heartBox(QPointF(58, 40), 24), QColor(255, 140, 170), QColor(226, 50, 100),
                    false);
    drawFlatHeart(p, QPointF(246, 118), 14, QColor(232, 84, 128, 150), 14);
    drawFlatHeart(p, QPointF(262, 40), 9, QColor(232, 84, 128, 110), -12);
    drawSparkle(p, QPointF(236, 44), 5, QColor(255, 255, 255, 240));
    drawSparkle(p, QPointF(66, 118), 4, QColor(255, 255, 255, 240));
    p.end();
    return image;
}

QStringList browserPreviewNames() {
    QStringList names;
    for (int style = 1; style <= kStyleCount; ++style)
        names << QStringLiteral("preview-%1.png").arg(style);
    return names;
}

}  // namespace art
