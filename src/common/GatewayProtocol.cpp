#include "common/GatewayProtocol.h"

#include "common/ValueEncoding.h"

namespace gateway {
namespace {

QByteArray Body(Command code) {
    QByteArray body("zc=");
    // Statements and the server time send the code as a number, uploads and renames as a
    // one-character text; the digit's code is the same either way.
    if (code == Command::UploadPage || code == Command::RenamePage) {
        AppendEncodedValue(body, QString::number(static_cast<int>(code)));
    } else {
        body.append(EncodeValue(static_cast<qint64>(code)).toLatin1());
    }
    return body;
}

void AppendField(QByteArray& body, const char* prefix, QStringView value) {
    body.append(prefix);
    AppendEncodedValue(body, value);
}

}  // namespace

QByteArray StatementBody(Command code, QStringView statement) {
    QByteArray body = Body(code);
    AppendField(body, "&sql=", statement);
    return body;
}

QByteArray ServerTimeBody() {
    return Body(Command::ServerTime);
}

QByteArray UploadBody(QStringView pageName, QStringView pageText) {
    QByteArray body = Body(Command::UploadPage);
    body.reserve(body.size() + 16 + (pageName.size() + pageText.size()) * 4);
    AppendField(body, "&File=", pageName);
    AppendField(body, "&data=", pageText);
    return body;
}

QByteArray RenameBody(QStringView oldName, QStringView newName) {
    QByteArray body = Body(Command::RenamePage);
    AppendField(body, "&File1=", oldName);
    AppendField(body, "&File2=", newName);
    return body;
}

QStringList SplitRecords(const QString& reply) {
    return reply.split(QString::fromUtf16(kRecordSeparator));
}

QStringList SplitFields(const QString& record) {
    return record.split(QString::fromUtf16(kFieldSeparator));
}

QString BuildQueryReply(const std::vector<QStringList>& rows) {
    QString reply;
    if (rows.empty())
        return QString::fromUtf16(kRecordSeparator);
    for (const QStringList& row : rows) {
        reply += QStringView(kRecordSeparator);
        reply += row.join(QString::fromUtf16(kFieldSeparator));
    }
    return reply;
}

std::optional<std::map<std::string, QByteArrayView>> SplitForm(QByteArrayView body) {
    std::map<std::string, QByteArrayView> fields;
    if (body.isEmpty())
        return fields;
    qsizetype start = 0;
    while (start <= body.size()) {
        qsizetype end = body.indexOf('&', start);
        if (end < 0)
            end = body.size();
        const QByteArrayView piece = body.sliced(start, end - start);
        const qsizetype eq = piece.indexOf('=');
        if (eq <= 0)
            return std::nullopt;
        std::string name(piece.data(), static_cast<size_t>(eq));
        if (fields.size() == kMaxFormFields ||
            !fields.emplace(std::move(name), piece.sliced(eq + 1)).second) {
            return std::nullopt;
        }
        start = end + 1;
    }
    return fields;
}

}  // namespace gateway
