#pragma once
// One advert pane of the main window: a small HTML view showing the advert picture on pink;
// a click on the picture opens the advert's address in the browser.

#include <QHash>
#include <QImage>
#include <QString>
#include <QTextBrowser>

// The pane's page: "about:" followed by the HTML text, built exactly as the panes have
// always been given it.
QString BuildAdvertPage(const QString& targetAddress, const QString& pictureAddress);

class AdvertPane : public QTextBrowser {
    Q_OBJECT
public:
    explicit AdvertPane(QWidget* parent = nullptr);

    // Shows the HTML text that follows "about:"; the picture is fetched over HTTP.
    void Navigate(const QString& page);
    QString Page() const { return page_; }
    // True once the picture named by the page has arrived.
    bool PictureLoaded() const { return loaded_; }

signals:
    void PictureArrived();

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void Fetch(const QUrl& url);

    QString page_;
    QString html_;
    QHash<QUrl, QImage> pictures_;  // a null image while the fetch is under way
    bool loaded_ = false;
};
