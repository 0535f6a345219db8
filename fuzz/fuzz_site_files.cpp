// Fuzzes the path check of the service's site files: the path of a GET request, routed to a
// site folder as the service routes it, on a site of its own with links that lead out of it.
//
// Property: a file that is found lies, links resolved, inside the folder it was asked from,
// and what comes back is that file.

#include "FuzzSupport.h"
#include "server/SiteFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstdlib>
#include <string>

namespace {

// Every file holds its own name, so that what comes back tells where it was read.
void Put(const QString& root, const QString& relative, const QByteArray& content) {
    const QString path = root + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

void Link(const QString& root, const QString& relative, const QString& target) {
    QFile::link(target, root + QLatin1Char('/') + relative);
}

// scratch/site is the site; scratch/secret.txt and scratch/outside/ are beside it.
QString MakeSite() {
    const QString scratch = fuzz::ScratchFolder();
    const QString site = scratch + QStringLiteral("/site");
    Put(scratch, QStringLiteral("secret.txt"), "outside");
    Put(scratch, QStringLiteral("outside/page.html"), "outside");
    for (const char* file :
         {"index.html", "download.html", "static/style.css", "static/img/logo.png",
          "adverts/advert-1.png", "biaobai/FG1/js/love.js", "biaobai/FG1/music.mp3",
          "biaobai/音乐/歌.mp3"}) {
        Put(site, QString::fromUtf8(file), QByteArray("inside:") + file);
    }
    QDir(site).mkpath(QStringLiteral("biaobai/empty"));
    Link(site, QStringLiteral("static/home.html"), QStringLiteral("../index.html"));
    Link(site, QStringLiteral("static/secret.txt"), QStringLiteral("../../secret.txt"));
    Link(site, QStringLiteral("static/out"), QStringLiteral("../../outside"));
    Link(site, QStringLiteral("adverts/abs"), scratch + QStringLiteral("/secret.txt"));
    Link(site, QStringLiteral("biaobai/fg1"), QStringLiteral("FG1"));
    Link(site, QStringLiteral("biaobai/loop"), QStringLiteral("loop"));
    return site;
}

std::string RealPath(const QString& path) {
    char buffer[PATH_MAX];
    const QByteArray name = QFile::encodeName(path);
    return ::realpath(name.constData(), buffer) ? std::string(buffer) : std::string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString site = MakeSite();
    static const server::SiteFiles files(site);

    // "/static/<relative>", "/adverts/..." and "/biaobai/..." as the service routes them; any
    // other path is tried on the site folder itself.
    const QString path = QString::fromUtf8(fuzz::BytesOf(data, size));
    QString folder;
    QString relative = path.startsWith(QLatin1Char('/')) ? path.mid(1) : path;
    for (const char* name : {"static", "adverts", "biaobai"}) {
        const QString prefix = QLatin1Char('/') + QLatin1String(name) + QLatin1Char('/');
        if (path.startsWith(prefix) && path.size() > prefix.size()) {
            folder = QLatin1String(name);
            relative = path.mid(prefix.size());
        }
    }

    const auto file = files.Read(folder, relative);
    if (!file)
        return 0;
    const QString base = folder.isEmpty() ? site : site + QLatin1Char('/') + folder;
    const std::string baseReal = RealPath(base);
    const std::string real = RealPath(base + QLatin1Char('/') + relative);
    FUZZ_CHECK(!baseReal.empty() && !real.empty());
    FUZZ_CHECK(real.compare(0, baseReal.size() + 1, baseReal + '/') == 0);
    FUZZ_CHECK(file->content.startsWith("inside:"));
    QFile read(QFile::decodeName(real.c_str()));
    FUZZ_CHECK(read.open(QIODevice::ReadOnly) && read.readAll() == file->content);
    FUZZ_CHECK(!file->contentType.empty());
    return 0;
}
