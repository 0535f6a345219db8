#include "Catalogue.h"

#include "PreviewArt.h"
#include "SiteArt.h"
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
        list.push_back({client + "preview-soon.png", drawPreviewSoon});
        list.push_back({kAdvertFolder + "/advert-1.png", [] { return drawAdvert(1); }});
        list.push_back({kAdvertFolder + "/advert-2.png", [] { return drawAdvert(2); }});
        // Browsers ask every page's host for its icon.
        list.push_back(
            {QStringLiteral("assets/site/static/favicon.png"), [] { return drawIcon(48); }});
        for (const auto& group : {fg1Pictures, fg2Pictures, fg3Pictures, fg4Pictures, fg5Pictures,
                                  fg6Pictures, fg7Pictures, fg8Pictures, mediaPictures}) {
            for (Picture& picture : group())
                list.push_back(std::move(picture));
        }
        return list;
    }();
    return pictures;
}

QString clientResourceText() {
    QString text =
        QStringLiteral("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n");
    QStringList names = browserPreviewNames();
    for (const Picture& picture : catalogue()) {
        if (picture.path.startsWith(kClientFolder + QLatin1Char('/')))
            names << QFileInfo(picture.path).fileName();
    }
    names.sort();
    for (const QString& name : names)
        text += QStringLiteral("    <file alias=\"%1\">%1</file>\n").arg(name);
    text += QStringLiteral("</qresource>\n</RCC>\n");
    return text;
}

QStringList writeAll(const QString& root, QString* error, const QString& only) {
    QStringList written;
    const QDir base(root);
    for (const Picture& picture : catalogue()) {
        if (!only.isEmpty() && !picture.path.startsWith(only))
            continue;
        const QString target = base.filePath(picture.path);
        if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
            *error = QStringLiteral("cannot create the folder of ") + target;
            return written;
        }
        const QImage image = picture.draw();
        const bool photo = picture.path.endsWith(QLatin1String(".jpg"));
        if (image.isNull() || !image.save(target, photo ? "JPEG" : "PNG", photo ? 82 : -1)) {
            *error = QStringLiteral("cannot write ") + target;
            return written;
        }
        written << picture.path;
    }
    if (!only.isEmpty())
        return written;
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
