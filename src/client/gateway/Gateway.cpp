#include "client/gateway/Gateway.h"

#include "client/gateway/ServiceAddress.h"
#include "common/Statements.h"

namespace gateway {

const char16_t* QueryReply::NoRowText() const {
    return delivered && records.value(0) == QLatin1String("LIMIT") ? kTooManyAttempts
                                                                   : kCannotConnect;
}

std::optional<QStringList> QueryReply::Fields(int k) const {
    if (!HasRecord(k))
        return std::nullopt;
    if (records[k].isEmpty())
        return QStringList();
    return SplitFields(records[k]);
}

xmlhttp::PostReply Send(const QByteArray& body) {
    return xmlhttp::Post(service::GatewayAddress(), body);
}

QueryReply Query(const QString& statement) {
    const xmlhttp::PostReply reply = Send(StatementBody(Command::Query, statement));
    return QueryReply{SplitRecords(reply.text), reply.delivered};
}

xmlhttp::PostReply Execute(const QString& statement) {
    return Send(StatementBody(Command::Execute, statement));
}

xmlhttp::PostReply UploadPage(const QString& pageName, const QString& pageText) {
    return Send(UploadBody(pageName, pageText));
}

xmlhttp::PostReply RenamePage(const QString& oldName, const QString& newName) {
    return Send(RenameBody(oldName, newName));
}

std::optional<QStringList> ReadSystemSettings() {
    return Query(statements::SelectSystemSettings()).Fields(1);
}

QStringList ReadAdvertImages() {
    return Query(statements::SelectAdvertImages()).records;
}
QStringList ReadAdvertLinks() {
    return Query(statements::SelectAdvertLinks()).records;
}

xmlhttp::PostReply ReadServerTimeReply() {
    return Send(ServerTimeBody());
}
QString ReadServerTime() {
    return ReadServerTimeReply().text;
}

std::optional<QString> FieldAt(const std::optional<QStringList>& fields, int i) {
    if (!fields || i < 0 || i >= fields->size())
        return std::nullopt;
    return fields->at(i);
}

}  // namespace gateway
