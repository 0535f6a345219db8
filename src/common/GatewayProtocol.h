#pragma once
// The gateway protocol shared by the client and the service: command codes, request bodies
// and the reply format of queries.
//
// A body is "zc=" + code, then the fields of the command in a fixed order, every value
// passed through EncodeValue; it holds only field names, "=", "&", digits, "-" and "A".
// A query is answered with "いゼ" before every row and "い" between the fields of a row.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace gateway {

// The page every request goes to, on the service host.
inline constexpr char kGatewayPath[] = "/asp/index.asp";

enum class Command { Query = 1, Execute = 2, ServerTime = 3, UploadPage = 4, RenamePage = 5 };

inline constexpr char16_t kRecordSeparator[] = u"いゼ";
inline constexpr char16_t kFieldSeparator[] = u"い";

// Bodies. Codes 1 to 3 are encoded as numbers, 4 and 5 as the one-character texts "4" and
// "5"; both give the digit's code on the wire (49 .. 53).
QByteArray StatementBody(Command code, QStringView statement);      // zc, sql
QByteArray ServerTimeBody();                                        // zc
QByteArray UploadBody(QStringView pageName, QStringView pageText);  // zc, File, data
QByteArray RenameBody(QStringView oldName, QStringView newName);    // zc, File1, File2

// Reply reading. Records are numbered from 0; record 0, the text before the first separator,
// is never read. An empty reply, or one without "いゼ", has no record 1 at all, which is a
// failure to read; a present but empty record 1 means "no row".
QStringList SplitRecords(const QString& reply);
QStringList SplitFields(const QString& record);

// The reply of a query, as the service writes it.
QString BuildQueryReply(const std::vector<QStringList>& rows);

// A request body taken apart: field name -> the still encoded value, a view into the body.
// Fields may come in any order; a repeated field, a piece without "=", an empty field name or
// more than kMaxFormFields fields is malformed.
inline constexpr int kMaxFormFields = 8;
std::optional<std::map<std::string, QByteArrayView>> SplitForm(QByteArrayView body);

}  // namespace gateway
