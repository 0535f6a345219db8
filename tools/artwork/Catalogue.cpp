#include "Catalogue.h"

#include "PreviewArt.h"
#include "WindowArt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace art {

const std::vector<Picture>& catalogue() {
    static const std::vector<Picture> pictures = [] {
        const QString client = kClientFolder + QLatin1Char('/');
        std::vector<Picture> list = {
            {client + "main-background.png", drawMainBackground},
            {client + "exit-strip.png", drawExitStrip},
            {client + "login-close-normal.png", [] { return drawLoginClose(ButtonLook::Normal); }},
            {client + "login-close-hover.png", [] { return drawLoginClose(ButtonLook::Hover); }},
            {client + "login-close-down.png", [] { return drawLoginClose(ButtonLook::Pressed); }},
            {client + "icon.png", [] { return drawIcon(256); }},
            {client + "icon-32.png", [] { return drawIcon(32); }},
            {client + "icon-16.png", [] { return drawIcon(16); }},
        };
        for (int style = 1; style <= kStyleCount; ++style) {
            list.push_back({client + QStringLiteral("preview-%1.png").arg(style),
                            [style] { return drawPreview(style); }});
        }
        list.push_back({client + "preview-soon.png", drawPreviewSoon});
        list.push_back({kAdvertFolder + "/advert-1.png", [] { return drawAdvert(1); }});
        list.push_back({kAdvertFolder + "/advert-2.png", [] { return drawAdvert(2); }});
        return list;
    }();
    return pictures;
}

QString clientResourceText() {
    QString text =
        QStringLiteral("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n");
    for (const Picture& picture : catalogue()) {
        if (!picture.path.startsWith(kClientFolder + QLatin1Char('/')))
            continue;
        const QString name = QFileInfo(picture.path).fileName();
        text += QStringLiteral("    <file alias=\"%1\">%1</file>\n").arg(name);
    }
    text += QStringLiteral("</qresource>\n</RCC>\n");
    return text;
}

QStringList writeAll(const QString& root, QString* error) {
    QStringList written;
    const QDir base(root);
    for (const Picture& picture : catalogue()) {
        const QString target = base.filePath(picture.path);
        if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
            *error = QStringLiteral("cannot create the folder of ") + target;
            return written;
        }
        const QImage image = picture.draw();
        if (image.isNull() || !image.save(target, "PNG")) {
            *error = QStringLiteral("cannot write ") + target;
            return written;
        }
        written << picture.path;
    }
    QFile qrc(base.filePath(kClientResourceFile));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        qrc.write(clientResourceText().toUtf8()) < 0) {
        *error = QStringLiteral("cannot write ") + qrc.fileName();
        return written;
    }
    written << kClientResourceFile;
    return written;
}

}  // namespace art
