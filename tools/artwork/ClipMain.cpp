// Encodes the sample video clip into the page styles' media folder:
//   artwork-clip [repository folder]
// writes assets/site/biaobai/media/love-clip.mp4: 18 s, 640×360, 25 fps, H.264, under 2 MB,
// with the opening of love-song.mp3 as its sound when that file is there (run `music` first).
// The poster love-clip.jpg is one of the artwork tool's pictures:
//   artwork --only assets/site/biaobai/media/
// Runs by hand, not in CI; needs the Debian package ffmpeg (its libx264 and AAC encoders):
//   apt-get install -y --no-install-recommends ffmpeg

#include "ClipArt.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

const QString kMedia = QStringLiteral("assets/site/biaobai/media/");
constexpr qint64 kMostBytes = 2 * 1024 * 1024;

// One encoding at quality `crf`; the frames are drawn as ffmpeg asks for them.
bool encode(const QString& ffmpeg, const QString& song, const QString& target, int crf,
            QString* error) {
    const double seconds = static_cast<double>(art::kClipFrames) / art::kClipFps;
    const QString size =
        QStringLiteral("%1x%2").arg(art::kClipSize.width()).arg(art::kClipSize.height());
    QStringList args = QStringLiteral("-y -loglevel error -f rawvideo -pix_fmt rgb24").split(' ');
    args << "-s" << size << "-r" << QString::number(art::kClipFps) << "-i"
         << "pipe:0";
    if (!song.isEmpty()) {
        // The song's opening, faded out with the picture.
        args << "-i" << song << QStringLiteral("-map 0:v -map 1:a -c:a aac -b:a 64k").split(' ');
        args << "-af"
             << QStringLiteral("afade=t=in:st=0:d=0.6,afade=t=out:st=%1:d=1.6")
                    .arg(seconds - 1.6, 0, 'f', 2);
    }
    args << "-t" << QString::number(seconds, 'f', 2) << "-crf" << QString::number(crf);
    args << QStringLiteral("-c:v libx264 -preset slow -pix_fmt yuv420p -movflags +faststart")
                .split(' ');
    args << "-metadata" << QStringLiteral("title=我爱你") << target;

    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(ffmpeg, args);
    if (!process.waitForStarted()) {
        *error = QStringLiteral("cannot start ffmpeg");
        return false;
    }
    for (int frame = 0; frame < art::kClipFrames; ++frame) {
        const QImage image = art::drawClipFrame(frame);
        for (int y = 0; y < image.height(); ++y) {
            process.write(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 3);
        }
        // Keep at most a frame in flight rather than the whole clip in memory.
        while (process.bytesToWrite() > 0) {
            if (!process.waitForBytesWritten(-1)) {
                *error = QStringLiteral("ffmpeg stopped reading");
                return false;
            }
        }
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *error = QStringLiteral("ffmpeg failed");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs fonts but no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList args = app.arguments().mid(1);
    if (args.size() > 1 || (args.size() == 1 && args[0].startsWith(QLatin1Char('-')))) {
        err << "usage: artwork-clip [repository folder]\n";
        return 2;
    }
    const QDir root(args.isEmpty() ? QStringLiteral(ZR_SOURCE_DIR) : args[0]);
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        err << "ffmpeg is not installed (apt-get install -y --no-install-recommends ffmpeg)\n";
        return 1;
    }
    const QString target = root.filePath(kMedia + QStringLiteral("love-clip.mp4"));
    QString song = root.filePath(kMedia + QStringLiteral("love-song.mp3"));
    if (!QFileInfo::exists(song))
        song.clear();
    if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
        err << "cannot create the folder of " << target << '\n';
        return 1;
    }

    // The clip is mostly dark sky, so a good quality usually fits; coarser steps only if not.
    for (int crf = 20; crf <= 38; crf += 3) {
        QString error;
        if (!encode(ffmpeg, song, target, crf, &error)) {
            err << error << '\n';
            return 1;
        }
        const qint64 bytes = QFileInfo(target).size();
        if (bytes <= kMostBytes) {
            out << target
                << QStringLiteral(": CRF %1, %2 bytes%3\n")
                       .arg(crf)
                       .arg(bytes)
                       .arg(song.isEmpty() ? QStringLiteral(", silent")
                                           : QStringLiteral(", with sound"));
            return 0;
        }
    }
    err << "the clip does not fit in 2 MB\n";
    return 1;
}
