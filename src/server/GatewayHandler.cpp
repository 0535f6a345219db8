#include "server/GatewayHandler.h"

#include "common/Codepage936.h"
#include "server/SessionTokens.h"

#include <utility>
#include <vector>

namespace server {
namespace {

using gateway::Command;
using statements::Kind;

// The name of the user of a client where nobody has signed in: the client marks it offline
// when it closes without a sign-in.
constexpr char16_t kNobody[] = u"用户名";
// What the online statement writes into 是否在线 (the full-width minus of the client).
constexpr char16_t kOnlineFlag[] = u"－1";
// The longest page name, stored or new: a longer one is refused before it is decoded whole.
constexpr qsizetype kLongestPageName = 30;

QString NameOf(Kind kind) {
    return QLatin1String(statements::ShapeOf(kind).name);
}

GatewayReply Reply(int status, const char* word, QString outcome) {
    GatewayReply reply;
    reply.status = status;
    reply.body = QByteArray(word);
    reply.outcome = std::move(outcome);
    return reply;
}

GatewayReply Refuse(RefusalWord word, const QString& why) {
    return Reply(word.status, word.text,
                 QStringLiteral("%1 %2").arg(QLatin1String(word.text), why));
}

GatewayReply Done(Kind kind, const QString& note = {}) {
    QString outcome = NameOf(kind);
    if (!note.isEmpty())
        outcome += QStringLiteral(" (%1)").arg(note);
    return Reply(200, "OK", outcome);
}

GatewayReply Rows(Kind kind, const std::vector<QStringList>& rows, const QString& note = {}) {
    GatewayReply reply;
    reply.body = cp936::Encode(gateway::BuildQueryReply(rows));
    reply.outcome = NameOf(kind);
    if (!note.isEmpty())
        reply.outcome += QStringLiteral(" (%1)").arg(note);
    return reply;
}

// The outcome of a store write as a reply.
GatewayReply FromOutcome(Kind kind, Outcome outcome, const char* whatIsTaken = "") {
    const QString name = NameOf(kind);
    switch (outcome) {
        case Outcome::Done:
            return Done(kind);
        case Outcome::Taken:
            return Refuse(refusal::kTaken, name + QLatin1Char(' ') + whatIsTaken);
        case Outcome::Denied:
            return Refuse(refusal::kDenied, name + QStringLiteral(": another account's"));
        case Outcome::NotFound:
            return Done(kind, QStringLiteral("no row changed"));
        case Outcome::Failed:
            break;
    }
    return Refuse(refusal::kFailed, name + QStringLiteral(": database error"));
}

// A row of 用户管理 as the account's own sign-in receives it. The password hash never leaves
// the service: field 1 is the typed password.
QStringList OwnRow(const UserRow& row, const QString& password) {
    QStringList fields(columns::kUserCount);
    fields[columns::kUser] = row.user;
    fields[columns::kPassword] = password;
    fields[columns::kPhone] = row.phone;
    fields[columns::kRegisteredAt] = row.registeredAt;
    fields[columns::kOnline] = row.online;
    fields[columns::kLastSignInAt] = row.lastSignInAt;
    fields[columns::kPageName] = row.pageName;
    fields[columns::kPageStyle] = row.pageStyle;
    fields[columns::kUploadedAt] = row.uploadedAt;
    fields[columns::kSignInCount] = QString::number(row.signInCount);
    fields[columns::kUploadCount] = QString::number(row.uploadCount);
    fields[columns::kRemark] = row.remark;
    fields[columns::kFrozen] = row.frozen ? QStringLiteral("True") : QStringLiteral("False");
    return fields;
}

// A row for a lookup about somebody: all fields there, all empty but the ones given. The
// client reads only whether there is a row, and of the page-name lookup field 6.
QStringList BlankRow(std::initializer_list<std::pair<int, QString>> fields = {}) {
    QStringList row(columns::kUserCount);
    for (const auto& [position, value] : fields)
        row[position] = value;
    return row;
}

}  // namespace

QString ExpandAddress(const QString& value, const QString& siteAddress) {
    if (value.startsWith(QLatin1Char('/')) && !value.startsWith(QLatin1String("//"))) {
        return siteAddress + value;
    }
    return value;
}

GatewayHandler::GatewayHandler(Store& store, PasswordHasher& hasher, GatewayOptions options)
    : store_(store),
      hasher_(hasher),
      options_(std::move(options)),
      signInLimiter_(options_.signInPerMinute, options_.limiterClock),
      registrationLimiter_(options_.registrationPerMinute, options_.limiterClock),
      lookupLimiter_(options_.lookupsPerMinute, options_.limiterClock),
      signInGuard_(options_.failuresPerAddress, options_.limiterClock),
      fieldLimits_{statements::LongestStatement(kMaxValueLength), kLongestPageName,
                   options_.maxPageBytes} {}

QDateTime GatewayHandler::Now() const {
    return options_.clock ? options_.clock() : QDateTime::currentDateTime();
}

QString GatewayHandler::ServerTime() const {
    return Now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Sessions past their days are useless; they are cleared at most once an hour, by the
// sign-in that finds the last clearing that old.
void GatewayHandler::PurgeOldSessions(qint64 now) {
    qint64 last = lastPurge_.load();
    if (now - last < 3600 || !lastPurge_.compare_exchange_strong(last, now))
        return;
    store_.PurgeSessions(now - qint64{options_.sessionDays} * 86400);
}

std::optional<QString> GatewayHandler::SessionUser(const RequestContext& context) {
    if (context.sessionToken.isEmpty())
        return std::nullopt;
    const qint64 notBefore = Now().toSecsSinceEpoch() - qint64{options_.sessionDays} * 86400;
    return store_.SessionUser(SessionDigest(context.sessionToken), notBefore);
}

std::optional<UserRow> GatewayHandler::OwnAccount(const RequestContext& context,
                                                  const QString& what, const QString* named,
                                                  GatewayReply* refused) {
    const auto sessionUser = SessionUser(context);
    if (!sessionUser) {
        *refused = Refuse(refusal::kDenied, what + QStringLiteral(": no session"));
        return std::nullopt;
    }
    if (named && *named != *sessionUser) {
        *refused = Refuse(refusal::kDenied, what + QStringLiteral(": not the session's account"));
        return std::nullopt;
    }
    auto row = store_.UserByName(*sessionUser);
    if (!row)
        *refused = Refuse(refusal::kDenied, what + QStringLiteral(": account gone"));
    return row;
}

std::optional<UserRow> GatewayHandler::OwnAccount(const RequestContext& context, Kind kind,
                                                  const Values& v, GatewayReply* refused) {
    const int slot = statements::ShapeOf(kind).accountSlot;
    return OwnAccount(context, NameOf(kind), slot >= 0 ? &v[slot] : nullptr, refused);
}

PreparedRequest GatewayHandler::Prepare(const RequestContext& context, QByteArrayView body) {
    PreparedRequest prepared;
    BodyError error;
    prepared.request = DecodeGatewayBody(body, &error, fieldLimits_);
    if (!prepared.request) {
        prepared.refusal = Refuse(error.word, error.detail);
        return prepared;
    }
    const GatewayRequest& request = *prepared.request;
    if (request.code != Command::Query && request.code != Command::Execute)
        return prepared;
    prepared.statement = statements::Recognise(request.statement);
    if (!prepared.statement)
        return prepared;
    const Kind kind = prepared.statement->kind;
    prepared.hashes = kind == Kind::SignInLookup || kind == Kind::RegistrationInsert;
    if (kind == Kind::SignInLookup) {
        // An address that has failed on the account waits for the account's turn.
        const QString& user = prepared.statement->values.value(0);
        const auto turn = signInGuard_.Turn(user, AddressKey(context.clientAddress));
        if (!turn) {
            prepared.refusal =
                Refuse(refusal::kLimit, NameOf(kind) + QStringLiteral(": the account's turns"));
            prepared.refusal->code = static_cast<int>(request.code);
        } else {
            prepared.notBefore = *turn;
        }
    }
    return prepared;
}

GatewayReply GatewayHandler::Handle(const RequestContext& context, QByteArrayView body) {
    return Handle(context, Prepare(context, body));
}

GatewayReply GatewayHandler::Handle(const RequestContext& context,
                                    const PreparedRequest& prepared) {
    if (prepared.refusal)
        return *prepared.refusal;
    const GatewayRequest& request = *prepared.request;
    GatewayReply reply;
    switch (request.code) {
        case Command::Query:
        case Command::Execute:
            reply = Statement(context, request, prepared.statement);
            break;
        case Command::ServerTime:
            reply.body = ServerTime().toLatin1();
            reply.outcome = QStringLiteral("server-time");
            break;
        case Command::UploadPage:
            reply = Upload(context, request);
            break;
        case Command::RenamePage:
            reply = Rename(context, request);
            break;
    }
    reply.code = static_cast<int>(request.code);
    return reply;
}

GatewayReply GatewayHandler::Statement(const RequestContext& context, const GatewayRequest& request,
                                       const std::optional<statements::Recognised>& recognised) {
    if (!recognised) {
        const auto shape = statements::ShapeText(request.statement);
        // Only the shape is logged: the values may hold a password.
        const QString what = shape ? QStringLiteral("unknown statement: ") + shape->left(160)
                                   : QStringLiteral("a quote is left open");
        return Refuse(refusal::kRefused, what);
    }
    const Kind kind = recognised->kind;
    const Values& v = recognised->values;
    const statements::Shape& shape = statements::ShapeOf(kind);
    if (shape.query != (request.code == Command::Query))
        return Refuse(refusal::kRefused,
                      NameOf(kind) + QStringLiteral(" sent with the wrong code"));
    for (const QString& value : v) {
        if (value.size() > kMaxValueLength)
            return Refuse(refusal::kBadValue, NameOf(kind) + QStringLiteral(": value too long"));
    }

    switch (kind) {
        case Kind::SelectSystemSettings:
            return SelectSettings(context);
        case Kind::SelectAdvertImages:
        case Kind::SelectAdvertLinks:
            return SelectAdverts(context, kind);
        case Kind::SignInLookup:
            return SignInLookup(context, v);
        case Kind::RegistrationLookup:
            return RegistrationLookup(context, v);
        case Kind::PageNameLookup:
        case Kind::RenameLookup:
            return PageNameLookup(context, kind, v);
        case Kind::RegistrationInsert:
            return RegistrationInsert(context, v);
        case Kind::MarkOffline:
            return MarkOffline(context, v);
        case Kind::MarkOnline:
            return MarkOnline(context, v);
        case Kind::ClaimPageName:
            return ClaimPageName(context, v);
        case Kind::RecordUpload:
            return RecordUpload(context, v);
        case Kind::RenamePageName:
            return RenamePageName(context, v);
    }
    return Refuse(refusal::kRefused, NameOf(kind));
}

GatewayReply GatewayHandler::SelectSettings(const RequestContext& context) {
    const Kind kind = Kind::SelectSystemSettings;
    auto row = store_.SettingsRow();
    if (!row)
        return Refuse(refusal::kFailed, NameOf(kind));
    if (row->isEmpty())
        return Rows(kind, {});
    (*row)[columns::kDownloadAddress] =
        ExpandAddress((*row)[columns::kDownloadAddress], context.siteAddress);
    return Rows(kind, {*row});
}

GatewayReply GatewayHandler::SelectAdverts(const RequestContext& context, Kind kind) {
    const auto column =
        kind == Kind::SelectAdvertImages ? store_.AdvertImages() : store_.AdvertLinks();
    if (!column)
        return Refuse(refusal::kFailed, NameOf(kind));
    std::vector<QStringList> rows;
    for (const QString& address : *column)
        rows.push_back({ExpandAddress(address, context.siteAddress)});
    return Rows(kind, rows);
}

// Every way a sign-in can fail takes one password verification, so that the time of the
// answer does not tell whether the account exists.
GatewayReply GatewayHandler::SignInLookup(const RequestContext& context, const Values& v) {
    const Kind kind = Kind::SignInLookup;
    const QString& user = v[0];
    const QString& password = v[1];
    const QString address = AddressKey(context.clientAddress);
    if (!signInLimiter_.Allow(address))
        return Refuse(refusal::kLimit, NameOf(kind));
    // An address that failed on the account too often is refused on it for a while; nobody
    // else is (across addresses, Prepare spaces the attempts out instead).
    if (!signInGuard_.Allowed(user, address))
        return Refuse(refusal::kLimit,
                      NameOf(kind) + QStringLiteral(": failures from the address"));
    const auto row = IsAccountName(user) ? store_.UserByName(user) : std::nullopt;
    const bool verified = row ? hasher_.Verify(row->passwordHash, password)
                              : (hasher_.VerifyAgainstNobody(password), false);
    if (!verified) {
        signInGuard_.Failed(user, address);
        return Rows(kind, {}, QStringLiteral("no match"));
    }
    signInGuard_.Succeeded(user, address);
    // A frozen account gets its row, so that the client can say why, but no session.
    if (row->frozen)
        return Rows(kind, {OwnRow(*row, password)}, "frozen");

    const QString token = NewSessionToken();
    const qint64 now = Now().toSecsSinceEpoch();
    PurgeOldSessions(now);
    if (!store_.CreateSession(SessionDigest(token), row->user, now))
        return Refuse(refusal::kFailed, NameOf(kind) + QStringLiteral(": no session"));
    GatewayReply reply = Rows(kind, {OwnRow(*row, password)}, "signed in");
    reply.setCookie = SessionCookieHeader(token);
    return reply;
}

GatewayReply GatewayHandler::RegistrationLookup(const RequestContext& context, const Values& v) {
    const Kind kind = Kind::RegistrationLookup;
    if (!lookupLimiter_.Allow(AddressKey(context.clientAddress)))
        return Refuse(refusal::kLimit, NameOf(kind));
    const QString& user = v[0];
    if (!IsAccountName(user))
        return Rows(kind, {});
    if (!store_.UserByName(user))
        return Rows(kind, {});
    return Rows(kind, {BlankRow()});
}

// The page name's row, with nothing of its account in it but the name itself; the account
// name only to its own session (the upload window tells its own name from another's so).
GatewayReply GatewayHandler::PageNameLookup(const RequestContext& context, Kind kind,
                                            const Values& v) {
    if (!lookupLimiter_.Allow(AddressKey(context.clientAddress)))
        return Refuse(refusal::kLimit, NameOf(kind));
    // An empty name would match every account without a page.
    const QString& pageName = v[0];
    if (pageName.isEmpty())
        return Rows(kind, {});
    const auto row = store_.UserByPageName(pageName);
    if (!row)
        return Rows(kind, {});
    const auto sessionUser = SessionUser(context);
    const bool own = sessionUser && *sessionUser == row->user;
    return Rows(kind, {BlankRow({{columns::kUser, own ? row->user : QString()},
                                 {columns::kPageName, row->pageName}})});
}

GatewayReply GatewayHandler::RegistrationInsert(const RequestContext& context, const Values& v) {
    const Kind kind = Kind::RegistrationInsert;
    const QString& user = v[0];
    const QString& password = v[1];
    const QString& phone = v[2];
    if (!registrationLimiter_.Allow(AddressKey(context.clientAddress)))
        return Refuse(refusal::kLimit, NameOf(kind));
    if (!IsAccountName(user))
        return Refuse(refusal::kBadValue, NameOf(kind) + QStringLiteral(": not a QQ number"));
    if (!IsPhoneNumber(phone))
        return Refuse(refusal::kBadValue, NameOf(kind) + QStringLiteral(": not a phone number"));
    if (password.isEmpty() || !IsStorable(password))
        return Refuse(refusal::kBadValue, NameOf(kind) + QStringLiteral(": password"));
    // Hashing takes time on purpose; a name already in use is refused before it.
    if (store_.UserByName(user))
        return Refuse(refusal::kTaken, NameOf(kind) + QStringLiteral(" user"));
    const auto hash = hasher_.Hash(password);
    if (!hash)
        return Refuse(refusal::kFailed, NameOf(kind) + QStringLiteral(": hash"));
    // The registration time is the service's, whatever the client sent.
    return FromOutcome(kind, store_.InsertUser(user, *hash, phone, ServerTime()), "user");
}

GatewayReply GatewayHandler::MarkOffline(const RequestContext& context, const Values& v) {
    const Kind kind = Kind::MarkOffline;
    if (v[0] == QStringView(kNobody))
        return Done(kind, QStringLiteral("nobody signed in"));
    GatewayReply refused;
    const auto row = OwnAccount(context, kind, v, &refused);
    if (!row)
        return refused;
    const Outcome outcome = store_.MarkOffline(row->user);
    // Leaving the program ends its session.
    if (outcome == Outcome::Done)
        store_.EndSession(SessionDigest(context.sessionToken));
    return FromOutcome(kind, outcome);
}

GatewayReply GatewayHandler::MarkOnline(const RequestContext& context, const Values& v) {
    const Kind kind = Kind::MarkOnline;
    GatewayReply refused;
    const auto row = OwnAccount(context, kind, v, &refused);
    if (!row)
        return refused;
    // The sign-in time is the service's, whatever the client sent.
    return FromOutcome(kind,
                       store_.MarkOnline(QString::fromUtf16(kOnlineFlag), ServerTime(), row->user));
}

GatewayReply GatewayHandler::ClaimPageName(const RequestContext& context, const Values& v) {
    const Kind kind = Kind::ClaimPageName;
    const QString& pageName = v[0];
    const QString& pageStyle = v[1];
    GatewayReply refused;
    const auto row = OwnAccount(context, kind, v, &refused);
    if (!row)
        return refused;
    if (!IsValidPageName(pageName))
        return Refuse(refusal::kBadName, NameOf(kind));
    if (!IsStorable(pageStyle))
        return Refuse(refusal::kBadValue, NameOf(kind));
    // A second name would leave the first page behind; renaming is the way to change a name.
    if (!row->pageName.isEmpty() && row->pageName != pageName)
        return Refuse(refusal::kDenied, NameOf(kind) + QStringLiteral(": already has a name"));
    return FromOutcome(kind, store_.ClaimPageName(pageName, pageStyle, row->user), "page name");
}

GatewayReply GatewayHandler::RecordUpload(const RequestContext& context, const Values& v) {
    const Kind kind = Kind::RecordUpload;
    const QString& pageStyle = v[0];
    const QString& pageName = v[2];
    GatewayReply refused;
    const auto row = OwnAccount(context, kind, v, &refused);
    if (!row)
        return refused;
    if (row->pageName.isEmpty() || row->pageName != pageName)
        return Refuse(refusal::kDenied, NameOf(kind) + QStringLiteral(": not the account's page"));
    if (!IsStorable(pageStyle))
        return Refuse(refusal::kBadValue, NameOf(kind));
    // The upload time is the service's, whatever the client sent.
    return FromOutcome(kind, store_.RecordUpload(pageStyle, ServerTime(), pageName));
}

GatewayReply GatewayHandler::RenamePageName(const RequestContext& context, const Values& v) {
    const Kind kind = Kind::RenamePageName;
    const QString& newName = v[0];
    const QString& oldName = v[1];
    GatewayReply refused;
    const auto row = OwnAccount(context, kind, v, &refused);
    if (!row)
        return refused;
    if (row->pageName.isEmpty() || row->pageName != oldName)
        return Refuse(refusal::kDenied, NameOf(kind) + QStringLiteral(": not the account's page"));
    if (!IsValidPageName(newName))
        return Refuse(refusal::kBadName, NameOf(kind));
    // The page moves with the row.
    return FromOutcome(kind, store_.RenamePageName(newName, oldName, row->user), "page name");
}

GatewayReply GatewayHandler::Upload(const RequestContext& context, const GatewayRequest& request) {
    const QString what = QStringLiteral("upload");
    const QString& pageName = request.pageName;
    if (!IsValidPageName(pageName))
        return Refuse(refusal::kBadName, what);
    GatewayReply refused;
    const auto row = OwnAccount(context, what, nullptr, &refused);
    if (!row)
        return refused;
    if (row->pageName != pageName)
        return Refuse(refusal::kDenied, what + QStringLiteral(": not the account's page name"));
    const qint64 size = request.pageBytes.size();
    // The client always sends a whole page; an empty one would serve a blank address.
    if (size == 0)
        return Refuse(refusal::kBadValue, what + QStringLiteral(": an empty page"));
    if (size > options_.maxPageBytes)
        return Refuse(refusal::kTooBig, what + QStringLiteral(": page of %1 bytes").arg(size));
    // The upload takes the account's pages under other names away: the new page is all the
    // account holds once it is written.
    if (size > options_.pageQuotaBytes)
        return Refuse(refusal::kTooBig, what + QStringLiteral(": over the account's quota"));
    switch (store_.PutPage(pageName, request.pageBytes, ServerTime(), row->user)) {
        case Outcome::Done:
            return Reply(200, "OK", QStringLiteral("upload %1 bytes").arg(size));
        case Outcome::Denied:
            return Refuse(refusal::kDenied, what + QStringLiteral(": not the account's page name"));
        default:
            break;
    }
    return Refuse(refusal::kFailed, what + QStringLiteral(": database error"));
}

// The client renames the account's row first and the page after it. The rename of the row has
// moved the page already, so code 5 finds nothing left to move and answers OK; it still moves
// the account's own page from the old name (one left there before pages moved with their
// rows), and only ever to the name the account's row holds.
GatewayReply GatewayHandler::Rename(const RequestContext& context, const GatewayRequest& request) {
    const QString what = QStringLiteral("rename");
    const QString& oldName = request.oldName;
    const QString& newName = request.newName;
    if (!IsStoredPageName(oldName) || !IsValidPageName(newName))
        return Refuse(refusal::kBadName, what);
    GatewayReply refused;
    const auto row = OwnAccount(context, what, nullptr, &refused);
    if (!row)
        return refused;
    if (row->pageName.isEmpty() || row->pageName != newName)
        return Refuse(refusal::kDenied, what + QStringLiteral(": not the account's name"));
    if (oldName == newName)
        return Reply(200, "OK", QStringLiteral("rename (same name)"));
    switch (store_.MovePage(oldName, newName, row->user)) {
        case Outcome::Done:
            return Reply(200, "OK", what);
        case Outcome::Denied:
            return Refuse(refusal::kDenied, what + QStringLiteral(": not the account's name"));
        default:
            break;
    }
    return Refuse(refusal::kFailed, what + QStringLiteral(": database error"));
}

}  // namespace server
