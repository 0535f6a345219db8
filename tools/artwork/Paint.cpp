#include "Paint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <array>
#include <cmath>
#include <vector>

namespace art {

QImage canvas(int width, int height, QColor fill) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QFont font(const QString& family, qreal pixelSize, int weight) {
    QFont f(family);
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QColor mix(QColor a, QColor b, qreal t) {
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QPainterPath heartPath(const QRectF& box) {
    const auto at = [&box](qreal u, qreal v) {
        return QPointF(box.left() + u * box.width(), box.top() + v * box.height());
    };
    QPainterPath path(at(0.5, 1.0));
    path.cubicTo(at(0.30, 0.82), at(0.0, 0.62), at(0.0, 0.31));
    path.cubicTo(at(0.0, 0.12), at(0.13, 0.0), at(0.28, 0.0));
    path.cubicTo(at(0.40, 0.0), at(0.48, 0.07), at(0.5, 0.18));
    path.cubicTo(at(0.52, 0.07), at(0.60, 0.0), at(0.72, 0.0));
    path.cubicTo(at(0.87, 0.0), at(1.0, 0.12), at(1.0, 0.31));
    path.cubicTo(at(1.0, 0.62), at(0.70, 0.82), at(0.5, 1.0));
    path.closeSubpath();
    return path;
}

QRectF heartBox(QPointF centre, qreal width) {
    const qreal height = width * 0.9;
    return {centre.x() - width / 2, centre.y() - height / 2, width, height};
}

void drawGlossyHeart(QPainter& p, const QRectF& box, QColor light, QColor dark, bool shadow) {
    p.save();
    p.setPen(Qt::NoPen);
    if (shadow) {
        const qreal spread = box.width() * 0.05;
        for (int i = 4; i >= 1; --i) {
            QColor c(90, 0, 30, 14);
            p.setBrush(c);
            const qreal grow = spread * i * 0.5;
            p.drawPath(heartPath(
                box.translated(0, box.height() * 0.05).adjusted(-grow, -grow * 0.5, grow, grow)));
        }
    }
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setBrush(fill);
    p.drawPath(heartPath(box));

    // A rim of light along the lower edge, as from a reflected glow.
    QRadialGradient rim(QPointF(box.center().x(), box.top() + box.height() * 0.25),
                        box.width() * 0.72);
    rim.setColorAt(0.75, QColor(255, 255, 255, 0));
    rim.setColorAt(1.0, QColor(255, 255, 255, 60));
    p.setBrush(rim);
    p.drawPath(heartPath(box));

    // The gloss: a soft white ellipse on the left lobe.
    const QRectF gloss(box.left() + box.width() * 0.12, box.top() + box.height() * 0.08,
                       box.width() * 0.26, box.height() * 0.2);
    QRadialGradient shine(gloss.center(), gloss.width() * 0.6);
    shine.setColorAt(0, QColor(255, 255, 255, 215));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.translate(gloss.center());
    p.rotate(-35);
    p.translate(-gloss.center());
    p.drawEllipse(gloss);
    p.restore();
}

void drawFlatHeart(QPainter& p, QPointF centre, qreal width, QColor colour, qreal angle) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(heartPath(heartBox({0, 0}, width)));
    p.restore();
}

void drawOutlineHeart(QPainter& p, QPointF centre, qreal width, QColor colour, qreal penWidth,
                      qreal angle) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.setPen(QPen(colour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(heartPath(heartBox({0, 0}, width)));
    p.restore();
}

void drawSparkle(QPainter& p, QPointF centre, qreal radius, QColor colour) {
    p.save();
    p.setPen(Qt::NoPen);
    drawGlow(p, centre, radius * 1.1,
             QColor(colour.red(), colour.green(), colour.blue(), colour.alpha() / 3));
    QPainterPath star;
    const qreal waist = radius * 0.2;
    star.moveTo(centre.x(), centre.y() - radius);
    star.quadTo(centre.x() + waist, centre.y() - waist, centre.x() + radius, centre.y());
    star.quadTo(centre.x() + waist, centre.y() + waist, centre.x(), centre.y() + radius);
    star.quadTo(centre.x() - waist, centre.y() + waist, centre.x() - radius, centre.y());
    star.quadTo(centre.x() - waist, centre.y() - waist, centre.x(), centre.y() - radius);
    p.setBrush(colour);
    p.drawPath(star);
    p.restore();
}

void drawGlow(QPainter& p, QPointF centre, qreal radius, QColor colour) {
    QRadialGradient g(centre, radius);
    g.setColorAt(0, colour);
    QColor edge = colour;
    edge.setAlpha(0);
    g.setColorAt(1, edge);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void drawBokeh(QPainter& p, const QRectF& area, int count, qreal minRadius, qreal maxRadius,
               QColor colour, QRandomGenerator& rng) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(area.left() + rng.bounded(area.width()),
                        area.top() + rng.bounded(area.height()));
        const qreal r = minRadius + rng.bounded(maxRadius - minRadius);
        QColor inner = colour;
        inner.setAlphaF(colour.alphaF() * (0.4 + rng.bounded(0.6)));
        QRadialGradient g(c, r);
        g.setColorAt(0, inner);
        g.setColorAt(0.7, QColor(inner.red(), inner.green(), inner.blue(), inner.alpha() / 2));
        g.setColorAt(1, QColor(inner.red(), inner.green(), inner.blue(), 0));
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    }
    p.restore();
}

QImage blurred(const QImage& source, int radius) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius < 1)
        return image;
    const int w = image.width();
    const int h = image.height();
    std::vector<std::array<int, 4>> line(std::max(w, h));
    // Three box passes in each direction approximate a Gaussian.
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                line[x] = {qAlpha(row[x]), qRed(row[x]), qGreen(row[x]), qBlue(row[x])};
            }
            for (int x = 0; x < w; ++x) {
                std::array<int, 4> sum{};
                int n = 0;
                for (int k = std::max(0, x - radius); k <= std::min(w - 1, x + radius); ++k) {
                    for (int c = 0; c < 4; ++c)
                        sum[c] += line[k][c];
                    ++n;
                }
                row[x] = qRgba(sum[1] / n, sum[2] / n, sum[3] / n, sum[0] / n);
            }
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) {
                const QRgb v = reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
                line[y] = {qAlpha(v), qRed(v), qGreen(v), qBlue(v)};
            }
            for (int y = 0; y < h; ++y) {
                std::array<int, 4> sum{};
                int n = 0;
                for (int k = std::max(0, y - radius); k <= std::min(h - 1, y + radius); ++k) {
                    for (int c = 0; c < 4; ++c)
                        sum[c] += line[k][c];
                    ++n;
                }
                reinterpret_cast<QRgb*>(image.scanLine(y))[x] =
                    qRgba(sum[1] / n, sum[2] / n, sum[3] / n, sum[0] / n);
            }
        }
    }
    return image;
}

void drawGlowText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
                  QColor colour, QColor glow, qreal spread) {
    const int margin = qCeil(spread * 4) + 2;
    QImage halo = canvas(qCeil(box.width()) + 2 * margin, qCeil(box.height()) + 2 * margin);
    {
        QPainter hp(&halo);
        hp.setRenderHint(QPainter::TextAntialiasing);
        hp.setFont(font);
        hp.setPen(glow);
        hp.drawText(QRectF(margin, margin, box.width(), box.height()), flags, text);
    }
    halo = blurred(halo, qMax(1, qRound(spread)));
    p.save();
    for (int i = 0; i < 2; ++i)
        p.drawImage(QPointF(box.left() - margin, box.top() - margin), halo);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, flags, text);
    p.restore();
}

void drawRainbowText(QPainter& p, QPointF baseline, const QString& text, const QFont& font,
                     qreal phase, QColor outline) {
    QPainterPath path;
    path.addText(baseline, font, text);
    const QRectF bounds = path.boundingRect();
    QLinearGradient g(bounds.topLeft(), bounds.topRight());
    static const std::array<QColor, 7> hues = {
        QColor(255, 64, 96),  QColor(255, 150, 40),  QColor(255, 226, 60), QColor(90, 220, 110),
        QColor(60, 200, 255), QColor(120, 110, 255), QColor(230, 90, 230)};
    for (int i = 0; i <= 12; ++i) {
        const qreal t = i / 12.0;
        const qreal h = std::fmod(t * 0.9 + phase, 1.0) * hues.size();
        const int k = static_cast<int>(h) % hues.size();
        g.setColorAt(t, mix(hues[k], hues[(k + 1) % hues.size()], h - std::floor(h)));
    }
    p.save();
    if (outline.alpha() > 0) {
        p.setPen(QPen(outline, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
    p.restore();
}

void drawShadowText(QPainter& p, const QRectF& box, int flags, const QString& text,
                    const QFont& font, QColor colour, QColor shadow, QPointF offset) {
    p.save();
    p.setFont(font);
    p.setPen(shadow);
    p.drawText(box.translated(offset), flags, text);
    p.setPen(colour);
    p.drawText(box, flags, text);
    p.restore();
}

namespace {

// Segments a..g, clockwise from the top, g in the middle.
constexpr std::array<unsigned, 10> kSegmentsOfDigit = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                       0x6D, 0x7D, 0x07, 0x7F, 0x6F};

QPolygonF horizontalSegment(qreal x0, qreal x1, qreal y, qreal t) {
    return QPolygonF({QPointF(x0, y), QPointF(x0 + t / 2, y - t / 2),
                      QPointF(x1 - t / 2, y - t / 2), QPointF(x1, y),
                      QPointF(x1 - t / 2, y + t / 2), QPointF(x0 + t / 2, y + t / 2)});
}

QPolygonF verticalSegment(qreal x, qreal y0, qreal y1, qreal t) {
    return QPolygonF({QPointF(x, y0), QPointF(x + t / 2, y0 + t / 2),
                      QPointF(x + t / 2, y1 - t / 2), QPointF(x, y1),
                      QPointF(x - t / 2, y1 - t / 2), QPointF(x - t / 2, y0 + t / 2)});
}

}  // namespace

void drawSegmentDigit(QPainter& p, const QRectF& box, int digit, QColor lit, QColor dim) {
    const qreal t = box.width() * 0.2;
    const qreal gap = t * 0.18;
    const qreal l = box.left() + t / 2;
    const qreal r = box.right() - t / 2;
    const qreal top = box.top() + t / 2;
    const qreal mid = box.center().y();
    const qreal bottom = box.bottom() - t / 2;
    const std::array<QPolygonF, 7> segments = {horizontalSegment(l + gap, r - gap, top, t),
                                               verticalSegment(r, top + gap, mid - gap, t),
                                               verticalSegment(r, mid + gap, bottom - gap, t),
                                               horizontalSegment(l + gap, r - gap, bottom, t),
                                               verticalSegment(l, mid + gap, bottom - gap, t),
                                               verticalSegment(l, top + gap, mid - gap, t),
                                               horizontalSegment(l + gap, r - gap, mid, t)};
    const unsigned mask = kSegmentsOfDigit[static_cast<std::size_t>(digit % 10)];
    p.save();
    p.setPen(Qt::NoPen);
    // A slight forward slant, as on a real clock display.
    QTransform slant;
    slant.translate(box.center().x(), box.center().y());
    slant.shear(-0.08, 0);
    slant.translate(-box.center().x(), -box.center().y());
    p.setTransform(slant, true);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const bool on = (mask >> i) & 1U;
        if (on) {
            QColor halo = lit;
            halo.setAlpha(45);
            p.setPen(QPen(halo, t * 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPolygon(segments[i]);
            p.setPen(Qt::NoPen);
        }
        p.setBrush(on ? lit : dim);
        p.drawPolygon(segments[i]);
    }
    p.restore();
}

void drawSegmentColon(QPainter& p, const QRectF& box, QColor lit) {
    const qreal d = box.width() * 0.7;
    p.save();
    p.setPen(Qt::NoPen);
    for (qreal f : {0.32, 0.68}) {
        const QPointF c(box.center().x(), box.top() + box.height() * f);
        drawGlow(p, c, d * 1.2, QColor(lit.red(), lit.green(), lit.blue(), 90));
        p.setBrush(lit);
        p.drawEllipse(c, d / 2, d / 2);
    }
    p.restore();
}

namespace {

void fillVertical(QPainter& p, const QRectF& r,
                  std::initializer_list<std::pair<qreal, QColor>> stops) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    p.fillRect(r, g);
}

void drawStars(QPainter& p, const QRectF& area, int count, QRandomGenerator& rng) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(area.left() + rng.bounded(area.width()),
                        area.top() + rng.bounded(area.height()));
        p.setBrush(QColor(255, 255, 255, 90 + rng.bounded(165)));
        const qreal r = 0.4 + rng.bounded(0.9);
        p.drawEllipse(c, r, r);
    }
}

}  // namespace

QImage sceneryPhoto(Scenery kind, QSize size) {
    QImage image = canvas(size.width(), size.height(), Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    QRandomGenerator rng(static_cast<quint32>(kind) * 7919U + 17U);
    switch (kind) {
        case Scenery::Sunset: {
            fillVertical(p, QRectF(0, 0, w, h * 0.62),
                         {{0, QColor(120, 70, 160)},
                          {0.55, QColor(255, 120, 120)},
                          {1, QColor(255, 196, 110)}});
            drawGlow(p, QPointF(w * 0.5, h * 0.6), h * 0.45, QColor(255, 240, 180, 200));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 236, 170));
            p.drawEllipse(QPointF(w * 0.5, h * 0.6), h * 0.16, h * 0.16);
            fillVertical(p, QRectF(0, h * 0.62, w, h * 0.38),
                         {{0, QColor(236, 120, 120)}, {1, QColor(90, 50, 110)}});
            p.setBrush(QColor(255, 230, 170, 170));
            for (int i = 0; i < 6; ++i) {
                const qreal y = h * (0.66 + i * 0.05);
                const qreal half = w * (0.16 - i * 0.02);
                p.drawRoundedRect(QRectF(w * 0.5 - half, y, 2 * half, h * 0.015 + 0.6), 1, 1);
            }
            // A dark hill on the left.
            p.setBrush(QColor(70, 35, 80));
            QPainterPath hill(QPointF(0, h * 0.7));
            hill.cubicTo(QPointF(w * 0.12, h * 0.5), QPointF(w * 0.3, h * 0.58),
                         QPointF(w * 0.38, h));
            hill.lineTo(0, h);
            hill.closeSubpath();
            p.drawPath(hill);
            break;
        }
        case Scenery::Flowers: {
            fillVertical(p, QRectF(0, 0, w, h * 0.6),
                         {{0, QColor(110, 180, 245)}, {1, QColor(200, 232, 255)}});
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 230));
            for (const QPointF c : {QPointF(w * 0.25, h * 0.2), QPointF(w * 0.72, h * 0.14)}) {
                p.drawEllipse(c, w * 0.09, h * 0.06);
                p.drawEllipse(c + QPointF(w * 0.07, h * 0.02), w * 0.07, h * 0.05);
                p.drawEllipse(c + QPointF(-w * 0.07, h * 0.03), w * 0.06, h * 0.04);
            }
            fillVertical(p, QRectF(0, h * 0.55, w, h * 0.45),
                         {{0, QColor(120, 200, 90)}, {1, QColor(60, 150, 70)}});
            const std::array<QColor, 4> petals = {QColor(255, 90, 130), QColor(255, 210, 60),
                                                  QColor(255, 255, 255), QColor(240, 120, 200)};
            for (int i = 0; i < 70; ++i) {
                const qreal y = h * 0.58 + rng.bounded(h * 0.42);
                const qreal depth = (y - h * 0.58) / (h * 0.42);
                p.setBrush(petals[static_cast<std::size_t>(rng.bounded(4))]);
                const qreal r = 0.6 + depth * w * 0.018;
                p.drawEllipse(QPointF(rng.bounded(w), y), r, r);
            }
            break;
        }
        case Scenery::StarryNight: {
            fillVertical(
                p, QRectF(0, 0, w, h),
                {{0, QColor(14, 20, 60)}, {0.7, QColor(60, 40, 110)}, {1, QColor(150, 70, 130)}});
            drawStars(p, QRectF(0, 0, w, h * 0.7), qRound(w * h / 90), rng);
            drawGlow(p, QPointF(w * 0.75, h * 0.25), h * 0.3, QColor(255, 250, 200, 90));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 246, 200));
            QPainterPath moon;
            moon.addEllipse(QPointF(w * 0.75, h * 0.25), h * 0.12, h * 0.12);
            QPainterPath bite;
            bite.addEllipse(QPointF(w * 0.75 + h * 0.06, h * 0.22), h * 0.11, h * 0.11);
            p.drawPath(moon.subtracted(bite));
            p.setBrush(QColor(20, 16, 40));
            QPainterPath hills(QPointF(0, h * 0.82));
            hills.cubicTo(QPointF(w * 0.3, h * 0.66), QPointF(w * 0.55, h * 0.9),
                          QPointF(w, h * 0.76));
            hills.lineTo(w, h);
            hills.lineTo(0, h);
            p.drawPath(hills);
            break;
        }
        case Scenery::Beach: {
            fillVertical(p, QRectF(0, 0, w, h * 0.45),
                         {{0, QColor(120, 200, 250)}, {1, QColor(210, 240, 255)}});
            fillVertical(p, QRectF(0, h * 0.45, w, h * 0.2),
                         {{0, QColor(40, 170, 200)}, {1, QColor(90, 210, 210)}});
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 200));
            QPainterPath foam(QPointF(0, h * 0.63));
            foam.cubicTo(QPointF(w * 0.3, h * 0.6), QPointF(w * 0.6, h * 0.68),
                         QPointF(w, h * 0.62));
            foam.lineTo(w, h * 0.7);
            foam.lineTo(0, h * 0.7);
            p.drawPath(foam);
            fillVertical(p, QRectF(0, h * 0.66, w, h * 0.34),
                         {{0, QColor(250, 225, 180)}, {1, QColor(235, 200, 150)}});
            drawOutlineHeart(p, QPointF(w * 0.52, h * 0.83), w * 0.22, QColor(200, 150, 110),
                             qMax(1.0, w * 0.012));
            drawGlow(p, QPointF(w * 0.18, h * 0.16), h * 0.18, QColor(255, 255, 220, 220));
            break;
        }
        case Scenery::Balloons: {
            fillVertical(p, QRectF(0, 0, w, h),
                         {{0, QColor(255, 214, 230)}, {1, QColor(255, 240, 220)}});
            const std::array<QColor, 4> colours = {QColor(255, 80, 120), QColor(255, 150, 180),
                                                   QColor(240, 60, 90), QColor(255, 190, 120)};
            for (int i = 0; i < 7; ++i) {
                const QPointF c(w * (0.12 + 0.13 * i) + rng.bounded(w * 0.04),
                                h * (0.2 + rng.bounded(0.35)));
                const qreal bw = w * (0.12 + rng.bounded(0.05));
                p.setPen(QPen(QColor(150, 110, 120), qMax(0.6, w * 0.004)));
                p.drawLine(c + QPointF(0, bw * 0.45), QPointF(w * 0.5, h * 1.02));
                drawGlossyHeart(p, heartBox(c, bw),
                                colours[static_cast<std::size_t>(i % 4)].lighter(125),
                                colours[static_cast<std::size_t>(i % 4)], false);
            }
            break;
        }
        case Scenery::Lanterns: {
            fillVertical(p, QRectF(0, 0, w, h),
                         {{0, QColor(30, 20, 60)}, {1, QColor(110, 50, 90)}});
            drawStars(p, QRectF(0, 0, w, h), qRound(w * h / 160), rng);
            for (int i = 0; i < 9; ++i) {
                const QPointF c(rng.bounded(w), h * 0.15 + rng.bounded(h * 0.75));
                const qreal s = w * (0.03 + rng.bounded(0.04));
                drawGlow(p, c, s * 2.2, QColor(255, 170, 80, 120));
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(255, 200, 110));
                p.drawRoundedRect(QRectF(c.x() - s / 2, c.y() - s * 0.7, s, s * 1.4), s * 0.3,
                                  s * 0.3);
            }
            break;
        }
    }
    return image;
}

void drawPolaroid(QPainter& p, QPointF centre, QSizeF size, qreal angle, Scenery kind) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    const QRectF frame(-size.width() / 2, -size.height() / 2, size.width(), size.height());
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 18));
        p.drawRoundedRect(frame.translated(1, 1.5).adjusted(-i * 0.7, -i * 0.7, i * 0.7, i * 0.7),
                          2, 2);
    }
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(frame, 1.5, 1.5);
    const qreal border = size.width() * 0.07;
    const QRectF photo(frame.left() + border, frame.top() + border, frame.width() - 2 * border,
                       frame.height() - border * 3.2);
    p.drawImage(photo, sceneryPhoto(kind, (photo.size() * 2).toSize()));
    p.restore();
}

void drawVideoFrame(QPainter& p, const QRectF& box, Scenery kind, QColor accent) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(box.translated(0, 2).adjusted(-1, -1, 1, 1), 5, 5);
    QPainterPath clip;
    clip.addRoundedRect(box, 4, 4);
    p.setClipPath(clip);
    p.drawImage(box, sceneryPhoto(kind, (box.size() * 2).toSize()));
    p.fillRect(box, QColor(0, 0, 0, 70));
    // Control bar with a progress line.
    const QRectF bar(box.left(), box.bottom() - box.height() * 0.17, box.width(),
                     box.height() * 0.17);
    p.fillRect(bar, QColor(0, 0, 0, 150));
    const qreal y = bar.center().y();
    const qreal x0 = bar.left() + bar.height() * 1.3;
    const qreal x1 = bar.right() - bar.height() * 0.6;
    p.setPen(QPen(QColor(255, 255, 255, 90), qMax(1.0, bar.height() * 0.18), Qt::SolidLine,
                  Qt::RoundCap));
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    p.setPen(QPen(accent, qMax(1.0, bar.height() * 0.18), Qt::SolidLine, Qt::RoundCap));
    const qreal xp = x0 + (x1 - x0) * 0.38;
    p.drawLine(QPointF(x0, y), QPointF(xp, y));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(xp, y), bar.height() * 0.18, bar.height() * 0.18);
    const qreal s = bar.height() * 0.28;
    QPolygonF small({QPointF(bar.left() + bar.height() * 0.45, y - s),
                     QPointF(bar.left() + bar.height() * 0.45, y + s),
                     QPointF(bar.left() + bar.height() * 0.45 + s * 1.6, y)});
    p.drawPolygon(small);
    p.setClipping(false);
    // The big play button.
    const QPointF c(box.center().x(), box.top() + (box.height() - bar.height()) / 2);
    const qreal r = box.height() * 0.2;
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(c, r * 1.25, r * 1.25);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(c, r, r);
    p.setBrush(accent);
    QPolygonF play({QPointF(c.x() - r * 0.32, c.y() - r * 0.5),
                    QPointF(c.x() - r * 0.32, c.y() + r * 0.5), QPointF(c.x() + r * 0.52, c.y())});
    p.drawPolygon(play);
    p.restore();
}

void drawFox(QPainter& p, QPointF feet, qreal height) {
    const qreal s = height / 100.0;
    const qreal cx = feet.x();
    const qreal fy = feet.y();
    const auto at = [&](qreal dx, qreal dy) { return QPointF(cx + dx * s, fy - dy * s); };
    const QColor fur(236, 88, 46);
    const QColor furDark(196, 58, 32);
    const QColor cream(255, 246, 236);
    const QColor ink(52, 30, 30);
    p.save();
    p.setPen(Qt::NoPen);

    // Shadow on the ground.
    p.setBrush(QColor(120, 40, 60, 45));
    p.drawEllipse(at(4, 0), 30 * s, 4 * s);

    // Tail: a thick curve behind the body with a white tip.
    QPainterPath tail(at(10, 8));
    tail.cubicTo(at(40, 4), at(52, 26), at(44, 46));
    tail.cubicTo(at(40, 56), at(30, 54), at(32, 44));
    tail.cubicTo(at(36, 28), at(24, 20), at(8, 22));
    tail.closeSubpath();
    QLinearGradient tailFill(at(10, 8), at(44, 50));
    tailFill.setColorAt(0, furDark);
    tailFill.setColorAt(0.6, fur);
    tailFill.setColorAt(0.78, fur);
    tailFill.setColorAt(0.82, cream);
    tailFill.setColorAt(1, cream);
    p.setBrush(tailFill);
    p.drawPath(tail);

    // Body and belly.
    QLinearGradient bodyFill(at(-16, 40), at(16, 0));
    bodyFill.setColorAt(0, fur);
    bodyFill.setColorAt(1, furDark);
    p.setBrush(bodyFill);
    p.drawEllipse(QRectF(at(-17, 44), QSizeF(34 * s, 44 * s)));
    p.setBrush(cream);
    p.drawEllipse(QRectF(at(-10, 36), QSizeF(20 * s, 30 * s)));
    // Feet.
    p.setBrush(furDark);
    p.drawEllipse(QRectF(at(-16, 6), QSizeF(14 * s, 7 * s)));
    p.drawEllipse(QRectF(at(2, 6), QSizeF(14 * s, 7 * s)));

    // Ears behind the head.
    for (int side : {-1, 1}) {
        QPainterPath ear(at(side * 8, 82));
        ear.quadTo(at(side * 22, 104), at(side * 30, 102));
        ear.quadTo(at(side * 34, 86), at(side * 27, 70));
        ear.closeSubpath();
        p.setBrush(fur);
        p.drawPath(ear);
        QPainterPath inner(at(side * 13, 82));
        inner.quadTo(at(side * 23, 97), at(side * 28, 96));
        inner.quadTo(at(side * 30, 86), at(side * 26, 76));
        inner.closeSubpath();
        p.setBrush(QColor(255, 196, 196));
        p.drawPath(inner);
        // Dark ear tips.
        QPainterPath tip(at(side * 25, 100.5));
        tip.quadTo(at(side * 29, 102.5), at(side * 30, 102));
        tip.quadTo(at(side * 31.5, 97), at(side * 31.5, 94));
        tip.closeSubpath();
        p.setBrush(ink);
        p.drawPath(tip);
    }

    // Head: wide cheeks tapering to a rounded chin.
    QPainterPath head(at(0, 88));
    head.cubicTo(at(22, 88), at(36, 76), at(36, 62));
    head.cubicTo(at(36, 50), at(20, 42), at(0, 42));
    head.cubicTo(at(-20, 42), at(-36, 50), at(-36, 62));
    head.cubicTo(at(-36, 76), at(-22, 88), at(0, 88));
    QLinearGradient headFill(at(0, 88), at(0, 42));
    headFill.setColorAt(0, fur.lighter(108));
    headFill.setColorAt(1, fur);
    p.setBrush(headFill);
    p.drawPath(head);
    // White mask over the lower face.
    QPainterPath mask(at(-34, 60));
    mask.cubicTo(at(-22, 66), at(-10, 64), at(0, 58));
    mask.cubicTo(at(10, 64), at(22, 66), at(34, 60));
    mask.cubicTo(at(32, 48), at(18, 42), at(0, 42));
    mask.cubicTo(at(-18, 42), at(-32, 48), at(-34, 60));
    p.setBrush(cream);
    p.drawPath(mask);

    // Big dark eyes with two highlights each.
    for (int side : {-1, 1}) {
        const QRectF eye(at(side * 13 - 5, 73), QSizeF(10 * s, 12 * s));
        p.setBrush(ink);
        p.drawEllipse(eye);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(eye.center().x() + 1.6 * s, eye.center().y() - 2.4 * s), 2.2 * s,
                      2.2 * s);
        p.drawEllipse(QPointF(eye.center().x() - 1.8 * s, eye.center().y() + 2.6 * s), 1.0 * s,
                      1.0 * s);
        // Blush under the eye.
        p.setBrush(QColor(255, 120, 140, 150));
        p.drawEllipse(QPointF(cx + side * 24 * s, fy - 58 * s), 5.5 * s, 3.2 * s);
    }
    // Nose and a small smile.
    p.setBrush(ink);
    p.drawEllipse(QPointF(cx, fy - 57 * s), 3.2 * s, 2.4 * s);
    p.setPen(QPen(ink, qMax(0.8, 1.3 * s), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath smile(at(-5, 52));
    smile.quadTo(at(-2.5, 49), at(0, 52));
    smile.quadTo(at(2.5, 49), at(5, 52));
    p.drawPath(smile);
    p.setPen(Qt::NoPen);

    // Paws hold a heart in front of the belly.
    drawGlossyHeart(p, heartBox(at(0, 26), 26 * s), QColor(255, 110, 140), QColor(220, 20, 60),
                    false);
    p.setBrush(fur);
    p.drawEllipse(at(-11, 27), 5 * s, 4.5 * s);
    p.drawEllipse(at(11, 27), 5 * s, 4.5 * s);
    p.restore();
}

}  // namespace art
