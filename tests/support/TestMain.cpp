// The main of every test program: an application object on Qt's offscreen platform, with the
// per-user folders (settings store, runtime folder, data folder) moved into a fresh temporary
// folder so that no test sees the developer's own files or another test's.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    for (const char* var :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "HOME"}) {
        const QByteArray dir = (home.path() + "/" + var).toLocal8Bit();
        QDir().mkpath(QString::fromLocal8Bit(dir));
        QFile::setPermissions(QString::fromLocal8Bit(dir),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setenv(var, dir.constData(), 1);
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
