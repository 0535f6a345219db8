#include "client/shell/AdvertPane.h"

#include "client/gateway/XmlHttp.h"
#include "client/shell/CommonRoutines.h"

#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScrollBar>
#include <QTextDocument>

QString BuildAdvertPage(const QString& targetAddress, const QString& pictureAddress) {
    return QStringLiteral(
               "about:<html><body style='border: none; margin: 0:overflow:hidden' "
               "bgColor='#ffccff'ondragstart ='return false' oncontextmenu='return false'"
               "oncontextmenu=self.event.returnValue=false onselectstart='return false' "
               "scroll='no'><a href='") +
           targetAddress + QStringLiteral("'target='_blank'><img src='") + pictureAddress +
           QStringLiteral("'></img></body></html>");
}

AdvertPane::AdvertPane(QWidget* parent) : QTextBrowser(parent) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setContextMenuPolicy(Qt::NoContextMenu);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setAcceptDrops(false);
    document()->setDocumentMargin(0);
    connect(this, &QTextBrowser::anchorClicked, this,
            [](const QUrl& url) { OpenDocument(url.toString()); });
}

void AdvertPane::Navigate(const QString& page) {
    page_ = page;
    html_ = page.startsWith(QLatin1String("about:")) ? page.mid(6) : page;
    loaded_ = false;
    setHtml(html_);
}

QVariant AdvertPane::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource &&
        (name.scheme() == QLatin1String("http") || name.scheme() == QLatin1String("https"))) {
        const auto found = pictures_.constFind(name);
        if (found != pictures_.cend())
            return found->isNull() ? QVariant() : QVariant(*found);
        Fetch(name);
        return QVariant();
    }
    return QTextBrowser::loadResource(type, name);
}

// The picture arrives later; the page is then laid out again and finds it.
void AdvertPane::Fetch(const QUrl& url) {
    pictures_.insert(url, QImage());
    QNetworkReply* reply = xmlhttp::Manager().get(QNetworkRequest(url));
    connect(reply, &QNetworkReply::finished, this, [this, reply, url] {
        reply->deleteLater();
        QImage image;
        if (reply->error() == QNetworkReply::NoError && image.loadFromData(reply->readAll())) {
            pictures_.insert(url, image);
            loaded_ = true;
            setHtml(html_);
            emit PictureArrived();
        }
    });
}
