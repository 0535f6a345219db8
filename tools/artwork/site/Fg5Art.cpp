// Pictures of page style 5, the typed love letter with floating name characters: a warm
// sunset sky with soft lights behind the page, the glossy heart the floating characters sit
// in, the postage stamp on the letter and the card chat apps show for a shared link.

#include "SiteArt.h"

#include "Paint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace art {
namespace {

const QString kFolder = kBiaobaiFolder + QStringLiteral("/fg5/");

// The page's sky: peach at the top, rose in the middle, lavender below.
void paintSky(QPainter& p, const QRectF& area) {
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(255, 180, 140));
    sky.setColorAt(0.45, QColor(246, 118, 160));
    sky.setColorAt(1.0, QColor(150, 96, 200));
    p.fillRect(area, sky);
    // A low sun glowing through, so the top is not flat.
    drawGlow(p, QPointF(area.left() + area.width() * 0.72, area.top() + area.height() * 0.18),
             area.width() * 0.45, QColor(255, 232, 190, 150));
    drawGlow(p, QPointF(area.left() + area.width() * 0.15, area.top() + area.height() * 0.85),
             area.width() * 0.4, QColor(255, 150, 210, 90));
}

// Scattered small hearts and twinkles, seeded so every build draws the same picture.
void paintConfetti(QPainter& p, const QRectF& area, int hearts, int sparkles, qreal scale,
                   QRandomGenerator& rng) {
    for (int i = 0; i < hearts; ++i) {
        const QPointF c(area.left() + rng.bounded(area.width()),
                        area.top() + rng.bounded(area.height()));
        const qreal w = scale * (14 + rng.bounded(26));
        const int alpha = 40 + rng.bounded(60);
        if (i % 3 == 0)
            drawOutlineHeart(p, c, w, QColor(255, 255, 255, alpha), scale * 1.6,
                             rng.bounded(40) - 20);
        else
            drawFlatHeart(p, c, w, QColor(255, 240, 245, alpha), rng.bounded(40) - 20);
    }
    for (int i = 0; i < sparkles; ++i) {
        const QPointF c(area.left() + rng.bounded(area.width()),
                        area.top() + rng.bounded(area.height()));
        drawSparkle(p, c, scale * (5 + rng.bounded(9)),
                    QColor(255, 250, 225, 170 + rng.bounded(60)));
    }
}

QImage drawBackground() {
    const int w = 1400;
    const int h = 1000;
    QImage image = canvas(w, h);
    QRandomGenerator rng(5205);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        paintSky(p, QRectF(0, 0, w, h));
        drawBokeh(p, QRectF(0, 0, w, h), 26, 40, 130, QColor(255, 255, 255, 70), rng);
        drawBokeh(p, QRectF(0, 0, w, h), 18, 30, 90, QColor(255, 214, 120, 60), rng);
    }
    // The lights are out of focus; the hearts and twinkles in front are sharp.
    image = blurred(image, 6);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintConfetti(p, QRectF(0, 0, w, h), 34, 22, 1.0, rng);
    return image;
}

// The bubble a floating character sits in: a glossy rose heart with room for one character.
QImage drawFloatHeart() {
    QImage image = canvas(160, 150);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawGlossyHeart(p, QRectF(10, 8, 140, 126), QColor(255, 150, 186), QColor(236, 64, 122), false);
    return image;
}

// A postage stamp with scalloped edges, a little sunset inside and a red heart postmark.
QImage drawStamp() {
    const int w = 168;
    const int h = 200;
    QImage image = canvas(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    // Paper with round bites along every edge.
    const QRectF paper(8, 8, w - 16, h - 16);
    QPainterPath edge;
    edge.addRect(paper);
    const qreal bite = 5.5;
    const qreal stepX = paper.width() / 11;
    const qreal stepY = paper.height() / 13;
    QPainterPath holes;
    for (int i = 0; i <= 11; ++i) {
        holes.addEllipse(QPointF(paper.left() + i * stepX, paper.top()), bite, bite);
        holes.addEllipse(QPointF(paper.left() + i * stepX, paper.bottom()), bite, bite);
    }
    for (int i = 0; i <= 13; ++i) {
        holes.addEllipse(QPointF(paper.left(), paper.top() + i * stepY), bite, bite);
        holes.addEllipse(QPointF(paper.right(), paper.top() + i * stepY), bite, bite);
    }
    const QPainterPath shape = edge.subtracted(holes);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 30, 60, 40));
    p.drawPath(shape.translated(2, 3));
    p.setBrush(QColor(255, 253, 248));
    p.drawPath(shape);

    const QRect inner(22, 22, w - 44, h - 72);
    p.drawImage(inner, sceneryPhoto(Scenery::Sunset, inner.size()));
    p.setPen(QPen(QColor(214, 80, 120), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inner);
    drawGlossyHeart(p,
                    heartBox(QPointF(inner.center().x(), inner.top() + inner.height() * 0.62), 54),
                    QColor(255, 130, 160), QColor(220, 40, 90));

    p.setPen(QColor(196, 48, 96));
    p.setFont(font(kLatin, 20, QFont::Bold));
    p.drawText(QRectF(22, h - 48, w - 44, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("LOVE"));
    p.setFont(font(kLatin, 18, QFont::Bold));
    p.drawText(QRectF(22, h - 48, w - 44, 26), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("520"));

    // The postmark's wavy lines across the corner.
    p.setPen(QPen(QColor(200, 40, 80, 120), 2.2, Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 3; ++line) {
        QPainterPath wave;
        const qreal y = 36 + line * 9;
        wave.moveTo(70, y);
        for (int x = 70; x <= 168; x += 2)
            wave.lineTo(x, y + 3 * std::sin((x - 70) / 7.0));
        p.drawPath(wave);
    }
    return image;
}

// The link card: the sky, a letter with a few typed lines and hearts floating around it.
QImage drawCard() {
    const int w = 600;
    const int h = 315;
    QImage image = canvas(w, h);
    QRandomGenerator rng(520);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        paintSky(p, QRectF(0, 0, w, h));
        drawBokeh(p, QRectF(0, 0, w, h), 14, 18, 60, QColor(255, 255, 255, 70), rng);
    }
    image = blurred(image, 3);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintConfetti(p, QRectF(0, 0, w, h), 12, 10, 0.7, rng);

    // The letter, tilted a little, with ruled lines and the start of a message.
    p.save();
    p.translate(372, 160);
    p.rotate(-4);
    const QRectF sheet(-150, -112, 300, 224);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 20, 60, 50));
    p.drawRoundedRect(sheet.translated(4, 6), 10, 10);
    p.setBrush(QColor(255, 251, 243));
    p.drawRoundedRect(sheet, 10, 10);
    p.setBrush(QColor(255, 182, 200, 200));
    p.drawRect(QRectF(-46, -124, 92, 24));
    p.setPen(QPen(QColor(240, 180, 196), 1.2));
    for (int i = 0; i < 6; ++i) {
        const qreal y = sheet.top() + 62 + i * 30;
        p.drawLine(QPointF(sheet.left() + 22, y), QPointF(sheet.right() - 22, y));
    }
    p.setPen(QColor(120, 50, 70));
    p.setFont(font(kSans, 19));
    const QStringList lines{QStringLiteral("亲爱的，"), QStringLiteral("有些话想慢慢说给你听……"),
                            QStringLiteral("每一个字都是我的心跳")};
    for (int i = 0; i < lines.size(); ++i) {
        p.drawText(QRectF(sheet.left() + 26, sheet.top() + 32 + i * 30, 250, 30),
                   Qt::AlignLeft | Qt::AlignBottom, lines[i]);
    }
    // The caret, where the typing stands.
    p.fillRect(QRectF(sheet.left() + 26 + 19 * 10 + 4, sheet.top() + 38 + 2 * 30, 2.5, 22),
               QColor(236, 64, 122));
    p.restore();

    // Name characters floating in hearts on the left.
    const QImage heart = drawFloatHeart();
    const struct {
        qreal x, y, size, alpha;
    } floats[] = {{70, 92, 92, 0.95}, {160, 206, 70, 0.85}, {52, 236, 48, 0.7}, {178, 60, 44, 0.6}};
    for (const auto& f : floats) {
        p.setOpacity(f.alpha);
        const QRectF box(f.x - f.size / 2, f.y - f.size * 0.47, f.size, f.size * 0.94);
        p.drawImage(box, heart);
        p.setOpacity(1);
        drawShadowText(p, box.adjusted(0, -f.size * 0.06, 0, 0), Qt::AlignCenter,
                       QStringLiteral("爱"), font(kSans, f.size * 0.42, QFont::Bold), Qt::white,
                       QColor(150, 20, 60, 120), QPointF(0, 1.5));
    }
    drawGlowText(p, QRectF(20, 262, 250, 44), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("一封正在打字的情书"), font(kSans, 26, QFont::Bold), Qt::white,
                 QColor(200, 30, 90), 3);
    return image;
}

}  // namespace

std::vector<Picture> fg5Pictures() {
    return {
        {kFolder + "bg.jpg", drawBackground},
        {kFolder + "heart.png", drawFloatHeart},
        {kFolder + "stamp.png", drawStamp},
        {kFolder + "card.jpg", drawCard},
    };
}

}  // namespace art
