#include "client/settings/Wini.h"

#include "client/platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace wini {
namespace {

QSettings FlagStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zrrj"),
                     QStringLiteral("Zrrj"));
}

constexpr char kFlagKey[] = "Zrrj/Wyscrj";

}  // namespace

QString Section() {
    return QString::fromUtf16(kSection);
}

QString ProgramFolder() {
    return platform::Current().programFolder();
}

QString SettingsFolder() {
    const QString beside = QDir(ProgramFolder()).filePath(QStringLiteral("Zrrj"));
    const QFileInfo besideInfo(beside);
    if (besideInfo.isDir() ? besideInfo.isWritable() : QFileInfo(ProgramFolder()).isWritable()) {
        return beside;
    }
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Zrrj"));
}

QString SettingsFilePath() {
    return SettingsFolder() + QStringLiteral("/Zrwysc.ini");
}

bool CreateSettingsFolder() {
    return QDir().mkpath(SettingsFolder());
}

QString ReadRememberFlag() {
    return FlagStore().value(kFlagKey).toString();
}

void WriteRememberFlag(const QString& value) {
    QSettings store = FlagStore();
    store.setValue(kFlagKey, value);
    store.sync();
}

}  // namespace wini
