// The action of "立 即 注 册": check the four entries in order, make sure the QQ number is not
// an account yet, and insert the new row with the service's time. The checks and what each
// answer means are in AccountChecks.

#include "client/accounts/AccountChecks.h"
#include "client/accounts/Login.h"
#include "client/controls/N_Shape.h"
#include "client/controls/N_TextBox.h"
#include "client/gateway/Gateway.h"
#include "common/Statements.h"

void Login::Register() {
    BuildHiddenPanels();
    SetStatus(Label3, QString());
    if (!LockOut(N_Shape4))
        return;

    const accounts::RegistrationEntries entries{EntryOf(N_TextBox3), EntryOf(N_TextBox4),
                                                EntryOf(N_TextBox5), EntryOf(N_TextBox6)};
    if (const auto refusal = accounts::CheckRegistrationEntries(entries)) {
        SetStatus(Label3, *refusal);
        if (*refusal == QStringView(accounts::kBadPhone))
            N_TextBox6->SetText(QString());
        return;
    }
    const QString qq = N_TextBox3->Text();
    const QString password = N_TextBox4->Text();
    const QString phone = N_TextBox6->Text();

    const gateway::QueryReply lookup =
        gateway::Query(statements::RegistrationLookup(statements::TrimSpaces(qq)));
    if (const auto refusal = accounts::CheckRegistrationLookup(lookup)) {
        SetStatus(Label3, *refusal);
        return;
    }
    const xmlhttp::PostReply time = gateway::ReadServerTimeReply();
    if (!time.delivered) {
        SetStatus(Label3, QString::fromUtf16(accounts::kCannotConnect));
        return;
    }
    const xmlhttp::PostReply insert =
        gateway::Execute(statements::RegistrationInsert(qq, password, phone, time.text));
    SetStatus(Label3, accounts::RegistrationOutcome(insert.delivered, insert.text));
}
