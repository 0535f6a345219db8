// The action of "确认修改": the new name must be free; the user's row takes it, then the page
// moves to it. Only when the service answered both with "OK" is the change done, and then
// the window, the address and the shared name all follow it.

#include "client/controls/EntryValidator.h"
#include "client/controls/N_Shape.h"
#include "client/gateway/Gateway.h"
#include "client/publish/SCCT.h"
#include "client/shell/GGCT.h"
#include "common/Statements.h"

namespace {

const char16_t* RenameRefusal(const xmlhttp::PostReply& reply) {
    if (!reply.delivered)
        return gateway::kCannotConnect;
    if (reply.text == QLatin1String("TAKEN"))
        return publish::kNewNameTaken;
    if (reply.text == QLatin1String("BADNAME"))
        return publish::kBadName;
    if (reply.text == QLatin1String("DENIED"))
        return publish::kSignInAgain;
    if (reply.text == QLatin1String("LIMIT"))
        return gateway::kTooManyAttempts;
    return publish::kRenameFailed;
}

}  // namespace

void SCCT::ChangeName() {
    if (!LockOut(N_Shape5))
        return;
    const QString newName = Text4->text();
    const QString oldName = Text1->text();
    if (newName.isEmpty()) {
        SetStatus(QString::fromUtf16(publish::kEnterNewName));
        return;
    }
    const gateway::QueryReply lookup =
        gateway::Query(statements::RenameLookup(statements::TrimSpaces(newName)));
    if (!lookup.HasRecord(1)) {
        SetStatus(QString::fromUtf16(lookup.NoRowText()));
        return;
    }
    if (!lookup.records[1].isEmpty()) {
        SetStatus(QString::fromUtf16(publish::kNewNameTaken));
        return;
    }
    const xmlhttp::PostReply update =
        gateway::Execute(statements::RenamePageName(newName, oldName));
    if (!update.delivered || update.text != QLatin1String("OK")) {
        SetStatus(QString::fromUtf16(RenameRefusal(update)));
        return;
    }
    const xmlhttp::PostReply moved = gateway::RenamePage(oldName, newName);
    if (!moved.delivered || moved.text != QLatin1String("OK")) {
        // The row holds the new name but the page kept the old one: the row goes back, so
        // that name and page stay together.
        const xmlhttp::PostReply back =
            gateway::Execute(statements::RenamePageName(oldName, newName));
        if (!back.delivered || back.text != QLatin1String("OK"))
            qWarning("the page %s kept its name, its row did not", qPrintable(oldName));
        SetStatus(QString::fromUtf16(RenameRefusal(moved)));
        return;
    }
    controls::AssignText(Text1, newName);
    GGCT::Instance().WJM = newName;
    ShowAddress(newName);
    SetNameChangeShown(false);
    SetStatus(QString::fromUtf16(publish::kRenamed));
}
