#include "client/pages/TemplateStore.h"

#include "client/pages/StyleTables.h"

#include <QFile>
#include <QtGlobal>

namespace pages {

QStringList TemplateStore::Names() {
    return {QStringLiteral("FG1"), QStringLiteral("FG2"), QStringLiteral("FG3"),
            QStringLiteral("FG4"), QStringLiteral("FG5"), QStringLiteral("FG6"),
            QStringLiteral("FG7"), QStringLiteral("FG8"), QStringLiteral("PF")};
}

// The files are UTF-8 in the repository; the page is turned into code page 936 only when it
// is written for the preview or sent to the service.
QString TemplateStore::StoredText(QStringView name, const QString& folder) {
    QFile file((folder.isEmpty() ? QStringLiteral(":/templates") : folder) +
               QStringLiteral("/%1.htm").arg(name));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("template %s is missing from the resources", qPrintable(name.toString()));
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

TemplateStore::TemplateStore(const QString& serviceAddress, const QString& folder)
    : serviceAddress_(serviceAddress) {
    const QString marker = QString::fromUtf16(kServiceMarker);
    for (const QString& name : Names())
        members_[name] = StoredText(name, folder).replace(marker, serviceAddress_);
}

const QString& TemplateStore::Template(QStringView name) const {
    static const QString none;
    const auto it = members_.find(name.toString());
    return it == members_.end() ? none : it->second;
}

}  // namespace pages
