// Synthesises the sample background music "心动" by Zenri and writes it as an MP3 that the page
// styles play:
//   music [repository folder]
// writes assets/site/biaobai/media/love-song.mp3 (about 76 s, 96 kbit/s joint stereo, under
// 1 MB). Run it by hand after changing the score or the instruments and commit the MP3.
// Needs the Debian package lame (preferred) or ffmpeg:
//   apt-get install -y --no-install-recommends lame

#include "Song.h"
#include "Synth.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <cstdint>

namespace {

const QString kTarget = QStringLiteral("assets/site/biaobai/media/love-song.mp3");
const QString kTitle = QStringLiteral("心动");
const QString kArtist = QStringLiteral("Zenri");
constexpr double kPeak = 0.891;  // -1 dBFS, room for the encoder's overshoot
constexpr qint64 kMostBytes = 1024 * 1024;

void putLe(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

// 16-bit stereo PCM; a triangular dither hides the rounding as a faint, even hiss.
QByteArray wave(const music::Stereo& sound) {
    const auto frames = static_cast<std::uint32_t>(sound.left.size());
    const std::uint32_t dataBytes = frames * 4;
    QByteArray out;
    out.reserve(static_cast<qsizetype>(dataBytes) + 44);
    out.append("RIFF");
    putLe(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, 2, 2);
    putLe(out, music::kSampleRate, 4);
    putLe(out, music::kSampleRate * 4, 4);
    putLe(out, 4, 2);
    putLe(out, 16, 2);
    out.append("data");
    putLe(out, dataBytes, 4);
    std::uint32_t seed = 22222;
    const auto noise = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
    };
    for (std::uint32_t i = 0; i < frames; ++i) {
        for (const std::vector<float>* channel : {&sound.left, &sound.right}) {
            const double dither = noise() - noise();
            const double v = std::round((*channel)[i] * 32767.0 + dither);
            const auto s = static_cast<std::int16_t>(std::max(-32768.0, std::min(32767.0, v)));
            putLe(out, static_cast<std::uint16_t>(s), 2);
        }
    }
    return out;
}

// lame where it is installed, else ffmpeg's libmp3lame; the tags are UTF-16 so that the title
// survives in every player.
bool encode(const QString& wav, const QString& mp3, QString* error) {
    QString program = QStandardPaths::findExecutable(QStringLiteral("lame"));
    QStringList args;
    if (!program.isEmpty()) {
        // 96 kbit/s would make lame drop to 32 kHz; the song keeps its 44.1 kHz.
        args = QStringLiteral("--quiet -b 96 -m j -q 2 --resample 44.1 --id3v2-only --id3v2-utf16")
                   .split(QLatin1Char(' '));
        args << QStringLiteral("--tt") << kTitle << QStringLiteral("--ta") << kArtist << wav << mp3;
    } else {
        program = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (program.isEmpty()) {
            *error = QStringLiteral(
                "neither lame nor ffmpeg is installed "
                "(apt-get install -y --no-install-recommends lame)");
            return false;
        }
        args = QStringLiteral("-y -loglevel error -i").split(QLatin1Char(' '));
        args << wav;
        args << QStringLiteral("-codec:a libmp3lame -b:a 96k -ar 44100 -id3v2_version 3")
                    .split(QLatin1Char(' '));
        args << QStringLiteral("-metadata") << QStringLiteral("title=") + kTitle
             << QStringLiteral("-metadata") << QStringLiteral("artist=") + kArtist << mp3;
    }
    QProcess process;
    // lame reads its arguments in the locale's encoding.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, args);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *error = QFileInfo(program).fileName() + QStringLiteral(" failed");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString root = QStringLiteral(ZR_SOURCE_DIR);
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        err << "usage: music [repository folder]\n";
        return 2;
    }
    if (argc == 2)
        root = QString::fromLocal8Bit(argv[1]);

    const char* problem = nullptr;
    const std::vector<music::Note> notes = music::songNotes(&problem);
    if (notes.empty()) {
        err << "the score is wrong: " << problem << '\n';
        return 1;
    }
    const double seconds = music::barCount() * music::kBar;
    const music::Stereo sound = music::render(notes, seconds, kPeak);

    QTemporaryDir scratch;
    const QString wav = scratch.filePath(QStringLiteral("love-song.wav"));
    QFile file(wav);
    if (!scratch.isValid() || !file.open(QIODevice::WriteOnly) || file.write(wave(sound)) < 0) {
        err << "cannot write " << wav << '\n';
        return 1;
    }
    file.close();

    const QString target = QDir(root).filePath(kTarget);
    QString error;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !encode(wav, target, &error)) {
        err << (error.isEmpty() ? QStringLiteral("cannot create ") + target : error) << '\n';
        return 1;
    }
    const qint64 bytes = QFileInfo(target).size();
    out << target << QStringLiteral(": %1 s, %2 bytes\n").arg(seconds, 0, 'f', 1).arg(bytes);
    if (bytes > kMostBytes) {
        err << "the MP3 is larger than 1 MB\n";
        return 1;
    }
    return 0;
}
