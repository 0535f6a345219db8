// The action of "登 陆": look the account up, refuse a frozen or mismatched one, remember or
// forget the sign-in, hand the user to the program and mark the account online.

#include "GGCT.h"
#include "Gateway.h"
#include "Login.h"
#include "N_Shape.h"
#include "N_TextBox.h"
#include "Statements.h"
#include "Wini.h"

namespace {

// The gateway renders the frozen flag as "True"/"False" or "-1"/"0".
bool IsTrue(const QString& field) {
    return field == QLatin1String("True") || field == QLatin1String("-1");
}

}  // namespace

void Login::SignIn() {
    SetStatus(Label2, QString());
    if (!LockOut(N_Shape2))
        return;
    if (ShowsHint(N_TextBox1) || ShowsHint(N_TextBox2)) {
        SetStatus(Label2, QStringLiteral("用户名或密码不能为空"));
        return;
    }
    const QString account = N_TextBox1->Text();
    const QString password = N_TextBox2->Text();

    const gateway::QueryReply reply = gateway::Query(statements::SignInLookup(
        statements::TrimSpaces(account), statements::TrimSpaces(password)));
    if (!reply.HasRecord(1)) {
        const bool limited = reply.delivered && reply.records.value(0) == QLatin1String("LIMIT");
        SetStatus(Label2, QString::fromUtf16(limited ? accounts::kTooManyAttempts
                                                     : accounts::kCannotConnect));
        return;
    }
    if (reply.records[1].isEmpty()) {
        SetStatus(Label2, QStringLiteral("用户名或密码不正确"));
        return;
    }
    const QStringList fields = *reply.Fields(1);
    if (fields.size() < columns::kUserCount) {
        SetStatus(Label2, QString::fromUtf16(accounts::kCannotConnect));
        return;
    }
    if (IsTrue(fields[columns::kFrozen])) {
        SetStatus(Label2, QStringLiteral("帐号已被冻结，请联系客服解除"));
        return;
    }
    if (fields[columns::kUser] != account || fields[columns::kPassword] != password) {
        SetStatus(Label2, QStringLiteral("用户名或密码不正确"));
        return;
    }

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
