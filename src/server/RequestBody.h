#pragma once
// The body of a gateway request taken apart: the command code and its fields, each value
// turned back from its number list into GBK bytes and then into text.

#include "GatewayProtocol.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace server {

struct GatewayRequest {
    gateway::Command code = gateway::Command::ServerTime;
    QString statement;     // codes 1 and 2: sql
    QString pageName;      // code 4: File
    QByteArray pageBytes;  // code 4: data, the exact GBK bytes of the page
    QString oldName;       // code 5: File1
    QString newName;       // code 5: File2
};

struct BodyError {
    const char* word;  // the refusal sent back: "BADFORM" or "BADNUMBER"
    QString detail;    // for the log
};

// Each command takes exactly its own fields: 1 and 2 zc and sql, 3 zc alone, 4 zc, File and
// data, 5 zc, File1 and File2. Anything else is refused.
std::optional<GatewayRequest> DecodeGatewayBody(QByteArrayView body, BodyError* error);

// Page names are letters and digits only, 1 to 30 of them: nothing else can name a page,
// so no name can reach outside the page store.
bool IsValidPageName(QStringView name);

}  // namespace server
