// Draws the client's pictures and writes them into the repository:
//   artwork [repository folder] [--mock FILE] [--only PATH-PREFIX]
// With --mock it also composes the main window from the fresh pictures, to judge the look;
// --only draws just the pictures under one path ("assets/site/biaobai/fg6/").

#include "Catalogue.h"
#include "PreviewArt.h"
#include "WindowArt.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <array>

namespace {

const QStringList kTileCaptions = {
    QStringLiteral("文字+MV效果"),     QStringLiteral("心形+图片飘浮"),
    QStringLiteral("心形树+漂浮图片"), QStringLiteral("文本切换效果"),
    QStringLiteral("打字特效+MV"),     QStringLiteral("3D画册效果"),
    QStringLiteral("阿狸心形表白"),    QStringLiteral("数字时钟效果"),
    QStringLiteral("敬请期待"),        QStringLiteral("敬请期待"),
    QStringLiteral("敬请期待"),        QStringLiteral("敬请期待")};

QImage composeMock(const QString& root) {
    std::array<QImage, 12> pictures;
    for (int i = 0; i < 12; ++i) {
        pictures[static_cast<std::size_t>(i)] =
            i < art::kStyleCount
                ? QImage(QDir(root).filePath(art::kClientFolder + QLatin1Char('/') +
                                             art::browserPreviewNames()[i]))
                : art::drawPreviewSoon();
    }
    return art::composeMainWindow(
        art::drawMainBackground(), art::drawExitStrip(), pictures, kTileCaptions,
        art::drawAdvert(1), art::drawAdvert(2),
        QStringLiteral("欢迎使用Zenri表白网页生成器！新增数字时钟风格，快来试试吧~          "));
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs fonts but no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString root = QStringLiteral(ZR_SOURCE_DIR);
    QString mock, only;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--mock") && i + 1 < args.size()) {
            mock = args[++i];
        } else if (args[i] == QLatin1String("--only") && i + 1 < args.size()) {
            only = args[++i];
        } else if (args[i].startsWith(QLatin1Char('-'))) {
            err << "usage: artwork [repository folder] [--mock FILE] [--only PATH-PREFIX]\n";
            return 2;
        } else {
            root = args[i];
        }
    }

    QString error;
    const QStringList written = art::writeAll(root, &error, only);
    for (const QString& path : written)
        out << QDir(root).filePath(path) << '\n';
    if (!error.isEmpty()) {
        err << error << '\n';
        return 1;
    }
    if (!mock.isEmpty()) {
        if (!composeMock(root).save(mock, "PNG")) {
            err << "cannot write " << mock << '\n';
            return 1;
        }
        out << mock << '\n';
    }
    return 0;
}
