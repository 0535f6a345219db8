#pragma once

// Drawing helpers shared by every picture: hearts, sparkles, text with glow or rainbow fill,
// seven-segment digits, small scenery photos and a cartoon fox.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QRectF>
#include <QString>

class QPainter;

namespace art {

// The faces the pictures use, by their installed names.
inline const QString kSans = QStringLiteral("Noto Sans CJK SC");
inline const QString kSerif = QStringLiteral("Noto Serif CJK SC");
inline const QString kHei = QStringLiteral("WenQuanYi Zen Hei");
inline const QString kLatin = QStringLiteral("DejaVu Sans");

// A transparent canvas of the given size, ready for antialiased painting.
QImage canvas(int width, int height, QColor fill = Qt::transparent);

QFont font(const QString& family, qreal pixelSize, int weight = QFont::Normal);

// A heart filling `box`: lobes at the top, tip at the bottom centre.
QPainterPath heartPath(const QRectF& box);
QRectF heartBox(QPointF centre, qreal width);

// A heart with a vertical gradient, a soft shadow and a glossy highlight.
void drawGlossyHeart(QPainter& p, const QRectF& box, QColor light, QColor dark, bool shadow = true);
void drawFlatHeart(QPainter& p, QPointF centre, qreal width, QColor colour, qreal angle = 0);
void drawOutlineHeart(QPainter& p, QPointF centre, qreal width, QColor colour, qreal penWidth,
                      qreal angle = 0);

// A four-pointed twinkle.
void drawSparkle(QPainter& p, QPointF centre, qreal radius, QColor colour);
// Soft round blobs of light.
void drawBokeh(QPainter& p, const QRectF& area, int count, qreal minRadius, qreal maxRadius,
               QColor colour, QRandomGenerator& rng);
void drawGlow(QPainter& p, QPointF centre, qreal radius, QColor colour);

// Text drawn in one colour over a blurred halo of another.
void drawGlowText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
                  QColor colour, QColor glow, qreal spread = 2.0);
// Text filled with a horizontal rainbow, `phase` (0..1) shifting where it starts.
void drawRainbowText(QPainter& p, QPointF baseline, const QString& text, const QFont& font,
                     qreal phase, QColor outline = Qt::transparent);
void drawShadowText(QPainter& p, const QRectF& box, int flags, const QString& text,
                    const QFont& font, QColor colour, QColor shadow, QPointF offset = {0, 1});

// One digit 0-9 in seven segments inside `box`; unlit segments are drawn in `dim`.
void drawSegmentDigit(QPainter& p, const QRectF& box, int digit, QColor lit, QColor dim);
void drawSegmentColon(QPainter& p, const QRectF& box, QColor lit);

enum class Scenery { Sunset, Flowers, StarryNight, Beach, Balloons, Lanterns };
// A small landscape photo to put into frames, albums and cubes.
QImage sceneryPhoto(Scenery kind, QSize size);
// A photo with a white border and a soft shadow, rotated by `angle` degrees about its centre.
void drawPolaroid(QPainter& p, QPointF centre, QSizeF size, qreal angle, Scenery kind);

// A cartoon fox sitting upright, holding a heart; `height` is head top to feet.
void drawFox(QPainter& p, QPointF feetCentre, qreal height);

// A play-button video frame.
void drawVideoFrame(QPainter& p, const QRectF& box, Scenery kind, QColor accent);

// Blurs an image by repeated box averaging; `radius` in pixels.
QImage blurred(const QImage& source, int radius);

QColor mix(QColor a, QColor b, qreal t);

}  // namespace art
