// The action of "登 陆": look the account up, refuse a frozen or mismatched one (the checks are
// in AccountChecks), remember or forget the sign-in, hand the user to the program and mark the
// account online.

#include "client/accounts/AccountChecks.h"
#include "client/accounts/Login.h"
#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/gateway/Gateway.h"
#include "client/settings/Wini.h"
#include "client/shell/GGCT.h"
#include "common/Statements.h"

void Login::SignIn() {
    SetStatus(Label2, QString());
    if (!LockOut(N_Shape2))
        return;
    if (const auto refusal =
            accounts::CheckSignInEntries(EntryOf(N_TextBox1), EntryOf(N_TextBox2))) {
        SetStatus(Label2, *refusal);
        return;
    }
    const QString account = N_TextBox1->Text();
    const QString password = N_TextBox2->Text();

    const gateway::QueryReply reply = gateway::Query(statements::SignInLookup(
        statements::TrimSpaces(account), statements::TrimSpaces(password)));
    if (const auto refusal = accounts::CheckSignInRow(reply, account, password)) {
        SetStatus(Label2, *refusal);
        return;
    }
    const QStringList fields = *reply.Fields(1);

    if (Check1->isChecked()) {
        wini::WriteRememberFlag(QStringLiteral("1"));
        wini::CreateSettingsFolder();
        const QString file = wini::SettingsFilePath();
        WriteIni(wini::Section(), QString::fromUtf16(wini::kAccountKey), account, file);
        WriteIni(wini::Section(), QString::fromUtf16(wini::kPasswordKey),
                 ScramblePassword(password, QString::fromLatin1(wini::kScrambleKey)), file);
    } else {
        wini::WriteRememberFlag(QStringLiteral("0"));
    }
    emit SignedIn(account);
    GGCT::Instance().YHM = account;
    GGCT::Instance().WJM = fields[columns::kPageName];
    gateway::Execute(statements::MarkOnline(gateway::ReadServerTime(), account));
    close();
}
