#include "Requests.h"

#include "Swarm.h"
#include "common/Codepage936.h"
#include "common/GatewayProtocol.h"
#include "common/Statements.h"

namespace attacks {
namespace {

std::string Request(const QByteArray& body) {
    return GatewayHead(body.size(), true) + body.toStdString();
}

}  // namespace

std::string GatewayHead(long long contentLength, bool close) {
    std::string head = std::string("POST ") + gateway::kGatewayPath + " HTTP/1.1\r\n";
    head += "Host: 127.0.0.1\r\n";
    head += "Content-Type: application/x-www-form-urlencoded\r\n";
    head += "Content-Length: " + std::to_string(contentLength) + "\r\n";
    if (close)
        head += "Connection: close\r\n";
    head += "\r\n";
    return head;
}

std::string SettingsQueryRequest() {
    return Request(
        gateway::StatementBody(gateway::Command::Query, statements::SelectSystemSettings()));
}

std::string SignInRequest(std::string_view user, std::string_view password) {
    const QString u = QString::fromUtf8(user.data(), qsizetype(user.size()));
    const QString p = QString::fromUtf8(password.data(), qsizetype(password.size()));
    return Request(gateway::StatementBody(gateway::Command::Query, statements::SignInLookup(u, p)));
}

bool AnsweredWithRow(std::string_view response) {
    if (StatusOf(response) != 200)
        return false;
    const std::string_view body = BodyOf(response);
    const QStringList records =
        gateway::SplitRecords(cp936::Decode(QByteArrayView(body.data(), qsizetype(body.size()))));
    return records.size() > 1 && !records[1].isEmpty();
}

std::string NumberListBody(size_t size) {
    std::string body = "zc=49&sql=";
    // "49A" over and over: the code of "1", then the separator.
    static constexpr char kPattern[] = "49A";
    while (body.size() < size)
        body += kPattern[(body.size() - 10) % 3];
    body.resize(size);
    return body;
}

}  // namespace attacks
