// The action of "上 传": claim the exclusive name when the user has none yet, send the page,
// then record the page style and the upload time. Nothing counts as done before the service
// has answered it with "OK"; a refusal or a lost connection is told and leaves everything
// as it was.

#include "client/controls/N_Shape.h"
#include "client/gateway/Gateway.h"
#include "client/publish/SCCT.h"
#include "client/shell/GGCT.h"
#include "common/Statements.h"

namespace {

// What a refusal word of the service means to the user.
const char16_t* RefusalText(const QString& word, const char16_t* otherwise) {
    if (word == QLatin1String("TAKEN"))
        return publish::kNameTaken;
    if (word == QLatin1String("BADNAME"))
        return publish::kBadName;
    if (word == QLatin1String("TOOBIG"))
        return publish::kTooBig;
    if (word == QLatin1String("DENIED"))
        return publish::kSignInAgain;
    if (word == QLatin1String("LIMIT"))
        return gateway::kTooManyAttempts;
    return otherwise;
}

// The outcome of a statement or an upload: empty when the service answered "OK", otherwise
// what to tell the user.
QString Refusal(const xmlhttp::PostReply& reply, const char16_t* otherwise) {
    if (!reply.delivered)
        return QString::fromUtf16(gateway::kCannotConnect);
    if (reply.text == QLatin1String("OK"))
        return QString();
    return QString::fromUtf16(RefusalText(reply.text, otherwise));
}

}  // namespace

void SCCT::Upload() {
    GGCT& shared = GGCT::Instance();
    const QString name = Text1->text();
    if (name.isEmpty()) {
        SetStatus(QString::fromUtf16(publish::kEmptyName));
        return;
    }
    if (Text1->isEnabled()) {
        // The name is being claimed: it must be nobody's, or already this user's (a claim
        // that went through before an upload that did not).
        const gateway::QueryReply lookup = gateway::Query(statements::PageNameLookup(name));
        if (!lookup.HasRecord(1)) {
            SetStatus(QString::fromUtf16(lookup.NoRowText()));
            return;
        }
        bool ours = false;
        if (!lookup.records[1].isEmpty()) {
            const QStringList row = *lookup.Fields(1);
            if (row.size() <= columns::kPageName) {
                SetStatus(QString::fromUtf16(gateway::kCannotConnect));
                return;
            }
            // A row under another spelling of the name counts as taken as well.
            ours = row[columns::kPageName] == name && row[columns::kUser] == shared.YHM;
            if (!ours) {
                SetStatus(QString::fromUtf16(publish::kNameTaken));
                return;
            }
        }
        if (!ours) {
            const QString refused =
                Refusal(gateway::Execute(statements::ClaimPageName(name, shared.YMFG, shared.YHM)),
                        publish::kUploadFailed);
            if (!refused.isEmpty()) {
                SetStatus(refused);
                return;
            }
        }
    }

    const QString refused = Refusal(gateway::UploadPage(name, shared.FGN), publish::kUploadFailed);
    if (!refused.isEmpty()) {
        SetStatus(refused);
        return;
    }
    SetStatus(QString::fromUtf16(publish::kUploaded));
    ShowAddress(name);
    Text1->setEnabled(false);
    shared.WJM = name;

    const QString time = gateway::ReadServerTime();
    const xmlhttp::PostReply record =
        gateway::Execute(statements::RecordUpload(shared.YMFG, time, name));
    if (!record.delivered || record.text != QLatin1String("OK"))
        qWarning("the upload of %s was not recorded: %s", qPrintable(name),
                 qPrintable(record.text));
}
