#pragma once
// The service program's commands: "serve" runs the service; the others are operator commands
// on its database (init, settings, adverts, users, pages).

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace server {

// Exit codes of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the command could not be carried out
inline constexpr int kExitUsage = 2;   // the command line is wrong

// Runs one command line (without the program name). programFolder locates the site folder.
int RunServiceProgram(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                      QTextStream& err);

// The demo data of "init --demo".
inline constexpr char16_t kDemoUser[] = u"88888888";
inline constexpr char16_t kDemoPassword[] = u"zenri520";
inline constexpr char16_t kDemoPhone[] = u"13800000000";

}  // namespace server
