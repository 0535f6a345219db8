#pragma once
// Requests of the gateway protocol and the readers of service data.
//
// Every call makes one new request to the gateway page of the configured service; nothing is
// cached. Each result also says whether a reply was delivered at all, so that a caller never
// takes a transport failure for success.

#include "client/gateway/XmlHttp.h"
#include "common/Columns.h"
#include "common/GatewayProtocol.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace gateway {

// What the windows say when the service could not be reached or its answer could not be
// read, and when it refused an attempt because this address made too many of them.
inline constexpr char16_t kCannotConnect[] = u"无法连接服务器，请稍后再试";
inline constexpr char16_t kTooManyAttempts[] = u"尝试次数过多，请稍后再试";

// The records of a query reply (record 0 is the text before the first separator).
struct QueryReply {
    QStringList records;
    bool delivered = false;

    // Record k exists (k >= 1); an empty record means "no row".
    bool HasRecord(int k) const { return k >= 1 && k < records.size(); }
    // The fields of record k, or nothing when the reply has no such record.
    std::optional<QStringList> Fields(int k) const;
    // What to tell the user of a reply without record 1: the service's limit of attempts
    // ("LIMIT"), or that no answer could be read.
    const char16_t* NoRowText() const;
};

xmlhttp::PostReply Send(const QByteArray& body);

QueryReply Query(const QString& statement);                                       // code 1
xmlhttp::PostReply Execute(const QString& statement);                             // code 2
xmlhttp::PostReply UploadPage(const QString& pageName, const QString& pageText);  // code 4
xmlhttp::PostReply RenamePage(const QString& oldName, const QString& newName);    // code 5

// The fields of the settings row: nothing when the reply has no record 1 (a read failure),
// an empty list when record 1 is empty.
std::optional<QStringList> ReadSystemSettings();
// Every record of the reply; record k (from 1) belongs to advert k.
QStringList ReadAdvertImages();
QStringList ReadAdvertLinks();
// The gateway's date and time, exactly as it came back (code 3).
QString ReadServerTime();
xmlhttp::PostReply ReadServerTimeReply();

// Field i of a list of fields, or nothing when the list is missing or too short.
std::optional<QString> FieldAt(const std::optional<QStringList>& fields, int i);

}  // namespace gateway
