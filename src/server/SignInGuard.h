#pragma once
// How the service meets the guessing of passwords without letting anybody lock an owner out.
//
// Failed sign-ins are counted per account and client address: an address that has failed
// `perAddress` times on an account within an hour is refused on that account until the hour
// has passed, and nobody else is. Across addresses, the failures of an account within the last
// quarter of an hour space out the attempts of every address that has failed on it: each
// waits for the account's next turn, and the turns move further apart as failures mount (a
// growing delay, never a refusal). An address that has not failed on the account is not
// slowed at all, so the owner signs in at once while others guess.
//
// Kept in memory, per service instance, like the other limits.

#include "server/RateLimiter.h"

#include <QHash>
#include <QString>

#include <chrono>
#include <mutex>
#include <optional>

namespace server {

class SignInGuard {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // A turn further off than this is refused rather than waited for: the client gives up on
    // an answer after 20 s, and a connection held longer costs more than the attempt is worth.
    static constexpr std::chrono::seconds kLongestWait{15};

    // perAddress <= 0: no limit and no delay.
    explicit SignInGuard(int perAddress, RateLimiter::Clock clock = {});

    // Whether the address may still try the account.
    bool Allowed(const QString& account, const QString& addressKey);
    // When an attempt of the address on the account may be verified: at once, or at the
    // account's next turn, which this attempt takes. Nothing when the turn is further off than
    // kLongestWait.
    std::optional<TimePoint> Turn(const QString& account, const QString& addressKey);
    void Failed(const QString& account, const QString& addressKey);
    // The right password: the address's failures on the account are forgiven.
    void Succeeded(const QString& account, const QString& addressKey);

    // The time between two turns on an account that failed this often in the last quarter of
    // an hour.
    static std::chrono::milliseconds Spacing(int failures);

private:
    static QString PairKey(const QString& account, const QString& addressKey);
    TimePoint Now() const;

    const int perAddress_;
    const RateLimiter::Clock clock_;
    RateLimiter byAddress_;  // failures of an account from one address, in the last hour
    RateLimiter byAccount_;  // failures of an account from anywhere, in the last 15 minutes
    std::mutex mutex_;
    QHash<QString, TimePoint> nextTurn_;
};

}  // namespace server
