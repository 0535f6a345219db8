#pragma once
// The gateway page, without HTTP: a request body in, a reply out.
//
// A statement is recognised by its shape against the catalogue of the statements the client
// sends, and the store's prepared statement for that shape runs with the statement's values
// bound. Anything else is refused with a short word (RequestBody.h's refusal words, each with
// its HTTP status) and the reason goes to the log.
//
// Writes that concern an account need that account's session, which a successful sign-in
// lookup opens; a page is written and moved only by the account that owns it. Lookups answer
// only the fields the client reads. Times stored are the service's own.
//
// A request goes through in two steps, so that the HTTP layer can decide how to run it:
// Prepare decodes the body (stopping at the first field too long to be real), recognises the
// statement and says whether it hashes a password and from when it may run (a guessed
// account's attempts wait their turn, see SignInGuard); Handle carries it out.

#include "common/Statements.h"
#include "server/PasswordHasher.h"
#include "server/RateLimiter.h"
#include "server/RequestBody.h"
#include "server/SignInGuard.h"
#include "server/Store.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace server {

struct GatewayOptions {
    int signInPerMinute = 30;        // sign-in lookups per client address; 0: no limit
    int registrationPerMinute = 10;  // registration inserts per client address; 0: no limit
    int lookupsPerMinute = 120;      // registration, page-name and rename lookups per address
    int failuresPerAddress = 5;      // failed sign-ins of one account from one address an hour
    int sessionDays = 30;
    qint64 maxPageBytes = qint64{1} << 20;    // the page of one upload
    qint64 pageQuotaBytes = qint64{2} << 20;  // every page of one account together
    std::function<QDateTime()> clock;         // the server's local time; the real clock when empty
    RateLimiter::Clock limiterClock;          // for tests; the steady clock when empty
};

struct RequestContext {
    QString clientAddress;
    // Where addresses stored as "/..." hang: the configured public address of the service,
    // or "http://" + the request's host on a local run without one.
    QString siteAddress;
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

// A request decoded, its statement recognised, and how the HTTP layer is to run it.
struct PreparedRequest {
    std::optional<GatewayRequest> request;            // nothing when the body did not decode
    std::optional<statements::Recognised> statement;  // codes 1 and 2, when recognised
    bool hashes = false;  // hashes a password: to run on threads of its own
    // Not to run before this: the turn of a guessed account (SignInGuard).
    std::chrono::steady_clock::time_point notBefore{};
    std::optional<GatewayReply> refusal;  // the answer, without running anything
};

// Prefixes an address stored relative to the site ("/download") with the site's address.
QString ExpandAddress(const QString& value, const QString& siteAddress);

class GatewayHandler {
public:
    GatewayHandler(Store& store, PasswordHasher& hasher, GatewayOptions options = {});

    PreparedRequest Prepare(const RequestContext& context, QByteArrayView body);
    GatewayReply Handle(const RequestContext& context, const PreparedRequest& prepared);
    // Both steps at once, without waiting for a turn.
    GatewayReply Handle(const RequestContext& context, QByteArrayView body);

    // The server's local time as sent for code 3: "YYYY-MM-DD HH:MM:SS".
    QString ServerTime() const;

private:
    using Values = QStringList;

    GatewayReply Statement(const RequestContext& context, const GatewayRequest& request,
                           const std::optional<statements::Recognised>& recognised);
    GatewayReply Upload(const RequestContext& context, const GatewayRequest& request);
    GatewayReply Rename(const RequestContext& context, const GatewayRequest& request);

    // One function per kind of statement.
    GatewayReply SelectSettings(const RequestContext& context);
    GatewayReply SelectAdverts(const RequestContext& context, statements::Kind kind);
    GatewayReply SignInLookup(const RequestContext& context, const Values& v);
    GatewayReply RegistrationLookup(const RequestContext& context, const Values& v);
    GatewayReply PageNameLookup(const RequestContext& context, statements::Kind kind,
                                const Values& v);
    GatewayReply RegistrationInsert(const RequestContext& context, const Values& v);
    GatewayReply MarkOffline(const RequestContext& context, const Values& v);
    GatewayReply MarkOnline(const RequestContext& context, const Values& v);
    GatewayReply ClaimPageName(const RequestContext& context, const Values& v);
    GatewayReply RecordUpload(const RequestContext& context, const Values& v);
    GatewayReply RenamePageName(const RequestContext& context, const Values& v);

    // The one guard of every write: the account of the request's session (not frozen, still
    // there), which must be the account the statement names, when it names one. Nothing, and
    // the refusal in `refused`, otherwise.
    std::optional<UserRow> OwnAccount(const RequestContext& context, const QString& what,
                                      const QString* named, GatewayReply* refused);
    // The same for a statement: the account its shape names, when it names one.
    std::optional<UserRow> OwnAccount(const RequestContext& context, statements::Kind kind,
                                      const Values& v, GatewayReply* refused);

    std::optional<QString> SessionUser(const RequestContext& context);
    void PurgeOldSessions(qint64 now);
    QDateTime Now() const;

    Store& store_;
    PasswordHasher& hasher_;
    const GatewayOptions options_;
    RateLimiter signInLimiter_;
    RateLimiter registrationLimiter_;
    RateLimiter lookupLimiter_;
    SignInGuard signInGuard_;
    const FieldLimits fieldLimits_;
    std::atomic<qint64> lastPurge_{0};
};

}  // namespace server
