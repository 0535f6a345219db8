// zr-publish-pages: publishes page files on a running service the way the client does, for
// the browser tests of the page styles.
//   zr-publish-pages --service URL NAME=FILE ...
// For each page a new account registers and signs in, claims the page name and uploads the
// file (code page 936 bytes, as zenri-pages writes them). Prints one line per page; exits
// with 1 at the first refusal.

#include "client/gateway/Gateway.h"
#include "client/gateway/ServiceAddress.h"
#include "common/Codepage936.h"
#include "common/Statements.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

bool Fail(const QString& what, const QString& reply) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(what), qPrintable(reply.left(200)));
    return false;
}

bool Publish(int number, const QString& name, const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(file, QStringLiteral("cannot read"));
    const QString page = cp936::Decode(in.readAll());
    const QString user = QString::number(700000000 + number);
    const QString password = QStringLiteral("zenri520");

    const QString time = gateway::ReadServerTime();
    const auto insert = gateway::Execute(
        statements::RegistrationInsert(user, password, QStringLiteral("13800138000"), time));
    if (insert.text != QLatin1String("OK"))
        return Fail(name + QStringLiteral(" registration"), insert.text);
    const auto row = gateway::Query(statements::SignInLookup(user, password)).Fields(1);
    if (!row || row->isEmpty())
        return Fail(name + QStringLiteral(" sign-in"), QStringLiteral("no row"));
    const QString style = QStringLiteral("测试");
    const auto claim = gateway::Execute(statements::ClaimPageName(name, style, user));
    if (claim.text != QLatin1String("OK"))
        return Fail(name + QStringLiteral(" claim"), claim.text);
    const auto upload = gateway::UploadPage(name, page);
    if (upload.text != QLatin1String("OK"))
        return Fail(name + QStringLiteral(" upload"), upload.text);
    std::printf("%s %s\n", qPrintable(service::PageAddress(name)), qPrintable(file));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3 || args[0] != QLatin1String("--service") || !service::SetAddress(args[1])) {
        std::fputs("usage: zr-publish-pages --service URL NAME=FILE ...\n", stderr);
        return 2;
    }
    for (qsizetype i = 2; i < args.size(); ++i) {
        const qsizetype eq = args[i].indexOf(QLatin1Char('='));
        if (eq <= 0 || !Publish(int(i), args[i].left(eq), args[i].mid(eq + 1)))
            return 1;
    }
    return 0;
}
