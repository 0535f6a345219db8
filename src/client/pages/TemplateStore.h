#pragma once
// The template store: the page templates of the eight styles (FG1 to FG8) and the
// floating-picture snippet PF, as the program carries them in its resources.
//
// The templates load their scripts, style sheets and pictures from the service by absolute
// address; in the resources they hold the service marker (kServiceMarker) there, and the
// store writes the configured service address in its place once, when it loads them. After
// that the store is read-only. The work buffer FGN, the page generated last, is the shared
// state's (GGCT), not the store's.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <map>

namespace pages {

class TemplateStore {
public:
    // Loads the nine members with `serviceAddress` ("http://host:port") for the marker, from
    // the resources or, for page makers at work on a template, from the files NAME.htm of
    // `folder`.
    explicit TemplateStore(const QString& serviceAddress, const QString& folder = QString());

    // The member's whole text ("FG1" … "FG8", "PF"); the empty text for any other name.
    const QString& Template(QStringView name) const;
    const QString& ServiceAddress() const { return serviceAddress_; }

    // The member names in order.
    static QStringList Names();
    // The member as the resources (or the folder) hold it, marker and all.
    static QString StoredText(QStringView name, const QString& folder = QString());

private:
    QString serviceAddress_;
    std::map<QString, QString> members_;
};

}  // namespace pages
