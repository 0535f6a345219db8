#include "server/PasswordHasher.h"

#include <sodium.h>

#include <QtGlobal>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace server {
namespace {

struct Limits {
    unsigned long long ops;
    size_t memory;
};

Limits LimitsOf(HashCost cost) {
    switch (cost) {
        case HashCost::Min:
            return {crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN};
        case HashCost::Standard:
            return {2, size_t{32} << 20};
        case HashCost::Interactive:
            break;
    }
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

}  // namespace

void InitialiseSodium() {
    static const bool ready = sodium_init() >= 0;
    if (!ready) {
        qCritical("libsodium cannot be initialised");
        std::abort();
    }
}

std::optional<HashCost> ParseHashCost(QStringView name) {
    if (name == u"min")
        return HashCost::Min;
    if (name == u"standard")
        return HashCost::Standard;
    if (name == u"interactive")
        return HashCost::Interactive;
    return std::nullopt;
}

QString HashCostName(HashCost cost) {
    switch (cost) {
        case HashCost::Min:
            return QStringLiteral("min");
        case HashCost::Standard:
            return QStringLiteral("standard");
        case HashCost::Interactive:
            break;
    }
    return QStringLiteral("interactive");
}

// A counting gate: Enter waits while `limit` callers are inside.
class PasswordHasher::Gate {
public:
    explicit Gate(int limit) : free_(limit) {}
    void Enter() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return free_ > 0; });
        --free_;
    }
    void Leave() {
        {
            std::lock_guard lock(mutex_);
            ++free_;
        }
        changed_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int free_;
};

PasswordHasher::PasswordHasher(HashCost cost, int parallel) : cost_(cost) {
    InitialiseSodium();
    if (parallel <= 0)
        parallel = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    gate_ = std::make_unique<Gate>(parallel);
}

PasswordHasher::~PasswordHasher() = default;

std::optional<QString> PasswordHasher::Hash(QStringView password) {
    const QByteArray bytes = password.toUtf8();
    const Limits limits = LimitsOf(cost_);
    char out[crypto_pwhash_STRBYTES];
    gate_->Enter();
    const int rc =
        crypto_pwhash_str(out, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          limits.ops, limits.memory);
    gate_->Leave();
    if (rc != 0)
        return std::nullopt;
    return QString::fromLatin1(out);
}

bool PasswordHasher::Verify(const QString& hash, QStringView password) {
    const QByteArray stored = hash.toLatin1();
    if (stored.isEmpty() || stored.size() >= crypto_pwhash_STRBYTES)
        return false;
    const QByteArray bytes = password.toUtf8();
    gate_->Enter();
    const int rc = crypto_pwhash_str_verify(stored.constData(), bytes.constData(),
                                            static_cast<unsigned long long>(bytes.size()));
    gate_->Leave();
    return rc == 0;
}

void PasswordHasher::VerifyAgainstNobody(QStringView password) {
    std::call_once(nobodyOnce_, [this] {
        unsigned char secret[32];
        randombytes_buf(secret, sizeof secret);
        nobody_ = Hash(QString::fromLatin1(
                           QByteArray(reinterpret_cast<char*>(secret), sizeof secret).toHex()))
                      .value_or(QString());
    });
    Verify(nobody_, password);
}

}  // namespace server
