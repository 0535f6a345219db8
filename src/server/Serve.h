#pragma once
// "serve": binds, prints "listening on http://HOST:PORT" on standard output as soon as it
// listens, logs every request on standard error and runs until SIGTERM or SIGINT.

#include "server/ServiceOptions.h"

#include <QString>
#include <QTextStream>

namespace server {

int Serve(const ServeOptions& options, const QString& programFolder, QTextStream& out,
          QTextStream& err);

}  // namespace server
