#include "WindowArt.h"

#include "Paint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace art {

namespace {

using namespace mainwindow;

// The light panel behind the gallery reaches a little past the gallery on every side, so that
// its rounded corners lie outside the rectangle the gallery and its tiles copy.
constexpr QRectF kPanel{5, 110, 705, 454};
constexpr qreal kPanelRadius = 6;
// The dark ticker band behind the announcement runs off the right edge of the window.
constexpr QRectF kTicker{300, 85, 430, 22};
// Nothing is drawn near the exit button.
constexpr QRectF kExitCorner{628, 0, 86, 56};
constexpr QRectF kEmblem{16, 16, 58, 52};
constexpr QPointF kTitleBaseline{86, 46};
constexpr QPointF kSubtitleOrigin{88, 54};

const QColor kRoseDeep(196, 38, 92);
const QColor kRose(232, 84, 128);
const QColor kBlush(247, 160, 182);
const QColor kWine(92, 14, 46);

void paintBase(QPainter& p) {
    const QRectF all(QPointF(0, 0), kSize);
    QLinearGradient base(QPointF(0, 0), QPointF(kSize.width() * 0.45, kSize.height()));
    base.setColorAt(0, kRoseDeep);
    base.setColorAt(0.22, kRose);
    base.setColorAt(1, kBlush);
    p.fillRect(all, base);
    // A warm coral light from the top right.
    QRadialGradient warm(QPointF(kSize.width() * 0.86, -40), 420);
    warm.setColorAt(0, QColor(255, 150, 130, 150));
    warm.setColorAt(1, QColor(255, 150, 130, 0));
    p.fillRect(all, warm);
}

// Soft light, hearts and a silk ribbon across the header, kept away from the exit button.
void paintHeaderDecoration(QPainter& p) {
    QRandomGenerator rng(520);
    p.save();
    p.setClipRect(QRectF(0, 0, kSize.width(), kPanel.top()));
    QPainterPath open;
    open.addRect(QRectF(0, 0, kSize.width(), kPanel.top()));
    QPainterPath corner;
    corner.addRect(kExitCorner);
    p.setClipPath(open.subtracted(corner));

    drawBokeh(p, QRectF(300, -10, 340, 90), 14, 6, 26, QColor(255, 255, 255, 55), rng);
    drawBokeh(p, QRectF(0, 40, 300, 70), 6, 4, 14, QColor(255, 230, 240, 45), rng);

    QPainterPath ribbon(QPointF(-10, 92));
    ribbon.cubicTo(QPointF(160, 52), QPointF(320, 104), QPointF(470, 66));
    ribbon.cubicTo(QPointF(560, 44), QPointF(640, 70), QPointF(730, 52));
    ribbon.lineTo(730, 62);
    ribbon.cubicTo(QPointF(640, 82), QPointF(560, 56), QPointF(470, 80));
    ribbon.cubicTo(QPointF(320, 118), QPointF(160, 64), QPointF(-10, 104));
    ribbon.closeSubpath();
    QLinearGradient silk(QPointF(0, 0), QPointF(kSize.width(), 0));
    silk.setColorAt(0, QColor(255, 255, 255, 10));
    silk.setColorAt(0.5, QColor(255, 255, 255, 46));
    silk.setColorAt(1, QColor(255, 255, 255, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(silk);
    p.drawPath(ribbon);

    drawOutlineHeart(p, QPointF(566, 38), 70, QColor(255, 255, 255, 48), 2.2, 14);
    drawOutlineHeart(p, QPointF(604, 74), 30, QColor(255, 255, 255, 40), 1.6, -12);
    drawFlatHeart(p, QPointF(520, 18), 14, QColor(255, 255, 255, 70), -18);
    drawFlatHeart(p, QPointF(468, 40), 9, QColor(255, 255, 255, 60), 10);
    drawFlatHeart(p, QPointF(420, 16), 7, QColor(255, 235, 240, 70), -6);
    drawFlatHeart(p, QPointF(612, 24), 10, QColor(255, 255, 255, 55), 20);
    drawSparkle(p, QPointF(498, 56), 5, QColor(255, 255, 255, 200));
    drawSparkle(p, QPointF(392, 30), 4, QColor(255, 255, 255, 170));
    drawSparkle(p, QPointF(80, 16), 3.5, QColor(255, 255, 255, 180));
    p.restore();
}

void paintTitle(QPainter& p) {
    drawGlow(p, kEmblem.center(), 44, QColor(255, 220, 230, 110));
    drawGlossyHeart(p, kEmblem, QColor(255, 120, 150), QColor(214, 18, 70));
    drawSparkle(p, QPointF(kEmblem.right() - 4, kEmblem.top() + 4), 6, QColor(255, 255, 255, 230));

    const QString title = QStringLiteral("Zenri表白网页生成器");
    const QFont titleFont = font(kSerif, 30, QFont::Bold);
    QPainterPath text;
    text.addText(kTitleBaseline, titleFont, title);
    // Shadow: the outline blurred a little, offset downwards.
    QImage shade = canvas(kSize.width(), 90);
    {
        QPainter sp(&shade);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(110, 0, 40, 150));
        sp.drawPath(text.translated(0, 2));
    }
    p.drawImage(0, 0, blurred(shade, 2));
    QLinearGradient fill(QPointF(0, kTitleBaseline.y() - 26), QPointF(0, kTitleBaseline.y() + 4));
    fill.setColorAt(0, QColor(255, 255, 255));
    fill.setColorAt(1, QColor(255, 228, 236));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(text);

    const QFont small = font(kSans, 13);
    drawShadowText(p, QRectF(kSubtitleOrigin, QSizeF(300, 20)), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("用一张网页，说出藏在心底的爱"), small, QColor(255, 244, 248),
                   QColor(140, 20, 60, 110));
}

// A small loud-hailer drawn left of where the announcement text starts.
void paintHailer(QPainter& p, QPointF centre, QColor colour) {
    p.save();
    p.translate(centre);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(-9, -3.2, 4.5, 6.4), 1.2, 1.2);
    QPolygonF cone(
        {QPointF(-4.8, -3.2), QPointF(3.5, -7.5), QPointF(3.5, 7.5), QPointF(-4.8, 3.2)});
    p.drawPolygon(cone);
    p.drawRoundedRect(QRectF(-7.5, 2.5, 2.6, 5.2), 1, 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(2, -5, 8, 10), -45 * 16, 90 * 16);
    p.drawArc(QRectF(1, -8.5, 13, 17), -45 * 16, 90 * 16);
    p.restore();
}

void paintTicker(QPainter& p) {
    QPainterPath band;
    band.addRoundedRect(kTicker, kTicker.height() / 2, kTicker.height() / 2);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 0, 30, 40));
    p.drawPath(band.translated(0, 1.5));
    QLinearGradient fill(kTicker.topLeft(), kTicker.bottomLeft());
    fill.setColorAt(0, kWine.darker(115));
    fill.setColorAt(1, kWine);
    p.setBrush(fill);
    p.drawPath(band);
    // Light on the lower rim, shade under the upper one: a shallow inset.
    p.setClipPath(band);
    p.setPen(QPen(QColor(255, 255, 255, 50), 1));
    p.drawPath(band.translated(0, 1));
    p.setPen(QPen(QColor(40, 0, 15, 110), 1));
    p.drawLine(QPointF(kTicker.left(), kTicker.top() + 0.5),
               QPointF(kTicker.right(), kTicker.top() + 0.5));
    p.setClipping(false);
    paintHailer(p, QPointF(kTicker.left() + 22, kTicker.center().y()), QColor(255, 168, 176));
    p.setPen(QPen(QColor(255, 140, 150, 90), 1));
    p.drawLine(QPointF(kAnnouncement.x() - 5.5, kTicker.top() + 5),
               QPointF(kAnnouncement.x() - 5.5, kTicker.bottom() - 5));
    p.restore();

    drawShadowText(p, QRectF(18, kTicker.top(), 270, kTicker.height()),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("♥  选一种风格，做一张只属于TA的网页"), font(kSans, 12),
                   QColor(255, 240, 245), QColor(140, 20, 60, 110));
}

// The gallery's backdrop: light at the top, where every tile copies its caption strip from,
// deepening to a soft rose with a faint lattice of hearts further down.
void paintPanel(QPainter& p) {
    QPainterPath panel;
    panel.addRoundedRect(kPanel, kPanelRadius, kPanelRadius);
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 1; i <= 4; ++i) {
        p.setBrush(QColor(120, 10, 50, 14));
        p.drawRoundedRect(kPanel.adjusted(-i * 0.8, -i * 0.4, i * 0.8, i * 1.2), kPanelRadius + i,
                          kPanelRadius + i);
    }
    QLinearGradient fill(kPanel.topLeft(), kPanel.bottomLeft());
    fill.setColorAt(0, QColor(255, 252, 253));
    fill.setColorAt(0.09, QColor(255, 247, 250));
    fill.setColorAt(0.5, QColor(255, 234, 241));
    fill.setColorAt(1, QColor(255, 218, 230));
    p.setBrush(fill);
    p.drawPath(panel);

    p.setClipPath(panel);
    QRandomGenerator rng(1314);
    drawBokeh(p, QRectF(kPanel.left(), kPanel.top() + 120, kPanel.width(), kPanel.height() - 120),
              10, 30, 80, QColor(255, 255, 255, 70), rng);

    const int step = 26;
    const qreal top = kGallery.top() + 42;
    for (int row = 0; top + row * step < kPanel.bottom(); ++row) {
        const qreal y = top + row * step;
        // The lattice fades in below the caption band.
        const qreal fade = std::min(1.0, (y - top) / 80.0);
        for (int col = 0; col * step < kPanel.width() + step; ++col) {
            const qreal x = kPanel.left() + col * step + ((row % 2) ? step / 2.0 : 0);
            drawFlatHeart(p, QPointF(x, y), 6, QColor(232, 84, 128, qRound(22 * fade)),
                          (row + col) % 3 == 0 ? -12 : 12);
        }
    }
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 190), 1));
    p.drawRoundedRect(kPanel.adjusted(0.5, 0.5, -0.5, -0.5), kPanelRadius, kPanelRadius);
    p.restore();
}

void paintShopGlyph(QPainter& p, QPointF c, QColor colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath bag;
    bag.addRoundedRect(QRectF(c.x() - 8, c.y() - 4, 16, 13), 2.5, 2.5);
    p.drawPath(bag);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - 4.5, c.y() - 9.5, 9, 11), 0, 180 * 16);
    drawFlatHeart(p, QPointF(c.x(), c.y() + 2.6), 7.5, Qt::white);
    p.restore();
}

void paintChatGlyph(QPainter& p, QPointF c, QColor colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(c.x() - 9, c.y() - 8, 18, 13), 5, 5);
    QPolygonF tail({QPointF(c.x() - 4, c.y() + 3), QPointF(c.x() - 6.5, c.y() + 9),
                    QPointF(c.x() + 1, c.y() + 4)});
    bubble.addPolygon(tail);
    p.drawPath(bubble.simplified());
    p.setBrush(Qt::white);
    for (int i = -1; i <= 1; ++i)
        p.drawEllipse(QPointF(c.x() + i * 4.5, c.y() - 1.5), 1.5, 1.5);
    p.restore();
}

// A white badge with its glyph, and the caption under it, both inside the hot spot.
void paintLinkBadge(QPainter& p, const QRect& spot, const QString& caption, bool shop) {
    const QPointF c(spot.center().x() + 0.5, spot.top() + 14.5);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 20, 60, 40));
    p.drawEllipse(c + QPointF(0, 1.2), 14.5, 14.5);
    QLinearGradient fill(c - QPointF(0, 14), c + QPointF(0, 14));
    fill.setColorAt(0, QColor(255, 255, 255));
    fill.setColorAt(1, QColor(255, 236, 242));
    p.setBrush(fill);
    p.drawEllipse(c, 14, 14);
    if (shop) {
        paintShopGlyph(p, c, QColor(236, 92, 52));
    } else {
        paintChatGlyph(p, c, QColor(0, 160, 170));
    }
    p.restore();
    drawShadowText(p, QRectF(spot.left() - 6, spot.top() + 29, spot.width() + 12, 13),
                   Qt::AlignHCenter | Qt::AlignVCenter, caption, font(kSans, 10, QFont::Bold),
                   Qt::white, QColor(150, 20, 60, 120));
}

void paintFooter(QPainter& p) {
    const qreal y = kPanel.bottom() + (kSize.height() - kPanel.bottom()) / 2.0;
    paintLinkBadge(p, kShopLink, QStringLiteral("小店"), true);
    paintLinkBadge(p, kChatLink, QStringLiteral("客服"), false);

    const QColor text(255, 248, 250);
    const QColor shade(150, 20, 60, 110);
    drawFlatHeart(p, QPointF(24, y), 11, QColor(255, 255, 255, 220));
    drawShadowText(p, QRectF(36, y - 10, 250, 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("勇敢说爱 · 让心意被看见"), font(kSans, 13), text, shade);

    const QFont steps = font(kSans, 12);
    const QStringList labels = {QStringLiteral("选择风格"), QStringLiteral("填写内容"),
                                QStringLiteral("预览上传")};
    qreal x = 420;
    for (int i = 0; i < labels.size(); ++i) {
        const QPointF dot(x + 8, y);
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawEllipse(dot, 8, 8);
        p.restore();
        drawShadowText(p, QRectF(dot.x() - 8, y - 8, 16, 16), Qt::AlignCenter,
                       QString::number(i + 1), font(kLatin, 10, QFont::Bold), kRose,
                       Qt::transparent);
        const qreal width = QFontMetricsF(steps).horizontalAdvance(labels[i]);
        drawShadowText(p, QRectF(x + 20, y - 10, width + 4, 20), Qt::AlignLeft | Qt::AlignVCenter,
                       labels[i], steps, text, shade);
        x += 20 + width + 8;
        if (i + 1 < labels.size()) {
            p.save();
            p.setPen(QPen(QColor(255, 255, 255, 200), 1.5, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(x, y), QPointF(x + 12, y));
            p.drawLine(QPointF(x + 8, y - 3.5), QPointF(x + 12, y));
            p.drawLine(QPointF(x + 8, y + 3.5), QPointF(x + 12, y));
            p.restore();
            x += 20;
        }
    }
}

void paintFrame(QPainter& p) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 20, 64), 1));
    p.drawRect(QRectF(0.5, 0.5, kSize.width() - 1, kSize.height() - 1));
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawRect(QRectF(1.5, 1.5, kSize.width() - 3, kSize.height() - 3));
    p.restore();
}

}  // namespace

QImage drawMainBackground() {
    QImage image = canvas(kSize.width(), kSize.height(), Qt::white);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    paintBase(p);
    paintHeaderDecoration(p);
    paintTitle(p);
    paintTicker(p);
    paintPanel(p);
    paintFooter(p);
    paintFrame(p);
    p.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

namespace {

struct ButtonColours {
    QColor face;
    QColor cross;
};

ButtonColours exitColours(ButtonLook look) {
    switch (look) {
        case ButtonLook::Normal:
            return {QColor(0, 164, 164), Qt::white};
        case ButtonLook::Hover:
            return {QColor(255, 77, 112), Qt::white};
        case ButtonLook::Pressed:
            return {QColor(164, 18, 46), Qt::white};
        case ButtonLook::Disabled:
            return {QColor(150, 196, 196), QColor(236, 244, 244)};
    }
    return {};
}

void paintCross(QPainter& p, QPointF centre, qreal half, qreal width, QColor colour) {
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    p.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
    p.restore();
}

}  // namespace

QImage drawExitStrip() {
    constexpr int kCell = 30;
    const std::array<ButtonLook, 5> cells = {ButtonLook::Normal, ButtonLook::Hover,
                                             ButtonLook::Pressed, ButtonLook::Disabled,
                                             ButtonLook::Normal};
    QImage image = canvas(kCell * 5, kCell, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const QRectF cell(i * kCell, 0, kCell, kCell);
        const ButtonColours colours = exitColours(cells[i]);
        QLinearGradient face(cell.topLeft(), cell.bottomLeft());
        face.setColorAt(0, colours.face.lighter(cells[i] == ButtonLook::Pressed ? 100 : 112));
        face.setColorAt(1, colours.face.darker(cells[i] == ButtonLook::Pressed ? 112 : 100));
        p.fillRect(cell, face);
        p.setPen(QPen(QColor(255, 255, 255, cells[i] == ButtonLook::Pressed ? 25 : 60), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cell.adjusted(0.5, 0.5, -0.5, -0.5));
        const QPointF centre =
            cell.center() + (cells[i] == ButtonLook::Pressed ? QPointF(0.5, 0.5) : QPointF());
        paintCross(p, centre, 5.5, 2.4, colours.cross);
    }
    p.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage drawLoginClose(ButtonLook look) {
    QColor face;
    switch (look) {
        case ButtonLook::Hover:
            face = QColor(255, 84, 100);
            break;
        case ButtonLook::Pressed:
            face = QColor(158, 20, 40);
            break;
        default:
            face = QColor(218, 46, 68);
            break;
    }
    QImage image = canvas(48, 19, kLoginTitleStrip);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The button hangs from the top edge of the title strip: square top, rounded bottom.
    QPainterPath shape;
    const qreal r = 4;
    shape.moveTo(0, 0);
    shape.lineTo(48, 0);
    shape.lineTo(48, 19 - r);
    shape.quadTo(48, 19, 48 - r, 19);
    shape.lineTo(r, 19);
    shape.quadTo(0, 19, 0, 19 - r);
    shape.closeSubpath();
    QLinearGradient fill(QPointF(0, 0), QPointF(0, 19));
    fill.setColorAt(0, look == ButtonLook::Pressed ? face.darker(110) : face.lighter(112));
    fill.setColorAt(1, look == ButtonLook::Pressed ? face : face.darker(108));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);
    p.setPen(QPen(QColor(255, 255, 255, look == ButtonLook::Pressed ? 20 : 55), 1));
    p.drawLine(QPointF(1, 0.5), QPointF(47, 0.5));
    const QPointF centre = look == ButtonLook::Pressed ? QPointF(24.5, 10) : QPointF(24, 9.5);
    paintCross(p, centre, 4.0, 1.8, Qt::white);
    p.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage drawIcon(int size) {
    QImage image = canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor light(255, 112, 146);
    const QColor dark(210, 16, 68);
    if (size <= 16) {
        const QRectF box(0.5, 1.5, size - 1, (size - 1) * 0.9);
        QLinearGradient fill(box.topLeft(), box.bottomLeft());
        fill.setColorAt(0, light);
        fill.setColorAt(1, dark);
        p.setPen(QPen(QColor(150, 0, 40, 160), 0.8));
        p.setBrush(fill);
        p.drawPath(heartPath(box));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawEllipse(QPointF(size * 0.3, size * 0.33), size * 0.09, size * 0.07);
        return image;
    }
    const qreal width = size * (size >= 64 ? 0.84 : 0.92);
    const QRectF box(QPointF((size - width) / 2, (size - width * 0.9) / 2 + size * 0.02),
                     QSizeF(width, width * 0.9));
    drawGlossyHeart(p, box, light, dark, size >= 64);
    if (size >= 64) {
        // A ring of light inside the edge and a twinkle on the right lobe.
        p.setPen(QPen(QColor(255, 255, 255, 70), size / 64.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(heartPath(box.adjusted(size * 0.05, size * 0.05, -size * 0.05, -size * 0.055)));
        drawSparkle(p, QPointF(box.right() - width * 0.2, box.top() + width * 0.2), size * 0.075,
                    QColor(255, 255, 255, 235));
    }
    return image;
}

QImage drawAdvert(int number) {
    constexpr int kWidth = 333;
    constexpr int kHeight = 49;
    QImage image = canvas(kWidth, kHeight);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QRectF all(0, 0, kWidth, kHeight);
    QPainterPath shape;
    shape.addRoundedRect(all, 7, 7);
    QRandomGenerator rng(number == 1 ? 77 : 214);

    QLinearGradient fill(all.topLeft(), all.topRight());
    if (number == 1) {
        fill.setColorAt(0, QColor(110, 42, 190));
        fill.setColorAt(0.55, QColor(200, 52, 150));
        fill.setColorAt(1, QColor(246, 86, 130));
    } else {
        fill.setColorAt(0, QColor(226, 24, 60));
        fill.setColorAt(0.6, QColor(250, 64, 82));
        fill.setColorAt(1, QColor(255, 128, 96));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);
    p.setClipPath(shape);
    drawBokeh(p, all, 8, 6, 20, QColor(255, 255, 255, 40), rng);
    QLinearGradient sheen(all.topLeft(), all.bottomLeft());
    sheen.setColorAt(0, QColor(255, 255, 255, 55));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.fillRect(all, sheen);

    const QColor gold(255, 214, 92);
    const QFont big = font(kSans, 19, QFont::Bold);
    const QFont mid = font(kSans, 14, QFont::Bold);
    const QFont small = font(kSans, 11);
    if (number == 1) {
        // A crown in a ring.
        const QPointF c(26, 24.5);
        drawGlow(p, c, 22, QColor(255, 220, 120, 70));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawEllipse(c, 16, 16);
        QPolygonF crown({QPointF(c.x() - 10, c.y() + 6), QPointF(c.x() - 11, c.y() - 6),
                         QPointF(c.x() - 5, c.y() - 1), QPointF(c.x(), c.y() - 9),
                         QPointF(c.x() + 5, c.y() - 1), QPointF(c.x() + 11, c.y() - 6),
                         QPointF(c.x() + 10, c.y() + 6)});
        QLinearGradient crownFill(c - QPointF(0, 9), c + QPointF(0, 6));
        crownFill.setColorAt(0, QColor(255, 240, 160));
        crownFill.setColorAt(1, QColor(255, 176, 40));
        p.setBrush(crownFill);
        p.drawPolygon(crown);
        p.setBrush(QColor(230, 60, 110));
        p.drawEllipse(c + QPointF(0, 2), 2, 2);
        drawShadowText(p, QRectF(50, 4, 100, 26), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("开通VIP"), big, gold, QColor(60, 0, 60, 140));
        drawShadowText(p, QRectF(132, 4, 120, 26), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("解锁全部风格"), mid, Qt::white, QColor(60, 0, 60, 120));
        drawShadowText(p, QRectF(51, 28, 200, 16), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("8种表白风格 · 无限次上传 · 专属网址"), small,
                       QColor(255, 236, 248), QColor(60, 0, 60, 90));
    } else {
        const QPointF c(26, 24.5);
        drawGlow(p, c, 22, QColor(255, 230, 200, 80));
        drawGlossyHeart(p, heartBox(c, 30), QColor(255, 255, 255), QColor(255, 214, 220), false);
        drawFlatHeart(p, c + QPointF(0, 0.5), 13, QColor(236, 40, 70));
        drawShadowText(p, QRectF(50, 4, 120, 26), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("情人节特惠"), big, Qt::white, QColor(120, 0, 20, 140));
        drawShadowText(p, QRectF(150, 4, 40, 26), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("限时"), mid, Qt::white, QColor(120, 0, 20, 120));
        QPainterPath five;
        const QFont huge = font(kLatin, 27, QFont::Bold);
        five.addText(QPointF(185, 30), huge, QStringLiteral("5"));
        p.setBrush(QColor(120, 0, 20, 110));
        p.drawPath(five.translated(0, 1.5));
        QLinearGradient goldFill(QPointF(0, 8), QPointF(0, 30));
        goldFill.setColorAt(0, QColor(255, 246, 170));
        goldFill.setColorAt(1, QColor(255, 196, 50));
        p.setBrush(goldFill);
        p.drawPath(five);
        drawShadowText(p, QRectF(203, 4, 30, 26), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("折"), big, gold, QColor(120, 0, 20, 140));
        drawShadowText(p, QRectF(51, 28, 200, 16), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("把心意送给最重要的人"), small, QColor(255, 238, 236),
                       QColor(120, 0, 20, 90));
        drawFlatHeart(p, QPointF(244, 12), 8, QColor(255, 255, 255, 150), 15);
        drawFlatHeart(p, QPointF(236, 38), 6, QColor(255, 255, 255, 120), -10);
    }
    drawSparkle(p, QPointF(number == 1 ? 246 : 232, number == 1 ? 12 : 24), 4,
                QColor(255, 255, 255, 220));

    // The call-to-action pill on the right.
    const QRectF pill(258, 13.5, 66, 22);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 0, 40, 50));
    p.drawRoundedRect(pill.translated(0, 1.5), 11, 11);
    p.setBrush(Qt::white);
    p.drawRoundedRect(pill, 11, 11);
    drawShadowText(p, pill, Qt::AlignCenter,
                   number == 1 ? QStringLiteral("立即开通 ›") : QStringLiteral("马上抢购 ›"),
                   font(kSans, 11, QFont::Bold),
                   number == 1 ? QColor(186, 44, 140) : QColor(226, 30, 60), Qt::transparent);
    p.end();
    return image;
}

QImage composeMainWindow(const QImage& background, const QImage& exitStrip,
                         const std::array<QImage, 12>& tilePictures, const QStringList& captions,
                         const QImage& leftAdvert, const QImage& rightAdvert,
                         const QString& announcement) {
    QImage window = background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&window);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    // The gallery copies its own rectangle of the background, and every tile the top-left
    // corner of that same rectangle.
    const QImage backdrop = background.copy(kGallery);
    p.drawImage(kGallery.topLeft(), backdrop);
    const QImage tileBackdrop = backdrop.copy(QRect(QPoint(0, 0), kTile));
    const QFont caption = font(kHei, 19);
    for (int i = 0; i < 12; ++i) {
        const QPoint origin =
            kGallery.topLeft() + QPoint(kTileColumns[static_cast<std::size_t>(i % 4)],
                                        kTileRows[static_cast<std::size_t>(i / 4)]);
        p.drawImage(origin, tileBackdrop);
        p.drawImage(QRect(origin + kTilePicture.topLeft(), kTilePicture.size()),
                    tilePictures[static_cast<std::size_t>(i)]);
        p.setFont(caption);
        p.setPen(kCaptionText);
        p.drawText(QRect(origin.x(), origin.y() + kCaptionTop, kTile.width(), kCaptionHeight),
                   Qt::AlignHCenter | Qt::AlignVCenter, captions.value(i));
    }
    for (const auto& [pane, advert] :
         {std::pair{kLeftAdvert, &leftAdvert}, std::pair{kRightAdvert, &rightAdvert}}) {
        p.fillRect(pane, kAdvertPage);
        p.drawImage(pane.topLeft(), *advert);
    }
    const int cell = exitStrip.height();
    p.drawImage(kExitButton, exitStrip, QRect(0, 0, cell, cell));
    p.setFont(font(kHei, 16));
    p.setPen(kAnnouncementText);
    p.drawText(QRect(kAnnouncement, QSize(kSize.width() - kAnnouncement.x(), kAnnouncementHeight)),
               Qt::AlignLeft | Qt::AlignVCenter, announcement);
    return window.convertToFormat(QImage::Format_RGB32);
}

}  // namespace art
