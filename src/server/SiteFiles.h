#pragma once
// The files the service serves from its site folder: the pages of the service itself (home,
// download, support, shop), their style sheet and pictures, the advert pictures and the assets
// of the page styles under biaobai/.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <string>

namespace server {

struct SiteFile {
    QByteArray content;
    std::string contentType;
};

class SiteFiles {
public:
    // root: the site folder. It need not exist; then nothing is found.
    explicit SiteFiles(QString root);

    const QString& Root() const { return root_; }
    bool Exists() const;

    // A file below folder (a sub-folder of the site, "" for the site itself) at the relative
    // path taken from the address. Nothing when the path is not plain (empty, "." or ".."
    // segments, backslashes, control characters) or leads outside the folder, links included.
    std::optional<SiteFile> Read(QStringView folder, QStringView relative) const;

    // The content type by file name extension; the service's own pages and texts, and every
    // script and style sheet, are UTF-8.
    static std::string ContentTypeOf(QStringView fileName, bool ownText);

private:
    QString root_;
};

// The site folder next to the program: "assets/site" of the source tree when the program is in
// build/<preset>/src/server or build/src/server, "<program folder>/../share/zenri-service/site"
// once installed. The first that exists; the first candidate when none does.
QString DefaultSiteFolder(const QString& programFolder);

}  // namespace server
