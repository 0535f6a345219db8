#pragma once
// The files the service serves from its site folder: the pages of the service itself (home,
// download, support, shop), their style sheet and pictures, the advert pictures and the assets
// of the page styles under biaobai/.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <string>
#include <utility>

namespace server {

struct SiteFile {
    QByteArray content;
    std::string contentType;
};

// A file of the site opened for sending: the descriptor (closed with the object unless
// Release takes it), what fstat says of it, and its content type.
class OpenSiteFile {
public:
    OpenSiteFile(int fd, qint64 size, qint64 modified, std::string contentType)
        : fd_(fd), size_(size), modified_(modified), contentType_(std::move(contentType)) {}
    ~OpenSiteFile();
    OpenSiteFile(OpenSiteFile&& other) noexcept;
    OpenSiteFile(const OpenSiteFile&) = delete;
    OpenSiteFile& operator=(const OpenSiteFile&) = delete;
    OpenSiteFile& operator=(OpenSiteFile&&) = delete;

    int Release();  // the descriptor, now the caller's
    qint64 Size() const { return size_; }
    qint64 ModifiedSeconds() const { return modified_; }
    const std::string& ContentType() const { return contentType_; }

private:
    int fd_;
    qint64 size_;
    qint64 modified_;
    std::string contentType_;
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
    // The same file opened, not read: the service sends what a request asks of it straight
    // from the file, so that a range of a big file costs only that range.
    std::optional<OpenSiteFile> Open(QStringView folder, QStringView relative) const;

    // The content type by file name extension; the service's own pages and texts, and every
    // script and style sheet, are UTF-8.
    static std::string ContentTypeOf(QStringView fileName, bool ownText);

private:
    // The real path of the file Read and Open give, after every check; empty when none.
    QString PathOf(QStringView folder, QStringView relative) const;

    QString root_;
};

// The site folder next to the program: "assets/site" of the source tree when the program is in
// build/<preset>/src/server or build/src/server, "<program folder>/../share/zenri-service/site"
// once installed. The first that exists; the first candidate when none does.
QString DefaultSiteFolder(const QString& programFolder);

}  // namespace server
