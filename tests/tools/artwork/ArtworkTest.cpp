// The committed pictures are what the client shows: they must have the sizes its windows are
// laid out for, keep the texts drawn over them readable, and be what the tool draws today.

#include "Catalogue.h"
#include "PreviewArt.h"
#include "SiteArt.h"
#include "WindowArt.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

QString repo(const QString& path) {
    return QDir(QStringLiteral(ZR_SOURCE_DIR)).filePath(path);
}

QImage committed(const QString& path) {
    return QImage(repo(path));
}

// Relative luminance and contrast ratio as the web accessibility guidelines define them.
double luminance(QColor c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double worstContrast(const QImage& image, const QRect& area, QColor text) {
    double worst = 21;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            worst = std::min(worst, contrast(image.pixelColor(x, y), text));
        }
    }
    return worst;
}

bool isTeal(QColor c) {
    return c.green() > c.red() + 40 && c.blue() > c.red() + 40;
}
bool isRed(QColor c) {
    return c.red() > c.green() + 60 && c.red() > c.blue() + 40;
}
bool isNearWhite(QColor c) {
    return c.red() > 220 && c.green() > 220 && c.blue() > 220;
}

bool IsSitePicture(const art::Picture& picture) {
    return picture.path.startsWith(art::kBiaobaiFolder + QLatin1Char('/'));
}

TEST(ArtworkFiles, EveryPictureIsCommittedAtTheSizeItsWindowExpects) {
    const std::map<QString, QSize> sizes = {{"main-background.png", {714, 625}},
                                            {"exit-strip.png", {150, 30}},
                                            {"login-close-normal.png", {48, 19}},
                                            {"login-close-hover.png", {48, 19}},
                                            {"login-close-down.png", {48, 19}},
                                            {"icon.png", {256, 256}},
                                            {"icon-32.png", {32, 32}},
                                            {"icon-16.png", {16, 16}},
                                            {"preview-soon.png", {300, 155}},
                                            {"advert-1.png", {333, 49}},
                                            {"advert-2.png", {333, 49}},
                                            {"favicon.png", {48, 48}}};
    int windowPictures = 0;
    for (const art::Picture& picture : art::catalogue()) {
        if (IsSitePicture(picture))
            continue;
        ++windowPictures;
        SCOPED_TRACE(picture.path.toStdString());
        const auto expected = sizes.find(QFileInfo(picture.path).fileName());
        ASSERT_NE(expected, sizes.end());
        const QImage image = committed(picture.path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), expected->second);
    }
    EXPECT_EQ(windowPictures, int(sizes.size()));
    // The gallery's pictures of the eight styles come from the browser, at the tile's size.
    for (const QString& name : art::browserPreviewNames()) {
        const QImage preview = committed(art::kClientFolder + '/' + name);
        EXPECT_EQ(preview.size(), QSize(300, 155)) << name.toStdString();
    }
}

// What the pages load is phone-sized: photos as JPEG, every picture at most 150 KB, and the
// pictures the sample entries and the layouts count on at their sizes.
TEST(ArtworkFiles, PagePicturesStayPhoneSized) {
    const std::map<QString, QSize> sizes = {
        {"assets/site/biaobai/fg2/float.png", {200, 250}},
        {"assets/site/biaobai/media/love-clip.jpg", {640, 360}},
    };
    int pictures = 0;
    for (const art::Picture& picture : art::catalogue()) {
        if (!IsSitePicture(picture))
            continue;
        ++pictures;
        SCOPED_TRACE(picture.path.toStdString());
        const QFileInfo file(repo(picture.path));
        ASSERT_TRUE(file.isFile());
        EXPECT_LE(file.size(), 150 * 1024);
        QFile bytes(file.filePath());
        ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
        const QByteArray head = bytes.read(4);
        if (picture.path.endsWith(".jpg")) {
            EXPECT_TRUE(head.startsWith("\xFF\xD8\xFF"));
        } else {
            EXPECT_TRUE(head.startsWith("\x89PNG"));
        }
        const QImage image = committed(picture.path);
        const auto expected = sizes.find(picture.path);
        if (expected != sizes.end()) {
            EXPECT_EQ(image.size(), expected->second);
        }
        if (picture.path.contains("/fg6/") && QFileInfo(picture.path).baseName().toInt() > 0) {
            EXPECT_EQ(image.size(), QSize(640, 386));
        }
    }
    EXPECT_GE(pictures, 40);
}

// A change to the tool that was not followed by a run of it would ship stale pictures. A photo
// is compared with what the same JPEG encoding of the fresh drawing gives.
TEST(ArtworkFiles, CommittedPicturesAreWhatTheToolDrawsNow) {
    for (const art::Picture& picture : art::catalogue()) {
        SCOPED_TRACE(picture.path.toStdString());
        const QImage stored = committed(picture.path).convertToFormat(QImage::Format_ARGB32);
        QImage fresh = picture.draw();
        if (picture.path.endsWith(".jpg")) {
            QByteArray encoded;
            QBuffer buffer(&encoded);
            buffer.open(QIODevice::WriteOnly);
            ASSERT_TRUE(fresh.save(&buffer, "JPEG", 82));
            fresh = QImage::fromData(encoded, "JPEG");
        }
        fresh = fresh.convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(stored.size(), fresh.size());
        int differing = 0;
        for (int y = 0; y < fresh.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(stored.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(fresh.constScanLine(y));
            for (int x = 0; x < fresh.width(); ++x) {
                const int d = std::max(
                    {std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                     std::abs(qBlue(a[x]) - qBlue(b[x])), std::abs(qAlpha(a[x]) - qAlpha(b[x]))});
                if (d > 2)
                    ++differing;
            }
        }
        EXPECT_LE(differing, fresh.width() * fresh.height() / 1000) << "run the artwork tool";
    }
}

TEST(ArtworkFiles, ResourceFileListsEveryClientPictureByItsFileName) {
    QFile file(repo(art::kClientResourceFile));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_EQ(QString::fromUtf8(text), art::clientResourceText());

    QStringList listed;
    QXmlStreamReader xml(text);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("file")) {
            const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
            const QString name = xml.readElementText();
            EXPECT_EQ(alias, name);
            EXPECT_TRUE(QFileInfo::exists(repo(art::kClientFolder + '/' + name)))
                << name.toStdString();
            listed << name;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    const QStringList pictures =
        QDir(repo(art::kClientFolder)).entryList({QStringLiteral("*.png")}, QDir::Files);
    listed.sort();
    EXPECT_EQ(listed, pictures);
}

TEST(ExitStrip, CellsShowAWhiteCrossOnTheirLookColours) {
    const QImage strip = committed(art::kClientFolder + "/exit-strip.png");
    ASSERT_EQ(strip.size(), QSize(150, 30));
    const auto face = [&strip](int cell) { return strip.pixelColor(cell * 30 + 4, 15); };
    const auto centre = [&strip](int cell) { return strip.pixelColor(cell * 30 + 15, 15); };

    EXPECT_TRUE(isTeal(face(0)));
    EXPECT_TRUE(isRed(face(1)));
    EXPECT_TRUE(isRed(face(2)));
    EXPECT_TRUE(isTeal(face(3)));
    EXPECT_TRUE(isTeal(face(4)));
    EXPECT_LT(face(2).lightness(), face(1).lightness()) << "pressed is the darker red";
    EXPECT_LT(face(3).hslSaturation(), face(0).hslSaturation()) << "disabled is greyed";
    for (int cell : {0, 1, 2, 4})
        EXPECT_TRUE(isNearWhite(centre(cell))) << cell;
    EXPECT_GT(centre(3).lightness(), face(3).lightness());
    EXPECT_EQ(strip.copy(0, 0, 30, 30), strip.copy(120, 0, 30, 30));
}

TEST(LoginClose, ThreeRedsWithAWhiteCrossHangingFromTheTitleStrip) {
    std::map<QString, QColor> faces;
    for (const char* look : {"normal", "hover", "down"}) {
        SCOPED_TRACE(look);
        const QImage image = committed(art::kClientFolder + "/login-close-" + look + ".png");
        ASSERT_EQ(image.size(), QSize(48, 19));
        const QColor face = image.pixelColor(6, 9);
        EXPECT_TRUE(isRed(face));
        EXPECT_TRUE(isRed(image.pixelColor(0, 0))) << "square top edge";
        EXPECT_EQ(image.pixelColor(0, 18).rgb(), art::kLoginTitleStrip.rgb())
            << "rounded bottom corner shows the strip";
        bool whiteInMiddle = false;
        for (int y = 7; y <= 12; ++y) {
            for (int x = 21; x <= 27; ++x)
                whiteInMiddle |= isNearWhite(image.pixelColor(x, y));
        }
        EXPECT_TRUE(whiteInMiddle);
        faces[look] = face;
    }
    EXPECT_GT(faces["hover"].lightness(), faces["normal"].lightness());
    EXPECT_LT(faces["down"].lightness(), faces["normal"].lightness());
}

TEST(MainBackground, TextsDrawnOverItStayReadable) {
    namespace mw = art::mainwindow;
    const QImage background = committed(art::kClientFolder + "/main-background.png");
    ASSERT_EQ(background.size(), mw::kSize);
    // Every tile copies the gallery's top-left corner behind its red caption.
    const QRect captionBand(mw::kGallery.topLeft(),
                            QSize(mw::kTile.width(), mw::kTilePicture.top()));
    EXPECT_GE(worstContrast(background, captionBand, art::kCaptionText), 3.0);
    // The announcement runs from its origin to the window's frame.
    const QRect ticker(mw::kAnnouncement, QPoint(mw::kSize.width() - 3,
                                                 mw::kAnnouncement.y() + mw::kAnnouncementHeight));
    EXPECT_GE(worstContrast(background, ticker, art::kAnnouncementText), 4.5);
}

TEST(MainBackground, ExitButtonCornerIsPlain) {
    namespace mw = art::mainwindow;
    const QImage background = committed(art::kClientFolder + "/main-background.png");
    const QRect corner = mw::kExitButton.adjusted(-6, -6, 6, 6)
                             .intersected(QRect(QPoint(2, 2), mw::kSize - QSize(4, 4)));
    int minLightness = 255;
    int maxLightness = 0;
    for (int y = corner.top(); y <= corner.bottom(); ++y) {
        for (int x = corner.left(); x <= corner.right(); ++x) {
            const int l = background.pixelColor(x, y).lightness();
            minLightness = std::min(minLightness, l);
            maxLightness = std::max(maxLightness, l);
        }
    }
    EXPECT_LE(maxLightness - minLightness, 24);
}

TEST(Icon, HeartOnATransparentGroundAtEverySize) {
    for (const char* name : {"icon.png", "icon-32.png", "icon-16.png"}) {
        SCOPED_TRACE(name);
        const QImage icon = committed(art::kClientFolder + '/' + name);
        ASSERT_FALSE(icon.isNull());
        EXPECT_TRUE(icon.hasAlphaChannel());
        const int last = icon.width() - 1;
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)}) {
            EXPECT_EQ(icon.pixelColor(corner).alpha(), 0);
        }
        const QColor middle = icon.pixelColor(icon.width() / 2, icon.height() * 3 / 5);
        EXPECT_EQ(middle.alpha(), 255);
        EXPECT_TRUE(isRed(middle));
    }
}

}  // namespace
