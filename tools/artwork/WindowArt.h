#pragma once

// The client's window artwork: the main window's background, its exit button strip, the
// sign-in window's close pictures, the program icon and the two advert banners.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>

namespace art {

// Where the main window's controls lie over its background, in pixels.
namespace mainwindow {
constexpr QSize kSize{714, 625};
constexpr QRect kExitButton{672, 8, 33, 33};
constexpr QPoint kAnnouncement{344, 88};
constexpr int kAnnouncementHeight = 16;
constexpr QRect kGallery{8, 112, 699, 449};
constexpr QSize kTile{161, 121};
constexpr std::array<int, 4> kTileColumns{8, 181, 355, 528};
constexpr std::array<int, 3> kTileRows{8, 136, 264};
constexpr QRect kTilePicture{0, 32, 159, 89};
constexpr int kCaptionTop = 8;
constexpr int kCaptionHeight = 19;
constexpr QRect kLeftAdvert{16, 504, 333, 49};
constexpr QRect kRightAdvert{363, 504, 333, 49};
constexpr QRect kShopLink{298, 571, 40, 41};
constexpr QRect kChatLink{343, 571, 41, 41};
}  // namespace mainwindow

// Colours of the announcement text and the tile captions, as the window sets them.
inline const QColor kAnnouncementText(255, 128, 128);
inline const QColor kCaptionText(255, 0, 0);
inline const QColor kLoginTitleStrip(0x00, 0xC0, 0xC0);
inline const QColor kAdvertPage(0xff, 0xcc, 0xff);

QImage drawMainBackground();

enum class ButtonLook { Normal, Hover, Pressed, Disabled };
// Five 30 x 30 cells side by side: normal, hover, pressed, disabled and an unused normal cell.
QImage drawExitStrip();
// The 48 x 19 close picture of the sign-in window for one look (not Disabled).
QImage drawLoginClose(ButtonLook look);

QImage drawIcon(int size);

// Banner 1 offers the membership, banner 2 a holiday discount.
QImage drawAdvert(int number);

// The main window as a user would see it after start-up: background, gallery backdrop, the
// twelve tiles with their captions and pictures, and the two advert panes on their pink page.
QImage composeMainWindow(const QImage& background, const QImage& exitStrip,
                         const std::array<QImage, 12>& tilePictures, const QStringList& captions,
                         const QImage& leftAdvert, const QImage& rightAdvert,
                         const QString& announcement);

}  // namespace art
