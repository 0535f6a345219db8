#include "GatewayHandler.h"

#include "Codepage936.h"
#include "SessionTokens.h"

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

GatewayReply Reply(int status, const char* word, QString outcome) {
    GatewayReply reply;
    reply.status = status;
    reply.body = QByteArray(word);
    reply.outcome = std::move(outcome);
    return reply;
}

GatewayReply Refuse(int status, const char* word, const QString& why) {
    return Reply(status, word, QStringLiteral("%1 %2").arg(QLatin1String(word), why));
}

GatewayReply Done(Kind kind, const QString& note = {}) {
    QString outcome = QLatin1String(statements::ShapeOf(kind).name);
    if (!note.isEmpty())
        outcome += QStringLiteral(" (%1)").arg(note);
    return Reply(200, "OK", outcome);
}

GatewayReply Rows(Kind kind, const std::vector<QStringList>& rows, const QString& note = {}) {
    GatewayReply reply;
    reply.body = cp936::Encode(gateway::BuildQueryReply(rows));
    reply.outcome = QLatin1String(statements::ShapeOf(kind).name);
    if (!note.isEmpty())
        reply.outcome += QStringLiteral(" (%1)").arg(note);
    return reply;
}

// The outcome of a store write as a reply.
GatewayReply FromOutcome(Kind kind, Outcome outcome, const char* whatIsTaken = "") {
    const QString name = QLatin1String(statements::ShapeOf(kind).name);
    switch (outcome) {
        case Outcome::Done:
            return Done(kind);
        case Outcome::Taken:
            return Refuse(409, refusal::kTaken, name + QLatin1Char(' ') + whatIsTaken);
        case Outcome::NotFound:
            return Done(kind, QStringLiteral("no row changed"));
        case Outcome::Failed:
            break;
    }
    return Refuse(500, refusal::kFailed, name + QStringLiteral(": database error"));
}

bool IsQuery(Kind kind) {
    switch (kind) {
        case Kind::SelectSystemSettings:
        case Kind::SelectAdvertImages:
        case Kind::SelectAdvertLinks:
        case Kind::SignInLookup:
        case Kind::RegistrationLookup:
        case Kind::PageNameLookup:
        case Kind::RenameLookup:
            return true;
        default:
            return false;
    }
}

// A row of 用户管理 as a "select *" reply carries it. The password hash never leaves the
// service: field 1 is the typed password on a successful sign-in and empty otherwise. The
// phone number and the operator's note go only to the account's own sign-in.
QStringList RenderUserRow(const UserRow& row, const QString& password, bool own) {
    return {row.user,
            password,
            own ? row.phone : QString(),
            row.registeredAt,
            row.online,
            row.lastSignInAt,
            row.pageName,
            row.pageStyle,
            row.uploadedAt,
            QString::number(row.signInCount),
            QString::number(row.uploadCount),
            own ? row.remark : QString(),
            row.frozen ? QStringLiteral("True") : QStringLiteral("False")};
}

}  // namespace

QString ExpandAddress(const QString& value, const QString& siteAddress) {
    if (value.startsWith(QLatin1Char('/')) && !value.startsWith(QLatin1String("//"))) {
        return siteAddress + value;
    }
    return value;
}

bool HasReplySeparator(QStringView text) {
    return text.contains(u'い') || text.contains(u'ゼ');
}

GatewayHandler::GatewayHandler(Store& store, PasswordHasher& hasher, GatewayOptions options)
    : store_(store),
      hasher_(hasher),
      options_(std::move(options)),
      signInLimiter_(options_.signInPerMinute, options_.limiterClock),
      registrationLimiter_(options_.registrationPerMinute, options_.limiterClock) {}

QDateTime GatewayHandler::Now() const {
    return options_.clock ? options_.clock() : QDateTime::currentDateTime();
}

QString GatewayHandler::ServerTime() const {
    return Now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::optional<QString> GatewayHandler::SessionUser(const RequestContext& context) {
    if (context.sessionToken.isEmpty())
        return std::nullopt;
    const qint64 notBefore = Now().toSecsSinceEpoch() - qint64{options_.sessionDays} * 86400;
    return store_.SessionUser(SessionDigest(context.sessionToken), notBefore);
}

GatewayReply GatewayHandler::Handle(const RequestContext& context, QByteArrayView body) {
    BodyError error;
    const auto request = DecodeGatewayBody(body, &error);
    GatewayReply reply;
    if (!request) {
        reply = Refuse(400, error.word, error.detail);
    } else {
        switch (request->code) {
            case Command::Query:
            case Command::Execute:
                reply = Statement(context, *request);
                break;
            case Command::ServerTime:
                reply.body = ServerTime().toLatin1();
                reply.outcome = QStringLiteral("server-time");
                break;
            case Command::UploadPage:
                reply = Upload(context, *request);
                break;
            case Command::RenamePage:
                reply = Rename(context, *request);
                break;
        }
        reply.code = static_cast<int>(request->code);
    }
    return reply;
}

bool GatewayHandler::HashesPassword(QByteArrayView body) {
    BodyError error;
    const auto request = DecodeGatewayBody(body, &error);
    if (!request || (request->code != Command::Query && request->code != Command::Execute))
        return false;
    const auto recognised = statements::Recognise(request->statement);
    return recognised &&
           (recognised->kind == Kind::SignInLookup || recognised->kind == Kind::RegistrationInsert);
}

GatewayReply GatewayHandler::Statement(const RequestContext& context,
                                       const GatewayRequest& request) {
    const auto recognised = statements::Recognise(request.statement);
    if (!recognised) {
        const auto shape = statements::ShapeText(request.statement);
        // Only the shape is logged: the values may hold a password.
        const QString what = shape ? QStringLiteral("unknown statement: ") + shape->left(160)
                                   : QStringLiteral("a quote is left open");
        return Refuse(403, refusal::kRefused, what);
    }
    const Kind kind = recognised->kind;
    const QStringList& v = recognised->values;
    const QString name = QLatin1String(statements::ShapeOf(kind).name);
    if (IsQuery(kind) != (request.code == Command::Query)) {
        return Refuse(403, refusal::kRefused, name + QStringLiteral(" sent with the wrong code"));
    }
    for (const QString& value : v) {
        if (value.size() > kMaxValueLength) {
            return Refuse(422, refusal::kBadValue, name + QStringLiteral(": value too long"));
        }
    }

    switch (kind) {
        case Kind::SelectSystemSettings: {
            auto row = store_.SettingsRow();
            if (!row)
                return Refuse(500, refusal::kFailed, name);
            if (row->isEmpty())
                return Rows(kind, {});
            (*row)[kDownloadAddress] = ExpandAddress((*row)[kDownloadAddress], context.siteAddress);
            return Rows(kind, {*row});
        }
        case Kind::SelectAdvertImages:
        case Kind::SelectAdvertLinks: {
            const auto column =
                kind == Kind::SelectAdvertImages ? store_.AdvertImages() : store_.AdvertLinks();
            if (!column)
                return Refuse(500, refusal::kFailed, name);
            std::vector<QStringList> rows;
            for (const QString& address : *column) {
                rows.push_back({ExpandAddress(address, context.siteAddress)});
            }
            return Rows(kind, rows);
        }
        case Kind::SignInLookup:
            return SignInLookup(context, v[0], v[1]);
        case Kind::RegistrationLookup:
            return UserRowsReply(kind, store_.UserByName(v[0]));
        case Kind::PageNameLookup:
        case Kind::RenameLookup:
            // An empty name would match every account without a page.
            if (v[0].isEmpty())
                return Rows(kind, {});
            return UserRowsReply(kind, store_.UserByPageName(v[0]));
        case Kind::RegistrationInsert:
            return RegistrationInsert(context, v);
        case Kind::MarkOffline:
        case Kind::MarkOnline:
        case Kind::ClaimPageName:
        case Kind::RecordUpload:
        case Kind::RenamePageName:
            return AccountWrite(context, kind, v);
    }
    return Refuse(403, refusal::kRefused, name);
}

GatewayReply GatewayHandler::UserRowsReply(Kind kind, const std::optional<UserRow>& row) {
    if (!row)
        return Rows(kind, {});
    return Rows(kind, {RenderUserRow(*row, QString(), false)});
}

GatewayReply GatewayHandler::SignInLookup(const RequestContext& context, const QString& user,
                                          const QString& password) {
    const Kind kind = Kind::SignInLookup;
    if (!signInLimiter_.Allow(context.clientAddress)) {
        return Refuse(429, refusal::kLimit, QStringLiteral("sign-in-lookup"));
    }
    const auto row = store_.UserByName(user);
    if (!row || !hasher_.Verify(row->passwordHash, password)) {
        return Rows(kind, {}, QStringLiteral("no match"));
    }
    // A frozen account gets its row, so that the client can say why, but no session.
    if (row->frozen)
        return Rows(kind, {RenderUserRow(*row, password, true)}, "frozen");

    const QString token = NewSessionToken();
    if (!store_.CreateSession(SessionDigest(token), row->user, Now().toSecsSinceEpoch())) {
        return Refuse(500, refusal::kFailed, QStringLiteral("sign-in-lookup: no session"));
    }
    GatewayReply reply = Rows(kind, {RenderUserRow(*row, password, true)}, "signed in");
    reply.setCookie = SessionCookieHeader(token);
    return reply;
}

GatewayReply GatewayHandler::RegistrationInsert(const RequestContext& context,
                                                const QStringList& v) {
    const Kind kind = Kind::RegistrationInsert;
    const QString& user = v[0];
    const QString& password = v[1];
    if (!registrationLimiter_.Allow(context.clientAddress)) {
        return Refuse(429, refusal::kLimit, QStringLiteral("registration-insert"));
    }
    if (user.trimmed().isEmpty() || password.isEmpty()) {
        return Refuse(422, refusal::kBadValue, QStringLiteral("registration-insert: empty value"));
    }
    for (const QString& value : v) {
        if (HasReplySeparator(value)) {
            return Refuse(422, refusal::kBadValue,
                          QStringLiteral("registration-insert: reply separator in a value"));
        }
    }
    // Hashing takes time on purpose; a name already in use is refused before it.
    if (store_.UserByName(user))
        return Refuse(409, refusal::kTaken, "registration-insert user");
    const auto hash = hasher_.Hash(password);
    if (!hash)
        return Refuse(500, refusal::kFailed, QStringLiteral("registration-insert: hash"));
    return FromOutcome(kind, store_.InsertUser(user, *hash, v[2], v[3]), "user");
}

GatewayReply GatewayHandler::AccountWrite(const RequestContext& context, Kind kind,
                                          const QStringList& v) {
    const QString name = QLatin1String(statements::ShapeOf(kind).name);
    // Whose account the statement names, or (for the page-name statements) which page name.
    QString user;
    switch (kind) {
        case Kind::MarkOffline:
            user = v[0];
            if (user == QStringView(kNobody))
                return Done(kind, QStringLiteral("nobody signed in"));
            break;
        case Kind::MarkOnline:
            user = v[1];
            break;
        case Kind::ClaimPageName:
            user = v[2];
            break;
        default:
            break;
    }
    const auto sessionUser = SessionUser(context);
    if (!sessionUser)
        return Refuse(403, refusal::kDenied, name + QStringLiteral(": no session"));
    if (!user.isEmpty() && user != *sessionUser) {
        return Refuse(403, refusal::kDenied, name + QStringLiteral(": not the session's account"));
    }
    const auto row = store_.UserByName(*sessionUser);
    if (!row)
        return Refuse(403, refusal::kDenied, name + QStringLiteral(": account gone"));

    switch (kind) {
        case Kind::MarkOffline: {
            const Outcome outcome = store_.MarkOffline(user);
            // Leaving the program ends its session.
            if (outcome == Outcome::Done)
                store_.EndSession(SessionDigest(context.sessionToken));
            return FromOutcome(kind, outcome);
        }
        case Kind::MarkOnline:
            if (HasReplySeparator(v[0]))
                return Refuse(422, refusal::kBadValue, name);
            return FromOutcome(kind,
                               store_.MarkOnline(QString::fromUtf16(kOnlineFlag), v[0], user));
        case Kind::ClaimPageName: {
            const QString& pageName = v[0];
            if (!IsValidPageName(pageName))
                return Refuse(422, refusal::kBadName, name);
            if (HasReplySeparator(v[1]))
                return Refuse(422, refusal::kBadValue, name);
            // A second name would leave the first page behind without an owner; renaming is
            // the way to change a name.
            if (!row->pageName.isEmpty() && row->pageName != pageName) {
                return Refuse(403, refusal::kDenied, name + QStringLiteral(": already has a name"));
            }
            return FromOutcome(kind, store_.ClaimPageName(pageName, v[1], user), "page name");
        }
        case Kind::RecordUpload: {
            const QString& pageName = v[2];
            if (row->pageName.isEmpty() || row->pageName != pageName) {
                return Refuse(403, refusal::kDenied,
                              name + QStringLiteral(": not the account's page"));
            }
            if (HasReplySeparator(v[0]) || HasReplySeparator(v[1])) {
                return Refuse(422, refusal::kBadValue, name);
            }
            return FromOutcome(kind, store_.RecordUpload(v[0], v[1], pageName));
        }
        case Kind::RenamePageName: {
            const QString& newName = v[0];
            const QString& oldName = v[1];
            if (row->pageName.isEmpty() || row->pageName != oldName) {
                return Refuse(403, refusal::kDenied,
                              name + QStringLiteral(": not the account's page"));
            }
            if (!IsValidPageName(newName))
                return Refuse(422, refusal::kBadName, name);
            return FromOutcome(kind, store_.RenamePageName(newName, oldName), "page name");
        }
        default:
            break;
    }
    return Refuse(403, refusal::kRefused, name);
}

GatewayReply GatewayHandler::Upload(const RequestContext& context, const GatewayRequest& request) {
    const QString& pageName = request.pageName;
    if (!IsValidPageName(pageName))
        return Refuse(422, refusal::kBadName, QStringLiteral("upload"));
    const auto sessionUser = SessionUser(context);
    if (!sessionUser)
        return Refuse(403, refusal::kDenied, QStringLiteral("upload: no session"));
    const auto row = store_.UserByName(*sessionUser);
    if (!row || row->pageName != pageName) {
        return Refuse(403, refusal::kDenied, QStringLiteral("upload: not the account's page"));
    }
    if (store_.PutPage(pageName, request.pageBytes, ServerTime()) != Outcome::Done) {
        return Refuse(500, refusal::kFailed, QStringLiteral("upload: database error"));
    }
    return Reply(200, "OK", QStringLiteral("upload %1 bytes").arg(request.pageBytes.size()));
}

GatewayReply GatewayHandler::Rename(const RequestContext& context, const GatewayRequest& request) {
    const QString& oldName = request.oldName;
    const QString& newName = request.newName;
    if (!IsValidPageName(oldName) || !IsValidPageName(newName)) {
        return Refuse(422, refusal::kBadName, QStringLiteral("rename"));
    }
    const auto sessionUser = SessionUser(context);
    if (!sessionUser)
        return Refuse(403, refusal::kDenied, QStringLiteral("rename: no session"));
    const auto row = store_.UserByName(*sessionUser);
    if (!row || row->pageName.isEmpty()) {
        return Refuse(403, refusal::kDenied, QStringLiteral("rename: no page name"));
    }
    // The client renames the account's row first and the page after it, so the account
    // normally holds the new name already. Either way, the other name must not be someone
    // else's, or one user could move a page over another's or take another's page.
    QString otherName;
    if (row->pageName == newName) {
        otherName = oldName;
    } else if (row->pageName == oldName) {
        otherName = newName;
    } else {
        return Refuse(403, refusal::kDenied, QStringLiteral("rename: not the account's page"));
    }
    if (oldName == newName)
        return Reply(200, "OK", QStringLiteral("rename (same name)"));
    const auto holder = store_.UserByPageName(otherName);
    if (holder && holder->user != row->user) {
        return Refuse(409, refusal::kTaken, QStringLiteral("rename: the other name is in use"));
    }
    switch (store_.MovePage(oldName, newName)) {
        case Outcome::Done:
            return Reply(200, "OK", QStringLiteral("rename"));
        case Outcome::NotFound:
            return Refuse(404, refusal::kNotFound,
                          QStringLiteral("rename: no page under the old name"));
        default:
            break;
    }
    return Refuse(500, refusal::kFailed, QStringLiteral("rename: database error"));
}

}  // namespace server
