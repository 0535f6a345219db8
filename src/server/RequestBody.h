#pragma once
// The body of a gateway request taken apart: the command code and its fields, each value
// turned back from its number list into GBK bytes and then into text.

#include "common/GatewayProtocol.h"
#include "server/InputRules.h"

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

// A refusal of the service: the word the client receives as the whole reply, and the HTTP
// status that says the same to curl and logs.
struct RefusalWord {
    const char* text;
    int status;
};

namespace refusal {
inline constexpr RefusalWord kBadForm{"BADFORM", 400};      // not a gateway form
inline constexpr RefusalWord kBadNumber{"BADNUMBER", 400};  // a value that is no number list
inline constexpr RefusalWord kRefused{"REFUSED", 403};      // not a statement of the client
inline constexpr RefusalWord kDenied{"DENIED", 403};        // needs the session of another account
inline constexpr RefusalWord kTaken{"TAKEN", 409};          // account or page name in use
inline constexpr RefusalWord kBadName{"BADNAME", 422};      // not a page name
inline constexpr RefusalWord kBadValue{"BADVALUE", 422};    // a value the service will not store
inline constexpr RefusalWord kLimit{"LIMIT", 429};          // too many attempts
inline constexpr RefusalWord kNotFound{"NOTFOUND", 404};    // no such page to rename
inline constexpr RefusalWord kTooBig{"TOOBIG", 413};        // body or page over its limit
inline constexpr RefusalWord kBusy{"BUSY", 503};            // too many sign-ins at once
inline constexpr RefusalWord kFailed{"FAILED", 500};        // the database failed
}  // namespace refusal

struct BodyError {
    RefusalWord word = refusal::kBadForm;
    QString detail;  // for the log
};

// The longest each field may be. Decoding stops as soon as a field passes its limit, so that a
// value of millions of numbers costs no more than one of its allowed length. A negative limit
// is none.
struct FieldLimits {
    qsizetype statementChars = -1;  // sql: past it BADVALUE
    qsizetype nameChars = -1;       // File, File1, File2: past it BADNAME
    qint64 pageBytes = -1;          // data: past it TOOBIG
};

// Each command takes exactly its own fields: 1 and 2 zc and sql, 3 zc alone, 4 zc, File and
// data, 5 zc, File1 and File2. Anything else is refused.
std::optional<GatewayRequest> DecodeGatewayBody(QByteArrayView body, BodyError* error,
                                                const FieldLimits& limits = {});

}  // namespace server
