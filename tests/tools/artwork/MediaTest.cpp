// The sample song and clip are what a page plays on a phone's connection: they must stay small,
// be the formats browsers play, carry the tags players show, and the clip's poster must be the
// frame the tool draws today.

#include "Catalogue.h"
#include "ClipArt.h"
#include "SiteArt.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace {

const QString kMedia = QStringLiteral("assets/site/biaobai/media/");

QByteArray media(const QString& name) {
    QFile file(QDir(QStringLiteral(ZR_SOURCE_DIR)).filePath(kMedia + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 bigEndian(const QByteArray& data, qsizetype at, int bytes, int bitsPerByte = 8) {
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i) {
        const auto byte = static_cast<quint8>(data[at + i]);
        value = (value << bitsPerByte) | byte;
    }
    return value;
}

// The ID3v2 tag's text frames by their ids ("TIT2" title, "TPE1" artist).
std::map<QByteArray, QString> id3Texts(const QByteArray& mp3, qsizetype* tagEnd) {
    std::map<QByteArray, QString> texts;
    *tagEnd = 0;
    if (!mp3.startsWith("ID3") || mp3.size() < 10)
        return texts;
    const int version = mp3[3];
    *tagEnd = 10 + bigEndian(mp3, 6, 4, 7);  // sizes in the header are seven bits a byte
    for (qsizetype at = 10; at + 10 <= *tagEnd && mp3[at] != 0;) {
        const QByteArray id = mp3.mid(at, 4);
        const qsizetype size =
            version >= 4 ? bigEndian(mp3, at + 4, 4, 7) : bigEndian(mp3, at + 4, 4);
        const QByteArray body = mp3.mid(at + 10, size);
        if (id.startsWith('T') && !body.isEmpty()) {
            QString text;
            switch (body[0]) {
                case 0:
                    text = QString::fromLatin1(body.mid(1));
                    break;
                case 1:
                    text = QStringDecoder(QStringDecoder::Utf16).decode(body.mid(1));
                    break;
                case 2:
                    text = QStringDecoder(QStringDecoder::Utf16BE).decode(body.mid(1));
                    break;
                default:
                    text = QString::fromUtf8(body.mid(1));
            }
            while (text.endsWith(QChar(0)))
                text.chop(1);
            texts[id] = text;
        }
        at += 10 + size;
    }
    return texts;
}

TEST(SampleSong, IsA44kHzMp3OfAMinuteOrMoreUnderOneMegabyte) {
    const QByteArray mp3 = media(QStringLiteral("love-song.mp3"));
    ASSERT_FALSE(mp3.isEmpty());
    EXPECT_LE(mp3.size(), 1024 * 1024);
    qsizetype at = 0;
    id3Texts(mp3, &at);
    // Walk the MPEG-1 Layer III frames: 1152 samples each.
    static const int kKbps[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    int frames = 0;
    while (at + 4 <= mp3.size()) {
        const quint32 header = bigEndian(mp3, at, 4);
        if ((header >> 21) != 0x7ff)
            break;
        ASSERT_EQ((header >> 17) & 0xf, 0xdu) << "MPEG-1 Layer III at frame " << frames;
        const quint32 rate = (header >> 10) & 3;
        ASSERT_EQ(rate, 0u) << "44.1 kHz at frame " << frames;
        const quint32 bitrate = (header >> 12) & 0xf;
        ASSERT_GT(bitrate, 0u);
        ASSERT_LT(bitrate, 15u);
        at += 144 * kKbps[bitrate] * 1000 / 44100 + ((header >> 9) & 1);
        ++frames;
    }
    EXPECT_GE(at, mp3.size() - 128) << "only frames (and at most an ID3v1 tag) after the tag";
    const double seconds = frames * 1152.0 / 44100;
    EXPECT_GE(seconds, 60);
    EXPECT_LE(seconds, 90);
}

TEST(SampleSong, TagsNameTheSongAndItsArtist) {
    qsizetype tagEnd = 0;
    const auto texts = id3Texts(media(QStringLiteral("love-song.mp3")), &tagEnd);
    ASSERT_GT(tagEnd, 0) << "an ID3v2 tag at the start";
    ASSERT_TRUE(texts.count("TIT2"));
    ASSERT_TRUE(texts.count("TPE1"));
    EXPECT_EQ(texts.at("TIT2"), QStringLiteral("心动"));
    EXPECT_EQ(texts.at("TPE1"), QStringLiteral("Zenri"));
}

// A page can start the clip before it has all arrived only when the index ("moov") comes before
// the pictures ("mdat").
TEST(SampleClip, IsAFastStartMp4OfFifteenToTwentySecondsUnderTwoMegabytes) {
    const QByteArray mp4 = media(QStringLiteral("love-clip.mp4"));
    ASSERT_FALSE(mp4.isEmpty());
    EXPECT_LE(mp4.size(), 2 * 1024 * 1024);
    QByteArrayList boxes;
    qsizetype moov = -1;
    for (qsizetype at = 0; at + 8 <= mp4.size();) {
        const qsizetype size = bigEndian(mp4, at, 4);
        ASSERT_GE(size, 8) << "boxes of 32-bit size";
        boxes << mp4.mid(at + 4, 4);
        if (boxes.last() == "moov")
            moov = at;
        at += size;
    }
    ASSERT_FALSE(boxes.isEmpty());
    EXPECT_EQ(boxes.first(), "ftyp");
    ASSERT_TRUE(boxes.contains("mdat"));
    ASSERT_GE(moov, 0);
    EXPECT_LT(boxes.indexOf("moov"), boxes.indexOf("mdat"));

    // The movie header, the first box inside "moov", holds the time scale and the duration.
    ASSERT_EQ(mp4.mid(moov + 12, 4), "mvhd");
    const qsizetype header = moov + 16;
    const bool wide = mp4[header] == 1;
    const quint32 scale = bigEndian(mp4, header + (wide ? 20 : 12), 4);
    const double duration = wide ? double(bigEndian(mp4, header + 24, 4)) * 4294967296.0 +
                                       bigEndian(mp4, header + 28, 4)
                                 : bigEndian(mp4, header + 16, 4);
    ASSERT_GT(scale, 0u);
    EXPECT_GE(duration / scale, 15);
    EXPECT_LE(duration / scale, 20);
}

double meanLightness(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4)
            sum += image.pixelColor(x, y).lightness();
    }
    return sum / ((image.height() / 4) * (image.width() / 4));
}

// The clip starts and ends in the dark, so that a looping page does not flash at the seam.
TEST(SampleClip, OpensAndClosesInTheDark) {
    EXPECT_LT(meanLightness(art::drawClipFrame(0)), 3);
    EXPECT_LT(meanLightness(art::drawClipFrame(art::kClipFrames - 1)), 6);
    EXPECT_GT(meanLightness(art::drawClipFrame(art::kClipPosterFrame)), 40);
}

TEST(SampleClip, PosterIsTheFrameTheToolDrawsNow) {
    const QString path = art::kBiaobaiFolder + QStringLiteral("/media/love-clip.jpg");
    bool listed = false;
    for (const art::Picture& picture : art::catalogue())
        listed |= picture.path == path;
    EXPECT_TRUE(listed) << "the artwork tool writes the poster";

    const QByteArray jpeg = media(QStringLiteral("love-clip.jpg"));
    EXPECT_LE(jpeg.size(), 150 * 1024);
    const QImage poster = QImage::fromData(jpeg, "JPEG").convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(poster.size(), art::kClipSize);
    const QImage fresh = art::drawClipFrame(art::kClipPosterFrame);
    // JPEG keeps every pixel close but seldom exact: compare on average.
    double difference = 0;
    for (int y = 0; y < poster.height(); ++y) {
        for (int x = 0; x < poster.width(); ++x) {
            const QColor a = poster.pixelColor(x, y);
            const QColor b = fresh.pixelColor(x, y);
            difference += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                          std::abs(a.blue() - b.blue());
        }
    }
    EXPECT_LT(difference / (3.0 * poster.width() * poster.height()), 3.0)
        << "run artwork --only " << kMedia.toStdString();
}

}  // namespace
