#include "client/accounts/AccountChecks.h"

#include "common/Columns.h"

namespace accounts {
namespace {

bool Entered(const std::optional<QString>& entry) {
    return entry && !entry->isEmpty();
}

}  // namespace

std::optional<QString> CheckSignInEntries(const std::optional<QString>& account,
                                          const std::optional<QString>& password) {
    if (!account || !password)
        return QString::fromUtf16(kSignInEmpty);
    return std::nullopt;
}

std::optional<QString> CheckSignInRow(const gateway::QueryReply& reply, const QString& account,
                                      const QString& password) {
    if (!reply.HasRecord(1))
        return QString::fromUtf16(reply.NoRowText());
    if (reply.records[1].isEmpty())
        return QString::fromUtf16(kSignInWrong);
    const QStringList fields = *reply.Fields(1);
    if (fields.size() < columns::kUserCount)
        return QString::fromUtf16(gateway::kCannotConnect);
    if (IsTrue(fields[columns::kFrozen]))
        return QString::fromUtf16(kSignInFrozen);
    if (fields[columns::kUser] != account || fields[columns::kPassword] != password)
        return QString::fromUtf16(kSignInWrong);
    return std::nullopt;
}

bool IsTrue(const QString& field) {
    return field == QLatin1String("True") || field == QLatin1String("-1");
}

std::optional<QString> CheckRegistrationEntries(const RegistrationEntries& entries) {
    const char16_t* refusal = nullptr;
    if (!Entered(entries.qq)) {
        refusal = kNoQQ;
    } else if (entries.qq->size() < kShortestQQ) {
        refusal = kBadQQ;
    } else if (!Entered(entries.password)) {
        refusal = kNoPassword;
    } else if (!Entered(entries.confirmation)) {
        refusal = kNoConfirmation;
    } else if (*entries.password != *entries.confirmation) {
        refusal = kPasswordsDiffer;
    } else if (!Entered(entries.phone)) {
        refusal = kNoPhone;
    } else if (entries.phone->size() != kPhoneLength) {
        refusal = kBadPhone;
    }
    if (!refusal)
        return std::nullopt;
    return QString::fromUtf16(refusal);
}

std::optional<QString> CheckRegistrationLookup(const gateway::QueryReply& lookup) {
    if (!lookup.HasRecord(1))
        return QString::fromUtf16(lookup.NoRowText());
    if (!lookup.records[1].isEmpty())
        return QString::fromUtf16(kQQTaken);
    return std::nullopt;
}

QString RegistrationOutcome(bool delivered, const QString& reply) {
    const char16_t* outcome = kRegistrationFailed;
    if (!delivered) {
        outcome = gateway::kCannotConnect;
    } else if (reply == QLatin1String("OK")) {
        outcome = kRegistered;
    } else if (reply == QLatin1String("TAKEN")) {
        outcome = kQQTaken;
    } else if (reply == QLatin1String("LIMIT")) {
        outcome = gateway::kTooManyAttempts;
    }
    return QString::fromUtf16(outcome);
}

}  // namespace accounts
