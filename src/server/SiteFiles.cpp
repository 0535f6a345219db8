#include "server/SiteFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace server {
namespace {

constexpr qint64 kMaxFileSize = 64ll << 20;

// A name of the path: not empty, no "." or "..", and no hidden file or folder (".git",
// ".htpasswd", an editor's ".swp"), which the site folder may hold without meaning to serve.
bool IsPlainSegment(QStringView segment) {
    if (segment.isEmpty() || segment.startsWith(u'.'))
        return false;
    for (QChar c : segment) {
        if (c.unicode() < 0x20 || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c.unicode() == 0x7f) {
            return false;
        }
    }
    return true;
}

}  // namespace

SiteFiles::SiteFiles(QString root) : root_(std::move(root)) {}

bool SiteFiles::Exists() const {
    return QFileInfo(root_).isDir();
}

QString SiteFiles::PathOf(QStringView folder, QStringView relative) const {
    for (QStringView segment : relative.split(u'/')) {
        if (!IsPlainSegment(segment))
            return {};
    }
    if (!folder.isEmpty()) {
        for (QStringView segment : folder.split(u'/')) {
            if (!IsPlainSegment(segment))
                return {};
        }
    }
    const QString base = folder.isEmpty() ? root_ : root_ + QLatin1Char('/') + folder.toString();
    const QString baseReal = QFileInfo(base).canonicalFilePath();
    if (baseReal.isEmpty())
        return {};
    const QFileInfo info(base + QLatin1Char('/') + relative.toString());
    // Resolving links as well keeps a link inside the folder from leading out of it.
    const QString real = info.canonicalFilePath();
    if (real.isEmpty() || !real.startsWith(baseReal + QLatin1Char('/')))
        return {};
    return real;
}

namespace {

bool IsOwnText(QStringView folder) {
    return folder != u"biaobai" && !folder.startsWith(u"biaobai/");
}

}  // namespace

std::optional<SiteFile> SiteFiles::Read(QStringView folder, QStringView relative) const {
    auto opened = Open(folder, relative);
    if (!opened)
        return std::nullopt;
    QFile file;
    if (!file.open(opened->Release(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return std::nullopt;
    return SiteFile{file.readAll(), opened->ContentType()};
}

std::optional<OpenSiteFile> SiteFiles::Open(QStringView folder, QStringView relative) const {
    const QString real = PathOf(folder, relative);
    if (real.isEmpty())
        return std::nullopt;
    const int fd = ::open(QFile::encodeName(real).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    // What is sent is what the descriptor holds, whatever replaced the path since.
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > kMaxFileSize) {
        ::close(fd);
        return std::nullopt;
    }
    return OpenSiteFile(fd, qint64(status.st_size), qint64(status.st_mtim.tv_sec),
                        ContentTypeOf(relative, IsOwnText(folder)));
}

OpenSiteFile::~OpenSiteFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

OpenSiteFile::OpenSiteFile(OpenSiteFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      modified_(other.modified_),
      contentType_(std::move(other.contentType_)) {}

int OpenSiteFile::Release() {
    return std::exchange(fd_, -1);
}

std::string SiteFiles::ContentTypeOf(QStringView fileName, bool ownText) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString ext = dot < 0 ? QString() : fileName.mid(dot + 1).toString().toLower();
    const std::string charset = ownText ? "; charset=utf-8" : "";
    if (ext == u"html" || ext == u"htm")
        return "text/html" + charset;
    // Scripts and style sheets are UTF-8 files everywhere; a GBK page that loads a script
    // without the charset would read its Chinese strings as GBK.
    if (ext == u"css")
        return "text/css; charset=utf-8";
    if (ext == u"js")
        return "application/javascript; charset=utf-8";
    if (ext == u"txt")
        return "text/plain" + charset;
    if (ext == u"json")
        return "application/json";
    if (ext == u"svg")
        return "image/svg+xml";
    if (ext == u"png")
        return "image/png";
    if (ext == u"jpg" || ext == u"jpeg")
        return "image/jpeg";
    if (ext == u"gif")
        return "image/gif";
    if (ext == u"ico")
        return "image/x-icon";
    if (ext == u"webp")
        return "image/webp";
    if (ext == u"mp3")
        return "audio/mpeg";
    if (ext == u"ogg")
        return "audio/ogg";
    if (ext == u"mp4")
        return "video/mp4";
    if (ext == u"swf")
        return "application/x-shockwave-flash";
    if (ext == u"woff2")
        return "font/woff2";
    if (ext == u"woff")
        return "font/woff";
    if (ext == u"ttf")
        return "font/ttf";
    return "application/octet-stream";
}

QString DefaultSiteFolder(const QString& programFolder) {
    // build/<preset>/src/server, build/src/server, then an installed program.
    const QStringList candidates{QStringLiteral("/../../../../assets/site"),
                                 QStringLiteral("/../../../assets/site"),
                                 QStringLiteral("/../share/zenri-service/site")};
    for (const QString& relative : candidates) {
        const QString folder = QDir::cleanPath(programFolder + relative);
        if (QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::cleanPath(programFolder + candidates.first());
}

}  // namespace server
