// Pictures of page style 7: a picture-book story of a little fox (阿狸) and a peach girl (桃子),
// told in slides. Every picture is composed from the same pieces: two characters with poses and
// faces, a handful of props, and one background per season or time of day, so that the story
// keeps one look from the first page to the last.

#include "Paint.h"
#include "SiteArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>
#include <functional>

namespace art {

namespace {

constexpr int kW = 960;  // the stage every slide is drawn on, 16:10
constexpr int kH = 600;

QPen roundPen(QColor colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

qreal rnd(QRandomGenerator& rng, qreal from, qreal to) {
    return from + rng.bounded(1.0) * (to - from);
}

void fillVertical(QPainter& p, const QRectF& r,
                  std::initializer_list<std::pair<qreal, QColor>> stops) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    p.fillRect(r, g);
}

// A band of land from the left edge to the right edge, closed along the bottom.
QPainterPath landPath(qreal yLeft, QPointF c1, QPointF c2, qreal yRight, qreal bottom = kH) {
    QPainterPath path(QPointF(-10, yLeft));
    path.cubicTo(c1, c2, QPointF(kW + 10, yRight));
    path.lineTo(kW + 10, bottom + 10);
    path.lineTo(-10, bottom + 10);
    path.closeSubpath();
    return path;
}

void fillLand(QPainter& p, const QPainterPath& land, QColor top, QColor bottom) {
    const QRectF b = land.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(land);
}

// ---------------------------------------------------------------------------------------------
// Props

void drawCloud(QPainter& p, QPointF c, qreal w, QColor colour) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addEllipse(c + QPointF(0, -w * 0.06), w * 0.24, w * 0.17);
    path.addEllipse(c + QPointF(-w * 0.22, w * 0.02), w * 0.18, w * 0.12);
    path.addEllipse(c + QPointF(w * 0.22, w * 0.03), w * 0.2, w * 0.12);
    path.addRoundedRect(QRectF(c.x() - w * 0.42, c.y(), w * 0.84, w * 0.12), w * 0.06, w * 0.06);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path.simplified());
    p.restore();
}

void drawBlossom(QPainter& p, QPointF c, qreal r, QColor petal, qreal angle) {
    p.save();
    p.translate(c);
    p.rotate(angle);
    p.setPen(Qt::NoPen);
    p.setBrush(petal);
    for (int k = 0; k < 5; ++k) {
        p.save();
        p.rotate(72.0 * k);
        p.drawEllipse(QPointF(0, -r * 0.55), r * 0.4, r * 0.55);
        p.restore();
    }
    p.setBrush(QColor(255, 226, 140));
    p.drawEllipse(QPointF(0, 0), r * 0.2, r * 0.2);
    p.restore();
}

void drawPetal(QPainter& p, QPointF c, qreal r, QColor colour, qreal angle) {
    p.save();
    p.translate(c);
    p.rotate(angle);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath petal(QPointF(0, -r));
    petal.cubicTo(QPointF(r * 0.9, -r * 0.6), QPointF(r * 0.6, r * 0.7), QPointF(0, r));
    petal.cubicTo(QPointF(-r * 0.6, r * 0.7), QPointF(-r * 0.9, -r * 0.6), QPointF(0, -r));
    p.drawPath(petal);
    p.restore();
}

void drawPetalsInAir(QPainter& p, const QRectF& area, int count, QRandomGenerator& rng) {
    for (int i = 0; i < count; ++i) {
        const QPointF c(rnd(rng, area.left(), area.right()), rnd(rng, area.top(), area.bottom()));
        QColor colour = mix(QColor(255, 190, 210), QColor(255, 140, 175), rng.bounded(1.0));
        colour.setAlpha(170 + rng.bounded(80));
        drawPetal(p, c, rnd(rng, 3.5, 7.5), colour, rnd(rng, 0, 360));
    }
}

// A rounded canopy of overlapping puffs, shaded from below.
void drawCanopy(QPainter& p, QPointF centre, qreal radius, QColor light, QColor dark,
                QRandomGenerator& rng, int puffs = 9) {
    p.save();
    p.setPen(Qt::NoPen);
    std::vector<std::pair<QPointF, qreal>> blobs;
    for (int i = 0; i < puffs; ++i) {
        const qreal a = i * 2 * M_PI / puffs + rnd(rng, -0.3, 0.3);
        const qreal d = radius * rnd(rng, 0.35, 0.62);
        blobs.push_back({centre + QPointF(std::cos(a) * d * 1.25, std::sin(a) * d * 0.8),
                         radius * rnd(rng, 0.42, 0.6)});
    }
    blobs.push_back({centre, radius * 0.7});
    for (const auto& [c, r] : blobs) {
        p.setBrush(dark);
        p.drawEllipse(c + QPointF(0, r * 0.12), r, r);
    }
    for (const auto& [c, r] : blobs) {
        QRadialGradient g(c + QPointF(-r * 0.3, -r * 0.4), r * 1.3);
        g.setColorAt(0, light);
        g.setColorAt(1, mix(light, dark, 0.55));
        p.setBrush(g);
        p.drawEllipse(c, r * 0.92, r * 0.9);
    }
    p.restore();
}

void drawTrunk(QPainter& p, QPointF base, qreal height, qreal width, QColor colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath trunk(base + QPointF(-width * 0.75, 0));
    trunk.cubicTo(base + QPointF(-width * 0.45, -height * 0.3),
                  base + QPointF(-width * 0.5, -height * 0.7),
                  base + QPointF(-width * 0.3, -height));
    trunk.lineTo(base + QPointF(width * 0.3, -height));
    trunk.cubicTo(base + QPointF(width * 0.5, -height * 0.7),
                  base + QPointF(width * 0.45, -height * 0.3), base + QPointF(width * 0.75, 0));
    trunk.closeSubpath();
    p.drawPath(trunk);
    p.setPen(roundPen(colour, width * 0.32));
    p.drawLine(base + QPointF(0, -height * 0.72), base + QPointF(-height * 0.32, -height * 1.08));
    p.drawLine(base + QPointF(0, -height * 0.78), base + QPointF(height * 0.3, -height * 1.12));
    p.restore();
}

// A peach tree in bloom: a dark trunk with two branches and a pink cloud of flowers.
void drawBlossomTree(QPainter& p, QPointF base, qreal height, QRandomGenerator& rng) {
    drawTrunk(p, base, height * 0.55, height * 0.07, QColor(120, 72, 66));
    const QPointF crown = base + QPointF(0, -height * 0.74);
    drawCanopy(p, crown, height * 0.36, QColor(255, 214, 226), QColor(240, 140, 170), rng, 11);
    for (int i = 0; i < 46; ++i) {
        const qreal a = rnd(rng, 0, 2 * M_PI);
        const qreal d = std::sqrt(rng.bounded(1.0)) * height * 0.42;
        const QPointF c = crown + QPointF(std::cos(a) * d * 1.2, std::sin(a) * d * 0.72);
        const QColor colour =
            rng.bounded(3) == 0 ? QColor(255, 255, 255, 230) : QColor(255, 160, 190, 235);
        drawBlossom(p, c, rnd(rng, height * 0.018, height * 0.03), colour, rnd(rng, 0, 72));
    }
}

void drawRoundTree(QPainter& p, QPointF base, qreal height, QColor light, QColor dark,
                   QRandomGenerator& rng, QColor trunk = QColor(110, 74, 56)) {
    drawTrunk(p, base, height * 0.5, height * 0.06, trunk);
    drawCanopy(p, base + QPointF(0, -height * 0.7), height * 0.32, light, dark, rng);
}

void drawPine(QPainter& p, QPointF base, qreal height, QColor colour, bool snow) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(100, 70, 60));
    p.drawRect(
        QRectF(base.x() - height * 0.035, base.y() - height * 0.16, height * 0.07, height * 0.16));
    for (int tier = 0; tier < 3; ++tier) {
        const qreal top = base.y() - height * (1.0 - tier * 0.22);
        const qreal bottom = base.y() - height * (0.42 - tier * 0.14);
        const qreal half = height * (0.2 + tier * 0.07);
        QPainterPath t(QPointF(base.x(), top));
        t.quadTo(QPointF(base.x() + half * 0.4, (top + bottom) / 2),
                 QPointF(base.x() + half, bottom));
        t.quadTo(QPointF(base.x(), bottom + height * 0.04), QPointF(base.x() - half, bottom));
        t.quadTo(QPointF(base.x() - half * 0.4, (top + bottom) / 2), QPointF(base.x(), top));
        p.setBrush(mix(colour, Qt::black, tier * 0.06));
        p.drawPath(t);
        if (snow) {
            QPainterPath cap(QPointF(base.x(), top));
            const qreal capY = top + (bottom - top) * 0.45;
            cap.quadTo(QPointF(base.x() + half * 0.3, capY - 4),
                       QPointF(base.x() + half * 0.48, capY));
            cap.quadTo(QPointF(base.x() + half * 0.2, capY + 6), QPointF(base.x(), capY + 2));
            cap.quadTo(QPointF(base.x() - half * 0.2, capY + 6),
                       QPointF(base.x() - half * 0.48, capY));
            cap.quadTo(QPointF(base.x() - half * 0.3, capY - 4), QPointF(base.x(), top));
            p.setBrush(QColor(250, 252, 255));
            p.drawPath(cap);
        }
    }
    p.restore();
}

void drawFlower(QPainter& p, QPointF c, qreal r, QColor petal, bool stem = true) {
    if (stem) {
        p.setPen(roundPen(QColor(70, 140, 70), qMax(1.0, r * 0.22)));
        p.drawLine(c, c + QPointF(0, r * 2.6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 165, 80));
        p.drawEllipse(c + QPointF(r * 0.5, r * 1.7), r * 0.5, r * 0.22);
    }
    drawBlossom(p, c, r, petal, 0);
}

void drawGrassTufts(QPainter& p, const QRectF& area, int count, QColor colour,
                    QRandomGenerator& rng) {
    p.save();
    for (int i = 0; i < count; ++i) {
        const QPointF c(rnd(rng, area.left(), area.right()), rnd(rng, area.top(), area.bottom()));
        const qreal depth = (c.y() - area.top()) / qMax(1.0, area.height());
        const qreal h = 4 + depth * 9;
        p.setPen(roundPen(mix(colour, Qt::black, rng.bounded(0.25)), 1.2 + depth));
        p.drawLine(c, c + QPointF(-h * 0.4, -h));
        p.drawLine(c, c + QPointF(0, -h * 1.2));
        p.drawLine(c, c + QPointF(h * 0.45, -h * 0.9));
    }
    p.restore();
}

void drawStarDots(QPainter& p, const QRectF& area, int count, QRandomGenerator& rng) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(rnd(rng, area.left(), area.right()), rnd(rng, area.top(), area.bottom()));
        p.setBrush(QColor(255, 255, 240, 80 + rng.bounded(170)));
        const qreal r = rnd(rng, 0.6, 1.8);
        p.drawEllipse(c, r, r);
    }
    for (int i = 0; i < count / 18; ++i) {
        drawSparkle(
            p, QPointF(rnd(rng, area.left(), area.right()), rnd(rng, area.top(), area.bottom())),
            rnd(rng, 4, 8), QColor(255, 250, 220, 220));
    }
    p.restore();
}

QPainterPath starPath(QPointF c, qreal r) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const qreal d = (i % 2 == 0) ? r : r * 0.48;
        const QPointF pt = c + QPointF(std::cos(a) * d, std::sin(a) * d);
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    return star;
}

// A plump little star with a sleepy smile (the stars that laugh with the moon).
void drawSmilingStar(QPainter& p, QPointF c, qreal r) {
    drawGlow(p, c, r * 2.2, QColor(255, 240, 160, 90));
    p.save();
    p.setPen(roundPen(QColor(235, 180, 60), r * 0.12));
    p.setBrush(QColor(255, 226, 110));
    p.drawPath(starPath(c, r));
    const QPen face = roundPen(QColor(120, 80, 40), r * 0.09);
    p.setPen(face);
    p.setBrush(Qt::NoBrush);
    for (int side : {-1, 1}) {
        QPainterPath eye(c + QPointF(side * r * 0.24 - r * 0.1, 0));
        eye.quadTo(c + QPointF(side * r * 0.24, -r * 0.12),
                   c + QPointF(side * r * 0.24 + r * 0.1, 0));
        p.drawPath(eye);
    }
    QPainterPath smile(c + QPointF(-r * 0.14, r * 0.14));
    smile.quadTo(c + QPointF(0, r * 0.3), c + QPointF(r * 0.14, r * 0.14));
    p.drawPath(smile);
    p.restore();
}

void drawMoon(QPainter& p, QPointF c, qreal r, bool face) {
    drawGlow(p, c, r * 2.6, QColor(255, 246, 200, 70));
    drawGlow(p, c, r * 1.5, QColor(255, 246, 210, 110));
    p.save();
    p.setPen(Qt::NoPen);
    QRadialGradient g(c + QPointF(-r * 0.3, -r * 0.3), r * 1.4);
    g.setColorAt(0, QColor(255, 252, 228));
    g.setColorAt(1, QColor(250, 226, 150));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(236, 206, 130, 90));
    p.drawEllipse(c + QPointF(r * 0.42, -r * 0.38), r * 0.14, r * 0.12);
    p.drawEllipse(c + QPointF(-r * 0.5, r * 0.48), r * 0.1, r * 0.09);
    p.drawEllipse(c + QPointF(r * 0.55, r * 0.3), r * 0.08, r * 0.07);
    if (face) {
        const QPen ink = roundPen(QColor(150, 110, 60), r * 0.05);
        p.setPen(ink);
        p.setBrush(Qt::NoBrush);
        for (int side : {-1, 1}) {
            QPainterPath eye(c + QPointF(side * r * 0.32 - r * 0.13, -r * 0.08));
            eye.quadTo(c + QPointF(side * r * 0.32, r * 0.06),
                       c + QPointF(side * r * 0.32 + r * 0.13, -r * 0.08));
            p.drawPath(eye);
        }
        QPainterPath smile(c + QPointF(-r * 0.2, r * 0.22));
        smile.quadTo(c + QPointF(0, r * 0.45), c + QPointF(r * 0.2, r * 0.22));
        p.drawPath(smile);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 150, 150, 110));
        p.drawEllipse(c + QPointF(-r * 0.5, r * 0.16), r * 0.13, r * 0.08);
        p.drawEllipse(c + QPointF(r * 0.5, r * 0.16), r * 0.13, r * 0.08);
    }
    p.restore();
}

void drawFirefly(QPainter& p, QPointF c, qreal r) {
    drawGlow(p, c, r * 5, QColor(230, 255, 120, 70));
    drawGlow(p, c, r * 2.2, QColor(240, 255, 160, 160));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 220));
    p.drawEllipse(c, r * 0.7, r * 0.7);
    p.restore();
}

void drawLeaf(QPainter& p, QPointF c, qreal size, qreal angle, QColor colour) {
    p.save();
    p.translate(c);
    p.rotate(angle);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath leaf(QPointF(0, -size));
    leaf.cubicTo(QPointF(size * 0.75, -size * 0.5), QPointF(size * 0.6, size * 0.5),
                 QPointF(0, size));
    leaf.cubicTo(QPointF(-size * 0.6, size * 0.5), QPointF(-size * 0.75, -size * 0.5),
                 QPointF(0, -size));
    p.drawPath(leaf);
    p.setPen(roundPen(mix(colour, QColor(90, 40, 20), 0.35), qMax(0.8, size * 0.09)));
    p.drawLine(QPointF(0, -size * 0.8), QPointF(0, size * 1.25));
    p.restore();
}

QColor autumnColour(QRandomGenerator& rng) {
    static const QColor hues[] = {QColor(240, 120, 40), QColor(226, 78, 46), QColor(250, 186, 60),
                                  QColor(200, 90, 40), QColor(245, 150, 50)};
    return hues[rng.bounded(5)];
}

void drawSnowfall(QPainter& p, const QRectF& area, int count, QRandomGenerator& rng) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(rnd(rng, area.left(), area.right()), rnd(rng, area.top(), area.bottom()));
        const qreal r = rnd(rng, 1.2, 4.2);
        p.setBrush(QColor(255, 255, 255, 120 + rng.bounded(130)));
        p.drawEllipse(c, r, r);
    }
    p.restore();
}

void drawCandy(QPainter& p, QPointF c, qreal r) {
    p.save();
    p.setPen(roundPen(QColor(200, 70, 110), r * 0.15));
    p.setBrush(QColor(255, 150, 190));
    for (int side : {-1, 1}) {
        QPolygonF wing({c + QPointF(side * r * 0.8, 0), c + QPointF(side * r * 1.7, -r * 0.7),
                        c + QPointF(side * r * 1.7, r * 0.7)});
        p.drawPolygon(wing);
    }
    QRadialGradient g(c + QPointF(-r * 0.3, -r * 0.3), r * 1.2);
    g.setColorAt(0, QColor(255, 220, 235));
    g.setColorAt(1, QColor(255, 90, 150));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(roundPen(QColor(255, 255, 255, 200), r * 0.2));
    p.drawArc(QRectF(c.x() - r * 0.6, c.y() - r * 0.6, r * 1.2, r * 1.2), 100 * 16, 70 * 16);
    p.restore();
}

void drawBasket(QPainter& p, QPointF c, qreal w) {
    p.save();
    const QColor wicker(196, 140, 80);
    const QColor wickerDark(150, 96, 50);
    // Handle behind the fruit.
    p.setPen(roundPen(wickerDark, w * 0.08));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - w * 0.4, c.y() - w * 0.75, w * 0.8, w * 0.9), 0, 180 * 16);
    // Fruit heaped over the rim.
    p.setPen(roundPen(QColor(160, 40, 40), w * 0.02));
    const QPointF fruit[] = {
        {-0.28, -0.05}, {0.0, -0.12}, {0.27, -0.04}, {-0.13, -0.2}, {0.14, -0.22}};
    for (const QPointF& f : fruit) {
        const QPointF at = c + QPointF(f.x() * w, f.y() * w);
        QRadialGradient g(at + QPointF(-w * 0.04, -w * 0.05), w * 0.17);
        g.setColorAt(0, QColor(255, 130, 110));
        g.setColorAt(1, QColor(210, 40, 50));
        p.setBrush(g);
        p.drawEllipse(at, w * 0.14, w * 0.13);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 160, 70));
    p.drawEllipse(c + QPointF(0.05 * w, -0.26 * w), w * 0.06, w * 0.025);
    // The basket body.
    QPainterPath body(c + QPointF(-w * 0.5, 0));
    body.lineTo(c + QPointF(w * 0.5, 0));
    body.lineTo(c + QPointF(w * 0.38, w * 0.42));
    body.quadTo(c + QPointF(0, w * 0.5), c + QPointF(-w * 0.38, w * 0.42));
    body.closeSubpath();
    p.setPen(roundPen(wickerDark, w * 0.03));
    p.setBrush(wicker);
    p.drawPath(body);
    p.setClipPath(body);
    p.setPen(roundPen(wickerDark, w * 0.02));
    for (int i = 1; i < 4; ++i)
        p.drawLine(c + QPointF(-w * 0.5, w * 0.11 * i), c + QPointF(w * 0.5, w * 0.11 * i));
    for (int i = -4; i <= 4; ++i)
        p.drawLine(c + QPointF(w * 0.11 * i, 0), c + QPointF(w * 0.09 * i, w * 0.5));
    p.setClipping(false);
    p.setPen(Qt::NoPen);
    p.setBrush(wickerDark);
    p.drawRoundedRect(QRectF(c.x() - w * 0.53, c.y() - w * 0.05, w * 1.06, w * 0.09), w * 0.04,
                      w * 0.04);
    p.restore();
}

void drawWateringCan(QPainter& p, QPointF c, qreal w, bool water) {
    p.save();
    const QColor tin(110, 170, 210);
    const QColor tinDark(70, 120, 160);
    p.setPen(roundPen(tinDark, w * 0.04));
    p.setBrush(tin);
    // Spout to the right.
    QPolygonF spout({c + QPointF(w * 0.3, -w * 0.05), c + QPointF(w * 0.85, -w * 0.42),
                     c + QPointF(w * 0.9, -w * 0.34), c + QPointF(w * 0.35, w * 0.12)});
    p.drawPolygon(spout);
    p.drawRoundedRect(QRectF(c.x() - w * 0.4, c.y() - w * 0.3, w * 0.75, w * 0.6), w * 0.12,
                      w * 0.12);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - w * 0.3, c.y() - w * 0.62, w * 0.55, w * 0.6), 0, 180 * 16);
    if (water) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(140, 200, 255, 200));
        for (int i = 0; i < 6; ++i) {
            const QPointF d = c + QPointF(w * (0.95 + i * 0.06), w * (-0.28 + i * 0.18));
            p.drawEllipse(d, w * 0.035, w * 0.05);
        }
    }
    p.restore();
}

// A heart of flowers: red flowers along the edge, pink ones inside. `squash` < 1 lays it down
// on a slope, seen at an angle.
void drawFlowerHeart(QPainter& p, QPointF centre, qreal width, qreal squash, qreal flower,
                     QRandomGenerator& rng) {
    const QRectF box = heartBox(QPointF(0, 0), width);
    const QPainterPath heart = heartPath(box);
    const QPainterPath inner =
        heartPath(box.adjusted(width * 0.1, width * 0.1, -width * 0.1, -width * 0.12));
    p.save();
    p.translate(centre);
    p.scale(1, squash);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 120, 40, 90));
    p.drawPath(heartPath(box.adjusted(-width * 0.02, -width * 0.02, width * 0.02, width * 0.03)));
    const int count = qRound(width * width / (flower * flower * 1.6));
    for (int i = 0; i < count; ++i) {
        const QPointF pt(rnd(rng, box.left(), box.right()), rnd(rng, box.top(), box.bottom()));
        if (!heart.contains(pt))
            continue;
        const bool edge = !inner.contains(pt);
        const QColor colour =
            edge ? mix(QColor(230, 30, 60), QColor(200, 10, 40), rng.bounded(1.0))
                 : mix(QColor(255, 150, 190), QColor(255, 110, 160), rng.bounded(1.0));
        p.save();
        p.translate(pt);
        p.scale(1, 1.0 / squash * (0.55 + 0.45 * squash));
        drawBlossom(p, QPointF(0, 0), flower * rnd(rng, 0.8, 1.15), colour, rnd(rng, 0, 72));
        p.restore();
    }
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// The characters. Both are drawn in units: the feet at (0, 0), the top about 104 units above.

enum class Eyes { Open, Sparkle, Happy, Closed, Down, Up, Worried };
enum class Mouth { Smile, Open, Small, Wavy, Grin, Hidden };
enum class FoxArms { Down, Wave, Hold, Reach, Cheer, Offer, Gift, Basket, Can };
enum class FoxItem { None, Heart, BigHeart, Basket, Can };
enum class PeachArms { Down, Wave, Cover, Hug, ReachLeft, ReachRight, Cheer, Hold };

struct FoxLook {
    Eyes eyes = Eyes::Open;
    Mouth mouth = Mouth::Smile;
    FoxArms arms = FoxArms::Down;
    FoxItem item = FoxItem::None;
    qreal blush = 0.4;
    bool sweat = false;
    bool winterScarf = false;
    bool mirror = false;  // faces left: the tail goes to the other side
    qreal look = 0;       // -1 .. 1, where the face turns (in the picture's left and right)
    qreal lookUp = 0;     // -1 .. 1
    qreal tilt = 0;       // degrees, about the middle of the body
    bool shadow = true;
};

struct PeachLook {
    Eyes eyes = Eyes::Open;
    Mouth mouth = Mouth::Smile;
    PeachArms arms = PeachArms::Down;
    qreal blush = 0.55;
    bool scarf = false;
    bool shiver = false;
    bool mirror = false;
    qreal look = 0;
    qreal lookUp = 0;
    qreal tilt = 0;
    bool shadow = true;
};

const QColor kInk(58, 34, 36);
const QColor kFur(240, 116, 54);
const QColor kFurDark(206, 80, 38);
const QColor kFurEdge(150, 64, 36);
const QColor kCream(255, 247, 236);
const QColor kPaw(112, 56, 42);
const QColor kKerchief(58, 170, 168);
const QColor kScarf(214, 44, 60);

void drawEye(QPainter& p, QPointF c, qreal size, Eyes kind) {
    p.save();
    const qreal rx = size * 0.5;
    const qreal ry = size * 0.6;
    switch (kind) {
        case Eyes::Happy: {
            p.setPen(roundPen(kInk, size * 0.26));
            p.setBrush(Qt::NoBrush);
            QPainterPath arc(c + QPointF(-rx, ry * 0.25));
            arc.quadTo(c + QPointF(0, -ry * 0.95), c + QPointF(rx, ry * 0.25));
            p.drawPath(arc);
            break;
        }
        case Eyes::Closed: {
            p.setPen(roundPen(kInk, size * 0.24));
            p.setBrush(Qt::NoBrush);
            QPainterPath arc(c + QPointF(-rx, -ry * 0.1));
            arc.quadTo(c + QPointF(0, ry * 0.8), c + QPointF(rx, -ry * 0.1));
            p.drawPath(arc);
            // Lashes.
            p.drawLine(c + QPointF(-rx * 0.95, 0), c + QPointF(-rx * 1.3, ry * 0.25));
            break;
        }
        default: {
            const bool sparkle = kind == Eyes::Sparkle;
            const qreal grow = sparkle ? 1.15 : 1.0;
            const QRectF eye(c.x() - rx * grow, c.y() - ry * grow, 2 * rx * grow, 2 * ry * grow);
            QRadialGradient g(c + QPointF(0, ry * 0.5), ry * 1.4);
            g.setColorAt(0, sparkle ? QColor(120, 60, 70) : QColor(92, 52, 52));
            g.setColorAt(1, kInk);
            p.setPen(Qt::NoPen);
            p.setBrush(g);
            p.drawEllipse(eye);
            qreal hy = -ry * 0.35;
            qreal hx = rx * 0.25;
            if (kind == Eyes::Down)
                hy = ry * 0.3;
            if (kind == Eyes::Up)
                hy = -ry * 0.55;
            p.setBrush(Qt::white);
            p.drawEllipse(c + QPointF(hx, hy), rx * (sparkle ? 0.5 : 0.42),
                          rx * (sparkle ? 0.5 : 0.42));
            p.drawEllipse(c + QPointF(-rx * 0.35, ry * 0.45), rx * 0.2, rx * 0.2);
            if (sparkle)
                drawSparkle(p, c + QPointF(-rx * 0.3, -ry * 0.05), rx * 0.45,
                            QColor(255, 255, 255, 230));
            if (kind == Eyes::Down) {
                // Shy: lashes at the outer corner and a soft lid line, looking at the ground.
                p.setPen(roundPen(kInk, size * 0.12));
                p.setBrush(Qt::NoBrush);
                p.drawArc(eye.adjusted(-size * 0.08, -size * 0.1, size * 0.08, 0), 30 * 16,
                          120 * 16);
            }
            break;
        }
    }
    p.restore();
}

void drawMouth(QPainter& p, QPointF c, qreal size, Mouth kind) {
    p.save();
    const QPen ink = roundPen(kInk, size * 0.13);
    switch (kind) {
        case Mouth::Smile: {
            p.setPen(ink);
            p.setBrush(Qt::NoBrush);
            QPainterPath m(c + QPointF(-size * 0.5, -size * 0.1));
            m.quadTo(c + QPointF(-size * 0.25, size * 0.25), c + QPointF(0, -size * 0.05));
            m.quadTo(c + QPointF(size * 0.25, size * 0.25), c + QPointF(size * 0.5, -size * 0.1));
            p.drawPath(m);
            break;
        }
        case Mouth::Small: {
            p.setPen(ink);
            p.setBrush(Qt::NoBrush);
            QPainterPath m(c + QPointF(-size * 0.22, 0));
            m.quadTo(c + QPointF(0, size * 0.16), c + QPointF(size * 0.22, 0));
            p.drawPath(m);
            break;
        }
        case Mouth::Wavy: {
            p.setPen(ink);
            p.setBrush(Qt::NoBrush);
            QPainterPath m(c + QPointF(-size * 0.45, 0));
            for (int i = 0; i < 4; ++i) {
                const qreal x0 = -size * 0.45 + i * size * 0.225;
                m.quadTo(c + QPointF(x0 + size * 0.11, (i % 2 ? size * 0.14 : -size * 0.14)),
                         c + QPointF(x0 + size * 0.225, 0));
            }
            p.drawPath(m);
            break;
        }
        case Mouth::Open:
        case Mouth::Grin: {
            const qreal w = kind == Mouth::Grin ? size * 0.55 : size * 0.36;
            QPainterPath m(c + QPointF(-w, -size * 0.08));
            m.quadTo(c + QPointF(0, -size * 0.02), c + QPointF(w, -size * 0.08));
            m.cubicTo(c + QPointF(w * 0.8, size * 0.55), c + QPointF(-w * 0.8, size * 0.55),
                      c + QPointF(-w, -size * 0.08));
            p.setPen(roundPen(kInk, size * 0.1));
            p.setBrush(QColor(150, 40, 50));
            p.drawPath(m);
            p.setClipPath(m);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 120, 130));
            p.drawEllipse(c + QPointF(0, size * 0.38), w * 0.7, size * 0.2);
            break;
        }
        case Mouth::Hidden:
            break;
    }
    p.restore();
}

void drawPaw(QPainter& p, QPointF at, qreal width, QColor edge, QColor paw) {
    p.setPen(roundPen(edge, 1.0));
    p.setBrush(paw);
    p.drawEllipse(at, width * 0.55, width * 0.55);
}

void drawArmStroke(QPainter& p, QPointF from, QPointF to, qreal width, QColor fill, QColor edge,
                   QColor paw, bool withPaw = true) {
    p.setPen(roundPen(edge, width + 1.6));
    p.drawLine(from, to);
    p.setPen(roundPen(fill, width));
    p.drawLine(from, to);
    if (withPaw)
        drawPaw(p, to, width, edge, paw);
}

void drawFoxFigure(QPainter& p, QPointF feet, qreal height, const FoxLook& f) {
    const qreal s = height / 104.0;
    p.save();
    p.translate(feet);
    p.scale(f.mirror ? -s : s, s);
    if (f.shadow) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 20, 30, 45));
        p.drawEllipse(QPointF(4, 0), 32, 4.5);
    }
    p.translate(0, -50);
    p.rotate(f.mirror ? -f.tilt : f.tilt);
    p.translate(0, 50);
    const qreal look = f.mirror ? -f.look : f.look;
    const QPen edge = roundPen(kFurEdge, 1.3);

    // Tail behind everything, curling up beside the body.
    QPainterPath tail(QPointF(8, -12));
    tail.cubicTo(QPointF(36, -8), QPointF(54, -30), QPointF(46, -56));
    tail.cubicTo(QPointF(43, -66), QPointF(32, -68), QPointF(29, -60));
    tail.cubicTo(QPointF(36, -44), QPointF(26, -28), QPointF(8, -28));
    tail.closeSubpath();
    QLinearGradient tailFill(QPointF(10, -12), QPointF(40, -64));
    tailFill.setColorAt(0, kFurDark);
    tailFill.setColorAt(0.6, kFur);
    tailFill.setColorAt(0.74, kFur);
    tailFill.setColorAt(0.8, kCream);
    tailFill.setColorAt(1, kCream);
    p.setPen(edge);
    p.setBrush(tailFill);
    p.drawPath(tail);

    // Legs with dark socks.
    p.setBrush(kPaw);
    p.drawRoundedRect(QRectF(-14, -16, 11, 16), 5, 5);
    p.drawRoundedRect(QRectF(3, -16, 11, 16), 5, 5);

    // Body and belly.
    QLinearGradient bodyFill(QPointF(-18, -46), QPointF(18, -8));
    bodyFill.setColorAt(0, kFur);
    bodyFill.setColorAt(1, kFurDark);
    p.setBrush(bodyFill);
    p.drawEllipse(QPointF(0, -28), 18.5, 20);
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawEllipse(QPointF(0, -25), 11.5, 14);

    // The neckerchief (his own mark) or, in winter, a knitted scarf.
    if (f.winterScarf) {
        p.setPen(roundPen(QColor(150, 20, 40), 1.0));
        p.setBrush(kScarf);
        p.drawRoundedRect(QRectF(-19, -50, 38, 10), 5, 5);
        QPainterPath end(QPointF(6, -42));
        end.lineTo(15, -42);
        end.lineTo(19, -20);
        end.lineTo(10, -20);
        end.closeSubpath();
        p.drawPath(end);
        p.setPen(roundPen(QColor(255, 240, 230), 1.8));
        p.drawLine(QPointF(-12, -49), QPointF(-12, -41));
        p.drawLine(QPointF(0, -49), QPointF(0, -41));
        p.drawLine(QPointF(11.5, -33), QPointF(16.5, -33));
        p.drawLine(QPointF(12.5, -27), QPointF(17.5, -27));
        p.setPen(roundPen(kScarf, 1.2));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(11 + i * 2.5, -20), QPointF(11 + i * 2.5, -17));
    } else {
        p.setPen(roundPen(QColor(30, 120, 120), 1.0));
        p.setBrush(kKerchief);
        QPolygonF cloth({QPointF(-13, -46), QPointF(13, -46), QPointF(0, -33)});
        p.drawPolygon(cloth);
        p.setBrush(QColor(90, 200, 196));
        p.drawEllipse(QPointF(0, -45), 3, 2.4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawEllipse(QPointF(-4, -42), 1.2, 1.2);
        p.drawEllipse(QPointF(3, -39), 1.0, 1.0);
    }

    // Arms and what the paws hold. Items in front of the belly go before the paws; things
    // held out toward someone are drawn after the head, in front of the chin.
    const bool armsInFront = f.arms == FoxArms::Offer || f.arms == FoxArms::Gift;
    const auto drawArms = [&]() {
        const QPointF shoulderL(-14, -38), shoulderR(14, -38);
        auto arm = [&](QPointF from, QPointF to) {
            drawArmStroke(p, from, to, 7.5, kFur, kFurEdge, kPaw);
        };
        switch (f.arms) {
            case FoxArms::Down:
                arm(shoulderL, QPointF(-21, -20));
                arm(shoulderR, QPointF(21, -20));
                break;
            case FoxArms::Wave:
                arm(shoulderL, QPointF(-21, -20));
                arm(shoulderR, QPointF(33, -57));
                break;
            case FoxArms::Cheer:
                arm(shoulderL, QPointF(-33, -56));
                arm(shoulderR, QPointF(33, -56));
                break;
            case FoxArms::Reach:
                arm(shoulderL, QPointF(-21, -20));
                arm(shoulderR, QPointF(34, -30));
                break;
            case FoxArms::Hold:
                if (f.item == FoxItem::Heart)
                    drawGlossyHeart(p, heartBox(QPointF(0, -27), 24), QColor(255, 110, 140),
                                    QColor(220, 20, 60), false);
                arm(shoulderL, QPointF(-9, -27));
                arm(shoulderR, QPointF(9, -27));
                break;
            case FoxArms::Offer: {
                // Held out in front with both paws on its sides.
                const QPointF pawL(-16 + look * 4, -27), pawR(22 + look * 4, -29);
                drawArmStroke(p, shoulderL, pawL, 7.5, kFur, kFurEdge, kPaw, false);
                drawArmStroke(p, shoulderR, pawR, 7.5, kFur, kFurEdge, kPaw, false);
                if (f.item == FoxItem::BigHeart) {
                    const QPointF c(3 + look * 4, -26);
                    drawGlow(p, c, 30, QColor(255, 150, 170, 110));
                    drawGlossyHeart(p, heartBox(c, 34), QColor(255, 110, 140), QColor(215, 20, 60),
                                    false);
                }
                drawPaw(p, pawL, 7.5, kFurEdge, kPaw);
                drawPaw(p, pawR, 7.5, kFurEdge, kPaw);
                break;
            }
            case FoxArms::Gift: {
                // A flower held out in one paw, a sweet in the other.
                const QPointF hand(28, -36);
                drawArmStroke(p, shoulderR, hand, 7.5, kFur, kFurEdge, kPaw, false);
                p.setPen(roundPen(QColor(60, 130, 60), 2));
                p.drawLine(hand, QPointF(42, -60));
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(90, 165, 80));
                p.drawEllipse(QPointF(37, -48), 4.5, 2);
                drawBlossom(p, QPointF(43, -62), 10, QColor(255, 110, 150), 10);
                drawBlossom(p, QPointF(43, -62), 5, QColor(255, 190, 210), 46);
                drawPaw(p, hand, 7.5, kFurEdge, kPaw);
                arm(shoulderL, QPointF(-22, -30));
                drawCandy(p, QPointF(-25, -34), 4.6);
                break;
            }
            case FoxArms::Basket:
                arm(shoulderL, QPointF(-13, -28));
                arm(shoulderR, QPointF(13, -28));
                drawBasket(p, QPointF(0, -26), 34);
                break;
            case FoxArms::Can:
                arm(shoulderL, QPointF(-21, -20));
                drawWateringCan(p, QPointF(34, -26), 30, true);
                arm(shoulderR, QPointF(26, -32));
                break;
        }
    };
    if (!armsInFront)
        drawArms();

    // Ears behind the head.
    for (int side : {-1, 1}) {
        QPainterPath ear(QPointF(side * 8, -82));
        ear.quadTo(QPointF(side * 20, -104), QPointF(side * 30, -103));
        ear.quadTo(QPointF(side * 35, -88), QPointF(side * 28, -70));
        ear.closeSubpath();
        p.setPen(edge);
        p.setBrush(kFur);
        p.drawPath(ear);
        p.setPen(Qt::NoPen);
        QPainterPath inner(QPointF(side * 13, -82));
        inner.quadTo(QPointF(side * 22, -98), QPointF(side * 28, -97));
        inner.quadTo(QPointF(side * 30, -86), QPointF(side * 26, -76));
        inner.closeSubpath();
        p.setBrush(QColor(255, 200, 196));
        p.drawPath(inner);
        QPainterPath tip(QPointF(side * 24, -101.5));
        tip.quadTo(QPointF(side * 29, -103.5), QPointF(side * 30, -103));
        tip.quadTo(QPointF(side * 32, -98), QPointF(side * 32.5, -94));
        tip.closeSubpath();
        p.setBrush(kPaw);
        p.drawPath(tip);
    }

    // Head: wide cheeks that end in soft points, a rounded chin.
    QPainterPath head(QPointF(0, -89));
    head.cubicTo(QPointF(22, -89), QPointF(34, -78), QPointF(37, -62));
    head.cubicTo(QPointF(38, -54), QPointF(22, -42), QPointF(0, -41));
    head.cubicTo(QPointF(-22, -42), QPointF(-38, -54), QPointF(-37, -62));
    head.cubicTo(QPointF(-34, -78), QPointF(-22, -89), QPointF(0, -89));
    QLinearGradient headFill(QPointF(0, -89), QPointF(0, -42));
    headFill.setColorAt(0, kFur.lighter(106));
    headFill.setColorAt(1, kFur);
    p.setPen(edge);
    p.setBrush(headFill);
    p.drawPath(head);
    // The white lower face, with the middle following where he looks.
    const qreal lx = look * 5;
    const qreal ly = -f.lookUp * 3.5;
    QPainterPath mask(QPointF(-36, -60));
    mask.cubicTo(QPointF(-24, -66 + ly), QPointF(-10 + lx, -65 + ly), QPointF(lx, -60 + ly));
    mask.cubicTo(QPointF(10 + lx, -65 + ly), QPointF(24, -66 + ly), QPointF(36, -60));
    mask.cubicTo(QPointF(33, -50), QPointF(18, -42), QPointF(0, -42));
    mask.cubicTo(QPointF(-18, -42), QPointF(-33, -50), QPointF(-36, -60));
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawPath(head.intersected(mask));

    // Face.
    if (f.blush > 0) {
        p.setBrush(QColor(255, 110, 130, qBound(0, qRound(f.blush * 230), 255)));
        p.drawEllipse(QPointF(-24 + lx * 0.5, -55 + ly), 6.5, 3.8);
        p.drawEllipse(QPointF(24 + lx * 0.5, -55 + ly), 6.5, 3.8);
        if (f.blush > 0.75) {
            p.setPen(roundPen(QColor(230, 70, 100, 160), 0.9));
            for (int side : {-1, 1})
                for (int k = -1; k <= 1; ++k)
                    p.drawLine(QPointF(side * 24 + lx * 0.5 + k * 3 - 1, -56.5 + ly),
                               QPointF(side * 24 + lx * 0.5 + k * 3 + 1, -53.5 + ly));
            p.setPen(Qt::NoPen);
        }
    }
    drawEye(p, QPointF(-13 + lx, -67 + ly), 11, f.eyes);
    drawEye(p, QPointF(13 + lx, -67 + ly), 11, f.eyes);
    if (f.eyes == Eyes::Worried) {
        p.setPen(roundPen(kFurEdge, 1.4));
        p.drawLine(QPointF(-18 + lx, -77 + ly), QPointF(-9 + lx, -79 + ly));
        p.drawLine(QPointF(18 + lx, -77 + ly), QPointF(9 + lx, -79 + ly));
        p.setPen(Qt::NoPen);
    }
    p.setBrush(kInk);
    p.drawEllipse(QPointF(lx * 1.2, -57 + ly), 3.3, 2.5);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(lx * 1.2 - 1, -57.8 + ly), 1.1, 0.7);
    drawMouth(p, QPointF(lx * 1.1, -51 + ly * 0.7), 10, f.mouth);
    if (f.sweat) {
        p.setPen(roundPen(QColor(90, 150, 210), 0.9));
        p.setBrush(QColor(170, 220, 255, 230));
        QPainterPath drop(QPointF(30, -86));
        drop.cubicTo(QPointF(34, -80), QPointF(35, -76), QPointF(31, -74.5));
        drop.cubicTo(QPointF(27, -75.5), QPointF(27, -80), QPointF(30, -86));
        p.drawPath(drop);
    }
    if (armsInFront)
        drawArms();
    p.restore();
}

void drawPeachFigure(QPainter& p, QPointF feet, qreal height, const PeachLook& g) {
    const qreal s = height / 104.0;
    p.save();
    p.translate(feet);
    p.scale(g.mirror ? -s : s, s);
    if (g.shadow) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 20, 30, 45));
        p.drawEllipse(QPointF(0, 0), 34, 4.5);
    }
    p.translate(0, -46);
    p.rotate(g.mirror ? -g.tilt : g.tilt);
    p.translate(0, 46);
    const qreal look = g.mirror ? -g.look : g.look;
    const QColor edge(210, 96, 112);
    const QColor skin(255, 186, 178);

    // Tiny feet.
    p.setPen(roundPen(edge, 1.2));
    p.setBrush(QColor(255, 160, 160));
    p.drawEllipse(QPointF(-11, -3.5), 8, 4.5);
    p.drawEllipse(QPointF(11, -3.5), 8, 4.5);

    // Arms that sit behind the body go first.
    // Arms reaching out to the sides grow from behind the body; the ones in front come later.
    auto arm = [&](QPointF from, QPointF to) {
        drawArmStroke(p, from, to, 9.5, skin, edge, skin, false);
    };
    const QPointF downL(-40, -34), downR(40, -34), handDownL(-47, -25), handDownR(47, -25);
    switch (g.arms) {
        case PeachArms::Down:
            arm(downL, handDownL);
            arm(downR, handDownR);
            break;
        case PeachArms::Wave:
            arm(downL, handDownL);
            arm(QPointF(38, -46), QPointF(50, -58));
            break;
        case PeachArms::Cheer:
            arm(QPointF(-38, -46), QPointF(-50, -58));
            arm(QPointF(38, -46), QPointF(50, -58));
            break;
        case PeachArms::ReachLeft:
            arm(QPointF(-38, -36), QPointF(-53, -35));
            arm(downR, handDownR);
            break;
        case PeachArms::ReachRight:
            arm(downL, handDownL);
            arm(QPointF(38, -36), QPointF(53, -35));
            break;
        default:
            break;
    }

    // The round peach body, pointed at the top, rosy on one cheek.
    QPainterPath body(QPointF(0, -91));
    body.cubicTo(QPointF(7, -86), QPointF(42, -88), QPointF(43.5, -53));
    body.cubicTo(QPointF(45, -22), QPointF(24, -6), QPointF(0, -6));
    body.cubicTo(QPointF(-24, -6), QPointF(-45, -22), QPointF(-43.5, -53));
    body.cubicTo(QPointF(-42, -88), QPointF(-7, -86), QPointF(0, -91));
    QRadialGradient fill(QPointF(20, -72), 82);
    fill.setColorAt(0, QColor(255, 118, 140));
    fill.setColorAt(0.45, QColor(255, 168, 172));
    fill.setColorAt(1, QColor(255, 226, 182));
    p.setPen(roundPen(edge, 1.4));
    p.setBrush(fill);
    p.drawPath(body);
    // The seam of the peach and a soft shine.
    p.setPen(roundPen(QColor(226, 100, 124, 150), 1.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath seam(QPointF(0, -89));
    seam.cubicTo(QPointF(9, -80), QPointF(12, -72), QPointF(9, -64));
    p.drawPath(seam);
    p.setPen(Qt::NoPen);
    p.save();
    p.translate(-22, -72);
    p.rotate(-35);
    QRadialGradient shine(QPointF(0, 0), 10);
    shine.setColorAt(0, QColor(255, 255, 255, 190));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawEllipse(QPointF(0, 0), 10, 6);
    p.restore();

    // Stem and leaf on top.
    p.setPen(roundPen(QColor(120, 80, 50), 2.2));
    p.drawLine(QPointF(0, -90), QPointF(-1.5, -97));
    QPainterPath leaf(QPointF(-1, -94));
    leaf.quadTo(QPointF(6, -108), QPointF(24, -105));
    leaf.quadTo(QPointF(14, -92), QPointF(-1, -94));
    QLinearGradient leafFill(QPointF(0, -94), QPointF(24, -105));
    leafFill.setColorAt(0, QColor(80, 170, 80));
    leafFill.setColorAt(1, QColor(150, 215, 100));
    p.setPen(roundPen(QColor(50, 120, 60), 1.0));
    p.setBrush(leafFill);
    p.drawPath(leaf);
    p.setPen(roundPen(QColor(50, 130, 60, 200), 0.8));
    p.drawLine(QPointF(1, -95), QPointF(20, -104));

    // Scarf in winter: wrapped under the face, one end hanging.
    if (g.scarf) {
        p.setPen(roundPen(QColor(150, 20, 40), 1.0));
        p.setBrush(kScarf);
        QPainterPath band(QPointF(-41, -36));
        band.quadTo(QPointF(0, -22), QPointF(41, -36));
        band.lineTo(QPointF(40, -26));
        band.quadTo(QPointF(0, -12), QPointF(-40, -26));
        band.closeSubpath();
        p.drawPath(band);
        QPainterPath end(QPointF(18, -26));
        end.lineTo(28, -28);
        end.lineTo(31, -6);
        end.lineTo(21, -5);
        end.closeSubpath();
        p.drawPath(end);
        p.setPen(roundPen(QColor(255, 240, 230), 1.8));
        for (qreal x : {-26.0, -10.0, 6.0})
            p.drawLine(QPointF(x, -33 + std::abs(x) * 0.18 - 6),
                       QPointF(x, -23 + std::abs(x) * 0.18 - 6));
        p.drawLine(QPointF(22, -16), QPointF(29.5, -17));
        p.drawLine(QPointF(22.8, -10), QPointF(30.2, -11));
        p.setPen(roundPen(kScarf, 1.2));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(22 + i * 2.6, -5), QPointF(22.3 + i * 2.6, -1.5));
    }

    // Face.
    const qreal lx = look * 6;
    const qreal ly = -g.lookUp * 4;
    p.setPen(Qt::NoPen);
    if (g.blush > 0) {
        p.setBrush(QColor(255, 90, 120, qBound(0, qRound(g.blush * 200), 255)));
        p.drawEllipse(QPointF(-22 + lx * 0.6, -41 + ly), 7, 4);
        p.drawEllipse(QPointF(22 + lx * 0.6, -41 + ly), 7, 4);
    }
    drawEye(p, QPointF(-12 + lx, -50 + ly), 9.5, g.eyes);
    drawEye(p, QPointF(12 + lx, -50 + ly), 9.5, g.eyes);
    if (g.eyes == Eyes::Worried) {
        p.setPen(roundPen(edge, 1.3));
        p.drawLine(QPointF(-16 + lx, -60 + ly), QPointF(-8 + lx, -62 + ly));
        p.drawLine(QPointF(16 + lx, -60 + ly), QPointF(8 + lx, -62 + ly));
        p.setPen(Qt::NoPen);
    }
    drawMouth(p, QPointF(lx, -40 + ly), 8.5, g.arms == PeachArms::Cover ? Mouth::Hidden : g.mouth);

    // Arms in front of the body.
    switch (g.arms) {
        case PeachArms::Cover:
            arm(QPointF(-14, -29 + ly), QPointF(-6 + lx, -37 + ly));
            arm(QPointF(14, -29 + ly), QPointF(6 + lx, -37 + ly));
            break;
        case PeachArms::Hug:
            arm(QPointF(-24, -22), QPointF(-13, -25));
            arm(QPointF(24, -22), QPointF(13, -25));
            break;
        case PeachArms::Hold:
            arm(QPointF(-14, -21), QPointF(-8, -23));
            arm(QPointF(14, -21), QPointF(8, -23));
            break;
        default:
            break;
    }
    if (g.shiver) {
        p.setPen(roundPen(QColor(120, 160, 220, 200), 1.6));
        p.setBrush(Qt::NoBrush);
        for (int side : {-1, 1}) {
            for (int k = 0; k < 2; ++k) {
                const qreal x = side * (52 + k * 6);
                QPainterPath wave(QPointF(x, -62));
                wave.quadTo(QPointF(x + side * 3, -56), QPointF(x, -50));
                wave.quadTo(QPointF(x - side * 3, -44), QPointF(x, -38));
                p.drawPath(wave);
            }
        }
    }
    p.restore();
}

// Two hands meeting: a round paw over the little hand, drawn after both figures.
void drawHeldHands(QPainter& p, QPointF at, qreal size) {
    p.save();
    p.setPen(roundPen(QColor(210, 96, 112), size * 0.08));
    p.setBrush(QColor(255, 186, 178));
    p.drawEllipse(at + QPointF(size * 0.25, 0), size * 0.45, size * 0.4);
    p.setPen(roundPen(kFurEdge, size * 0.08));
    p.setBrush(kPaw);
    p.drawEllipse(at + QPointF(-size * 0.15, -size * 0.05), size * 0.45, size * 0.42);
    p.restore();
}

void drawFloatingHearts(QPainter& p, const QRectF& area, int count, QRandomGenerator& rng) {
    for (int i = 0; i < count; ++i) {
        const QPointF c(rnd(rng, area.left(), area.right()), rnd(rng, area.top(), area.bottom()));
        QColor colour = mix(QColor(255, 120, 160), QColor(255, 60, 100), rng.bounded(1.0));
        colour.setAlpha(150 + rng.bounded(100));
        drawFlatHeart(p, c, rnd(rng, 10, 24), colour, rnd(rng, -20, 20));
    }
}

// ---------------------------------------------------------------------------------------------
// Backgrounds. Each fills the whole 960 x 600 picture; `rng` keeps their scatter repeatable.

void bgSpring(QPainter& p, QRandomGenerator& rng, bool bigTree, qreal treeX = 700) {
    fillVertical(
        p, QRectF(0, 0, kW, kH),
        {{0, QColor(140, 200, 250)}, {0.5, QColor(214, 236, 255)}, {0.72, QColor(255, 238, 242)}});
    drawGlow(p, QPointF(130, 90), 170, QColor(255, 255, 235, 200));
    drawCloud(p, QPointF(250, 110), 200, QColor(255, 255, 255, 235));
    drawCloud(p, QPointF(640, 70), 150, QColor(255, 255, 255, 210));
    drawCloud(p, QPointF(860, 150), 120, QColor(255, 255, 255, 190));
    fillLand(p, landPath(350, QPointF(260, 300), QPointF(560, 380), 330), QColor(180, 222, 176),
             QColor(160, 210, 160));
    // Distant blossom trees along the far hill.
    for (int i = 0; i < 12; ++i) {
        const qreal x = 30 + i * 82 + rnd(rng, -20, 20);
        const qreal y = 350 + std::sin(i * 0.9) * 18;
        drawCanopy(p, QPointF(x, y - 10), rnd(rng, 18, 30), QColor(255, 214, 228),
                   QColor(240, 160, 188), rng, 5);
    }
    fillLand(p, landPath(440, QPointF(300, 380), QPointF(620, 420), 390), QColor(150, 212, 110),
             QColor(90, 168, 80));
    drawGrassTufts(p, QRectF(0, 440, kW, 160), 90, QColor(70, 140, 60), rng);
    const QColor flowerColours[] = {QColor(255, 255, 255), QColor(255, 190, 210),
                                    QColor(255, 230, 120)};
    for (int i = 0; i < 60; ++i) {
        const qreal y = rnd(rng, 430, 595);
        drawBlossom(p, QPointF(rnd(rng, 0, kW), y), 2 + (y - 430) / 40,
                    flowerColours[rng.bounded(3)], rnd(rng, 0, 72));
    }
    if (bigTree)
        drawBlossomTree(p, QPointF(treeX, 500), 430, rng);
    drawPetalsInAir(p, QRectF(0, 0, kW, 520), 36, rng);
}

void bgForest(QPainter& p, QRandomGenerator& rng) {
    fillVertical(
        p, QRectF(0, 0, kW, kH),
        {{0, QColor(200, 232, 214)}, {0.6, QColor(240, 246, 222)}, {1, QColor(250, 240, 210)}});
    // Light falling through the leaves.
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        const qreal x = 180 + i * 120;
        QLinearGradient ray(QPointF(x, 0), QPointF(x + 160, 520));
        ray.setColorAt(0, QColor(255, 255, 230, 90));
        ray.setColorAt(1, QColor(255, 255, 230, 0));
        p.setBrush(ray);
        p.drawPolygon(QPolygonF(
            {QPointF(x, 0), QPointF(x + 40, 0), QPointF(x + 230, 520), QPointF(x + 150, 520)}));
    }
    p.restore();
    // Rows of trees fading into the mist.
    const QColor rows[][2] = {{QColor(170, 210, 180), QColor(150, 196, 168)},
                              {QColor(120, 186, 130), QColor(90, 160, 110)},
                              {QColor(90, 165, 95), QColor(60, 130, 80)}};
    for (int row = 0; row < 3; ++row) {
        const qreal base = 330 + row * 40;
        for (int i = 0; i < 8 - row; ++i) {
            const qreal x = (row * 55) + i * (kW / (7.0 - row)) + rnd(rng, -30, 30);
            if (row < 2) {
                drawPine(p, QPointF(x, base), rnd(rng, 170, 230) + row * 30, rows[row][1], false);
            } else {
                drawRoundTree(p, QPointF(x, base + 20), rnd(rng, 220, 260), rows[row][0],
                              rows[row][1], rng, QColor(110, 80, 60));
            }
        }
    }
    fillLand(p, landPath(440, QPointF(300, 420), QPointF(640, 450), 430), QColor(140, 200, 110),
             QColor(90, 160, 80));
    // A sandy path that winds into the wood.
    QPainterPath path(QPointF(380, kH + 5));
    path.cubicTo(QPointF(430, 520), QPointF(560, 500), QPointF(500, 450));
    path.lineTo(QPointF(530, 448));
    path.cubicTo(QPointF(620, 500), QPointF(600, 540), QPointF(620, kH + 5));
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 214, 160));
    p.drawPath(path);
    drawGrassTufts(p, QRectF(0, 450, kW, 150), 80, QColor(60, 130, 60), rng);
    // Mushrooms and a fern at the edges.
    for (const QPointF m : {QPointF(120, 540), QPointF(160, 556), QPointF(830, 548)}) {
        p.setBrush(QColor(250, 240, 220));
        p.drawRoundedRect(QRectF(m.x() - 5, m.y() - 14, 10, 16), 4, 4);
        p.setBrush(QColor(226, 70, 60));
        p.drawChord(QRectF(m.x() - 16, m.y() - 28, 32, 28), 0, 180 * 16);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(m.x() - 6, m.y() - 20), 2.5, 2);
        p.drawEllipse(QPointF(m.x() + 5, m.y() - 22), 2, 1.6);
    }
    // Big trees framing the picture.
    drawRoundTree(p, QPointF(40, 560), 520, QColor(90, 160, 90), QColor(50, 115, 70), rng,
                  QColor(96, 66, 50));
    drawRoundTree(p, QPointF(930, 570), 500, QColor(95, 165, 95), QColor(52, 118, 72), rng,
                  QColor(96, 66, 50));
    drawBokeh(p, QRectF(0, 0, kW, 400), 14, 6, 16, QColor(255, 255, 220, 70), rng);
}

// Dusk: a violet sky warming to peach at the horizon, first stars, a lonely hill.
void bgDusk(QPainter& p, QRandomGenerator& rng, bool dawn = false) {
    if (dawn) {
        fillVertical(p, QRectF(0, 0, kW, kH),
                     {{0, QColor(120, 170, 236)},
                      {0.45, QColor(255, 200, 190)},
                      {0.7, QColor(255, 228, 170)}});
        drawGlow(p, QPointF(300, 420), 300, QColor(255, 240, 190, 220));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 236, 170));
        p.drawEllipse(QPointF(300, 420), 60, 60);
        drawCloud(p, QPointF(620, 150), 220, QColor(255, 236, 236, 220));
        drawCloud(p, QPointF(180, 200), 150, QColor(255, 230, 220, 200));
    } else {
        fillVertical(p, QRectF(0, 0, kW, kH),
                     {{0, QColor(70, 72, 150)},
                      {0.42, QColor(178, 132, 190)},
                      {0.72, QColor(255, 186, 160)}});
        drawStarDots(p, QRectF(0, 0, kW, 220), 90, rng);
        drawCloud(p, QPointF(260, 250), 260, QColor(255, 196, 200, 150));
        drawCloud(p, QPointF(760, 200), 200, QColor(255, 210, 210, 130));
        drawCloud(p, QPointF(520, 320), 170, QColor(255, 220, 200, 120));
    }
    fillLand(p, landPath(470, QPointF(260, 420), QPointF(500, 460), 440),
             dawn ? QColor(170, 200, 150) : QColor(120, 96, 150),
             dawn ? QColor(150, 186, 140) : QColor(100, 80, 130));
    // The hill he sits on, at the right.
    QPainterPath hill(QPointF(300, kH + 5));
    hill.cubicTo(QPointF(420, 470), QPointF(560, 440), QPointF(660, 440));
    hill.cubicTo(QPointF(780, 440), QPointF(900, 470), QPointF(980, 520));
    hill.lineTo(980, kH + 5);
    hill.closeSubpath();
    fillLand(p, hill, dawn ? QColor(130, 196, 110) : QColor(80, 90, 110),
             dawn ? QColor(80, 150, 80) : QColor(50, 56, 80));
    drawGrassTufts(p, QRectF(350, 470, 600, 130), 60,
                   dawn ? QColor(60, 130, 60) : QColor(40, 46, 70), rng);
    if (!dawn) {
        drawGrassTufts(p, QRectF(0, 500, 340, 100), 30, QColor(70, 60, 100), rng);
    }
}

void bgSummerNight(QPainter& p, QRandomGenerator& rng) {
    fillVertical(
        p, QRectF(0, 0, kW, kH),
        {{0, QColor(14, 22, 62)}, {0.5, QColor(36, 48, 110)}, {0.62, QColor(70, 70, 130)}});
    drawStarDots(p, QRectF(0, 0, kW, 300), 160, rng);
    // A thin moon.
    p.setPen(Qt::NoPen);
    drawGlow(p, QPointF(800, 90), 70, QColor(255, 250, 200, 90));
    QPainterPath moon;
    moon.addEllipse(QPointF(800, 90), 30, 30);
    QPainterPath bite;
    bite.addEllipse(QPointF(814, 82), 27, 27);
    p.setBrush(QColor(255, 248, 210));
    p.drawPath(moon.subtracted(bite));
    // Treeline on the far bank.
    p.setBrush(QColor(18, 30, 50));
    QPainterPath trees(QPointF(-10, 340));
    for (int i = 0; i <= 24; ++i) {
        const qreal x = i * 42.0;
        trees.quadTo(QPointF(x + 21, 300 - rnd(rng, 0, 40)),
                     QPointF(x + 42, 340 - rnd(rng, 0, 14)));
    }
    trees.lineTo(kW + 10, 380);
    trees.lineTo(-10, 380);
    p.drawPath(trees);
    // The river with the sky in it.
    QPainterPath river(QPointF(-10, 360));
    river.lineTo(kW + 10, 350);
    river.lineTo(kW + 10, 430);
    river.cubicTo(QPointF(700, 450), QPointF(300, 420), QPointF(-10, 470));
    river.closeSubpath();
    QLinearGradient water(QPointF(0, 350), QPointF(0, 470));
    water.setColorAt(0, QColor(50, 64, 130));
    water.setColorAt(1, QColor(28, 40, 90));
    p.setBrush(water);
    p.drawPath(river);
    p.setBrush(QColor(255, 248, 210, 70));
    for (int i = 0; i < 6; ++i)
        p.drawRoundedRect(QRectF(790 - i * 8, 370 + i * 10, 30 + i * 14, 3), 1.5, 1.5);
    for (int i = 0; i < 30; ++i)
        p.drawRoundedRect(QRectF(rnd(rng, 0, kW), rnd(rng, 365, 440), rnd(rng, 10, 34), 1.6), 0.8,
                          0.8);
    // Our bank, near and dark green.
    fillLand(p, landPath(470, QPointF(300, 430), QPointF(600, 470), 440), QColor(34, 72, 70),
             QColor(18, 40, 46));
    drawGrassTufts(p, QRectF(0, 460, kW, 140), 90, QColor(20, 60, 56), rng);
    // Reeds.
    for (int i = 0; i < 9; ++i) {
        const qreal x = (i < 5 ? 20 + i * 22 : 820 + (i - 5) * 28) + rnd(rng, -6, 6);
        const qreal top = rnd(rng, 330, 390);
        p.setPen(roundPen(QColor(30, 60, 50), 3));
        p.drawLine(QPointF(x, 520), QPointF(x + 6, top));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 60, 50));
        p.drawRoundedRect(QRectF(x + 2, top - 2, 8, 26), 4, 4);
    }
    for (int i = 0; i < 34; ++i)
        drawFirefly(p, QPointF(rnd(rng, 0, kW), rnd(rng, 200, 560)), rnd(rng, 2.0, 3.6));
}

void bgAutumn(QPainter& p, QRandomGenerator& rng) {
    fillVertical(
        p, QRectF(0, 0, kW, kH),
        {{0, QColor(255, 196, 140)}, {0.5, QColor(255, 228, 186)}, {0.7, QColor(255, 238, 210)}});
    drawGlow(p, QPointF(800, 110), 180, QColor(255, 250, 220, 200));
    drawCloud(p, QPointF(300, 120), 200, QColor(255, 244, 230, 200));
    fillLand(p, landPath(380, QPointF(300, 330), QPointF(600, 400), 350), QColor(226, 170, 110),
             QColor(210, 150, 96));
    for (int i = 0; i < 10; ++i) {
        drawCanopy(p, QPointF(40 + i * 98 + rnd(rng, -20, 20), 370 + std::sin(i) * 12),
                   rnd(rng, 20, 34), autumnColour(rng).lighter(115), QColor(190, 96, 50), rng, 5);
    }
    fillLand(p, landPath(450, QPointF(320, 410), QPointF(640, 440), 420), QColor(236, 176, 90),
             QColor(206, 130, 64));
    // Fruit trees at the sides.
    for (const auto& [x, h] : {std::pair<qreal, qreal>{110, 440}, {870, 470}}) {
        drawRoundTree(p, QPointF(x, 500), h, QColor(252, 170, 70), QColor(214, 96, 40), rng,
                      QColor(110, 70, 50));
        for (int k = 0; k < 9; ++k) {
            const QPointF f(x + rnd(rng, -h * 0.3, h * 0.3),
                            500 - h * 0.7 + rnd(rng, -h * 0.16, h * 0.2));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(216, 40, 50));
            p.drawEllipse(f, 8, 7.5);
            p.setBrush(QColor(255, 170, 150));
            p.drawEllipse(f + QPointF(-2.5, -2.5), 2.2, 2);
        }
    }
    for (int i = 0; i < 120; ++i) {
        const qreal y = rnd(rng, 450, 598);
        drawLeaf(p, QPointF(rnd(rng, 0, kW), y), 3 + (y - 450) / 30, rnd(rng, 0, 360),
                 autumnColour(rng));
    }
    for (int i = 0; i < 26; ++i)
        drawLeaf(p, QPointF(rnd(rng, 0, kW), rnd(rng, 20, 440)), rnd(rng, 5, 10), rnd(rng, 0, 360),
                 autumnColour(rng));
}

void bgWinter(QPainter& p, QRandomGenerator& rng, int snow) {
    fillVertical(
        p, QRectF(0, 0, kW, kH),
        {{0, QColor(160, 180, 214)}, {0.55, QColor(214, 222, 240)}, {0.75, QColor(236, 238, 248)}});
    fillLand(p, landPath(370, QPointF(300, 330), QPointF(620, 390), 340), QColor(236, 242, 252),
             QColor(220, 230, 246));
    for (int i = 0; i < 9; ++i)
        drawPine(p, QPointF(60 + i * 110 + rnd(rng, -20, 20), 372 + std::sin(i * 1.3) * 10),
                 rnd(rng, 70, 110), QColor(80, 120, 120), true);
    fillLand(p, landPath(450, QPointF(300, 420), QPointF(640, 460), 430), QColor(252, 253, 255),
             QColor(226, 234, 248));
    // Soft blue shadows in the snow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(180, 196, 230, 70));
    p.drawEllipse(QPointF(200, 540), 180, 18);
    p.drawEllipse(QPointF(760, 520), 220, 16);
    drawPine(p, QPointF(80, 520), 320, QColor(60, 110, 110), true);
    drawPine(p, QPointF(900, 530), 300, QColor(60, 110, 110), true);
    drawSnowfall(p, QRectF(0, 0, kW, kH), snow, rng);
}

void bgMoonNight(QPainter& p, QRandomGenerator& rng, bool smiling) {
    fillVertical(p, QRectF(0, 0, kW, kH),
                 {{0, QColor(18, 22, 70)}, {0.6, QColor(58, 50, 124)}, {1, QColor(110, 80, 150)}});
    drawStarDots(p, QRectF(0, 0, kW, 420), 180, rng);
    drawMoon(p, QPointF(660, 190), 112, smiling);
    if (smiling) {
        for (const QPointF s : {QPointF(420, 90), QPointF(880, 90), QPointF(500, 250),
                                QPointF(860, 330), QPointF(260, 170)})
            drawSmilingStar(p, s, 17);
    }
    // A hilltop for the little fox, lower left.
    QPainterPath hill(QPointF(-10, 440));
    hill.cubicTo(QPointF(160, 420), QPointF(380, 450), QPointF(520, 540));
    hill.cubicTo(QPointF(600, 580), QPointF(640, 600), QPointF(660, kH + 5));
    hill.lineTo(-10, kH + 5);
    hill.closeSubpath();
    fillLand(p, landPath(520, QPointF(400, 500), QPointF(700, 520), 500), QColor(40, 40, 90),
             QColor(30, 30, 70));
    fillLand(p, hill, QColor(36, 46, 92), QColor(22, 28, 60));
    drawGrassTufts(p, QRectF(0, 440, 520, 160), 50, QColor(20, 30, 60), rng);
}

void bgSunset(QPainter& p, QRandomGenerator& rng, bool heartField) {
    fillVertical(p, QRectF(0, 0, kW, kH),
                 {{0, QColor(120, 86, 170)},
                  {0.32, QColor(250, 130, 140)},
                  {0.56, QColor(255, 190, 120)},
                  {0.7, QColor(255, 226, 160)}});
    drawGlow(p, QPointF(480, 360), 360, QColor(255, 236, 170, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 190));
    p.drawEllipse(QPointF(480, 360), 62, 62);
    drawCloud(p, QPointF(180, 150), 240, QColor(255, 170, 160, 170));
    drawCloud(p, QPointF(760, 110), 280, QColor(255, 160, 170, 160));
    drawCloud(p, QPointF(600, 250), 160, QColor(255, 200, 170, 150));
    fillLand(p, landPath(400, QPointF(300, 360), QPointF(600, 420), 380), QColor(190, 110, 130),
             QColor(170, 96, 120));
    fillLand(p, landPath(440, QPointF(300, 400), QPointF(640, 440), 420), QColor(246, 190, 110),
             QColor(214, 130, 96));
    if (heartField) {
        // The flower heart lies on the slope below, seen at an angle.
        drawFlowerHeart(p, QPointF(480, 505), 360, 0.36, 9, rng);
    }
    drawGrassTufts(p, QRectF(0, 440, kW, 160), 80, QColor(176, 110, 60), rng);
    for (int i = 0; i < 40; ++i) {
        const qreal y = rnd(rng, 440, 598);
        drawBlossom(p, QPointF(rnd(rng, 0, kW), y), 2 + (y - 440) / 45,
                    rng.bounded(2) ? QColor(255, 120, 150) : QColor(255, 220, 140),
                    rnd(rng, 0, 72));
    }
}

void bgPinkDream(QPainter& p, QRandomGenerator& rng, bool night) {
    if (night) {
        fillVertical(
            p, QRectF(0, 0, kW, kH),
            {{0, QColor(60, 30, 90)}, {0.6, QColor(150, 60, 120)}, {1, QColor(230, 110, 150)}});
        drawStarDots(p, QRectF(0, 0, kW, 380), 150, rng);
    } else {
        fillVertical(
            p, QRectF(0, 0, kW, kH),
            {{0, QColor(255, 200, 222)}, {0.6, QColor(255, 228, 236)}, {1, QColor(255, 242, 236)}});
    }
    drawBokeh(p, QRectF(0, 0, kW, kH), 22, 14, 46,
              night ? QColor(255, 160, 200, 90) : QColor(255, 255, 255, 150), rng);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 16; ++i) {
        QColor c = night ? QColor(255, 150, 190, 110) : QColor(255, 130, 170, 90);
        drawFlatHeart(p, QPointF(rnd(rng, 0, kW), rnd(rng, 0, kH * 0.75)), rnd(rng, 14, 34), c,
                      rnd(rng, -25, 25));
    }
    // Blossom branches reaching in from the top corners.
    for (int side : {0, 1}) {
        const qreal x0 = side ? kW + 10 : -10;
        const qreal dir = side ? -1 : 1;
        p.setPen(roundPen(QColor(120, 72, 66), 9));
        p.setBrush(Qt::NoBrush);
        QPainterPath branch(QPointF(x0, 40));
        branch.cubicTo(QPointF(x0 + dir * 90, 50), QPointF(x0 + dir * 150, 30),
                       QPointF(x0 + dir * 230, 70));
        p.drawPath(branch);
        p.setPen(roundPen(QColor(120, 72, 66), 5));
        p.drawLine(QPointF(x0 + dir * 110, 45), QPointF(x0 + dir * 170, 110));
        for (int k = 0; k < 14; ++k) {
            const QPointF c(x0 + dir * rnd(rng, 30, 240), rnd(rng, 20, 120));
            drawBlossom(p, c, rnd(rng, 9, 15),
                        k % 3 ? QColor(255, 170, 196) : QColor(255, 250, 252), rnd(rng, 0, 72));
        }
    }
}

// Seen from the sky: a green hillside, trees as round crowns, the flower heart in the middle.
void bgHeartFromAbove(QPainter& p, QRandomGenerator& rng) {
    fillVertical(p, QRectF(0, 0, kW, kH), {{0, QColor(130, 196, 100)}, {1, QColor(100, 176, 90)}});
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 900; ++i) {
        const QColor c = rng.bounded(2) ? QColor(90, 160, 70, 90) : QColor(170, 220, 120, 90);
        p.setBrush(c);
        p.drawEllipse(QPointF(rnd(rng, 0, kW), rnd(rng, 0, kH)), rnd(rng, 2, 6), rnd(rng, 1, 3));
    }
    // A path crossing the hill.
    p.setPen(roundPen(QColor(230, 210, 160), 26));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(QPointF(-20, 520));
    path.cubicTo(QPointF(200, 470), QPointF(260, 600), QPointF(420, 640));
    p.drawPath(path);
    QPainterPath path2(QPointF(980, 80));
    path2.cubicTo(QPointF(860, 140), QPointF(900, 260), QPointF(800, 330));
    p.drawPath(path2);
    // Tree crowns with their shadows.
    for (const QPointF t :
         {QPointF(90, 100), QPointF(160, 60), QPointF(60, 260), QPointF(880, 420),
          QPointF(840, 520), QPointF(920, 560), QPointF(760, 60), QPointF(130, 420)}) {
        const qreal r = rnd(rng, 34, 50);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 70, 30, 80));
        p.drawEllipse(t + QPointF(14, 12), r, r);
        drawCanopy(p, t, r, QColor(110, 186, 90), QColor(50, 120, 60), rng, 6);
    }
    drawFlowerHeart(p, QPointF(480, 300), 470, 1.0, 10, rng);
    // Two tiny figures at the tip of the heart: a red dot with a tail and a pink dot.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 20, 20, 60));
    p.drawEllipse(QPointF(472, 540), 11, 11);
    p.drawEllipse(QPointF(500, 540), 10, 10);
    p.setBrush(kFur);
    p.drawEllipse(QPointF(470, 536), 9, 9);
    p.drawEllipse(QPointF(462, 548), 5, 3);
    p.setBrush(QColor(255, 160, 170));
    p.drawEllipse(QPointF(496, 536), 9, 9);
    p.setBrush(QColor(90, 170, 80));
    p.drawEllipse(QPointF(499, 528), 4, 2);
}

void bgBook(QPainter& p, QRandomGenerator& rng) {
    fillVertical(p, QRectF(0, 0, kW, kH), {{0, QColor(70, 44, 50)}, {1, QColor(40, 26, 32)}});
    drawGlow(p, QPointF(480, 240), 480, QColor(255, 200, 140, 120));
    // A wooden table.
    QPainterPath table(QPointF(-10, 360));
    table.lineTo(kW + 10, 360);
    table.lineTo(kW + 10, kH + 5);
    table.lineTo(-10, kH + 5);
    table.closeSubpath();
    fillLand(p, table, QColor(160, 100, 70), QColor(110, 64, 44));
    p.setPen(roundPen(QColor(120, 74, 50, 120), 2));
    for (int i = 0; i < 8; ++i)
        p.drawLine(QPointF(-10, 380 + i * 30 + rnd(rng, -4, 4)),
                   QPointF(kW + 10, 384 + i * 30 + rnd(rng, -4, 4)));
    drawBokeh(p, QRectF(0, 0, kW, 320), 16, 10, 30, QColor(255, 210, 150, 80), rng);
}

// ---------------------------------------------------------------------------------------------
// Scenes

using Draw = std::function<void(QPainter&)>;

QImage paint(int width, int height, const Draw& draw) {
    QImage image = canvas(width, height, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    draw(p);
    return image;
}

// Slides are drawn on the 960 x 600 stage and written a little larger, to stay sharp on the
// dense screens of phones.
constexpr int kOutW = 1152;
constexpr int kOutH = 720;

QImage scene(const Draw& draw) {
    return paint(kOutW, kOutH, [&draw](QPainter& p) {
        p.scale(qreal(kOutW) / kW, qreal(kOutH) / kH);
        draw(p);
    });
}

// A background drawn soft, for close-ups: painted small, blurred, scaled up.
void softBackground(QPainter& p, const Draw& background, int radius = 5) {
    QImage small = paint(kW / 2, kH / 2, [&](QPainter& q) {
        q.scale(0.5, 0.5);
        background(q);
    });
    small = blurred(small, radius);
    p.drawImage(QRectF(0, 0, kW, kH), small);
}

// A thought cloud above and to the side of a head, with the little bubbles leading to it.
void drawThoughtCloud(QPainter& p, const QRectF& box, QPointF from) {
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    const QPointF c = box.center();
    const qreal rx = box.width() / 2;
    const qreal ry = box.height() / 2;
    for (int i = 0; i < 10; ++i) {
        const qreal a = i * 2 * M_PI / 10;
        cloud.addEllipse(c + QPointF(std::cos(a) * rx * 0.78, std::sin(a) * ry * 0.72), rx * 0.3,
                         ry * 0.36);
    }
    cloud.addEllipse(c, rx * 0.82, ry * 0.78);
    p.save();
    p.setPen(roundPen(QColor(230, 180, 200), 3));
    p.setBrush(QColor(255, 255, 255, 245));
    p.drawPath(cloud.simplified());
    const QPointF toward =
        QPointF(box.left() + box.width() * 0.2, box.bottom() - box.height() * 0.05);
    for (int i = 0; i < 3; ++i) {
        const qreal t = (i + 1) / 4.0;
        const QPointF at = from + (toward - from) * t;
        p.drawEllipse(at, 5 + i * 4, 5 + i * 4);
    }
    p.restore();
}

QImage cover() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(701);
        bgPinkDream(p, rng, false);
        drawGlow(p, QPointF(480, 200), 150, QColor(255, 255, 255, 200));
        drawGlossyHeart(p, heartBox(QPointF(480, 190), 150), QColor(255, 130, 160),
                        QColor(226, 30, 70));
        drawSparkle(p, QPointF(395, 130), 12, Qt::white);
        drawSparkle(p, QPointF(570, 250), 9, Qt::white);
        fillLand(p, landPath(520, QPointF(300, 500), QPointF(640, 510), 520), QColor(170, 220, 140),
                 QColor(120, 190, 110));
        drawGrassTufts(p, QRectF(0, 520, kW, 80), 50, QColor(80, 150, 70), rng);
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.blush = 0.7;
        fox.look = 0.6;
        fox.arms = FoxArms::Reach;
        drawFoxFigure(p, QPointF(385, 560), 270, fox);
        PeachLook peach;
        peach.eyes = Eyes::Happy;
        peach.blush = 0.8;
        peach.look = -0.5;
        peach.arms = PeachArms::ReachLeft;
        drawPeachFigure(p, QPointF(585, 560), 220, peach);
        drawHeldHands(p, QPointF(482, 490), 16);
        drawPetalsInAir(p, QRectF(0, 150, kW, 400), 24, rng);
    });
}

QImage forest() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(702);
        bgForest(p, rng);
        FoxLook fox;
        fox.look = -0.3;
        fox.blush = 0.3;
        drawFoxFigure(p, QPointF(520, 520), 170, fox);
        // A butterfly keeping him company.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 220, 120));
        p.drawEllipse(QPointF(620, 330), 9, 6);
        p.drawEllipse(QPointF(634, 326), 8, 6);
        p.setBrush(QColor(90, 60, 40));
        p.drawRoundedRect(QRectF(625, 322, 3, 12), 1.5, 1.5);
    });
}

QImage foxHello() {
    return scene([](QPainter& p) {
        softBackground(p, [](QPainter& q) {
            QRandomGenerator rng(702);
            bgForest(q, rng);
        });
        QRandomGenerator rng(703);
        drawBokeh(p, QRectF(0, 0, kW, kH), 20, 10, 30, QColor(255, 255, 230, 90), rng);
        FoxLook fox;
        fox.arms = FoxArms::Wave;
        fox.eyes = Eyes::Sparkle;
        fox.mouth = Mouth::Grin;
        fox.blush = 0.5;
        fox.shadow = false;
        drawFoxFigure(p, QPointF(470, 700), 560, fox);
    });
}

QImage aloneAtDusk() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(704);
        bgDusk(p, rng);
        FoxLook fox;
        fox.eyes = Eyes::Up;
        fox.lookUp = 1;
        fox.look = -0.4;
        fox.blush = 0.2;
        fox.mouth = Mouth::Small;
        fox.mirror = true;
        drawFoxFigure(p, QPointF(660, 468), 190, fox);
    });
}

QImage springHill() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(705);
        bgSpring(p, rng, true, 640);
        QRandomGenerator trees(715);
        drawBlossomTree(p, QPointF(150, 470), 300, trees);
        FoxLook fox;
        fox.eyes = Eyes::Sparkle;
        fox.mouth = Mouth::Open;
        fox.look = 0.7;
        fox.lookUp = 0.6;
        drawFoxFigure(p, QPointF(330, 540), 120, fox);
        QRandomGenerator air(725);
        drawPetalsInAir(p, QRectF(0, 0, kW, kH), 30, air);
    });
}

QImage peachUnderTree() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(706);
        bgSpring(p, rng, true, 640);
        PeachLook peach;
        peach.look = -0.4;
        peach.blush = 0.6;
        drawPeachFigure(p, QPointF(620, 540), 190, peach);
        // The little fox peeks out from behind a bush.
        FoxLook fox;
        fox.eyes = Eyes::Sparkle;
        fox.look = 0.8;
        fox.blush = 0.6;
        fox.mouth = Mouth::Small;
        fox.shadow = false;
        drawFoxFigure(p, QPointF(215, 560), 200, fox);
        QRandomGenerator bush(716);
        drawCanopy(p, QPointF(190, 600), 110, QColor(130, 200, 100), QColor(70, 150, 70), bush, 9);
        for (int i = 0; i < 8; ++i)
            drawBlossom(p, QPointF(rnd(bush, 100, 280), rnd(bush, 540, 595)), 7,
                        QColor(255, 255, 255), rnd(bush, 0, 72));
        QRandomGenerator air(726);
        drawPetalsInAir(p, QRectF(400, 100, 560, 400), 14, air);
    });
}

QImage peachSmile() {
    return scene([](QPainter& p) {
        softBackground(p, [](QPainter& q) {
            QRandomGenerator rng(706);
            bgSpring(q, rng, true, 480);
        });
        QRandomGenerator rng(707);
        drawPetalsInAir(p, QRectF(0, 0, kW, kH), 40, rng);
        PeachLook peach;
        peach.eyes = Eyes::Happy;
        peach.mouth = Mouth::Grin;
        peach.blush = 0.8;
        peach.arms = PeachArms::Wave;
        peach.tilt = -4;
        peach.shadow = false;
        drawPeachFigure(p, QPointF(480, 690), 620, peach);
        drawSparkle(p, QPointF(250, 170), 16, Qt::white);
        drawSparkle(p, QPointF(720, 130), 12, Qt::white);
    });
}

void heartbeatMarks(QPainter& p, QPointF c, qreal r) {
    p.save();
    p.setPen(roundPen(QColor(255, 255, 255, 230), r * 0.08));
    p.setBrush(Qt::NoBrush);
    for (int side : {-1, 1}) {
        for (int k = 0; k < 2; ++k) {
            const qreal d = r * (0.85 + k * 0.28);
            p.drawArc(QRectF(c.x() - d, c.y() - d, 2 * d, 2 * d), (side < 0 ? 150 : -30) * 16,
                      60 * 16);
        }
    }
    p.restore();
}

QImage foxHeartbeat() {
    return scene([](QPainter& p) {
        softBackground(p, [](QPainter& q) {
            QRandomGenerator rng(706);
            bgSpring(q, rng, true, 300);
        });
        QRandomGenerator rng(708);
        drawPetalsInAir(p, QRectF(0, 0, kW, kH), 26, rng);
        FoxLook fox;
        fox.eyes = Eyes::Sparkle;
        fox.mouth = Mouth::Small;
        fox.blush = 1.0;
        fox.look = 0.35;
        fox.shadow = false;
        fox.arms = FoxArms::Hold;
        drawFoxFigure(p, QPointF(380, 700), 560, fox);
        drawGlow(p, QPointF(760, 250), 130, QColor(255, 180, 200, 160));
        drawGlossyHeart(p, heartBox(QPointF(760, 250), 150), QColor(255, 110, 140),
                        QColor(220, 20, 60));
        heartbeatMarks(p, QPointF(760, 250), 110);
    });
}

QImage foxNervous() {
    return scene([](QPainter& p) {
        softBackground(p, [](QPainter& q) {
            QRandomGenerator rng(706);
            bgSpring(q, rng, true, 700);
        });
        QRandomGenerator rng(709);
        FoxLook fox;
        fox.eyes = Eyes::Worried;
        fox.mouth = Mouth::Wavy;
        fox.blush = 0.95;
        fox.sweat = true;
        fox.look = 0.2;
        fox.arms = FoxArms::Hold;
        fox.shadow = false;
        drawFoxFigure(p, QPointF(360, 700), 560, fox);
        // Far off under the tree, she waits.
        PeachLook peach;
        peach.look = -0.6;
        peach.arms = PeachArms::Wave;
        drawPeachFigure(p, QPointF(760, 470), 120, peach);
        drawFloatingHearts(p, QRectF(560, 80, 300, 200), 5, rng);
    });
}

QImage meeting() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(710);
        bgSpring(p, rng, true, 480);
        FoxLook fox;
        fox.eyes = Eyes::Down;
        fox.blush = 0.9;
        fox.look = 0.5;
        fox.mouth = Mouth::Small;
        fox.arms = FoxArms::Hold;
        drawFoxFigure(p, QPointF(330, 550), 230, fox);
        PeachLook peach;
        peach.look = -0.6;
        peach.mouth = Mouth::Open;
        peach.arms = PeachArms::Wave;
        peach.blush = 0.5;
        drawPeachFigure(p, QPointF(620, 550), 190, peach);
    });
}

QImage gift() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(711);
        bgSpring(p, rng, true, 560);
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.blush = 0.7;
        fox.look = 0.6;
        fox.arms = FoxArms::Gift;
        drawFoxFigure(p, QPointF(350, 550), 240, fox);
        PeachLook peach;
        peach.eyes = Eyes::Sparkle;
        peach.look = -0.6;
        peach.mouth = Mouth::Open;
        peach.arms = PeachArms::Hold;
        peach.blush = 0.7;
        drawPeachFigure(p, QPointF(640, 550), 190, peach);
        drawSparkle(p, QPointF(470, 330), 10, Qt::white);
    });
}

QImage thought() {
    return scene([](QPainter& p) {
        softBackground(p, [](QPainter& q) {
            QRandomGenerator rng(711);
            bgSpring(q, rng, true, 800);
        });
        FoxLook fox;
        fox.eyes = Eyes::Closed;
        fox.blush = 0.85;
        fox.look = 0.4;
        fox.lookUp = 0.4;
        fox.arms = FoxArms::Hold;
        fox.item = FoxItem::Heart;
        drawFoxFigure(p, QPointF(240, 580), 400, fox);
        drawThoughtCloud(p, QRectF(470, 40, 440, 330), QPointF(380, 280));
        PeachLook peach;
        peach.eyes = Eyes::Happy;
        peach.mouth = Mouth::Grin;
        peach.arms = PeachArms::Cheer;
        peach.blush = 0.8;
        drawPeachFigure(p, QPointF(690, 315), 200, peach);
        QRandomGenerator rng(712);
        drawFloatingHearts(p, QRectF(530, 80, 330, 120), 5, rng);
    });
}

QImage summerNight() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(713);
        bgSummerNight(p, rng);
        // Warm light from the fireflies on their faces.
        drawGlow(p, QPointF(480, 430), 220, QColor(230, 255, 150, 50));
        FoxLook fox;
        fox.eyes = Eyes::Sparkle;
        fox.lookUp = 0.8;
        fox.look = 0.4;
        fox.mouth = Mouth::Open;
        fox.arms = FoxArms::Cheer;
        fox.blush = 0.5;
        drawFoxFigure(p, QPointF(390, 540), 200, fox);
        PeachLook peach;
        peach.eyes = Eyes::Happy;
        peach.lookUp = 0.8;
        peach.look = -0.2;
        peach.mouth = Mouth::Grin;
        peach.arms = PeachArms::Cheer;
        drawPeachFigure(p, QPointF(600, 545), 160, peach);
        for (const QPointF f : {QPointF(350, 300), QPointF(480, 260), QPointF(640, 320),
                                QPointF(560, 220), QPointF(420, 350)})
            drawFirefly(p, f, 3.6);
    });
}

QImage autumn() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(714);
        bgAutumn(p, rng);
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.look = 0.6;
        fox.blush = 0.6;
        fox.arms = FoxArms::Basket;
        drawFoxFigure(p, QPointF(390, 545), 230, fox);
        PeachLook peach;
        peach.eyes = Eyes::Sparkle;
        peach.mouth = Mouth::Open;
        peach.look = -0.6;
        peach.arms = PeachArms::Hold;
        peach.blush = 0.7;
        drawPeachFigure(p, QPointF(630, 545), 185, peach);
        QRandomGenerator air(724);
        for (int i = 0; i < 14; ++i)
            drawLeaf(p, QPointF(rnd(air, 0, kW), rnd(air, 0, 500)), rnd(air, 7, 12),
                     rnd(air, 0, 360), autumnColour(air));
    });
}

QImage autumnRoll() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(715);
        bgAutumn(p, rng);
        // A heap of leaves he tumbles in.
        QRandomGenerator heap(735);
        for (int i = 0; i < 260; ++i) {
            const qreal a = rnd(heap, M_PI, 2 * M_PI);
            const qreal d = std::sqrt(heap.bounded(1.0));
            drawLeaf(p, QPointF(430 + std::cos(a) * d * 230, 560 + std::sin(a) * d * 90),
                     rnd(heap, 7, 13), rnd(heap, 0, 360), autumnColour(heap));
        }
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.mouth = Mouth::Grin;
        fox.blush = 0.7;
        fox.arms = FoxArms::Cheer;
        fox.tilt = -120;
        fox.shadow = false;
        drawFoxFigure(p, QPointF(440, 540), 200, fox);
        for (int i = 0; i < 30; ++i) {
            const qreal a = rnd(heap, 0, 2 * M_PI);
            const qreal d = rnd(heap, 120, 220);
            drawLeaf(p, QPointF(440 + std::cos(a) * d, 440 + std::sin(a) * d * 0.6),
                     rnd(heap, 7, 12), rnd(heap, 0, 360), autumnColour(heap));
        }
        // Motion arcs of the roll.
        p.setPen(roundPen(QColor(255, 255, 255, 200), 4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(310, 320, 260, 220), 40 * 16, 100 * 16);
        p.drawArc(QRectF(290, 300, 300, 260), 50 * 16, 80 * 16);
        PeachLook peach;
        peach.eyes = Eyes::Happy;
        peach.mouth = Mouth::Grin;
        peach.look = -0.6;
        peach.arms = PeachArms::Cover;
        peach.blush = 0.7;
        drawPeachFigure(p, QPointF(760, 545), 170, peach);
    });
}

QImage winterCold() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(716);
        bgWinter(p, rng, 260);
        FoxLook fox;
        fox.eyes = Eyes::Worried;
        fox.mouth = Mouth::Small;
        fox.look = 0.7;
        fox.winterScarf = true;
        fox.blush = 0.4;
        drawFoxFigure(p, QPointF(350, 540), 230, fox);
        PeachLook peach;
        peach.eyes = Eyes::Closed;
        peach.mouth = Mouth::Wavy;
        peach.arms = PeachArms::Hug;
        peach.shiver = true;
        peach.blush = 0.3;
        peach.tilt = 3;
        drawPeachFigure(p, QPointF(610, 545), 170, peach);
        QRandomGenerator snow(736);
        drawSnowfall(p, QRectF(0, 0, kW, kH), 80, snow);
    });
}

QImage winterScarf() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(717);
        bgWinter(p, rng, 160);
        drawGlow(p, QPointF(480, 420), 260, QColor(255, 220, 200, 90));
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.look = 0.6;
        fox.blush = 0.7;
        fox.arms = FoxArms::Reach;
        drawFoxFigure(p, QPointF(360, 545), 230, fox);
        PeachLook peach;
        peach.eyes = Eyes::Down;
        peach.mouth = Mouth::Small;
        peach.look = -0.5;
        peach.scarf = true;
        peach.blush = 1.0;
        peach.arms = PeachArms::Hold;
        drawPeachFigure(p, QPointF(600, 545), 180, peach);
        QRandomGenerator air(737);
        drawFloatingHearts(p, QRectF(520, 250, 200, 80), 3, air);
    });
}

// Four little windows, one per season, the two of them in each.
QImage seasons() {
    return scene([](QPainter& p) {
        p.fillRect(QRectF(0, 0, kW, kH), QColor(255, 244, 240));
        const std::function<void(QPainter&)> panels[4] = {[](QPainter& q) {
                                                              QRandomGenerator rng(740);
                                                              bgSpring(q, rng, true, 700);
                                                          },
                                                          [](QPainter& q) {
                                                              QRandomGenerator rng(741);
                                                              bgSummerNight(q, rng);
                                                          },
                                                          [](QPainter& q) {
                                                              QRandomGenerator rng(742);
                                                              bgAutumn(q, rng);
                                                          },
                                                          [](QPainter& q) {
                                                              QRandomGenerator rng(743);
                                                              bgWinter(q, rng, 200);
                                                          }};
        for (int i = 0; i < 4; ++i) {
            const QRectF cell(16 + (i % 2) * 472, 16 + (i / 2) * 292, 456, 276);
            p.save();
            QPainterPath clip;
            clip.addRoundedRect(cell, 14, 14);
            p.setClipPath(clip);
            p.translate(cell.topLeft());
            p.scale(cell.width() / kW, cell.height() / kH);
            panels[i](p);
            FoxLook fox;
            fox.eyes = Eyes::Happy;
            fox.look = 0.5;
            fox.blush = 0.6;
            fox.winterScarf = i == 3;
            fox.arms = FoxArms::Reach;
            drawFoxFigure(p, QPointF(400, 550), 240, fox);
            PeachLook peach;
            peach.eyes = Eyes::Happy;
            peach.look = -0.5;
            peach.arms = PeachArms::ReachLeft;
            peach.scarf = i == 3;
            drawPeachFigure(p, QPointF(600, 550), 190, peach);
            drawHeldHands(p, QPointF(498, 485), 14);
            p.restore();
        }
    });
}

QImage pensive() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(718);
        bgDusk(p, rng);
        // Far away, the peach tree.
        QRandomGenerator tree(738);
        drawBlossomTree(p, QPointF(180, 470), 150, tree);
        PeachLook peach;
        peach.look = 0.5;
        drawPeachFigure(p, QPointF(230, 478), 40, peach);
        FoxLook fox;
        fox.eyes = Eyes::Down;
        fox.mouth = Mouth::Small;
        fox.look = -0.6;
        fox.blush = 0.7;
        fox.arms = FoxArms::Hold;
        fox.item = FoxItem::Heart;
        fox.mirror = true;
        drawFoxFigure(p, QPointF(660, 470), 190, fox);
    });
}

QImage moonPractice() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(719);
        bgMoonNight(p, rng, true);
        FoxLook fox;
        fox.eyes = Eyes::Closed;
        fox.mouth = Mouth::Open;
        fox.look = 0.6;
        fox.lookUp = 0.7;
        fox.blush = 0.95;
        fox.arms = FoxArms::Offer;
        fox.item = FoxItem::BigHeart;
        drawFoxFigure(p, QPointF(260, 470), 200, fox);
    });
}

QImage dawnResolve() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(720);
        bgDusk(p, rng, true);
        FoxLook fox;
        fox.eyes = Eyes::Sparkle;
        fox.mouth = Mouth::Grin;
        fox.look = -0.2;
        fox.lookUp = 0.3;
        fox.arms = FoxArms::Wave;
        fox.blush = 0.5;
        drawFoxFigure(p, QPointF(660, 450), 210, fox);
        drawSparkle(p, QPointF(740, 270), 14, QColor(255, 255, 255));
        drawSparkle(p, QPointF(560, 300), 10, QColor(255, 255, 255));
    });
}

QImage planting() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(721);
        bgSpring(p, rng, false);
        // Rows of fresh flowers, red and pink, climbing the slope.
        for (int row = 0; row < 5; ++row) {
            const qreal y = 450 + row * 32;
            for (int i = 0; i < 16; ++i) {
                const qreal x = 40 + i * 60 + (row % 2) * 30;
                if (row < 2 && x > 600)
                    continue;  // he has not got this far yet
                drawFlower(p, QPointF(x, y), 5 + row * 1.4,
                           (i + row) % 2 ? QColor(230, 40, 70) : QColor(255, 140, 180));
            }
        }
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.mouth = Mouth::Grin;
        fox.look = 0.6;
        fox.sweat = true;
        fox.arms = FoxArms::Can;
        fox.blush = 0.5;
        drawFoxFigure(p, QPointF(680, 500), 190, fox);
        // The sun moving along: a whole day.
        drawGlow(p, QPointF(860, 90), 90, QColor(255, 240, 160, 200));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 226, 120));
        p.drawEllipse(QPointF(860, 90), 36, 36);
    });
}

QImage flowerCloseUp() {
    return scene([](QPainter& p) {
        softBackground(
            p,
            [](QPainter& q) {
                QRandomGenerator rng(722);
                bgSpring(q, rng, false);
            },
            6);
        QRandomGenerator rng(742);
        drawBokeh(p, QRectF(0, 0, kW, kH), 24, 10, 40, QColor(255, 200, 220, 110), rng);
        // Red and pink flowers in three rows, small ones far away, big ones in front.
        struct Row {
            int count;
            qreal top, bottom, rMin, rMax;
        };
        const Row rows[] = {{30, 250, 360, 9, 15}, {18, 330, 460, 18, 26}, {9, 440, 560, 34, 44}};
        int k = 0;
        for (const Row& row : rows) {
            for (int i = 0; i < row.count; ++i, ++k) {
                const qreal r = rnd(rng, row.rMin, row.rMax);
                const QPointF c((i + rnd(rng, 0.1, 0.9)) * kW / row.count,
                                rnd(rng, row.top, row.bottom));
                p.setPen(roundPen(QColor(60, 130, 60), r * 0.14));
                p.drawLine(c, QPointF(c.x() + rnd(rng, -8, 8), kH + 5));
                drawLeaf(p, c + QPointF(r * 0.5, r * 2.2), r * 0.55, 50, QColor(90, 170, 80));
                const bool red = k % 2 == 0;
                drawBlossom(p, c, r, red ? QColor(228, 36, 64) : QColor(255, 150, 186),
                            rnd(rng, 0, 72));
                drawBlossom(p, c, r * 0.55, red ? QColor(250, 90, 110) : QColor(255, 200, 220),
                            rnd(rng, 0, 72));
            }
        }
        // Tall grass in front.
        for (int i = 0; i < 120; ++i) {
            const qreal x = rnd(rng, 0, kW);
            const qreal h = rnd(rng, 40, 110);
            p.setPen(roundPen(mix(QColor(80, 160, 70), QColor(40, 110, 50), rng.bounded(1.0)),
                              rnd(rng, 3, 6)));
            p.drawLine(QPointF(x, kH + 5), QPointF(x + rnd(rng, -20, 20), kH - h));
        }
        // A butterfly.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawEllipse(QPointF(690, 170), 16, 11);
        p.drawEllipse(QPointF(716, 166), 14, 11);
        p.setBrush(QColor(90, 60, 40));
        p.drawRoundedRect(QRectF(700, 160, 4, 20), 2, 2);
    });
}

QImage heartFromAbove() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(723);
        bgHeartFromAbove(p, rng);
        // Light clouds drift between us and the hill: we are high up.
        drawCloud(p, QPointF(150, 60), 260, QColor(255, 255, 255, 120));
        drawCloud(p, QPointF(860, 560), 240, QColor(255, 255, 255, 110));
    });
}

QImage sunsetWalk() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(724);
        bgSunset(p, rng, false);
        // He brings her up the hill, her hand in his.
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.look = 0.7;
        fox.blush = 0.6;
        fox.arms = FoxArms::Reach;
        drawFoxFigure(p, QPointF(410, 540), 210, fox);
        PeachLook peach;
        peach.eyes = Eyes::Open;
        peach.look = -0.6;
        peach.lookUp = 0.3;
        peach.arms = PeachArms::ReachLeft;
        peach.blush = 0.5;
        drawPeachFigure(p, QPointF(568, 548), 175, peach);
        drawHeldHands(p, QPointF(479, 484), 15);
    });
}

QImage surprise() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(725);
        bgSunset(p, rng, true);
        PeachLook peach;
        peach.eyes = Eyes::Sparkle;
        peach.arms = PeachArms::Cover;
        peach.blush = 0.9;
        peach.lookUp = -0.3;
        drawPeachFigure(p, QPointF(250, 590), 300, peach);
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.look = -0.6;
        fox.blush = 0.8;
        fox.mirror = true;
        drawFoxFigure(p, QPointF(780, 590), 260, fox);
        drawSparkle(p, QPointF(210, 300), 12, Qt::white);
        drawSparkle(p, QPointF(320, 280), 8, Qt::white);
    });
}

QImage confession() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(726);
        bgSunset(p, rng, true);
        FoxLook fox;
        fox.eyes = Eyes::Open;
        fox.mouth = Mouth::Open;
        fox.look = 0.7;
        fox.blush = 1.0;
        fox.arms = FoxArms::Offer;
        fox.item = FoxItem::BigHeart;
        drawFoxFigure(p, QPointF(370, 560), 250, fox);
        PeachLook peach;
        peach.eyes = Eyes::Sparkle;
        peach.mouth = Mouth::Small;
        peach.look = -0.6;
        peach.blush = 0.9;
        peach.arms = PeachArms::Hold;
        drawPeachFigure(p, QPointF(640, 560), 200, peach);
    });
}

QImage nod() {
    return scene([](QPainter& p) {
        softBackground(p, [](QPainter& q) {
            QRandomGenerator rng(727);
            bgSunset(q, rng, true);
        });
        QRandomGenerator rng(747);
        drawFloatingHearts(p, QRectF(60, 40, 840, 300), 14, rng);
        PeachLook peach;
        peach.eyes = Eyes::Happy;
        peach.mouth = Mouth::Smile;
        peach.blush = 1.0;
        peach.tilt = 8;
        peach.arms = PeachArms::Hold;
        peach.shadow = false;
        drawPeachFigure(p, QPointF(480, 690), 600, peach);
    });
}

QImage sunsetTogether() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(728);
        bgSunset(p, rng, false);
        // A heart-shaped cloud, just for them.
        drawFlatHeart(p, QPointF(730, 140), 120, QColor(255, 210, 200, 200), -8);
        FoxLook fox;
        fox.eyes = Eyes::Closed;
        fox.look = 0.4;
        fox.blush = 0.8;
        fox.arms = FoxArms::Reach;
        fox.tilt = 6;
        drawFoxFigure(p, QPointF(420, 540), 190, fox);
        PeachLook peach;
        peach.eyes = Eyes::Closed;
        peach.look = -0.3;
        peach.blush = 0.9;
        peach.arms = PeachArms::ReachLeft;
        peach.tilt = -6;
        drawPeachFigure(p, QPointF(560, 542), 150, peach);
        drawHeldHands(p, QPointF(491, 488), 12);
    });
}

QImage happyEnding() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(729);
        bgSpring(p, rng, false);
        // A rainbow over the path.
        p.setBrush(Qt::NoBrush);
        const QColor bands[] = {QColor(255, 120, 120, 120), QColor(255, 190, 110, 120),
                                QColor(255, 240, 130, 120), QColor(140, 220, 130, 120),
                                QColor(120, 180, 250, 120), QColor(180, 140, 240, 120)};
        for (int i = 0; i < 6; ++i) {
            p.setPen(QPen(bands[i], 12));
            const qreal r = 420 - i * 12;
            p.drawArc(QRectF(480 - r, 470 - r * 0.85, 2 * r, 2 * r * 0.85), 0, 180 * 16);
        }
        QRandomGenerator trees(749);
        drawBlossomTree(p, QPointF(120, 480), 320, trees);
        drawRoundTree(p, QPointF(850, 470), 300, QColor(252, 170, 70), QColor(214, 96, 40), trees);
        // The path they walk on.
        QPainterPath path(QPointF(300, kH + 5));
        path.cubicTo(QPointF(400, 520), QPointF(520, 470), QPointF(480, 430));
        path.lineTo(QPointF(500, 430));
        path.cubicTo(QPointF(600, 470), QPointF(640, 530), QPointF(700, kH + 5));
        path.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 220, 170));
        p.drawPath(path);
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.mouth = Mouth::Grin;
        fox.look = 0.5;
        fox.blush = 0.6;
        fox.arms = FoxArms::Reach;
        drawFoxFigure(p, QPointF(420, 560), 210, fox);
        PeachLook peach;
        peach.eyes = Eyes::Happy;
        peach.mouth = Mouth::Grin;
        peach.look = -0.4;
        peach.arms = PeachArms::ReachLeft;
        peach.blush = 0.7;
        drawPeachFigure(p, QPointF(590, 562), 170, peach);
        drawHeldHands(p, QPointF(502, 505), 14);
        QRandomGenerator air(759);
        drawFloatingHearts(p, QRectF(380, 220, 240, 100), 4, air);
    });
}

QImage storybook() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(730);
        bgBook(p, rng);
        // The open book: two pages bending to the spine.
        const QPointF spineTop(480, 150), spineBottom(480, 500);
        QPainterPath left(spineTop);
        left.cubicTo(QPointF(380, 120), QPointF(230, 120), QPointF(110, 150));
        left.lineTo(QPointF(90, 500));
        left.cubicTo(QPointF(220, 470), QPointF(380, 470), spineBottom);
        left.closeSubpath();
        QPainterPath right(spineTop);
        right.cubicTo(QPointF(580, 120), QPointF(730, 120), QPointF(850, 150));
        right.lineTo(QPointF(870, 500));
        right.cubicTo(QPointF(740, 470), QPointF(580, 470), spineBottom);
        right.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 80));
        p.drawPath(left.translated(6, 14));
        p.drawPath(right.translated(6, 14));
        p.setBrush(QColor(150, 40, 60));
        p.drawRoundedRect(QRectF(80, 160, 800, 360), 16, 16);
        for (const QPainterPath* page : {&left, &right}) {
            QLinearGradient g(QPointF(480, 0), QPointF(page == &left ? 100 : 860, 0));
            g.setColorAt(0, QColor(230, 214, 190));
            g.setColorAt(0.12, QColor(255, 250, 238));
            g.setColorAt(1, QColor(250, 242, 226));
            p.setBrush(g);
            p.drawPath(*page);
        }
        // On the left page a picture of the ending; on the right, lines of the story and a heart.
        const QImage picture = happyEnding().scaledToWidth(300, Qt::SmoothTransformation);
        p.save();
        QTransform t;
        t.translate(140, 170);
        t.shear(0, 0.02);
        p.setTransform(t, true);
        p.drawImage(QPointF(0, 0), picture);
        p.setPen(roundPen(QColor(200, 170, 140), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0, 0, picture.width(), picture.height()));
        p.restore();
        p.setPen(roundPen(QColor(190, 170, 150), 5));
        for (int i = 0; i < 6; ++i) {
            const qreal y = 180 + i * 34;
            p.drawLine(QPointF(540, y), QPointF(i == 5 ? 680 : 810, y - 2));
        }
        for (int i = 0; i < 5; ++i) {
            const qreal y = 390 + i * 24;
            if (i < 2)
                p.drawLine(QPointF(150, y), QPointF(i == 1 ? 330 : 420, y));
        }
        drawGlossyHeart(p, heartBox(QPointF(740, 420), 56), QColor(255, 120, 150),
                        QColor(220, 30, 70), false);
        drawSparkle(p, QPointF(790, 385), 8, QColor(255, 220, 180));
        // A blossom resting on the page.
        drawBlossom(p, QPointF(420, 450), 16, QColor(255, 170, 196), 20);
        drawBlossom(p, QPointF(560, 470), 11, QColor(255, 240, 244), 50);
        QRandomGenerator air(760);
        drawFloatingHearts(p, QRectF(200, 20, 560, 100), 5, air);
    });
}

QImage finalHeart() {
    return scene([](QPainter& p) {
        QRandomGenerator rng(731);
        bgPinkDream(p, rng, true);
        drawGlow(p, QPointF(480, 250), 260, QColor(255, 170, 200, 150));
        fillLand(p, landPath(500, QPointF(300, 480), QPointF(640, 490), 500), QColor(90, 60, 110),
                 QColor(60, 40, 80));
        drawGlossyHeart(p, heartBox(QPointF(480, 270), 230), QColor(255, 120, 150),
                        QColor(220, 20, 60));
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.mouth = Mouth::Grin;
        fox.look = 0.5;
        fox.blush = 0.8;
        fox.arms = FoxArms::Cheer;
        drawFoxFigure(p, QPointF(300, 540), 220, fox);
        PeachLook peach;
        peach.eyes = Eyes::Happy;
        peach.mouth = Mouth::Grin;
        peach.look = -0.5;
        peach.arms = PeachArms::Cheer;
        peach.blush = 0.9;
        drawPeachFigure(p, QPointF(660, 540), 180, peach);
        drawSparkle(p, QPointF(380, 150), 14, Qt::white);
        drawSparkle(p, QPointF(590, 140), 10, Qt::white);
    });
}

// The picture a chat app shows beside the link.
QImage shareCard() {
    return paint(600, 315, [](QPainter& p) {
        p.scale(600.0 / kW, 600.0 / kW);  // drawn on a 960 x 504 stage
        QRandomGenerator rng(732);
        bgPinkDream(p, rng, false);
        drawGlow(p, QPointF(480, 110), 120, QColor(255, 255, 255, 200));
        drawGlossyHeart(p, heartBox(QPointF(480, 108), 96), QColor(255, 130, 160),
                        QColor(226, 30, 70));
        fillLand(p, landPath(360, QPointF(300, 345), QPointF(640, 352), 360, 504),
                 QColor(170, 220, 140), QColor(120, 190, 110));
        FoxLook fox;
        fox.eyes = Eyes::Happy;
        fox.blush = 0.7;
        fox.look = 0.6;
        fox.arms = FoxArms::Reach;
        drawFoxFigure(p, QPointF(400, 382), 200, fox);
        PeachLook peach;
        peach.eyes = Eyes::Happy;
        peach.blush = 0.8;
        peach.look = -0.5;
        peach.arms = PeachArms::ReachLeft;
        drawPeachFigure(p, QPointF(550, 384), 160, peach);
        drawHeldHands(p, QPointF(474, 329), 12);
        // A soft band for the words.
        fillVertical(p, QRectF(0, 396, kW, 108),
                     {{0, QColor(255, 255, 255, 0)},
                      {0.35, QColor(255, 255, 255, 170)},
                      {1, QColor(255, 240, 246, 220)}});
        drawGlowText(p, QRectF(0, 408, kW, 84), Qt::AlignCenter,
                     QStringLiteral("小狐狸的心事，讲给你听"), font(kSans, 46, QFont::Bold),
                     QColor(214, 40, 90), QColor(255, 255, 255), 4);
    });
}

}  // namespace

std::vector<Picture> fg7Pictures() {
    const QString dir = kBiaobaiFolder + QStringLiteral("/fg7/img/");
    const std::pair<const char*, QImage (*)()> pictures[] = {
        {"cover.jpg", cover},
        {"forest.jpg", forest},
        {"fox-hello.jpg", foxHello},
        {"alone-dusk.jpg", aloneAtDusk},
        {"spring-hill.jpg", springHill},
        {"peach-tree.jpg", peachUnderTree},
        {"peach-smile.jpg", peachSmile},
        {"fox-heartbeat.jpg", foxHeartbeat},
        {"fox-nervous.jpg", foxNervous},
        {"meet.jpg", meeting},
        {"gift.jpg", gift},
        {"thought.jpg", thought},
        {"summer-night.jpg", summerNight},
        {"autumn.jpg", autumn},
        {"autumn-roll.jpg", autumnRoll},
        {"winter-cold.jpg", winterCold},
        {"winter-scarf.jpg", winterScarf},
        {"seasons.jpg", seasons},
        {"pensive.jpg", pensive},
        {"moon.jpg", moonPractice},
        {"dawn.jpg", dawnResolve},
        {"planting.jpg", planting},
        {"flowers.jpg", flowerCloseUp},
        {"heart-above.jpg", heartFromAbove},
        {"sunset-walk.jpg", sunsetWalk},
        {"surprise.jpg", surprise},
        {"confess.jpg", confession},
        {"nod.jpg", nod},
        {"sunset-together.jpg", sunsetTogether},
        {"ending.jpg", happyEnding},
        {"storybook.jpg", storybook},
        {"final.jpg", finalHeart},
        {"card.jpg", shareCard},
    };
    std::vector<Picture> list;
    for (const auto& [name, draw] : pictures)
        list.push_back({dir + QString::fromLatin1(name), draw});
    return list;
}

}  // namespace art
