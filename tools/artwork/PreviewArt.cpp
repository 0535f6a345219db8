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

// A point of the classic heart curve, x in -16..16 and y in about -12..17 (downwards).
QPointF heartCurve(qreal t) {
    const qreal s = std::sin(t);
    return {16 * s * s * s,
            -(13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t))};
}

void drawSnow(QPainter& p, int count, QRandomGenerator& rng, QColor colour = Qt::white,
              const QRectF& keepClear = {}) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        QColor c = colour;
        c.setAlpha(70 + rng.bounded(170));
        const qreal r = 0.6 + rng.bounded(1.4);
        const QPointF at(rng.bounded(kW), rng.bounded(kH));
        if (keepClear.contains(at))
            continue;
        p.setBrush(c);
        p.drawEllipse(at, r, r);
    }
    p.restore();
}

void drawLines(QPainter& p, QPointF origin, qreal step, const QStringList& lines, const QFont& f,
               QColor colour) {
    p.save();
    p.setFont(f);
    p.setPen(colour);
    for (int i = 0; i < lines.size(); ++i) {
        p.drawText(origin + QPointF(0, i * step), lines[i]);
    }
    p.restore();
}

void drawCaret(QPainter& p, QPointF baselineStart, const QString& before, const QFont& f,
               QColor colour) {
    const qreal x = baselineStart.x() + QFontMetricsF(f).horizontalAdvance(before) + 1.5;
    p.fillRect(QRectF(x, baselineStart.y() - f.pixelSize() * 0.85, 1.6, f.pixelSize()), colour);
}

// Style 1: a dark page with two colour-cycling headings, a picture, a music video and lines of
// text in the middle.
QImage previewTextAndVideo() {
    QImage image;
    QPainter p;
    startPreview(p, image);
    QRandomGenerator rng(1);
    fillBackground(p, {{0, QColor(12, 10, 32)}, {1, QColor(34, 12, 46)}});
    drawGlow(p, QPointF(kW / 2, 30), 120, QColor(120, 40, 160, 60));
    drawSnow(p, 60, rng);

    const QFont heading = font(kSans, 19, QFont::Bold);
    const QString first = QStringLiteral("遇见你是我最美的意外");
    const qreal w1 = QFontMetricsF(heading).horizontalAdvance(first);
    drawRainbowText(p, QPointF((kW - w1) / 2, 27), first, heading, 0.0, QColor(0, 0, 0, 120));
    const QFont heading2 = font(kSans, 16, QFont::Bold);
    const QString second = QStringLiteral("我爱你 · 一生一世");
    const qreal w2 = QFontMetricsF(heading2).horizontalAdvance(second);
    drawRainbowText(p, QPointF((kW - w2) / 2, 49), second, heading2, 0.45, QColor(0, 0, 0, 120));

    drawPolaroid(p, QPointF(46, 100), QSizeF(60, 70), -7, Scenery::Sunset);
    drawVideoFrame(p, QRectF(88, 61, 122, 80), Scenery::StarryNight, QColor(255, 70, 120));
    p.setFont(font(kLatin, 8, QFont::Bold));
    p.setPen(QColor(255, 255, 255, 210));
    p.drawText(QRectF(93, 64, 30, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("MV"));

    const QStringList lines = {QStringLiteral("第一次见你"),   QStringLiteral("心就乱了节拍"),
                               QStringLiteral("想和你看日出"), QStringLiteral("想陪你看日落"),
                               QStringLiteral("想牵你的手"),   QStringLiteral("走过每个四季"),
                               QStringLiteral("余生请多指教")};
    const QFont small = font(kSans, 9);
    for (int i = 0; i < lines.size(); ++i) {
        p.setFont(small);
        p.setPen(i % 2 ? QColor(255, 200, 220) : QColor(255, 255, 255, 230));
        p.drawText(QPointF(219, 71 + i * 11.3), lines[i]);
    }
    // The text that follows the pointer, trailing off to the lower left.
    const QString trail = QStringLiteral("我爱你");
    for (int i = 0; i < trail.size(); ++i) {
        const QColor c = QColor::fromHsv((330 + i * 40) % 360, 160, 255, 230 - i * 50);
        drawGlowText(p, QRectF(14 + i * 12, 136 - i * 3, 14, 14), Qt::AlignCenter, trail.mid(i, 1),
                     font(kSans, 11, QFont::Bold), c, QColor(255, 80, 140, 120), 1.5);
    }
    drawSparkle(p, QPointF(270, 18), 4, QColor(255, 255, 255, 220));
    drawSparkle(p, QPointF(26, 22), 3, QColor(255, 240, 200, 200));
    p.end();
    return image;
}

// Style 2: a heart of glowing particles, a typewriter letter, falling snow and a drifting
// picture.
QImage previewCanvasHeart() {
    QImage image;
    QPainter p;
    startPreview(p, image);
    QRandomGenerator rng(2);
    fillBackground(p, {{0, QColor(26, 8, 24)}, {1, QColor(8, 4, 12)}});
    const QPointF centre(214, 74);
    const qreal k = 3.9;
    drawGlow(p, centre + QPointF(0, 4), 80, QColor(255, 40, 90, 55));

    p.setPen(Qt::NoPen);
    for (int i = 0; i < 900; ++i) {
        const qreal t = rng.bounded(2 * std::numbers::pi);
        // Most particles sit on the outline; the rest fill it more sparsely.
        const qreal f = i < 520 ? 1.0 - rng.bounded(0.06) : std::sqrt(rng.bounded(1.0)) * 0.95;
        const QPointF q = centre + heartCurve(t) * k * f +
                          QPointF(rng.bounded(2.0) - 1.0, rng.bounded(2.0) - 1.0);
        const int hue = 340 + rng.bounded(30);
        QColor c = QColor::fromHsv(hue % 360, 150 + rng.bounded(100), 255);
        c.setAlpha(i < 520 ? 230 : 90 + rng.bounded(100));
        p.setBrush(c);
        const qreal r = i < 520 ? 0.9 + rng.bounded(0.9) : 0.5 + rng.bounded(0.9);
        p.drawEllipse(q, r, r);
    }
    drawGlowText(p, QRectF(centre.x() - 60, centre.y() - 22, 120, 16), Qt::AlignCenter,
                 QStringLiteral("我们已经相识"), font(kSans, 11), QColor(255, 230, 238),
                 QColor(255, 40, 100, 150));
    drawGlowText(p, QRectF(centre.x() - 62, centre.y() - 4, 124, 18), Qt::AlignCenter,
                 QStringLiteral("3650天 12时 08分"), font(kSans, 12, QFont::Bold),
                 QColor(255, 255, 255), QColor(255, 40, 100, 180));

    const QFont letter = font(kSans, 10);
    const QStringList lines = {
        QStringLiteral("//亲爱的小美："), QStringLiteral("//从遇见你的那天起，"),
        QStringLiteral("//我的世界多了一种颜色。"), QStringLiteral("//往后的每一个日子，"),
        QStringLiteral("//我都想陪你走")};
    drawLines(p, QPointF(12, 26), 15, lines.mid(0, 1), font(kSans, 11, QFont::Bold),
              QColor(255, 170, 120));
    drawLines(p, QPointF(12, 41), 15, lines.mid(1), letter, QColor(255, 214, 226));
    drawCaret(p, QPointF(12, 41 + 3 * 15), lines.last(), letter, QColor(255, 230, 240));
    p.setFont(font(kSans, 9));
    p.setPen(QColor(255, 160, 190));
    p.drawText(QRectF(170, 136, 120, 14), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("—— 永远爱你的小明"));

    drawPolaroid(p, QPointF(44, 124), QSizeF(40, 46), 9, Scenery::Balloons);
    drawSnow(p, 80, rng);
    p.end();
    return image;
}

// Style 3: a tree whose crown is made of hearts, letter lines beside it and a clock box.
QImage previewHeartTree() {
    QImage image;
    QPainter p;
    startPreview(p, image);
    QRandomGenerator rng(3);
    fillBackground(p, {{0, QColor(255, 251, 242)}, {1, QColor(253, 236, 222)}});

    // Ground.
    p.setPen(Qt::NoPen);
    QPainterPath ground(QPointF(120, kH));
    ground.cubicTo(QPointF(170, 141), QPointF(250, 141), QPointF(kW, 146));
    ground.lineTo(kW, kH);
    ground.closeSubpath();
    p.setBrush(QColor(236, 206, 180));
    p.drawPath(ground);

    // Trunk and branches.
    const QPointF base(212, 148);
    QPainterPath trunk(base + QPointF(-9, 0));
    trunk.cubicTo(base + QPointF(-5, -22), base + QPointF(-6, -40), base + QPointF(-3, -58));
    trunk.lineTo(base + QPointF(3, -58));
    trunk.cubicTo(base + QPointF(4, -40), base + QPointF(5, -22), base + QPointF(10, 0));
    trunk.closeSubpath();
    QLinearGradient bark(base + QPointF(-9, 0), base + QPointF(10, 0));
    bark.setColorAt(0, QColor(110, 64, 38));
    bark.setColorAt(1, QColor(150, 94, 60));
    p.setBrush(bark);
    p.drawPath(trunk);
    p.setBrush(Qt::NoBrush);
    const std::array<std::pair<QPointF, QPointF>, 6> branches = {
        std::pair{QPointF(0, -52), QPointF(-42, -92)},
        std::pair{QPointF(0, -55), QPointF(40, -96)},
        std::pair{QPointF(0, -57), QPointF(-6, -118)},
        std::pair{QPointF(-20, -73), QPointF(-58, -72)},
        std::pair{QPointF(20, -76), QPointF(60, -70)},
        std::pair{QPointF(-10, -88), QPointF(-30, -122)}};
    for (std::size_t i = 0; i < branches.size(); ++i) {
        p.setPen(QPen(QColor(126, 76, 46), i < 3 ? 3.2 : 2.0, Qt::SolidLine, Qt::RoundCap));
        QPainterPath b(base + branches[i].first);
        b.quadTo(base + (branches[i].first + branches[i].second) / 2 + QPointF(4, -4),
                 base + branches[i].second);
        p.drawPath(b);
    }

    // The crown: hearts scattered inside one big heart.
    const QRectF crown(132, 4, 160, 122);
    const QPainterPath crownShape = heartPath(crown);
    const std::array<QColor, 6> reds = {QColor(255, 59, 92),   QColor(255, 107, 129),
                                        QColor(255, 154, 162), QColor(232, 51, 110),
                                        QColor(255, 179, 193), QColor(250, 80, 120)};
    int placed = 0;
    while (placed < 260) {
        const QPointF q(crown.left() + rng.bounded(crown.width()),
                        crown.top() + rng.bounded(crown.height()));
        if (!crownShape.contains(q))
            continue;
        ++placed;
        QColor c = reds[static_cast<std::size_t>(rng.bounded(6))];
        c.setAlpha(200 + rng.bounded(55));
        drawFlatHeart(p, q, 6 + rng.bounded(6.0), c, rng.bounded(60.0) - 30);
    }
    // A few hearts falling and lying on the ground.
    for (const auto& [pos, angle] :
         {std::pair{QPointF(120, 104), 20.0}, std::pair{QPointF(108, 126), -25.0},
          std::pair{QPointF(276, 132), 15.0}, std::pair{QPointF(150, 144), 70.0},
          std::pair{QPointF(250, 146), -60.0}}) {
        drawFlatHeart(p, pos, 7, reds[static_cast<std::size_t>(qRound(angle + 100)) % 6], angle);
    }

    const QFont letter = font(kSans, 10);
    const QStringList lines = {
        QStringLiteral("// 亲爱的，"), QStringLiteral("// 这是我为你种的树，"),
        QStringLiteral("// 每颗心都是思念。"), QStringLiteral("// 愿它陪我们到老")};
    drawLines(p, QPointF(10, 22), 15, lines, letter, QColor(120, 60, 50));
    drawCaret(p, QPointF(10, 22 + 3 * 15), lines.last(), letter, QColor(230, 60, 90));
    p.setFont(font(kSans, 10, QFont::Bold));
    p.setPen(QColor(214, 40, 80));
    p.drawText(QPointF(54, 96), QStringLiteral("—— 小明"));

    const QRectF clock(8, 106, 118, 38);
    p.setPen(QPen(QColor(240, 150, 160), 1));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRoundedRect(clock, 6, 6);
    p.setFont(font(kSans, 9));
    p.setPen(QColor(150, 80, 80));
    p.drawText(clock.adjusted(0, 3, 0, -20), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("小明 与 小美 已经相识了"));
    p.setFont(font(kSans, 12, QFont::Bold));
    p.setPen(QColor(226, 40, 80));
    p.drawText(clock.adjusted(0, 17, 0, -2), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("3650天 08时"));
    p.end();
    return image;
}

// Style 4: full-screen text pages switching in turn, a large left text and a sentence on the
// right.
QImage previewTextPages() {
    QImage image;
    QPainter p;
    startPreview(p, image);
    const QColor orange(243, 150, 28);
    fillBackground(p, {{0, QColor(255, 255, 255)}, {1, QColor(255, 246, 234)}});

    // Large quotation marks frame the page.
    p.setFont(font(kSerif, 64, QFont::Bold));
    p.setPen(QColor(243, 150, 28, 40));
    p.drawText(QPointF(4, 62), QStringLiteral("\u201C"));
    p.drawText(QPointF(kW - 46, 148), QStringLiteral("\u201D"));

    const QFont big = font(kSans, 40, QFont::Bold);
    const QString word = QStringLiteral("我喜欢你");
    const qreal textRight = 18 + QFontMetricsF(big).horizontalAdvance(word);
    QPainterPath text;
    text.addText(QPointF(18, 98), big, word);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 110, 20, 40));
    p.drawPath(text.translated(1.5, 2));
    QLinearGradient fill(QPointF(0, 60), QPointF(0, 100));
    fill.setColorAt(0, orange.lighter(112));
    fill.setColorAt(1, orange.darker(106));
    p.setBrush(fill);
    p.drawPath(text);

    const qreal divider = textRight + 10;
    p.setPen(QPen(QColor(243, 150, 28, 120), 1.5));
    p.drawLine(QPointF(divider, 62), QPointF(divider, 102));
    const QFont sentence = font(kSans, 12);
    drawLines(p, QPointF(divider + 10, 76), 18,
              {QStringLiteral("从见你的"), QStringLiteral("第一眼开始")}, sentence,
              QColor(120, 100, 90));

    // Page dots: twenty pages, the third showing.
    const int pages = 20;
    const qreal gap = 9;
    const qreal x0 = (kW - (pages - 1) * gap) / 2;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < pages; ++i) {
        const bool current = i == 2;
        p.setBrush(current ? orange : QColor(243, 150, 28, 60));
        const qreal r = current ? 3 : 2;
        p.drawEllipse(QPointF(x0 + i * gap, 136), r, r);
    }
    // Arrows on both sides.
    p.setPen(QPen(QColor(243, 150, 28, 110), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(12, 128), QPointF(7, 136), QPointF(12, 144)}));
    p.drawPolyline(QPolygonF({QPointF(kW - 12, 128), QPointF(kW - 7, 136), QPointF(kW - 12, 144)}));
    drawFlatHeart(p, QPointF(274, 26), 14, QColor(243, 150, 28, 170), 12);
    drawFlatHeart(p, QPointF(256, 16), 8, QColor(255, 120, 100, 140), -14);
    p.end();
    return image;
}

// Style 5: text typed line by line, the partner's name floating about and a music video.
QImage previewTyping() {
    QImage image;
    QPainter p;
    startPreview(p, image);
    QRandomGenerator rng(5);
    fillBackground(p, {{0, QColor(224, 241, 255)}, {1, QColor(255, 236, 246)}}, true);

    // The two characters of the name, six times each, floating at different depths.
    const std::array<QString, 2> name = {QStringLiteral("小"), QStringLiteral("美")};
    const std::array<QPointF, 12> spots = {QPointF(160, 22),  QPointF(204, 14), QPointF(254, 26),
                                           QPointF(282, 58),  QPointF(178, 52), QPointF(230, 46),
                                           QPointF(150, 76),  QPointF(282, 14), QPointF(132, 40),
                                           QPointF(150, 128), QPointF(122, 98), QPointF(140, 148)};
    for (std::size_t i = 0; i < spots.size(); ++i) {
        const qreal size = 10 + rng.bounded(14);
        QColor c = i % 2 ? QColor(236, 84, 150) : QColor(150, 100, 236);
        c.setAlpha(90 + rng.bounded(130));
        p.setFont(font(kSans, size, QFont::Bold));
        p.setPen(c);
        p.drawText(QRectF(spots[i].x() - size, spots[i].y() - size, 2 * size, 2 * size),
                   Qt::AlignCenter, name[i % 2]);
    }

    drawShadowText(p, QRectF(12, 6, 140, 26), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("喂，我爱你"), font(kSans, 19, QFont::Bold), QColor(232, 50, 90),
                   QColor(255, 255, 255), QPointF(1, 1));
    const QFont typed = font(kSans, 10);
    const QStringList lines = {QStringLiteral("你知道吗？"), QStringLiteral("每天醒来第一件事"),
                               QStringLiteral("就是想你"),   QStringLiteral("想听你说话"),
                               QStringLiteral("想看你笑"),   QStringLiteral("想陪你到")};
    drawLines(p, QPointF(14, 48), 15, lines, typed, QColor(44, 62, 110));
    drawCaret(p, QPointF(14, 48 + 5 * 15), lines.last(), typed, QColor(232, 50, 90));
    p.setFont(font(kSans, 9));
    p.setPen(QColor(110, 120, 160));
    p.drawText(QPointF(60, 145), QStringLiteral("—— 小明"));

    drawVideoFrame(p, QRectF(170, 70, 118, 74), Scenery::Lanterns, QColor(30, 150, 240));
    p.setFont(font(kLatin, 8, QFont::Bold));
    p.setPen(QColor(255, 255, 255, 210));
    p.drawText(QRectF(175, 73, 30, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("MV"));
    p.end();
    return image;
}

struct Vec3 {
    qreal x, y, z;
};

Vec3 rotate(Vec3 v, qreal yaw, qreal pitch) {
    const Vec3 a{v.x * std::cos(yaw) + v.z * std::sin(yaw), v.y,
                 -v.x * std::sin(yaw) + v.z * std::cos(yaw)};
    return {a.x, a.y * std::cos(pitch) - a.z * std::sin(pitch),
            a.y * std::sin(pitch) + a.z * std::cos(pitch)};
}

// A photo cube seen from above and to the left, in perspective.
void drawPhotoCube(QPainter& p, QPointF centre, qreal half) {
    const qreal yaw = 0.62;
    const qreal pitch = 0.42;
    const qreal distance = 5.0 * half;
    const qreal focal = 4.2 * half;
    const auto project = [&](Vec3 v) {
        const Vec3 r = rotate({v.x * half, v.y * half, v.z * half}, yaw, pitch);
        const qreal f = focal / (r.z + distance);
        return std::pair{QPointF(centre.x() + r.x * f, centre.y() + r.y * f), r};
    };
    struct Face {
        std::array<Vec3, 4> corners;  // top-left, top-right, bottom-right, bottom-left
        Vec3 normal;
        Scenery photo;
    };
    const std::array<Face, 6> faces = {
        Face{{Vec3{-1, -1, -1}, Vec3{1, -1, -1}, Vec3{1, 1, -1}, Vec3{-1, 1, -1}},
             {0, 0, -1},
             Scenery::Sunset},
        Face{{Vec3{1, -1, -1}, Vec3{1, -1, 1}, Vec3{1, 1, 1}, Vec3{1, 1, -1}},
             {1, 0, 0},
             Scenery::Flowers},
        Face{{Vec3{-1, -1, 1}, Vec3{1, -1, 1}, Vec3{1, -1, -1}, Vec3{-1, -1, -1}},
             {0, -1, 0},
             Scenery::StarryNight},
        Face{{Vec3{-1, -1, 1}, Vec3{-1, -1, -1}, Vec3{-1, 1, -1}, Vec3{-1, 1, 1}},
             {-1, 0, 0},
             Scenery::Beach},
        Face{{Vec3{1, -1, 1}, Vec3{-1, -1, 1}, Vec3{-1, 1, 1}, Vec3{1, 1, 1}},
             {0, 0, 1},
             Scenery::Balloons},
        Face{{Vec3{-1, 1, -1}, Vec3{1, 1, -1}, Vec3{1, 1, 1}, Vec3{-1, 1, 1}},
             {0, 1, 0},
             Scenery::Lanterns}};

    // Shadow on the floor.
    p.save();
    p.setPen(Qt::NoPen);
    QRadialGradient shadow(QPointF(centre.x(), centre.y() + half * 1.55), half * 1.5);
    shadow.setColorAt(0, QColor(120, 50, 40, 90));
    shadow.setColorAt(1, QColor(120, 50, 40, 0));
    p.setBrush(shadow);
    p.drawEllipse(QPointF(centre.x(), centre.y() + half * 1.55), half * 1.6, half * 0.35);
    p.restore();

    for (const Face& face : faces) {
        const Vec3 n = rotate(face.normal, yaw, pitch);
        if (n.z >= 0)
            continue;
        QPolygonF quad;
        for (const Vec3& c : face.corners)
            quad << project(c).first;
        const QImage photo = sceneryPhoto(face.photo, QSize(128, 128));
        QTransform map;
        const QPolygonF square(
            {QPointF(0, 0), QPointF(128, 0), QPointF(128, 128), QPointF(0, 128)});
        if (!QTransform::quadToQuad(square, quad, map))
            continue;
        p.save();
        p.setTransform(map, true);
        p.drawImage(QPointF(0, 0), photo);
        // Faces turned away from the light are a little darker.
        const qreal light = std::clamp(-n.z * 0.6 - n.y * 0.5, 0.0, 1.0);
        p.fillRect(QRectF(0, 0, 128, 128), QColor(40, 10, 20, qRound(90 * (1 - light))));
        p.setPen(QPen(Qt::white, 6));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 3, 122, 122));
        p.restore();
    }
}

// Style 6: a cube of photos turning in the middle of an album page.
QImage previewAlbum() {
    QImage image;
    QPainter p;
    startPreview(p, image);
    QRandomGenerator rng(6);
    fillBackground(p, {{0, QColor(255, 222, 206)}, {1, QColor(255, 203, 179)}});
    drawBokeh(p, QRectF(0, 0, kW, kH), 12, 8, 26, QColor(255, 255, 255, 70), rng);

    drawShadowText(p, QRectF(0, 4, kW, 24), Qt::AlignCenter, QStringLiteral("我们的小幸福"),
                   font(kSans, 18, QFont::Bold), QColor(196, 60, 70), QColor(255, 255, 255, 200),
                   QPointF(0, 1));
    drawShadowText(p, QRectF(0, 27, kW, 14), Qt::AlignCenter,
                   QStringLiteral("每一张照片，都是我们的故事"), font(kSans, 10),
                   QColor(170, 90, 80), Qt::transparent);

    drawPolaroid(p, QPointF(52, 98), QSizeF(46, 54), -11, Scenery::Beach);
    drawPolaroid(p, QPointF(250, 100), QSizeF(46, 54), 10, Scenery::Flowers);
    drawPhotoCube(p, QPointF(150, 92), 31);
    drawFlatHeart(p, QPointF(96, 60), 10, QColor(255, 90, 110, 200), -15);
    drawFlatHeart(p, QPointF(208, 136), 8, QColor(255, 90, 110, 170), 12);
    drawFlatHeart(p, QPointF(280, 54), 7, QColor(255, 255, 255, 200), 8);
    drawSparkle(p, QPointF(110, 130), 4, QColor(255, 255, 255, 230));
    drawSparkle(p, QPointF(196, 52), 3.5, QColor(255, 255, 255, 230));
    p.end();
    return image;
}

// Style 7: a fox holding a heart beside a big heart of small hearts.
QImage previewFox() {
    QImage image;
    QPainter p;
    startPreview(p, image);
    QRandomGenerator rng(7);
    fillBackground(p, {{0, QColor(255, 228, 238)}, {1, QColor(240, 226, 255)}}, true);
    drawBokeh(p, QRectF(0, 0, kW, kH), 10, 8, 24, QColor(255, 255, 255, 90), rng);

    const QPointF centre(208, 70);
    const qreal k = 3.6;
    const int count = 46;
    for (int i = 0; i < count; ++i) {
        const qreal t = 2 * std::numbers::pi * i / count;
        const QColor c = QColor::fromHsv((340 + (i % 5) * 6) % 360, 150 + (i % 3) * 35, 255, 230);
        drawFlatHeart(p, centre + heartCurve(t) * k, 8 + (i % 3) * 1.5, c, (i % 7) * 8 - 24);
    }
    drawGlowText(p, QRectF(centre.x() - 50, centre.y() - 20, 100, 24), Qt::AlignCenter,
                 QStringLiteral("我喜欢你"), font(kSans, 18, QFont::Bold), QColor(226, 40, 90),
                 QColor(255, 255, 255, 230), 2);
    p.setFont(font(kSans, 10));
    p.setPen(QColor(180, 80, 120));
    p.drawText(QRectF(centre.x() - 50, centre.y() + 6, 100, 14), Qt::AlignCenter,
               QStringLiteral("阿狸 ♥ 桃子"));

    drawFox(p, QPointF(70, 148), 128);
    for (const auto& [pos, size] :
         {std::pair{QPointF(126, 24), 10.0}, std::pair{QPointF(140, 44), 7.0},
          std::pair{QPointF(22, 36), 8.0}}) {
        drawFlatHeart(p, pos, size, QColor(255, 90, 130, 200), size * 2 - 16);
    }
    drawSparkle(p, QPointF(118, 68), 4, QColor(255, 255, 255, 240));
    drawSparkle(p, QPointF(284, 136), 4, QColor(255, 255, 255, 240));
    p.end();
    return image;
}

// Style 8: a glowing digital clock on a dark page with a line of text at its side.
QImage previewClock() {
    QImage image;
    QPainter p;
    startPreview(p, image);
    QRandomGenerator rng(8);
    QRadialGradient bg(QPointF(kW * 0.6, kH * 0.45), kW * 0.7);
    bg.setColorAt(0, QColor(30, 24, 64));
    bg.setColorAt(1, QColor(6, 6, 18));
    p.fillRect(QRectF(0, 0, kW, kH), bg);
    drawSnow(p, 24, rng, QColor(200, 220, 255), QRectF(96, 30, 204, 92));
    // Faint scan lines.
    for (int y = 0; y < kH; y += 3)
        p.fillRect(QRectF(0, y, kW, 1), QColor(255, 255, 255, 6));

    const QColor pink(255, 86, 150);
    const QColor dim(255, 86, 150, 22);
    const qreal dw = 26;
    const qreal dh = 48;
    qreal x = 104;
    const qreal top = 40;
    const std::array<int, 4> digits = {1, 3, 1, 4};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        drawSegmentDigit(p, QRectF(x, top, dw, dh), digits[i], pink, dim);
        x += dw + 6;
        if (i == 1) {
            drawSegmentColon(p, QRectF(x - 1, top, 8, dh), pink);
            x += 10;
        }
    }
    const QColor cyan(80, 230, 255);
    drawSegmentDigit(p, QRectF(x + 2, top + 24, 12, 24), 5, cyan, QColor(80, 230, 255, 22));
    drawSegmentDigit(p, QRectF(x + 17, top + 24, 12, 24), 2, cyan, QColor(80, 230, 255, 22));

    drawGlowText(p, QRectF(96, 96, 200, 18), Qt::AlignCenter, QStringLiteral("一生一世 · 只爱你"),
                 font(kSans, 12, QFont::Bold), QColor(255, 236, 246), QColor(255, 60, 140, 200), 2);
    const QFont left = font(kSans, 11, QFont::Bold);
    drawGlowText(p, QRectF(12, 46, 84, 16), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("想和你"), left, QColor(255, 255, 255), QColor(80, 200, 255, 170),
                 1.5);
    drawGlowText(p, QRectF(12, 64, 84, 16), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("一起数时间"), left, QColor(255, 255, 255),
                 QColor(80, 200, 255, 170), 1.5);
    p.setFont(font(kSans, 9));
    p.setPen(QColor(170, 190, 230));
    p.drawText(QRectF(12, 82, 90, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("(每一分每一秒)"));

    // Six pages, the first showing.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(i == 0 ? pink : QColor(255, 255, 255, 60));
        p.drawRoundedRect(QRectF(kW / 2 - 42 + i * 15, 134, i == 0 ? 12 : 8, 4), 2, 2);
    }
    drawFlatHeart(p, QPointF(272, 22), 12, QColor(255, 86, 150, 200), 10);
    drawSparkle(p, QPointF(28, 24), 4, QColor(200, 230, 255, 220));
    p.end();
    return image;
}

}  // namespace

QImage drawPreview(int style) {
    switch (style) {
        case 1:
            return previewTextAndVideo();
        case 2:
            return previewCanvasHeart();
        case 3:
            return previewHeartTree();
        case 4:
            return previewTextPages();
        case 5:
            return previewTyping();
        case 6:
            return previewAlbum();
        case 7:
            return previewFox();
        case 8:
            return previewClock();
        default:
            return {};
    }
}

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

}  // namespace art
