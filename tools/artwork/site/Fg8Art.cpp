// Pictures of page style 8: the night sky behind the digital clock (a city asleep under the
// stars, a rosy glow on the horizon) and the card that chat apps show for a shared link.

#include "Paint.h"
#include "SiteArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace art {

namespace {

const QColor kNeon(255, 111, 166);

void fillNight(QPainter& p, const QRectF& r, qreal horizon) {
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, QColor(8, 6, 30));
    sky.setColorAt(0.45, QColor(26, 14, 60));
    sky.setColorAt(horizon, QColor(92, 32, 96));
    sky.setColorAt(1.0, QColor(40, 16, 58));
    p.fillRect(r, sky);
}

void drawStarField(QPainter& p, const QRectF& area, int count, QRandomGenerator& rng) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(area.left() + rng.bounded(area.width()),
                        area.top() + std::pow(rng.bounded(1.0), 1.5) * area.height());
        const int alpha = 60 + rng.bounded(150);
        p.setBrush(QColor(255, 246, 255, alpha));
        const qreal r = 0.5 + rng.bounded(1.1);
        p.drawEllipse(c, r, r);
    }
}

// Rows of buildings with lit windows; `base` is the ground line, `tall` the tallest height.
void drawSkyline(QPainter& p, qreal width, qreal base, qreal tall, QColor body, qreal windowAlpha,
                 QRandomGenerator& rng) {
    qreal x = -10;
    while (x < width) {
        const qreal w = 34 + rng.bounded(70.0);
        const qreal h = tall * (0.35 + rng.bounded(0.65));
        const QRectF block(x, base - h, w, h + 2);
        p.setPen(Qt::NoPen);
        p.setBrush(body);
        p.drawRect(block);
        // Now and then a roof with a mast and a small red light.
        if (rng.bounded(4) == 0) {
            p.drawRect(QRectF(block.center().x() - 1, block.top() - 18, 2, 18));
            drawGlow(p, QPointF(block.center().x(), block.top() - 19), 6,
                     QColor(255, 80, 110, 170));
        } else if (rng.bounded(3) == 0) {
            p.drawRect(QRectF(block.left() + w * 0.2, block.top() - 8, w * 0.6, 8));
        }
        if (windowAlpha > 0) {
            for (qreal wy = block.top() + 8; wy < base - 8; wy += 11) {
                for (qreal wx = block.left() + 5; wx < block.right() - 8; wx += 9) {
                    if (rng.bounded(100) < 26) {
                        const bool warm = rng.bounded(5) != 0;
                        QColor c = warm ? QColor(255, 206, 130) : QColor(255, 150, 200);
                        c.setAlphaF(windowAlpha * (0.45 + rng.bounded(0.55)));
                        p.setBrush(c);
                        p.drawRect(QRectF(wx, wy, 4, 5));
                    }
                }
            }
        }
        x += w + rng.bounded(6.0);
    }
}

void drawMoon(QPainter& p, QPointF centre, qreal radius) {
    drawGlow(p, centre, radius * 5, QColor(255, 190, 230, 40));
    drawGlow(p, centre, radius * 2.2, QColor(255, 220, 240, 90));
    p.save();
    p.setPen(Qt::NoPen);
    QRadialGradient face(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
    face.setColorAt(0, QColor(255, 250, 244));
    face.setColorAt(1, QColor(250, 214, 226));
    p.setBrush(face);
    p.drawEllipse(centre, radius, radius);
    // A few soft craters.
    p.setBrush(QColor(226, 180, 200, 70));
    p.drawEllipse(centre + QPointF(radius * 0.25, -radius * 0.2), radius * 0.22, radius * 0.22);
    p.drawEllipse(centre + QPointF(-radius * 0.35, radius * 0.3), radius * 0.16, radius * 0.16);
    p.drawEllipse(centre + QPointF(radius * 0.1, radius * 0.5), radius * 0.1, radius * 0.1);
    p.restore();
}

QImage drawNight() {
    const int w = 1200, h = 900;
    QImage image = canvas(w, h, Qt::black);
    QRandomGenerator rng(8088);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        fillNight(p, QRectF(0, 0, w, h), 0.8);
        // Faint clouds of colour, like a far nebula.
        drawGlow(p, QPointF(300, 260), 420, QColor(120, 50, 160, 50));
        drawGlow(p, QPointF(900, 420), 380, QColor(190, 60, 140, 40));
        drawGlow(p, QPointF(600, 760), 620, QColor(255, 90, 150, 60));
        drawStarField(p, QRectF(0, 0, w, h * 0.72), 360, rng);
        for (int i = 0; i < 14; ++i) {
            drawSparkle(p, QPointF(rng.bounded(double(w)), rng.bounded(h * 0.55)),
                        2.5 + rng.bounded(3.0), QColor(255, 236, 250, 170));
        }
        drawMoon(p, QPointF(1046, 430), 30);
        // The city: a paler far row, then the near one with its windows.
        drawSkyline(p, w, h - 100, 120, QColor(52, 26, 82), 0.35, rng);
        drawSkyline(p, w, h - 40, 170, QColor(20, 11, 40), 0.9, rng);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(14, 8, 30));
        p.drawRect(QRectF(0, h - 42, w, 42));
        // A warm haze over the lights.
        QLinearGradient haze(QPointF(0, h - 260), QPointF(0, h));
        haze.setColorAt(0, QColor(255, 90, 150, 0));
        haze.setColorAt(0.6, QColor(255, 90, 150, 26));
        haze.setColorAt(1, QColor(20, 8, 34, 120));
        p.fillRect(QRectF(0, h - 260, w, 260), haze);
    }
    return image;
}

QImage drawCard() {
    const qreal s = 2.0;
    const int w = 600, h = 315;
    QImage image = canvas(int(w * s), int(h * s), Qt::black);
    QRandomGenerator rng(8089);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(s, s);
        fillNight(p, QRectF(0, 0, w, h), 0.86);
        drawGlow(p, QPointF(300, 150), 300, QColor(255, 90, 150, 50));
        drawStarField(p, QRectF(0, 0, w, h * 0.8), 140, rng);
        drawSkyline(p, w, h - 6, 46, QColor(24, 12, 46), 0.8, rng);
        drawMoon(p, QPointF(520, 56), 16);

        // 13:14 in glowing segments: a number that sounds like "for a lifetime".
        const QColor dim(255, 92, 154, 12);
        const qreal dw = 58, dh = 100, gap = 12, cw = 24;
        const qreal total = dw * 4 + gap * 3 + cw;
        qreal x = (w - total) / 2;
        const qreal y = 62;
        const int digits[] = {1, 3, 1, 4};
        for (int i = 0; i < 4; ++i) {
            if (i == 2) {
                drawSegmentColon(p, QRectF(x - 2, y, cw - 8, dh), kNeon);
                x += cw;
            }
            const QRectF box(x, y, dw, dh);
            // The glow: the digit drawn wider and blurred behind itself.
            QImage halo = canvas(int((dw + 40) * s), int((dh + 40) * s));
            {
                QPainter hp(&halo);
                hp.setRenderHint(QPainter::Antialiasing);
                hp.scale(s, s);
                drawSegmentDigit(hp, QRectF(20, 20, dw, dh), digits[i], QColor(255, 92, 154, 220),
                                 Qt::transparent);
            }
            halo = blurred(halo, int(9 * s));
            p.drawImage(QRectF(x - 20, y - 20, dw + 40, dh + 40), halo);
            drawSegmentDigit(p, box, digits[i], QColor(255, 140, 186), dim);
            x += dw + gap;
        }
        drawGlowText(p, QRectF(0, 196, w, 40), Qt::AlignCenter, QStringLiteral("每一秒 · 都在想你"),
                     font(kSans, 26, QFont::Medium), QColor(255, 240, 246), QColor(255, 92, 154),
                     4);
        drawFlatHeart(p, QPointF(300, 256), 18, kNeon);
        drawGlow(p, QPointF(300, 256), 22, QColor(255, 92, 154, 90));
    }
    return image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

std::vector<Picture> fg8Pictures() {
    const QString folder = kBiaobaiFolder + QStringLiteral("/fg8/images/");
    return {
        {folder + QStringLiteral("night.jpg"), drawNight},
        {folder + QStringLiteral("card.jpg"), drawCard},
    };
}

}  // namespace art
