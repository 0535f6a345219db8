// Draws the frames of the sample video clip; ClipMain.cpp pipes them into ffmpeg.

#include "ClipArt.h"

#include "Paint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <vector>

namespace art {

namespace {

constexpr qreal kW = 640;
constexpr qreal kH = 360;
constexpr qreal kTwoPi = 6.283185307179586;
const QPointF kHeartCentre(320, 150);
constexpr qreal kHeartWidth = 230;

// The story, in seconds: out of the dark, the heart is traced in light, fills and starts to
// beat, "我爱你" appears in it, the line below follows one character at a time, and after a
// while everything sinks back into the dark, so the clip can loop.
constexpr qreal kFadeIn = 1.2;
constexpr qreal kTraceFrom = 1.4;
constexpr qreal kTraceTo = 5.4;
constexpr qreal kFillFrom = 5.0;
constexpr qreal kFillTo = 6.8;
constexpr qreal kLoveFrom = 6.6;
constexpr qreal kLoveTo = 8.4;
constexpr qreal kLineFrom = 9.0;
constexpr qreal kLineStep = 0.16;  // between one character and the next
constexpr qreal kLineFade = 0.8;   // for each character
constexpr qreal kFadeOutFrom = 16.8;
constexpr qreal kEnd = static_cast<qreal>(kClipFrames) / kClipFps;

const QString kLove = QStringLiteral("我爱你");
const QString kLine = QStringLiteral("遇见你，是我最美的意外");
constexpr qreal kLineBaseline = 318;

qreal smooth(qreal from, qreal to, qreal t) {
    const qreal x = std::clamp((t - from) / (to - from), 0.0, 1.0);
    return x * x * (3 - 2 * x);
}

// A heartbeat: a strong beat and a softer one a quarter second later, every 1.25 s.
qreal pulse(qreal t) {
    if (t < kFillTo)
        return 0;
    const qreal tau = std::fmod(t - kFillTo, 1.25);
    const auto beat = [](qreal x) { return std::exp(-(x / 0.08) * (x / 0.08)); };
    return (beat(tau) + 0.55 * beat(tau - 0.24)) * smooth(kFillTo, kFillTo + 0.6, t);
}

QFont loveFont() {
    return font(kSerif, 56, QFont::Bold);
}
QFont lineFont() {
    return font(kSerif, 28, QFont::Normal);
}

// The sky, the moon and a faint haze never change: drawn once.
const QImage& sky() {
    static const QImage image = [] {
        QImage img = canvas(int(kW), int(kH), Qt::black);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 0, kH);
        g.setColorAt(0, QColor(8, 10, 38));
        g.setColorAt(0.45, QColor(30, 22, 80));
        g.setColorAt(0.8, QColor(90, 42, 112));
        g.setColorAt(1, QColor(150, 68, 122));
        p.fillRect(img.rect(), g);
        QRandomGenerator rng(77);
        drawBokeh(p, QRectF(0, 0, kW, kH * 0.7), 14, 24, 70, QColor(170, 130, 255, 16), rng);

        const QPointF moon(548, 66);
        drawGlow(p, moon, 95, QColor(255, 240, 210, 55));
        drawGlow(p, moon, 40, QColor(255, 244, 220, 70));
        QPainterPath disc;
        disc.addEllipse(moon, 22, 22);
        QPainterPath bite;
        bite.addEllipse(moon + QPointF(11, -6), 20, 20);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 244, 206));
        p.drawPath(disc.subtracted(bite));
        return img;
    }();
    return image;
}

// Two ranges of hills in front of everything that rises, so the hearts come up from behind.
const QImage& hills() {
    static const QImage image = [] {
        QImage img = canvas(int(kW), int(kH));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        QPainterPath far(QPointF(0, 306));
        far.cubicTo(QPointF(120, 282), QPointF(220, 294), QPointF(330, 302));
        far.cubicTo(QPointF(440, 310), QPointF(540, 276), QPointF(640, 292));
        far.lineTo(kW, kH);
        far.lineTo(0, kH);
        p.setBrush(QColor(46, 26, 72));
        p.drawPath(far);
        QPainterPath near(QPointF(0, 332));
        near.cubicTo(QPointF(150, 314), QPointF(250, 342), QPointF(380, 334));
        near.cubicTo(QPointF(480, 328), QPointF(570, 312), QPointF(640, 324));
        near.lineTo(kW, kH);
        near.lineTo(0, kH);
        p.setBrush(QColor(18, 11, 34));
        p.drawPath(near);
        return img;
    }();
    return image;
}

struct Star {
    QPointF at;
    qreal radius, alpha, hz, phase;
};

const std::vector<Star>& stars() {
    static const std::vector<Star> list = [] {
        std::vector<Star> s;
        QRandomGenerator rng(2024);
        for (int i = 0; i < 150; ++i) {
            s.push_back({QPointF(rng.bounded(kW), rng.bounded(kH * 0.78)), 0.45 + rng.bounded(0.9),
                         110 + rng.bounded(145.0), 0.25 + rng.bounded(1.0), rng.bounded(kTwoPi)});
        }
        return s;
    }();
    return list;
}

struct Floater {
    qreal x, speed, size, sway, swayHz, phase, offset;
    QColor colour;
};

const std::vector<Floater>& floaters() {
    static const std::vector<Floater> list = [] {
        static const QColor kColours[] = {QColor(255, 105, 160), QColor(255, 150, 190),
                                          QColor(255, 84, 124), QColor(255, 192, 212),
                                          QColor(255, 206, 150)};
        std::vector<Floater> f;
        QRandomGenerator rng(520);
        for (int i = 0; i < 28; ++i) {
            const qreal size = 9 + rng.bounded(18.0);
            f.push_back({16 + rng.bounded(kW - 32), 14 + size * 1.3 + rng.bounded(10.0), size,
                         6 + rng.bounded(14.0), 0.15 + rng.bounded(0.3), rng.bounded(kTwoPi),
                         rng.bounded(kH + 80), kColours[rng.bounded(5)]});
        }
        return f;
    }();
    return list;
}

void drawStarsAt(QPainter& p, qreal t) {
    p.setPen(Qt::NoPen);
    for (const Star& s : stars()) {
        const qreal twinkle = 0.55 + 0.45 * std::sin(kTwoPi * s.hz * t + s.phase);
        p.setBrush(QColor(255, 250, 240, int(s.alpha * twinkle)));
        p.drawEllipse(s.at, s.radius, s.radius);
        if (s.radius > 1.25)
            drawSparkle(p, s.at, 2.5 + 2.5 * twinkle, QColor(255, 250, 235, int(150 * twinkle)));
    }
}

// One shooting star early on, across the upper left.
void drawShootingStar(QPainter& p, qreal t) {
    const qreal u = (t - 3.0) / 0.9;
    if (u <= 0 || u >= 1)
        return;
    const QPointF from(60, 40);
    const QPointF to(250, 110);
    const QPointF head = from + (to - from) * u;
    const QPointF tail = head - (to - from) * 0.35;
    QLinearGradient g(tail, head);
    const qreal fade = std::sin(u * kTwoPi / 2);
    g.setColorAt(0, QColor(255, 255, 255, 0));
    g.setColorAt(1, QColor(255, 250, 230, int(230 * fade)));
    p.setPen(QPen(QBrush(g), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tail, head);
    drawGlow(p, head, 6, QColor(255, 250, 230, int(200 * fade)));
}

void drawFloaters(QPainter& p, qreal t) {
    for (const Floater& f : floaters()) {
        const qreal y = kH + 30 - std::fmod(f.offset + f.speed * t, kH + 80);
        const qreal swing = std::sin(kTwoPi * f.swayHz * t + f.phase);
        const QPointF at(f.x + f.sway * swing, y);
        // Fully lit low down, gone near the top.
        const qreal alpha = std::clamp((y + 10) / 190, 0.0, 1.0) * (0.45 + f.size / 50);
        QColor glow = f.colour;
        glow.setAlphaF(0.3 * alpha);
        drawGlow(p, at, f.size * 1.5, glow);
        QColor body = f.colour;
        body.setAlphaF(alpha);
        drawFlatHeart(p, at, f.size, body, 14 * swing);
    }
}

QPainterPath bigHeart() {
    return heartPath(heartBox(kHeartCentre, kHeartWidth));
}

// A soft halo around the filled heart, blurred once.
const QImage& heartHalo() {
    static const QImage image = [] {
        QImage img = canvas(int(kW), int(kH));
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(255, 86, 150), 22));
            p.setBrush(QColor(255, 86, 150));
            p.drawPath(bigHeart());
        }
        return blurred(img, 12);
    }();
    return image;
}

// The part of the outline drawn by `progress` (0..1): two strands start at the tip and climb
// the two sides to meet in the dip between the lobes.
QPolygonF strand(const QPainterPath& heart, qreal progress, bool left) {
    QPolygonF points;
    constexpr int kSteps = 160;
    for (int i = 0; i <= kSteps; ++i) {
        const qreal along = progress / 2 * i / kSteps;
        points << heart.pointAtPercent(left ? along : 1 - along);
    }
    return points;
}

void drawTracing(QPainter& p, const QPainterPath& heart, qreal progress, qreal strength) {
    if (progress <= 0)
        return;
    struct Stroke {
        qreal width;
        QColor colour;
    };
    const Stroke strokes[] = {{16, QColor(255, 80, 150, 36)},
                              {8, QColor(255, 110, 170, 90)},
                              {3.2, QColor(255, 215, 230, 235)}};
    for (bool left : {true, false}) {
        const QPolygonF line = strand(heart, progress, left);
        for (const Stroke& s : strokes) {
            QColor c = s.colour;
            c.setAlphaF(c.alphaF() * strength);
            p.setPen(QPen(c, s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(line);
        }
        // The pen's bright tip while it is still drawing.
        if (progress < 1) {
            drawGlow(p, line.last(), 16, QColor(255, 190, 220, 160));
            drawSparkle(p, line.last(), 9, QColor(255, 255, 255, 235));
        }
    }
}

void drawFilledHeart(QPainter& p, const QPainterPath& heart, qreal fill, qreal beat) {
    if (fill <= 0)
        return;
    p.save();
    p.setOpacity(fill * (0.7 + 0.3 * beat));
    p.drawImage(0, 0, heartHalo());
    p.setOpacity(fill * 0.92);
    QRadialGradient g(kHeartCentre + QPointF(0, -20), kHeartWidth * 0.62);
    g.setColorAt(0, QColor(255, 150, 185));
    g.setColorAt(0.65, QColor(240, 78, 130));
    g.setColorAt(1, QColor(196, 30, 92));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(heart);
    // A gloss on the left lobe.
    const QRectF box = heartBox(kHeartCentre, kHeartWidth);
    const QRectF gloss(box.left() + box.width() * 0.13, box.top() + box.height() * 0.09,
                       box.width() * 0.24, box.height() * 0.17);
    QRadialGradient shine(gloss.center(), gloss.width() * 0.6);
    shine.setColorAt(0, QColor(255, 255, 255, 120));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.translate(gloss.center());
    p.rotate(-35);
    p.translate(-gloss.center());
    p.drawEllipse(gloss);
    p.restore();
}

// Sparkles that twinkle around the heart once it is lit.
void drawHeartSparkles(QPainter& p, qreal t, qreal strength) {
    if (strength <= 0)
        return;
    QRandomGenerator rng(14);
    for (int i = 0; i < 12; ++i) {
        const qreal angle = kTwoPi * i / 12 + rng.bounded(0.3);
        const qreal reach = kHeartWidth * (0.62 + rng.bounded(0.12));
        const QPointF at =
            kHeartCentre + QPointF(std::cos(angle) * reach, std::sin(angle) * reach * 0.82 - 4);
        const qreal twinkle = std::max(0.0, std::sin(kTwoPi * 0.55 * t + i * 2.1));
        if (twinkle > 0.05)
            drawSparkle(p, at, 3 + 6 * twinkle,
                        QColor(255, 240, 200, int(230 * twinkle * strength)));
    }
}

// The halo of a text, drawn once in its final place and then only faded.
QImage textHalo(const QString& text, const QFont& f, const QRectF& box, QColor glow, int radius) {
    QImage img = canvas(int(kW), int(kH));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(f);
        p.setPen(glow);
        p.drawText(box, Qt::AlignCenter, text);
    }
    return blurred(img, radius);
}

QRectF loveBox() {
    return QRectF(0, kHeartCentre.y() - 52, kW, 90);
}

void drawLove(QPainter& p, qreal t) {
    const qreal a = smooth(kLoveFrom, kLoveTo, t);
    if (a <= 0)
        return;
    // A deep rose halo keeps the white characters clear of the pink heart.
    static const QImage halo = textHalo(kLove, loveFont(), loveBox(), QColor(120, 0, 44), 4);
    const qreal rise = (1 - a) * 10;
    p.save();
    p.translate(0, rise);
    p.setOpacity(a);
    p.drawImage(0, 0, halo);
    p.drawImage(0, 0, halo);
    p.setFont(loveFont());
    p.setPen(QColor(255, 255, 255));
    p.drawText(loveBox(), Qt::AlignCenter, kLove);
    p.restore();
}

void drawLine(QPainter& p, qreal t) {
    if (t < kLineFrom)
        return;
    const QFont f = lineFont();
    const QFontMetricsF metrics(f);
    const qreal left = (kW - metrics.horizontalAdvance(kLine)) / 2;
    const QRectF box(0, kLineBaseline - metrics.ascent(), kW, metrics.height());
    static const QImage halo = textHalo(kLine, lineFont(), box, QColor(255, 80, 160), 4);
    p.save();
    p.setFont(f);
    for (int i = 0; i < kLine.size(); ++i) {
        const qreal from = kLineFrom + i * kLineStep;
        const qreal a = smooth(from, from + kLineFade, t);
        if (a <= 0)
            break;
        // Each character's share of the halo: the cell under it, the ends open to the sides.
        const qreal x0 = i == 0 ? 0 : left + metrics.horizontalAdvance(kLine.left(i));
        const qreal x1 =
            i == kLine.size() - 1 ? kW : left + metrics.horizontalAdvance(kLine.left(i + 1));
        p.setClipRect(QRectF(x0, 0, x1 - x0, kH));
        p.setOpacity(a);
        p.drawImage(0, 0, halo);
        p.drawImage(0, 0, halo);
        p.setPen(QColor(255, 240, 246));
        p.drawText(
            QPointF(left + metrics.horizontalAdvance(kLine.left(i)), kLineBaseline + (1 - a) * 6),
            kLine.mid(i, 1));
    }
    p.restore();
}

}  // namespace

QImage drawClipFrame(int frame) {
    const qreal t = static_cast<qreal>(frame) / kClipFps;
    QImage image = sky().copy();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    drawStarsAt(p, t);
    drawShootingStar(p, t);
    drawFloaters(p, t);
    p.drawImage(0, 0, hills());

    const qreal beat = pulse(t);
    const qreal fill = smooth(kFillFrom, kFillTo, t);
    p.save();
    // The heart swells a little on each beat, about its centre.
    const qreal scale = 1 + 0.035 * beat;
    p.translate(kHeartCentre);
    p.scale(scale, scale);
    p.translate(-kHeartCentre);
    const QPainterPath heart = bigHeart();
    drawFilledHeart(p, heart, fill, beat);
    drawTracing(p, heart, smooth(kTraceFrom, kTraceTo, t), 1 - 0.5 * fill);
    p.restore();
    drawHeartSparkles(p, t, smooth(kFillTo, kFillTo + 1, t));
    drawLove(p, t);
    drawLine(p, t);

    // In from the dark and back into it.
    const qreal light = smooth(0, kFadeIn, t) * (1 - smooth(kFadeOutFrom, kEnd, t));
    if (light < 1)
        p.fillRect(image.rect(), QColor(0, 0, 0, int(255 * (1 - light))));
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

}  // namespace art
