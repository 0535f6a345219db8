#pragma once
// The gateway page, without HTTP: a request body in, a reply out.
//
// A statement is recognised by its shape against the catalogue of the statements the client
// sends, and the store's prepared statement for that shape runs with the statement's values
// bound. Anything else is refused with a short word and the reason goes to the log. Writes
// that concern an account need that account's session, which a successful sign-in lookup
// opens.

#include "PasswordHasher.h"
#include "RateLimiter.h"
#include "RequestBody.h"
#include "Statements.h"
#include "Store.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace server {

// Refusal words, the whole reply of a refused request. The HTTP status says the same for
// curl and logs: 400 a body that is no gateway form, 422 a value the service will not store,
// 403 refused or denied, 409 taken, 429 limit, 404 no page, 413 too big, 500 database failure.
namespace refusal {
inline constexpr char kRefused[] = "REFUSED";    // not a statement of the client
inline constexpr char kDenied[] = "DENIED";      // needs the session of another account
inline constexpr char kTaken[] = "TAKEN";        // account or page name already in use
inline constexpr char kBadName[] = "BADNAME";    // not a page name
inline constexpr char kBadValue[] = "BADVALUE";  // a value the reply format cannot carry
inline constexpr char kLimit[] = "LIMIT";        // too many attempts from this address
inline constexpr char kNotFound[] = "NOTFOUND";  // no such page to rename
inline constexpr char kFailed[] = "FAILED";      // the database failed
inline constexpr char kTooBig[] = "TOOBIG";      // body over the size limit (HTTP layer)
}  // namespace refusal

struct GatewayOptions {
    int signInPerMinute = 30;        // sign-in lookups per client address; 0: no limit
    int registrationPerMinute = 10;  // registration inserts per client address; 0: no limit
    int sessionDays = 30;
    std::function<QDateTime()> clock;  // the server's local time; the real clock when empty
    RateLimiter::Clock limiterClock;   // for tests; the steady clock when empty
};

struct RequestContext {
    QString clientAddress;
    QString siteAddress;   // "http://" + the request's host; addresses stored as "/..." hang here
    QString sessionToken;  // from the request's cookie; empty when none
};

struct GatewayReply {
    int status = 200;
    QByteArray body;        // GBK
    int code = 0;           // command code of the request; 0 when it had none
    QString outcome;        // shape name, or refusal word and reason: for the log only
    std::string setCookie;  // a new session's Set-Cookie value, else empty
};

// Values longer than this are refused: the client's longest typed value has 30 characters.
inline constexpr int kMaxValueLength = 200;

// Prefixes an address stored relative to the site ("/download") with the site's address.
QString ExpandAddress(const QString& value, const QString& siteAddress);

// True when the text holds "い" or "ゼ", which would break the reply format.
bool HasReplySeparator(QStringView text);

class GatewayHandler {
public:
    GatewayHandler(Store& store, PasswordHasher& hasher, GatewayOptions options = {});

    GatewayReply Handle(const RequestContext& context, QByteArrayView body);

    // True when handling the body hashes a password (a sign-in lookup, a registration): the
    // HTTP layer runs those on threads of their own, so that nothing else waits behind them.
    static bool HashesPassword(QByteArrayView body);

    // The server's local time as sent for code 3: "YYYY-MM-DD HH:MM:SS".
    QString ServerTime() const;

private:
    GatewayReply Statement(const RequestContext& context, const GatewayRequest& request);
    GatewayReply Upload(const RequestContext& context, const GatewayRequest& request);
    GatewayReply Rename(const RequestContext& context, const GatewayRequest& request);

    GatewayReply SignInLookup(const RequestContext& context, const QString& user,
                              const QString& password);
    GatewayReply RegistrationInsert(const RequestContext& context, const QStringList& values);
    GatewayReply UserRowsReply(statements::Kind kind, const std::optional<UserRow>& row);
    GatewayReply AccountWrite(const RequestContext& context, statements::Kind kind,
                              const QStringList& values);

    std::optional<QString> SessionUser(const RequestContext& context);
    QDateTime Now() const;

    Store& store_;
    PasswordHasher& hasher_;
    const GatewayOptions options_;
    RateLimiter signInLimiter_;
    RateLimiter registrationLimiter_;
};

}  // namespace server
