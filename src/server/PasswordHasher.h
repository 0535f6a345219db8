#pragma once
// Passwords are kept as Argon2id strings (libsodium crypto_pwhash_str): the string carries its
// own salt and cost, so a hash made at one cost still verifies after the cost is changed.

#include <QString>
#include <QStringView>

#include <memory>
#include <mutex>
#include <optional>

namespace server {

enum class HashCost {
    Min,          // the smallest cost libsodium allows; for tests only
    Standard,     // about 50 ms on a small server (2 passes over 32 MiB); the default
    Interactive,  // libsodium's interactive limits (64 MiB)
};

// Makes libsodium ready; cheap after the first call.
void InitialiseSodium();

std::optional<HashCost> ParseHashCost(QStringView name);
QString HashCostName(HashCost cost);

class PasswordHasher {
public:
    // At most `parallel` hashes run at once (0: one per processor): each takes the cost's
    // memory, so unbounded parallel sign-ins could exhaust the machine.
    explicit PasswordHasher(HashCost cost, int parallel = 0);
    ~PasswordHasher();
    PasswordHasher(const PasswordHasher&) = delete;
    PasswordHasher& operator=(const PasswordHasher&) = delete;

    // The hash of the password's UTF-8 bytes, or nothing when hashing failed (out of memory).
    std::optional<QString> Hash(QStringView password);
    bool Verify(const QString& hash, QStringView password);
    // Verifies against a hash of an unknown password made at the same cost (never true): a
    // sign-in for an account that does not exist takes as long as one with a wrong password.
    void VerifyAgainstNobody(QStringView password);

private:
    class Gate;
    const HashCost cost_;
    std::unique_ptr<Gate> gate_;
    QString nobody_;  // made on first use
    std::once_flag nobodyOnce_;
};

}  // namespace server
