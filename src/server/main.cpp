// zenri-service: the host behind the client's gateway page, and its operator commands.

#include "server/ServiceProgram.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    // Needed for QtSql to find its database driver; no event loop runs.
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return server::RunServiceProgram(arguments, QCoreApplication::applicationDirPath(), out, err);
}
