// Pictures of page style 4: the closing page's top picture (two little people under a bunch of
// heart balloons at sunset) and the card that chat apps show for a shared link.

#include "Paint.h"
#include "SiteArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace art {

namespace {

struct Balloon {
    QPointF centre;
    qreal width;
    QColor light;
    QColor dark;
    qreal angle;
};

const QColor kRed(255, 77, 109), kRedDark(190, 24, 74);
const QColor kPink(255, 143, 171), kPinkDark(214, 80, 128);
const QColor kCoral(255, 158, 122), kCoralDark(226, 94, 64);
const QColor kBlush(255, 200, 214), kBlushDark(236, 134, 170);
const QColor kGold(255, 214, 128), kGoldDark(226, 156, 52);

// Heart balloons on strings gathered in one hand; positions relative to the hand, in units of
// `scale` (1 = the top picture's size).
void drawBalloonBunch(QPainter& p, QPointF hand, qreal scale) {
    const std::vector<Balloon> balloons = {
        {{-6, -214}, 58, kPink, kPinkDark, -14},  {{46, -226}, 62, kRed, kRedDark, 6},
        {{98, -206}, 54, kBlush, kBlushDark, 16}, {{-40, -168}, 52, kCoral, kCoralDark, -20},
        {{14, -170}, 64, kRed, kRedDark, -4},     {{72, -164}, 58, kPink, kPinkDark, 10},
        {{124, -156}, 48, kGold, kGoldDark, 22},  {{-12, -122}, 50, kBlush, kBlushDark, -10},
        {{42, -118}, 56, kCoral, kCoralDark, 4},  {{94, -112}, 50, kRed, kRedDark, 14},
        {{30, -250}, 40, kGold, kGoldDark, -8},
    };
    // The bunch floats a little above the hand.
    const QPointF lift(14, 30);
    p.save();
    // Strings first, so the balloons hide where they meet.
    for (const Balloon& b : balloons) {
        const QPointF c = hand + (b.centre + lift) * scale;
        const qreal rad = b.angle * M_PI / 180.0;
        const qreal h = b.width * scale * 0.9;
        const QPointF tip = c + QPointF(-std::sin(rad) * h * 0.5, std::cos(rad) * h * 0.5);
        QPainterPath string(tip);
        const QPointF mid = (tip + hand) / 2 + QPointF((tip.x() - hand.x()) * 0.18, 0);
        string.quadTo(mid, hand);
        p.setPen(QPen(QColor(255, 246, 236, 190), 1.1 * scale, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(string);
    }
    for (const Balloon& b : balloons) {
        const QPointF c = hand + (b.centre + lift) * scale;
        p.save();
        p.translate(c);
        p.rotate(b.angle);
        const qreal w = b.width * scale;
        const QRectF box = heartBox({0, 0}, w);
        drawGlossyHeart(p, box, b.light, b.dark, false);
        // The knot under the tip.
        p.setPen(Qt::NoPen);
        p.setBrush(b.dark);
        QPolygonF knot({QPointF(0, box.bottom() - 1),
                        QPointF(-3.2 * scale, box.bottom() + 4.5 * scale),
                        QPointF(3.2 * scale, box.bottom() + 4.5 * scale)});
        p.drawPolygon(knot);
        p.restore();
    }
    p.restore();
}

// Two little people hand in hand, seen against the light; the right hand of the left one is
// raised and returned as the point where the balloon strings end.
QPointF drawCouple(QPainter& p, QPointF feet, qreal scale, QColor ink) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const auto at = [&](qreal x, qreal y) { return feet + QPointF(x, y) * scale; };
    // He: head, body, legs.
    p.drawEllipse(at(-18, -54), 7.5 * scale, 7.5 * scale);
    p.drawRoundedRect(QRectF(at(-26, -45), QSizeF(16 * scale, 26 * scale)), 5 * scale, 5 * scale);
    p.drawRoundedRect(QRectF(at(-25, -22), QSizeF(6 * scale, 22 * scale)), 2.5 * scale,
                      2.5 * scale);
    p.drawRoundedRect(QRectF(at(-17, -22), QSizeF(6 * scale, 22 * scale)), 2.5 * scale,
                      2.5 * scale);
    // She: head with a bun, a dress, legs.
    p.drawEllipse(at(16, -50), 6.8 * scale, 6.8 * scale);
    p.drawEllipse(at(20, -58), 4 * scale, 4 * scale);
    QPainterPath dress(at(10, -42));
    dress.lineTo(at(22, -42));
    dress.quadTo(at(24, -30), at(29, -16));
    dress.lineTo(at(3, -16));
    dress.quadTo(at(8, -30), at(10, -42));
    p.drawPath(dress);
    p.drawRoundedRect(QRectF(at(9, -17), QSizeF(5 * scale, 17 * scale)), 2 * scale, 2 * scale);
    p.drawRoundedRect(QRectF(at(18, -17), QSizeF(5 * scale, 17 * scale)), 2 * scale, 2 * scale);
    // Arms: held hands in the middle, his other arm up with the strings.
    QPen arm(ink, 4.2 * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(arm);
    p.setBrush(Qt::NoBrush);
    QPainterPath held(at(-12, -40));
    held.quadTo(at(-2, -26), at(11, -38));
    p.drawPath(held);
    const QPointF hand = at(-36, -80);
    QPainterPath raised(at(-24, -42));
    raised.quadTo(at(-34, -58), hand);
    p.drawPath(raised);
    p.restore();
    return hand;
}

void fillSky(QPainter& p, const QRectF& r) {
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, QColor(92, 70, 150));
    sky.setColorAt(0.35, QColor(178, 96, 160));
    sky.setColorAt(0.62, QColor(246, 128, 134));
    sky.setColorAt(0.82, QColor(255, 182, 120));
    sky.setColorAt(1.0, QColor(255, 214, 150));
    p.fillRect(r, sky);
}

// Soft clouds, drawn on their own layer and blurred.
QImage cloudLayer(QSize size, qreal scale, QRandomGenerator& rng) {
    QImage layer = canvas(size.width(), size.height());
    QPainter c(&layer);
    c.setRenderHint(QPainter::Antialiasing);
    c.setPen(Qt::NoPen);
    const struct {
        qreal x, y, w;
        int alpha;
    } banks[] = {{90, 70, 150, 90}, {520, 52, 170, 80}, {420, 160, 220, 70}, {60, 200, 180, 60}};
    for (const auto& bank : banks) {
        for (int i = 0; i < 7; ++i) {
            const qreal x = (bank.x + rng.bounded(bank.w)) * scale;
            const qreal y = (bank.y + rng.bounded(18.0) - 9) * scale;
            const qreal rx = (26 + rng.bounded(30.0)) * scale;
            c.setBrush(QColor(255, 226, 226, bank.alpha));
            c.drawEllipse(QPointF(x, y), rx, rx * 0.42);
        }
    }
    c.end();
    return blurred(layer, qRound(6 * scale));
}

void drawHills(QPainter& p, qreal w, qreal h, qreal s) {
    p.setPen(Qt::NoPen);
    QPainterPath far(QPointF(0, 300 * s));
    far.cubicTo(QPointF(120 * s, 270 * s), QPointF(220 * s, 300 * s), QPointF(330 * s, 286 * s));
    far.cubicTo(QPointF(450 * s, 270 * s), QPointF(560 * s, 296 * s), QPointF(w, 280 * s));
    far.lineTo(w, h);
    far.lineTo(0, h);
    far.closeSubpath();
    p.setBrush(QColor(176, 96, 130, 200));
    p.drawPath(far);

    QPainterPath middle(QPointF(0, 332 * s));
    middle.cubicTo(QPointF(160 * s, 306 * s), QPointF(300 * s, 346 * s), QPointF(430 * s, 322 * s));
    middle.cubicTo(QPointF(520 * s, 308 * s), QPointF(590 * s, 322 * s), QPointF(w, 316 * s));
    middle.lineTo(w, h);
    middle.lineTo(0, h);
    middle.closeSubpath();
    QLinearGradient mid(QPointF(0, 306 * s), QPointF(0, h));
    mid.setColorAt(0, QColor(122, 62, 110));
    mid.setColorAt(1, QColor(86, 44, 92));
    p.setBrush(mid);
    p.drawPath(middle);

    QPainterPath near(QPointF(0, 346 * s));
    near.cubicTo(QPointF(90 * s, 330 * s), QPointF(200 * s, 326 * s), QPointF(300 * s, 350 * s));
    near.cubicTo(QPointF(380 * s, 370 * s), QPointF(470 * s, 372 * s), QPointF(w, 380 * s));
    near.lineTo(w, h);
    near.lineTo(0, h);
    near.closeSubpath();
    p.setBrush(QColor(52, 28, 64));
    p.drawPath(near);

    // Grass tufts along the near hill's ridge.
    p.setPen(QPen(QColor(52, 28, 64), 1.4 * s, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 60; ++i) {
        const qreal x = i * 5.5 * s;
        const qreal t = x / (300 * s);
        const qreal y = (346 - 20 * std::sin(t * M_PI * 0.9) + (t > 0.7 ? (t - 0.7) * 30 : 0)) * s;
        p.drawLine(QPointF(x, y + 2 * s), QPointF(x + 1.5 * s, y - (3 + (i * 7) % 5) * s));
    }
}

QImage drawTopPicture() {
    const qreal s = 2.0;  // drawn at twice the size, then scaled down for smooth strings
    const qreal w = 640 * s, h = 400 * s;
    QImage image = canvas(int(w), int(h), Qt::white);
    QRandomGenerator rng(4044);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        fillSky(p, QRectF(0, 0, w, h));
        // The sun low behind the hills.
        const QPointF sun(430 * s, 292 * s);
        drawGlow(p, sun, 260 * s, QColor(255, 236, 190, 150));
        drawGlow(p, sun, 110 * s, QColor(255, 244, 214, 200));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 246, 222));
        p.drawEllipse(sun, 40 * s, 40 * s);
        p.drawImage(0, 0, cloudLayer(image.size(), s, rng));
        // The first stars in the violet top of the sky.
        for (int i = 0; i < 26; ++i) {
            const QPointF c(rng.bounded(w), rng.bounded(h * 0.32));
            drawSparkle(p, c, (1.2 + rng.bounded(2.2)) * s,
                        QColor(255, 250, 240, 150 + rng.bounded(90)));
        }
        drawHills(p, w, h, s);
        const QPointF hand = drawCouple(p, QPointF(232 * s, 336 * s), s * 1.05, QColor(52, 28, 64));
        drawBalloonBunch(p, hand, s);
        // A few small hearts drifting away from the bunch.
        drawFlatHeart(p, QPointF(372 * s, 96 * s), 16 * s, QColor(255, 236, 240, 190), 14);
        drawFlatHeart(p, QPointF(404 * s, 62 * s), 11 * s, QColor(255, 236, 240, 150), -10);
        drawFlatHeart(p, QPointF(96 * s, 120 * s), 13 * s, QColor(255, 236, 240, 140), -16);
        // A soft warm vignette.
        QRadialGradient veil(QPointF(w / 2, h * 0.45), w * 0.7);
        veil.setColorAt(0.6, QColor(40, 10, 40, 0));
        veil.setColorAt(1.0, QColor(40, 10, 40, 70));
        p.fillRect(QRectF(0, 0, w, h), veil);
    }
    return image.scaled(640, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage drawCard() {
    const qreal s = 2.0;
    const qreal w = 600 * s, h = 315 * s;
    QImage image = canvas(int(w), int(h), Qt::white);
    QRandomGenerator rng(4045);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        QLinearGradient back(QPointF(0, 0), QPointF(w, h));
        back.setColorAt(0, QColor(255, 250, 244));
        back.setColorAt(1, QColor(255, 232, 222));
        p.fillRect(QRectF(0, 0, w, h), back);
        drawGlow(p, QPointF(110 * s, 60 * s), 200 * s, QColor(243, 150, 28, 40));
        drawGlow(p, QPointF(520 * s, 280 * s), 220 * s, QColor(243, 150, 28, 34));

        // The big phrase in orange and a sentence card, as on a page of the style.
        drawShadowText(p, QRectF(40 * s, 56 * s, 340 * s, 80 * s), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("想对你说"), font(kSans, 62 * s, QFont::Bold),
                       QColor(243, 150, 28), QColor(0, 0, 0, 20), QPointF(0, 3 * s));
        const QRectF card(44 * s, 160 * s, 300 * s, 92 * s);
        p.setPen(QPen(QColor(60, 40, 60, 22), 1 * s));
        p.setBrush(QColor(255, 255, 255, 235));
        p.drawRoundedRect(card, 18 * s, 18 * s);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(243, 150, 28, 190));
        p.drawRoundedRect(
            QRectF(card.left() + 12 * s, card.top() + 18 * s, 3 * s, card.height() - 36 * s),
            1.5 * s, 1.5 * s);
        drawShadowText(p, card.adjusted(28 * s, 0, -16 * s, 0),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                       QStringLiteral("有些话，我想一页一页，\n慢慢说给你听。"),
                       font(kSans, 19 * s), QColor(59, 58, 68), QColor(0, 0, 0, 0));
        // Progress bars along the top, like the page's own.
        for (int i = 0; i < 12; ++i) {
            const QRectF bar((40 + i * 22) * s, 26 * s, 18 * s, 3 * s);
            p.setBrush(i < 5 ? QColor(243, 150, 28) : QColor(128, 128, 128, 70));
            p.drawRoundedRect(bar, 1.5 * s, 1.5 * s);
        }
        // A small balloon bunch on the right.
        p.save();
        const QPointF hand(470 * s, 292 * s);
        drawBalloonBunch(p, hand, s * 0.95);
        p.restore();
        for (int i = 0; i < 10; ++i) {
            drawSparkle(p, QPointF((380 + rng.bounded(200.0)) * s, (20 + rng.bounded(120.0)) * s),
                        (2 + rng.bounded(3.0)) * s, QColor(243, 150, 28, 120));
        }
    }
    return image.scaled(600, 315, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

std::vector<Picture> fg4Pictures() {
    const QString folder = kBiaobaiFolder + QStringLiteral("/fg4/");
    return {
        {folder + QStringLiteral("top.jpg"), drawTopPicture},
        {folder + QStringLiteral("card.jpg"), drawCard},
    };
}

}  // namespace art
