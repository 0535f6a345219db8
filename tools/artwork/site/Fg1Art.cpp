// Pictures of page style 1 (a night "music video" with a photo in the middle):
//   fg1/photo.jpg  the sample photo: two people on a hill under a starry sky, a glowing heart
//                  above them;
//   fg1/card.jpg   the link card chat apps show for a published page.

#include "Paint.h"
#include "SiteArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace art {

namespace {

const QString kFolder = kBiaobaiFolder + QStringLiteral("/fg1/");

void fillSky(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, QColor(9, 9, 36));
    g.setColorAt(0.45, QColor(32, 20, 72));
    g.setColorAt(0.75, QColor(92, 38, 104));
    g.setColorAt(1.0, QColor(196, 86, 120));
    p.fillRect(r, g);
}

// Small stars, denser along a tilted band so the sky has a milky way.
void drawStarfield(QPainter& p, const QRectF& area, int count, QRandomGenerator& rng) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        QPointF c(area.left() + rng.bounded(area.width()), area.top() + rng.bounded(area.height()));
        if (i % 3 == 0) {
            // Pull a third of the stars towards the band y = 0.15h + 0.35x.
            const qreal bandY = area.top() + area.height() * 0.12 + (c.x() - area.left()) * 0.32;
            c.setY(bandY + (rng.bounded(2.0) - 1.0) * area.height() * 0.12);
        }
        const qreal r = 0.35 + rng.bounded(1.0) * rng.bounded(1.0) * 1.3;
        p.setBrush(QColor(255, 248, 240, 110 + rng.bounded(145)));
        p.drawEllipse(c, r, r);
    }
    p.restore();
}

void drawMilkyWay(QPainter& p, const QRectF& area, QRandomGenerator& rng) {
    for (int i = 0; i < 14; ++i) {
        const qreal x = area.left() + area.width() * (i / 13.0);
        const qreal y = area.top() + area.height() * 0.12 + (x - area.left()) * 0.32;
        drawGlow(p, QPointF(x, y + rng.bounded(20.0) - 10),
                 area.height() * (0.10 + rng.bounded(0.06)), QColor(170, 140, 255, 26));
    }
}

void drawBrightStar(QPainter& p, QPointF c, qreal r) {
    drawGlow(p, c, r * 4, QColor(255, 240, 255, 70));
    drawSparkle(p, c, r * 2.2, QColor(255, 250, 255, 230));
}

// The couple seen from behind the light: a boy on the left, a girl on the right, holding hands.
void drawCouple(QPainter& p, QPointF ground, qreal height) {
    const qreal s = height / 120.0;
    const auto at = [&](qreal dx, qreal dy) {
        return QPointF(ground.x() + dx * s, ground.y() - dy * s);
    };
    const QColor ink(18, 10, 30);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);

    // Boy.
    p.drawEllipse(at(-25, 104), 10.5 * s, 11.5 * s);
    QPainterPath boy(at(-38, 88));
    boy.cubicTo(at(-33, 92), at(-17, 92), at(-12, 88));  // shoulders
    boy.lineTo(at(-9, 60));                              // right side of the torso
    boy.lineTo(at(-13, 50));
    boy.lineTo(at(-14, 2));  // right leg
    boy.lineTo(at(-21, 0));
    boy.lineTo(at(-24, 46));
    boy.lineTo(at(-27, 2));  // left leg
    boy.lineTo(at(-35, 0));
    boy.lineTo(at(-36, 50));
    boy.lineTo(at(-40, 60));
    boy.closeSubpath();
    p.drawPath(boy);
    p.drawRect(QRectF(at(-29, 96), QSizeF(8 * s, 6 * s)));  // neck
    // His arm reaching over to her hand.
    QPainterPath boyArm(at(-14, 86));
    boyArm.cubicTo(at(-8, 76), at(-4, 64), at(0, 56));
    boyArm.lineTo(at(2, 52));
    boyArm.lineTo(at(-3, 55));
    boyArm.cubicTo(at(-8, 64), at(-12, 72), at(-17, 80));
    boyArm.closeSubpath();
    p.drawPath(boyArm);
    // His other arm along the body.
    QPainterPath boyArm2(at(-37, 86));
    boyArm2.cubicTo(at(-43, 74), at(-44, 62), at(-42, 52));
    boyArm2.lineTo(at(-38, 52));
    boyArm2.cubicTo(at(-39, 62), at(-37, 72), at(-34, 80));
    boyArm2.closeSubpath();
    p.drawPath(boyArm2);

    // Girl: long hair, a flared dress.
    QPainterPath hair;
    hair.addEllipse(at(22, 101), 10.5 * s, 11 * s);
    QPainterPath fall(at(12, 102));
    fall.cubicTo(at(10, 88), at(12, 80), at(16, 74));
    fall.lineTo(at(30, 74));
    fall.cubicTo(at(34, 82), at(34, 92), at(32, 102));
    fall.closeSubpath();
    p.drawPath(hair.united(fall));
    p.drawRect(QRectF(at(19, 92), QSizeF(6 * s, 5 * s)));
    QPainterPath girl(at(11, 84));
    girl.cubicTo(at(15, 88), at(29, 88), at(33, 84));  // shoulders
    girl.lineTo(at(29, 62));                           // waist
    girl.cubicTo(at(34, 48), at(38, 36), at(41, 28));  // dress
    girl.cubicTo(at(30, 25), at(14, 25), at(3, 28));
    girl.cubicTo(at(6, 36), at(10, 48), at(15, 62));
    girl.closeSubpath();
    p.drawPath(girl);
    p.drawRect(QRectF(at(15, 28), QSizeF(4.5 * s, 28 * s)));  // legs
    p.drawRect(QRectF(at(25, 28), QSizeF(4.5 * s, 28 * s)));
    p.drawEllipse(at(17, 1), 4 * s, 2 * s);
    p.drawEllipse(at(28, 1), 4 * s, 2 * s);
    // Her arm down to his hand.
    QPainterPath girlArm(at(13, 82));
    girlArm.cubicTo(at(8, 72), at(5, 62), at(2, 56));
    girlArm.lineTo(at(0, 52));
    girlArm.lineTo(at(-1, 57));
    girlArm.cubicTo(at(2, 64), at(4, 72), at(9, 80));
    girlArm.closeSubpath();
    p.drawPath(girlArm);
    p.drawEllipse(at(0.5, 53.5), 3.2 * s, 3.2 * s);  // the joined hands

    p.restore();
}

void drawFirefly(QPainter& p, QPointF c, qreal r) {
    drawGlow(p, c, r * 5, QColor(255, 200, 120, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 180, 230));
    p.drawEllipse(c, r, r);
}

// A heart of light: a wide halo, a soft pink body and a bright core.
void drawHeartOfLight(QPainter& p, QPointF centre, qreal width) {
    drawGlow(p, centre, width * 1.6, QColor(255, 120, 170, 70));
    drawGlow(p, centre, width * 0.9, QColor(255, 150, 190, 90));
    const int margin = qRound(width * 0.35);
    QImage halo = canvas(qRound(width) + 2 * margin, qRound(width) + 2 * margin);
    {
        QPainter hp(&halo);
        hp.setRenderHint(QPainter::Antialiasing);
        hp.setPen(Qt::NoPen);
        hp.setBrush(QColor(255, 110, 160, 220));
        hp.drawPath(
            heartPath(heartBox(QPointF(halo.width() / 2.0, halo.height() / 2.0), width * 1.05)));
    }
    halo = blurred(halo, qMax(2, qRound(width * 0.08)));
    p.drawImage(QPointF(centre.x() - halo.width() / 2.0, centre.y() - halo.height() / 2.0), halo);
    drawGlossyHeart(p, heartBox(centre, width), QColor(255, 190, 215), QColor(236, 60, 120), false);
    drawGlow(p, centre + QPointF(0, -width * 0.05), width * 0.28, QColor(255, 245, 250, 150));
}

QImage drawPhoto() {
    const int w = 640;
    const int h = 480;
    QImage image = canvas(w, h, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(20240214U);

    fillSky(p, QRectF(0, 0, w, h));
    drawMilkyWay(p, QRectF(0, 0, w, h * 0.7), rng);
    drawStarfield(p, QRectF(0, 0, w, h * 0.78), 520, rng);
    drawBrightStar(p, QPointF(86, 70), 3.0);
    drawBrightStar(p, QPointF(548, 58), 2.6);
    drawBrightStar(p, QPointF(470, 150), 2.0);
    drawBrightStar(p, QPointF(150, 190), 1.8);

    // A warm glow on the horizon behind the hill.
    drawGlow(p, QPointF(w * 0.5, h * 0.86), w * 0.55, QColor(255, 150, 150, 90));

    // Far hills, then the near hill the couple stands on.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(52, 28, 78));
    QPainterPath far(QPointF(0, h * 0.80));
    far.cubicTo(QPointF(w * 0.18, h * 0.72), QPointF(w * 0.32, h * 0.78),
                QPointF(w * 0.46, h * 0.80));
    far.cubicTo(QPointF(w * 0.62, h * 0.82), QPointF(w * 0.78, h * 0.70), QPointF(w, h * 0.76));
    far.lineTo(w, h);
    far.lineTo(0, h);
    p.drawPath(far);
    p.setBrush(QColor(30, 16, 50));
    QPainterPath near(QPointF(0, h * 0.92));
    near.cubicTo(QPointF(w * 0.25, h * 0.84), QPointF(w * 0.40, h * 0.815),
                 QPointF(w * 0.52, h * 0.815));
    near.cubicTo(QPointF(w * 0.68, h * 0.815), QPointF(w * 0.82, h * 0.86), QPointF(w, h * 0.90));
    near.lineTo(w, h);
    near.lineTo(0, h);
    p.drawPath(near);
    // Grass tufts along the ridge.
    p.setBrush(QColor(24, 12, 40));
    for (int i = 0; i < 90; ++i) {
        const qreal x = rng.bounded(static_cast<double>(w));
        const qreal t = x / w;
        const qreal ridge = t < 0.52 ? h * (0.92 - 0.105 * std::sin(t / 0.52 * M_PI / 2))
                                     : h * (0.815 + 0.085 * std::pow((t - 0.52) / 0.48, 1.4));
        const qreal blade = 4 + rng.bounded(9.0);
        QPolygonF tuft({QPointF(x - 1.6, ridge + 2),
                        QPointF(x + rng.bounded(4.0) - 2, ridge - blade),
                        QPointF(x + 1.6, ridge + 2)});
        p.drawPolygon(tuft);
    }

    drawHeartOfLight(p, QPointF(w * 0.52, h * 0.33), 132);
    for (const QPointF c : {QPointF(w * 0.36, h * 0.22), QPointF(w * 0.68, h * 0.26),
                            QPointF(w * 0.42, h * 0.47), QPointF(w * 0.63, h * 0.45)}) {
        drawSparkle(p, c, 6 + rng.bounded(5.0), QColor(255, 230, 245, 220));
    }

    // Light from the heart falls on the ridge around the couple.
    drawGlow(p, QPointF(w * 0.52, h * 0.80), 120, QColor(255, 150, 190, 60));
    drawCouple(p, QPointF(w * 0.52, h * 0.818), 118);

    for (int i = 0; i < 18; ++i) {
        drawFirefly(p,
                    QPointF(rng.bounded(static_cast<double>(w)), h * 0.66 + rng.bounded(h * 0.3)),
                    0.9 + rng.bounded(1.2));
    }
    // A soft vignette so the frame on the page holds the eye in the middle.
    QRadialGradient vignette(QPointF(w / 2.0, h / 2.0), w * 0.65);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 10, 110));
    p.fillRect(QRectF(0, 0, w, h), vignette);
    return image;
}

QImage drawCard() {
    const int w = 600;
    const int h = 315;
    QImage image = canvas(w, h, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QRandomGenerator rng(5201314U);

    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(14, 10, 44));
    g.setColorAt(0.55, QColor(46, 22, 88));
    g.setColorAt(1, QColor(120, 40, 110));
    p.fillRect(QRectF(0, 0, w, h), g);
    drawStarfield(p, QRectF(0, 0, w, h), 260, rng);
    drawBokeh(p, QRectF(0, h * 0.4, w, h * 0.6), 16, 8, 26, QColor(255, 120, 190, 60), rng);
    drawBrightStar(p, QPointF(520, 52), 2.6);
    drawBrightStar(p, QPointF(64, 250), 2.0);

    drawHeartOfLight(p, QPointF(150, h / 2.0 + 4), 128);
    drawSparkle(p, QPointF(92, 92), 8, QColor(255, 235, 250));
    drawSparkle(p, QPointF(214, 222), 6, QColor(255, 235, 250));

    const QRectF titleBox(270, 92, 310, 70);
    drawGlowText(p, titleBox, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("有句话想对你说"),
                 font(kSans, 40, QFont::Bold), QColor(255, 240, 246), QColor(255, 90, 160), 5);
    drawRainbowText(p, QPointF(272, 206), QStringLiteral("点开，是我的心意"),
                    font(kSans, 26, QFont::Medium), 0.05);
    p.setPen(QPen(QColor(255, 180, 215, 140), 1.4));
    p.drawLine(QPointF(272, 170), QPointF(520, 170));
    return image;
}

}  // namespace

std::vector<Picture> fg1Pictures() {
    return {
        {kFolder + QStringLiteral("photo.jpg"), drawPhoto},
        {kFolder + QStringLiteral("card.jpg"), drawCard},
    };
}

}  // namespace art
