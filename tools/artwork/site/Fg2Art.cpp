// Pictures of page style 2 (the beating heart and the letter): the floating picture that the
// sample entries point at (style 3 shows the same one) and the card chat apps show for a link.

#include "SiteArt.h"

#include "Paint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace art {

namespace {

const QString kFolder = kBiaobaiFolder + QStringLiteral("/fg2/");

// One rose seen from above: a round bloom with petal edges curling towards the centre.
void drawRose(QPainter& p, QPointF c, qreal r, QColor petal, qreal turn) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 0, 20, 60));
    p.drawEllipse(QPointF(r * 0.08, r * 0.14), r * 1.02, r * 1.0);
    QRadialGradient bloom(QPointF(-r * 0.2, -r * 0.25), r * 1.25);
    bloom.setColorAt(0, petal.lighter(135));
    bloom.setColorAt(0.6, petal);
    bloom.setColorAt(1, petal.darker(140));
    p.setBrush(bloom);
    p.drawEllipse(QPointF(0, 0), r, r * 0.96);
    // Petal edges: arcs that wind inwards.
    QPen edge(petal.darker(165), std::max(0.7, r * 0.09), Qt::SolidLine, Qt::RoundCap);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        const qreal k = 0.82 - i * 0.19;
        edge.setColor(mix(petal.darker(170), petal.darker(125), i / 4.0));
        p.setPen(edge);
        const QRectF arc(-r * k, -r * k * 0.95, 2 * r * k, 2 * r * k * 0.95);
        p.drawArc(arc, (40 + i * 95) * 16, 200 * 16);
    }
    // A light rim on the outer petals.
    p.setPen(QPen(QColor(255, 255, 255, 70), std::max(0.6, r * 0.07)));
    p.drawArc(QRectF(-r * 0.9, -r * 0.88, r * 1.8, r * 1.76), 100 * 16, 80 * 16);
    p.restore();
}

void drawLeaf(QPainter& p, QPointF base, qreal length, qreal angle) {
    p.save();
    p.translate(base);
    p.rotate(angle);
    QPainterPath leaf(QPointF(0, 0));
    leaf.quadTo(QPointF(length * 0.5, -length * 0.32), QPointF(length, 0));
    leaf.quadTo(QPointF(length * 0.5, length * 0.32), QPointF(0, 0));
    QLinearGradient g(QPointF(0, -length * 0.2), QPointF(0, length * 0.2));
    g.setColorAt(0, QColor(120, 190, 110));
    g.setColorAt(1, QColor(46, 120, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(leaf);
    p.setPen(QPen(QColor(30, 90, 50, 150), 0.8));
    p.drawLine(QPointF(length * 0.08, 0), QPointF(length * 0.85, 0));
    p.restore();
}

// A satin bow with two tails, centred on `c`.
void drawBow(QPainter& p, QPointF c, qreal size, QColor colour) {
    p.save();
    p.setPen(Qt::NoPen);
    const QColor dark = colour.darker(135);
    for (int side : {-1, 1}) {
        QPainterPath tail(c);
        tail.cubicTo(c + QPointF(side * size * 0.15, size * 0.4),
                     c + QPointF(side * size * 0.35, size * 0.75),
                     c + QPointF(side * size * 0.42, size * 1.05));
        tail.lineTo(c + QPointF(side * size * 0.22, size * 0.98));
        tail.cubicTo(c + QPointF(side * size * 0.18, size * 0.7),
                     c + QPointF(side * size * 0.05, size * 0.4), c);
        p.setBrush(dark);
        p.drawPath(tail);
    }
    for (int side : {-1, 1}) {
        QPainterPath loop(c);
        loop.cubicTo(c + QPointF(side * size * 0.35, -size * 0.55),
                     c + QPointF(side * size * 0.8, -size * 0.35),
                     c + QPointF(side * size * 0.7, 0));
        loop.cubicTo(c + QPointF(side * size * 0.62, size * 0.3),
                     c + QPointF(side * size * 0.3, size * 0.25), c);
        QLinearGradient g(c + QPointF(0, -size * 0.4), c + QPointF(0, size * 0.3));
        g.setColorAt(0, colour.lighter(130));
        g.setColorAt(1, colour);
        p.setBrush(g);
        p.drawPath(loop);
        p.setBrush(QColor(255, 255, 255, 80));
        p.drawEllipse(c + QPointF(side * size * 0.42, -size * 0.18), size * 0.12, size * 0.06);
    }
    p.setBrush(dark);
    p.drawRoundedRect(QRectF(c.x() - size * 0.12, c.y() - size * 0.13, size * 0.24, size * 0.26),
                      size * 0.06, size * 0.06);
    p.restore();
}

// The floating picture: a heart of roses in kraft paper with a bow, in a rounded pink frame.
QImage drawFloatPicture() {
    const int w = 200;
    const int h = 250;
    QImage image = canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF frame(3, 3, w - 6, h - 7);
    // Soft shadow under the frame.
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(90, 20, 50, 22));
        p.drawRoundedRect(frame.translated(0, 2).adjusted(-i, -i * 0.5, i, i), 16 + i, 16 + i);
    }
    QLinearGradient border(frame.topLeft(), frame.bottomRight());
    border.setColorAt(0, QColor(255, 150, 185));
    border.setColorAt(0.5, QColor(255, 214, 226));
    border.setColorAt(1, QColor(238, 92, 140));
    p.setBrush(border);
    p.drawRoundedRect(frame, 16, 16);

    const QRectF inner = frame.adjusted(8, 8, -8, -8);
    QPainterPath clip;
    clip.addRoundedRect(inner, 11, 11);
    p.save();
    p.setClipPath(clip);
    QLinearGradient back(inner.topLeft(), inner.bottomLeft());
    back.setColorAt(0, QColor(255, 244, 236));
    back.setColorAt(1, QColor(255, 214, 224));
    p.fillRect(inner, back);
    QRandomGenerator rng(2520);
    drawBokeh(p, inner, 14, 6, 16, QColor(255, 170, 196, 120), rng);

    // The paper cone under the bouquet.
    const QPointF tip(w * 0.5, inner.bottom() - 30);
    QPainterPath paper(QPointF(w * 0.16, 116));
    paper.lineTo(QPointF(w * 0.84, 116));
    paper.lineTo(tip);
    paper.closeSubpath();
    QLinearGradient kraft(QPointF(w * 0.2, 0), QPointF(w * 0.8, 0));
    kraft.setColorAt(0, QColor(214, 170, 120));
    kraft.setColorAt(0.5, QColor(236, 204, 160));
    kraft.setColorAt(1, QColor(200, 152, 104));
    p.setPen(Qt::NoPen);
    p.setBrush(kraft);
    p.drawPath(paper);
    p.setPen(QPen(QColor(170, 120, 80, 120), 1));
    p.drawLine(QPointF(w * 0.36, 118), tip);
    p.drawLine(QPointF(w * 0.64, 118), tip);

    // Leaves around the heart, then the roses row by row from the back.
    const QRectF heart(w * 0.5 - 74, 26, 148, 124);
    for (int i = 0; i < 9; ++i) {
        const qreal a = -160 + i * 17.5;
        const qreal rad = a * M_PI / 180.0;
        const QPointF base(w * 0.5 + std::cos(rad) * 52, 88 + std::sin(rad) * 46);
        drawLeaf(p, base, 26, a + (i % 2 ? 8 : -8));
    }
    const QPainterPath shape = heartPath(heart.adjusted(6, 6, -6, -6));
    const std::array<QColor, 3> petals = {QColor(226, 34, 74), QColor(244, 82, 122),
                                          QColor(200, 20, 60)};
    const qreal step = 17;
    int n = 0;
    for (qreal y = heart.top() + 10; y < heart.bottom(); y += step * 0.86) {
        const int row = qRound((y - heart.top()) / (step * 0.86));
        for (qreal x = heart.left() + (row % 2 ? step / 2 : 0); x < heart.right(); x += step) {
            const QPointF c(x + rng.bounded(3.0) - 1.5, y + rng.bounded(3.0) - 1.5);
            if (!shape.contains(c))
                continue;
            drawRose(p, c, 10.5 + rng.bounded(1.5), petals[static_cast<std::size_t>(n++ % 3)],
                     rng.bounded(360.0));
        }
    }
    // Baby's breath between the roses.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 26; ++i) {
        const QPointF c(heart.left() + rng.bounded(heart.width()),
                        heart.top() + rng.bounded(heart.height()));
        if (!shape.contains(c))
            continue;
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawEllipse(c, 1.6, 1.6);
    }
    drawBow(p, QPointF(w * 0.5, 168), 34, QColor(255, 110, 150));

    // A little caption on a ribbon at the bottom.
    const QRectF label(inner.left() + 34, inner.bottom() - 30, inner.width() - 68, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 215));
    p.drawRoundedRect(label, 11, 11);
    p.setFont(font(kSans, 13, QFont::Bold));
    p.setPen(QColor(214, 50, 98));
    p.drawText(label, Qt::AlignCenter, QStringLiteral("送给最爱的你"));
    drawSparkle(p, QPointF(inner.left() + 18, inner.top() + 18), 7, QColor(255, 255, 255, 230));
    drawSparkle(p, QPointF(inner.right() - 16, inner.top() + 44), 5, QColor(255, 255, 255, 220));
    drawSparkle(p, QPointF(inner.right() - 24, inner.bottom() - 52), 6, QColor(255, 240, 200, 230));
    p.restore();

    // A glossy line along the top of the frame.
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame.adjusted(2, 2, -2, -2), 14, 14);
    return image;
}

// A point of the heart curve x = 16 sin^3 t, y = 13 cos t - 5 cos 2t - 2 cos 3t - cos 4t,
// scaled by `s` around `c` (y pointing down).
QPointF heartCurve(qreal t, QPointF c, qreal s) {
    const qreal x = 16 * std::pow(std::sin(t), 3);
    const qreal y = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
    return {c.x() + x * s, c.y() - (y + 2.5) * s};
}

// The card chat apps show beside the link: a glowing particle heart on a night sky.
QImage drawCard() {
    const int w = 600;
    const int h = 315;
    QImage image = canvas(w, h, QColor(26, 10, 40));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, w, h);
    sky.setColorAt(0, QColor(34, 12, 58));
    sky.setColorAt(0.6, QColor(70, 16, 68));
    sky.setColorAt(1, QColor(24, 8, 38));
    p.fillRect(image.rect(), sky);
    QRandomGenerator rng(1314);
    drawGlow(p, QPointF(170, 150), 170, QColor(255, 60, 120, 70));

    const QPointF c(170, 150);
    const qreal s = 7.2;
    // The soft filled heart behind the particles.
    QPainterPath outline;
    for (int i = 0; i <= 240; ++i) {
        const QPointF q = heartCurve(i * 2 * M_PI / 240, c, s);
        if (i == 0)
            outline.moveTo(q);
        else
            outline.lineTo(q);
    }
    QImage glow = canvas(w, h);
    {
        QPainter gp(&glow);
        gp.setRenderHint(QPainter::Antialiasing);
        gp.setPen(Qt::NoPen);
        gp.setBrush(QColor(255, 70, 130, 150));
        gp.drawPath(outline);
    }
    p.drawImage(0, 0, blurred(glow, 10));
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 1500; ++i) {
        const qreal t = rng.bounded(2 * M_PI);
        // Most particles near the outline, fewer towards the middle.
        const qreal k = 1.0 - std::min(0.85, -std::log(1e-6 + rng.bounded(1.0)) * 0.09);
        const QPointF q = heartCurve(t, c, s);
        const QPointF at(c.x() + (q.x() - c.x()) * k, c.y() + (q.y() - c.y()) * k);
        const int g = 60 + rng.bounded(140);
        p.setBrush(QColor(255, g, 120 + rng.bounded(80), 90 + rng.bounded(120)));
        const qreal r = 0.6 + rng.bounded(1.2);
        p.drawEllipse(at, r, r);
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Snow.
    for (int i = 0; i < 70; ++i) {
        const QPointF at(rng.bounded(static_cast<double>(w)), rng.bounded(static_cast<double>(h)));
        const qreal r = 0.8 + rng.bounded(2.4);
        drawGlow(p, at, r * 2.4, QColor(255, 255, 255, 60 + rng.bounded(90)));
    }

    drawGlowText(p, QRectF(318, 96, 270, 60), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("有颗心，为你跳动"), font(kSans, 30, QFont::Bold),
                 QColor(255, 240, 246), QColor(255, 80, 140), 4);
    drawShadowText(p, QRectF(322, 160, 260, 30), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("点开，看我写给你的信"), font(kSans, 19), QColor(255, 200, 220),
                   QColor(40, 0, 30, 160));
    p.setPen(QPen(QColor(255, 140, 180, 160), 1.5));
    p.drawLine(QPointF(324, 206), QPointF(420, 206));
    drawSparkle(p, QPointF(548, 70), 9, QColor(255, 255, 255, 220));
    drawSparkle(p, QPointF(300, 250), 6, QColor(255, 220, 240, 200));
    return image;
}

}  // namespace

std::vector<Picture> fg2Pictures() {
    return {
        {kFolder + "float.png", drawFloatPicture},
        {kFolder + "card.jpg", drawCard},
    };
}

}  // namespace art
