#include "client/pages/Preview.h"

#include "client/platform/Platform.h"
#include "client/shell/CommonRoutines.h"
#include "client/shell/GGCT.h"
#include "common/Codepage936.h"

#include <QDir>
#include <QFile>

namespace preview {

QString FilePath() {
    return QDir(platform::Current().temporaryFolder()).filePath(QString::fromLatin1(kFileName));
}

// A character outside the code page is one "?", also when it takes two UTF-16 units.
QByteArray FileBytes(const QString& page) {
    QString text = page + QStringLiteral("\r\n");
    for (qsizetype i = text.size() - 1; i > 0; --i) {
        if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
            text.replace(--i, 2, QLatin1Char('?'));
    }
    return cp936::Encode(text);
}

}  // namespace preview

void YLWY() {
    const QString path = preview::FilePath();
    const QByteArray bytes = preview::FileBytes(GGCT::Instance().FGN);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        file.close();
        ShowMessage(QString::fromUtf16(preview::kCannotWrite) + QDir::toNativeSeparators(path),
                    QStringLiteral("提示"), QMessageBox::Warning);
        return;
    }
    file.close();
    OpenDocument(path);
    WaitWithEvents(preview::kWaitMs);
    QFile::remove(path);
}
