// Pictures of page style 3 (the heart tree): the soft sky behind the page and the card that
// chat apps show for a shared link.

#include "SiteArt.h"

#include "Paint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

namespace art {
namespace {

const QString kFolder = kBiaobaiFolder + QStringLiteral("/FG3/");

// The blush gradient of the page with blurred rounds of light drifting over it.
QImage drawSky(int width, int height, quint32 seed) {
    QImage image = canvas(width, height, QColor(255, 234, 239));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width * 0.35, height);
    g.setColorAt(0.0, QColor(255, 246, 242));
    g.setColorAt(0.5, QColor(255, 228, 235));
    g.setColorAt(1.0, QColor(250, 204, 218));
    p.fillRect(image.rect(), g);

    // A warm glow high up, and a rosier one low on the other side.
    drawGlow(p, QPointF(width * 0.3, height * 0.32), width * 0.42, QColor(255, 255, 250, 150));
    drawGlow(p, QPointF(width * 0.85, height * 0.9), width * 0.4, QColor(255, 170, 195, 70));

    QImage lights = canvas(width, height);
    {
        QPainter l(&lights);
        l.setRenderHint(QPainter::Antialiasing);
        QRandomGenerator rng(seed);
        const qreal unit = std::min(width, height);
        drawBokeh(l, QRectF(0, 0, width, height), 26, unit * 0.03, unit * 0.1,
                  QColor(255, 255, 255, 150), rng);
        drawBokeh(l, QRectF(0, 0, width, height), 18, unit * 0.02, unit * 0.07,
                  QColor(255, 150, 180, 80), rng);
    }
    p.drawImage(0, 0, blurred(lights, std::max(2, width / 320)));

    // A hint of paper, so the large smooth areas do not band.
    QRandomGenerator grain(seed + 1);
    for (int i = 0; i < width * height / 60; ++i) {
        const int x = static_cast<int>(grain.bounded(width));
        const int y = static_cast<int>(grain.bounded(height));
        p.fillRect(QRectF(x, y, 1, 1), QColor(255, 255, 255, 10 + grain.bounded(14)));
    }
    p.end();
    return image;
}

// The classic heart curve around `centre`, `k` pixels a unit (32 units across).
QPolygonF crownOutline(QPointF centre, qreal k) {
    QPolygonF poly;
    for (int i = 0; i < 160; ++i) {
        const qreal t = i / 160.0 * 2 * M_PI;
        const qreal s = std::sin(t);
        poly << QPointF(centre.x() + 16 * s * s * s * k,
                        centre.y() - (13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) -
                                      std::cos(4 * t)) *
                                         k);
    }
    return poly;
}

void drawBranch(QPainter& p, QPointF from, qreal angle, qreal length, qreal width, int depth,
                const QPolygonF& crown, QRandomGenerator& rng) {
    const QPointF to(from.x() + std::sin(angle) * length, from.y() - std::cos(angle) * length);
    const qreal bend = (rng.generateDouble() - 0.5) * length * 0.35;
    const QPointF mid((from.x() + to.x()) / 2 + std::cos(angle) * bend,
                      (from.y() + to.y()) / 2 + std::sin(angle) * bend);
    static const QColor bark[] = {QColor(91, 49, 36),  QColor(106, 58, 43), QColor(122, 69, 51),
                                  QColor(138, 81, 61), QColor(154, 93, 72), QColor(168, 106, 84)};
    QPainterPath path(from);
    path.quadTo(mid, to);
    p.setPen(QPen(bark[std::min(depth, 5)], width, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    if (depth >= 5 || width < 1.2)
        return;
    const int n = depth < 2 ? 3 : (rng.generateDouble() < 0.55 ? 2 : 3);
    for (int i = 0; i < n; ++i) {
        qreal a = angle + (i - (n - 1) / 2.0) * (0.42 + rng.generateDouble() * 0.3) +
                  (rng.generateDouble() - 0.5) * 0.3;
        a = std::clamp(a, -1.9, 1.9);
        qreal l = length * (0.66 + rng.generateDouble() * 0.16);
        int tries = 0;
        for (; tries < 4; ++tries) {
            const QPointF end(to.x() + std::sin(a) * l, to.y() - std::cos(a) * l);
            if (crown.containsPoint(end, Qt::OddEvenFill))
                break;
            l *= 0.72;
            a *= 0.8;
        }
        if (tries < 4)
            drawBranch(p, to, a, l, width * 0.66, depth + 1, crown, rng);
    }
}

// The heart tree as the page grows it: a trunk, branches and a crown of small hearts.
void drawHeartTree(QPainter& p, QPointF ground, qreal k, quint32 seed) {
    QRandomGenerator rng(seed);
    const QPointF centre(ground.x(), ground.y() - 17 * k - 29 * k * 0.34);
    const QPolygonF crown = crownOutline(centre, k);
    QPolygonF inner;
    for (const QPointF& point : crown)
        inner << QPointF(centre.x() + (point.x() - centre.x()) * 0.86,
                         centre.y() - 2 * k + (point.y() - centre.y() + 2 * k) * 0.86);

    // The ground's shadow.
    p.save();
    p.translate(ground + QPointF(0, 3));
    p.scale(1, 0.14);
    QRadialGradient shade(QPointF(0, 0), 22 * k);
    shade.setColorAt(0, QColor(140, 60, 70, 80));
    shade.setColorAt(1, QColor(140, 60, 70, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(QPointF(0, 0), 22 * k, 22 * k);
    p.restore();

    const QPointF top(centre.x() + k * 0.2, centre.y() + 1.5 * k);
    QPainterPath trunk(ground);
    trunk.quadTo(QPointF(ground.x() - k * 0.9, (ground.y() + top.y()) / 2), top);
    p.setPen(QPen(QColor(91, 49, 36), std::max(4.0, k * 1.2), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(trunk);
    for (qreal a : {-1.2, -0.62, -0.05, 0.55, 1.15}) {
        const qreal l = k * (7.2 + rng.generateDouble() * 1.6) * (1 - std::abs(a) * 0.12);
        drawBranch(p, top, a, l, k * 0.6, 1, inner, rng);
    }

    static const QColor fill[] = {QColor("#ff4d6d"), QColor("#ff6f91"), QColor("#ff8fab"),
                                  QColor("#f0506e"), QColor("#e0314f"), QColor("#ffa3bf"),
                                  QColor("#d6336c"), QColor("#ff7a7a")};
    static const QColor edge[] = {QColor("#e0314f"), QColor("#d6336c"), QColor("#f0506e"),
                                  QColor("#c9184a")};
    const qreal step = std::max(5.0, k * 0.8);
    const QRectF bounds = crown.boundingRect();
    for (qreal y = bounds.top(); y < bounds.bottom(); y += step * 0.86) {
        for (qreal x = bounds.left(); x < bounds.right(); x += step) {
            const QPointF at(x + (rng.generateDouble() - 0.5) * step * 0.8,
                             y + (rng.generateDouble() - 0.5) * step * 0.8);
            if (!crown.containsPoint(at, Qt::OddEvenFill))
                continue;
            drawFlatHeart(p, at, step * (1.05 + rng.generateDouble() * 0.55), fill[rng.bounded(8)],
                          (rng.generateDouble() - 0.5) * 40);
        }
    }
    for (int i = 0; i < crown.size(); i += 2) {
        const QPointF at =
            crown[i] + (centre - crown[i]) * (step * 0.35 /
                                              std::max(1.0, std::hypot(centre.x() - crown[i].x(),
                                                                       centre.y() - crown[i].y())));
        drawFlatHeart(p, at, step * (1.2 + rng.generateDouble() * 0.35), edge[rng.bounded(4)],
                      (rng.generateDouble() - 0.5) * 40);
    }
    // A few leaves already on their way down, and some on the ground.
    for (int i = 0; i < 6; ++i) {
        const QPointF at(centre.x() + (rng.generateDouble() - 0.5) * 30 * k,
                         centre.y() + 12 * k + rng.generateDouble() * 12 * k);
        drawFlatHeart(p, at, step * 1.2, fill[rng.bounded(8)], (rng.generateDouble() - 0.5) * 70);
    }
    for (int i = 0; i < 7; ++i) {
        const QPointF at(ground.x() + (rng.generateDouble() - 0.5) * 24 * k,
                         ground.y() + rng.generateDouble() * 4);
        drawFlatHeart(p, at, step * 1.1, fill[rng.bounded(8)], (rng.generateDouble() - 0.5) * 70);
    }
}

QImage drawBackground() {
    return drawSky(1600, 1000, 3301);
}

QImage drawCard() {
    QImage image = drawSky(600, 315, 3302);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawHeartTree(p, QPointF(160, 303), 7.3, 520);

    const QFont title = font(kSans, 40, QFont::Bold);
    drawGlowText(p, QRectF(300, 92, 290, 60), Qt::AlignCenter, QStringLiteral("送你一棵心形树"),
                 title, QColor(201, 24, 74), QColor(255, 255, 255, 230), 3.0);
    const QFont line = font(kSans, 20);
    drawShadowText(p, QRectF(300, 160, 290, 34), Qt::AlignCenter,
                   QStringLiteral("树下有一封写给你的信"), line, QColor(107, 42, 58),
                   QColor(255, 255, 255, 200), QPointF(0, 1));
    for (int i = 0; i < 3; ++i)
        drawFlatHeart(p, QPointF(410 + i * 35, 222), 16 - std::abs(i - 1) * 4,
                      QColor(i == 1 ? "#e0314f" : "#ff8fab"));
    p.end();
    return image;
}

}  // namespace

std::vector<Picture> fg3Pictures() {
    return {
        {kFolder + "bg.jpg", drawBackground},
        {kFolder + "card.jpg", drawCard},
    };
}

}  // namespace art
