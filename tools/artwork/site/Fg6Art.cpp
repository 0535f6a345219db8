// Pictures of page style 6, the 3D album: twelve sample "memories" (small warm illustrations
// of a couple's days, 640 x 386 like the photos people usually put in) and the card a chat app
// shows when the link is shared.

#include "Paint.h"
#include "SiteArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <array>
#include <cmath>
#include <functional>

namespace art {
namespace {

constexpr int kW = 640;
constexpr int kH = 386;
constexpr qreal W = kW;
constexpr qreal H = kH;

using Stops = std::initializer_list<std::pair<qreal, QColor>>;

void verticalFill(QPainter& p, const QRectF& r, Stops stops) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    p.fillRect(r, g);
}

QColor withAlpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

qreal rand01(QRandomGenerator& rng) {
    return rng.bounded(1.0);
}

// An ellipse of light that fades out, wider than tall when `squash` < 1.
void softGlow(QPainter& p, QPointF c, qreal radius, QColor colour, qreal squash = 1.0) {
    p.save();
    p.translate(c);
    p.scale(1.0, squash);
    drawGlow(p, QPointF(0, 0), radius, colour);
    p.restore();
}

// Darker corners, as a small camera lens gives; it makes a flat drawing feel like a photo.
void vignette(QPainter& p, QColor tint, int strength) {
    p.save();
    p.translate(W / 2, H / 2);
    p.scale(1.0, H / W * 1.25);
    QRadialGradient g(QPointF(0, 0), W * 0.62);
    g.setColorAt(0.5, withAlpha(tint, 0));
    g.setColorAt(1.0, withAlpha(tint, strength));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(QRectF(-W, -W, 2 * W, 2 * W));
    p.restore();
}

// A soft layer drawn by `paint` on its own canvas, blurred and laid over the picture.
void blurredLayer(QPainter& p, int radius, const std::function<void(QPainter&)>& paint,
                  qreal opacity = 1.0) {
    // Drawn at half size: the blur is four times cheaper and looks the same.
    QImage layer = canvas(kW / 2, kH / 2);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.scale(0.5, 0.5);
        paint(lp);
    }
    layer = blurred(layer, qMax(1, radius / 2));
    p.save();
    p.setOpacity(opacity);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(0, 0, W, H), layer);
    p.restore();
}

void cloud(QPainter& p, QPointF c, qreal s, QColor colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath path;
    path.addEllipse(c, s * 1.0, s * 0.55);
    path.addEllipse(c + QPointF(s * 0.7, s * 0.12), s * 0.7, s * 0.42);
    path.addEllipse(c + QPointF(-s * 0.75, s * 0.16), s * 0.62, s * 0.36);
    path.addEllipse(c + QPointF(s * 0.2, -s * 0.3), s * 0.55, s * 0.45);
    path.setFillRule(Qt::WindingFill);
    p.drawPath(path.simplified());
    p.restore();
}

void stars(QPainter& p, const QRectF& area, int count, QRandomGenerator& rng, int maxAlpha = 255) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(area.left() + rng.bounded(area.width()),
                        area.top() + rng.bounded(area.height()));
        const int a = 60 + rng.bounded(qMax(1, maxAlpha - 60));
        p.setBrush(QColor(255, 250, 235, a));
        const qreal r = 0.45 + rng.bounded(0.9);
        p.drawEllipse(c, r, r);
    }
    p.restore();
}

// A standing person in silhouette: `feet` between the feet, `h` from head top to feet; the
// arms end at the two hand points.
void standingFigure(QPainter& p, QPointF feet, qreal h, QColor c, bool girl, QPointF leftHand,
                    QPointF rightHand) {
    const qreal x = feet.x();
    const qreal y = feet.y();
    p.save();
    p.setBrush(c);
    const qreal legW = h * (girl ? 0.048 : 0.062);
    p.setPen(QPen(c, legW, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x - h * 0.035, y - h * 0.47), QPointF(x - h * 0.05, y - legW * 0.4));
    p.drawLine(QPointF(x + h * 0.035, y - h * 0.47), QPointF(x + h * 0.05, y - legW * 0.4));
    // Arms first, so the torso covers the shoulders.
    const qreal shoulderY = y - h * 0.775;
    const qreal shoulderX = h * (girl ? 0.075 : 0.09);
    p.setPen(QPen(c, h * (girl ? 0.036 : 0.044), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const auto& [sx, hand] : {std::pair{-1.0, leftHand}, std::pair{1.0, rightHand}}) {
        const QPointF shoulder(x + sx * shoulderX, shoulderY + h * 0.02);
        const QPointF elbow = (shoulder + hand) / 2 + QPointF(sx * h * 0.03, h * 0.02);
        QPainterPath arm(shoulder);
        arm.quadTo(elbow, hand);
        p.setBrush(Qt::NoBrush);
        p.drawPath(arm);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const qreal shW = h * (girl ? 0.085 : 0.11);
    QPainterPath torso(QPointF(x - shW, shoulderY));
    torso.quadTo(QPointF(x - shW * 1.05, y - h * 0.62), QPointF(x - h * 0.07, y - h * 0.46));
    torso.lineTo(QPointF(x + h * 0.07, y - h * 0.46));
    torso.quadTo(QPointF(x + shW * 1.05, y - h * 0.62), QPointF(x + shW, shoulderY));
    torso.quadTo(QPointF(x, shoulderY - h * 0.035), QPointF(x - shW, shoulderY));
    p.drawPath(torso);
    if (girl) {
        QPainterPath skirt(QPointF(x - h * 0.06, y - h * 0.55));
        skirt.lineTo(QPointF(x - h * 0.15, y - h * 0.27));
        skirt.quadTo(QPointF(x, y - h * 0.23), QPointF(x + h * 0.15, y - h * 0.27));
        skirt.lineTo(QPointF(x + h * 0.06, y - h * 0.55));
        skirt.closeSubpath();
        p.drawPath(skirt);
    }
    p.drawRect(QRectF(x - h * 0.02, y - h * 0.84, h * 0.04, h * 0.08));
    const QPointF head(x, y - h * 0.9);
    const qreal r = h * 0.066;
    p.drawEllipse(head, r * 0.95, r * 1.05);
    if (girl) {
        // Long hair falling behind the shoulders.
        QPainterPath hair(head + QPointF(-r * 1.05, -r * 0.2));
        hair.cubicTo(head + QPointF(-r * 1.3, r * 1.6), head + QPointF(-r * 0.9, r * 2.4),
                     head + QPointF(-r * 0.2, r * 2.5));
        hair.lineTo(head + QPointF(r * 0.6, r * 2.2));
        hair.cubicTo(head + QPointF(r * 1.2, r * 1.4), head + QPointF(r * 1.2, 0),
                     head + QPointF(r * 0.9, -r * 0.5));
        hair.closeSubpath();
        p.drawPath(hair);
    }
    p.restore();
}

// A person sitting on the ground seen from behind, looking at the sky; `lean` tilts the whole
// figure (degrees) so that one head can rest on the other's shoulder.
void seatedFromBehind(QPainter& p, QPointF base, qreal h, QColor c, bool girl, qreal lean) {
    p.save();
    p.translate(base);
    p.rotate(lean);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    QPainterPath body(QPointF(-h * 0.34, 0));
    body.cubicTo(QPointF(-h * 0.34, -h * 0.3), QPointF(-h * 0.3, -h * 0.5),
                 QPointF(-h * 0.16, -h * 0.54));
    body.quadTo(QPointF(0, -h * 0.58), QPointF(h * 0.16, -h * 0.54));
    body.cubicTo(QPointF(h * 0.3, -h * 0.5), QPointF(h * 0.34, -h * 0.3), QPointF(h * 0.34, 0));
    body.closeSubpath();
    p.drawPath(body);
    p.drawRect(QRectF(-h * 0.06, -h * 0.66, h * 0.12, h * 0.14));
    const QPointF head(0, -h * 0.78);
    p.drawEllipse(head, h * 0.15, h * 0.165);
    if (girl) {
        QPainterPath hair(head + QPointF(-h * 0.15, 0));
        hair.cubicTo(head + QPointF(-h * 0.2, h * 0.2), head + QPointF(-h * 0.14, h * 0.3),
                     head + QPointF(0, h * 0.32));
        hair.cubicTo(head + QPointF(h * 0.14, h * 0.3), head + QPointF(h * 0.2, h * 0.2),
                     head + QPointF(h * 0.15, 0));
        hair.closeSubpath();
        p.drawPath(hair);
        p.drawEllipse(head + QPointF(h * 0.02, -h * 0.17), h * 0.07, h * 0.06);
    }
    p.restore();
}

void pine(QPainter& p, QPointF base, qreal h, QColor green, QColor snow) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(green.darker(140));
    p.drawRect(QRectF(base.x() - h * 0.04, base.y() - h * 0.14, h * 0.08, h * 0.14));
    for (int tier = 0; tier < 3; ++tier) {
        const qreal top = base.y() - h * (1.0 - tier * 0.24);
        const qreal bottom = base.y() - h * (0.42 - tier * 0.14);
        const qreal half = h * (0.2 + tier * 0.08);
        QPainterPath t(QPointF(base.x(), top));
        t.lineTo(QPointF(base.x() + half, bottom));
        t.quadTo(QPointF(base.x(), bottom - h * 0.05), QPointF(base.x() - half, bottom));
        t.closeSubpath();
        p.setBrush(green);
        p.drawPath(t);
        if (snow.alpha() > 0) {
            QPainterPath cap(QPointF(base.x(), top));
            cap.lineTo(QPointF(base.x() + half * 0.55, top + (bottom - top) * 0.55));
            cap.quadTo(QPointF(base.x() + half * 0.2, top + (bottom - top) * 0.42),
                       QPointF(base.x(), top + (bottom - top) * 0.5));
            cap.quadTo(QPointF(base.x() - half * 0.25, top + (bottom - top) * 0.4),
                       QPointF(base.x() - half * 0.55, top + (bottom - top) * 0.55));
            cap.closeSubpath();
            p.setBrush(snow);
            p.drawPath(cap);
        }
    }
    p.restore();
}

// ---- 1: the two of us by the sea at sunset -------------------------------------------------
QImage seaSunset() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(601);
    const qreal horizon = H * 0.56;
    verticalFill(p, QRectF(0, 0, W, horizon + 1),
                 {{0, QColor(92, 62, 140)},
                  {0.38, QColor(206, 98, 142)},
                  {0.72, QColor(255, 150, 122)},
                  {1, QColor(255, 212, 158)}});
    const QPointF sun(W * 0.64, horizon - H * 0.02);
    softGlow(p, sun, H * 0.62, QColor(255, 214, 160, 150), 0.7);
    softGlow(p, sun, H * 0.22, QColor(255, 244, 210, 230));
    // Thin pink clouds across the sun.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        const QPointF c(rng.bounded(W), H * (0.12 + rand01(rng) * 0.3));
        const qreal len = W * (0.12 + rand01(rng) * 0.18);
        softGlow(p, c, len, QColor(255, 190, 190, 120), 0.07);
    }
    p.setBrush(QColor(255, 246, 222));
    p.save();
    p.setClipRect(QRectF(0, 0, W, horizon));
    p.drawEllipse(sun, H * 0.1, H * 0.1);
    p.restore();
    // The sea and the sun's path of light on it.
    verticalFill(p, QRectF(0, horizon, W, H * 0.24),
                 {{0, QColor(238, 146, 140)}, {1, QColor(132, 84, 140)}});
    for (int i = 0; i < 16; ++i) {
        const qreal t = i / 15.0;
        const qreal y = horizon + H * 0.008 + t * H * 0.2;
        const qreal half = W * (0.04 + t * 0.1) * (0.6 + rand01(rng) * 0.6);
        p.setBrush(QColor(255, 236, 190, static_cast<int>(200 - t * 120)));
        p.drawRoundedRect(
            QRectF(sun.x() - half + rng.bounded(W * 0.03), y, half * 2, 1.6 + t * 2.4), 2, 2);
    }
    // The beach, with the wet edge shining.
    const qreal shore = H * 0.76;
    QPainterPath sand(QPointF(0, shore));
    sand.cubicTo(QPointF(W * 0.3, shore - H * 0.05), QPointF(W * 0.65, shore + H * 0.03),
                 QPointF(W, shore - H * 0.035));
    sand.lineTo(W, H);
    sand.lineTo(0, H);
    sand.closeSubpath();
    QLinearGradient sandFill(QPointF(0, shore - H * 0.05), QPointF(0, H));
    sandFill.setColorAt(0, QColor(246, 184, 150));
    sandFill.setColorAt(1, QColor(196, 122, 118));
    p.setBrush(sandFill);
    p.drawPath(sand);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 244, 236, 200), 3.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath foam(QPointF(0, shore));
    foam.cubicTo(QPointF(W * 0.3, shore - H * 0.05), QPointF(W * 0.65, shore + H * 0.03),
                 QPointF(W, shore - H * 0.035));
    p.drawPath(foam);
    p.setPen(QPen(QColor(255, 244, 236, 90), 1.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath foam2(QPointF(W * 0.05, shore - H * 0.03));
    foam2.cubicTo(QPointF(W * 0.35, shore - H * 0.075), QPointF(W * 0.6, shore),
                  QPointF(W * 0.95, shore - H * 0.06));
    p.drawPath(foam2);
    // Footprints that lead to the two of them.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 80, 90, 70));
    for (int i = 0; i < 7; ++i) {
        const qreal t = i / 6.0;
        const QPointF c(W * (0.06 + t * 0.24), H * (0.98 - t * 0.08) + (i % 2) * 5);
        p.drawEllipse(c, 4.5 - t * 1.5, 2.2 - t * 0.6);
    }
    // The two of them, hand in hand.
    const QColor ink(72, 34, 64);
    const qreal fh = H * 0.42;
    const QPointF him(W * 0.34, H * 0.925);
    const QPointF her(W * 0.42, H * 0.93);
    const QPointF held((him.x() + her.x()) / 2, him.y() - fh * 0.46);
    standingFigure(p, him, fh, ink, false, QPointF(him.x() - fh * 0.12, him.y() - fh * 0.43), held);
    standingFigure(p, her, fh * 0.92, ink, true, held,
                   QPointF(her.x() + fh * 0.1, her.y() - fh * 0.42));
    // A little heart rising between them, and birds far away.
    drawGlow(p, QPointF(held.x(), H * 0.34), 26, QColor(255, 230, 200, 170));
    drawFlatHeart(p, QPointF(held.x(), H * 0.34), 20, QColor(255, 96, 128), -6);
    p.setPen(QPen(QColor(90, 50, 90, 170), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (const QPointF b :
         {QPointF(W * 0.74, H * 0.22), QPointF(W * 0.79, H * 0.18), QPointF(W * 0.83, H * 0.25)}) {
        QPainterPath bird(b + QPointF(-7, 0));
        bird.quadTo(b + QPointF(-3.5, -4), b);
        bird.quadTo(b + QPointF(3.5, -4), b + QPointF(7, 0));
        p.drawPath(bird);
    }
    vignette(p, QColor(60, 20, 50), 80);
    return image;
}

// ---- 2: a picnic on the grass --------------------------------------------------------------
QImage picnic() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(602);
    verticalFill(p, QRectF(0, 0, W, H * 0.6),
                 {{0, QColor(112, 186, 240)}, {1, QColor(214, 240, 255)}});
    softGlow(p, QPointF(W * 0.86, H * 0.1), H * 0.4, QColor(255, 252, 220, 210));
    cloud(p, QPointF(W * 0.3, H * 0.16), 34, QColor(255, 255, 255, 235));
    cloud(p, QPointF(W * 0.62, H * 0.1), 24, QColor(255, 255, 255, 215));
    cloud(p, QPointF(W * 0.92, H * 0.3), 18, QColor(255, 255, 255, 190));
    p.setPen(Qt::NoPen);
    // Hills far and near.
    QPainterPath far(QPointF(0, H * 0.5));
    far.cubicTo(QPointF(W * 0.25, H * 0.38), QPointF(W * 0.5, H * 0.52),
                QPointF(W * 0.7, H * 0.44));
    far.cubicTo(QPointF(W * 0.85, H * 0.38), QPointF(W * 0.95, H * 0.45), QPointF(W, H * 0.43));
    far.lineTo(W, H);
    far.lineTo(0, H);
    p.setBrush(QColor(150, 206, 170));
    p.drawPath(far);
    QPainterPath near(QPointF(0, H * 0.58));
    near.cubicTo(QPointF(W * 0.35, H * 0.5), QPointF(W * 0.7, H * 0.62), QPointF(W, H * 0.54));
    near.lineTo(W, H);
    near.lineTo(0, H);
    QLinearGradient grass(QPointF(0, H * 0.5), QPointF(0, H));
    grass.setColorAt(0, QColor(140, 212, 104));
    grass.setColorAt(1, QColor(84, 164, 80));
    p.setBrush(grass);
    p.drawPath(near);
    // A big tree on the left, leaves in light and shade.
    p.setBrush(QColor(120, 82, 60));
    QPainterPath trunk(QPointF(W * 0.1, H * 0.7));
    trunk.cubicTo(QPointF(W * 0.13, H * 0.5), QPointF(W * 0.11, H * 0.36),
                  QPointF(W * 0.14, H * 0.26));
    trunk.lineTo(QPointF(W * 0.17, H * 0.27));
    trunk.cubicTo(QPointF(W * 0.15, H * 0.4), QPointF(W * 0.17, H * 0.55),
                  QPointF(W * 0.19, H * 0.7));
    trunk.closeSubpath();
    p.drawPath(trunk);
    for (int i = 0; i < 26; ++i) {
        const qreal a = rand01(rng) * 2 * M_PI;
        const qreal d = rand01(rng);
        const QPointF c(W * 0.15 + std::cos(a) * d * W * 0.13,
                        H * 0.2 + std::sin(a) * d * H * 0.16);
        const qreal r = 20 + rand01(rng) * 18;
        p.setBrush(mix(QColor(60, 140, 70), QColor(120, 190, 90), (c.y() < H * 0.18) ? 0.8 : 0.2));
        p.drawEllipse(c, r, r * 0.9);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 50, 60));
    p.drawEllipse(QPointF(W * 0.16, H * 0.71), W * 0.12, H * 0.025);
    // The gingham blanket in perspective.
    const QPointF tl(W * 0.34, H * 0.66), tr(W * 0.86, H * 0.64), bl(W * 0.2, H * 0.99),
        br(W * 0.99, H * 0.96);
    const auto at = [&](qreal u, qreal v) {
        const QPointF top = tl + (tr - tl) * u;
        const QPointF bottom = bl + (br - bl) * u;
        return top + (bottom - top) * v;
    };
    const auto quad = [&](qreal u0, qreal v0, qreal u1, qreal v1) {
        return QPolygonF({at(u0, v0), at(u1, v0), at(u1, v1), at(u0, v1)});
    };
    p.setBrush(QColor(255, 250, 246));
    p.drawPolygon(quad(0, 0, 1, 1));
    const int n = 10;
    p.setBrush(QColor(232, 70, 96, 120));
    for (int i = 0; i < n; i += 2)
        p.drawPolygon(quad(i / qreal(n), 0, (i + 1) / qreal(n), 1));
    for (int j = 0; j < 6; j += 2)
        p.drawPolygon(quad(0, j / 6.0, 1, (j + 1) / 6.0));
    // The basket.
    const QRectF basket(W * 0.55, H * 0.6, W * 0.18, H * 0.17);
    p.setBrush(QColor(90, 60, 40, 70));
    p.drawEllipse(QPointF(basket.center().x(), basket.bottom()), basket.width() * 0.56, 7);
    p.setPen(QPen(QColor(150, 96, 52), 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(basket.left() + 12, basket.top() - basket.height() * 0.7, basket.width() - 24,
                     basket.height() * 1.3),
              0, 180 * 16);
    p.setPen(Qt::NoPen);
    QLinearGradient wicker(basket.topLeft(), basket.bottomLeft());
    wicker.setColorAt(0, QColor(214, 156, 90));
    wicker.setColorAt(1, QColor(164, 104, 56));
    p.setBrush(wicker);
    QPainterPath body(basket.topLeft());
    body.lineTo(basket.topRight());
    body.lineTo(basket.bottomRight() - QPointF(8, 0));
    body.lineTo(basket.bottomLeft() + QPointF(8, 0));
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(QPen(QColor(140, 88, 46, 160), 1.2));
    for (int k = 1; k < 5; ++k) {
        const qreal y = basket.top() + basket.height() * k / 5.0;
        p.drawLine(QPointF(basket.left() + 2 * k / 5.0 * 4, y),
                   QPointF(basket.right() - 2 * k / 5.0 * 4, y));
    }
    for (int k = 1; k < 9; ++k) {
        const qreal x = basket.left() + basket.width() * k / 9.0;
        p.drawLine(QPointF(x, basket.top()),
                   QPointF(x + (x - basket.center().x()) * -0.06, basket.bottom()));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(232, 70, 96));
    p.drawRoundedRect(QRectF(basket.left() - 3, basket.top() - 4, basket.width() + 6, 9), 4, 4);
    // Two glasses of juice and a plate of strawberries.
    for (const QPointF g : {QPointF(W * 0.42, H * 0.8), QPointF(W * 0.48, H * 0.83)}) {
        p.setBrush(QColor(120, 60, 50, 50));
        p.drawEllipse(g + QPointF(0, 22), 13, 4);
        QLinearGradient juice(g, g + QPointF(0, 22));
        juice.setColorAt(0, QColor(255, 186, 80));
        juice.setColorAt(1, QColor(250, 140, 50));
        p.setBrush(QColor(255, 255, 255, 150));
        p.drawRoundedRect(QRectF(g.x() - 10, g.y() - 14, 20, 36), 3, 3);
        p.setBrush(juice);
        p.drawRoundedRect(QRectF(g.x() - 8, g.y() - 4, 16, 24), 2, 2);
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawRect(QRectF(g.x() - 6, g.y() - 12, 3, 30));
    }
    const QPointF plate(W * 0.64, H * 0.88);
    p.setBrush(QColor(120, 60, 50, 50));
    p.drawEllipse(plate + QPointF(0, 5), 44, 12);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(plate, 44, 12);
    p.setBrush(QColor(236, 236, 240));
    p.drawEllipse(plate, 32, 8);
    for (int i = 0; i < 7; ++i) {
        const QPointF c = plate + QPointF(-24 + i * 8 + rng.bounded(3.0), -4 - (i % 3) * 3.0);
        p.setBrush(QColor(226, 40, 60));
        QPainterPath berry(c + QPointF(0, 8));
        berry.cubicTo(c + QPointF(-8, 2), c + QPointF(-6, -5), c);
        berry.cubicTo(c + QPointF(6, -5), c + QPointF(8, 2), c + QPointF(0, 8));
        p.drawPath(berry);
        p.setBrush(QColor(70, 160, 70));
        p.drawEllipse(c + QPointF(0, -1), 4, 2);
    }
    // A heart balloon tied to the basket.
    const QPointF balloon(W * 0.8, H * 0.24);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath string(QPointF(basket.right() - 10, basket.top()));
    string.cubicTo(QPointF(W * 0.76, H * 0.48), QPointF(W * 0.83, H * 0.4),
                   balloon + QPointF(0, 26));
    p.drawPath(string);
    drawGlossyHeart(p, heartBox(balloon, 62), QColor(255, 120, 150), QColor(225, 36, 78));
    // Little flowers in the grass.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 50; ++i) {
        const QPointF c(rng.bounded(W), H * 0.62 + rng.bounded(H * 0.38));
        if (QPolygonF(quad(0, 0, 1, 1)).containsPoint(c, Qt::OddEvenFill))
            continue;
        const qreal depth = (c.y() - H * 0.6) / (H * 0.4);
        p.setBrush(i % 3 ? QColor(255, 255, 255, 230) : QColor(255, 220, 80));
        p.drawEllipse(c, 1.2 + depth * 2.2, 1.2 + depth * 2.2);
    }
    vignette(p, QColor(30, 60, 30), 60);
    return image;
}

void lantern(QPainter& p, QPointF c, qreal s) {
    drawGlow(p, c, s * 3.2, QColor(255, 150, 60, 70));
    drawGlow(p, c, s * 1.6, QColor(255, 200, 110, 120));
    QPainterPath body(QPointF(c.x() - s * 0.5, c.y() - s * 0.62));
    body.lineTo(QPointF(c.x() + s * 0.5, c.y() - s * 0.62));
    body.quadTo(QPointF(c.x() + s * 0.46, c.y() + s * 0.2),
                QPointF(c.x() + s * 0.34, c.y() + s * 0.62));
    body.lineTo(QPointF(c.x() - s * 0.34, c.y() + s * 0.62));
    body.quadTo(QPointF(c.x() - s * 0.46, c.y() + s * 0.2),
                QPointF(c.x() - s * 0.5, c.y() - s * 0.62));
    QRadialGradient fill(QPointF(c.x(), c.y() + s * 0.4), s * 1.1);
    fill.setColorAt(0, QColor(255, 246, 200));
    fill.setColorAt(0.5, QColor(255, 190, 90));
    fill.setColorAt(1, QColor(236, 110, 50));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(body);
    p.setBrush(QColor(255, 252, 230));
    p.drawEllipse(QPointF(c.x(), c.y() + s * 0.6), s * 0.26, s * 0.07);
    p.restore();
}

// ---- 3: sky lanterns over the lake ---------------------------------------------------------
QImage lanterns() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(603);
    const qreal horizon = H * 0.62;
    verticalFill(p, QRectF(0, 0, W, horizon + 1),
                 {{0, QColor(22, 26, 74)},
                  {0.55, QColor(66, 44, 112)},
                  {0.86, QColor(176, 80, 122)},
                  {1, QColor(240, 140, 110)}});
    stars(p, QRectF(0, 0, W, horizon * 0.8), 160, rng, 220);
    // Mountains on the far shore.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(58, 34, 84));
    QPainterPath hills(QPointF(0, horizon - H * 0.07));
    hills.cubicTo(QPointF(W * 0.15, horizon - H * 0.16), QPointF(W * 0.3, horizon - H * 0.02),
                  QPointF(W * 0.45, horizon - H * 0.06));
    hills.cubicTo(QPointF(W * 0.62, horizon - H * 0.12), QPointF(W * 0.8, horizon - H * 0.01),
                  QPointF(W, horizon - H * 0.09));
    hills.lineTo(W, horizon);
    hills.lineTo(0, horizon);
    p.drawPath(hills);
    verticalFill(p, QRectF(0, horizon, W, H - horizon),
                 {{0, QColor(110, 56, 110)}, {1, QColor(24, 20, 60)}});
    struct Lamp {
        QPointF c;
        qreal s;
    };
    std::vector<Lamp> lamps;
    for (int i = 0; i < 26; ++i) {
        const qreal y = H * 0.06 + rand01(rng) * (horizon - H * 0.12);
        const qreal depth = y / horizon;  // lower ones are nearer, so larger
        lamps.push_back({QPointF(rng.bounded(W), y), 3.0 + depth * depth * 11 + rand01(rng) * 3});
    }
    // Their reflections, soft and stretched, before the lamps themselves.
    blurredLayer(p, 8, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (const Lamp& l : lamps) {
            const qreal ry = horizon + (horizon - l.c.y()) * 0.55;
            if (ry > H)
                continue;
            lp.setBrush(QColor(255, 180, 90, 160));
            lp.drawEllipse(QPointF(l.c.x(), ry), l.s * 0.6, l.s * 2.2);
        }
    });
    for (const Lamp& l : lamps)
        lantern(p, l.c, l.s);
    // The pier and the two of them, one lantern just let go.
    p.setBrush(QColor(26, 18, 40));
    QPolygonF pier({QPointF(0, H * 0.88), QPointF(W * 0.3, H * 0.83), QPointF(W * 0.3, H * 0.855),
                    QPointF(0, H * 0.95)});
    p.drawPolygon(pier);
    for (int i = 0; i < 5; ++i) {
        const qreal x = W * (0.04 + i * 0.065);
        p.drawRect(QRectF(x, H * (0.87 - i * 0.008), 4, H * 0.12));
    }
    const QColor ink(26, 18, 40);
    const qreal fh = H * 0.22;
    const QPointF lamp(W * 0.232, H * 0.575);
    standingFigure(p, QPointF(W * 0.2, H * 0.845), fh, ink, false,
                   QPointF(W * 0.2 - fh * 0.12, H * 0.845 - fh * 0.42), lamp + QPointF(-5, 9));
    standingFigure(p, QPointF(W * 0.255, H * 0.84), fh * 0.92, ink, true, lamp + QPointF(5, 9),
                   QPointF(W * 0.255 + fh * 0.1, H * 0.84 - fh * 0.4));
    lantern(p, lamp, 13);
    vignette(p, QColor(10, 6, 30), 90);
    return image;
}

// ---- 4: counting stars on the hill ---------------------------------------------------------
QImage starryNight() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(604);
    verticalFill(p, QRectF(0, 0, W, H),
                 {{0, QColor(10, 16, 52)}, {0.55, QColor(34, 44, 108)}, {1, QColor(104, 66, 130)}});
    // The Milky Way: a soft band with a denser crowd of stars in it.
    const QPointF a(W * -0.05, H * 0.85), b(W * 1.05, H * 0.0);
    blurredLayer(p, 22, [&](QPainter& lp) {
        for (int i = 0; i <= 12; ++i) {
            const QPointF c = a + (b - a) * (i / 12.0);
            drawGlow(lp, c, H * 0.22, QColor(170, 150, 255, 70));
            drawGlow(lp, c + QPointF(8, 10), H * 0.12, QColor(255, 200, 230, 60));
        }
    });
    stars(p, QRectF(0, 0, W, H * 0.9), 260, rng, 230);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 380; ++i) {
        const qreal t = rand01(rng);
        const qreal off = (rand01(rng) + rand01(rng) + rand01(rng) - 1.5) * H * 0.16;
        const QPointF c = a + (b - a) * t + QPointF(off * 0.6, off);
        p.setBrush(QColor(255, 250, 240, 60 + rng.bounded(150)));
        const qreal r = 0.4 + rand01(rng) * 0.7;
        p.drawEllipse(c, r, r);
    }
    for (int i = 0; i < 9; ++i)
        drawSparkle(p, QPointF(rng.bounded(W), rng.bounded(H * 0.6)), 3 + rand01(rng) * 4,
                    QColor(255, 250, 230, 230));
    // A shooting star.
    QLinearGradient trail(QPointF(W * 0.86, H * 0.1), QPointF(W * 0.7, H * 0.22));
    trail.setColorAt(0, QColor(255, 255, 255, 240));
    trail.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(QPen(QBrush(trail), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(W * 0.86, H * 0.1), QPointF(W * 0.7, H * 0.22));
    drawGlow(p, QPointF(W * 0.86, H * 0.1), 6, QColor(255, 255, 255, 220));
    p.setPen(Qt::NoPen);
    softGlow(p, QPointF(W * 0.5, H * 0.95), W * 0.6, QColor(255, 150, 190, 70), 0.3);
    // The hill, a lone tree and the two of them sitting close.
    const QColor ink(16, 14, 38);
    p.setBrush(ink);
    QPainterPath hill(QPointF(0, H * 0.8));
    hill.cubicTo(QPointF(W * 0.25, H * 0.68), QPointF(W * 0.45, H * 0.72),
                 QPointF(W * 0.62, H * 0.8));
    hill.cubicTo(QPointF(W * 0.78, H * 0.86), QPointF(W * 0.9, H * 0.82), QPointF(W, H * 0.84));
    hill.lineTo(W, H);
    hill.lineTo(0, H);
    p.drawPath(hill);
    p.drawRect(QRectF(W * 0.8, H * 0.6, 7, H * 0.24));
    for (int i = 0; i < 14; ++i) {
        const QPointF c(W * 0.81 + (rand01(rng) - 0.5) * W * 0.12,
                        H * 0.56 + (rand01(rng) - 0.5) * H * 0.14);
        p.drawEllipse(c, 16 + rand01(rng) * 10, 13 + rand01(rng) * 8);
    }
    const qreal fh = H * 0.2;
    seatedFromBehind(p, QPointF(W * 0.3, H * 0.735), fh, ink, false, 0);
    seatedFromBehind(p, QPointF(W * 0.37, H * 0.735), fh * 0.86, ink, true, -14);
    drawGlow(p, QPointF(W * 0.335, H * 0.5), 18, QColor(255, 180, 210, 150));
    drawFlatHeart(p, QPointF(W * 0.335, H * 0.5), 13, QColor(255, 130, 170));
    vignette(p, QColor(0, 0, 20), 90);
    return image;
}

// A rose seen from above: rings of cupped petals, each darker towards the heart of the flower.
void rose(QPainter& p, QPointF c, qreal r, QColor colour, qreal turn) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    struct Ring {
        int count;
        qreal distance, size;
    };
    const std::array<Ring, 4> rings = {Ring{6, 0.42, 0.56}, Ring{5, 0.28, 0.46},
                                       Ring{4, 0.15, 0.36}, Ring{3, 0.05, 0.22}};
    for (std::size_t k = 0; k < rings.size(); ++k) {
        const Ring& ring = rings[k];
        QRadialGradient g(QPointF(0, 0), r * (ring.distance + ring.size));
        g.setColorAt(0, colour.darker(150 + static_cast<int>(k) * 8));
        g.setColorAt(0.55, colour);
        g.setColorAt(1, colour.lighter(118));
        p.setBrush(g);
        p.setPen(QPen(withAlpha(colour.darker(170), 130), qMax(0.6, r * 0.035)));
        for (int j = 0; j < ring.count; ++j) {
            const qreal a = (j * 360.0 / ring.count + k * 27) * M_PI / 180;
            p.save();
            p.translate(std::cos(a) * r * ring.distance, std::sin(a) * r * ring.distance);
            p.rotate(a * 180 / M_PI);
            p.drawEllipse(QPointF(0, 0), r * ring.size, r * ring.size * 0.86);
            p.restore();
        }
    }
    p.restore();
}

// ---- 5: the first bouquet ------------------------------------------------------------------
QImage bouquet() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(605);
    verticalFill(
        p, QRectF(0, 0, W, H),
        {{0, QColor(255, 232, 226)}, {0.6, QColor(255, 206, 206)}, {1, QColor(246, 178, 190)}});
    blurredLayer(p, 10, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (int i = 0; i < 26; ++i) {
            lp.setBrush(i % 3 ? QColor(255, 255, 255, 140) : QColor(255, 160, 190, 120));
            const qreal r = 14 + rand01(rng) * 30;
            lp.drawEllipse(QPointF(rng.bounded(W), rng.bounded(H)), r, r);
        }
    });
    softGlow(p, QPointF(W * 0.5, H * 0.4), W * 0.4, QColor(255, 255, 255, 120), 0.8);
    // Paper behind the flowers, then leaves, flowers and the paper in front.
    const QPointF tip(W * 0.5, H * 1.02);
    p.setPen(Qt::NoPen);
    QPainterPath back(tip);
    back.lineTo(QPointF(W * 0.25, H * 0.28));
    back.quadTo(QPointF(W * 0.5, H * 0.12), QPointF(W * 0.75, H * 0.28));
    back.closeSubpath();
    p.setBrush(QColor(255, 240, 236));
    p.drawPath(back);
    for (int i = 0; i < 12; ++i) {
        const qreal a = -150 + i * 10.0 + rng.bounded(6.0);
        p.save();
        p.translate(W * 0.5, H * 0.42);
        p.rotate(a);
        QLinearGradient leaf(QPointF(0, 0), QPointF(W * 0.2, 0));
        leaf.setColorAt(0, QColor(70, 140, 80));
        leaf.setColorAt(1, QColor(130, 190, 110));
        p.setBrush(leaf);
        QPainterPath l(QPointF(W * 0.06, 0));
        l.quadTo(QPointF(W * 0.14, -14), QPointF(W * 0.22, 0));
        l.quadTo(QPointF(W * 0.14, 14), QPointF(W * 0.06, 0));
        p.drawPath(l);
        p.restore();
    }
    const std::array<QColor, 4> colours = {QColor(236, 72, 110), QColor(250, 130, 160),
                                           QColor(255, 176, 190), QColor(220, 50, 90)};
    const std::array<QPointF, 11> spots = {
        QPointF(0.5, 0.3),   QPointF(0.4, 0.34),  QPointF(0.6, 0.34),  QPointF(0.33, 0.46),
        QPointF(0.45, 0.45), QPointF(0.56, 0.46), QPointF(0.67, 0.46), QPointF(0.4, 0.58),
        QPointF(0.52, 0.58), QPointF(0.62, 0.57), QPointF(0.5, 0.18)};
    // Baby's breath between the roses.
    for (int i = 0; i < 90; ++i) {
        const qreal a = rand01(rng) * 2 * M_PI;
        const qreal d = std::sqrt(rand01(rng));
        const QPointF c(W * 0.5 + std::cos(a) * d * W * 0.22, H * 0.4 + std::sin(a) * d * H * 0.3);
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawEllipse(c, 2.6, 2.6);
    }
    for (std::size_t i = 0; i < spots.size(); ++i) {
        const QPointF c(W * spots[i].x(), H * spots[i].y());
        p.setBrush(QColor(120, 30, 50, 40));
        p.drawEllipse(c + QPointF(2, 4), 32, 30);
        rose(p, c, 30 + rng.bounded(6.0), colours[i % colours.size()], rng.bounded(360.0));
    }
    QPainterPath front(tip);
    front.lineTo(QPointF(W * 0.3, H * 0.6));
    front.quadTo(QPointF(W * 0.5, H * 0.72), QPointF(W * 0.7, H * 0.6));
    front.closeSubpath();
    QLinearGradient kraft(QPointF(W * 0.3, 0), QPointF(W * 0.7, 0));
    kraft.setColorAt(0, QColor(214, 168, 126));
    kraft.setColorAt(0.5, QColor(236, 196, 150));
    kraft.setColorAt(1, QColor(196, 148, 106));
    p.setBrush(kraft);
    p.drawPath(front);
    p.setPen(QPen(QColor(170, 120, 80, 120), 1.4));
    p.drawLine(QPointF(W * 0.5, H * 0.69), tip);
    p.drawLine(QPointF(W * 0.4, H * 0.66), QPointF(W * 0.49, H));
    // The ribbon bow.
    p.setPen(Qt::NoPen);
    const QPointF knot(W * 0.5, H * 0.84);
    p.setBrush(QColor(232, 60, 100));
    for (int side : {-1, 1}) {
        p.save();
        p.translate(knot);
        p.rotate(side * 20);
        p.drawEllipse(QPointF(side * 24, -4), 24, 12);
        p.restore();
        QPainterPath tail(knot);
        tail.lineTo(knot + QPointF(side * 14, 46));
        tail.lineTo(knot + QPointF(side * 24, 40));
        tail.closeSubpath();
        p.drawPath(tail);
    }
    p.setBrush(QColor(200, 40, 80));
    p.drawEllipse(knot, 9, 8);
    p.setBrush(QColor(255, 255, 255, 80));
    p.drawEllipse(knot + QPointF(-20, -8), 10, 4);
    for (int i = 0; i < 6; ++i)
        drawSparkle(p, QPointF(rng.bounded(W), rng.bounded(H * 0.8)), 4 + rand01(rng) * 4,
                    QColor(255, 255, 255, 230));
    vignette(p, QColor(120, 30, 60), 60);
    return image;
}

// ---- 6: one umbrella for two in the rain ---------------------------------------------------
QImage rainyUmbrella() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(606);
    const qreal street = H * 0.74;
    verticalFill(
        p, QRectF(0, 0, W, street + 1),
        {{0, QColor(52, 66, 104)}, {0.7, QColor(100, 108, 146)}, {1, QColor(130, 126, 160)}});
    // The town behind, out of focus: houses with lit windows and street lights.
    std::vector<std::pair<QPointF, QColor>> lights;
    const std::array<QColor, 4> hues = {QColor(255, 200, 120), QColor(255, 150, 170),
                                        QColor(140, 220, 230), QColor(255, 230, 170)};
    for (int i = 0; i < 34; ++i)
        lights.push_back({QPointF(rng.bounded(W), H * 0.18 + rng.bounded(H * 0.52)),
                          hues[static_cast<std::size_t>(rng.bounded(4))]});
    blurredLayer(p, 10, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (int i = 0; i < 9; ++i) {
            const qreal x = i * W / 8.0 - 30 + rng.bounded(30.0);
            const qreal top = H * (0.2 + rand01(rng) * 0.25);
            lp.setBrush(QColor(40, 46, 80, 200));
            lp.drawRect(QRectF(x, top, 60 + rng.bounded(40.0), street - top));
        }
        for (const auto& [c, colour] : lights) {
            lp.setBrush(withAlpha(colour, 200));
            const qreal r = 8 + rand01(rng) * 14;
            lp.drawEllipse(c, r, r);
        }
    });
    // The wet street, mirroring the lights in long streaks.
    verticalFill(p, QRectF(0, street, W, H - street),
                 {{0, QColor(70, 74, 110)}, {1, QColor(34, 36, 60)}});
    blurredLayer(p, 6, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (const auto& [c, colour] : lights) {
            lp.setBrush(withAlpha(colour, 120));
            lp.drawEllipse(QPointF(c.x(), street + (street - c.y()) * 0.35 + 10), 5, 18);
        }
    });
    // The two of them under one red umbrella, and its reflection.
    const QColor ink(30, 30, 56);
    const qreal fh = H * 0.44;
    const QPointF him(W * 0.47, street + H * 0.06);
    const QPointF her(W * 0.55, street + H * 0.062);
    const QPointF handle(W * 0.5, him.y() - fh * 0.6);
    const QPointF top(W * 0.51, H * 0.26);
    const auto drawUmbrella = [&](QPainter& q) {
        q.setPen(QPen(QColor(50, 40, 60), 2.4, Qt::SolidLine, Qt::RoundCap));
        q.drawLine(top, handle + QPointF(0, 6));
        QPainterPath canopy(top + QPointF(-W * 0.15, H * 0.12));
        canopy.cubicTo(top + QPointF(-W * 0.15, -H * 0.02), top + QPointF(W * 0.15, -H * 0.02),
                       top + QPointF(W * 0.15, H * 0.12));
        for (int i = 0; i < 5; ++i) {
            const qreal x1 = W * 0.15 - (i + 1) * W * 0.06;
            canopy.quadTo(top + QPointF(x1 + W * 0.03, H * 0.085), top + QPointF(x1, H * 0.12));
        }
        QLinearGradient red(top, top + QPointF(0, H * 0.12));
        red.setColorAt(0, QColor(250, 96, 112));
        red.setColorAt(1, QColor(190, 36, 64));
        q.setPen(Qt::NoPen);
        q.setBrush(red);
        q.drawPath(canopy);
        q.setPen(QPen(QColor(150, 20, 50, 150), 1.2));
        for (int i = 1; i < 5; ++i)
            q.drawLine(top, top + QPointF(W * 0.15 - i * W * 0.06, H * 0.12));
        q.setPen(Qt::NoPen);
        q.setBrush(QColor(255, 255, 255, 60));
        q.drawEllipse(top + QPointF(-W * 0.06, H * 0.03), W * 0.05, H * 0.02);
    };
    blurredLayer(
        p, 4,
        [&](QPainter& lp) {
            lp.translate(0, 2 * him.y());
            lp.scale(1, -1);
            drawUmbrella(lp);
            standingFigure(lp, him, fh, ink, false, handle, handle + QPointF(-fh * 0.1, fh * 0.2));
            standingFigure(lp, her, fh * 0.92, ink, true,
                           QPointF(her.x() - fh * 0.08, her.y() - fh * 0.45),
                           QPointF(her.x() + fh * 0.09, her.y() - fh * 0.4));
        },
        0.35);
    standingFigure(p, him, fh, ink, false, handle + QPointF(-fh * 0.02, fh * 0.08), handle);
    standingFigure(p, her, fh * 0.92, ink, true, QPointF(her.x() - fh * 0.1, her.y() - fh * 0.5),
                   QPointF(her.x() + fh * 0.09, her.y() - fh * 0.4));
    drawUmbrella(p);
    // Rain, and rings where it lands.
    for (int i = 0; i < 320; ++i) {
        const QPointF s(rng.bounded(W + 40.0) - 20, rng.bounded(H));
        const qreal len = 8 + rand01(rng) * 16;
        p.setPen(
            QPen(QColor(220, 230, 255, 50 + rng.bounded(80)), 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(s, s + QPointF(-len * 0.25, len));
    }
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 24; ++i) {
        const QPointF c(rng.bounded(W), street + H * 0.03 + rng.bounded(H - street));
        p.setPen(QPen(QColor(220, 230, 255, 90), 1.0));
        p.drawEllipse(c, 5 + rand01(rng) * 6, 1.4 + rand01(rng));
    }
    vignette(p, QColor(10, 10, 30), 100);
    return image;
}

// ---- 7: the birthday cake ------------------------------------------------------------------
QImage birthdayCake() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(607);
    verticalFill(p, QRectF(0, 0, W, H), {{0, QColor(58, 26, 44)}, {1, QColor(126, 60, 68)}});
    blurredLayer(p, 12, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (int i = 0; i < 30; ++i) {
            lp.setBrush(i % 4 ? QColor(255, 196, 110, 130) : QColor(255, 140, 170, 120));
            const qreal r = 10 + rand01(rng) * 22;
            lp.drawEllipse(QPointF(rng.bounded(W), rng.bounded(H * 0.65)), r, r);
        }
    });
    // The table with a pale cloth.
    const qreal table = H * 0.72;
    verticalFill(p, QRectF(0, table, W, H - table),
                 {{0, QColor(250, 214, 214)}, {1, QColor(214, 160, 170)}});
    softGlow(p, QPointF(W * 0.5, H * 0.5), W * 0.42, QColor(255, 200, 140, 110), 0.7);
    const QPointF centre(W * 0.5, H * 0.86);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 40, 50, 70));
    p.drawEllipse(centre + QPointF(0, 8), W * 0.27, H * 0.06);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(centre, W * 0.26, H * 0.055);
    const auto tier = [&](qreal bottom, qreal half, qreal height, QColor side, QColor icing) {
        const qreal ry = half * 0.2;
        QLinearGradient shade(QPointF(W * 0.5 - half, 0), QPointF(W * 0.5 + half, 0));
        shade.setColorAt(0, side.darker(112));
        shade.setColorAt(0.4, side.lighter(106));
        shade.setColorAt(1, side.darker(122));
        QPainterPath body;
        body.moveTo(W * 0.5 - half, bottom - height);
        body.lineTo(W * 0.5 - half, bottom);
        body.arcTo(QRectF(W * 0.5 - half, bottom - ry, 2 * half, 2 * ry), 180, 180);
        body.lineTo(W * 0.5 + half, bottom - height);
        body.closeSubpath();
        p.setBrush(shade);
        p.drawPath(body);
        // Icing on top, running over the edge in rounded drips.
        const auto rim = [&](qreal x) {
            const qreal u = (x - W * 0.5) / half;
            return bottom - height + ry * std::sqrt(qMax(0.0, 1 - u * u));
        };
        QPainterPath drip;
        drip.moveTo(W * 0.5 - half, bottom - height);
        const int n = 9;
        for (int i = 0; i < n; ++i) {
            const qreal x0 = W * 0.5 - half + i * 2 * half / n;
            const qreal x1 = x0 + 2 * half / n;
            const qreal y0 = rim(x0) + height * 0.06;
            const qreal y1 = rim(x1) + height * 0.06;
            const qreal d = height * ((i % 2) ? 0.16 : 0.32) + rand01(rng) * height * 0.1;
            drip.lineTo(QPointF(x0, y0));
            drip.cubicTo(QPointF(x0 + (x1 - x0) * 0.1, y0 + d),
                         QPointF(x1 - (x1 - x0) * 0.1, y1 + d), QPointF(x1, y1));
        }
        drip.lineTo(W * 0.5 + half, bottom - height);
        drip.arcTo(QRectF(W * 0.5 - half, bottom - height - ry, 2 * half, 2 * ry), 0, 180);
        drip.closeSubpath();
        p.setBrush(icing);
        p.drawPath(drip);
        p.setBrush(icing.lighter(110));
        p.drawEllipse(QPointF(W * 0.5, bottom - height), half, ry);
        p.setBrush(QColor(255, 255, 255, 70));
        p.drawEllipse(QPointF(W * 0.5 - half * 0.35, bottom - height - ry * 0.2), half * 0.4,
                      ry * 0.4);
    };
    tier(H * 0.86, W * 0.21, H * 0.17, QColor(255, 236, 226), QColor(250, 150, 176));
    tier(H * 0.69, W * 0.145, H * 0.13, QColor(255, 222, 230), QColor(255, 252, 246));
    // Strawberries around the top.
    for (int i = 0; i < 7; ++i) {
        const qreal a = M_PI * (0.1 + i * 0.8 / 6);
        const QPointF c(W * 0.5 - std::cos(a) * W * 0.17, H * 0.69 + std::sin(a) * H * 0.005 + 6);
        if (i == 0 || i == 6)
            continue;
        p.setBrush(QColor(222, 36, 60));
        p.drawEllipse(c + QPointF(0, -58 - std::sin(a) * 8), 7, 8);
    }
    // Candles and their flames.
    const std::array<QColor, 3> wax = {QColor(160, 210, 250), QColor(255, 200, 90),
                                       QColor(250, 150, 190)};
    for (int i = 0; i < 5; ++i) {
        const qreal x = W * (0.41 + i * 0.045);
        const qreal baseY = H * 0.56 + ((i == 0 || i == 4) ? 4 : (i == 2 ? -2 : 1));
        p.setBrush(wax[static_cast<std::size_t>(i % 3)]);
        p.drawRoundedRect(QRectF(x - 4, baseY - 44, 8, 44), 2, 2);
        p.setBrush(QColor(255, 255, 255, 140));
        for (int k = 0; k < 4; ++k)
            p.drawRect(QRectF(x - 4, baseY - 40 + k * 11, 8, 3));
        const QPointF flame(x, baseY - 56);
        drawGlow(p, flame, 34, QColor(255, 190, 90, 90));
        drawGlow(p, flame, 12, QColor(255, 236, 170, 220));
        QPainterPath f(flame + QPointF(0, -10));
        f.cubicTo(flame + QPointF(6, -2), flame + QPointF(6, 7), flame + QPointF(0, 8));
        f.cubicTo(flame + QPointF(-6, 7), flame + QPointF(-6, -2), flame + QPointF(0, -10));
        QRadialGradient fg(flame + QPointF(0, 4), 10);
        fg.setColorAt(0, QColor(255, 255, 240));
        fg.setColorAt(0.6, QColor(255, 214, 100));
        fg.setColorAt(1, QColor(255, 130, 50));
        p.setBrush(fg);
        p.drawPath(f);
    }
    // A little confetti on the cloth.
    const std::array<QColor, 4> confetti = {QColor(255, 200, 80), QColor(120, 200, 250),
                                            QColor(250, 110, 150), QColor(255, 255, 255)};
    for (int i = 0; i < 40; ++i) {
        const QPointF c(rng.bounded(W), table + 6 + rng.bounded(H - table));
        if (std::abs(c.x() - W * 0.5) < W * 0.28 && c.y() < H * 0.94)
            continue;
        p.setBrush(confetti[static_cast<std::size_t>(i % 4)]);
        p.drawEllipse(c, 2.4, 1.5);
    }
    vignette(p, QColor(30, 0, 20), 110);
    return image;
}

// ---- 8: a snowy evening at the cabin -------------------------------------------------------
QImage snowyEvening() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(608);
    verticalFill(
        p, QRectF(0, 0, W, H * 0.7),
        {{0, QColor(40, 46, 108)}, {0.55, QColor(110, 96, 160)}, {1, QColor(222, 160, 186)}});
    stars(p, QRectF(0, 0, W, H * 0.35), 70, rng, 200);
    softGlow(p, QPointF(W * 0.8, H * 0.16), 60, QColor(255, 250, 230, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 232));
    p.drawEllipse(QPointF(W * 0.8, H * 0.16), 17, 17);
    // Far hills, far pines in the mist, the snowy ground.
    p.setBrush(QColor(176, 170, 214));
    QPainterPath far(QPointF(0, H * 0.58));
    far.cubicTo(QPointF(W * 0.3, H * 0.46), QPointF(W * 0.55, H * 0.6), QPointF(W, H * 0.5));
    far.lineTo(W, H);
    far.lineTo(0, H);
    p.drawPath(far);
    for (int i = 0; i < 16; ++i)
        pine(p, QPointF(rng.bounded(W), H * 0.6 + rng.bounded(H * 0.04)), 30 + rng.bounded(24.0),
             QColor(120, 116, 170), QColor(220, 220, 244));
    QPainterPath ground(QPointF(0, H * 0.68));
    ground.cubicTo(QPointF(W * 0.35, H * 0.6), QPointF(W * 0.7, H * 0.72), QPointF(W, H * 0.64));
    ground.lineTo(W, H);
    ground.lineTo(0, H);
    QLinearGradient snow(QPointF(0, H * 0.6), QPointF(0, H));
    snow.setColorAt(0, QColor(238, 236, 252));
    snow.setColorAt(1, QColor(196, 196, 232));
    p.setBrush(snow);
    p.drawPath(ground);
    // The cabin with warm windows and a curl of smoke.
    const QRectF wall(W * 0.4, H * 0.46, W * 0.22, H * 0.22);
    drawGlow(p, wall.center() + QPointF(0, 20), W * 0.25, QColor(255, 190, 110, 80));
    p.setBrush(QColor(120, 70, 66));
    p.drawRect(wall);
    p.setPen(QPen(QColor(96, 52, 50), 1.2));
    for (int k = 1; k < 6; ++k)
        p.drawLine(QPointF(wall.left(), wall.top() + k * wall.height() / 6),
                   QPointF(wall.right(), wall.top() + k * wall.height() / 6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 50, 60));
    p.drawRect(QRectF(wall.right() - 34, wall.top() - 46, 16, 40));
    blurredLayer(p, 6, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (int i = 0; i < 6; ++i) {
            lp.setBrush(QColor(230, 226, 246, 150 - i * 20));
            lp.drawEllipse(
                QPointF(wall.right() - 26 + i * 10 + std::sin(i) * 8, wall.top() - 56 - i * 16),
                8 + i * 2.0, 7 + i * 1.5);
        }
    });
    QPainterPath roof(QPointF(wall.left() - 18, wall.top() + 4));
    roof.lineTo(QPointF(wall.center().x(), wall.top() - 54));
    roof.lineTo(QPointF(wall.right() + 18, wall.top() + 4));
    roof.closeSubpath();
    p.setBrush(QColor(86, 50, 62));
    p.drawPath(roof);
    QPainterPath roofSnow(QPointF(wall.left() - 22, wall.top() + 2));
    roofSnow.lineTo(QPointF(wall.center().x(), wall.top() - 60));
    roofSnow.lineTo(QPointF(wall.right() + 22, wall.top() + 2));
    roofSnow.quadTo(QPointF(wall.right() + 10, wall.top() + 10),
                    QPointF(wall.right(), wall.top() - 2));
    roofSnow.quadTo(QPointF(wall.center().x(), wall.top() - 40),
                    QPointF(wall.left(), wall.top() - 2));
    roofSnow.quadTo(QPointF(wall.left() - 10, wall.top() + 10),
                    QPointF(wall.left() - 22, wall.top() + 2));
    p.setBrush(QColor(250, 250, 255));
    p.drawPath(roofSnow);
    for (const QRectF win : {QRectF(wall.left() + 14, wall.top() + 26, 30, 30),
                             QRectF(wall.right() - 44, wall.top() + 26, 30, 30)}) {
        drawGlow(p, win.center(), 40, QColor(255, 200, 110, 130));
        QLinearGradient lit(win.topLeft(), win.bottomLeft());
        lit.setColorAt(0, QColor(255, 236, 160));
        lit.setColorAt(1, QColor(255, 176, 90));
        p.setBrush(lit);
        p.drawRect(win);
        p.setBrush(QColor(96, 52, 50));
        p.drawRect(QRectF(win.center().x() - 1.5, win.top(), 3, win.height()));
        p.drawRect(QRectF(win.left(), win.center().y() - 1.5, win.width(), 3));
    }
    p.setBrush(QColor(80, 44, 44));
    p.drawRoundedRect(QRectF(wall.center().x() - 13, wall.bottom() - 44, 26, 44), 4, 4);
    // Near pines framing the picture.
    for (const auto& [x, hgt] : {std::pair{W * 0.07, 150.0}, std::pair{W * 0.17, 110.0},
                                 std::pair{W * 0.86, 170.0}, std::pair{W * 0.96, 120.0}})
        pine(p, QPointF(x, H * 0.82), hgt, QColor(40, 78, 96), QColor(244, 244, 255));
    // A snowman with a red scarf.
    const QPointF sm(W * 0.72, H * 0.8);
    p.setBrush(QColor(150, 150, 200, 90));
    p.drawEllipse(sm + QPointF(0, 22), 30, 7);
    p.setBrush(QColor(252, 252, 255));
    p.drawEllipse(sm, 26, 24);
    p.drawEllipse(sm + QPointF(0, -36), 17, 16);
    p.setBrush(QColor(220, 50, 70));
    p.drawRoundedRect(QRectF(sm.x() - 17, sm.y() - 24, 34, 7), 3, 3);
    p.drawRect(QRectF(sm.x() + 6, sm.y() - 20, 7, 18));
    p.setBrush(QColor(40, 30, 40));
    p.drawEllipse(sm + QPointF(-6, -40), 2, 2);
    p.drawEllipse(sm + QPointF(6, -40), 2, 2);
    p.setBrush(QColor(255, 140, 50));
    p.drawPolygon(QPolygonF({sm + QPointF(0, -36), sm + QPointF(12, -33), sm + QPointF(0, -32)}));
    // Falling snow, the nearest flakes soft and big.
    for (int i = 0; i < 170; ++i) {
        const QPointF c(rng.bounded(W), rng.bounded(H));
        const qreal r = 0.8 + rand01(rng) * 2.2;
        p.setBrush(QColor(255, 255, 255, 140 + rng.bounded(110)));
        p.drawEllipse(c, r, r);
    }
    blurredLayer(p, 4, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (int i = 0; i < 18; ++i) {
            lp.setBrush(QColor(255, 255, 255, 200));
            const qreal r = 4 + rand01(rng) * 4;
            lp.drawEllipse(QPointF(rng.bounded(W), rng.bounded(H)), r, r);
        }
    });
    vignette(p, QColor(20, 20, 60), 80);
    return image;
}

// One hand of the two that hold the heart: the left one, mirrored for the right.
void cuppedHand(QPainter& p, QColor sleeve) {
    const QColor skin(255, 214, 192);
    const QColor shade(232, 164, 146);
    p.save();
    p.setPen(Qt::NoPen);
    // Fingers rising from behind the palm edge, up around the heart.
    const QColor line(214, 146, 128, 150);
    struct Finger {
        qreal x, length, angle;
    };
    for (const Finger f : {Finger{0.29, 0.15, -7}, Finger{0.335, 0.175, -3}, Finger{0.38, 0.165, 1},
                           Finger{0.424, 0.125, 5}}) {
        p.save();
        p.translate(W * f.x, H * 0.66);
        p.rotate(f.angle);
        const qreal len = H * f.length + H * 0.04;
        const QRectF shape(-13, -len, 26, len + 6);
        QLinearGradient g(shape.topLeft(), shape.bottomLeft());
        g.setColorAt(0, QColor(255, 226, 208));
        g.setColorAt(1, skin);
        p.setBrush(g);
        p.setPen(QPen(line, 1.4));
        p.drawRoundedRect(shape, 13, 13);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 236, 228, 200));
        p.drawRoundedRect(QRectF(-7, -len + 4, 14, 11), 6, 6);
        p.restore();
    }
    // The thumb along the outside, joined to the palm below.
    p.setPen(QPen(line, 1.4));
    p.setBrush(skin);
    p.save();
    p.translate(W * 0.215, H * 0.66);
    p.rotate(-16);
    p.drawRoundedRect(QRectF(-13, -H * 0.09, 26, H * 0.24), 13, 13);
    p.restore();
    p.setPen(Qt::NoPen);
    // The palm, its little-finger edge meeting the other hand in the middle.
    QPainterPath palm(QPointF(W * 0.2, H * 1.02));
    palm.cubicTo(QPointF(W * 0.2, H * 0.84), QPointF(W * 0.22, H * 0.7),
                 QPointF(W * 0.27, H * 0.63));
    palm.quadTo(QPointF(W * 0.38, H * 0.6), QPointF(W * 0.49, H * 0.63));
    palm.cubicTo(QPointF(W * 0.505, H * 0.7), QPointF(W * 0.49, H * 0.8),
                 QPointF(W * 0.44, H * 0.88));
    palm.lineTo(QPointF(W * 0.42, H * 1.02));
    palm.closeSubpath();
    QLinearGradient pg(QPointF(0, H * 0.6), QPointF(0, H));
    pg.setColorAt(0, skin);
    pg.setColorAt(1, shade);
    p.setBrush(pg);
    p.drawPath(palm);
    p.setPen(QPen(QColor(214, 140, 124, 150), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath crease(QPointF(W * 0.3, H * 0.7));
    crease.quadTo(QPointF(W * 0.38, H * 0.74), QPointF(W * 0.46, H * 0.69));
    p.drawPath(crease);
    // A knitted sleeve.
    p.setPen(Qt::NoPen);
    p.setBrush(sleeve);
    QPainterPath cuff(QPointF(W * 0.16, H * 0.9));
    cuff.quadTo(QPointF(W * 0.31, H * 0.86), QPointF(W * 0.46, H * 0.9));
    cuff.lineTo(QPointF(W * 0.48, H * 1.05));
    cuff.lineTo(QPointF(W * 0.12, H * 1.05));
    cuff.closeSubpath();
    p.drawPath(cuff);
    p.setPen(QPen(sleeve.darker(115), 2));
    for (int k = 0; k < 7; ++k) {
        const qreal x = W * (0.18 + k * 0.045);
        p.drawLine(QPointF(x, H * 0.9), QPointF(x - 3, H * 1.02));
    }
    p.restore();
}

// ---- 9: my heart in your hands -------------------------------------------------------------
QImage handsHeart() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(609);
    verticalFill(
        p, QRectF(0, 0, W, H),
        {{0, QColor(255, 222, 232)}, {0.6, QColor(246, 200, 226)}, {1, QColor(220, 190, 236)}});
    blurredLayer(p, 12, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (int i = 0; i < 24; ++i) {
            lp.setBrush(i % 2 ? QColor(255, 255, 255, 150) : QColor(255, 150, 190, 110));
            const qreal r = 12 + rand01(rng) * 26;
            lp.drawEllipse(QPointF(rng.bounded(W), rng.bounded(H)), r, r);
        }
    });
    const QPointF c(W * 0.5, H * 0.4);
    drawGlow(p, c, W * 0.3, QColor(255, 255, 255, 170));
    drawGlow(p, c, W * 0.2, QColor(255, 140, 170, 110));
    drawGlossyHeart(p, heartBox(c, 178), QColor(255, 112, 142), QColor(212, 26, 68));
    cuppedHand(p, QColor(250, 244, 232));
    p.save();
    p.translate(W, 0);
    p.scale(-1, 1);
    cuppedHand(p, QColor(246, 168, 190));
    p.restore();
    for (int i = 0; i < 10; ++i) {
        const qreal a = rand01(rng) * 2 * M_PI;
        const QPointF s = c + QPointF(std::cos(a) * (120 + rand01(rng) * 80),
                                      std::sin(a) * (70 + rand01(rng) * 40));
        if (s.y() > H * 0.58)
            continue;
        drawSparkle(p, s, 4 + rand01(rng) * 5, QColor(255, 255, 255, 240));
    }
    drawFlatHeart(p, QPointF(W * 0.25, H * 0.2), 18, QColor(255, 120, 160, 200), -14);
    drawFlatHeart(p, QPointF(W * 0.78, H * 0.16), 14, QColor(255, 150, 180, 190), 12);
    drawFlatHeart(p, QPointF(W * 0.84, H * 0.36), 10, QColor(255, 255, 255, 220), 8);
    vignette(p, QColor(150, 60, 110), 50);
    return image;
}

// ---- 10: the ferris wheel at dusk ----------------------------------------------------------
QImage ferrisWheel() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(610);
    verticalFill(p, QRectF(0, 0, W, H),
                 {{0, QColor(76, 58, 140)},
                  {0.45, QColor(208, 112, 154)},
                  {0.8, QColor(255, 178, 138)},
                  {1, QColor(255, 214, 160)}});
    softGlow(p, QPointF(W * 0.22, H * 0.82), W * 0.4, QColor(255, 230, 170, 150), 0.5);
    stars(p, QRectF(0, 0, W, H * 0.25), 40, rng, 200);
    // The town skyline.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 22; ++i) {
        const qreal x = i * W / 21.0 - 10;
        const qreal hgt = H * (0.08 + rand01(rng) * 0.16);
        const QRectF b(x, H * 0.86 - hgt, W / 21.0 + 4, hgt + H * 0.2);
        p.setBrush(QColor(110, 70, 130));
        p.drawRect(b);
        p.setBrush(QColor(255, 220, 150, 170));
        for (int k = 0; k < 4; ++k) {
            if (rng.bounded(3) == 0)
                p.drawRect(QRectF(b.left() + 5 + (k % 2) * 10, b.top() + 6 + (k / 2) * 12, 4, 5));
        }
    }
    // The wheel: legs, rim, spokes, lights and little cabins.
    const QPointF hub(W * 0.62, H * 0.44);
    const qreal r = H * 0.34;
    const QColor steel(255, 240, 246, 220);
    p.setPen(QPen(QColor(80, 50, 100), 6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(hub, QPointF(hub.x() - r * 0.55, H * 0.95));
    p.drawLine(hub, QPointF(hub.x() + r * 0.55, H * 0.95));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(steel, 3));
    p.drawEllipse(hub, r, r);
    p.setPen(QPen(withAlpha(steel, 140), 1.6));
    p.drawEllipse(hub, r * 0.9, r * 0.9);
    const int spokes = 16;
    for (int i = 0; i < spokes; ++i) {
        const qreal a = i * 2 * M_PI / spokes;
        p.drawLine(hub, hub + QPointF(std::cos(a), std::sin(a)) * r);
    }
    for (int i = 0; i < 48; ++i) {
        const qreal a = i * 2 * M_PI / 48;
        const QPointF l = hub + QPointF(std::cos(a), std::sin(a)) * r;
        drawGlow(p, l, 6, QColor(255, 236, 170, 200));
    }
    const std::array<QColor, 4> cabins = {QColor(255, 120, 150), QColor(120, 200, 240),
                                          QColor(255, 210, 90), QColor(190, 140, 240)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * 2 * M_PI / 12 + 0.13;
        const QPointF at = hub + QPointF(std::cos(a), std::sin(a)) * r;
        p.setBrush(QColor(80, 50, 100));
        p.drawRect(QRectF(at.x() - 1, at.y(), 2, 8));
        p.setBrush(cabins[static_cast<std::size_t>(i % 4)]);
        p.drawRoundedRect(QRectF(at.x() - 10, at.y() + 6, 20, 17), 5, 5);
        p.setBrush(QColor(255, 244, 210, 220));
        p.drawRoundedRect(QRectF(at.x() - 6, at.y() + 9, 12, 7), 2, 2);
    }
    p.setBrush(QColor(255, 240, 246));
    p.drawEllipse(hub, 9, 9);
    drawFlatHeart(p, hub, 10, QColor(255, 96, 128));
    // Trees and a string of lights in front.
    p.setBrush(QColor(60, 36, 76));
    for (int i = 0; i < 16; ++i) {
        const QPointF c(i * W / 15.0, H * 0.96 - rng.bounded(H * 0.04));
        p.drawEllipse(c, 26 + rng.bounded(14.0), 22 + rng.bounded(12.0));
    }
    p.setPen(QPen(QColor(60, 36, 76), 1.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath wire(QPointF(-10, H * 0.62));
    wire.quadTo(QPointF(W * 0.2, H * 0.78), QPointF(W * 0.42, H * 0.66));
    p.drawPath(wire);
    for (int i = 1; i < 12; ++i) {
        const QPointF l = wire.pointAtPercent(i / 12.0) + QPointF(0, 4);
        drawGlow(p, l, 9, QColor(255, 220, 140, 200));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 246, 210));
        p.drawEllipse(l, 2.4, 2.4);
    }
    vignette(p, QColor(40, 10, 60), 80);
    return image;
}

void coffeeCup(QPainter& p, QPointF c, qreal s, qreal turn) {
    p.save();
    p.translate(c);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 50, 30, 60));
    p.drawEllipse(QPointF(6, 10), s * 1.45, s * 0.62);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QPointF(0, 0), s * 1.4, s * 0.58);
    p.setBrush(QColor(232, 232, 236));
    p.drawEllipse(QPointF(0, 0), s * 1.05, s * 0.42);
    // Handle.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(246, 246, 250), s * 0.16, Qt::SolidLine, Qt::RoundCap));
    p.save();
    p.rotate(turn);
    p.drawArc(QRectF(s * 0.7, -s * 0.55, s * 0.6, s * 0.5), -90 * 16, 200 * 16);
    p.restore();
    p.setPen(Qt::NoPen);
    QLinearGradient cup(QPointF(-s, 0), QPointF(s, 0));
    cup.setColorAt(0, QColor(236, 236, 242));
    cup.setColorAt(0.4, QColor(255, 255, 255));
    cup.setColorAt(1, QColor(214, 214, 224));
    p.setBrush(cup);
    QPainterPath body;
    body.moveTo(-s * 0.85, -s * 0.55);
    body.cubicTo(-s * 0.85, s * 0.15, -s * 0.6, s * 0.35, 0, s * 0.36);
    body.cubicTo(s * 0.6, s * 0.35, s * 0.85, s * 0.15, s * 0.85, -s * 0.55);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(250, 250, 252));
    p.drawEllipse(QPointF(0, -s * 0.55), s * 0.85, s * 0.32);
    QRadialGradient coffee(QPointF(0, -s * 0.55), s * 0.8);
    coffee.setColorAt(0, QColor(200, 140, 90));
    coffee.setColorAt(1, QColor(130, 76, 44));
    p.setBrush(coffee);
    p.drawEllipse(QPointF(0, -s * 0.55), s * 0.74, s * 0.26);
    // A heart in the milk foam.
    p.save();
    p.translate(0, -s * 0.56);
    p.scale(1, 0.42);
    p.setBrush(QColor(255, 246, 230));
    p.drawPath(heartPath(heartBox(QPointF(0, 0), s * 0.74)));
    p.setBrush(QColor(200, 140, 90));
    p.drawPath(heartPath(heartBox(QPointF(0, -s * 0.02), s * 0.4)));
    p.setBrush(QColor(255, 246, 230));
    p.drawPath(heartPath(heartBox(QPointF(0, -s * 0.04), s * 0.2)));
    p.restore();
    p.restore();
}

// ---- 11: coffee for two --------------------------------------------------------------------
QImage coffeeDate() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(611);
    // The window behind: a bright garden, out of focus.
    verticalFill(p, QRectF(0, 0, W, H * 0.45),
                 {{0, QColor(255, 246, 226)}, {1, QColor(244, 222, 196)}});
    blurredLayer(p, 14, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (int i = 0; i < 26; ++i) {
            lp.setBrush(i % 3 ? QColor(150, 200, 120, 160) : QColor(255, 255, 240, 220));
            const qreal r = 16 + rand01(rng) * 30;
            lp.drawEllipse(QPointF(rng.bounded(W), rng.bounded(H * 0.42)), r, r);
        }
        lp.setBrush(QColor(200, 160, 120));
        for (int k = 0; k < 4; ++k)
            lp.drawRect(QRectF(k * W / 3.0 - 6, 0, 12, H * 0.45));
    });
    // The table, lit from the window.
    const qreal edge = H * 0.4;
    QLinearGradient wood(QPointF(0, edge), QPointF(0, H));
    wood.setColorAt(0, QColor(222, 170, 126));
    wood.setColorAt(1, QColor(168, 110, 74));
    p.fillRect(QRectF(0, edge, W, H - edge), wood);
    p.setPen(QPen(QColor(150, 96, 62, 70), 1.4));
    for (int k = 0; k < 9; ++k) {
        const qreal y = edge + 12 + k * (H - edge) / 9.0 + rng.bounded(6.0);
        QPainterPath grain(QPointF(0, y));
        grain.cubicTo(QPointF(W * 0.3, y - 6), QPointF(W * 0.6, y + 8), QPointF(W, y - 2));
        p.drawPath(grain);
    }
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, edge, W, 5), QColor(120, 76, 50, 90));
    // Sunbeams over the table.
    for (int k = 0; k < 3; ++k) {
        QPainterPath beam(QPointF(W * (0.1 + k * 0.25), 0));
        beam.lineTo(QPointF(W * (0.2 + k * 0.25), 0));
        beam.lineTo(QPointF(W * (0.45 + k * 0.25), H));
        beam.lineTo(QPointF(W * (0.3 + k * 0.25), H));
        beam.closeSubpath();
        p.setBrush(QColor(255, 250, 220, 26));
        p.drawPath(beam);
    }
    coffeeCup(p, QPointF(W * 0.32, H * 0.7), 62, -20);
    coffeeCup(p, QPointF(W * 0.68, H * 0.72), 62, 200);
    // Steam.
    p.setBrush(Qt::NoBrush);
    for (const qreal x : {W * 0.32, W * 0.68}) {
        for (int k = -1; k <= 1; ++k) {
            p.setPen(QPen(QColor(255, 255, 255, 90), 3, Qt::SolidLine, Qt::RoundCap));
            QPainterPath steam(QPointF(x + k * 14, H * 0.55));
            steam.cubicTo(QPointF(x + k * 14 - 10, H * 0.48), QPointF(x + k * 14 + 10, H * 0.43),
                          QPointF(x + k * 14, H * 0.36));
            p.drawPath(steam);
        }
    }
    // Macarons on a little plate between the cups.
    p.setPen(Qt::NoPen);
    const QPointF plate(W * 0.5, H * 0.52);
    p.setBrush(QColor(90, 50, 30, 50));
    p.drawEllipse(plate + QPointF(3, 5), 50, 14);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(plate, 50, 14);
    const std::array<QColor, 3> macaron = {QColor(255, 170, 190), QColor(190, 230, 180),
                                           QColor(250, 220, 140)};
    for (int i = 0; i < 3; ++i) {
        const QPointF m = plate + QPointF(-26 + i * 26, -6 + (i == 1 ? -4 : 0));
        p.setBrush(macaron[static_cast<std::size_t>(i)].darker(108));
        p.drawEllipse(m + QPointF(0, 4), 14, 6);
        p.setBrush(QColor(255, 250, 240));
        p.drawRect(QRectF(m.x() - 12, m.y() - 1, 24, 4));
        p.setBrush(macaron[static_cast<std::size_t>(i)]);
        p.drawEllipse(m + QPointF(0, -3), 14, 6.5);
    }
    // A small flower in a glass.
    const QPointF vase(W * 0.88, H * 0.46);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawRoundedRect(QRectF(vase.x() - 9, vase.y() - 30, 18, 32), 5, 5);
    p.setPen(QPen(QColor(90, 150, 80), 2));
    p.drawLine(vase + QPointF(0, -4), vase + QPointF(-4, -62));
    p.setPen(Qt::NoPen);
    rose(p, vase + QPointF(-4, -68), 12, QColor(240, 90, 120), 30);
    vignette(p, QColor(60, 30, 10), 80);
    return image;
}

// ---- 12: under the cherry blossoms ---------------------------------------------------------
QImage cherryBlossoms() {
    QImage image = canvas(kW, kH, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(612);
    verticalFill(p, QRectF(0, 0, W, H * 0.7),
                 {{0, QColor(176, 218, 252)}, {1, QColor(255, 236, 244)}});
    softGlow(p, QPointF(W * 0.84, H * 0.14), H * 0.4, QColor(255, 252, 230, 220));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(196, 220, 226));
    QPainterPath far(QPointF(0, H * 0.62));
    far.cubicTo(QPointF(W * 0.3, H * 0.5), QPointF(W * 0.6, H * 0.62), QPointF(W, H * 0.52));
    far.lineTo(W, H);
    far.lineTo(0, H);
    p.drawPath(far);
    verticalFill(p, QRectF(0, H * 0.66, W, H * 0.34),
                 {{0, QColor(190, 226, 170)}, {1, QColor(140, 196, 128)}});
    // A path winding away.
    QPainterPath path(QPointF(W * 0.5, H * 0.66));
    path.cubicTo(QPointF(W * 0.56, H * 0.74), QPointF(W * 0.4, H * 0.86), QPointF(W * 0.46, H));
    path.lineTo(QPointF(W * 0.86, H));
    path.cubicTo(QPointF(W * 0.66, H * 0.86), QPointF(W * 0.66, H * 0.74),
                 QPointF(W * 0.53, H * 0.66));
    path.closeSubpath();
    p.setBrush(QColor(250, 230, 222));
    p.drawPath(path);
    // The bench.
    const QRectF seat(W * 0.62, H * 0.7, W * 0.24, H * 0.05);
    p.setBrush(QColor(60, 50, 60));
    for (const qreal x : {seat.left() + 10, seat.right() - 14})
        p.drawRect(QRectF(x, seat.top(), 5, H * 0.13));
    p.setBrush(QColor(150, 96, 70));
    for (int k = 0; k < 3; ++k)
        p.drawRoundedRect(
            QRectF(seat.left(), seat.top() - H * 0.1 + k * H * 0.032, seat.width(), 8), 3, 3);
    p.setBrush(QColor(176, 116, 84));
    p.drawRoundedRect(QRectF(seat.left() - 6, seat.top() + 4, seat.width() + 12, 9), 3, 3);
    p.setBrush(QColor(80, 60, 60, 60));
    p.drawEllipse(QPointF(seat.center().x(), H * 0.84), seat.width() * 0.6, 7);
    // A bouquet waiting on the bench.
    rose(p, QPointF(seat.left() + 30, seat.top() - 6), 8, QColor(240, 80, 120), 10);
    rose(p, QPointF(seat.left() + 42, seat.top() - 10), 8, QColor(255, 150, 170), 50);
    // The tree: trunk and branches from the left, clouds of blossom.
    p.setBrush(QColor(100, 64, 66));
    QPainterPath trunk(QPointF(W * 0.02, H));
    trunk.cubicTo(QPointF(W * 0.08, H * 0.7), QPointF(W * 0.06, H * 0.45),
                  QPointF(W * 0.16, H * 0.26));
    trunk.lineTo(QPointF(W * 0.2, H * 0.28));
    trunk.cubicTo(QPointF(W * 0.12, H * 0.46), QPointF(W * 0.16, H * 0.72), QPointF(W * 0.14, H));
    trunk.closeSubpath();
    p.drawPath(trunk);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(100, 64, 66), 8, Qt::SolidLine, Qt::RoundCap));
    QPainterPath branch(QPointF(W * 0.17, H * 0.3));
    branch.cubicTo(QPointF(W * 0.35, H * 0.18), QPointF(W * 0.55, H * 0.16),
                   QPointF(W * 0.78, H * 0.06));
    p.drawPath(branch);
    p.setPen(QPen(QColor(100, 64, 66), 5, Qt::SolidLine, Qt::RoundCap));
    QPainterPath twig(QPointF(W * 0.4, H * 0.19));
    twig.quadTo(QPointF(W * 0.48, H * 0.3), QPointF(W * 0.6, H * 0.32));
    p.drawPath(twig);
    p.setPen(Qt::NoPen);
    const std::array<QColor, 4> pinks = {QColor(255, 190, 212), QColor(255, 168, 198),
                                         QColor(255, 220, 232), QColor(250, 150, 186)};
    std::vector<QPointF> clusters;
    for (int i = 0; i <= 12; ++i)
        clusters.push_back(branch.pointAtPercent(i / 12.0));
    for (int i = 0; i <= 5; ++i)
        clusters.push_back(twig.pointAtPercent(i / 5.0));
    clusters.push_back(QPointF(W * 0.12, H * 0.2));
    clusters.push_back(QPointF(W * 0.05, H * 0.1));
    clusters.push_back(QPointF(W * 0.25, H * 0.08));
    blurredLayer(p, 8, [&](QPainter& lp) {
        lp.setPen(Qt::NoPen);
        for (const QPointF c : clusters) {
            lp.setBrush(QColor(255, 180, 206, 200));
            lp.drawEllipse(c, 44, 34);
        }
    });
    for (const QPointF c : clusters) {
        for (int k = 0; k < 16; ++k) {
            const QPointF b = c + QPointF((rand01(rng) - 0.5) * 80, (rand01(rng) - 0.5) * 60);
            p.setBrush(pinks[static_cast<std::size_t>(rng.bounded(4))]);
            const qreal r = 5 + rand01(rng) * 5;
            for (int petal = 0; petal < 5; ++petal) {
                const qreal a = petal * 2 * M_PI / 5;
                p.drawEllipse(b + QPointF(std::cos(a), std::sin(a)) * r * 0.6, r * 0.55, r * 0.55);
            }
            p.setBrush(QColor(255, 120, 160));
            p.drawEllipse(b, r * 0.22, r * 0.22);
        }
    }
    // Petals drifting down.
    for (int i = 0; i < 46; ++i) {
        p.save();
        p.translate(rng.bounded(W), rng.bounded(H));
        p.rotate(rng.bounded(360.0));
        p.setBrush(pinks[static_cast<std::size_t>(rng.bounded(4))]);
        p.drawEllipse(QPointF(0, 0), 4.5, 2.6);
        p.restore();
    }
    vignette(p, QColor(120, 60, 90), 50);
    return image;
}

// A faint film grain: smooth gradients otherwise break into visible blocks in a JPEG.
QImage withGrain(QImage image, quint32 seed) {
    QRandomGenerator rng(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = rng.bounded(7) - 3;
            row[x] = qRgb(qBound(0, qRed(row[x]) + d, 255), qBound(0, qGreen(row[x]) + d, 255),
                          qBound(0, qBlue(row[x]) + d, 255));
        }
    }
    return image;
}

QImage drawnPhoto(int number) {
    switch (number) {
        case 1:
            return seaSunset();
        case 2:
            return picnic();
        case 3:
            return lanterns();
        case 4:
            return starryNight();
        case 5:
            return bouquet();
        case 6:
            return rainyUmbrella();
        case 7:
            return birthdayCake();
        case 8:
            return snowyEvening();
        case 9:
            return handsHeart();
        case 10:
            return ferrisWheel();
        case 11:
            return coffeeDate();
        default:
            return cherryBlossoms();
    }
}

QImage photo(int number) {
    return withGrain(drawnPhoto(number), 6000U + static_cast<quint32>(number));
}

// The card shown when the link is shared: three of the photos fanned out like prints.
QImage shareCard() {
    const int cw = 600;
    const int ch = 315;
    QImage image = canvas(cw, ch, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QRandomGenerator rng(620);
    QLinearGradient bg(QPointF(0, 0), QPointF(cw, ch));
    bg.setColorAt(0, QColor(255, 214, 196));
    bg.setColorAt(1, QColor(250, 170, 182));
    p.fillRect(QRectF(0, 0, cw, ch), bg);
    drawBokeh(p, QRectF(0, 0, cw, ch), 22, 8, 30, QColor(255, 255, 255, 110), rng);
    drawGlow(p, QPointF(cw * 0.5, ch * 0.45), cw * 0.45, QColor(255, 255, 255, 120));
    const auto print = [&](QPointF c, qreal angle, int number, qreal width) {
        const QSizeF size(width, width * 0.603 + width * 0.1);
        p.save();
        p.translate(c);
        p.rotate(angle);
        const QRectF frame(-size.width() / 2, -size.height() / 2, size.width(), size.height());
        p.setPen(Qt::NoPen);
        for (int i = 4; i >= 1; --i) {
            p.setBrush(QColor(120, 30, 50, 14));
            p.drawRoundedRect(frame.translated(0, 5).adjusted(-i * 2, -i * 2, i * 2, i * 2), 6, 6);
        }
        p.setBrush(Qt::white);
        p.drawRoundedRect(frame, 4, 4);
        const qreal b = width * 0.045;
        const QRectF inner = frame.adjusted(b, b, -b, -b);
        p.drawImage(inner, photo(number));
        p.restore();
    };
    print(QPointF(cw * 0.25, ch * 0.5), -12, 3, 230);
    print(QPointF(cw * 0.75, ch * 0.5), 11, 6, 230);
    print(QPointF(cw * 0.5, ch * 0.47), -2, 1, 270);
    drawGlossyHeart(p, heartBox(QPointF(cw * 0.5, ch * 0.86), 58), QColor(255, 120, 150),
                    QColor(222, 34, 76));
    drawSparkle(p, QPointF(cw * 0.42, ch * 0.82), 8, QColor(255, 255, 255, 240));
    drawSparkle(p, QPointF(cw * 0.6, ch * 0.9), 6, QColor(255, 255, 255, 230));
    drawSparkle(p, QPointF(cw * 0.86, ch * 0.12), 9, QColor(255, 255, 255, 230));
    drawSparkle(p, QPointF(cw * 0.12, ch * 0.14), 7, QColor(255, 255, 255, 230));
    return image;
}

}  // namespace

std::vector<Picture> fg6Pictures() {
    std::vector<Picture> list;
    for (int number = 1; number <= 12; ++number) {
        list.push_back({kBiaobaiFolder + QStringLiteral("/fg6/%1.jpg").arg(number),
                        [number] { return photo(number); }});
    }
    list.push_back({kBiaobaiFolder + QStringLiteral("/FG6/card.jpg"), shareCard});
    return list;
}

}  // namespace art
